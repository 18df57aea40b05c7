// The books shipped in books/: every line of every file is legal in each variant that consults it,
// from the position that variant starts from, and each file holds enough lines to be a book; the
// small book's lines go on in the big book, and the books for Black vary the engine's own replies.
#include "bookcheck.h"
#include "booktest.h"

#include <cstring>

// The books the engine plays from as Black, whose own replies must vary, and how many of White's
// first moves they must answer in more than one way.
constexpr int COMMONFIRSTMOVES = 4;
static const int BLACKBOOKSLOTS[] = {THREEBLACKSLOT, KINGSBLACKSLOT, SUICIDEBLACKSLOT, LOSERSBLACKSLOT, CRAZYBLACKSLOT};

// The fewest lines each check must find: the big book and the small book of normal chess are the
// largest, the weighted atomic books hold a handful of first moves and replies.
static int fewestlines(const bookcheckrow &row) {
  if (row.slot == OPENBKCHECK) return 40;
  if (row.slot == BIGBOOKSLOT || row.slot == NORMALSLOT) return 200;
  if (row.slot == ATOMICFIRSTSLOT || row.slot == ATOMICSECONDSLOT || row.slot == ATOMICTHIRDSLOT) return 5;
  return 30;
}

TEST_F(BookTest, ShippedBooksAreLegalAndFull) {
  ASSERT_EQ(chdir(KORVEL_SOURCE_DIR "/books"), 0);
  allocatenames();
  std::string text = loadbookstext();
  ASSERT_EQ(bookloaded, 1);
  ASSERT_EQ(openbkloaded, 1);
  EXPECT_EQ(text.find("bookcounter=0,"), std::string::npos) << text;

  for (const bookcheckrow &row : bookchecks) {
    const char *name = row.slot == OPENBKCHECK ? "openbk.txt" : bookfilename(row.slot);
    bookcheckresult result;
    memset(&result, 0, sizeof result);
    ASSERT_TRUE(runbookcheck(&row, &result)) << name << " in " << row.variant;
    EXPECT_EQ(result.illegal, 0) << name << " in " << row.variant << ": " << result.firstillegal;
    EXPECT_GE(result.lines, fewestlines(row)) << name << " in " << row.variant;
  }
  freebook();
  EXPECT_EQ(booknodelist, nullptr);
  freenames();
}

// The node of the chain that holds from-to, or null.
static const booknode *findmove(const booknode *chain, int from, int to) {
  while (chain && !(chain->from == from && chain->to == to)) chain = chain->sibling;
  return chain;
}

// The distinct moves of a chain.
static int distinctmoves(const booknode *chain) {
  int count = 0;
  for (const booknode *node = chain; node; node = node->sibling) count += findmove(chain, node->from, node->to) == node;
  return count;
}

TEST_F(BookTest, ShippedBooksJoinUpAndVaryTheEnginesReplies) {
  ASSERT_EQ(chdir(KORVEL_SOURCE_DIR "/books"), 0);
  allocatenames();
  loadbookstext();
  // In normal chess the big book takes over where a line of the small book ends.
  for (int k = 1; k <= openbkcount && k * OPENBKROW < OPENBKSTORED; k++) {
    const booknode *node = &bookroot[NORMALSLOT];
    for (int j = 1; j <= OPENBKMOVES && openbkfrom[k * OPENBKROW + j] && node; j++)
      node = findmove(j == 1 ? node->sibling : node->child, openbkfrom[k * OPENBKROW + j], openbkto[k * OPENBKROW + j]);
    EXPECT_TRUE(node && node->child) << "small book line " << k;
  }
  // Playing Black, the engine has at least three replies of its own to each of White's four most
  // common first moves, which its book lists first.
  for (int slot : BLACKBOOKSLOTS) {
    const booknode *first = bookroot[slot].sibling;
    for (int i = 1; i <= COMMONFIRSTMOVES && first; i++, first = first->sibling)
      EXPECT_GE(distinctmoves(first->child), 3) << bookfilename(slot) << ", first move " << i;
  }
  freebook();
  freenames();
}
