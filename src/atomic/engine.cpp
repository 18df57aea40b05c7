// The atomic engine as a row of the engine table: its root key, one iteration at the root, its
// move generator by ply and its legality test for perft, and the engine's own state.
#include "atomic/atomic.h"

#include <cstring>

int atomicscratch[65];

// Clears the scratch array before a move's search: the captures it counts belong to one search.
void atomicnewsearch() { memset(atomicscratch, 0, sizeof atomicscratch); }

// The key of the game's root position, with its en-passant possibility.
uint64_t atomicgamekey() { return atomicrootkey(rootepflag); }

// One iteration of the atomic search at the root, on the game's en-passant markers. Returns the
// root score and leaves the chosen move in finfrom/finto.
int atomicroot(int alpha, int beta, int depth, uint64_t key) {
  return atomicsearch(alpha, beta, depth, 1, gameepsquares, atomicscratch, key, 0, rootepflag);
}

// The board moves of the side to move at ply (White codes on odd plies).
void atomicgenerate(int *movefrom, int *moveto, int *count, int ply, const int *epsquares) {
  if (ply % 2 == 1) atomicwhitemoves(movefrom, moveto, count, ply, epsquares);
  else atomicblackmoves(movefrom, moveto, count, ply, epsquares);
}

// After a move made at ply and its explosion, when the explosion neither blew up a king nor was
// made by a king: 1 when the mover's king cannot be taken next. Kings side by side never attack
// each other, since taking one would blow up the other.
int atomiclegal(int ply) {
  int white = ply % 2 == 1;
  int king = lastking(white ? WKING : BKING);
  if (king == 0) return 0;
  if (isbeside(king, white ? BKING : WKING)) return 1;
  return !isattacked(king);
}

// Puts the atomic engine's state back to its value at load (tests start from here).
void resetatomic() { atomicnewsearch(); }
