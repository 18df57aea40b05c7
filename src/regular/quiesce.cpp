// The regular engine's quiescence search: stand pat on the evaluation, then captures and
// promotions that survive a material test, checking moves too in 3check. The material test is a
// static exchange evaluation over every order of captures on the square.
#include "regular/regular.h"

#include "config/config.h"

constexpr int SEEKING = 7500;          // exchange value of a king: capturing one ends everything
constexpr int PROMOTIONMARGIN = 1050;  // a promotion is worth searching while best is below stand pat + this
constexpr int DELTAMARGIN = 50;        // slack of the material tests against the best score so far

const int seevalue[13] = {0, 100, 325, 325, 550, 950, SEEKING, 100, 325, 325, 550, 950, SEEKING};
long long seecount = 0;

// Markers of a quiescence child: quiescence never makes a double step that matters.
static const int noepsquares[65] = {};

// The square of the pawn an en-passant capture from -> to takes (a pawn moving diagonally onto an
// empty square), else 0.
static int enpassantvictim(int from, int to) {
  int man = board[from];
  if ((man != WPAWN && man != BPAWN) || board[to] != EMPTY || fileof(from) == fileof(to)) return 0;
  return man == WPAWN ? to - 8 : to + 8;
}

// 1 when the move from -> to is a pawn's step onto its last rank.
static bool promotes(int from, int to) {
  return (board[from] == WPAWN && to >= 57) || (board[from] == BPAWN && to <= 8);
}

// Square of the mover's king after a quiescence move to `to`: the king's new square when it
// moved, else the first king of that code on the board (quiescence does not keep the king squares).
static int kingof(int king, int to) { return board[to] == king ? to : findman(king); }

// Appends the capture from -> sq to an attacker list as entry n + 1; answers the new count.
static inline int addattacker(int *fromlist, int *tolist, int n, int from, int sq) {
  assert(n < SEEMAXATTACKERS - 1);
  fromlist[n + 1] = from;
  tolist[n + 1] = sq;
  return n + 1;
}

// The first occupied square along one ray from sq (length[sq] squares of the given step), 0 when
// the ray reaches the edge first. The step is a constant at each call.
static inline int firstmanalong(int sq, const int *length, int step) {
  int t = sq;
  for (int left = length[sq]; left > 0; left--) {
    t += step;
    if (board[t] > 0) return t;
  }
  return 0;
}

// Appends the slider on the first occupied square along the ray when it is one of the two codes.
static inline int addslider(int *fromlist, int *tolist, int n, int sq, const int *length, int step, int slider,
                            int queen) {
  int t = firstmanalong(sq, length, step);
  if (t && (board[t] == slider || board[t] == queen)) n = addattacker(fromlist, tolist, n, t, sq);
  return n;
}

// Appends to the list every capture onto sq by the colour that attacks the man there (White when
// a black man stands on sq, Black otherwise): pawns, knights, sliders (first man on each ray),
// then the king. The count is kept in a local while the list is written.
void attackersof(int sq, int *fromlist, int *tolist, int *count) {
  assert(sq >= 1 && sq <= 64);
  int n = *count;
  int base = isblack(board[sq]) ? 0 : BLACKOFFSET;
  if (base == 0) {
    if (sq >= 8 && !onhfile(sq) && board[sq - 7] == WPAWN) n = addattacker(fromlist, tolist, n, sq - 7, sq);
    if (sq >= 10 && !onafile(sq) && board[sq - 9] == WPAWN) n = addattacker(fromlist, tolist, n, sq - 9, sq);
  } else {
    if (!onafile(sq) && sq + 7 <= 64 && board[sq + 7] == BPAWN) n = addattacker(fromlist, tolist, n, sq + 7, sq);
    if (!onhfile(sq) && sq + 9 <= 64 && board[sq + 9] == BPAWN) n = addattacker(fromlist, tolist, n, sq + 9, sq);
  }
  int knight = base + WKNIGHT;
  for (const unsigned char *t = knightjumps[sq]; *t; t++)
    if (board[*t] == knight) n = addattacker(fromlist, tolist, n, *t, sq);
  int bishop = base + WBISHOP, rook = base + WROOK, queen = base + WQUEEN;
  n = addslider(fromlist, tolist, n, sq, rayupright, 9, bishop, queen);
  n = addslider(fromlist, tolist, n, sq, rayupleft, 7, bishop, queen);
  n = addslider(fromlist, tolist, n, sq, raydownright, -7, bishop, queen);
  n = addslider(fromlist, tolist, n, sq, raydownleft, -9, bishop, queen);
  n = addslider(fromlist, tolist, n, sq, rayup, 8, rook, queen);
  n = addslider(fromlist, tolist, n, sq, raydown, -8, rook, queen);
  n = addslider(fromlist, tolist, n, sq, rayright, 1, rook, queen);
  n = addslider(fromlist, tolist, n, sq, rayleft, -1, rook, queen);
  int king = base + WKING;
  if (sq <= 56 && board[sq + 8] == king) n = addattacker(fromlist, tolist, n, sq + 8, sq);
  if (sq <= 55 && !onhfile(sq) && board[sq + 9] == king) n = addattacker(fromlist, tolist, n, sq + 9, sq);
  if (sq <= 57 && !onafile(sq) && board[sq + 7] == king) n = addattacker(fromlist, tolist, n, sq + 7, sq);
  if (sq <= 63 && !onhfile(sq) && board[sq + 1] == king) n = addattacker(fromlist, tolist, n, sq + 1, sq);
  if (sq >= 2 && !onafile(sq) && board[sq - 1] == king) n = addattacker(fromlist, tolist, n, sq - 1, sq);
  if (sq >= 8 && !onhfile(sq) && board[sq - 7] == king) n = addattacker(fromlist, tolist, n, sq - 7, sq);
  if (sq >= 10 && !onafile(sq) && board[sq - 9] == king) n = addattacker(fromlist, tolist, n, sq - 9, sq);
  if (sq >= 9 && board[sq - 8] == king) n = addattacker(fromlist, tolist, n, sq - 8, sq);
  *count = n;
}

// The best material the side attacking sq can win there, recaptures included, trying every
// capture in every order (not capturing is always allowed, so never below 0). A king that can
// be taken makes it 7500.
int seegain(int sq) {
  assert(sq >= 1 && sq <= 64);
  seecount++;
  int fromlist[SEEMAXATTACKERS];
  int tolist[SEEMAXATTACKERS];
  int count = 0;
  attackersof(sq, fromlist, tolist, &count);
  int result = 0;
  for (int i = 1; i <= count; i++) {
    int from = fromlist[i];
    int captured = board[sq];
    if (captured == WKING || captured == BKING) return SEEKING;
    board[sq] = board[from];
    board[from] = EMPTY;
    if (captured > 0) {
      int g = seevalue[captured] - seegain(sq);
      if (g > result) result = g;
    }
    board[from] = board[sq];
    board[sq] = captured;
  }
  return result;
}

// Quiescence search at ply (White on odd plies) with qdepth 0, -1, ... below the main search.
// Stands pat on the evaluation; searches promotions while they can still matter, captures that
// do not lose material in the exchange and can reach the best score, and in 3check checking
// moves. Moves are made on the board only (pawns promote to queens); the key is passed on as it
// is and the hands only feed the crazyhouse evaluation. A captured king scores 15000 - ply, and
// so does a third check.
int qsearch(int alpha, int beta, int qdepth, int ply, const int *epsquares, int innull, uint64_t key, int *wheld,
            int *bheld) {
  assert(alpha < beta);
  assert(ply >= 1 && ply < MAXPLY);
  assert(qdepth <= 0);
  nodes++;
  qnodes++;
  stopcheck();
  if (stopsearch) return 0;
  if (alpha != ROOTALPHA && beta != ROOTBETA && innull == 0 && qdepth == 0) {
    int probe = probehash(key, 0, alpha, beta, ply, 0);
    if (probe != PROBEMISS) return probe;
  }
  int standpat = crazymode ? evaluatecrazy((ply + 1) % 2, wheld, bheld) : evaluate((ply + 1) % 2);
  if (standpat >= beta) return beta;
  int best = standpat > alpha ? standpat : alpha;

  int movefrom[MAXQMOVES];
  int moveto[MAXQMOVES];
  int count = 0;
  int white = ply % 2;
  if (white)
    genwhite(movefrom, moveto, &count, ply, epsquares, 1, wheld);
  else
    genblack(movefrom, moveto, &count, ply, epsquares, 1, bheld);
  assert(count < MAXQMOVES);
  int movescore[MAXQMOVES];
  int firstpick = scoremoves(movefrom, moveto, 1, count, ply, movescore);
  int oppking = opponentking(ply);
  int oppkingcode = white ? BKING : WKING;
  int picking = pickentry(movefrom, moveto, movescore, 1, firstpick);  // the scoring found the first pick
  int kingwassafe = -1;
  for (int i = 1; i <= count; i++) {
    if (picking && i > 1) picking = pickmove(movefrom, moveto, movescore, count, i);
    int from = movefrom[i];
    int to = moveto[i];
    assert(from > 0);  // drops are switched off by the callers
    lastto[ply] = to;
    int promoted = promotes(from, to);
    int epsquare = enpassantvictim(from, to);
    // A quiet move that does not promote is never searched here, and outside 3check (where it
    // may give check) nothing else looks at it: it is not even made.
    if (!threecheckmode && board[to] == EMPTY && !promoted && !epsquare) continue;
    if (threecheckmode) askkingsafe(&kingwassafe, oppking, oppkingcode, to);
    if (promoted) board[from] = white ? WQUEEN : BQUEEN;
    int captured = board[to];
    if (epsquare) {
      captured = board[epsquare];
      board[epsquare] = EMPTY;
    }
    board[to] = board[from];
    board[from] = EMPTY;

    int searchit = 0;
    if (captured > 0 || promoted) {
      int chosen = promoted && best < standpat + PROMOTIONMARGIN;
      if (standpat + seevalue[captured] < best - DELTAMARGIN) {
        chosen = 0;
      } else if (!chosen && captured > 0) {
        int g = seevalue[captured] - seegain(to);
        chosen = g >= 0 && standpat + g >= best - DELTAMARGIN;
      }
      searchit = chosen;
    }
    int checked = 0;
    int thirdcheck = 0;
    if (threecheckmode && checkafter(kingwassafe, oppking, from, to, !epsquare)) {
      checked = 1;
      int given = white ? ++topc : ++topp;
      searchit = 1;
      int king = kingof(white ? WKING : BKING, to);
      if (given >= THREECHECKS && (king == 0 || (!isattacked(king) && !isbeside(king, oppkingcode)))) thirdcheck = 1;
    }
    int kingtaken = (to == oppking && captured == oppkingcode && !epsquare);
    int score = best;
    int searched = 0;
    if (searchit && !stopsearch && !kingtaken && !thirdcheck) {
      score = -qsearch(-beta, -best, qdepth - 1, ply + 1, noepsquares, innull, key, wheld, bheld);
      searched = 1;
    }

    board[from] = board[to];
    if (promoted) board[from] = white ? WPAWN : BPAWN;
    if (epsquare) {
      board[epsquare] = captured;
      board[to] = EMPTY;
    } else {
      board[to] = captured;
    }
    if (checked) {
      if (white)
        topc--;
      else
        topp--;
    }

    if (kingtaken || thirdcheck) return KINGSCORE - ply;
    if (searched && score > best) best = score;
    if (searched && score >= beta) {
      cutoffs++;
      return beta;
    }
  }
  return best;
}
