// The book files and trees: sharing, split plies, the file format and its damaged lines.
#include "booktest.h"

#include <sys/stat.h>
#include <vector>

// The lines of a slot's tree, each as its moves in book numbering ("e2e4e7e5"), depth first.
static void collectlines(const booknode *node, std::string prefix, std::vector<std::string> *lines) {
  for (; node; node = node->sibling) {
    char move[5];
    squaretext(node->from, move);
    squaretext(node->to, move + 2);
    move[4] = 0;
    if (node->child) {
      collectlines(node->child, prefix + move, lines);
    } else {
      lines->push_back(prefix + move);
    }
  }
}

static std::vector<std::string> treelines(int slot) {
  std::vector<std::string> lines;
  collectlines(bookroot[slot].sibling, "", &lines);
  return lines;
}

// Shared starts are stored once, a prefix or a repeat adds nothing, a new alternative goes to the
// end of its chain; the split plies of the atomic books keep every line's own node there.
TEST_F(BookTest, SharedSplitAndPrefixLines) {
  const char *three = "e2e4e7e5\ne2e4e7e5g1f3\ne2e4d7d5\n";
  writefile("bigbook.txt", three);
  readslot(NORMALSLOT);
  EXPECT_EQ(bookcounter, 4);
  EXPECT_EQ(bigbookidcounter, 4);
  const booknode *e4 = bookroot[NORMALSLOT].sibling;
  ASSERT_NE(e4, nullptr);
  EXPECT_EQ(e4->from, 13);
  EXPECT_EQ(e4->to, 29);
  EXPECT_EQ(e4->sibling, nullptr);
  ASSERT_NE(e4->child, nullptr);
  EXPECT_EQ(e4->child->to, 37);
  EXPECT_EQ(e4->child->child->from, 7);
  EXPECT_EQ(e4->child->sibling->to, 36);
  EXPECT_EQ(treelines(NORMALSLOT), (std::vector<std::string>{"e2e4e7e5g1f3", "e2e4d7d5"}));

  resetbooks();
  writefile("atomicFirstMove.txt", three);
  readslot(ATOMICFIRSTSLOT);
  EXPECT_EQ(bookcounter, 7);
  EXPECT_EQ(treelines(ATOMICFIRSTSLOT), (std::vector<std::string>{"e2e4e7e5", "e2e4e7e5g1f3", "e2e4d7d5"}));

  resetbooks();
  writefile("atomicSecondMove.txt", three);
  readslot(ATOMICSECONDSLOT);
  EXPECT_EQ(bookcounter, 5);
  EXPECT_EQ(treelines(ATOMICSECONDSLOT), (std::vector<std::string>{"e2e4e7e5", "e2e4e7e5g1f3", "e2e4d7d5"}));

  resetbooks();
  writefile("atomicThirdMove.txt", "e2e4e7e5g1f3\ne2e4e7e5g1f3b8c6\ne2e4e7e5g1f3\n");
  readslot(ATOMICTHIRDSLOT);
  EXPECT_EQ(bookcounter, 2 + 1 + 2 + 1);
}

// Comments, blank lines, the words after the first, the lone dollar sign and the word that stops at
// an x; the square formula.
TEST_F(BookTest, FileFormat) {
  writefile("bigbook.txt", "# a comment e2e4\n\n   \ne2e4 and a remark d2d4\n1. d2d4\ne2e4e7e5x\na1h8\n$\nd2d4\n");
  readslot(NORMALSLOT);
  EXPECT_EQ(bookloaded, 1);
  EXPECT_EQ(treelines(NORMALSLOT), (std::vector<std::string>{"e2e4e7e5", "a1h8"}));
  const booknode *a1 = bookroot[NORMALSLOT].sibling->sibling;
  EXPECT_EQ(a1->from, 1);
  EXPECT_EQ(a1->to, 64);

  resetbooks();
  writefile("bigbook.txt", "$\ne2e4\n");
  readslot(NORMALSLOT);
  EXPECT_EQ(bookloaded, 1);
  EXPECT_EQ(bookroot[NORMALSLOT].sibling, nullptr);
  EXPECT_EQ(bookcounter, 0);
}

// Damaged lines are cut at their last whole valid move and never write past a buffer: a word of
// 400 characters, a line of 60 moves, a trailing partial move, squares off the board, a physical
// line longer than the line buffer (each piece of 999 characters is read as a line of its own).
TEST_F(BookTest, DamagedLinesAreCut) {
  std::string knights;
  for (int i = 0; i < 30; i++) knights += i % 2 ? "g8f6f6g8" : "g1f3f3g1";
  std::string longword = (knights + knights).substr(0, 400);
  std::string sixty;
  for (int i = 0; i < 15; i++) sixty += "g1f3g8f6f3g1f6g8";
  std::string longline = "e2e4 " + std::string(1500, ' ') + "h2h4h7h5\n";
  writefile("bigbook.txt", longword + "\n" + sixty + "\nd2d4d7\nc2c4e7e9\nb1c3z8\ng2g4g7g5h2\n" + longline);
  readslot(NORMALSLOT);
  std::vector<std::string> lines = treelines(NORMALSLOT);
  ASSERT_EQ(lines.size(), 8u);
  EXPECT_EQ(lines[0], knights.substr(0, 4 * BOOKMAXMOVES));  // the 400-character word, cut at 51 moves
  EXPECT_EQ(lines[1], sixty.substr(0, 4 * BOOKMAXMOVES));    // 60 moves, cut at 51
  EXPECT_EQ(lines[2], "d2d4");
  EXPECT_EQ(lines[3], "c2c4");
  EXPECT_EQ(lines[4], "b1c3");
  EXPECT_EQ(lines[5], "g2g4g7g5");
  EXPECT_EQ(lines[6], "e2e4");
  EXPECT_EQ(lines[7], "h2h4h7h5");  // the second piece of the long line

  signed char from[BOOKMAXMOVES + 1], to[BOOKMAXMOVES + 1];
  EXPECT_EQ(decodebookword("e2e4e7e", from, to), 1);
  EXPECT_EQ(decodebookword("e2e4i7e5", from, to), 1);
  EXPECT_EQ(decodebookword("e2e4e0e5", from, to), 1);
  EXPECT_EQ(decodebookword("", from, to), 0);
}

// Hostile files: a NUL byte is a blank and hides no line; a line of 999 characters and more is read
// in pieces of 999, each a line of its own (a word cut at a piece's end goes on as the next line);
// a pipe or a folder in place of a book counts as a missing file and never holds start-up up.
TEST_F(BookTest, NulBytesLongLinesAndSpecialFiles) {
  writefile("bigbook.txt", "");
  FILE *file = fopen("bigbook.txt", "wb");
  ASSERT_NE(file, nullptr);
  static const char nul[] = "e2e4e7e5 x\0y\nd2d4d7d5\nc2c4\n";
  fwrite(nul, 1, sizeof nul - 1, file);
  fclose(file);
  EXPECT_NE(loadbookstext().find("\nbookcounter=10, bigbookidcounter=10\n\n"), std::string::npos);
  EXPECT_EQ(treelines(NORMALSLOT), (std::vector<std::string>{"e2e4e7e5", "d2d4d7d5", "c2c4"}));

  resetbooks();
  std::string exact = "g1f3" + std::string(BOOKLINESIZE - 1 - 4, ' ') + "\n";   // 999 characters and its newline
  std::string cut = std::string(BOOKLINESIZE - 1 - 4, ' ') + "b1c3g8f6\n";       // the piece ends inside the word
  std::string pieces = "a2a3" + std::string(BOOKLINESIZE - 1 - 4, '#') + "e2e4" + std::string(2000, ' ') + "d2d4\n";
  writefile("bigbook.txt", exact + cut + pieces);
  readslot(NORMALSLOT);
  EXPECT_EQ(treelines(NORMALSLOT), (std::vector<std::string>{"g1f3", "b1c3", "g8f6", "a2a3", "e2e4", "d2d4"}));

  resetbooks();
  alarm(20);  // a reader that waits for a writer fails the test instead of hanging it
  ASSERT_EQ(mkfifo("bigbook.txt.pipe", 0644), 0);
  ASSERT_EQ(rename("bigbook.txt.pipe", "bigbook.txt"), 0);
  ASSERT_EQ(mkfifo("openbk.txt", 0644), 0);
  ASSERT_EQ(mkdir("threebook.txt", 0755), 0);
  writefile("losersWhite.txt", "e2e3\n");
  std::string text = loadbookstext();
  alarm(0);
  EXPECT_NE(text.find("\nbookcounter=1, bigbookidcounter=1\n\n"), std::string::npos);
  EXPECT_EQ(openbkloaded, 0);
  EXPECT_EQ(text.find("finished"), std::string::npos);
  EXPECT_EQ(bookloaded, 1);
}

// With no book files at all nothing is loaded and the counters line says 0 and 0; with files the
// counters add up over every slot (bigbook.txt is read twice, for slots 0 and 9), and freeing
// leaves nothing behind.
TEST_F(BookTest, LoadingAndFreeing) {
  allocatenames();
  std::string text = loadbookstext();
  EXPECT_EQ(bookloaded, 0);
  EXPECT_EQ(openbkloaded, 0);
  EXPECT_NE(text.find("\nbookcounter=0, bigbookidcounter=0\n\n"), std::string::npos);

  writefile("bigbook.txt", "e2e4e7e5\nd2d4\n");
  writefile("atomicBookWhite.txt", "g1f3\n");
  writefile("openbk.txt", ".e2e4 e7e5.d2d4");
  text = loadbookstext();
  EXPECT_EQ(bookloaded, 1);
  EXPECT_EQ(openbkloaded, 1);
  EXPECT_EQ(openbkcount, 2);
  EXPECT_NE(text.find("finishedfinished\nbookcounter=7, bigbookidcounter=7\n\n"), std::string::npos);
  freebook();
  EXPECT_EQ(booknodelist, nullptr);
  EXPECT_EQ(bookroot[NORMALSLOT].sibling, nullptr);
  EXPECT_EQ(bookcursor, &bookroot[BIGBOOKSLOT]);
  freenames();
}
