// The antichess engine's full-strength search for giveaway, suicide and losers: principal-variation
// search over the moves the rules allow (captures compulsory, in losers only legal moves), the
// table written and used, late-move reductions, history and killers, an extension for a forced
// single reply, draws by repetition and the fifty moves inside the tree, and a quiescence that
// plays out the compulsory captures before it stands pat. No null move: passing is no test where
// being forced to move is the game. A side to move at ply p that has won scores 7500 - p, as in
// the default search.
#include "antichess/antichess.h"

#include <cstring>

constexpr int INFINITESCORE = 20000;   // beyond every score of the search
constexpr int TTMOVEORDER = 1 << 30;   // ordering value of the table's move
constexpr int KILLER1ORDER = 1 << 23;
constexpr int KILLER2ORDER = (1 << 23) - 1;
constexpr int PROMOTIONSTEP = 100;     // a move's target code: to-square + 100 x promoted man
constexpr int LMRMINDEPTH = 3;         // late moves are reduced from this depth on
constexpr int LMRFIRSTMOVES = 3;       // after this many moves
constexpr int QUIESCEPLIES = 6;        // the forced captures are followed this many plies at most


// The moves the rules allow at ply, each as from-square and target code (the promoted man folded
// in), and the number of them.
static int allowedmoves(int ply, const int *epsquares, int *from, int *code) {
  int promo[ANTIMAXMOVES];
  int n = rulemoves(ply, epsquares, from, code, promo);
  for (int i = 1; i <= n; i++) code[i] += PROMOTIONSTEP * promo[i];
  return n;
}

// A won position for the side to move at ply, a lost one for it, or 0 when the game goes on: in
// losers the side reduced to its king has won, whoever is to move.
static int losersend(int ply) {
  if (!losersmode) return 0;
  if (bareking(ply % 2)) return ANTIWIN - ply;
  if (bareking(1 - ply % 2)) return -(ANTIWIN - ply);
  return 0;
}

// Orders the moves: the table's move, the killers, then by history.
static void ordermoves(const int *from, const int *code, int count, int ply, int ttfrom, int ttcode, int *order) {
  for (int i = 1; i <= count; i++) {
    if (from[i] == ttfrom && code[i] == ttcode)
      order[i] = TTMOVEORDER;
    else if (from[i] == killer1from[ply] && code[i] % PROMOTIONSTEP == killer1to[ply])
      order[i] = KILLER1ORDER;
    else if (from[i] == killer2from[ply] && code[i] % PROMOTIONSTEP == killer2to[ply])
      order[i] = KILLER2ORDER;
    else
      order[i] = historyscore[board[from[i]]][code[i] % PROMOTIONSTEP];
  }
}

// Makes the move with target code at ply and answers the child's key; the undo record and the
// child's markers take what unmaking needs.
static uint64_t makecoded(int ply, int from, int code, int *childep, moveundo *undo, uint64_t key, int epflag,
                          int *newep) {
  int to = code % PROMOTIONSTEP;
  makemove(ply, from, to, code / PROMOTIONSTEP, childep, undo, gamewheld, gamebheld, gamewpieces, gamebpieces);
  lastto[ply] = to;
  *newep = doublestepbeside(from, to);
  return keyaftermove(key, undo, epflag, *newep, 0, gamewheld, gamebheld);
}

// Quiescence at ply: a side that must capture plays every capture; a side free to choose stands
// pat on the evaluation (in losers a side in check answers the check first).
static int antiquiesce(int alpha, int beta, int ply, int qply, const int *epsquares) {
  nodes++;
  qnodes++;
  if (ply > maxsearchside) maxsearchside = ply;
  stopcheck();
  if (stopsearch) return 0;
  int ended = losersend(ply);
  if (ended) return ended;
  int from[ANTIMAXMOVES], code[ANTIMAXMOVES], order[ANTIMAXMOVES];
  int count = allowedmoves(ply, epsquares, from, code);
  if (count == 0) return ANTIWIN - ply;
  int white = ply % 2;
  int forced = iscapture(from[1], code[1] % PROMOTIONSTEP);
  if (losersmode && !forced) {
    int king = findman(white ? WKING : BKING);
    forced = king && isattacked(king);
  }
  if (!forced || qply >= QUIESCEPLIES || ply >= FULLMAXPLY) {
    int e = antievaluate(white ? 0 : 1);
    return e;
  }
  ordermoves(from, code, count, ply, 0, 0, order);
  int best = -INFINITESCORE;
  int childep[65] = {};
  for (int i = 1; i <= count; i++) {
    picknext(from, code, order, i, count);
    moveundo undo;
    int newep;
    makecoded(ply, from[i], code[i], childep, &undo, 0, 0, &newep);
    int score = -antiquiesce(-beta, -alpha, ply + 1, qply + 1, childep);
    unmakemove(ply, childep, &undo, gamewheld, gamebheld, gamewpieces, gamebpieces);
    if (stopsearch) return 0;
    if (score > best) {
      best = score;
      if (score > alpha) alpha = score;
      if (score >= beta) break;
    }
  }
  return best;
}

// Searches the position at ply with the remaining depth in the window alpha..beta and answers its
// score. At the root the best move found so far stays in finfrom/finto (promopiece for a
// promotion): a move takes its place only once searched to the end and better than the others.
static int antinode(int alpha, int beta, int depth, int ply, const int *epsquares, uint64_t key, int epflag) {
  if (depth <= 0) return antiquiesce(alpha, beta, ply, 0, epsquares);
  if (enterfullnode(ply, key)) return 0;
  int root = ply == 1;
  int pvnode = beta - alpha > 1;
  if (!root) {
    int ended = losersend(ply);
    if (ended) return ended;
    if (isdrawnline(ply)) return 0;
    if (ply >= FULLMAXPLY) return antievaluate(ply % 2 ? 0 : 1);
  }
  int ttfrom = 0, ttcode = 0, ttscore = 0;
  if (tableanswer(key, depth, alpha, beta, ply, ANTIWIN, !pvnode && !root, &ttfrom, &ttcode, &ttscore)) return ttscore;
  int from[ANTIMAXMOVES], code[ANTIMAXMOVES], order[ANTIMAXMOVES];
  int count = allowedmoves(ply, epsquares, from, code);
  if (root) rootmovecount = count;
  if (count == 0) return root ? lastrootscore : ANTIWIN - ply;  // no move: that side has won
  if (root && iterations >= 1) {
    ttfrom = iterfrom[iterations];
    ttcode = iterto[iterations] + PROMOTIONSTEP * iterpromo[iterations];
  }
  ordermoves(from, code, count, ply, ttfrom, ttcode, order);
  int startalpha = alpha;
  int best = -INFINITESCORE, bestfrom = 0, bestcode = 0;
  int childep[65] = {};
  int extension = count == 1 ? 1 : 0;  // a forced reply costs no depth
  int quietmen[ANTIMAXMOVES], quietto[ANTIMAXMOVES];
  int quiets = 0;
  for (int i = 1; i <= count; i++) {
    picknext(from, code, order, i, count);
    int man = board[from[i]];
    int capture = iscapture(from[i], code[i] % PROMOTIONSTEP);
    moveundo undo;
    int newep;
    uint64_t newkey = makecoded(ply, from[i], code[i], childep, &undo, key, epflag, &newep);
    enterchild(ply, newkey, capture || man == WPAWN || man == BPAWN);
    int newdepth = depth - 1 + extension;
    int score;
    if (i == 1) {
      score = -antinode(-beta, -alpha, newdepth, ply + 1, childep, newkey, newep);
    } else {
      int late = depth >= LMRMINDEPTH && i > LMRFIRSTMOVES && !capture;
      int reduction = late ? latereduction(depth, i, pvnode, newdepth) : 0;
      score = -antinode(-alpha - 1, -alpha, newdepth - reduction, ply + 1, childep, newkey, newep);
      if (score > alpha && reduction > 0) score = -antinode(-alpha - 1, -alpha, newdepth, ply + 1, childep, newkey, newep);
      if (score > alpha && score < beta) score = -antinode(-beta, -alpha, newdepth, ply + 1, childep, newkey, newep);
    }
    unmakemove(ply, childep, &undo, gamewheld, gamebheld, gamewpieces, gamebpieces);
    if (stopsearch) break;
    if (score > best) {
      best = score;
      if (score > alpha) {
        alpha = score;
        bestfrom = from[i], bestcode = code[i];
        fullpvset(ply, from[i], code[i] % PROMOTIONSTEP);
        if (root) finfrom = from[i], finto = code[i] % PROMOTIONSTEP, promopiece = code[i] / PROMOTIONSTEP;
        if (score >= beta) {
          if (!capture) quietcutoff(ply, depth, from[i], code[i] % PROMOTIONSTEP, man, quietmen, quietto, quiets, 0, 0);
          break;
        }
      }
    }
    if (!capture) quietmen[quiets] = man, quietto[quiets] = code[i] % PROMOTIONSTEP, quiets++;
  }
  if (stopsearch) return root ? (bestfrom ? best : lastrootscore) : 0;
  storenode(key, depth, best, startalpha, beta, ply, ANTIWIN, bestfrom, bestcode);
  return best;
}

// One iteration of the full-strength antichess search at the root on the game's en-passant
// markers, in the window alpha..beta. Leaves the best move in finfrom/finto (and promopiece) and
// answers its score.
int antifullroot(int alpha, int beta, int depth, uint64_t key) {
  pathkey[1] = key;
  pathclock[1] = fiftycount;
  return antinode(alpha, beta, depth, 1, gameepsquares, key, rootepflag);
}
