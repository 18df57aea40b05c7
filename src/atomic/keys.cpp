// The position keys of the atomic search: the key of the root position, the change a move makes
// and the change of castling rights lost. They use the board core's random tables, with four
// castling keys of their own (zatomic: White a-side, White h-side, Black a-side, Black h-side).
#include "atomic/atomic.h"

constexpr int ZWHITEA = 1;             // zatomic slots of the four castling rights
constexpr int ZWHITEH = 2;
constexpr int ZBLACKA = 3;
constexpr int ZBLACKH = 4;

static inline uint64_t piecekey(int code, int sq) { return zpiece[13 * sq + code]; }

// The change of the castling keys when the man on from (still standing there) moves: a rook
// leaving its castling square loses that right, a king leaving its square loses both.
uint64_t castlerightskey(uint64_t key, int from) {
  assert(from >= 1 && from <= 64);
  int man = board[from];
  if (man == WROOK && wcastleking != 0) {
    if (from == wcastlea) key ^= zatomic[ZWHITEA];
    if (from == wcastleh) key ^= zatomic[ZWHITEH];
  } else if (man == BROOK && bcastleking != 0) {
    if (from == bcastlea) key ^= zatomic[ZBLACKA];
    if (from == bcastleh) key ^= zatomic[ZBLACKH];
  } else if (man == WKING && wcastleking != 0) {
    if (wcastlea != 0) key ^= zatomic[ZWHITEA];
    if (wcastleh != 0) key ^= zatomic[ZWHITEH];
  } else if (man == BKING && bcastleking != 0) {
    if (bcastlea != 0) key ^= zatomic[ZBLACKA];
    if (bcastleh != 0) key ^= zatomic[ZBLACKH];
  }
  return key;
}

// The change the move from -> to makes, called with the man already on to: the man leaves from
// (as a pawn when it promoted) and arrives on to, the castling rook moves along, the captured man
// leaves to, and the en-passant possibility of the parent and of this move toggle. A null move only
// toggles the side and the parent's en-passant key.
uint64_t movekey(uint64_t key, int from, int to, int captured, int isnull, int promoted, int epbefore, int epafter) {
  if (isnull) {
    key ^= zmove;
    if (epbefore == 1) key ^= zcastle[ZEP];
    return key;
  }
  assert(from >= 1 && from <= 64 && to >= 1 && to <= 64);
  int man = board[to];
  if (!promoted) {
    key ^= piecekey(man, from) ^ piecekey(man, to);
  } else if (iswhite(man)) {
    key ^= piecekey(WPAWN, from) ^ piecekey(WQUEEN, to);
  } else {
    key ^= piecekey(BPAWN, from) ^ piecekey(BQUEEN, to);
  }
  key ^= zmove;
  if ((man == WKING || man == BKING) && (to == from + 2 || to == from - 2)) {
    int rook = man == WKING ? WROOK : BROOK;
    int corner = man == WKING ? (to < from ? SQA1 : SQH1) : (to < from ? SQA8 : SQH8);
    int passed = to < from ? to + 1 : to - 1;
    key ^= piecekey(rook, corner) ^ piecekey(rook, passed);
  }
  if (captured > 0) key ^= piecekey(captured, to);
  if (epbefore == 1) key ^= zcastle[ZEP];
  if (epafter == 1) key ^= zcastle[ZEP];
  return key;
}

// The part of the key that the castling rights give, from the six castling values in the order
// wcastleking, wcastlea, wcastleh, bcastleking, bcastlea, bcastleh: a rook's side counts while its
// king keeps its right.
uint64_t rightskey(const int *rights) {
  uint64_t key = 0;
  if (rights[0] > 0) {
    if (rights[1] > 0) key ^= zatomic[ZWHITEA];
    if (rights[2] > 0) key ^= zatomic[ZWHITEH];
  }
  if (rights[3] > 0) {
    if (rights[4] > 0) key ^= zatomic[ZBLACKA];
    if (rights[5] > 0) key ^= zatomic[ZBLACKH];
  }
  return key;
}

// The key of the board as it stands: every man, the castling rights held and the en-passant
// possibility. The side to move is not in it: the engine is always to move at the root.
uint64_t atomicrootkey(int epflag) {
  uint64_t key = 0;
  for (int s = 1; s <= 64; s++)
    if (board[s] > 0) key ^= piecekey(board[s], s);
  const int rights[6] = {wcastleking, wcastlea, wcastleh, bcastleking, bcastlea, bcastleh};
  key ^= rightskey(rights);
  if (epflag == 1) key ^= zcastle[ZEP];
  return key;
}
