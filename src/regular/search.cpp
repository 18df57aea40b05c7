// The regular engine's main search: negamax alpha-beta over pseudo-legal moves for normal chess,
// 3check, crazyhouse, wildcastle, nocastle and twokings. A move that leaves the own king
// capturable is refuted one ply later by the capture of the king, so mate and stalemate need no
// legality test: a side without a move that saves its king gets -(15000 - ply) for every move.
#include "regular/regular.h"

#include "config/config.h"

#include <cstring>

constexpr int NULLSMALLDEPTH = 7;      // iterations up to this depth reduce the null move by 1, deeper by 2

long long nullcuts = 0;
long long nullfails = 0;
long long cutoffs = 0;
long long bestchanges = 0;

// The white king's square at the root (the highest-numbered square holding one), for telling a
// root move that leaves the king en prise from one that is merely mated.
static int rootkingsq = 0;

// 1 when the king on sq cannot be taken at once: it is not attacked and no enemy king stands beside
// it (the attack test leaves kings out). No king (0) counts as safe.
static int kingsafe(int sq) {
  if (sq == 0) return 1;
  return !isattacked(sq) && !isbeside(sq, board[sq] == WKING ? BKING : WKING);
}

// Searches the position with the remaining depth at ply (White to move on odd plies). At ply 1
// it scores every root move into rootscore and returns the root choice (finfrom/finto set);
// deeper it returns the best score, alpha when nothing improved on it. Checks the clock and
// input every pollinterval nodes and unwinds with 0 once stopped. Tries a
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
  if (ply == 1) rootkingsq = lastking(WKING);

  stopcheck();
  if (stopsearch && ply >= 2) return 0;

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
  int movescore[MAXMOVES];
  int picking = 1;
  if (ply >= 2) {  // the scoring finds the first pick
    int firstpick = crazymode ? scoremovescrazy(movefrom, moveto, 1, count, ply, movescore)
                              : scoremoves(movefrom, moveto, 1, count, ply, movescore);
    picking = pickentry(movefrom, moveto, movescore, 1, firstpick);
  }
  int oppking = opponentking(ply);
  int oppkingcode = white ? BKING : WKING;

  int best = alpha;
  int score = alpha - 1;
  int stoppoint = 0;
  int kingwassafe = -1;
  for (int i = 1; i <= count; i++) {
    if (ply == 1) {
      if (i == 1) rootorder(movefrom, moveto, count);
    } else if (picking && i > 1) {
      picking = pickmove(movefrom, moveto, movescore, count, i);
    }
    int from = movefrom[i];
    int to = moveto[i];

    askkingsafe(&kingwassafe, oppking, oppkingcode, to);
    moveundo undo;
    makemove(ply, from, to, 0, childep, &undo, wh, bh, wp, bp);
    int captured = undo.captured;
    lastto[ply] = to;
    int newep = from > 0 ? doublestepbeside(from, to) : 0;

    int kingtaken = (to == oppking && captured == oppkingcode);
    int castling = from > 0 && (board[to] == WKING || board[to] == BKING) && (to - from == 2 || from - to == 2);
    int checks = kingtaken ? 0 : checkafter(kingwassafe, oppking, from, to, !undo.epcapture && !castling);
    int checkindex = 0;
    int thirdcheck = 0;
    if (threecheckmode && checks) {
      int given = white ? ++topc : ++topp;
      if (given == 1 || given == 2) checkindex = white ? given : given + 2;
      if (given >= THREECHECKS && kingsafe(white ? ownkingsq : oppkingsq)) thirdcheck = 1;
    }
    uint64_t newkey = keyaftermove(key, &undo, epflag, newep, checkindex, wh, bh);
    assert(boardisok(newkey, newep, ply % 2, wh, bh, wp, bp));

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
        if (!kingsafe(kingsq)) rootscore[depth][i] = LOSTROOTSCORE;
      }
    }

    // Take it back.
    unmakemove(ply, childep, &undo, wh, bh, wp, bp);
    assert(boardisok(0, 0, 0, wh, bh, wp, bp));
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
      if (ply >= 2 && picking) scoremoves(movefrom, moveto, i + 1, count, ply, movescore);  // the killers changed
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

// Clears the regular engine's own statistics before a move's search.
void resetsearchcounters() {
  nullcuts = 0;
  nullfails = 0;
  cutoffs = 0;
  bestchanges = 0;
  seecount = 0;
}

// Puts all regular-engine state back to its value at load (tests start from here).
void resetregular() {
  resetsearchcounters();
  rootkingsq = 0;
  clearpawncache();
}
