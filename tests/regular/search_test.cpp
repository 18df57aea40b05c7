// The main search: mates at the depths where they must appear, the root rules for stalemate,
// repetition and a lost king, the third check, the null-move and check-extension conditions,
// killers, stops, the empty list, and the table that is never written.
#include "regulartest.h"

namespace {

using SearchTest = RegularTest;

// Index of the move from -> to in the root list of the last search (the list the search built
// and reordered is gone, so the test regenerates it the way the root does: same order without
// reordering when no iteration is stored).
int rootindex(int from, int to) {
  int movefrom[MAXMOVES], moveto[MAXMOVES], count = 0;
  int ep[65] = {};
  int hand[HANDSLOTS] = {};
  genwhite(movefrom, moveto, &count, 1, ep, 0, hand);
  for (int i = 1; i <= count; i++)
    if (movefrom[i] == from && moveto[i] == to) return i;
  return 0;
}

// Records, as game position 1, the board after the man on from moved to to (made by the engine
// when enginemove is 1); the board itself stays as it was.
void recordafter(int from, int to, int enginemove) {
  int saved[65];
  memcpy(saved, board, sizeof saved);
  board[to] = board[from];
  board[from] = EMPTY;
  historycount = 1;
  memcpy(gamehistory[1].squares, board, sizeof saved);
  gamehistory[1].enginemove = enginemove;
  memcpy(board, saved, sizeof saved);
}

TEST_F(SearchTest, MateInOneAppearsAtDepthTwo) {
  setfen("k7/8/1K6/8/8/8/8/3Q4 w -");
  endgameflag = 1;
  EXPECT_LT(rootsearch(1), 14000);
  EXPECT_EQ(rootsearch(2), 15000 - 3);
  EXPECT_EQ(finfrom, sq("d1"));
  EXPECT_EQ(finto, sq("d8"));
}

TEST_F(SearchTest, MateInTwoAppearsAtDepthFour) {
  setfen("4k3/8/8/8/8/8/R7/1R4K1 w -");
  endgameflag = 1;
  EXPECT_LT(deepen(3), 14000);
  EXPECT_EQ(deepen(4), 15000 - 5);
  EXPECT_EQ(board[finfrom], WROOK);  // Ra7 or Rb7, each mates next move
  // The principal variation is the chosen move, a king move and the mate.
  char text[PVTEXTSIZE];
  pvtext(text, 3);
  EXPECT_EQ(pvfrom[1][1], finfrom);
  EXPECT_EQ(pvto[1][1], finto);
  EXPECT_EQ(pvfrom[1][2], sq("e8"));
  EXPECT_EQ(board[pvfrom[1][3]], WROOK) << text;
  EXPECT_EQ(rankof(pvto[1][3]), 8) << text;
}

TEST_F(SearchTest, CrazyhouseRootWithMoreThan250Moves) {
  crazymode = 1;
  setfen("7k/8/8/8/8/8/8/K7 w -");
  const int hand[6] = {0, WQUEEN, WROOK, WBISHOP, WKNIGHT, WPAWN};
  for (int i = 1; i <= 5; i++) wheld[i] = hand[i];
  rootsearch(1);
  EXPECT_EQ(rootmovecount, 3 + 4 * 62 + 48);
  EXPECT_LT(finfrom, 0);  // a drop
}

TEST_F(SearchTest, MateInThreeAppearsAtDepthSixOnTheBoardHeldForBlack) {
  // Black to move: the engine plays Black and holds the board turned.
  setfen("r1b1kb1r/pppp1ppp/5q2/4n3/3KP3/2N3PN/PPP4P/R1BQ1B1R b kq");
  ASSERT_EQ(color, 0);
  EXPECT_LT(deepen(5), 14000);
  EXPECT_EQ(deepen(6), 15000 - 7);
  // f8c5 as the protocol sees it.
  EXPECT_EQ(65 - finfrom, sq("f8"));
  EXPECT_EQ(65 - finto, sq("c5"));
  EXPECT_EQ(pvfrom[1][1], sq("f8"));
  EXPECT_EQ(pvto[1][1], sq("c5"));
}

TEST_F(SearchTest, StalematingTheOpponentScoresZeroAtTheRoot) {
  setfen("k7/3Q4/1K6/8/8/8/8/8 w -");
  endgameflag = 1;
  EXPECT_EQ(rootsearch(2), 15000 - 3);  // Qd8 and Qe8 mate
  int stalemate = rootindex(sq("d7"), sq("c7"));
  ASSERT_GT(stalemate, 0);
  EXPECT_EQ(rootscore[2][stalemate], 0);
}

TEST_F(SearchTest, RepeatingAGamePositionScoresZeroAtTheRoot) {
  setfen("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq");
  recordafter(sq("g1"), sq("f3"), 1);
  rootsearch(2);
  int repeat = rootindex(sq("g1"), sq("f3"));
  ASSERT_GT(repeat, 0);
  EXPECT_EQ(rootscore[2][repeat], 0);
  EXPECT_NE(rootscore[2][rootindex(sq("b1"), sq("c3"))], 0);
}

TEST_F(SearchTest, APositionReachedByTheOpponentIsNoRepetition) {
  // The same men on the same squares, but after an opponent move: the engine was to move there.
  setfen("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq");
  recordafter(sq("g1"), sq("f3"), 0);
  rootsearch(2);
  EXPECT_NE(rootscore[2][rootindex(sq("g1"), sq("f3"))], 0);
}

TEST_F(SearchTest, AMoveThatLosesTheKingIsNeverARepetition) {
  // White's king on e3 is checked by the bishop on f2, which the queen on g2 guards. Taking the
  // bishop reaches the men of a recorded position, but it leaves the king to be taken.
  setfen("6k1/8/8/8/8/4K3/5bq1/8 w - -");
  recordafter(sq("e3"), sq("f2"), 1);
  deepen(3);
  EXPECT_EQ(rootscore[1][rootindex(sq("e3"), sq("f2"))], LOSTROOTSCORE);
  EXPECT_NE(finto, sq("f2"));
}

TEST_F(SearchTest, CrazyhouseRepetitionNeedsTheSameHands) {
  crazymode = 1;
  setfen("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq");
  recordafter(sq("g1"), sq("f3"), 1);
  gamehistory[1].wheld[1] = WPAWN;  // the recorded position had a pawn in hand
  rootsearch(2);
  EXPECT_NE(rootscore[2][rootindex(sq("g1"), sq("f3"))], 0);
  gamehistory[1].wheld[1] = 0;
  rootsearch(2);
  EXPECT_EQ(rootscore[2][rootindex(sq("g1"), sq("f3"))], 0);
}

TEST_F(SearchTest, EveryMoveLosingTheKingReturnsTheLostScoreAtDepthOne) {
  setfen("8/8/8/8/8/5k1b/6q1/7K w -");
  EXPECT_EQ(rootsearch(1), LOSTROOTSCORE);
  for (int i = 1; i <= rootmovecount; i++) EXPECT_EQ(rootscore[1][i], LOSTROOTSCORE);
  // Deepening stops there.
  EXPECT_EQ(deepen(5), LOSTROOTSCORE);
  EXPECT_EQ(iterations, 1);
}

TEST_F(SearchTest, ThirdCheckWinsAtOnceIn3check) {
  setfen("4k3/8/8/8/8/8/8/R3K3 w -");
  threecheckmode = 1;
  topc = 2;
  EXPECT_EQ(rootsearch(1), 15000 - 1);
  EXPECT_EQ(finfrom, sq("a1"));
  EXPECT_EQ(finto, sq("a8"));
  EXPECT_EQ(topc, 2);
  threecheckmode = 0;
  EXPECT_LT(rootsearch(1), 14000);
}

// A king that steps next to the enemy king can be taken, so the check it uncovers is no third
// check: with two checks given White wins by a discovered check that keeps the kings apart.
TEST_F(SearchTest, ThirdCheckByAKingStepIntoContactDoesNotCount) {
  setfen("4k3/8/4K3/8/8/8/8/4R3 w -");
  threecheckmode = 1;
  topc = 2;
  EXPECT_EQ(rootsearch(1), 15000 - 1);
  EXPECT_EQ(finfrom, sq("e6"));
  EXPECT_TRUE(finto == sq("d5") || finto == sq("d6") || finto == sq("f5") || finto == sq("f6")) << finto;
}

// A root move into contact with the enemy king lets the king be taken: it is lost like one that
// leaves the king attacked, not a mate.
TEST_F(SearchTest, ARootMoveIntoContactWithTheEnemyKingIsLost) {
  setfen("4k3/8/4K3/8/8/8/8/8 w -");
  rootsearch(2);
  int contact = 0;
  for (int i = 1; i <= rootmovecount; i++) {
    // Root order keeps the generator's order at the first search: e6 king steps.
    if (rootscore[2][i] == LOSTROOTSCORE) contact++;
  }
  EXPECT_EQ(contact, 3);  // e7, d7 and f7 touch the king on e8
}

TEST_F(SearchTest, NullMoveOnlyFromTheFourthIterationAndNotInTheEndgame) {
  setfen("r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq");
  rootsearch(3);
  EXPECT_EQ(nullcuts + nullfails, 0);
  rootsearch(4);
  EXPECT_GT(nullcuts + nullfails, 0);
  resetsearchcounters();
  endgameflag = 1;
  rootsearch(4);
  EXPECT_EQ(nullcuts + nullfails, 0);
}

TEST_F(SearchTest, ChecksAreExtendedInCrazyhouseAnd3checkFromPlyTwoOnly) {
  // Black's bishop can give check on b4 at ply 2.
  setfen("rnbqkbnr/pppp1ppp/8/4p3/4P3/3P4/PPP2PPP/RNBQKBNR w KQkq");
  rootsearch(2);
  EXPECT_EQ(maxsearchside, 2);
  crazymode = 1;
  resetmovecounters();
  rootsearch(2);
  EXPECT_EQ(maxsearchside, 3);
  crazycheckply = 3;
  resetmovecounters();
  rootsearch(2);
  EXPECT_EQ(maxsearchside, 2);
  crazymode = 0;
  threecheckmode = 1;
  resetmovecounters();
  rootsearch(2);
  EXPECT_EQ(maxsearchside, 3);
}

TEST_F(SearchTest, KillersAreKeptButNotInCrazyhouse) {
  setfen("r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq");
  rootsearch(3);
  int any = 0;
  for (int p = 0; p < MAXPLY; p++) any |= killer1from[p];
  EXPECT_NE(any, 0);
  resetmovecounters();
  crazymode = 1;
  rootsearch(3);
  any = 0;
  for (int p = 0; p < MAXPLY; p++) any |= killer1from[p] | killer2from[p];
  EXPECT_EQ(any, 0);
}

TEST_F(SearchTest, AStopDuringTheFirstRootMoveKeepsThePreviousIteration) {
  setfen("r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq");
  deepen(2);
  int from = finfrom, to = finto, score = lastrootscore;
  thinkstart = gettickcount() + 100000;  // no time elapsed to speak of: nps prints as 0
  stopsearch = 1;
  resetmovecounters();
  testing::internal::CaptureStdout();
  EXPECT_EQ(rootsearch(3), score);
  std::string text = testing::internal::GetCapturedStdout();
  EXPECT_EQ(finfrom, from);
  EXPECT_EQ(finto, to);
  // Below the root every node returned at once.
  EXPECT_EQ(searchcalls, 1);
  char expect[200];
  snprintf(expect, sizeof expect, "\ntellics whisper depth: 2 evaluate: %d nps: 0, maxsearchside is %d topc=0, topp=0\n",
           score, maxsearchside);
  EXPECT_EQ(text, expect);
}

TEST_F(SearchTest, AStoppedSearchBelowTheRootReturnsZero) {
  setfen("r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq");
  stopsearch = 1;
  searchdepth = 2;
  int hand[HANDSLOTS] = {};
  EXPECT_EQ(search(-100, 100, 3, 2, epsquares, 1, 0, 0, 0, 0, hand, hand, wpieces, bpieces), 0);
  EXPECT_EQ(qsearch(-100, 100, 0, 3, epsquares, 0, 0, hand, hand), 0);
  // The first iteration unwinds as well, so that a position it cannot finish still moves in time.
  searchdepth = 1;
  uint64_t key = rootkey(0) ^ zmove;  // a ply-2 node: one move was made since the root
  EXPECT_EQ(search(-30000, 30000, 1, 2, epsquares, 1, key, 0, 0, 0, hand, hand, wpieces, bpieces), 0);
}

TEST_F(SearchTest, AnEmptyListPlaysTheDummyMove) {
  clearboard();
  board[sq("h8")] = BKING;
  rootsearch(1);
  EXPECT_EQ(finfrom, 2);
  EXPECT_EQ(finto, 2);
  EXPECT_EQ(rootmovecount, 0);
}

TEST_F(SearchTest, TheTableNeverChangesTheSearch) {
  setfen("r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq");
  int score = deepen(4);
  int from = finfrom, to = finto;
  long long n = nodes;
  ASSERT_EQ(allocatetable(1), 1);
  resetmovecounters();
  EXPECT_EQ(deepen(4), score);
  EXPECT_EQ(finfrom, from);
  EXPECT_EQ(finto, to);
  EXPECT_EQ(nodes, n);
  EXPECT_EQ(tablestate, TABLECLEAR);
  for (long long i = 0; i < hashentries; i += 4099) EXPECT_EQ(transtable[i].keyhi, 0u);
  freetable();
}

TEST_F(SearchTest, SearchRestoresTheBoardAndTheCounters) {
  setfen("r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq");
  crazymode = 1;
  wheld[1] = WKNIGHT;
  bheld[1] = BPAWN;
  int saved[65];
  memcpy(saved, board, sizeof saved);
  int castle[6] = {wcastleking, wcastlea, wcastleh, bcastleking, bcastlea, bcastleh};
  int kings[2] = {ownkingsq, oppkingsq};
  int savedwheld[HANDSLOTS];
  memcpy(savedwheld, wheld, sizeof savedwheld);
  deepen(3);
  EXPECT_EQ(memcmp(saved, board, sizeof saved), 0);
  int after[6] = {wcastleking, wcastlea, wcastleh, bcastleking, bcastlea, bcastleh};
  EXPECT_EQ(memcmp(castle, after, sizeof castle), 0);
  EXPECT_EQ(ownkingsq, kings[0]);
  EXPECT_EQ(oppkingsq, kings[1]);
  EXPECT_EQ(memcmp(savedwheld, wheld, sizeof savedwheld), 0);
  EXPECT_EQ(wcastled + bcastled + topc + topp, 0);
}

TEST_F(SearchTest, SameSearchTwiceGivesTheSameNodes) {
  setfen("r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq");
  deepen(4);
  long long first = nodes;
  int from = finfrom;
  resetmovecounters();
  deepen(4);
  EXPECT_EQ(nodes, first);
  EXPECT_EQ(finfrom, from);
}

}  // namespace
