// The antichess search: fail-hard negamax over the antichess lists. Captures are compulsory (the
// list is cut behind the last capture), captures and late pawn pushes are searched without using
// up depth, and each variant ends a game its own way: in giveaway and suicide the side without a
// move wins; in losers a move may not leave the own king attacked, the side reduced to its king
// wins, and so does the side without a legal move.
#include "antichess/antichess.h"

int antistoppoint = 0;

// Capture states of a node's move loop.
constexpr int CAPTURESNONE = 0;        // the node searches every move
constexpr int CAPTURESFIRST = 1;       // the node began with a capture: quiet moves only when no legal capture exists

// What a node knows of the side to move: its men, its pawns, its king's square (0 for none).
struct movercensus {
  int men;
  int pawns;
  int kingsq;
};

static movercensus census(int white) {
  movercensus c = {0, 0, 0};
  int pawn = white ? WPAWN : BPAWN;
  int king = white ? WKING : BKING;
  for (int sq = 1; sq <= 64; sq++) {
    int code = board[sq];
    if (code == EMPTY || iswhite(code) != (white == 1)) continue;
    c.men++;
    if (code == pawn) c.pawns++;
    if (code == king) c.kingsq = sq;
  }
  return c;
}

// The periodic poll and clock test; 1 when the node must unwind at once because the search of
// iteration 2 or later has been stopped.
static int stopped() {
  stopcheck();
  return stopsearch && searchdepth >= 2;
}

// Searches the position with the remaining depth at ply (White to move on odd plies), given its
// en-passant markers, its key and whether en passant is possible in it. At ply 1 it scores every
// root move into rootscore and returns the root choice (finfrom/finto/promopiece set); deeper it
// returns the node's value, alpha when nothing improved on it.
int antisearch(int alpha, int beta, int depth, int ply, int *epsquares, uint64_t key, int epflag) {
  assert(alpha < beta);
  assert(depth >= 1 && depth < MAXITERATIONSROOT);
  assert(ply >= 1 && ply < MAXPLY);
  nodes++;
  searchcalls++;
  if (ply > maxsearchside) maxsearchside = ply;
  if (ply == 1) antistoppoint = 0;
  if (stopped() && ply >= 2) return 0;
  if (ply >= 2 && beta != ANTIBETA && alpha != ANTIALPHA) {
    int probe = probehash(key, depth, alpha, beta, ply, 1);
    if (probe != PROBEMISS) return probe;
  }

  int white = ply % 2;
  int from[ANTIMAXMOVES], to[ANTIMAXMOVES], promo[ANTIMAXMOVES];
  int count = 0;
  antigenerate(ply, from, to, promo, &count, epsquares);
  if (ply == 1) rootmovecount = count;
  movercensus mover = {0, 0, 0};
  if (losersmode) mover = census(white);
  if (ply >= 2) {
    if (!losersmode && count == 0) return ANTIWIN - ply;
    if (losersmode && mover.men == 1) return ANTIWIN - ply;
  }

  int childep[65] = {};
  int last = alpha - 1;
  int nolegal = 1;
  int state = CAPTURESNONE;
  int picking = 1;
  int ownking = white ? WKING : BKING;
  int ownpawn = white ? WPAWN : BPAWN;
  for (int p = 1; p <= count; p++) {
    int capturesleft;
    if (ply == 1 && p == 1 && iterations >= 1) {
      antirootorder(from, to, promo, count);
      capturesleft = iscapture(from[1], to[1]);
    } else {
      capturesleft = picking && pickcapture(from, to, promo, p, count);
      if (!capturesleft) picking = 0;  // no capture left: the rest of the list stays as it is
    }
    if (p == 1 && iscapture(from[1], to[1])) state = CAPTURESFIRST;
    if (state == CAPTURESFIRST && !capturesleft) {
      if (!losersmode || !nolegal) {
        count = p - 1;
        break;
      }
      state = CAPTURESNONE;  // no legal capture: every move may be played
    }

    int man = board[from[p]];
    moveundo undo;
    makemove(ply, from[p], to[p], promo[p], childep, &undo, gamewheld, gamebheld, gamewpieces, gamebpieces);
    int captured = undo.captured;
    lastto[ply] = to[p];
    int newep = doublestepbeside(from[p], to[p]);
    uint64_t newkey = keyaftermove(key, &undo, epflag, newep, 0, gamewheld, gamebheld);

    int illegal = 0;
    if (losersmode) {
      int kingmoved = man == ownking;
      illegal = !loserslegal(ply, kingmoved ? to[p] : mover.kingsq, kingmoved);
      if (!illegal) nolegal = 0;
    }
    int extend = endgameflag && man == ownpawn && fileof(from[p]) == fileof(to[p]) && mover.pawns <= FEWPAWNS;

    int v = last;
    if (illegal || stopsearch) {
      // not searched
    } else if ((captured != EMPTY || extend) && ply <= ANTIEXTENDPLY) {
      v = -antisearch(-beta, -alpha, depth, ply + 1, childep, newkey, newep);
    } else if (depth >= 2) {
      v = -antisearch(-beta, -alpha, depth - 1, ply + 1, childep, newkey, newep);
    } else {
      v = -antileaf(-beta, -alpha, ply + 1, childep);
    }
    if (ply == 1) {
      if (!illegal && repeatsgame(gamewheld, gamebheld)) v = 0;
      rootscore[depth][p] = illegal ? ILLEGALROOTSCORE : v;
      if (stopsearch && antistoppoint == 0) antistoppoint = p;
    }
    last = v;

    unmakemove(ply, childep, &undo, gamewheld, gamebheld, gamewpieces, gamebpieces);
    if (v > alpha) alpha = v;
    if (losersmode && captured == WKING && !white) return -(ANTIWIN - ply);
    if (losersmode && captured == BKING && white) {
      if (ply >= 2) return -(ANTIWIN + ply);
      last = -ANTIWIN;
    }
    if (last >= beta && ply >= 2) return beta;
  }

  if (ply == 1) {
    if (count == 0) {
      finfrom = finto = 0;
      promopiece = 0;
      return alpha;
    }
    return rootselect(count, from, to, promo, stopsearch, antistoppoint, depth);
  }
  if (losersmode && nolegal) return ANTIWIN - ply;
  return alpha;
}

// The value of a position at the end of the depth: a won game for the side to move (no move in
// giveaway and suicide, only the king left in losers), else the evaluation, kept inside the window.
int antileaf(int alpha, int beta, int ply, const int *epsquares) {
  assert(ply >= 2 && ply < MAXPLY);
  nodes++;
  qnodes++;
  if (stopped()) return 0;
  int white = ply % 2;
  if (losersmode) {
    if (census(white).men == 1) return ANTIWIN - ply;
  } else {
    int from[ANTIMAXMOVES], to[ANTIMAXMOVES], promo[ANTIMAXMOVES];
    int count = 0;
    antigenerate(ply, from, to, promo, &count, epsquares);
    if (count == 0) return ANTIWIN - ply;
  }
  int e = antievaluate(white ? 0 : 1);
  if (e < beta) return e > alpha ? e : alpha;
  return beta;
}
