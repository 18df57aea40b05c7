// The small book: its lines, its chooser, the fixed first move and the bounds of its tables.
#include "booktest.h"

#include <map>

class OpenbkTest : public BookTest {
 protected:
  void generateroot() { enginetable[ENGINEREGULAR].generate(rootfrom, rootto, &rootcount, 1, gameepsquares); }

  std::map<std::string, int> draws(int n) {
    std::map<std::string, int> count;
    for (int i = 0; i < n; i++) {
      chooseopenbk(rootfrom, rootto, rootcount);
      count[chosen()]++;
    }
    return count;
  }
};

// Three lines after three points; the text before the first point is never consulted. As White
// with noblitzmove e2e4 comes from two lines of three, without it e2e4 : d2d4 : c2c4 is 2 : 1 : 1;
// as Black after 1. e2e4 the two lines that agree answer alike.
TEST_F(OpenbkTest, LinesAndRatios) {
  writefile("openbk.txt", "d2d4 comes first here\n. e2e4 e7e5 g1f3\n. e2e4 c7c5\n. d2d4 d7d5\n");
  testing::internal::CaptureStdout();
  readopenbk();
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "finished");
  EXPECT_EQ(openbkcount, 3);
  EXPECT_EQ(openbkfrom[OPENBKROW + 3], 7);
  EXPECT_EQ(openbkto[OPENBKROW + 3], 22);
  color = 1;
  playrecord("");
  generateroot();
  noblitzmove = 1;
  std::map<std::string, int> count = draws(3000);
  EXPECT_EQ(count.size(), 2u);
  EXPECT_NEAR(count["e2e4"] / 3000.0, 2.0 / 3, 0.03);
  noblitzmove = 0;
  count = draws(4000);
  EXPECT_EQ(count.size(), 3u);
  EXPECT_NEAR(count["e2e4"] / 4000.0, 0.5, 0.03);
  EXPECT_NEAR(count["d2d4"] / 4000.0, 0.25, 0.03);
  EXPECT_NEAR(count["c2c4"] / 4000.0, 0.25, 0.03);

  color = 0;
  playrecord("e2e4");
  setupblack();  // the starting position held for Black
  generateroot();
  count = draws(2000);
  EXPECT_EQ(count.size(), 2u);
  EXPECT_NEAR(count["e7e5"] / 2000.0, 0.5, 0.04);
  chooseopenbk(rootfrom, rootto, rootcount);
  EXPECT_TRUE(finfrom == turnsquare(53) || finfrom == turnsquare(51));
}

// A file whose only line comes before the first point gives nothing; a lookup without candidates
// from the sixth half-move on retires the list for the game.
TEST_F(OpenbkTest, EmptyListAndRetiring) {
  writefile("openbk.txt", "e2e4 e7e5 g1f3");
  readopenbk();
  EXPECT_EQ(openbkcount, 0);
  color = 1;
  noblitzmove = 1;
  playrecord("");
  generateroot();
  chooseopenbk(rootfrom, rootto, rootcount);
  EXPECT_EQ(chosen(), "none");
  EXPECT_EQ(openbkdone, 0);

  writefile("openbk.txt", ".g1f3 g8f6 f3g1 f6g8 g1f3 g8f6 f3g1.");
  readopenbk();
  noblitzmove = 0;
  playrecord("g1f3 g8f6 f3g1 f6g8 g1f3 g8f6");
  board[7] = EMPTY;
  board[22] = WKNIGHT;
  board[63] = EMPTY;
  board[46] = BKNIGHT;
  generateroot();
  chooseopenbk(rootfrom, rootto, rootcount);
  EXPECT_EQ(chosen(), "f3g1");
  playrecord("g1f3 g8f6 f3g1 f6g8 g1f3 b8c6");
  chooseopenbk(rootfrom, rootto, rootcount);
  EXPECT_EQ(chosen(), "none");
  EXPECT_EQ(openbkdone, 1);
  playrecord("g1f3 g8f6 f3g1 f6g8 g1f3 g8f6");
  chooseopenbk(rootfrom, rootto, rootcount);
  EXPECT_EQ(chosen(), "none");
}

// Whatever the file holds, nothing is read or written outside the tables: 500 lines of 40 moves,
// moves glued together and to other text, and a game longer than any line.
TEST_F(OpenbkTest, TablesStayInBounds) {
  std::string text;
  for (int i = 0; i < 500; i++) {
    text += ".";
    for (int j = 0; j < 20; j++) text += "g1f3xg8f6f3g1f6g8";
  }
  writefile("openbk.txt", text);
  readopenbk();
  EXPECT_EQ(openbkcount, OPENBKLAST / OPENBKROW);
  EXPECT_EQ(openbkfrom[OPENBKROW + OPENBKMOVES], 7);    // move 29 kept: g1f3
  EXPECT_EQ(openbkfrom[2 * OPENBKROW], 0);              // entry 0 of a row stays empty
  EXPECT_EQ(openbkfrom[250 * OPENBKROW + 1], 0);        // rows from 250 on are not stored
  color = 1;
  noblitzmove = 1;
  std::string record;
  for (int i = 0; i < 40; i++) record += std::string(i ? " " : "") + (i % 4 == 0 ? "g1f3" : i % 4 == 1 ? "g8f6" : i % 4 == 2 ? "f3g1" : "f6g8");
  for (int moves = 0; moves <= 40; moves++) {
    playrecord(record.substr(0, moves ? 5 * moves - 1 : 0));
    generateroot();
    chooseopenbk(rootfrom, rootto, rootcount);
    if (moves < OPENBKMOVES && moves % 4 == 0) {
      EXPECT_EQ(chosen(), "g1f3") << moves;
    }
    if (moves >= OPENBKMOVES) {
      EXPECT_EQ(chosen(), "none") << moves;
    }
  }
}
