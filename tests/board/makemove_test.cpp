// Make and unmake as the searches do them (lists, side effects, board): every move type gives back
// the board, the castling values, the king squares, the castled flags, the hands and the pawn-born
// lists exactly, over all moves of random games and in hand-picked positions.
#include <gtest/gtest.h>

#include "boardcheck.h"

namespace {

struct MakeMoveTest : ::testing::Test {
  int childep[65] = {};
  void SetUp() override {
    initrays();
    initkeys(12345);
    resetboard();
  }
  void setup(const char *variant, const char *fen) { ASSERT_TRUE(perftsetup(variant, fen)) << fen << ": " << perfterror; }
  // Held square of a real square given as text, e.g. "e1".
  int sq(const char *text) {
    int real = (text[0] - 'a' + 1) + 8 * (text[1] - '1');
    return perftblack ? 65 - real : real;
  }
  // Makes the move and checks that it is legal; the caller unmakes it.
  void make(int from, int to, perftundo *undo) {
    ASSERT_TRUE(perftmake(1, from, to, childep, undo)) << from << "-" << to;
  }
};

// Tally of the move types the random games went through, so the test cannot pass vacuously.
struct movetally {
  int quiet, capture, promotion, castling, enpassant, drop, promotedcaptured, rookright;
};

// Plays random games from fen: at every position makes and unmakes every pseudo-legal move and
// compares everything afterwards; then plays a random legal move.
void playrandomgames(const char *variant, const char *fen, int games, int plies, unsigned long long seed, movetally *tally) {
  testrandom random = {seed};
  for (int game = 0; game < games; game++) {
    ASSERT_TRUE(perftsetup(variant, fen)) << perfterror;
    int ep[2][65] = {};
    memcpy(ep[0], gameepsquares, sizeof gameepsquares);
    for (int ply = 1; ply <= plies; ply++) {
      int *cur = ep[(ply + 1) % 2];
      int *next = ep[ply % 2];
      memset(next, 0, sizeof ep[0]);
      int movefrom[MAXMOVES], moveto[MAXMOVES], count = 0;
      perftgenerate(movefrom, moveto, &count, ply, cur);
      boardsnapshot before = takesnapshot();
      int legalcount = 0;
      int legal[MAXMOVES];
      for (int i = 1; i <= count; i++) {
        perftundo undo;
        int from = movefrom[i], to = moveto[i];
        int promotedvictim = 0;
        if (crazymode && from > 0 && board[to] != EMPTY) {
          const int *victimlist = ply % 2 == 1 ? gamebpieces : gamewpieces;
          for (int k = 1; k < PAWNBORNSLOTS; k++)
            if (victimlist[k] == to && board[to] != WPAWN && board[to] != BPAWN) promotedvictim = 1;
        }
        int ok = perftmake(ply, from, to, next, &undo);
        if (ok) {
          legal[++legalcount] = i;
          std::string problem = consistencyproblem();
          ASSERT_EQ(problem, "") << "after " << from << "-" << to << " at ply " << ply;
          if (from < 0) tally->drop++;
          else if (undo.trial.move.promoted) tally->promotion++;
          else if (undo.trial.move.epcapture) tally->enpassant++;
          else if ((board[to] == WKING || board[to] == BKING) && (to == from + 2 || to == from - 2)) tally->castling++;
          else if (undo.trial.move.captured) tally->capture++;
          else tally->quiet++;
          tally->promotedcaptured += promotedvictim;
          tally->rookright += undo.rightcaptured != 0;
        }
        perftunmake(ply, next, &undo);
        boardsnapshot after = takesnapshot();
        ASSERT_EQ(snapshotdifference(before, after), "") << "move " << from << "-" << to << " at ply " << ply;
        for (int s = 0; s <= 64; s++) ASSERT_EQ(next[s], 0) << "child en-passant marker left on " << s;
      }
      if (legalcount == 0) break;
      int pick = legal[1 + randombelow(&random, legalcount)];
      perftundo undo;
      perftmake(ply, movefrom[pick], moveto[pick], next, &undo);
      if (perftcountcheck(ply, &undo)) break;
    }
  }
}

TEST_F(MakeMoveTest, RandomGamesGiveEverythingBackInEveryVariant) {
  movetally tally = {};
  playrandomgames("normal", nullptr, 3, 80, 1, &tally);
  playrandomgames("normal", "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1", 3, 60, 2, &tally);
  playrandomgames("normal", "r2q1rk1/pP1p2pp/Q4n2/bbp1p3/Np6/1B3NBn/pPPP1PPP/R3K2R b KQ - 0 1", 3, 40, 3, &tally);
  playrandomgames("3check", "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1", 3, 60, 4,
                  &tally);
  playrandomgames("crazyhouse", nullptr, 3, 80, 5, &tally);
  playrandomgames("crazyhouse", "2r1k3/2Q~5/8/8/8/8/5q~2/2R1K3[Pp] w - - 0 1", 4, 40, 6, &tally);
  playrandomgames("crazyhouse", "r3k2r/1P6/8/8/8/8/6p1/R3K2R[NNbb] b KQkq - 0 1", 4, 40, 7, &tally);
  EXPECT_GT(tally.quiet, 0);
  EXPECT_GT(tally.capture, 0);
  EXPECT_GT(tally.promotion, 0);
  EXPECT_GT(tally.castling, 0);
  EXPECT_GT(tally.enpassant, 0);
  EXPECT_GT(tally.drop, 0);
  EXPECT_GT(tally.promotedcaptured, 0);
  EXPECT_GT(tally.rookright, 0);
}

TEST_F(MakeMoveTest, DoubleStepLeavesMarkerForChildEvenWithoutEnemyPawnBeside) {
  setup("normal", nullptr);
  perftundo undo;
  make(sq("e2"), sq("e4"), &undo);
  EXPECT_EQ(childep[sq("e3")], WPAWN);
  perftunmake(1, childep, &undo);
  EXPECT_EQ(childep[sq("e3")], 0);

  setup("normal", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR b KQkq - 0 1");
  boardsnapshot before = takesnapshot();
  make(sq("d7"), sq("d5"), &undo);
  // Held turned, Black's pawn carries the white code and its marker is a white pawn's.
  EXPECT_EQ(childep[sq("d6")], WPAWN);
  perftunmake(1, childep, &undo);
  EXPECT_EQ(snapshotdifference(before, takesnapshot()), "");
}

TEST_F(MakeMoveTest, PromotionMakesQueenAndUnmakeGivesPawnBack) {
  setup("normal", "8/P6k/8/8/8/8/6p1/K7 w - - 0 1");
  boardsnapshot before = takesnapshot();
  perftundo undo;
  make(sq("a7"), sq("a8"), &undo);
  EXPECT_EQ(undo.trial.move.promoted, 1);
  EXPECT_EQ(board[sq("a8")], WQUEEN);
  EXPECT_EQ(board[sq("a7")], EMPTY);
  perftunmake(1, childep, &undo);
  EXPECT_EQ(snapshotdifference(before, takesnapshot()), "");

  // The black pawn promotes at ply 2 towards square 1..8.
  perftundo blackundo;
  ASSERT_TRUE(perftmake(2, sq("g2"), sq("g1"), childep, &blackundo));
  EXPECT_EQ(board[sq("g1")], BQUEEN);
  perftunmake(2, childep, &blackundo);
  EXPECT_EQ(snapshotdifference(before, takesnapshot()), "");
}

TEST_F(MakeMoveTest, CastlingBothWaysBothColoursAndFromD1WhenTurned) {
  setup("normal", "r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1");
  boardsnapshot before = takesnapshot();
  perftundo undo;
  make(SQE1, SQE1 + 2, &undo);
  EXPECT_EQ(board[SQH1 - 2], WROOK);
  EXPECT_EQ(board[SQH1], EMPTY);
  EXPECT_EQ(wcastled, 1);
  EXPECT_EQ(ownkingsq, SQE1 + 2);
  EXPECT_EQ(wcastleking, 0);
  EXPECT_EQ(wcastlea, 0);
  EXPECT_EQ(wcastleh, 0);
  perftunmake(1, childep, &undo);
  EXPECT_EQ(snapshotdifference(before, takesnapshot()), "");
  make(SQE1, SQE1 - 2, &undo);
  EXPECT_EQ(board[SQD1], WROOK);
  EXPECT_EQ(board[SQA1], EMPTY);
  perftunmake(1, childep, &undo);
  EXPECT_EQ(snapshotdifference(before, takesnapshot()), "");
  for (int to : {SQE8 + 2, SQE8 - 2}) {
    perftundo blackundo;
    ASSERT_TRUE(perftmake(2, SQE8, to, childep, &blackundo));
    EXPECT_EQ(board[to == SQE8 + 2 ? SQH8 - 2 : SQD8], BROOK);
    EXPECT_EQ(bcastled, 1);
    EXPECT_EQ(oppkingsq, to);
    perftunmake(2, childep, &blackundo);
    EXPECT_EQ(snapshotdifference(before, takesnapshot()), "");
  }

  // Black to move: the board is turned and Black's king castles from d1 (4).
  setup("normal", "r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 0 1");
  ASSERT_EQ(board[SQD1], WKING);
  ASSERT_EQ(wcastleking, SQD1);
  before = takesnapshot();
  make(SQD1, SQD1 - 2, &undo);  // e8g8 really: the rook from square 1 goes to 3
  EXPECT_EQ(board[3], WROOK);
  EXPECT_EQ(board[SQA1], EMPTY);
  char text[MOVETEXTSIZE];
  perftmovetext(SQD1, SQD1 - 2, 0, text);
  EXPECT_STREQ(text, "e8g8");
  perftunmake(1, childep, &undo);
  EXPECT_EQ(snapshotdifference(before, takesnapshot()), "");
  make(SQD1, SQD1 + 2, &undo);  // e8c8 really: the rook from square 8 goes to 5
  EXPECT_EQ(board[5], WROOK);
  EXPECT_EQ(board[SQH1], EMPTY);
  perftunmake(1, childep, &undo);
  EXPECT_EQ(snapshotdifference(before, takesnapshot()), "");
}

TEST_F(MakeMoveTest, EnPassantRemovesThePawnBesideAndUnmakePutsItBack) {
  setup("crazyhouse", "rnbqkbnr/ppp1p1pp/8/3pPp2/8/8/PPPP1PPP/RNBQKBNR[] w KQkq f6 0 3");
  boardsnapshot before = takesnapshot();
  perftundo undo;
  make(sq("e5"), sq("f6"), &undo);
  EXPECT_EQ(undo.trial.move.epcapture, 1);
  EXPECT_EQ(board[sq("f5")], EMPTY);
  EXPECT_EQ(gamewheld[1], WPAWN);
  EXPECT_EQ(consistencyproblem(), "");
  perftunmake(1, childep, &undo);
  EXPECT_EQ(snapshotdifference(before, takesnapshot()), "");
}

TEST_F(MakeMoveTest, DropsTakeFromHandAndPawnDropsBecomePawnBorn) {
  setup("crazyhouse", "r1bqkb1r/pppp1ppp/2n2n2/4p3/2B1P3/5N2/PPPP1PPP/RNBQK2R[Np] w KQkq - 0 1");
  boardsnapshot before = takesnapshot();
  perftundo undo;
  make(-WKNIGHT, sq("d5"), &undo);
  EXPECT_EQ(board[sq("d5")], WKNIGHT);
  EXPECT_EQ(undo.trial.move.slot, 1);
  EXPECT_EQ(gamewheld[1], 0);
  perftunmake(1, childep, &undo);
  EXPECT_EQ(snapshotdifference(before, takesnapshot()), "");
  ASSERT_TRUE(perftmake(2, -BPAWN, sq("d3"), childep, &undo));
  std::vector<int> blackborn = takesnapshot().bpieces;
  EXPECT_TRUE(std::binary_search(blackborn.begin(), blackborn.end(), sq("d3")));
  perftunmake(2, childep, &undo);
  EXPECT_EQ(snapshotdifference(before, takesnapshot()), "");
}

TEST_F(MakeMoveTest, CapturedPromotedQueenGoesIntoHandAsPawn) {
  setup("crazyhouse", "2r1k3/2Q~5/8/8/8/8/5q~2/2R1K3[] w - - 0 1");
  boardsnapshot before = takesnapshot();
  perftundo undo;
  make(sq("e1"), sq("f2"), &undo);
  EXPECT_EQ(gamewheld[1], WPAWN);
  EXPECT_EQ(undo.trial.move.pawnbornsquare, sq("f2"));
  EXPECT_TRUE(takesnapshot().bpieces.empty());
  perftunmake(1, childep, &undo);
  EXPECT_EQ(snapshotdifference(before, takesnapshot()), "");
  // Black takes White's promoted queen: a pawn for Black's hand.
  ASSERT_TRUE(perftmake(2, sq("c8"), sq("c7"), childep, &undo));
  EXPECT_EQ(gamebheld[1], BPAWN);
  perftunmake(2, childep, &undo);
  EXPECT_EQ(snapshotdifference(before, takesnapshot()), "");
}

// The searches keep a right whose rook was captured on its corner; perft takes it away.
TEST_F(MakeMoveTest, RookCapturedOnCornerKeepsRightInSearchButNotInPerft) {
  setup("normal", "r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1");
  int promoted = 0, ba = 0, bh = 0, bk = 0, wa = 0, wh = 0, wk = 0, epcapture = 0;
  makeeffects(1, &promoted, SQA1, SQA8, &ba, &bh, &bk, &wa, &wh, &wk, childep, &epcapture);
  EXPECT_EQ(wcastlea, 0);
  EXPECT_EQ(wa, 1);
  EXPECT_EQ(bcastlea, SQA8);
  unmakeeffects(1, &promoted, SQA1, SQA8, &ba, &bh, &bk, &wa, &wh, &wk, childep, &epcapture);
  EXPECT_EQ(wcastlea, SQA1);
  EXPECT_EQ(wa, 0);

  boardsnapshot before = takesnapshot();
  perftundo undo;
  make(SQA1, SQA8, &undo);
  EXPECT_EQ(undo.rightcaptured, 3);
  EXPECT_EQ(bcastlea, 0);
  EXPECT_EQ(bcastleh, SQH8);
  perftunmake(1, childep, &undo);
  EXPECT_EQ(snapshotdifference(before, takesnapshot()), "");
}

TEST_F(MakeMoveTest, KingMoveClearsAllItsRightsRookMoveOnlyItsOwn) {
  setup("normal", "r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1");
  perftundo undo;
  make(SQE1, SQE1 + 8, &undo);
  EXPECT_EQ(wcastleking + wcastlea + wcastleh, 0);
  EXPECT_EQ(undo.trial.move.wkingright + undo.trial.move.wrightlost_a + undo.trial.move.wrightlost_h, 3);
  EXPECT_EQ(bcastleking, SQE8);
  perftunmake(1, childep, &undo);
  make(SQH1, SQH1 + 8, &undo);
  EXPECT_EQ(wcastleh, 0);
  EXPECT_EQ(wcastlea, SQA1);
  EXPECT_EQ(wcastleking, SQE1);
  perftunmake(1, childep, &undo);
  EXPECT_EQ(wcastleh, SQH1);
}

}  // namespace
