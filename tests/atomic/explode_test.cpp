// The explosion and its exact undoing, the precedence of its flags, and the atomic keys: the key
// kept move by move through make, explosion and unmake equals the key computed from scratch.
#include <random>

#include "atomictest.h"

namespace {

using ExplodeTest = AtomicTest;

// The board with a White knight arrived on e5 capturing, the Black pawn on d6, the Black rook on
// f6 and the White bishop on e4 around it.
void knightcapturesone5() {
  board[ExplodeTest::sq("e5")] = WKNIGHT;
  board[ExplodeTest::sq("d6")] = BPAWN;
  board[ExplodeTest::sq("f6")] = BROOK;
  board[ExplodeTest::sq("e4")] = WBISHOP;
  board[ExplodeTest::sq("a1")] = WKING;
  board[ExplodeTest::sq("h8")] = BKING;
}

TEST_F(ExplodeTest, CaptureEmptiesNeighboursButPawnsAndUndoesExactly) {
  clearboard();
  knightcapturesone5();
  int before[65];
  memcpy(before, board, sizeof before);
  int win = 0, illegal = 0, save[65];
  uint64_t key = atomicrootkey(0);
  uint64_t after = explode(sq("e5"), 1, &win, &illegal, save, key);
  EXPECT_EQ(board[sq("e5")], EMPTY);
  EXPECT_EQ(board[sq("f6")], EMPTY);
  EXPECT_EQ(board[sq("e4")], EMPTY);
  EXPECT_EQ(board[sq("d6")], BPAWN);
  EXPECT_EQ(win, 0);
  EXPECT_EQ(illegal, 0);
  EXPECT_EQ(after, atomicrootkey(0));  // the removed men's keys are gone
  unexplode(sq("e5"), save);
  EXPECT_EQ(memcmp(before, board, sizeof before), 0);
}

TEST_F(ExplodeTest, FlagsBothKingsOwnKingAndKingCapture) {
  int save[65];
  // Next to both kings: illegal, never a win.
  clearboard();
  board[sq("d4")] = WQUEEN;
  board[sq("c4")] = WKING;
  board[sq("e5")] = BKING;
  int win = 0, illegal = 0;
  explode(sq("d4"), 1, &win, &illegal, save, 0);
  EXPECT_EQ(illegal, BLASTOWNKING);
  EXPECT_EQ(win, 0);
  unexplode(sq("d4"), save);
  // Only the enemy king: a win; on an even ply the colours swap.
  board[sq("c4")] = EMPTY;
  win = illegal = 0;
  explode(sq("d4"), 1, &win, &illegal, save, 0);
  EXPECT_EQ(win, 1);
  EXPECT_EQ(illegal, 0);
  unexplode(sq("d4"), save);
  win = illegal = 0;
  explode(sq("d4"), 2, &win, &illegal, save, 0);
  EXPECT_EQ(win, 0);
  EXPECT_EQ(illegal, BLASTOWNKING);
  unexplode(sq("d4"), save);
  // A White king that captures: 2 even when the Black king is blown up too, and the win stays set.
  clearboard();
  board[sq("d4")] = WKING;
  board[sq("e5")] = BKING;
  win = illegal = 0;
  explode(sq("d4"), 1, &win, &illegal, save, 0);
  EXPECT_EQ(illegal, BLASTKINGCAPTURE);
  EXPECT_EQ(win, 1);
  unexplode(sq("d4"), save);
  EXPECT_EQ(board[sq("d4")], WKING);
  EXPECT_EQ(board[sq("e5")], BKING);
}

TEST_F(ExplodeTest, CornersTouchOnlyTheirThreeNeighbours) {
  for (int s = 1; s <= 64; s++) board[s] = WKNIGHT;
  int win = 0, illegal = 0, save[65];
  explode(SQA1, 1, &win, &illegal, save, 0);
  int emptied = 0;
  for (int s = 1; s <= 64; s++) emptied += board[s] == EMPTY;
  EXPECT_EQ(emptied, 4);
  EXPECT_EQ(board[sq("a2")] + board[sq("b1")] + board[sq("b2")], EMPTY);
  unexplode(SQA1, save);
  explode(SQH8, 1, &win, &illegal, save, 0);
  EXPECT_EQ(board[sq("h7")] + board[sq("g8")] + board[sq("g7")], EMPTY);
  EXPECT_EQ(board[sq("f8")], WKNIGHT);
  EXPECT_EQ(board[sq("a2")], WKNIGHT);  // nothing wraps round the board
  unexplode(SQH8, save);
  for (int s = 1; s <= 64; s++) EXPECT_EQ(board[s], WKNIGHT);
}

// En passant explodes on the capturing pawn's arrival square; the pawns around it survive.
TEST_F(ExplodeTest, EnPassantInTheGameExplodesOnTheArrivalSquare) {
  setfen("rnbqkbnr/ppp1p1pp/8/3pPp2/8/8/PPPP1PPP/RNBQKBNR w KQkq f6 0 3");
  setvariantflags(VFATOMIC, VFALL);
  playgamemove(sq("e5"), sq("f6"), 0);
  EXPECT_EQ(board[sq("f6")], EMPTY);
  EXPECT_EQ(board[sq("f5")], EMPTY);   // the pawn taken en passant
  EXPECT_EQ(board[sq("e5")], EMPTY);
  EXPECT_EQ(board[sq("e7")], BPAWN);   // pawns next to f6 stay
  EXPECT_EQ(board[sq("g7")], BPAWN);
  EXPECT_EQ(board[sq("d5")], BPAWN);   // not next to f6
  EXPECT_EQ(board[sq("g8")], BKNIGHT);
}

// A capture in the game blows up the men around it, and the castling rights of a blown-up rook go.
TEST_F(ExplodeTest, GameCaptureExplodesAndTakesTheRightsOfBlownUpRooks) {
  setfen("r3k2r/8/8/8/8/8/8/RB2K2R w KQkq - 0 1");
  setvariantflags(VFATOMIC, VFALL);
  playgamemove(sq("b1"), sq("h7"), 0);  // quiet
  playgamemove(sq("h8"), sq("h7"), 0);  // Rxh7 explodes the rook itself
  EXPECT_EQ(board[sq("h7")], EMPTY);
  EXPECT_EQ(bcastleh, 0);
  EXPECT_NE(bcastlea, 0);
  playgamemove(sq("a1"), sq("a8"), 0);  // Rxa8 explodes next to nothing else but takes the right
  EXPECT_EQ(board[sq("a8")], EMPTY);
  EXPECT_EQ(bcastleking, 0);
}

// Plays random games with the search's make, explosion and unmake: the kept key equals the key from
// scratch after every move, and every unmake restores the board and castling values exactly.
TEST_F(ExplodeTest, KeptKeyEqualsRootKeyThroughRandomGames) {
  std::mt19937 random(5);
  const char *fens[] = {"r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
                        "rnbqkbnr/ppp1p1pp/8/3pPp2/8/8/PPPP1PPP/RNBQKBNR w KQkq f6 0 3",
                        "1r2k3/2P5/8/8/8/8/6p1/4K2R b K - 0 1", nullptr};
  for (const char *fen : fens) {
    for (int game = 0; game < 20; game++) {
      setfen(fen);
      int ep[65];
      memcpy(ep, gameepsquares, sizeof ep);
      int epflag = rootepflag;
      uint64_t key = atomicrootkey(epflag);
      for (int ply = 1; ply <= 40; ply++) {
        int movefrom[MAXMOVES], moveto[MAXMOVES], count = 0;
        atomicgenerate(movefrom, moveto, &count, ply, ep);
        if (count == 0) break;
        int pick = 1 + (int)(random() % count);
        int from = movefrom[pick], to = moveto[pick];
        int before[65];
        memcpy(before, board, sizeof before);
        int castles[6] = {wcastleking, wcastlea, wcastleh, bcastleking, bcastlea, bcastleh};
        int childep[65] = {};
        uint64_t kept = (board[from] == WROOK || board[from] == BROOK || board[from] == WKING || board[from] == BKING)
                            ? castlerightskey(key, from)
                            : key;
        moveundo undo;
        makemove(ply, from, to, 0, childep, &undo, nullptr, nullptr, nullptr, nullptr);
        int newep = doublestepbeside(from, to);
        kept = movekey(kept, from, to, undo.captured, 0, undo.promoted, epflag, newep);
        if (undo.epcapture) kept ^= zpiece[13 * (ply % 2 ? to - 8 : to + 8) + (ply % 2 ? BPAWN : WPAWN)];
        int win = 0, illegal = 0, save[65];
        int exploded = undo.captured != EMPTY || undo.epcapture;
        if (exploded) kept = explode(to, ply, &win, &illegal, save, kept);
        uint64_t scratch = atomicrootkey(newep) ^ (ply % 2 ? zmove : 0);
        ASSERT_EQ(kept, scratch) << "game " << game << " ply " << ply;
        int over = win || illegal || !atomiclegal(ply);
        if (over) {
          if (exploded) unexplode(to, save);
          unmakemove(ply, childep, &undo, nullptr, nullptr, nullptr, nullptr);
          ASSERT_EQ(memcmp(before, board, sizeof before), 0);
          int now[6] = {wcastleking, wcastlea, wcastleh, bcastleking, bcastlea, bcastleh};
          ASSERT_EQ(memcmp(castles, now, sizeof now), 0);
          break;
        }
        key = kept;
        epflag = newep;
        memcpy(ep, childep, sizeof ep);
      }
    }
  }
}

}  // namespace
