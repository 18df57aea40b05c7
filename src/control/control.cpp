// The search-control globals: the clock and stop flags, the iteration bookkeeping, the root tables,
// the killers and the per-move counters that every engine shares.
#include "control/control.h"

#include <cstring>

constexpr int DEFAULTPOLLINTERVAL = 500;  // nodes between polls until the first allotment

int stopsearch = 0;
int discardmove = 0;
int movetime = 0;
unsigned searchstart = 0;
unsigned thinkstart = 0;
int pollinterval = DEFAULTPOLLINTERVAL;
int searchdepth = 0;
int depthcap = 0;
int iterations = 0;
int iterfrom[MAXITERATIONS];
int iterto[MAXITERATIONS];
int iterpromo[MAXITERATIONS];
long long nodes = 0;
int postmode = 0;
void (*inputpoll)() = nullptr;
int maxsearchside = 0;
int rootmovecount = 0;
int rootscore[MAXITERATIONSROOT][MAXMOVES + 1];
int pvfrom[MAXPLY + 1][PVSLOTS];
int pvto[MAXPLY + 1][PVSLOTS];
int lastrootscore = 0;
int choicefrom[MAXMOVES];
int choiceto[MAXMOVES];
int choicescore[MAXMOVES];
int choicecount = 0;
int killer1from[MAXPLY];
int killer1to[MAXPLY];
int killer2from[MAXPLY];
int killer2to[MAXPLY];
int lastto[MAXPLY];
long long searchcalls = 0;
long long qnodes = 0;
long long evalcount = 0;

// Clears the killer tables and the to-squares of the moves being searched.
void clearkillers() {
  memset(killer1from, 0, sizeof killer1from);
  memset(killer1to, 0, sizeof killer1to);
  memset(killer2from, 0, sizeof killer2from);
  memset(killer2to, 0, sizeof killer2to);
  memset(lastto, 0, sizeof lastto);
}

// Clears what one move's search counts: nodes, the search and leaf calls, the evaluations, the
// table's cuts, the deepest ply, the killers and lastto. The engine pass calls it before each
// move's search.
void resetmovecounters() {
  nodes = 0;
  searchcalls = 0;
  qnodes = 0;
  evalcount = 0;
  hashcuts = 0;
  maxsearchside = 0;
  choicecount = 0;
  clearkillers();
}

// Puts every search-control global back to its value at load (tests start from here). The input
// poll stays as the front end installed it.
void resetcontrol() {
  resetmovecounters();
  stopsearch = discardmove = 0;
  movetime = 0;
  searchstart = thinkstart = 0;
  pollinterval = DEFAULTPOLLINTERVAL;
  searchdepth = depthcap = iterations = 0;
  memset(iterfrom, 0, sizeof iterfrom);
  memset(iterto, 0, sizeof iterto);
  memset(iterpromo, 0, sizeof iterpromo);
  postmode = 0;
  rootmovecount = 0;
  lastrootscore = 0;
  choicecount = 0;
  memset(rootscore, 0, sizeof rootscore);
  memset(pvfrom, 0, sizeof pvfrom);
  memset(pvto, 0, sizeof pvto);
}
