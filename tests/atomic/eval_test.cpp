// The atomic evaluation: the start position, isolated terms, the clamps and the side argument.
#include "atomictest.h"

namespace {

using AtomicEvalTest = AtomicTest;

TEST_F(AtomicEvalTest, StartPositionIsLevel) {
  setfen(nullptr);
  EXPECT_EQ(atomiceval(0), 0);
  EXPECT_EQ(atomiceval(1), 0);
}

TEST_F(AtomicEvalTest, SidesNegateAndAnyOtherSideIsZero) {
  setfen("r1bqkbnr/pppp1ppp/2n5/4p3/2B1P3/8/PPPP1PPP/RNBQK1NR w KQkq - 2 3");
  int white = atomiceval(0);
  EXPECT_NE(white, 0);
  EXPECT_EQ(atomiceval(1), -white);
  EXPECT_EQ(atomiceval(2), 0);
}

// The kings side by side move the score 100 towards 0.
TEST_F(AtomicEvalTest, TouchingKingsMoveTheScoreTowardsZero) {
  clearboard();
  endgameflag = lateendgameflag = 1;
  board[sq("d4")] = WKING;
  board[sq("f6")] = BKING;
  board[sq("a1")] = WQUEEN;
  int apart = atomiceval(0);
  ASSERT_GT(apart, kingkingbonus);
  board[sq("f6")] = EMPTY;
  board[sq("e5")] = BKING;
  int centrediff = 60 - 40;  // the Black king's centre value: 40 on f6, 60 on e5
  EXPECT_EQ(atomiceval(0), apart - centrediff - kingkingbonus);
}

// A White rook touching the Black king, with no Black rook or queen touching the White king, turns
// a negative score into 0.
TEST_F(AtomicEvalTest, RookTouchingTheKingClampsALosingScore) {
  clearboard();
  endgameflag = lateendgameflag = 1;
  board[sq("a1")] = WKING;
  board[sq("h8")] = BKING;
  board[sq("d5")] = BQUEEN;
  board[sq("c6")] = BQUEEN;
  board[sq("h7")] = WROOK;
  EXPECT_EQ(atomiceval(0), 0);
  board[sq("h7")] = EMPTY;
  board[sq("a7")] = WROOK;
  EXPECT_LT(atomiceval(0), 0);
}

}  // namespace
