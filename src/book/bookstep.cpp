// The book step of the engine's pass: which books the variant asks, and for how long, and the
// tests a book move must pass before it is played without a search.
#include "book/book.h"

#include "config/config.h"

static void askatomicbooks();
static void asknormalbooks(const int *movefrom, const int *moveto, int count);

// Asks the books for a move in the position whose moves (count, 1-based) were just generated. The
// move is played when both squares are on the board, the game is still early and the move is in
// the list: a move the position does not allow is never played, whichever book or record gave it.
// Answers 1 with the move in finfrom-finto, else 0 (and the engine searches).
int bookstep(const int *movefrom, const int *moveto, int count) {
  finfrom = finto = 0;
  firstmovebooks = 0;
  if (atomicmode) {
    if (ltop <= BOOKLASTPLY && ltop <= maxbookmoves) askatomicbooks();
  } else if (threecheckmode || twokingsmode || antimode || (crazymode && crazybook)) {
    if (ltop < BOOKLASTPLY) choosebookmove();
  } else if (ltop < (crazymode ? CRAZYBOOKPLY : NORMALBOOKPLY)) {
    asknormalbooks(movefrom, moveto, count);
  }
  if (finfrom < 1 || finfrom > 64 || finto < 1 || finto > 64 || ltop > BOOKLASTPLY) return 0;
  return inmovelist(finfrom, finto, movefrom, moveto, count);
}

// Atomic: the weighted books answer the first three plies, falling back to the plain book of the
// side to move; later plies ask the plain books only.
static void askatomicbooks() {
  if (ltop > ATOMICFIRSTPLIES) {
    choosebookmove();
    return;
  }
  firstmovebooks = 1;
  choosebookmove();
  firstmovebooks = 0;
  if (finfrom == finto) choosebookmove();
}

// Normal chess (and crazyhouse without its own books, in its first plies): the small book first,
// then the tree.
static void asknormalbooks(const int *movefrom, const int *moveto, int count) {
  if (openbkloaded) chooseopenbk(movefrom, moveto, count);
  if (finfrom >= 1 && finfrom <= 64 && finto >= 1 && finto <= 64) return;
  finfrom = finto = 0;
  if (bookloaded && !threecheckmode) choosebookmove();
}
