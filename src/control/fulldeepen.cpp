// Iterative deepening of the full-strength searches: aspiration windows around the last score,
// a thinking line with time and nodes after every iteration, and the full-mode clock that stops
// between iterations when the next one would not finish.
#include "control/control.h"

#include <cstdlib>

constexpr int ASPIRATIONDEPTH = 4;     // iterations from this depth on start in a window around the last score
constexpr int ASPIRATIONWINDOW = 25;   // half the first window; it doubles on every failure
constexpr int ASPIRATIONOPEN = 800;    // a window that grew this wide opens fully
constexpr int SCOREFALL = 30;          // a score this much below the last iteration's counts as falling
constexpr int MATEDEPTHMARGIN = 4;     // a mate is trusted once the depth exceeds twice its plies by this

// The thinking line of a completed iteration: depth, score, centiseconds and nodes, the line.
static void fullpost(int depth, int score) {
  if (!postmode) return;
  char pv[PVTEXTSIZE];
  fullpvtext(pv);
  output("\n%d %d %u %lld %s\n", depth, score, (gettickcount() - thinkstart) / 10, nodes, pv);
}

// One iteration of the full-strength root at the depth, in a window around the last score that
// widens on the side that failed until the score falls inside it. A stop ends it at once.
static int aspire(const enginerow *engine, uint64_t key, int last) {
  int delta = ASPIRATIONWINDOW;
  int alpha = engine->alpha;
  int beta = engine->beta;
  if (searchdepth >= ASPIRATIONDEPTH && abs(last) < engine->winscore - MATEMARGIN) {
    alpha = last - delta;
    beta = last + delta;
  }
  for (;;) {
    int score = engine->fullrootsearch(alpha, beta, searchdepth, key);
    if (stopsearch) return score;
    if (score > alpha && score < beta) return score;
    delta *= 2;
    if (score <= alpha) alpha = delta >= ASPIRATIONOPEN ? engine->alpha : score - delta;
    if (score >= beta) beta = delta >= ASPIRATIONOPEN ? engine->beta : score + delta;
    if (alpha < engine->alpha) alpha = engine->alpha;
    if (beta > engine->beta) beta = engine->beta;
  }
}

// 1 when the score is a mate that the depth searched has surely seen to its end.
static int matesettled(const enginerow *engine, int score) {
  int distance = engine->winscore - abs(score);
  return distance <= MATEMARGIN && searchdepth >= 2 * distance + MATEDEPTHMARGIN;
}

// Deepens the engine's full-strength search (or, for an engine without one, its default search)
// until the search is stopped, the next depth reaches depthcap, a mate is settled, or the clock
// says that the next iteration would not finish. The best move is in finfrom/finto throughout;
// *passscore gets the score of the last iteration, complete or not.
void deepenfull(const enginerow *engine, int *passscore) {
  assert(engine && passscore);
  searchdepth = 1;
  iterations = 0;
  lastrootscore = PASSNOSCORE;
  engine->newsearch();
  uint64_t key = engine->rootkey();
  tableage++;
  clearfullsearch();
  collectgamekeys(engine);
  int last = 0;
  while (depthcap > 1 && !stopsearch) {
    int score = engine->fullrootsearch ? aspire(engine, key, last)
                                       : engine->rootsearch(engine->alpha, engine->beta, searchdepth, key);
    *passscore = score;
    if (stopsearch) break;
    int bestchanged = iterations >= 1 && (iterfrom[iterations] != finfrom || iterto[iterations] != finto);
    int scorefell = iterations >= 1 && score < last - SCOREFALL;
    noteiteration();
    lastrootscore = last = score;
    if (engine->fullrootsearch) fullpost(searchdepth, score);
    if (score == LOSTROOTSCORE || matesettled(engine, score)) break;
    searchdepth++;
    if (searchdepth >= depthcap || !nextiterationfits(bestchanged, scorefell)) break;
  }
  maxsearchside = 0;
  stopsearch = 0;
}
