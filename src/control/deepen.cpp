// Iterative deepening, the same for every engine of the engine table.
#include "control/control.h"

// Remembers the move of the iteration just completed for the root ordering of the next.
void noteiteration() {
  if (iterations >= MAXITERATIONS - 1) return;
  iterations++;
  iterfrom[iterations] = finfrom;
  iterto[iterations] = finto;
  iterpromo[iterations] = finfrom >= 1 && finfrom <= 64 && board[finfrom] == WPAWN && finto > 56 ? promopiece : 0;
}

// Searches the root position with the engine at depth 1, 2, 3, ... until the search is stopped
// (time, "?" or the end of the game), every move is found lost, or the next depth reaches
// depthcap. Each completed iteration's best move is remembered for the root ordering of the next;
// the last iteration's score goes to *passscore (left alone when no iteration ran).
void deepen(const enginerow *engine, int *passscore) {
  assert(engine && passscore);
  searchdepth = 1;
  iterations = 0;
  lastrootscore = PASSNOSCORE;  // a first iteration stopped before its first move has no score
  engine->newsearch();
  uint64_t key = engine->rootkey();
  while (depthcap > 1 && !stopsearch) {
    int score = engine->rootsearch(engine->alpha, engine->beta, searchdepth, key);
    *passscore = score;
    noteiteration();
    if (score == LOSTROOTSCORE) break;
    searchdepth++;
    if (searchdepth >= depthcap) break;
  }
  maxsearchside = 0;
  stopsearch = 0;
}
