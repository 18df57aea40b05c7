// The regular engine's main search: negamax alpha-beta over pseudo-legal moves for normal chess,
// 3check, crazyhouse, wildcastle, nocastle and twokings. A move that leaves the own king
// capturable is refuted one ply later by the capture of the king, so mate and stalemate need no
// legality test: a side without a move that saves its king gets -(15000 - ply) for every move.
#include "config/config.h"
#include "frontend/frontend.h"
#include "regular/regular.h"

#include <cstring>

constexpr int THIRDCHECK = 3;          // 3check: the check that wins
constexpr int NULLSMALLDEPTH = 7;      // iterations up to this depth reduce the null move by 1, deeper by 2

int maxsearchside = 0;
int rootmovecount = 0;
int rootscore[MAXITERATIONSROOT][MAXMOVES + 1];
int pvfrom[MAXPLY + 1][PVSLOTS];
int pvto[MAXPLY + 1][PVSLOTS];
long long searchcalls = 0;
long long nullcuts = 0;
long long nullfails = 0;
long long cutoffs = 0;
long long bestchanges = 0;

// The white king's square at the root (the highest-numbered square holding one), for telling a
// root move that leaves the king en prise from one that is merely mated.
static int rootkingsq = 0;

// Square as the protocol sees it: the board is held turned when the engine plays Black.
static int protocolsquare(int sq) { return color == 0 ? 65 - sq : sq; }

// 1 when the position after a root move repeats one the game reached after an engine move (the
// opponent to move in both): the same men on the same squares and, in crazyhouse, the same hands.
static int repeatsgame(const int *wh, const int *bh) {
  int last = historycount < HISTORYSIZE ? historycount : HISTORYSIZE - 1;
  for (int h = 1; h <= last; h++) {
    const historyrecord *r = &gamehistory[h];
    if (!r->enginemove || memcmp(&board[1], &r->squares[1], 64 * sizeof(int)) != 0) continue;
    if (!crazymode || samehands(wh, bh, r->wheld, r->bheld)) return 1;
  }
  return 0;
}

// Copies the move just found best at ply, followed by the line of its reply, into this ply's row
// of the principal variation; a 0 square ends a line shorter than the iteration.
static void updatepv(int ply, int from, int to) {
  if (ply > PVMAXLEN) return;
  pvfrom[ply][ply] = protocolsquare(from);
  pvto[ply][ply] = protocolsquare(to);
  int last = searchdepth < PVMAXLEN ? searchdepth : PVMAXLEN;
  int j = ply + 1;
  for (; j <= last && pvfrom[ply + 1][j] != 0; j++) {
    pvfrom[ply][j] = pvfrom[ply + 1][j];
    pvto[ply][j] = pvto[ply + 1][j];
  }
  if (j <= PVMAXLEN) pvfrom[ply][j] = pvto[ply][j] = 0;  // the line ends here
}

// Searches the position with the remaining depth at ply (White to move on odd plies). At ply 1
// it scores every root move into rootscore and returns the root choice (finfrom/finto set);
// deeper it returns the best score, alpha when nothing improved on it. Checks the clock and
// input every pollinterval nodes from iteration 2 on and unwinds with 0 once stopped. Tries a
// null move under its conditions, extends checks in crazyhouse and 3check, and treats a third
// check like a captured king. The lists are copied into the node, so the caller's stay intact.
int search(int alpha, int beta, int depth, int ply, int *epsquares, int aftermove, uint64_t key, int nonull,
           int epflag, int innull, int *wheld, int *bheld, int *wpieces, int *bpieces) {
  assert(alpha < beta);
  assert(depth >= 1 && depth < MAXITERATIONSROOT);
  assert(ply >= 1 && ply < MAXPLY);
  searchcalls++;
  nodes++;
  if (ply > maxsearchside) maxsearchside = ply;
  int wh[HANDSLOTS];
  int bh[HANDSLOTS];
  int wp[PAWNBORNSLOTS];
  int bp[PAWNBORNSLOTS];
  memcpy(wh, wheld, sizeof wh);
  memcpy(bh, bheld, sizeof bh);
  memcpy(wp, wpieces, sizeof wp);
  memcpy(bp, bpieces, sizeof bp);
  wh[0] = 0;
  bh[0] = 0;
  if (ply == 1) {
    rootkingsq = 0;
    for (int sq = 1; sq <= 64; sq++)
      if (board[sq] == WKING) rootkingsq = sq;
  }

  stopcheck();
  if (stopsearch && searchdepth >= 2 && ply >= 2) return 0;

  // An endless chain of checks and check evasions would never reach depth 0.
  if (ply >= MAXSEARCHPLY) {
    wh[0] = bh[0] = NODROPS;
    return qsearch(alpha, beta, 0, ply, epsquares, innull, key, wh, bh);
  }

  if (depth >= 2 && alpha != ROOTALPHA && beta != ROOTBETA && innull == 0) {
    int probe = probehash(key, depth, alpha, beta, ply, 1);
    if (probe != PROBEMISS) return probe;
  }

  int childep[65] = {};
  if (USENULLMOVE && searchdepth >= 4 && nonull == 0 && endgameflag == 0 && aftermove == 1 && ply >= 2 &&
      alpha != ROOTALPHA && beta != ROOTBETA && innull == 0) {
    int reduction = searchdepth <= NULLSMALLDEPTH ? 1 : 2;
    lastto[ply] = 0;
    uint64_t nullkey = updatekey(key, 0, 0, 0, 1, 0, 0, 0, epflag, 0, 0, 0);
    int score;
    if (depth - reduction - 2 <= 0) {
      wh[0] = bh[0] = NODROPS;
      score = -qsearch(-beta, -alpha, 0, ply + 1, childep, 1, nullkey, wh, bh);
      wh[0] = bh[0] = 0;
    } else {
      score = -search(-beta, -alpha, depth - reduction - 2, ply + 1, childep, 0, nullkey, 0, 0, 1, wh, bh, wp, bp);
    }
    if (score >= beta && score < NULLMATEBOUND && score > -NULLMATEBOUND) {
      nullcuts++;
      return beta;
    }
    nullfails++;
  }

  int white = ply % 2;
  int movefrom[MAXMOVES];
  int moveto[MAXMOVES];
  int count = 0;
  stalemateflag = 0;
  if (white)
    genwhite(movefrom, moveto, &count, ply, epsquares, 0, wh);
  else
    genblack(movefrom, moveto, &count, ply, epsquares, 0, bh);
  assert(count < MAXMOVES);
  if (ply == 1) rootmovecount = count;
  int oppking = opponentking(ply);
  int oppkingcode = white ? BKING : WKING;

  int best = alpha;
  int score = alpha - 1;
  int stoppoint = 0;
  int picking = 1;
  for (int i = 1; i <= count; i++) {
    if (ply == 1) {
      if (i == 1) rootorder(movefrom, moveto, count);
    } else if (picking) {
      picking = crazymode ? pickmovecrazy(movefrom, moveto, ply, count, i) : pickmove(movefrom, moveto, ply, count, i);
    }
    int from = movefrom[i];
    int to = moveto[i];

    // Make the move: lists first (they read the board before the move), then its side effects,
    // then the men.
    int captured;
    int slot;
    int pawnbornsq = 0;
    int promoted = 0, epcapture = 0;
    int brightlosta = 0, brightlosth = 0, bkingright = 0, wrightlosta = 0, wrightlosth = 0, wkingright = 0;
    if (from > 0) {
      slot = trackmove(wh, bh, wp, bp, from, to, &pawnbornsq);
      makeeffects(ply, &promoted, from, to, &brightlosta, &brightlosth, &bkingright, &wrightlosta, &wrightlosth,
                  &wkingright, childep, &epcapture);
      captured = board[to];
      board[to] = board[from];
      board[from] = EMPTY;
    } else {
      slot = trackdrop(wh, bh, wp, bp, from, to);
      captured = EMPTY;
      board[to] = -from;
    }
    lastto[ply] = to;
    int newep = from > 0 ? doublestepbeside(from, to) : 0;

    int kingtaken = (to == oppking && captured == oppkingcode);
    int checks = kingtaken ? 0 : isattacked(oppking);
    int checkindex = 0;
    int thirdcheck = 0;
    if (threecheckmode && checks) {
      int given = white ? ++topc : ++topp;
      if (given == 1 || given == 2) checkindex = white ? given : given + 2;
      if (given >= THIRDCHECK && !isattacked(white ? ownkingsq : oppkingsq)) thirdcheck = 1;
    }
    int arightlost = wrightlosta ? 1 : (brightlosta ? 3 : 0);
    int hrightlost = wrightlosth ? 2 : (brightlosth ? 4 : 0);
    uint64_t newkey = crazymode ? updatekeycrazy(key, from, to, captured, 0, promoted, arightlost, hrightlost, epflag,
                                                 newep, epcapture, checkindex, wh, bh, pawnbornsq)
                                : updatekey(key, from, to, captured, 0, promoted, arightlost, hrightlost, epflag,
                                            newep, epcapture, checkindex);

    // Score it. Once stopped, a move keeps the score of the move before it; a captured king ends
    // the line here, and a third check is scored below. The reply's line starts empty, so a reply
    // that finds no line of its own (quiescence, a captured king) leaves no stale moves behind.
    if (ply < PVMAXLEN) pvfrom[ply + 1][ply + 1] = pvto[ply + 1][ply + 1] = 0;
    if (stopsearch || thirdcheck) {
      // not searched
    } else if (kingtaken) {
      score = KINGSCORE - ply;
    } else if (checks && ((crazymode && ply >= crazycheckply) || (threecheckmode && ply >= 2))) {
      score = -search(-beta, -best, depth, ply + 1, childep, 1, newkey, 1, newep, innull, wh, bh, wp, bp);
    } else if (depth >= 2) {
      score = -search(-beta, -best, depth - 1, ply + 1, childep, 1, newkey, checks, newep, innull, wh, bh, wp, bp);
    } else {
      wh[0] = bh[0] = NODROPS;
      score = -qsearch(-beta, -best, 0, ply + 1, childep, innull, newkey, wh, bh);
      wh[0] = bh[0] = 0;
    }
    if (ply == 1) {
      // A move refuted by the capture of the king stays lost, repetition or not.
      if (score != -(KINGSCORE - 2) && repeatsgame(wh, bh)) score = 0;
      if (score == KINGSCORE - 3 && !threecheckmode && !isattacked(oppking)) score = 0;  // stalemated opponent
    }
    if (thirdcheck) score = KINGSCORE - ply;
    if (stopsearch && stoppoint == 0) stoppoint = i;
    if (ply == 1) {
      rootscore[depth][i] = score;
      if (score == -(KINGSCORE - 2)) {
        int kingsq = board[to] == WKING ? to : rootkingsq;
        if (isattacked(kingsq)) rootscore[depth][i] = LOSTROOTSCORE;
      }
    }

    // Take it back.
    if (from > 0) {
      board[from] = board[to];
      board[to] = captured;
      unmakeeffects(ply, &promoted, from, to, &brightlosta, &brightlosth, &bkingright, &wrightlosta, &wrightlosth,
                    &wkingright, childep, &epcapture);
      unmakelists(wh, bh, wp, bp, from, to, slot, pawnbornsq);
    } else {
      board[to] = EMPTY;
      undrop(wh, bh, wp, bp, from, to, slot);
    }
    if (threecheckmode && checks) {
      if (white)
        topc--;
      else
        topp--;
    }

    if (USEKILLERS && !crazymode && captured == EMPTY && score > best &&
        !(killer1from[ply] == from && killer1to[ply] == to)) {
      killer2from[ply] = killer1from[ply];
      killer2to[ply] = killer1to[ply];
      killer1from[ply] = from;
      killer1to[ply] = to;
    }
    if (score > best) {
      best = score;
      bestchanges++;
      if (!stopsearch) updatepv(ply, from, to);
    }
    if ((kingtaken || thirdcheck) && ply >= 2) return KINGSCORE - ply;
    if (score >= beta) {
      cutoffs++;
      if (ply >= 2) return beta;
    }
  }

  if (ply >= 2) return best;
  if (count == 0) {
    movefrom[1] = DUMMYSQUARE;
    moveto[1] = DUMMYSQUARE;
    count = 1;
    rootscore[depth][1] = best;
  }
  return rootresult(count, movefrom, moveto, stopsearch, stoppoint, depth);
}

// Clears what one move's search counts: nodes, the statistics, the deepest ply, the killers
// and lastto. The engine pass calls it before each move's search.
void resetsearchcounters() {
  nodes = 0;
  searchcalls = 0;
  qnodes = 0;
  nullcuts = 0;
  nullfails = 0;
  cutoffs = 0;
  bestchanges = 0;
  evalcount = 0;
  seecount = 0;
  hashcuts = 0;
  maxsearchside = 0;
  clearkillers();
  memset(lastto, 0, sizeof lastto);
}

// Puts all regular-engine state back to its value at load (tests start from here).
void resetregular() {
  resetsearchcounters();
  resetevaluation();
  rootmovecount = 0;
  rootkingsq = 0;
  lastrootscore = 0;
  memset(rootscore, 0, sizeof rootscore);
  memset(pvfrom, 0, sizeof pvfrom);
  memset(pvto, 0, sizeof pvto);
}
