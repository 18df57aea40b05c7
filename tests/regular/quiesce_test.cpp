// Quiescence: stand pat, the material tests on captures and promotions, king capture, 3check
// checks; and the exchange evaluation on small exchanges.
#include "regulartest.h"

namespace {

struct QuiesceTest : RegularTest {
  int hand[HANDSLOTS] = {NODROPS};
  int otherhand[HANDSLOTS] = {NODROPS};
  int emptyep[65] = {};

  int q(int alpha, int beta, int ply) { return qsearch(alpha, beta, 0, ply, emptyep, 0, 0, hand, otherhand); }
};

TEST_F(QuiesceTest, StandsPatWithoutGeneratingWhenAlreadyAboveBeta) {
  setfen("4k3/8/8/3p4/8/8/8/Q3K3 w -");
  EXPECT_EQ(q(-100, 100, 1), 100);
  EXPECT_EQ(qnodes, 1);
  EXPECT_EQ(seecount, 0);
  EXPECT_EQ(evalcount, 1);
}

TEST_F(QuiesceTest, PawnTakingADefendedQueenIsSearched) {
  setfen("4k3/8/5p2/4q3/3P4/8/8/4K3 w -");
  int standpat = evaluate(0);
  int score = q(-2000, 2000, 1);
  EXPECT_GT(qnodes, 1);
  // d4xe5 f6xe5 leaves White a queen for a pawn up on the stand-pat balance.
  EXPECT_GT(score, standpat + 700);
}

TEST_F(QuiesceTest, QueenTakingAPawnDefendedByAPawnIsNot) {
  setfen("4k3/8/4p3/3p4/8/8/8/3QK3 w -");
  int standpat = evaluate(0);
  EXPECT_EQ(q(-2000, 2000, 1), standpat);
  EXPECT_EQ(qnodes, 1);   // Qxd5 fails the exchange test and is not searched
  EXPECT_EQ(seecount, 2);  // the pawn's recapture, then nothing left for White
}

TEST_F(QuiesceTest, CapturingTheKingEndsAtAnyPly) {
  setfen("4k3/8/8/8/8/8/8/4RK2 w -");
  EXPECT_EQ(q(-30000, 30000, 1), 15000 - 1);
  EXPECT_EQ(q(-30000, 30000, 3), 15000 - 3);
  EXPECT_EQ(qsearch(-30000, 30000, -4, 7, emptyep, 1, 0, hand, otherhand), 15000 - 7);
  // Black to move (even ply) with its rook on the white king's file.
  setfen("4kr2/8/8/8/8/8/8/5K2 w -");
  EXPECT_EQ(q(-30000, 30000, 2), 15000 - 2);
}

TEST_F(QuiesceTest, QuietPromotionOnlyWhileBestIsWithinFiftyOfStandPat) {
  setfen("7k/3P4/8/8/8/8/8/K7 w -");
  int standpat = evaluate(0);
  int score = q(standpat - 100, standpat + 2000, 1);
  EXPECT_GT(score, standpat + 500);  // d8=Q searched
  resetmovecounters();
  EXPECT_EQ(q(standpat + 60, standpat + 2000, 1), standpat + 60);
  EXPECT_EQ(qnodes, 1);
}

TEST_F(QuiesceTest, ThreeCheckSearchesQuietChecksAndWinsOnTheThird) {
  setfen("4k3/8/8/8/8/8/8/R3K3 w -");
  int standpat = evaluate(0);
  EXPECT_EQ(q(-30000, 30000, 1), standpat);  // Ra8+ is quiet: not searched in normal chess
  EXPECT_EQ(qnodes, 1);
  threecheckmode = 1;
  resetmovecounters();
  q(-30000, 30000, 1);
  EXPECT_GT(qnodes, 1);
  EXPECT_EQ(topc, 0);  // the counts are restored
  topc = 2;
  EXPECT_EQ(q(-30000, 30000, 1), 15000 - 1);
  EXPECT_EQ(topc, 2);
}

// En passant in quiescence takes the pawn beside: winning it is worth searching, and the board
// comes back whole.
TEST_F(QuiesceTest, EnPassantTakesThePawnAndPutsItBack) {
  setfen("4k3/8/8/3pP3/8/8/8/4K3 w -");
  int markers[65] = {};
  markers[sq("d6")] = BPAWN;
  int before[65];
  memcpy(before, board, sizeof before);
  int standpat = evaluate(0);
  int score = qsearch(-1000, 1000, 0, 1, markers, 0, 0, hand, otherhand);
  EXPECT_GT(score, standpat + 50);
  EXPECT_EQ(memcmp(before, board, sizeof before), 0);
}

TEST_F(QuiesceTest, LeavesTheBoardAsItFoundIt) {
  setfen("r3k2r/1P4P1/2n2q2/3pP3/2B1b3/5N2/p4PPp/R3K2R w KQkq");
  int saved[65];
  memcpy(saved, board, sizeof saved);
  q(-30000, 30000, 1);
  q(-30000, 30000, 2);
  EXPECT_EQ(memcmp(saved, board, sizeof saved), 0);
}

using SeeTest = RegularTest;

TEST_F(SeeTest, EmptyOrUnattackedSquaresGainNothing) {
  setfen("4k3/8/8/3p4/8/8/8/4K3 w -");
  EXPECT_EQ(seegain(sq("e4")), 0);
  EXPECT_EQ(seegain(sq("d5")), 0);
}

TEST_F(SeeTest, SmallExchanges) {
  // A hanging rook.
  setfen("4k3/8/8/3r4/8/1B6/8/4K3 w -");
  EXPECT_EQ(seegain(sq("d5")), 550);
  // A knight defended by a pawn, attacked by a rook and a pawn: pawn first wins the knight,
  // the rook first loses the exchange; the best order is found.
  setfen("4k3/8/4p3/3n4/2P5/8/8/3RK3 w -");
  EXPECT_EQ(seegain(sq("d5")), 325);
  // A pawn defended by a pawn, attacked by a knight: nothing to win.
  setfen("4k3/8/4p3/3p4/8/4N3/8/4K3 w -");
  EXPECT_EQ(seegain(sq("d5")), 0);
  // Black recaptures on a white man: the attacking colour follows the man on the square.
  setfen("4k3/8/4p3/3N4/8/8/8/4K3 w -");
  EXPECT_EQ(seegain(sq("d5")), 325);
  // Rook behind rook: the rear one joins once the front one has gone, so the pawn falls.
  setfen("4k3/3r4/8/3p4/8/8/3R4/3RK3 w -");
  EXPECT_EQ(seegain(sq("d5")), 100);
  // With a second black rook behind, taking the pawn costs a rook: better not to start.
  setfen("3rk3/3r4/8/3p4/8/8/3R4/3RK3 w -");
  EXPECT_EQ(seegain(sq("d5")), 0);
}

TEST_F(SeeTest, AKingAmongTheVictimsIsWorthEverything) {
  setfen("4k3/8/8/8/8/8/8/4RK2 w -");
  EXPECT_EQ(seegain(sq("e8")), 7500);
  // A white king standing where a black knight reaches is lost ...
  setfen("8/8/8/8/8/1n6/3K4/7k w -");
  EXPECT_EQ(seegain(sq("d2")), 7500);
  // ... so the king does not take a pawn that knight defends.
  setfen("8/8/8/8/8/1n6/3p4/4K2k w -");
  EXPECT_EQ(seegain(sq("d2")), 0);
}

TEST_F(SeeTest, AttackersInTheirFixedOrder) {
  // Pawns (from the right first), knights in the order of the knight table, sliders, the king.
  setfen("B3k3/8/4K3/3q4/1NP1PN2/4N3/8/3R4 w -");
  int from[SEEMAXATTACKERS], to[SEEMAXATTACKERS], count = 0;
  attackersof(sq("d5"), from, to, &count);
  const char *expect[] = {"e4", "c4", "e3", "f4", "b4", "a8", "d1", "e6"};
  ASSERT_EQ(count, 8);
  for (int i = 1; i <= count; i++) {
    EXPECT_EQ(from[i], sq(expect[i - 1])) << i;
    EXPECT_EQ(to[i], sq("d5"));
  }
  // A white man on the square is attacked by Black: the queen along the file, the king beside.
  count = 0;
  board[sq("d4")] = WKNIGHT;
  attackersof(sq("d4"), from, to, &count);
  ASSERT_EQ(count, 1);
  EXPECT_EQ(from[1], sq("d5"));
}

}  // namespace
