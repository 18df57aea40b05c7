// The make and unmake of a move tried by the rules of a variant, before the variant's own verdict:
// the searches' make with the game's hands and pawn-born lists.
#include "control/control.h"

// Makes the move of the side at ply as the searches do (a promoting pawn becomes promotion, 0 a
// queen); nothing exploded yet. Answers 1: the make alone refuses nothing.
int plaintry(int ply, int from, int to, int promotion, int *childep, trialundo *undo) {
  assert(ply >= 1 && childep && undo);
  undo->exploded = undo->blastwin = 0;
  makemove(ply, from, to, promotion, childep, &undo->move, gamewheld, gamebheld, gamewpieces, gamebpieces);
  return 1;
}

// Takes back a move made by plaintry.
void plainuntry(int ply, int *childep, trialundo *undo) {
  unmakemove(ply, childep, &undo->move, gamewheld, gamebheld, gamewpieces, gamebpieces);
}
