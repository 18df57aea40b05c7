// The antichess evaluation, search, root choice, result announcements and capture obligation.
#include "antitest.h"

#include <unistd.h>

#include "../frontend/pipes.h"

namespace {

using AntiEngine = AntiTest;

const char *const STARTFEN = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

// One iteration at the root with the full window.
int searchroot(int depth) {
  searchdepth = depth;
  depthcap = 25;
  return antiroot(ANTIALPHA, ANTIBETA, depth, antirootkey());
}

TEST_F(AntiEngine, EvaluationOfTheStartAndOfMissingMen) {
  setup("giveaway", STARTFEN);
  EXPECT_EQ(antievaluate(0), 0);
  EXPECT_EQ(antievaluate(1), 0);
  EXPECT_EQ(antievaluate(2), 0);
  board[sq("b1")] = EMPTY;
  EXPECT_EQ(antievaluate(0), 200);
  board[sq("b1")] = WKNIGHT;
  board[sq("a1")] = EMPTY;
  EXPECT_EQ(antievaluate(0), 100);
}

TEST_F(AntiEngine, LosersNoPawnsBonusAndPawnsNearTheKing) {
  setup("losers", "4k3/8/8/8/8/8/8/4K2R w - - 0 1");
  int nopawnseither = antievaluate(0);  // the two bonuses cancel
  setup("losers", "4k3/p7/8/8/8/8/8/4K2R w - - 0 1");
  filesummary();
  int blackpawn = -loservalue[BPAWN] + (3 * antibpawnadvance[sq("a7")]) / 2 + pawnshapeblack(1, 7);
  EXPECT_EQ(antievaluate(0) - nopawnseither, nopawns + blackpawn);
  // In the endgame a white pawn beside Black's king adds 70, two squares in front of it 35, a
  // knight's jump of one rank and two files nothing; the kings' table counts in the endgame too.
  struct {
    const char *square;
    int bonus;
  } cases[] = {{"e4", 70}, {"e3", 35}, {"c4", 0}};
  for (const auto &c : cases) {
    setup("losers", "8/8/8/4k3/8/8/8/K7 w - - 0 1");
    board[sq(c.square)] = WPAWN;
    endgameflag = 0;
    int middle = antievaluate(0);
    endgameflag = 1;
    int end = antievaluate(0);
    EXPECT_EQ(end - middle, c.bonus + loserkingtable[sq("a1")] - loserkingtable[sq("e5")]) << c.square;
  }
  EXPECT_FALSE(twosquaresaway(sq("c4"), BKING));
  EXPECT_TRUE(twosquaresaway(sq("d3"), BKING));
}

TEST_F(AntiEngine, CompulsoryCaptureAtTheRoot) {
  setup("giveaway", "rnbqkbnr/ppp1pppp/8/3p4/4P3/8/PPPP1PPP/RNBQKBNR w KQkq d6 0 2");
  searchroot(1);
  EXPECT_EQ(finfrom, sq("e4"));
  EXPECT_EQ(finto, sq("d5"));
  searchroot(3);
  EXPECT_EQ(finto, sq("d5"));
}

TEST_F(AntiEngine, SideWithoutMenOrMovesWins) {
  // White takes the last black man: Black, to move without men, has won.
  setup("giveaway", "8/8/8/3k4/4K3/8/8/8 w - - 0 1");
  EXPECT_EQ(searchroot(1), -(ANTIWIN - 2));
  // Blocked: the black pawn cannot move after White's only move either.
  setup("suicide", "8/8/8/8/8/p7/P7/7N w - - 0 1");
  int s = searchroot(2);
  EXPECT_LE(s, ANTIWIN);
}

TEST_F(AntiEngine, LosersFallsBackToQuietMovesWhenCapturesAreIllegal) {
  // Nxb3 is the only capture, and the knight is pinned: the king must move.
  setup("losers", "4k3/8/8/8/1b6/1p6/3N4/4K3 w - - 0 1");
  searchroot(2);
  EXPECT_EQ(finfrom, sq("e1"));
  EXPECT_EQ(rootscore[2][1] == ILLEGALROOTSCORE || rootmovecount > 1, true);
}

TEST_F(AntiEngine, LosersBareKingWinsBelowTheRoot) {
  // Kxe2 is forced and leaves Black with only its king: Black has won.
  setup("losers", "4k3/8/8/8/8/8/4r3/R3K3 w Q - 0 1");
  EXPECT_EQ(searchroot(1), -(ANTIWIN - 2));
  EXPECT_EQ(finto, sq("e2"));
}

TEST_F(AntiEngine, PromotionChoosesAMan) {
  setup("suicide", "8/6P1/8/8/8/8/8/k7 w - - 0 1");
  searchroot(2);
  EXPECT_EQ(finfrom, sq("g7"));
  EXPECT_GE(promopiece, WKNIGHT);
  EXPECT_LE(promopiece, WKING);
}

TEST_F(AntiEngine, RootSelectCompletedAndStopped) {
  setup("giveaway", STARTFEN);
  int from[ANTIMAXMOVES] = {0, 2, 2, 7};
  int to[ANTIMAXMOVES] = {0, 17, 19, 22};
  int promo[ANTIMAXMOVES] = {};
  depthcap = 25;
  rootscore[3][1] = 50, rootscore[3][2] = 100, rootscore[3][3] = 100;
  EXPECT_EQ(rootselect(3, from, to, promo, 0, 0, 3), 100);
  EXPECT_EQ(finto, 19);
  rootscore[3][3] = 300;
  testing::internal::CaptureStdout();
  EXPECT_EQ(rootselect(3, from, to, promo, 1, 3, 3), 100);  // stopped in the third move
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_NE(out.find("depth: 2 + 2/"), std::string::npos) << out;
  lastrootscore = -5;
  EXPECT_EQ(rootselect(3, from, to, promo, 1, 1, 3), -5);  // stopped in the first: the previous value
  EXPECT_EQ(finto, 17);
}

TEST_F(AntiEngine, AnnouncementsByColour) {
  setup("giveaway", "8/8/8/8/8/8/8/k7 w - - 0 1");  // the engine (White) has no men left
  color = 1;
  testing::internal::CaptureStdout();
  enginetomoveresult();
  EXPECT_NE(testing::internal::GetCapturedStdout().find("\n1-0\n"), std::string::npos);
  setup("losers", "4k3/8/8/8/8/8/8/R3K3 w - - 0 1");  // after the engine's move Black has only its king
  color = 1;
  testing::internal::CaptureStdout();
  opponenttomoveresult(0, 0, 0, 0);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "\n0-1\n");
  setvariantflags(0, VFALL);  // normal chess: a king capture next without check is stalemate
  testing::internal::CaptureStdout();
  opponenttomoveresult(ENGINEMATES, 0, 0, 0);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "\n1/2-1/2 (Stalemate)\n");
}

TEST_F(AntiEngine, OpponentCaptureObligation) {
  setup("suicide", "4k3/8/8/3p4/4P3/8/8/4K3 w - - 0 1");
  EXPECT_EQ(opponentcancapture(), 0);  // dxe4 is there
  setup("losers", "4k3/8/8/8/8/8/3r4/3RK3 w - - 0 1");
  // Black's rook may take d1: legal, so a capture is due.
  EXPECT_EQ(opponentcancapture(), 0);
  setup("losers", "4k3/3r4/8/8/8/8/8/R3K3 w - - 0 1");
  EXPECT_EQ(opponentcancapture(), 1);  // nothing to take
}

// The reader refuses a quiet move when a capture was due, and takes the game record entry back:
// after exd5 Black must take back, so a7a6 is refused and Qxd5 accepted.
TEST(AntiXboard, QuietMoveRefusedWhenACaptureWasDue) {
  childproc engine;
  ASSERT_TRUE(startkorvel(&engine));
  sendtext(&engine, "xboard\nprotover 2\nnew\nvariant suicide\nforce\ne2e4\nd7d5\ngo\n");
  size_t at = 0;
  ASSERT_TRUE(waitfortext(&engine, "move e4d5", 0, 10000, &at));
  sendtext(&engine, "a7a6\n");
  EXPECT_TRUE(waitfortext(&engine, "Illegal move: a7a6\n", at, 10000, &at));
  sendtext(&engine, "d8d5\n");
  EXPECT_TRUE(waitfortext(&engine, "\nmove ", at, 10000, &at));
  EXPECT_EQ(engine.text.find("Illegal move: d8d5"), std::string::npos);
  sendtext(&engine, "quit\n");
  stopchild(&engine);
}

}  // namespace
