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

// Tries the move of the side at ply by the atomic rules: the make, and a capture explodes, taking
// the castling rights whose rook or king it removed. A king never captures and a move that blows
// up the mover's own king is refused (also when it blows up the other king too); blowing up the
// other king wins, whatever else the move leaves; otherwise atomiclegal decides.
int atomictry(int ply, int from, int to, int promotion, int *childep, trialundo *undo) {
  plaintry(ply, from, to, promotion, childep, undo);
  if (undo->move.captured == EMPTY && !undo->move.epcapture) return atomiclegal(ply);
  const int rights[6] = {wcastleking, wcastlea, wcastleh, bcastleking, bcastlea, bcastleh};
  memcpy(undo->rights, rights, sizeof rights);
  int illegal = 0;
  undo->exploded = 1;
  undo->blastkey = explode(to, ply, &undo->blastwin, &illegal, undo->blastsave, 0);
  blastrights();
  if (illegal) return 0;
  return undo->blastwin || atomiclegal(ply);
}

// Takes back a move made by atomictry: the explosion and its rights first, then the move.
void atomicuntry(int ply, int *childep, trialundo *undo) {
  if (undo->exploded) {
    unexplode(undo->move.to, undo->blastsave);
    wcastleking = undo->rights[0];
    wcastlea = undo->rights[1];
    wcastleh = undo->rights[2];
    bcastleking = undo->rights[3];
    bcastlea = undo->rights[4];
    bcastleh = undo->rights[5];
  }
  undo->exploded = 0;
  plainuntry(ply, childep, undo);
}

// Puts the atomic engine's state back to its value at load (tests start from here).
void resetatomic() { atomicnewsearch(); }
