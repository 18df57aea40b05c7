// The consistency check finds what make/unmake could have left wrong.
#include <gtest/gtest.h>

#include "perft.h"

namespace {

struct BoardIsOkTest : ::testing::Test {
  void SetUp() override {
    initkeys(5);
    ASSERT_TRUE(perftsetup("crazyhouse", "r3k2r/1P6/8/8/8/8/6p1/R3K2R[NNbb] w KQkq - 0 1"));
  }
  int ok(uint64_t key) { return boardisok(key, rootepflag, 0, gamewheld, gamebheld, gamewpieces, gamebpieces); }
};

TEST_F(BoardIsOkTest, AcceptsTheSetUpPositionAndItsKey) {
  EXPECT_EQ(ok(0), 1);
  EXPECT_EQ(ok(rootkeycrazy(rootepflag, gamewheld, gamebheld)), 1);
  EXPECT_EQ(ok(rootkeycrazy(rootepflag, gamewheld, gamebheld) ^ zmove), 0);  // the wrong side to move
}

TEST_F(BoardIsOkTest, FindsAStaleKingSquareAPawnMissingFromItsListAndABadHand) {
  ownkingsq = SQD1;
  EXPECT_EQ(ok(0), 0);
  findkings();
  EXPECT_EQ(ok(0), 1);
  int sq = findman(WPAWN);
  for (int i = 1; i < PAWNBORNSLOTS; i++)
    if (gamewpieces[i] == sq) gamewpieces[i] = 0;
  EXPECT_EQ(ok(0), 0);
  gamewpieces[16] = sq;
  EXPECT_EQ(ok(0), 1);
  gamewheld[5] = WKING;  // a king is never held
  EXPECT_EQ(ok(0), 0);
  gamewheld[5] = 0;
  board[30] = 13;  // no such code
  EXPECT_EQ(ok(0), 0);
}

}  // namespace
