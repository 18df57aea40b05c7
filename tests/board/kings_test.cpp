// Finding the opponent's king: the kept king squares may stand stale (quiescence does not keep
// them) or name the second king of a colour (twokings, the antichess games); the answer must
// always be the king the board scan finds first.
#include <gtest/gtest.h>

#include "boardcheck.h"

namespace {

struct KingsTest : ::testing::Test {
  void SetUp() override {
    initrays();
    resetboard();
    antimode = 0;  // normal chess: one royal king a side
    color = 1;
  }
  void TearDown() override { resetboard(); }
  // opponentking at an odd and an even ply against the scan, for both engine colours.
  void expectscanagrees() {
    for (int engine = 0; engine <= 1; engine++) {
      color = engine;
      EXPECT_EQ(opponentking(1), firstking(BKING)) << "engine colour " << engine;
      EXPECT_EQ(opponentking(2), firstking(WKING)) << "engine colour " << engine;
    }
    color = 1;
  }
};

TEST_F(KingsTest, OpponentKingIsTheScannedKingWhateverTheKeptSquaresSay) {
  expectscanagrees();  // kept squares right
  board[SQE1] = EMPTY;
  board[SQE1 + 8] = WKING;  // the king left e1 without its kept square following
  board[SQE8] = EMPTY;
  board[SQE8 - 8] = BKING;
  expectscanagrees();
  ownkingsq = 0;
  oppkingsq = 99;
  expectscanagrees();
  // A second king of each colour on the kept square, before the other one in the scan.
  findkings();
  board[1] = WKING;
  board[64] = BKING;
  for (int mode = 0; mode <= 1; mode++) {
    twokingsmode = mode;
    antimode = 1 - mode;
    ownkingsq = SQE1 + 8;
    oppkingsq = SQE8 - 8;
    expectscanagrees();
  }
  board[SQE1 + 8] = EMPTY;  // each kept square's king taken: the other one is found
  board[SQE8 - 8] = EMPTY;
  twokingsmode = antimode = 0;
  expectscanagrees();
  EXPECT_EQ(opponentking(2), 1);
  EXPECT_EQ(opponentking(1), 64);
}

}  // namespace
