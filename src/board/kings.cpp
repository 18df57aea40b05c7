// Finding kings (and other men) on the board, in the scan orders the engines rely on.
#include "board/board.h"

// The first square holding code, scanning squares 1..64; 0 when there is none.
int findman(int code) {
  assert(code >= WPAWN && code <= BKING);
  for (int sq = 1; sq <= 64; sq++)
    if (board[sq] == code) return sq;
  return 0;
}

// The last square holding code, scanning squares 1..64; 0 when there is none.
int lastking(int code) {
  assert(code >= WPAWN && code <= BKING);
  for (int sq = 64; sq >= 1; sq--)
    if (board[sq] == code) return sq;
  return 0;
}

// Records the squares of both kings: the last of each colour found scanning squares 1..64. A
// colour without a king keeps its old square.
void findkings() {
  int own = lastking(WKING);
  int opp = lastking(BKING);
  if (own) ownkingsq = own;
  if (opp) oppkingsq = opp;
}

// The first square holding code as the real board shows it: file by file from the a-file, each file
// from rank 1 up (with the engine Black the held board is read turned: from h8 downwards). 0 when
// there is none. With two kings of a colour this is the one the searches treat as royal.
int firstking(int code) {
  assert(code >= WPAWN && code <= BKING);
  if (color != 0) {
    for (int file = 1; file <= 8; file++)
#pragma GCC unroll 8
      for (int sq = file; sq <= 64; sq += 8)
        if (board[sq] == code) return sq;
  } else {
    for (int file = 8; file >= 1; file--)
#pragma GCC unroll 8
      for (int sq = file + 56; sq >= 1; sq -= 8)
        if (board[sq] == code) return sq;
  }
  return 0;
}

// The king of the side not to move at ply (the black king on odd plies), found as firstking finds it.
// Where a colour has at most one king (not twokings, not the antichess games) a kept king square
// that still holds the king is that king, and the scan is spared; quiescence does not keep the
// squares, so a square the king has left is scanned for.
int opponentking(int ply) {
  assert(ply >= 1);
  int code = ply % 2 == 1 ? BKING : WKING;
  int kept = code == BKING ? oppkingsq : ownkingsq;
  if (!twokingsmode && !antimode && kept >= 1 && kept <= 64 && board[kept] == code) return kept;
  return firstking(code);
}

// 1 when a man of the code stands on one of the eight squares around sq.
int isbeside(int sq, int code) {
  assert(sq >= 1 && sq <= 64);
  for (int dr = -8; dr <= 8; dr += 8) {
    for (int df = -1; df <= 1; df++) {
      int t = sq + dr + df;
      if ((dr == 0 && df == 0) || t < 1 || t > 64) continue;
      if ((df == -1 && onhfile(t)) || (df == 1 && onafile(t))) continue;
      if (board[t] == code) return 1;
    }
  }
  return 0;
}
