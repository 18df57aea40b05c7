// Move generation order and the pickers.
#include <gtest/gtest.h>

#include "frontend/frontend.h"
#include "regular/regular.h"

namespace {

struct MoveGenTest : ::testing::Test {
  int movefrom[MAXMOVES], moveto[MAXMOVES], count = 0;
  int ep[65] = {0};
  int hand[HANDSLOTS] = {0};
  void SetUp() override {
    resetboard();
    initrays();
    clearkillers();
  }
};

TEST_F(MoveGenTest, StartPositionGivesTwentyMovesKnightsFirstThenPawnsPushThenDouble) {
  genwhite(movefrom, moveto, &count, 1, ep, 0, hand);
  ASSERT_EQ(count, 20);
  const int expectfrom[21] = {0, 2, 2, 7, 7, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13, 14, 14, 15, 15, 16, 16};
  const int expectto[21] = {0, 17, 19, 22, 24, 17, 25, 18, 26, 19, 27, 20, 28, 21, 29, 22, 30, 23, 31, 24, 32};
  for (int i = 1; i <= 20; i++) {
    EXPECT_EQ(movefrom[i], expectfrom[i]) << i;
    EXPECT_EQ(moveto[i], expectto[i]) << i;
  }
}

TEST_F(MoveGenTest, CrazyhouseDropsEachTypeOnceAndPawnsOnlyOnRanksTwoToSeven) {
  crazymode = 1;
  for (int s = 1; s <= 64; s++) board[s] = EMPTY;
  board[5] = WKING;
  board[61] = BKING;
  hand[1] = WKNIGHT;
  hand[2] = WPAWN;
  hand[3] = WKNIGHT;
  genwhite(movefrom, moveto, &count, 1, ep, 1, hand);
  int knightdrops = 0, pawndrops = 0;
  for (int i = 1; i <= count; i++) {
    if (movefrom[i] == -WKNIGHT) knightdrops++;
    if (movefrom[i] == -WPAWN) {
      pawndrops++;
      EXPECT_GE(moveto[i], 9);
      EXPECT_LE(moveto[i], 56);
    }
  }
  EXPECT_EQ(knightdrops, 62);
  EXPECT_EQ(pawndrops, 48);
  hand[0] = NODROPS;
  genwhite(movefrom, moveto, &count, 1, ep, 1, hand);
  EXPECT_EQ(count, 5);
}

TEST_F(MoveGenTest, PickmoveWithoutCapturesOrKillersLeavesListAlone) {
  genwhite(movefrom, moveto, &count, 1, ep, 0, hand);
  EXPECT_EQ(pickmove(movefrom, moveto, 2, count, 1), 0);
  EXPECT_EQ(movefrom[1], 2);
  EXPECT_EQ(moveto[1], 17);
}

TEST_F(MoveGenTest, PickmoveTakesTheEarlierOfTwoEqualCaptures) {
  for (int s = 1; s <= 64; s++) board[s] = EMPTY;
  board[5] = WKING;
  board[61] = BKING;
  board[20] = WKNIGHT;   // d3
  board[22] = WKNIGHT;   // f3
  board[37] = BBISHOP;   // e5: both knights take it
  genwhite(movefrom, moveto, &count, 1, ep, 1, hand);
  EXPECT_EQ(pickmove(movefrom, moveto, 2, count, 1), 1);
  EXPECT_EQ(movefrom[1], 20);
  EXPECT_EQ(moveto[1], 37);
}

}  // namespace
