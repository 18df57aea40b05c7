// The atomic engine's full-strength search: principal-variation search over legal moves with their
// explosions, the table written and used, null move (verified with few men), late-move
// reductions, check extensions, history and killers, draws by repetition, the fifty moves and
// stalemate inside the tree, and a quiescence over the captures (every legal move in check). A
// side to move at ply p that is mated scores -(7500 - p - 1), so that a mate given by the root
// move is 7497 as in the default search; a move at ply p that blows up the enemy king scores
// 7500 - p - 1, so that no score of a line that has not yet ended is 7497 at the root (the
// server's rules claim the game on that score).
#include "atomic/atomic.h"

#include <cstring>

constexpr int INFINITESCORE = 20000;   // beyond every score of the search
constexpr int TTMOVEORDER = 1 << 30;   // ordering value of the table's move
constexpr int CAPTUREORDER = 1 << 24;  // captures before the quiet moves, by what they blow up
constexpr int KILLER1ORDER = 1 << 23;
constexpr int KILLER2ORDER = (1 << 23) - 1;
constexpr int NULLMINDEPTH = 3;        // the null move is tried from this depth on
constexpr int NULLBASEREDUCTION = 3;   // it searches depth - 1 - (3 + depth / 6)
constexpr int NULLDEPTHSTEP = 6;
constexpr int ZUGZWANGMEN = 2;         // with at most this many men besides pawns the null move is verified
constexpr int LMRMINDEPTH = 3;         // late quiet moves are reduced from this depth on
constexpr int LMRFIRSTMOVES = 3;       // after this many legal moves
constexpr int QUIESCEPLIES = 10;       // captures are followed this many plies at most

// What a man is worth when a capture blows it up, by piece code.
static const int blastvalue[13] = {0, 100, 300, 300, 500, 900, 0, 100, 300, 300, 500, 900, 0};
static const int noep[65] = {};

// 1 when the side to move at ply is in check: its king attacked and not beside the enemy king
// (kings side by side cannot take each other).
static int atomicincheck(int ply) {
  int white = ply % 2;
  int king = lastking(white ? WKING : BKING);
  return king && !isbeside(king, white ? BKING : WKING) && isattacked(king);
}

// Men other than pawns and the king of the side to move at ply.
static int atomicofficers(int ply) {
  int n = 0;
  for (int sq = 1; sq <= 64; sq++) {
    int man = board[sq];
    if (man == EMPTY || man == WPAWN || man == BPAWN || man == WKING || man == BKING) continue;
    if (iswhite(man) == (ply % 2 == 1)) n++;
  }
  return n;
}

// The sum of what a capture on to would blow up of the enemy less of the own men, pawns beside
// the square spared, as an ordering value.
static int blastgain(int ply, int to) {
  int white = ply % 2;
  int gain = blastvalue[board[to]];
  for (int d = -1; d <= 1; d++) {
    for (int e = -8; e <= 8; e += 8) {
      int sq = to + d + e;
      if ((d || e) && sq >= 1 && sq <= 64 && !(d == -1 && onhfile(sq)) && !(d == 1 && onafile(sq))) {
        int man = board[sq];
        if (man == WPAWN || man == BPAWN || man == EMPTY) continue;
        int value = man == WKING || man == BKING ? 5000 : blastvalue[man];
        gain += iswhite(man) == (white == 1) ? -value : value;
      }
    }
  }
  return gain;
}

// Orders the moves: the table's move, captures by what they blow up, the killers, the quiet moves
// by history.
static void ordermoves(const int *movefrom, const int *moveto, int count, int ply, int ttfrom, int ttto, int *order) {
  for (int i = 1; i <= count; i++) {
    int from = movefrom[i], to = moveto[i];
    if (from == ttfrom && to == ttto)
      order[i] = TTMOVEORDER;
    else if (board[to] != EMPTY)
      order[i] = CAPTUREORDER + blastgain(ply, to);
    else if (from == killer1from[ply] && to == killer1to[ply])
      order[i] = KILLER1ORDER;
    else if (from == killer2from[ply] && to == killer2to[ply])
      order[i] = KILLER2ORDER;
    else
      order[i] = historyscore[board[from]][to];
  }
}

// The pseudo-legal moves of the side to move at ply, without the captures by a king.
static int atomicmoves(int ply, const int *epsquares, int *movefrom, int *moveto) {
  int count = 0;
  stalemateflag = 0;
  if (ply % 2)
    atomicwhitemoves(movefrom, moveto, &count, ply, epsquares);
  else
    atomicblackmoves(movefrom, moveto, &count, ply, epsquares);
  stalemateflag = 0;
  int kept = 0;
  for (int i = 1; i <= count; i++) {
    int man = board[movefrom[i]];
    if ((man == WKING || man == BKING) && board[moveto[i]] != EMPTY) continue;
    kept++;
    movefrom[kept] = movefrom[i];
    moveto[kept] = moveto[i];
  }
  return kept;
}

// After makeatomic at ply: 1 when the move may be played. A move that blows up the enemy king
// always may (it ends the game); one that blows up the own king or captures with a king never.
static int atomicallowed(int ply, const atomicmove *m) {
  if (m->illegal) return 0;
  if (m->decided) return 1;
  return atomiclegal(ply);
}

// Quiescence at ply: stand pat unless in check, then the legal captures (every legal move in check).
static int atomicfullquiesce(int alpha, int beta, int ply, int qply, const int *epsquares) {
  nodes++;
  qnodes++;
  if (ply > maxsearchside) maxsearchside = ply;
  stopcheck();
  if (stopsearch) return 0;
  if (lastking(ply % 2 ? WKING : BKING) == 0) return -(ATOMICWIN - ply - 1);
  int incheck = atomicincheck(ply);
  int best = -INFINITESCORE;
  if (!incheck || qply >= QUIESCEPLIES || ply >= FULLMAXPLY) {
    int standpat = atomiceval((ply + 1) % 2);
    if (standpat >= beta || qply >= QUIESCEPLIES || ply >= FULLMAXPLY) return standpat;
    if (standpat > alpha) alpha = standpat;
    best = standpat;
  }
  int movefrom[MAXQMOVES], moveto[MAXQMOVES], order[MAXQMOVES];
  int count = atomicmoves(ply, epsquares, movefrom, moveto);
  if (!incheck) {
    int kept = 0;
    for (int i = 1; i <= count; i++)
      if (board[moveto[i]] != EMPTY) kept++, movefrom[kept] = movefrom[i], moveto[kept] = moveto[i];
    count = kept;
  }
  ordermoves(movefrom, moveto, count, ply, 0, 0, order);
  int legal = 0;
  int childep[65] = {};
  int blastsave[65];
  for (int i = 1; i <= count; i++) {
    picknext(movefrom, moveto, order, i, count);
    atomicmove m = {movefrom[i], moveto[i], 0, 0, 0, 0, 0, 0};
    moveundo undo;
    int childepflag = 0;
    makeatomic(ply, &m, &undo, childep, blastsave, 0, 0, &childepflag);
    int score = 0;
    int allowed = atomicallowed(ply, &m);
    if (allowed) {
      legal++;
      score = m.decided ? ATOMICWIN - ply - 1 : -atomicfullquiesce(-beta, -alpha, ply + 1, qply + 1, noep);
    }
    unmakeatomic(ply, &m, &undo, childep, blastsave);
    if (stopsearch) return 0;
    if (allowed && score > best) {
      best = score;
      if (score > alpha) alpha = score;
      if (score >= beta) break;
    }
  }
  if (incheck && legal == 0) return -(ATOMICWIN - ply - 1);
  return best;
}

static int atomicnode(int alpha, int beta, int depth, int ply, const int *epsquares, uint64_t key, int epflag,
                      int nullok);

// The null move at ply: 1 when the opponent, moving twice, still cannot reach beta; verified by a
// search without a null move when the side has few men.
static int atomicnullcut(int beta, int depth, int ply, uint64_t key, int epflag, const int *epsquares) {
  int reduction = NULLBASEREDUCTION + depth / NULLDEPTHSTEP;
  uint64_t nullkey = movekey(key, 0, 0, 0, 1, 0, epflag, 0);
  lastto[ply] = 0;
  enterchild(ply, nullkey, 1);
  int score = -atomicnode(-beta, -beta + 1, depth - 1 - reduction, ply + 1, noep, nullkey, 0, 0);
  if (stopsearch || score < beta) return 0;
  if (atomicofficers(ply) > ZUGZWANGMEN) return 1;
  return atomicnode(beta - 1, beta, depth - 1 - reduction, ply, epsquares, key, epflag, 0) >= beta;
}

// Searches the position at ply with the remaining depth in the window alpha..beta and answers its
// score. At the root the best move found so far stays in finfrom/finto: a move takes its place
// only once searched to the end and better than the others.
static int atomicnode(int alpha, int beta, int depth, int ply, const int *epsquares, uint64_t key, int epflag,
                      int nullok) {
  if (depth <= 0) return atomicfullquiesce(alpha, beta, ply, 0, epsquares);
  if (enterfullnode(ply, key)) return 0;
  int root = ply == 1;
  int pvnode = beta - alpha > 1;
  if (!root) {
    if (isdrawnline(ply)) return 0;
    if (ply >= FULLMAXPLY) return atomiceval((ply + 1) % 2);
    if (matewindow(&alpha, &beta, -(ATOMICWIN - ply - 1), ATOMICWIN - ply - 1)) return alpha;
  }
  int ttfrom = 0, ttto = 0, ttscore = 0;
  if (tableanswer(key, depth, alpha, beta, ply, ATOMICWIN, !pvnode && !root, &ttfrom, &ttto, &ttscore)) return ttscore;
  if (root && iterations >= 1) ttfrom = iterfrom[iterations], ttto = iterto[iterations];
  int incheck = atomicincheck(ply);
  int mating = ATOMICWIN - MATEMARGIN;
  if (!pvnode && !incheck && nullok && depth >= NULLMINDEPTH && beta < mating && beta > -mating &&
      atomicofficers(ply) > 0 && atomiceval((ply + 1) % 2) >= beta && atomicnullcut(beta, depth, ply, key, epflag, epsquares))
    return beta;

  int movefrom[MAXQMOVES], moveto[MAXQMOVES], order[MAXQMOVES];
  int count = atomicmoves(ply, epsquares, movefrom, moveto);
  if (root) rootmovecount = count;
  ordermoves(movefrom, moveto, count, ply, ttfrom, ttto, order);
  int startalpha = alpha;
  int best = -INFINITESCORE, bestfrom = 0, bestto = 0;
  int legal = 0;
  int quietmen[MAXQMOVES], quietto[MAXQMOVES];
  int quiets = 0;
  int childep[65] = {};
  int blastsave[65];
  for (int i = 1; i <= count; i++) {
    picknext(movefrom, moveto, order, i, count);
    atomicmove m = {movefrom[i], moveto[i], 0, 0, 0, 0, 0, 0};
    int man = board[m.from];
    moveundo undo;
    int childepflag = 0;
    uint64_t childkey = makeatomic(ply, &m, &undo, childep, blastsave, key, epflag, &childepflag);
    if (!atomicallowed(ply, &m)) {
      unmakeatomic(ply, &m, &undo, childep, blastsave);
      continue;
    }
    legal++;
    int capture = m.exploded;
    int checks = !m.decided && atomicincheck(ply + 1);
    int score;
    if (m.decided) {
      score = ATOMICWIN - ply - 1;  // the enemy king blown up: the game ends at once
    } else {
      lastto[ply] = m.to;
      enterchild(ply, childkey, capture || man == WPAWN || man == BPAWN);
      int newdepth = depth - 1 + (checks && ply < 2 * searchdepth ? 1 : 0);
      if (legal == 1) {
        score = -atomicnode(-beta, -alpha, newdepth, ply + 1, childep, childkey, childepflag, 1);
      } else {
        int late = depth >= LMRMINDEPTH && legal > LMRFIRSTMOVES && !capture && !checks && !incheck;
        int reduction = late ? latereduction(depth, legal, pvnode, newdepth) : 0;
        score = -atomicnode(-alpha - 1, -alpha, newdepth - reduction, ply + 1, childep, childkey, childepflag, 1);
        if (score > alpha && reduction > 0)
          score = -atomicnode(-alpha - 1, -alpha, newdepth, ply + 1, childep, childkey, childepflag, 1);
        if (score > alpha && score < beta)
          score = -atomicnode(-beta, -alpha, newdepth, ply + 1, childep, childkey, childepflag, 1);
      }
    }
    unmakeatomic(ply, &m, &undo, childep, blastsave);
    if (stopsearch) break;
    if (score > best) {
      best = score;
      if (score > alpha) {
        alpha = score;
        bestfrom = m.from, bestto = m.to;
        fullpvset(ply, m.from, m.to);
        if (root) finfrom = m.from, finto = m.to;
        if (score >= beta) {
          if (!capture) quietcutoff(ply, depth, m.from, m.to, man, quietmen, quietto, quiets, 0, 0);
          break;
        }
      }
    }
    if (!capture) quietmen[quiets] = man, quietto[quiets] = m.to, quiets++;
  }
  if (stopsearch) return root ? (bestfrom ? best : lastrootscore) : 0;
  if (legal == 0) return incheck ? -(ATOMICWIN - ply - 1) : 0;  // mated, or stalemate: a draw
  storenode(key, depth, best, startalpha, beta, ply, ATOMICWIN, bestfrom, bestto);
  return best;
}

// One iteration of the full-strength atomic search at the root on the game's en-passant markers,
// in the window alpha..beta. Leaves the best move in finfrom/finto and answers its score.
int atomicfullroot(int alpha, int beta, int depth, uint64_t key) {
  pathkey[1] = key;
  pathclock[1] = fiftycount;
  return atomicnode(alpha, beta, depth, 1, gameepsquares, key, rootepflag, 0);
}
