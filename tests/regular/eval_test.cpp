// The regular evaluation on hand-checked positions: the start, single terms in isolation, the
// king-safety weights, the crazyhouse hands and the side argument.
#include "regulartest.h"

namespace {

using EvalTest = RegularTest;

const char *STARTFEN = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq";

TEST_F(EvalTest, StartPositionIsZeroForEitherColourAndOtherSidesGiveZero) {
  setfen(STARTFEN);
  EXPECT_EQ(evaluate(0), 0);
  EXPECT_EQ(evaluate(1), 0);
  setupblack();
  color = 0;
  EXPECT_EQ(evaluate(0), 0);
  setfen("4k3/8/8/8/8/8/8/Q3K3 w -");
  EXPECT_NE(evaluate(0), 0);
  EXPECT_EQ(evaluate(1), -evaluate(0));
  EXPECT_EQ(evaluate(2), 0);
  EXPECT_EQ(evaluate(-1), 0);
  EXPECT_EQ(evaluatecrazy(2, wheld, bheld), 0);
}

// What a man adds to the evaluation: the evaluation with it less the evaluation without it.
int contribution(int sq, int man) {
  int saved = board[sq];
  board[sq] = man;
  int with = evaluate(0);
  board[sq] = EMPTY;
  int without = evaluate(0);
  board[sq] = saved;
  return with - without;
}

TEST_F(EvalTest, RookFileBonusesAndSeventhRank) {
  setfen("7k/8/8/8/8/8/8/7K w -");
  endgameflag = 1;  // no king safety: the rook's own terms alone
  // Rook d4 on an empty board: 14 empty squares (mobility 14, doubled) and the pawnless file +24.
  EXPECT_EQ(contribution(sq("d4"), WROOK), 520 + 2 * 14 + 24);
  // A black pawn on d7: 12 empty squares (still 14) and a file without white pawns +16.
  board[sq("d7")] = BPAWN;
  EXPECT_EQ(contribution(sq("d4"), WROOK), 520 + 2 * 14 + 16);
  // A white pawn on d2 as well: 10 squares (14) and no file bonus.
  board[sq("d2")] = WPAWN;
  EXPECT_EQ(contribution(sq("d4"), WROOK), 520 + 2 * 14);
  // Rook on a7 with pawns on the d-file: 1 + 6 + 2 squares (14), open a-file, seventh rank.
  EXPECT_EQ(contribution(sq("a7"), WROOK), 520 + 2 * 14 + 24 + 10);
  // The black rook mirrors it: rank 2 and the open file count against Black.
  EXPECT_EQ(contribution(sq("a2"), BROOK), -(520 + 2 * 14 + 24 + 10));
}

TEST_F(EvalTest, PawnStructureTerms) {
  clearboard();
  board[sq("e2")] = WPAWN;
  board[sq("e3")] = WPAWN;
  filesummary();
  // Doubled, isolated and free of black pawns ahead on the neighbouring files.
  EXPECT_EQ(pawnshapewhite(5, 3), -10 - 28 + 15);
  EXPECT_EQ(pawnshapewhite(5, 2), -28 + 15);
  clearboard();
  board[sq("d4")] = WPAWN;
  board[sq("e2")] = WPAWN;
  board[sq("f5")] = BPAWN;
  filesummary();
  // e2 has a neighbour only ahead of it on d4: backward, and a black pawn ahead on f5.
  EXPECT_EQ(pawnshapewhite(5, 2), -8);
  // d4 has e2 behind it on a neighbouring file: no penalty; no black pawn on c or e: free.
  EXPECT_EQ(pawnshapewhite(4, 4), 15);
  // The black pawn on f5 is isolated; White's e-pawn stands below it, so it is not free.
  EXPECT_EQ(pawnshapeblack(6, 5), 28);
  board[sq("e2")] = EMPTY;
  filesummary();
  EXPECT_EQ(pawnshapeblack(6, 5), 28 - 15);
}

// The pawn-structure terms and square-table values of every pawn on the board, square by square
// from the file summary, without the cache or the scan's lists.
int directpawnshape() {
  int shape = 0;
  for (int sq = 1; sq <= 64; sq++) {
    if (board[sq] == WPAWN) shape += pawnshapewhite(fileof(sq) + 1, rankof(sq)) + pawntable[sq];
    if (board[sq] == BPAWN) shape += pawnshapeblack(fileof(sq) + 1, rankof(sq)) + bpawntable[sq];
  }
  return shape;
}

TEST_F(EvalTest, CachedPawnStructureEqualsTheSumPawnByPawn) {
  const char *fens[] = {STARTFEN, "4k3/8/8/8/8/8/8/4K3 w -", "4k3/p1p3p1/1p6/3P4/2P1p3/8/PP3PP1/4K3 w -",
                        "4k3/pp6/8/8/8/8/6PP/4K3 w -", "4k3/6pp/8/8/8/8/PP6/4K3 w -"};
  for (int round = 1; round <= 2; round++) {  // the second round reads every entry from the cache
    for (const char *fen : fens) {
      setfen(fen);
      boardscan scan;
      scanboard(&scan);
      EXPECT_EQ(pawnplacementsum(&scan), directpawnshape()) << fen << " round " << round;
    }
  }
  // The same pawns seen after other men moved, and a cleared cache, give the same sum.
  setfen("4k3/p1p3p1/1p6/3P4/2P1p3/8/PP3PP1/R3K2R w -");
  boardscan scan;
  scanboard(&scan);
  int first = pawnplacementsum(&scan);
  clearpawncache();
  EXPECT_EQ(pawnplacementsum(&scan), first);
  EXPECT_EQ(first, directpawnshape());
}

TEST_F(EvalTest, BlackPawnOnD4IsWorthMoreThanTheMirrorOfWhiteOnD5) {
  EXPECT_EQ(bpawntable[sq("d4")], -26);
  EXPECT_EQ(pawntable[sq("d5")], 16);
  EXPECT_EQ(bpawntable[sq("e4")], -pawntable[sq("e5")]);
  for (int s = 1; s <= 64; s++) {
    int mirror = 8 * (8 - rankof(s)) + fileof(s) + 1;
    EXPECT_EQ(bknighttable[s], -knighttable[mirror]);
    EXPECT_EQ(bbishoptable[s], -bishoptable[mirror]);
  }
}

TEST_F(EvalTest, MobilityCountsEmptySquaresUpToTheFirstMan) {
  clearboard();
  board[sq("c1")] = WBISHOP;
  EXPECT_EQ(bishopmobility(sq("c1"), 0), bishopmobtable[7]);
  board[sq("d2")] = WPAWN;
  EXPECT_EQ(bishopmobility(sq("c1"), 0), bishopmobtable[2]);
  board[sq("b2")] = BPAWN;
  EXPECT_EQ(bishopmobility(sq("c1"), 0), -3);
  // As a king's openness: 0 and 1 open squares cost nothing, each further one 10.
  clearboard();
  EXPECT_EQ(rookmobility(sq("a1"), 1), -130);
  board[sq("a3")] = WPAWN;
  board[sq("c1")] = WPAWN;
  EXPECT_EQ(rookmobility(sq("a1"), 1), -10);
}

TEST_F(EvalTest, KingShelterValues) {
  setfen("4k3/3ppp2/8/8/8/8/8/6K1 w -");
  filesummary();
  // g1 is worth 2; no pawn on f, g, h: 7 + 9 + 7.
  EXPECT_EQ(kingsafetywhite(sq("g1"), wcount), 2 - 23);
  board[sq("f2")] = WPAWN;
  board[sq("g3")] = WPAWN;
  board[sq("h4")] = WPAWN;
  filesummary();
  EXPECT_EQ(kingsafetywhite(sq("g1"), wcount), 2 - 2 - 4);
  board[sq("g2")] = WBISHOP;  // the fianchetto softens g3
  EXPECT_EQ(kingsafetywhite(sq("g1"), wcount), 2 - 2 - 4 + 2);
  // The black king in the centre behind its pawns is safe; without the d-pawn it pays 3 while it
  // may still castle and 6 once it may not.
  EXPECT_EQ(kingsafetyblack(sq("e8"), bcount), 0);
  board[sq("d7")] = EMPTY;
  filesummary();
  bcastleking = sq("e8");
  EXPECT_EQ(kingsafetyblack(sq("e8"), bcount), 3);
  bcastleking = 0;
  EXPECT_EQ(kingsafetyblack(sq("e8"), bcount), 6);
  // Black's wing files all cost 7, the knight's file too.
  setfen("6k1/8/8/8/8/8/8/4K3 w -");
  filesummary();
  EXPECT_EQ(kingsafetyblack(sq("g8"), bcount), -(2 - 21));
}

TEST_F(EvalTest, KingSafetyWeightJumpsAtThreeThousandOfBlackMaterial) {
  // White's king on g1 without shelter: -21. Black: queen (1000), two rooks, four minors: 3000,
  // so White's king safety weighs 7.5: trunc(-157.5) = -157. Without the knight on e5: 2750,
  // weight 2750 / 600: trunc(-96.25) = -96. Black's own king is sheltered (0).
  setfen("rnbqkbnr/3ppp2/8/4n3/8/8/8/6K1 w -");
  board[sq("b8")] = EMPTY;  // keep four minors: g8, c8, f8 and e5
  endgameflag = 0;
  filesummary();
  ASSERT_EQ(kingsafetywhite(sq("g1"), wcount), -21);
  int with = evaluate(0);
  board[sq("e5")] = EMPTY;
  int without = evaluate(0);
  EXPECT_EQ(with - without, -305 + bknighttable[sq("e5")] + (-157 - (-96)));
  // In the endgame phase king safety is left out altogether.
  endgameflag = 1;
  board[sq("e5")] = BKNIGHT;
  int endwith = evaluate(0);
  board[sq("e5")] = EMPTY;
  EXPECT_EQ(endwith - evaluate(0), -305 + bknighttable[sq("e5")]);
}

TEST_F(EvalTest, KingSafetyDivisorOfTwokingsAndSetboard) {
  setfen("rnbqkbnr/3ppp2/8/4n3/8/8/8/6K1 w -");
  board[sq("b8")] = EMPTY;
  endgameflag = 0;
  int one = evaluate(0);
  kingsafetydivisor = 4;
  // -21 / 4 = -5.25, weighed 7.5: trunc(-39.375) = -39 instead of -157.
  EXPECT_EQ(evaluate(0) - one, -39 - (-157));
}

TEST_F(EvalTest, WithTwoKingsTheFirstOnTheLowestFileIsExamined) {
  // White kings on b1 (sheltered by a2 b2 c2) and g1 (no shelter); Black has material to attack.
  setfen("rnbqkbnr/pppppppp/8/8/8/8/PPP5/1K4K1 w -");
  endgameflag = 0;
  kingsafetydivisor = 4;
  int both = evaluate(0);
  board[sq("g1")] = EMPTY;
  int b1only = evaluate(0);
  EXPECT_EQ(both - b1only, 400);  // the king on g1 adds its material only
  board[sq("g1")] = WKING;
  board[sq("b1")] = EMPTY;
  EXPECT_NE(both - evaluate(0), 400);
}

TEST_F(EvalTest, ThreeCheckBonusGrowsWithEachCheck) {
  setfen(STARTFEN);
  threecheckmode = 1;
  topc = 1;
  EXPECT_EQ(evaluate(0), 150);
  topc = 2;
  EXPECT_EQ(evaluate(0), 475);
  endgameflag = 1;
  EXPECT_EQ(evaluate(0), 350);
  endgameflag = 0;
  topp = 2;
  EXPECT_EQ(evaluate(0), 0);
  threecheckmode = 0;
  EXPECT_EQ(evaluate(0), 0);
}

TEST_F(EvalTest, CrazyhouseCountsTheHandsAndOpenLinesAroundTheKings) {
  crazymode = 1;
  setfen(STARTFEN);
  EXPECT_EQ(evaluatecrazy(0, wheld, bheld), 0);
  wheld[1] = WKNIGHT;
  wheld[5] = WPAWN;
  EXPECT_EQ(evaluatecrazy(0, wheld, bheld), 305 + 150);
  bheld[2] = BQUEEN;
  EXPECT_EQ(evaluatecrazy(1, wheld, bheld), -(305 + 150 - 930));
  wheld[0] = bheld[0] = NODROPS;  // the drop switch is not a man
  EXPECT_EQ(evaluatecrazy(1, wheld, bheld), -(305 + 150 - 930));
  // White's king on a1 behind a pawn on b2 has no open diagonal and 14 open squares on its file
  // and rank; Black's on c8 has 7 open diagonal squares and 14 on its file and rank.
  setfen("2k5/8/8/8/8/8/1P6/K7 w -");
  int handvalue = 305 + 150 - 930;
  int whiteking = 400 + 0 - 130;
  int pawn = 150 + 9 - 28 + 15;
  int blackking = -(400 - 60 - 130);
  EXPECT_EQ(evaluatecrazy(0, wheld, bheld), handvalue + whiteking + pawn + blackking);
}

TEST_F(EvalTest, CountsEveryEvaluation) {
  setfen(STARTFEN);
  evalcount = 0;
  evaluate(0);
  evaluatecrazy(1, wheld, bheld);
  evaluate(3);
  EXPECT_EQ(evalcount, 3);
}

}  // namespace
