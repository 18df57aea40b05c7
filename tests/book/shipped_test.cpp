// The books shipped in books/: every line of every file is legal in each variant that consults it,
// from the position that variant starts from, and each file holds enough lines to be a book.
#include "bookcheck.h"
#include "booktest.h"

#include <cstring>

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
