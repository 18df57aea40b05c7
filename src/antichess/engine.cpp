// The antichess engine as a row of the engine table: its root key, one iteration at the root on
// the game arrays, its move generator by ply and its legality test.
#include "antichess/antichess.h"

// The pseudo-legal moves of the side to move at ply (White codes on odd plies), each promotion
// once for every man it may make.
void antigeneraterow(int *movefrom, int *moveto, int *count, int ply, const int *epsquares) {
  int from[ANTIMAXMOVES], to[ANTIMAXMOVES], promo[ANTIMAXMOVES];
  int n = 0;
  antigenerate(ply, from, to, promo, &n, epsquares);
  assert(n < MAXMOVES);
  for (int i = 1; i <= n; i++) {
    movefrom[i] = from[i];
    moveto[i] = to[i];
  }
  *count = n;
}

// Tries the move of the side at ply: the make, then the verdict of antilegal.
int antitry(int ply, int from, int to, int promotion, int *childep, trialundo *undo) {
  plaintry(ply, from, to, promotion, childep, undo);
  return antilegal(ply);
}

// After a move made at ply: 1 when the rules allow it. Only losers forbids moves: the mover's
// king may not stand attacked or next to the enemy king. Giveaway and suicide allow every move.
int antilegal(int ply) {
  if (!losersmode) return 1;
  int king = findman(ply % 2 == 1 ? WKING : BKING);
  return loserslegal(ply, king, 1);
}

// Puts all antichess-engine state back to its value at load (tests start from here).
void resetantichess() { antistoppoint = 0; }

// Clears nothing of its own: the antichess engine keeps its statistics in the shared counters.
void antinewsearch() {}

// The key of the root position: the board, the castling rights and the en-passant possibility.
uint64_t antirootkey() { return rootkey(rootepflag); }

// One iteration of the antichess search at the root, on the game's en-passant markers. Returns the
// root value and leaves the chosen move in finfrom/finto, a promotion's man in promopiece.
int antiroot(int alpha, int beta, int depth, uint64_t key) {
  return antisearch(alpha, beta, depth, 1, gameepsquares, key, rootepflag);
}
