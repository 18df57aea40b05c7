// A move of the game, by either side, through the one path that the engine's move, the opponent's
// move and the force replay share.
#include <gtest/gtest.h>

#include "frontend/frontend.h"
#include "perft.h"

namespace {

struct GameMoveTest : ::testing::Test {
  void SetUp() override {
    initkeys(9);
    resetall();
  }
  void TearDown() override { resetall(); }
  void setup(const char *variant, const char *fen) { ASSERT_TRUE(perftsetup(variant, fen)) << perfterror; }
  static int sq(const char *name) { return squareof(name[0], name[1]); }
};

TEST_F(GameMoveTest, CastlingMovesTheRookAndClearsTheMoversRights) {
  setup("normal", "r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1");
  playgamemove(sq("e1"), sq("g1"), 0);
  EXPECT_EQ(board[sq("f1")], WROOK);
  EXPECT_EQ(board[sq("h1")], EMPTY);
  EXPECT_EQ(wcastleking + wcastlea + wcastleh, 0);
  EXPECT_EQ(bcastleking, SQE8);
  playgamemove(sq("e8"), sq("c8"), 0);  // Black's long castling
  EXPECT_EQ(board[sq("d8")], BROOK);
  EXPECT_EQ(board[SQA8], EMPTY);
  EXPECT_EQ(bcastleking + bcastlea + bcastleh, 0);
}

TEST_F(GameMoveTest, ARookTakenOnItsCornerTakesItsRight) {
  setup("normal", "r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1");
  playgamemove(SQA1, SQA8, 0);
  EXPECT_EQ(wcastlea, 0);
  EXPECT_EQ(bcastlea, 0);
  EXPECT_EQ(bcastleh, SQH8);
  EXPECT_EQ(bcastleking, SQE8);
  playgamemove(SQH8, SQH1, 0);
  EXPECT_EQ(wcastleking + wcastlea + wcastleh, 0);
  EXPECT_EQ(bcastleking + bcastlea + bcastleh, 0);
}

TEST_F(GameMoveTest, DoubleStepSetsTheMarkerAndEnPassantTakesThePawn) {
  setup("crazyhouse", "4k3/2p5/8/3P4/8/8/8/4K3 w - - 0 1");
  playgamemove(sq("c7"), sq("c5"), 0);  // the opponent's double step beside the engine's pawn
  EXPECT_EQ(gameepsquares[sq("c6")], BPAWN);
  EXPECT_EQ(rootepflag, 1);
  playgamemove(sq("d5"), sq("c6"), 0);  // dxc6 e.p.
  EXPECT_EQ(board[sq("c5")], EMPTY);
  EXPECT_EQ(board[sq("c6")], WPAWN);
  EXPECT_EQ(gamewheld[1], WPAWN);  // the pawn goes into the captor's hand
  EXPECT_EQ(rootepflag, 0);
  for (int s = 1; s <= 64; s++) EXPECT_EQ(gameepsquares[s], 0) << s;
  EXPECT_TRUE(boardisok(0, 0, 0, gamewheld, gamebheld, gamewpieces, gamebpieces));
}

TEST_F(GameMoveTest, PromotionMakesTheNamedManAndRestartsTheFiftyMoveCount) {
  setup("normal", "8/1P2k3/8/8/8/8/6p1/4K3 w - - 0 1");
  fiftycount = 40;
  EXPECT_EQ(playgamemove(sq("b7"), sq("b8"), WKNIGHT), 1);
  EXPECT_EQ(board[sq("b8")], WKNIGHT);
  EXPECT_EQ(fiftycount, 0);  // a pawn move, promotion or not
  playgamemove(sq("e7"), sq("e6"), 0);
  EXPECT_EQ(fiftycount, 1);
  EXPECT_EQ(playgamemove(sq("g2"), sq("g1"), 0), 1);  // no man named: a queen of the mover's colour
  EXPECT_EQ(board[sq("g1")], BQUEEN);
  EXPECT_EQ(fiftycount, 0);
}

TEST_F(GameMoveTest, DropsTakeTheManFromTheHand) {
  setup("crazyhouse", "4k3/8/8/8/8/8/8/4K3[Nq] w - - 0 1");
  fiftycount = 7;
  EXPECT_EQ(playgamemove(-WKNIGHT, sq("e4"), 0), 0);
  EXPECT_EQ(board[sq("e4")], WKNIGHT);
  EXPECT_EQ(gamewheld[1], 0);
  EXPECT_EQ(fiftycount, 8);
  playgamemove(-BQUEEN, sq("d4"), 0);
  EXPECT_EQ(board[sq("d4")], BQUEEN);
  EXPECT_EQ(gamebheld[1], 0);
}

}  // namespace
