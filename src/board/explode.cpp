// The explosion of atomic chess: a capture removes the capturing man, the captured man and every
// man but a pawn on the eight squares around the capture square, and its exact undoing.
#include "board/board.h"

// The squares around c in the order the explosion visits them, each only when it is on the board;
// answers how many were written into around.
static int neighbours(int c, int *around) {
  int n = 0;
  bool afile = onafile(c), hfile = onhfile(c);
  if (c <= 56) around[n++] = c + 8;
  if (c >= 9) around[n++] = c - 8;
  if (!hfile) around[n++] = c + 1;
  if (!afile) around[n++] = c - 1;
  if (c <= 55 && !hfile) around[n++] = c + 9;
  if (c <= 57 && !afile) around[n++] = c + 7;
  if (c >= 10 && !afile) around[n++] = c - 9;
  if (c >= 8 && !hfile) around[n++] = c - 7;
  return n;
}

static bool ispawn(int code) { return code == WPAWN || code == BPAWN; }

// Explodes the capture square c after the capturing man has arrived there, for the side to move at
// ply (White codes on odd plies). blastsave receives what stood on c and on every neighbour it
// empties or finds empty, so that unexplode can put it back. *win becomes 1 when the explosion
// removed the opponent's king; *illegal becomes 1 when it removed the mover's own king (a move that
// destroys both kings is illegal, not a win) and 2 when the man on c is a king, which never may
// capture. The caller clears both flags first. Returns key with the removed men's keys taken out.
uint64_t explode(int c, int ply, int *win, int *illegal, int *blastsave, uint64_t key) {
  assert(c >= 1 && c <= 64 && ply >= 1);
  assert(win && illegal && blastsave);
  int ownking = ply % 2 == 1 ? WKING : BKING;
  int enemyking = ply % 2 == 1 ? BKING : WKING;
  if (board[c] == WKING || board[c] == BKING) *illegal = 2;
  blastsave[c] = board[c];
  if (board[c] != EMPTY) key ^= zpiece[13 * c + board[c]];
  board[c] = EMPTY;
  int around[8];
  int n = neighbours(c, around);
  for (int i = 0; i < n; i++) {
    int sq = around[i];
    int man = board[sq];
    if (ispawn(man)) continue;
    if (man == enemyking) *win = 1;
    if (man == ownking) *illegal = 1;
    if (man != EMPTY) key ^= zpiece[13 * sq + man];
    blastsave[sq] = man;
    board[sq] = EMPTY;
  }
  if (*illegal == 1) *win = 0;
  return key;
}

// Puts back what the explosion at c removed: the capture square and every neighbour that does not
// hold a pawn now (the pawns were never touched). Called before the move itself is taken back.
void unexplode(int c, const int *blastsave) {
  assert(c >= 1 && c <= 64 && blastsave);
  board[c] = blastsave[c];
  int around[8];
  int n = neighbours(c, around);
  for (int i = 0; i < n; i++)
    if (!ispawn(board[around[i]])) board[around[i]] = blastsave[around[i]];
}

// After an explosion (or an edit of the board): a castling right whose rook or king left its square
// is gone, so that no man that arrives on the corner later castles with it.
void blastrights() {
  if (wcastlea && board[wcastlea] != WROOK) wcastlea = 0;
  if (wcastleh && board[wcastleh] != WROOK) wcastleh = 0;
  if (bcastlea && board[bcastlea] != BROOK) bcastlea = 0;
  if (bcastleh && board[bcastleh] != BROOK) bcastleh = 0;
  if ((wcastleking && board[wcastleking] != WKING) || (!wcastlea && !wcastleh)) wcastleking = wcastlea = wcastleh = 0;
  if ((bcastleking && board[bcastleking] != BKING) || (!bcastlea && !bcastleh)) bcastleking = bcastlea = bcastleh = 0;
}
