// Move generation order and the pickers.
#include <gtest/gtest.h>

#include <algorithm>

#include "frontend/frontend.h"
#include "perft.h"
#include "regular/regular.h"

namespace {

struct MoveGenTest : ::testing::Test {
  int movefrom[MAXMOVES], moveto[MAXMOVES], movescore[MAXMOVES], count = 0;
  int reffrom[MAXMOVES], refto[MAXMOVES];  // the same list ordered by a reference picker
  int ep[65] = {0};
  int hand[HANDSLOTS] = {0};
  // Copies the generated list for the reference picker.
  void copyreference() {
    std::copy(movefrom, movefrom + count + 1, reffrom);
    std::copy(moveto, moveto + count + 1, refto);
  }
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
  scoremoves(movefrom, moveto, 1, count, 2, movescore);
  EXPECT_EQ(pickmove(movefrom, moveto, movescore, count, 1), 0);
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
  scoremoves(movefrom, moveto, 1, count, 2, movescore);
  EXPECT_EQ(pickmove(movefrom, moveto, movescore, count, 1), 1);
  EXPECT_EQ(movefrom[1], 20);
  EXPECT_EQ(moveto[1], 37);
}

// The picker as it reads the board and the killers at every call: the reference for the picker
// that reads the scores given once per node.
int referencepick(int *movefrom, int *moveto, int ply, int last, int first) {
  int best = -100, bestindex = 0;
  for (int i = first; i <= last; i++) {
    int from = movefrom[i], to = moveto[i];
    int base = board[to] * 100 - (from > 0 ? board[from] : -from);
    if (board[to] != 0 && base + 15 > best) best = base + 15, bestindex = i;
    if (from == killer1from[ply] && to == killer1to[ply] && base + 35 > best) best = base + 35, bestindex = i;
    if (from == killer2from[ply] && to == killer2to[ply] && base + 15 > best) best = base + 15, bestindex = i;
  }
  if (best > -100 && bestindex != first) {
    std::swap(movefrom[first], movefrom[bestindex]);
    std::swap(moveto[first], moveto[bestindex]);
  }
  return best != -100;
}

TEST_F(MoveGenTest, PickerOnGivenScoresOrdersAsThePickerThatReadsTheBoard) {
  const char *fens[] = {
      "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -",
      "r1bq1rk1/pppp1ppp/2n2n2/4p3/1bB1P3/2N2N2/PPPP1PPP/R1BQ1RK1 w - -",
      "4k3/8/8/3q4/4p3/2NP4/8/4K3 w - -",
  };
  for (const char *fen : fens) {
    ASSERT_TRUE(perftsetup("normal", fen)) << fen;
    genwhite(movefrom, moveto, &count, 2, ep, 0, hand);
    // Killers on a quiet move, on a capture and on a move not in the list.
    for (int k = 0; k <= 3; k++) {
      killer1from[2] = k >= 1 ? movefrom[count] : 0;
      killer1to[2] = k >= 1 ? moveto[count] : 0;
      killer2from[2] = k >= 2 ? movefrom[1] : 0;
      killer2to[2] = k >= 2 ? moveto[1] : 0;
      if (k == 3) killer2to[2] = 0;
      copyreference();
      // As the searches do: the scoring finds the first pick, the picker the rest.
      int picking = pickentry(movefrom, moveto, movescore, 1, scoremoves(movefrom, moveto, 1, count, 2, movescore));
      int refpicking = 1;
      for (int i = 1; i <= count; i++) {
        if (i == 3) {  // the search may find a new killer between two picks, and scores the rest anew
          killer1from[2] = movefrom[count - 1];
          killer1to[2] = moveto[count - 1];
          scoremoves(movefrom, moveto, i, count, 2, movescore);
        }
        if (refpicking) refpicking = referencepick(reffrom, refto, 2, count, i);
        if (picking && i > 1) picking = pickmove(movefrom, moveto, movescore, count, i);
        ASSERT_EQ(picking, refpicking) << fen << " entry " << i;
        ASSERT_EQ(movefrom[i], reffrom[i]) << fen << " entry " << i;
        ASSERT_EQ(moveto[i], refto[i]) << fen << " entry " << i;
      }
    }
  }
}

// The crazyhouse picker as the rules state it, answering 1 for every call: the reference for the
// picker that answers 0 once no entry can score any more.
int referencepickcrazy(int *movefrom, int *moveto, int ply, int last, int first) {
  int best = -100, bestindex = 0;
  for (int i = first; i <= last; i++) {
    int from = movefrom[i], to = moveto[i], victim = board[to];
    if (from > 0 && (victim == WKING || victim == BKING)) {
      best = 7500;
      bestindex = i;
      break;
    }
    bool scored = false;
    int score = -100;
    if (from > 0 && to == lastto[ply - 1]) {
      score = 7000 - orderrank[victim];
      if (score > best) best = score, bestindex = i;
      scored = true;
    }
    if (from > 0 && victim != EMPTY) {
      int v = orderrank[victim], a = orderrank[board[from]];
      score = v > a ? v * 1000 - a : v == a ? a * 100 : v * 10 - a;
      if (score > best) best = score, bestindex = i;
      scored = true;
    }
    if (i == first && !scored) best = from > 0 ? -150 : -from - 50, bestindex = i;
  }
  if (best > -100 && bestindex != first) {
    std::swap(movefrom[first], movefrom[bestindex]);
    std::swap(moveto[first], moveto[bestindex]);
  }
  return first <= last;
}

TEST_F(MoveGenTest, CrazyhousePickerOrdersAsTheRulesSayAndStopsWhenNothingScores) {
  const char *fens[] = {
      "r1b1k2r/ppp2ppp/2n5/3qp3/1b6/2N2N2/PPPP1PPP/R1BQKB1R[PPNBRQppnbrq] w KQkq",
      "r2qk2r/ppp2ppp/2n1bn2/2bpp3/4P3/2PP1N2/PP1NBPPP/R1BQK2R[QNPPrbp] w KQkq",
      "r1bq1rk1/pppp1ppp/2n2n2/4p3/1bB1P3/2N2N2/PPPP1PPP/R1BQ1RK1[PNBRQpnbrq] w -",
      "4k3/8/8/3q4/8/8/8/4K3[Nn] w -",  // a recapture square with nothing on it to take
  };
  for (const char *fen : fens) {
    ASSERT_TRUE(perftsetup("crazyhouse", fen)) << fen;
    for (int recapture : {0, 36, 28}) {
      lastto[1] = recapture;
      genwhite(movefrom, moveto, &count, 2, ep, 0, gamewheld);
      copyreference();
      // As the search does: the scoring finds the first pick, the picker the rest.
      int picking = pickentry(movefrom, moveto, movescore, 1, scoremovescrazy(movefrom, moveto, 1, count, 2, movescore));
      int calls = 1;
      for (int i = 1; i <= count; i++) {
        referencepickcrazy(reffrom, refto, 2, count, i);
        if (picking && i > 1) picking = pickmove(movefrom, moveto, movescore, count, i), calls++;
        ASSERT_EQ(movefrom[i], reffrom[i]) << fen << " entry " << i;
        ASSERT_EQ(moveto[i], refto[i]) << fen << " entry " << i;
      }
      EXPECT_LT(calls, count / 2) << fen;  // the drops and quiet moves are taken in list order
    }
  }
  // A recapture on the square just moved to beats any other capture, the earlier of two equal first.
  ASSERT_TRUE(perftsetup("crazyhouse", "4k3/8/8/3q4/4p3/2NP4/8/4K3[] w -"));
  genwhite(movefrom, moveto, &count, 2, ep, 0, gamewheld);
  lastto[1] = 29;  // e4
  const int expectfrom[4] = {0, 19, 20, 19}, expectto[4] = {0, 29, 29, 36};  // Nxe4, dxe4, Nxd5
  EXPECT_EQ(pickentry(movefrom, moveto, movescore, 1, scoremovescrazy(movefrom, moveto, 1, count, 2, movescore)), 1);
  for (int i = 1; i <= 3; i++) {
    if (i > 1) {
      EXPECT_EQ(pickmove(movefrom, moveto, movescore, count, i), 1);
    }
    EXPECT_EQ(movefrom[i], expectfrom[i]) << i;
    EXPECT_EQ(moveto[i], expectto[i]) << i;
  }
  EXPECT_EQ(pickmove(movefrom, moveto, movescore, count, 4), 0);
}

}  // namespace
