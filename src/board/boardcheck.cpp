// The consistency check: everything kept incrementally, recomputed from the board. Debug builds
// assert it after every make and unmake of the searches and perft.
#include "board/board.h"

// 1 when the pawn-born list names distinct squares holding men of the side (white: codes 1..6),
// with every pawn of that side among them.
static int pawnbornok(const int *pieces, bool white) {
  int listed[65] = {};
  for (int i = 1; i < PAWNBORNSLOTS; i++) {
    int sq = pieces[i];
    if (sq == 0) continue;
    if (sq < 1 || sq > 64 || listed[sq]) return 0;
    listed[sq] = 1;
    if (white ? !iswhite(board[sq]) : !isblack(board[sq])) return 0;
  }
  int pawn = white ? WPAWN : BPAWN;
  for (int sq = 1; sq <= 64; sq++)
    if (board[sq] == pawn && !listed[sq]) return 0;
  return 1;
}

// 1 when a hand holds only men of its colour that may be dropped (no king).
static int handok(const int *hand, bool white) {
  for (int i = 1; i < HANDSLOTS; i++) {
    int code = hand[i];
    if (code == EMPTY) continue;
    if (white ? (code < WPAWN || code > WQUEEN) : (code < BPAWN || code > BQUEEN)) return 0;
  }
  return 1;
}

// 1 when the kept king square is where the only king of its colour stands; with none (captured in
// the line being searched) there is nothing to compare. In twokings nothing reads the kept squares
// (the royal king is found by its scan), and after one of a side's two kings is captured the kept
// square may name the one taken: nothing to compare either, however many kings are left. In the
// antichess family the king is an ordinary man and nothing keeps its square.
static int kingok(int kingsq, int code) {
  if (antimode || twokingsmode) return 1;
  int count = 0, where = 0;
  for (int sq = 1; sq <= 64; sq++)
    if (board[sq] == code) count++, where = sq;
  return count != 1 || kingsq == where;
}

// 1 when everything kept incrementally agrees with the board: the codes, the two king squares,
// in crazyhouse the hands and the pawn-born lists, and, unless key is 0, the key (epflag: en
// passant is possible; moved: an odd number of moves were made since the root, so the key holds
// zmove).
int boardisok(uint64_t key, int epflag, int moved, const int *wheld, const int *bheld, const int *wpieces,
              const int *bpieces) {
  for (int sq = 1; sq <= 64; sq++)
    if (board[sq] < EMPTY || board[sq] > BKING) return 0;
  if (!kingok(ownkingsq, WKING) || !kingok(oppkingsq, BKING)) return 0;
  if (crazymode) {
    if (!handok(wheld, true) || !handok(bheld, false)) return 0;
    if (!pawnbornok(wpieces, true) || !pawnbornok(bpieces, false)) return 0;
  }
  if (key == 0) return 1;
  uint64_t scratch = crazymode ? rootkeycrazy(epflag, wheld, bheld) : rootkey(epflag);
  if (moved) scratch ^= zmove;
  return scratch == key;
}
