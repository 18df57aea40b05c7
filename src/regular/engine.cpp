// The regular engine as a row of the engine table: its root key, one iteration at the root on the
// game arrays, its move generator by ply and its legality test for perft.
#include "regular/regular.h"

// The key of the root position: the board, castling rights, 3check counters and the en-passant
// possibility, with both hands in crazyhouse.
uint64_t regularrootkey() {
  if (crazymode) return rootkeycrazy(rootepflag, gamewheld, gamebheld);
  return rootkey(rootepflag);
}

// One iteration of the regular search at the root, on the game's hands, pawn-born lists and
// en-passant markers. Returns the root score and leaves the chosen move in finfrom/finto.
int regularroot(int alpha, int beta, int depth, uint64_t key) {
  return search(alpha, beta, depth, 1, gameepsquares, 0, key, 0, rootepflag, 0, gamewheld, gamebheld, gamewpieces,
                gamebpieces);
}

// The pseudo-legal moves of the side to move at ply (White codes on odd plies), castling and, in
// crazyhouse, drops from the game's hands included.
void regulargenerate(int *movefrom, int *moveto, int *count, int ply, const int *epsquares) {
  if (ply % 2 == 1) genwhite(movefrom, moveto, count, ply, epsquares, 0, gamewheld);
  else genblack(movefrom, moveto, count, ply, epsquares, 0, gamebheld);
}

// Tries the move of the side at ply: the make, then the verdict of regularlegal.
int regulartry(int ply, int from, int to, int promotion, int *childep, trialundo *undo) {
  plaintry(ply, from, to, promotion, childep, undo);
  return regularlegal(ply);
}

// After a move made at ply: 1 when the mover's king cannot be taken next, that is when it is not
// attacked and no enemy king stands beside it (the attack test leaves kings out). With two kings a
// side (twokings) only the king the search treats as royal counts; the other is an ordinary man.
int regularlegal(int ply) {
  int white = ply % 2 == 1;
  int own = white ? WKING : BKING;
  int king = twokingsmode ? firstking(own) : (white ? ownkingsq : oppkingsq);
  if (king == 0 || board[king] != own) return 1;
  if (isattacked(king)) return 0;
  return !isbeside(king, white ? BKING : WKING);
}
