// The atomic search: a win by explosion at the depth where it appears, king captures never chosen,
// a king left en prise lost, and the board left as it was found.
#include "atomictest.h"

namespace {

using AtomicSearchTest = AtomicTest;

// Bxf7 blows up the king on e8: a win at the root, found at depth 1.
TEST_F(AtomicSearchTest, ExplosionOfTheKingWinsAtDepthOne) {
  setfen("r1bqkbnr/pppp1ppp/2n5/4p3/2B1P3/8/PPPP1PPP/RNBQK1NR w KQkq - 2 3");
  int before[65];
  memcpy(before, board, sizeof before);
  EXPECT_EQ(rootsearch(1), ATOMICWIN - 1);
  EXPECT_EQ(finfrom, sq("c4"));
  EXPECT_EQ(finto, sq("f7"));
  EXPECT_EQ(memcmp(before, board, sizeof before), 0);
}

// The engine's king next to a Black man never takes it, even when taking would look winning.
TEST_F(AtomicSearchTest, KingCaptureIsNeverChosen) {
  setfen("8/8/8/8/8/2k5/3q4/4K3 w - - 0 1");
  for (int depth = 1; depth <= 3; depth++) {
    deepen(depth);
    EXPECT_FALSE(finfrom == sq("e1") && finto == sq("d2")) << "depth " << depth;
  }
}

// A move that leaves the king to a knight loses: the knight takes it next.
TEST_F(AtomicSearchTest, KingLeftEnPriseIsLost) {
  setfen("4k3/8/8/8/8/5n2/8/R3K3 w - - 0 1");  // the king on e1 in check from f3
  int score = deepen(2);
  EXPECT_NE(board[finfrom], WROOK);  // only a king step saves the king
  EXPECT_GT(score, -(ATOMICWIN - 2));
}

// A stalemated side below the root scores 0.
TEST_F(AtomicSearchTest, StalemateBelowTheRootIsADraw) {
  setfen("7k/8/6Q1/8/8/8/8/K7 w - - 0 1");
  endgameflag = 1;
  deepen(2);
  // Whatever it plays, the engine does not walk into a position scored as lost.
  EXPECT_GE(lastrootscore, 0);
}

}  // namespace
