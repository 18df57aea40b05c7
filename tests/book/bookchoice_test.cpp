// The book move choice and the book step: slots by variant and colour, following the game, the
// weights, the fixed first moves and the limits of each variant.
#include "booktest.h"

#include <map>

constexpr int DRAWS = 6000;             // draws for a ratio
constexpr double TOLERANCE = 0.03;      // a share may differ this much from its expected value

class BookChoiceTest : public BookTest {
 protected:
  // The moves of the position on the board for the side with the white codes.
  void generateroot() { enginetable[ENGINEREGULAR].generate(rootfrom, rootto, &rootcount, 1, gameepsquares); }

  // How often each move comes out of many book steps (or many calls of choosebookmove).
  std::map<std::string, int> draws(int throughstep) {
    std::map<std::string, int> count;
    for (int i = 0; i < DRAWS; i++) {
      if (throughstep) {
        if (!bookstep(rootfrom, rootto, rootcount)) finfrom = finto = 0;
      } else {
        choosebookmove();
      }
      count[chosen()]++;
    }
    return count;
  }

  static void expectshare(std::map<std::string, int> &count, const std::string &move, double share) {
    EXPECT_NEAR((double)count[move] / DRAWS, share, TOLERANCE) << move;
  }
};

// Normal chess, engine White, first move: e2e4, d2d4, c2c4 in the ratio 2 : 2 : 1 whatever the book
// holds; with noblitzmove the tree answers.
TEST_F(BookChoiceTest, NormalFirstMove) {
  writefile("bigbook.txt", "g1f3d7d5\n");
  readslot(NORMALSLOT);
  color = 1;
  playrecord("");
  generateroot();
  std::map<std::string, int> count = draws(1);
  EXPECT_EQ(count.size(), 3u);
  expectshare(count, "e2e4", 0.4);
  expectshare(count, "d2d4", 0.4);
  expectshare(count, "c2c4", 0.2);
  noblitzmove = 1;
  ASSERT_EQ(bookstep(rootfrom, rootto, rootcount), 1);
  EXPECT_EQ(chosen(), "g1f3");
}

// Engine Black after 1. e2e4: the tree is walked in book squares and the reply comes back in board
// numbering; a move counts once however often the book writes it.
TEST_F(BookChoiceTest, BlackRepliesFromTheTree) {
  writefile("bigbook.txt", "e2e4e7e5g1f3\ne2e4e7e5\ne2e4e7e5b1c3\ne2e4c7c5\nd2d4d7d5\n");
  readslot(NORMALSLOT);
  color = 0;
  playrecord("e2e4");
  EXPECT_EQ(linef[1], turnsquare(13));
  std::map<std::string, int> count = draws(0);
  EXPECT_EQ(count.size(), 2u);
  expectshare(count, "e7e5", 0.5);
  expectshare(count, "c7c5", 0.5);
  choosebookmove();
  EXPECT_EQ(finfrom, turnsquare(finfrom == turnsquare(53) ? 53 : 51));
  // Out of book for good once a move is not in the tree.
  playrecord("e2e4 e7e5 f2f4");
  choosebookmove();
  EXPECT_EQ(chosen(), "none");
}

// Atomic as White: the first move is drawn from the first-move book with the weight of how often a
// line is written; without that book it is g1f3 or g1h3 (checked with the regular generator's
// moves of the starting position, which agree with atomic's there).
TEST_F(BookChoiceTest, AtomicFirstMove) {
  setvariantflags(VFATOMIC, VFALL);
  color = 1;
  playrecord("");
  generateroot();
  testing::internal::CaptureStdout();
  std::map<std::string, int> count = draws(1);
  std::string text = testing::internal::GetCapturedStdout();
  EXPECT_EQ(text.find("selecting move"), std::string::npos);
  EXPECT_EQ(count.size(), 2u);
  expectshare(count, "g1f3", 0.5);
  expectshare(count, "g1h3", 0.5);

  writefile("atomicFirstMove.txt", "e2e3\ne2e3e7e6\ne2e3\nb1c3\n");
  readslot(ATOMICFIRSTSLOT);
  testing::internal::CaptureStdout();
  count = draws(1);
  text = testing::internal::GetCapturedStdout();
  EXPECT_NE(text.find("\nset location\n\nselecting move\n"), std::string::npos);
  EXPECT_EQ(count.size(), 2u);
  expectshare(count, "e2e3", 0.75);
  expectshare(count, "b1c3", 0.25);
}

// Atomic as Black, reply to the first move: the second-move book with duplicates as weights, and
// the plain book for Black when it has nothing; the weighted book for White's second move too.
TEST_F(BookChoiceTest, AtomicWeightedReplies) {
  allocatenames();
  setvariantflags(VFATOMIC, VFALL);
  writefile("atomicSecondMove.txt", "g1f3e7e6\ng1f3e7e6\ng1f3d7d5\n");
  writefile("atomicBookBlack.txt", "e2e3f7f6\ne2e3f7f6\ne2e3b8c6\n");
  writefile("atomicThirdMove.txt", "g1f3e7e6e2e3\ng1f3e7e6e2e3\ng1f3e7e6e2e3\ng1f3e7e6d2d4\n");
  readslot(ATOMICSECONDSLOT);
  readslot(ATOMICBLACKSLOT);
  readslot(ATOMICTHIRDSLOT);
  color = 0;
  playrecord("g1f3");
  generateroot();
  testing::internal::CaptureStdout();
  std::map<std::string, int> count = draws(1);
  expectshare(count, "e7e6", 2.0 / 3);
  expectshare(count, "d7d5", 1.0 / 3);
  playrecord("e2e3");
  generateroot();
  count = draws(1);
  expectshare(count, "f7f6", 0.5);
  expectshare(count, "b8c6", 0.5);
  testing::internal::GetCapturedStdout();
  freenames();
  // White's second move: the weighted book at the third entry of the record.
  color = 1;
  playrecord("g1f3 e7e6");
  generateroot();
  count = draws(1);
  expectshare(count, "e2e3", 0.75);
  expectshare(count, "d2d4", 0.25);
}

// No book at ltop 20 in normal chess, at ltop 5 in crazyhouse without its own books, after the
// atomic limit, or at 60 in the variants with books of their own; a move the position does not
// allow is refused.
TEST_F(BookChoiceTest, LimitsAndLegality) {
  std::string line;
  for (int i = 0; i < 16; i++) line += i % 2 ? (i % 4 == 1 ? "g8f6" : "f6g8") : (i % 4 == 0 ? "g1f3" : "f3g1");
  line += "e2e4e7e5d2d4d7d5";
  writefile("bigbook.txt", line + "\n");
  writefile("korvelCrazyWhite.txt", line + "\n");
  writefile("threeBookWhite.txt", "e2e4e7e5e1e3\n");
  readslot(NORMALSLOT);
  readslot(CRAZYWHITESLOT);
  readslot(THREEWHITESLOT);
  color = 1;
  std::string record;
  for (int i = 0; i < 18; i++) record += (i ? " " : "") + line.substr(4 * i, 4);
  playrecord(record);
  ASSERT_EQ(ltop, 19);
  generateroot();
  ASSERT_EQ(bookstep(rootfrom, rootto, rootcount), 1);
  EXPECT_EQ(chosen(), "d2d4");
  record += " d2d4 d7d5";
  playrecord(record);
  EXPECT_EQ(ltop, 21);
  EXPECT_EQ(bookstep(rootfrom, rootto, rootcount), 0);
  playrecord("g1f3 g8f6 f3g1 f6g8");
  setvariantflags(VFCRAZY, VFALL);
  EXPECT_EQ(bookstep(rootfrom, rootto, rootcount), 0);
  crazybook = 1;
  EXPECT_EQ(bookstep(rootfrom, rootto, rootcount), 1);
  EXPECT_EQ(chosen(), "g1f3");
  // 3check: the king cannot go two squares forward, so the tree's move is refused.
  setvariantflags(VFTHREECHECK, VFALL);
  playrecord("e2e4 e7e5");
  board[13] = EMPTY;
  board[29] = WPAWN;
  board[53] = EMPTY;
  board[37] = BPAWN;
  generateroot();
  EXPECT_EQ(bookstep(rootfrom, rootto, rootcount), 0);
  EXPECT_EQ(chosen(), "e1e3");
}
