// The regular engine's full-strength search: principal-variation search over legal moves with the
// table written and read, null move (verified where zugzwang is likely), late-move reductions,
// futility pruning, check extensions, history, killers and counter moves for the quiet moves, the
// exchange evaluation for the captures, and draws by repetition, the fifty moves and stalemate
// inside the tree. Its quiescence searches captures and promotions (all evasions in check, and
// checks on its first ply in 3check). A side to move at ply p that is mated scores
// -(15000 - p - 1), so that a mate given by the root move is 14997 as in the default search.
#include "regular/regular.h"

#include "config/config.h"

#include <cstring>

constexpr int INFINITESCORE = 30000;   // beyond every score of the search
constexpr int TTMOVEORDER = 1 << 30;   // ordering value of the table's move
constexpr int GOODCAPTURE = 1 << 24;   // captures and promotions that do not lose material
constexpr int KILLER1ORDER = 1 << 23;
constexpr int KILLER2ORDER = (1 << 23) - 1;
constexpr int COUNTERORDER = (1 << 23) - 2;
constexpr int BADCAPTURE = -(1 << 24);  // captures that lose material in the exchange
constexpr int NULLMINDEPTH = 3;        // the null move is tried from this depth on
constexpr int NULLBASEREDUCTION = 3;   // it searches depth - 1 - (3 + depth / 6)
constexpr int NULLDEPTHSTEP = 6;
constexpr int FUTILITYDEPTH = 3;       // quiet moves near the leaves are pruned below alpha - margin
constexpr int FUTILITYBASE = 100;
constexpr int FUTILITYSTEP = 120;
constexpr int REVERSEDEPTH = 4;        // a node this near the leaves whose evaluation beats beta by a margin stands
constexpr int REVERSESTEP = 110;
constexpr int LMRMINDEPTH = 3;         // late quiet moves are reduced from this depth on
constexpr int LMRFIRSTMOVES = 3;       // after this many legal moves
constexpr int DELTAMARGIN = 150;       // a capture that cannot lift the stand pat near alpha is not searched
constexpr int ZUGZWANGMEN = 2;         // with at most this many men besides pawns the null move is verified

// Ordering values of the men for captures (victims and attackers) by piece code.
static const int ordervalue[13] = {0, 100, 320, 330, 500, 900, 2000, 100, 320, 330, 500, 900, 2000};

// The game's hands and pawn-born lists as the search changes them; copied in at every root.
static int fwh[HANDSLOTS], fbh[HANDSLOTS], fwp[PAWNBORNSLOTS], fbp[PAWNBORNSLOTS];
static const int noep[65] = {};
static int moveman[MAXPLY];            // man that moved at each ply of the line (0 for a null move)
static int movedto[MAXPLY];            // and its to-square
static int givencheck[MAXPLY];         // 1 when the move into ply checked, 0 when not, -1 not known

// Square of the royal king of the side to move at ply (White on odd plies), 0 when it has none.
static int ownking(int ply) {
  int code = ply % 2 ? WKING : BKING;
  int sq = twokingsmode ? firstking(code) : (code == WKING ? ownkingsq : oppkingsq);
  return sq >= 1 && board[sq] == code ? sq : 0;
}

// 1 when the side to move at ply is in check.
static int inchecknow(int ply) {
  int king = ownking(ply);
  return king && isattacked(king);
}

// The same at a node's entry: the move into it may have answered already.
static int incheckat(int ply) {
  return givencheck[ply] >= 0 ? givencheck[ply] : inchecknow(ply);
}

// 1 when the move from -> to, about to be made, moves one man only and not a king (no castling,
// no en passant), outside twokings, where the royal king may change with a move: after it, only
// the lines through its two squares can have changed a king's safety.
static int onemanmove(int from, int to) {
  if (twokingsmode) return 0;
  if (from < 0) return 1;  // a drop
  int man = board[from];
  if (man == WKING || man == BKING) return 0;
  return !((man == WPAWN || man == BPAWN) && board[to] == EMPTY && fileof(from) != fileof(to));
}

// The evaluation for the side to move at ply.
static int evalnow(int ply) {
  return crazymode ? evaluatecrazy((ply + 1) % 2, fwh, fbh) : evaluate((ply + 1) % 2);
}

// The man that a move moves (a drop: the dropped man).
static int moverof(int from) { return from < 0 ? -from : board[from]; }

// The moves of the side on move at ply (white codes on odd plies) with the search's own hands;
// skipcastle leaves castling out.
static void generateat(int ply, int *movefrom, int *moveto, int *count, const int *epsquares, int skipcastle) {
  if (ply % 2)
    genwhite(movefrom, moveto, count, ply, epsquares, skipcastle, fwh);
  else
    genblack(movefrom, moveto, count, ply, epsquares, skipcastle, fbh);
}

// Makes from-to at ply with the search's own hands and lists; a move that leaves the mover's king
// to be taken is taken back at once. Answers 1 when the move stands on the board. Out of check, a
// one-man move (onemanmove) can only have exposed the king along the line through its from-square;
// the kings cannot stand side by side before it, since no position or move may put them there.
static int makelegal(int ply, int from, int to, int *childep, moveundo *undo, int incheck, int oneman) {
  makemove(ply, from, to, 0, childep, undo, fwh, fbh, fwp, fbp);
  int king = incheck || !oneman ? 0 : ownking(ply);
  int legal = king ? !attackedafter(king, from, to) : regularlegal(ply);
  if (legal) return 1;
  unmakemove(ply, childep, undo, fwh, fbh, fwp, fbp);
  return 0;
}

// After a move made at ply: 1 when it checks the opponent's king, on oppking before the move.
// oppsafe is 1 when that king was known safe before it, so that a one-man move is tested along
// its lines only.
static int checksafter(int ply, int from, int to, int oppking, int oppsafe, int oneman) {
  if (oppsafe == 1 && oneman && oppking && to != oppking) return attackedafter(oppking, from, to);
  return inchecknow(ply + 1);
}

// 1 when the opponent's king of the side to move at ply is not attacked (or there is none).
static int oppkingsafe(int ply) {
  int king = ownking(ply + 1);
  return !king || !isattacked(king);
}

// 1 when the man moving to the square is a pawn that promotes there.
static int promotes(int man, int to) { return (man == WPAWN && to > 56) || (man == BPAWN && to < 9); }

// 1 when the move takes a man (en passant included) or promotes a pawn.
static int noisy(int from, int to) {
  if (from < 0) return 0;
  int man = board[from];
  if (board[to] != EMPTY) return 1;
  if (man == WPAWN) return to > 56 || fileof(from) != fileof(to);
  if (man == BPAWN) return to < 9 || fileof(from) != fileof(to);
  return 0;
}

// What the move wins in material when the exchange on its square is played out: the victim less
// what the other side then wins there.
static int capturesee(int from, int to) {
  int victim = board[to];
  int mover = board[from];
  board[to] = mover;
  board[from] = EMPTY;
  int gain = seevalue[victim] - seegain(to);
  board[from] = mover;
  board[to] = victim;
  return gain;
}

// Orders the node's moves by value: the table's move, captures that hold their material by victim
// and attacker, the killers and the counter move, the quiet moves by history, losing captures last.
// A capture by a man worth more than its victim is ordered as holding its material until it is
// picked (picksettled), where its exchange is played out.
static void ordermoves(const int *movefrom, const int *moveto, int count, int ply, int ttfrom, int ttto,
                       int *order) {
  int prevman = moveman[ply - 1 >= 0 ? ply - 1 : 0];
  int prevto = movedto[ply - 1 >= 0 ? ply - 1 : 0];
  for (int i = 1; i <= count; i++) {
    int from = movefrom[i], to = moveto[i];
    int man = moverof(from);
    if (from == ttfrom && to == ttto) {
      order[i] = TTMOVEORDER;
    } else if (noisy(from, to)) {
      int victim = ordervalue[board[to]];
      int promote = promotes(man, to) ? ordervalue[WQUEEN] : 0;
      order[i] = GOODCAPTURE + 8 * (victim + promote) - ordervalue[man] / 100;
    } else if (from == killer1from[ply] && to == killer1to[ply]) {
      order[i] = KILLER1ORDER;
    } else if (from == killer2from[ply] && to == killer2to[ply]) {
      order[i] = KILLER2ORDER;
    } else if (prevman && counterfrom[prevman][prevto] == man && counterto[prevman][prevto] == to) {
      order[i] = COUNTERORDER;
    } else {
      order[i] = historyscore[man][to];
    }
  }
}

// 1 when the move, ordered by ordermoves as a capture that holds its material, still has its
// exchange to be played out: a capture (no promotion) by a man worth more than its victim.
static int unsettled(int from, int to, int order) {
  if (order < GOODCAPTURE - ordervalue[WKING] / 100 || order >= TTMOVEORDER || from < 0) return 0;
  int man = board[from];
  return !promotes(man, to) && ordervalue[board[to]] < ordervalue[man];
}

// picknext for ordermoves' lists: an unsettled capture that would come next has its exchange
// played out first, and one that loses material goes among the losing captures. The order is the
// one that every exchange played out beforehand would give, with fewer exchanges.
static void picksettled(int *movefrom, int *moveto, int *order, int i, int count) {
  int best = highestorder(order, i, count);
  while (unsettled(movefrom[best], moveto[best], order[best]) && capturesee(movefrom[best], moveto[best]) < 0) {
    order[best] += BADCAPTURE - GOODCAPTURE;
    best = highestorder(order, i, count);
  }
  swapmoves(movefrom, moveto, order, i, best);
}

// Men other than pawns and the king of the side to move at ply, hands included.
static int officers(int ply) {
  int white = ply % 2;
  int n = 0;
  for (int sq = 1; sq <= 64; sq++) {
    int man = board[sq];
    if (man == EMPTY || man == WPAWN || man == BPAWN || man == WKING || man == BKING) continue;
    if (iswhite(man) == (white == 1)) n++;
  }
  const int *hand = white ? fwh : fbh;
  if (crazymode)
    for (int i = 1; i < HANDSLOTS; i++) n += hand[i] > 0;
  return n;
}

// The 3check count after a checking move by the side at ply: raises it, and answers the index
// of the key's counter (0 for none); *won is set when this was the third check.
static int countcheck(int ply, int *won) {
  int white = ply % 2;
  int given = white ? ++topc : ++topp;
  *won = given >= THREECHECKS;
  if (given == 1 || given == 2) return white ? given : given + 2;
  return 0;
}

// Takes a 3check count back.
static void uncountcheck(int ply) {
  if (ply % 2)
    topc--;
  else
    topp--;
}

// Quiescence at ply: stands pat on the evaluation unless in check, then searches the captures
// and promotions that can matter (every legal move in check), in 3check also the checks on its
// first ply.
static int fullquiesce(int alpha, int beta, int ply, int qply, const int *epsquares) {
  nodes++;
  qnodes++;
  if (ply > maxsearchside) maxsearchside = ply;
  stopcheck();
  if (stopsearch) return 0;
  if (ply >= FULLMAXPLY) return evalnow(ply);
  int incheck = incheckat(ply);
  int best = -INFINITESCORE;
  int standpat = 0;
  if (!incheck) {
    standpat = evalnow(ply);
    if (standpat >= beta) return standpat;
    if (standpat > alpha) alpha = standpat;
    best = standpat;
  }
  int keepw = fwh[0], keepb = fbh[0];
  if (!incheck) fwh[0] = fbh[0] = NODROPS;
  int movefrom[MAXMOVES], moveto[MAXMOVES], order[MAXMOVES];
  int count = 0;
  generateat(ply, movefrom, moveto, &count, epsquares, 1);
  fwh[0] = keepw, fbh[0] = keepb;
  // Out of check only the captures and promotions are looked at (and in 3check the quiet moves
  // on the first ply, which may check): the others leave the list before it is ordered.
  if (!incheck && !(threecheckmode && qply == 0)) {
    int kept = 0;
    for (int i = 1; i <= count; i++)
      if (noisy(movefrom[i], moveto[i])) kept++, movefrom[kept] = movefrom[i], moveto[kept] = moveto[i];
    count = kept;
  }
  ordermoves(movefrom, moveto, count, ply, 0, 0, order);
  int legal = 0;
  int childep[65] = {};
  for (int i = 1; i <= count; i++) {
    picksettled(movefrom, moveto, order, i, count);
    int from = movefrom[i], to = moveto[i];
    int capture = noisy(from, to);
    if (!incheck) {
      if (!capture && !(threecheckmode && qply == 0)) continue;
      if (capture && order[i] < 0) continue;  // loses material in the exchange
      if (capture && standpat + seevalue[board[to]] + DELTAMARGIN < alpha && seevalue[board[to]] > 0 &&
          !promotes(board[from], to))
        continue;
    }
    moveundo undo;
    if (!makelegal(ply, from, to, childep, &undo, incheck, onemanmove(from, to))) continue;
    legal++;
    int checks = threecheckmode && inchecknow(ply + 1);
    givencheck[ply + 1] = threecheckmode ? checks : -1;
    if (!incheck && !capture && !checks) {
      unmakemove(ply, childep, &undo, fwh, fbh, fwp, fbp);
      continue;
    }
    int won = 0;
    if (checks) countcheck(ply, &won);
    int score = won ? KINGSCORE - ply - 2 : -fullquiesce(-beta, -alpha, ply + 1, qply + 1, childep);
    if (checks) uncountcheck(ply);
    unmakemove(ply, childep, &undo, fwh, fbh, fwp, fbp);
    if (stopsearch) return 0;
    if (score > best) {
      best = score;
      if (score > alpha) alpha = score;
      if (score >= beta) break;
    }
  }
  if (incheck && legal == 0) return -(KINGSCORE - ply - 1);
  return best;
}

static int fullnode(int alpha, int beta, int depth, int ply, const int *epsquares, uint64_t key, int epflag,
                    int nullok);

// The null move at ply: the side to move passes and the opponent searches with reduced depth. 1
// when it still fails high, checked by a search without a null move below when the side has so
// few men that passing may be its best move (zugzwang).
static int nullcutoff(int beta, int depth, int ply, uint64_t key, int epflag, const int *epsquares) {
  int reduction = NULLBASEREDUCTION + depth / NULLDEPTHSTEP;
  uint64_t nullkey = updatekey(key, 0, 0, 0, 1, 0, 0, 0, epflag, 0, 0, 0);
  moveman[ply] = movedto[ply] = 0;
  lastto[ply] = 0;
  givencheck[ply + 1] = -1;
  enterchild(ply, nullkey, 1);
  int score = -fullnode(-beta, -beta + 1, depth - 1 - reduction, ply + 1, noep, nullkey, 0, 0);
  if (stopsearch || score < beta) return 0;
  if (officers(ply) > ZUGZWANGMEN && !endgameflag) return 1;
  givencheck[ply] = 0;  // the null move is only tried out of check
  return fullnode(beta - 1, beta, depth - 1 - reduction, ply, epsquares, key, epflag, 0) >= beta;
}

// Searches the position at ply with the remaining depth in the window alpha..beta (White to move
// on odd plies) and answers its score. At the root (ply 1) the best move found so far stays in
// finfrom/finto: a move takes its place only once it was searched to the end and beat the others.
static int fullnode(int alpha, int beta, int depth, int ply, const int *epsquares, uint64_t key, int epflag,
                    int nullok) {
  if (depth <= 0) return fullquiesce(alpha, beta, ply, 0, epsquares);
  if (enterfullnode(ply, key)) return 0;
  int root = ply == 1;
  int pvnode = beta - alpha > 1;
  if (!root) {
    if (isdrawnline(ply)) return 0;
    if (ply >= FULLMAXPLY) return evalnow(ply);
    // No line from here can be better than a mate at the next move, or worse than being mated here.
    if (matewindow(&alpha, &beta, -(KINGSCORE - ply - 1), KINGSCORE - ply - 2)) return alpha;
  }
  int ttfrom = 0, ttto = 0, ttscore = 0;
  if (tableanswer(key, depth, alpha, beta, ply, KINGSCORE, !pvnode && !root, &ttfrom, &ttto, &ttscore)) return ttscore;
  if (root && iterations >= 1) ttfrom = iterfrom[iterations], ttto = iterto[iterations];
  int incheck = incheckat(ply);
  int staticeval = incheck ? -INFINITESCORE : evalnow(ply);
  int mating = KINGSCORE - MATEMARGIN;
  if (!pvnode && !incheck && depth <= REVERSEDEPTH && staticeval - REVERSESTEP * depth >= beta && beta < mating &&
      beta > -mating)
    return staticeval;
  if (!pvnode && !incheck && nullok && depth >= NULLMINDEPTH && staticeval >= beta && beta < mating &&
      beta > -mating && officers(ply) > 0 && nullcutoff(beta, depth, ply, key, epflag, epsquares))
    return beta;

  int movefrom[MAXMOVES], moveto[MAXMOVES], order[MAXMOVES];
  int count = 0;
  generateat(ply, movefrom, moveto, &count, epsquares, 0);
  if (root) rootmovecount = count;
  ordermoves(movefrom, moveto, count, ply, ttfrom, ttto, order);
  int startalpha = alpha;
  int best = -INFINITESCORE, bestfrom = 0, bestto = 0;
  int legal = 0;
  int quietmen[MAXMOVES], quietto[MAXMOVES];
  int quiets = 0;
  int childep[65] = {};
  int oppking = ownking(ply + 1), oppsafe = -1;
  for (int i = 1; i <= count; i++) {
    picksettled(movefrom, moveto, order, i, count);
    int from = movefrom[i], to = moveto[i];
    int man = moverof(from);
    int capture = noisy(from, to);
    int oneman = onemanmove(from, to);
    if (oneman && oppsafe < 0) oppsafe = oppkingsafe(ply);
    moveundo undo;
    if (!makelegal(ply, from, to, childep, &undo, incheck, oneman)) continue;
    legal++;
    int checks = checksafter(ply, from, to, oppking, oppsafe, oneman);
    givencheck[ply + 1] = checks;
    int won = 0;
    int checkindex = threecheckmode && checks ? countcheck(ply, &won) : 0;
    int newep = from > 0 ? doublestepbeside(from, to) : 0;
    uint64_t newkey = keyaftermove(key, &undo, epflag, newep, checkindex, fwh, fbh);
    int killer = (from == killer1from[ply] && to == killer1to[ply]) || (from == killer2from[ply] && to == killer2to[ply]);
    int quiet = !capture && !checks && !killer;
    int score;
    if (won) {
      score = KINGSCORE - ply - 2;
    } else if (!root && !pvnode && !incheck && quiet && legal > 1 && depth <= FUTILITYDEPTH &&
               staticeval + FUTILITYBASE + FUTILITYSTEP * depth <= alpha) {
      score = -INFINITESCORE;  // cannot reach alpha: pruned
    } else {
      moveman[ply] = man;
      movedto[ply] = to;
      lastto[ply] = to;
      enterchild(ply, newkey, capture || man == WPAWN || man == BPAWN);
      int extension = checks && ply < 2 * searchdepth ? 1 : 0;
      int newdepth = depth - 1 + extension;
      if (legal == 1) {
        score = -fullnode(-beta, -alpha, newdepth, ply + 1, childep, newkey, newep, 1);
      } else {
        int late = depth >= LMRMINDEPTH && legal > LMRFIRSTMOVES && quiet && !incheck;
        int reduction = late ? latereduction(depth, legal, pvnode, newdepth) : 0;
        score = -fullnode(-alpha - 1, -alpha, newdepth - reduction, ply + 1, childep, newkey, newep, 1);
        if (score > alpha && reduction > 0)
          score = -fullnode(-alpha - 1, -alpha, newdepth, ply + 1, childep, newkey, newep, 1);
        if (score > alpha && score < beta)
          score = -fullnode(-beta, -alpha, newdepth, ply + 1, childep, newkey, newep, 1);
      }
    }
    if (threecheckmode && checks) uncountcheck(ply);
    unmakemove(ply, childep, &undo, fwh, fbh, fwp, fbp);
    if (stopsearch) break;
    if (score > best) {
      best = score;
      if (score > alpha) {
        alpha = score;
        bestfrom = from, bestto = to;
        fullpvset(ply, from, to);
        if (root) finfrom = from, finto = to;
        if (score >= beta) {
          if (!capture) quietcutoff(ply, depth, from, to, man, quietmen, quietto, quiets, moveman[ply - 1], movedto[ply - 1]);
          break;
        }
      }
    }
    if (!capture) quietmen[quiets] = man, quietto[quiets] = to, quiets++;
  }
  if (stopsearch) return root ? (bestfrom ? best : lastrootscore) : 0;
  if (legal == 0) return incheck ? -(KINGSCORE - ply - 1) : 0;  // mated, or stalemate: a draw
  storenode(key, depth, best, startalpha, beta, ply, KINGSCORE, bestfrom, bestto);
  return best;
}

// One iteration of the full-strength search at the root on the game's hands, pawn-born lists and
// en-passant markers, in the window alpha..beta. Leaves the best move in finfrom/finto and
// answers its score.
int regularfullroot(int alpha, int beta, int depth, uint64_t key) {
  memcpy(fwh, gamewheld, sizeof fwh);
  memcpy(fbh, gamebheld, sizeof fbh);
  memcpy(fwp, gamewpieces, sizeof fwp);
  memcpy(fbp, gamebpieces, sizeof fbp);
  fwh[0] = fbh[0] = 0;
  moveman[0] = movedto[0] = 0;
  givencheck[1] = -1;
  pathkey[1] = key;
  pathclock[1] = fiftycount;
  return fullnode(alpha, beta, depth, 1, gameepsquares, key, rootepflag, 0);
}
