// The antichess root choice: the move to play from the root values of an iteration, with the ICS
// whispers and the thinking line.
#include "antichess/antichess.h"

// The first of the highest values among root entries 1..last; *best gets its value.
static int bestentry(int last, int depth, int *best) {
  int chosen = 1;
  *best = rootscore[depth][1];
  for (int i = 2; i <= last; i++) {
    if (rootscore[depth][i] > *best) {
      *best = rootscore[depth][i];
      chosen = i;
    }
  }
  return chosen;
}

// Chooses the move of the iteration at depth from the n root entries: the first of the highest
// values or, after a stop, of the entries searched to the end (none: the previous iteration's value
// with entry 1, which root ordering made the previous best). Sets finfrom, finto and promopiece,
// whispers at the last iteration and after a stop, writes the thinking line, returns the value.
int rootselect(int n, const int *from, const int *to, const int *promo, int stopped, int stoppoint, int depth) {
  assert(n >= 1 && n < ANTIMAXMOVES);
  assert(depth >= 1 && depth < MAXITERATIONSROOT);
  int result = 0;
  int chosen = 1;
  if (!stopped) {
    chosen = bestentry(n, depth, &result);
    keepchoice(n, from, to, depth);
    if (depth == depthcap - 1)
      output("\ntellics whisper depth %d, suicideevaluate is %d, nodes %lld\n", depth, result, nodes);
  } else {
    if (stoppoint == 0) stoppoint = n + 1;  // stopped after the last entry: all of them are complete
    keepchoice(stoppoint - 1, from, to, depth);
    if (stoppoint == 1) result = lastrootscore;
    else chosen = bestentry(stoppoint - 1, depth, &result);
    unsigned elapsed = gettickcount() - thinkstart;
    if (elapsed == 0) elapsed = 1;
    unsigned nps = (unsigned)((unsigned long long)nodes * 1000ULL / elapsed);
    if (stoppoint > 1)
      output("\ntellics whisper depth: %d + %d/%d moves suicideevaluate: %d  time: %ums nodes: %lld evals: %lld nps: %u "
             "mode: %d\n",
             depth - 1, stoppoint - 1, rootmovecount, result, elapsed, nodes, evalcount, nps, 0);
    else
      output("\ntellics whisper depth: %d suicideevaluate: %d  time: %ums nodes: %lld evals: %lld nps: %u mode: %d\n",
             depth - 1, result, elapsed, nodes, evalcount, nps, 0);
    long long ratio = searchcalls ? qnodes / searchcalls : 0;
    output("\ntellics tellop counter: %lld qcounter %lld ratio: %lld\n", searchcalls, qnodes, ratio);
  }
  if (postmode) output("\n%d %d %u %lld\n", depth, result, (gettickcount() - thinkstart) / 10, nodes);
  finfrom = from[chosen];
  finto = to[chosen];
  promopiece = board[finfrom] == WPAWN && finto >= 57 ? promo[chosen] : 0;
  lastrootscore = result;
  return result;
}
