// Antichess move generation: pseudo-legal moves in which the king is an ordinary man (it may be
// captured, and a pawn may promote to one), check plays no part, and the compulsory capture is
// left to the search. Also capture picking and the root ordering of the antichess search.
#include "antichess/antichess.h"

#include "config/config.h"

// What differs between the two colours' generators.
struct antiside {
  int base;          // 0 for White, BLACKOFFSET for Black
  int forward;       // pawn step
  int hcapture;      // pawn capture toward the h-file
  int acapture;      // pawn capture toward the a-file
  int enemypawn;     // code of the enemy pawn (the marker en passant looks for)
  int *castleking, *castlea, *castleh;
};

static antiside sidefor(int white) {
  if (white) return {0, 8, 9, 7, BPAWN, &wcastleking, &wcastlea, &wcastleh};
  return {BLACKOFFSET, -8, -7, -9, WPAWN, &bcastleking, &bcastlea, &bcastleh};
}

// 1 when the man of the code belongs to the side of base.
static bool ownman(int code, int base) { return base == 0 ? iswhite(code) : isblack(code); }

// Appends one move.
static void addmove(int *from, int *to, int *promo, int *count, int f, int t, int p) {
  assert(*count < ANTIMAXMOVES - 1);
  (*count)++;
  from[*count] = f;
  to[*count] = t;
  promo[*count] = p;
}

// Appends a pawn move, once for every man it may become when it reaches the last rank: queen,
// rook, bishop, knight and, except in losers, king.
static void addpawnmove(int *from, int *to, int *promo, int *count, int f, int t, const antiside &s) {
  bool last = s.base == 0 ? t >= 57 : t <= 8;
  if (!last) {
    addmove(from, to, promo, count, f, t, 0);
    return;
  }
  static const int promotions[5] = {WQUEEN, WROOK, WBISHOP, WKNIGHT, WKING};
  int n = losersmode ? 4 : 5;
  for (int k = 0; k < n; k++) addmove(from, to, promo, count, f, t, promotions[k] + s.base);
}

static void pawnmoves(int *from, int *to, int *promo, int *count, int sq, const int *epsquares, const antiside &s) {
  int ahead = sq + s.forward;
  if (board[ahead] == EMPTY) {
    addpawnmove(from, to, promo, count, sq, ahead, s);
    bool home = s.base == 0 ? sq < 17 : sq > 48;
    if (home && board[ahead + s.forward] == EMPTY) addmove(from, to, promo, count, sq, ahead + s.forward, 0);
  }
  int enemypawn = s.enemypawn;
  if (!onhfile(sq)) {
    int t = sq + s.hcapture;
    if (board[t] != EMPTY && !ownman(board[t], s.base)) addpawnmove(from, to, promo, count, sq, t, s);
    if (epsquares[t] == enemypawn && board[sq + 1] == enemypawn) addmove(from, to, promo, count, sq, t, 0);
  }
  if (!onafile(sq)) {
    int t = sq + s.acapture;
    if (board[t] != EMPTY && !ownman(board[t], s.base)) addpawnmove(from, to, promo, count, sq, t, s);
    if (epsquares[t] == enemypawn && board[sq - 1] == enemypawn) addmove(from, to, promo, count, sq, t, 0);
  }
}

// Knight jumps in the generators' order, with the files a knight must be off for each.
static const int knightsteps[8] = {15, 17, 6, 10, -17, -15, -6, -10};

// 1 when the knight on sq may jump by step without leaving the board or wrapping round an edge.
static bool knightfits(int sq, int step) {
  int t = sq + step;
  if (t < 1 || t > 64) return false;
  int file = fileof(sq);
  switch (step) {
    case 15: case -17: return file >= 1;
    case 17: case -15: return file <= 6;
    case 6: case -10: return file >= 2;
    default: return file <= 5;  // +10, -6
  }
}

static void knightmoves(int *from, int *to, int *promo, int *count, int sq, int base) {
  for (int step : knightsteps) {
    if (!knightfits(sq, step)) continue;
    int t = sq + step;
    if (!ownman(board[t], base)) addmove(from, to, promo, count, sq, t, 0);
  }
}

// Slides along one ray table up to an own man (not added) or a capture (added, then stop).
static void slide(int *from, int *to, int *promo, int *count, int sq, const int *ray, int base) {
  int step = ray[0];
  int t = sq;
  for (int i = ray[sq]; i > 0; i--) {
    t += step;
    if (ownman(board[t], base)) return;
    addmove(from, to, promo, count, sq, t, 0);
    if (board[t] != EMPTY) return;
  }
}

static void diagonalmoves(int *from, int *to, int *promo, int *count, int sq, int base) {
  slide(from, to, promo, count, sq, rayupright, base);
  slide(from, to, promo, count, sq, rayupleft, base);
  slide(from, to, promo, count, sq, raydownright, base);
  slide(from, to, promo, count, sq, raydownleft, base);
}

static void straightmoves(int *from, int *to, int *promo, int *count, int sq, int base) {
  slide(from, to, promo, count, sq, rayup, base);
  slide(from, to, promo, count, sq, raydown, base);
  slide(from, to, promo, count, sq, rayright, base);
  slide(from, to, promo, count, sq, rayleft, base);
}

static void kingmoves(int *from, int *to, int *promo, int *count, int sq, int base) {
  static const int *const rays[8] = {rayup, rayupright, rayupleft, rayright, rayleft, raydownright, raydownleft, raydown};
  for (const int *ray : rays) {
    if (ray[sq] == 0) continue;
    int t = sq + ray[0];
    if (!ownman(board[t], base)) addmove(from, to, promo, count, sq, t, 0);
  }
}

// 1 when a king of the mover's colour would be attacked on sq (placed there for the test).
static bool kingattackedon(int sq, int king) {
  int kept = board[sq];
  board[sq] = king;
  int attacked = isattacked(sq);
  board[sq] = kept;
  return attacked;
}

// 1 when castling from the king's square by step (-1 toward the a-file, +1 toward the h-file)
// would start in, cross or end on an attacked square.
static bool castlingattacked(int king, int step, int code) {
  return kingattackedon(king, code) || kingattackedon(king + step, code) || kingattackedon(king + 2 * step, code);
}

// Castling from the king's castling square, after its steps: never in suicide; in losers and
// under the server's rules not out of, across or into an attack.
static void castlingmoves(int *from, int *to, int *promo, int *count, int sq, const antiside &s) {
  if (suicidemode && !losersmode) return;
  if (*s.castleking != sq) return;
  int rook = WROOK + s.base;
  int king = WKING + s.base;
  bool tested = ficsrules || losersmode;
  if (*s.castlea && board[*s.castlea] == rook && sq - 3 >= 1 && board[sq - 1] == EMPTY && board[sq - 2] == EMPTY &&
      (board[sq - 3] == EMPTY || onafile(sq - 3)) && !(tested && castlingattacked(sq, -1, king)))
    addmove(from, to, promo, count, sq, sq - 2, 0);
  if (*s.castleh && board[*s.castleh] == rook && sq + 3 <= 64 && board[sq + 1] == EMPTY && board[sq + 2] == EMPTY &&
      (board[sq + 3] == EMPTY || onhfile(sq + 3)) && !(tested && castlingattacked(sq, 1, king)))
    addmove(from, to, promo, count, sq, sq + 2, 0);
}

// The pseudo-legal moves of one colour, scanning squares 1..64 and each man's moves in a fixed
// order: pawn, knight, diagonal then straight slides, king steps, castling.
static void antigen(int white, int *from, int *to, int *promo, int *count, const int *epsquares) {
  assert(from && to && promo && count && epsquares);
  antiside s = sidefor(white);
  for (int sq = 1; sq <= 64; sq++) {
    int code = board[sq];
    if (!ownman(code, s.base)) continue;
    switch (code - s.base) {
      case WPAWN: pawnmoves(from, to, promo, count, sq, epsquares, s); break;
      case WKNIGHT: knightmoves(from, to, promo, count, sq, s.base); break;
      case WBISHOP: diagonalmoves(from, to, promo, count, sq, s.base); break;
      case WROOK: straightmoves(from, to, promo, count, sq, s.base); break;
      case WQUEEN:
        diagonalmoves(from, to, promo, count, sq, s.base);
        straightmoves(from, to, promo, count, sq, s.base);
        break;
      default:
        kingmoves(from, to, promo, count, sq, s.base);
        castlingmoves(from, to, promo, count, sq, s);
        break;
    }
  }
}

// White's moves appended to the list.
void antigenwhite(int *from, int *to, int *promo, int *count, const int *epsquares) {
  antigen(1, from, to, promo, count, epsquares);
}

// Black's moves appended to the list.
void antigenblack(int *from, int *to, int *promo, int *count, const int *epsquares) {
  antigen(0, from, to, promo, count, epsquares);
}

// The moves of the side to move at ply (White on odd plies) into an empty list.
void antigenerate(int ply, int *from, int *to, int *promo, int *count, const int *epsquares) {
  *count = 0;
  if (ply % 2 == 1) antigenwhite(from, to, promo, count, epsquares);
  else antigenblack(from, to, promo, count, epsquares);
}

// 1 when the move takes a man: its target is occupied, or a pawn moves to another file (en passant).
int iscapture(int from, int to) {
  if (board[to] != EMPTY) return 1;
  int man = board[from];
  return (man == WPAWN || man == BPAWN) && fileof(from) != fileof(to);
}

static void swapentries(int *from, int *to, int *promo, int a, int b) {
  int f = from[a], t = to[a], p = promo[a];
  from[a] = from[b];
  to[a] = to[b];
  promo[a] = promo[b];
  from[b] = f;
  to[b] = t;
  promo[b] = p;
}

// Brings the capture of the most valuable man among entries p..count to entry p (ranked by piece
// code: king, queen, rook, bishop, knight, pawn; the first of equals stays in front). An en-passant
// capture ranks as a pawn capture but never displaces an ordinary capture already found. Returns
// 1 when entries p..count hold a capture.
int pickcapture(int *from, int *to, int *promo, int p, int count) {
  int best = 0;
  int found = 0;
  for (int k = p; k <= count; k++) {
    int victim = board[to[k]];
    int man = board[from[k]];
    bool enpassant = victim == EMPTY && (man == WPAWN || man == BPAWN) && fileof(from[k]) != fileof(to[k]);
    if (victim > best || (enpassant && best == 0)) {
      swapentries(from, to, promo, k, p);
      best = enpassant ? (man == WPAWN ? BPAWN : WPAWN) : victim;
      found = 1;
    }
  }
  return found;
}

// Brings the best moves of the earlier iterations to the front of the root list, oldest first, so
// that the latest best ends up first. A stored move must match in its promotion too; when several
// entries match, the last one is taken.
void antirootorder(int *from, int *to, int *promo, int count) {
  int last = iterations < MAXITERATIONS ? iterations : MAXITERATIONS - 1;
  for (int k = 1; k <= last; k++) {
    if (count >= 1 && from[1] == iterfrom[k] && to[1] == iterto[k] && promo[1] == iterpromo[k]) continue;
    int j = 0;
    for (int i = 2; i <= count; i++)
      if (from[i] == iterfrom[k] && to[i] == iterto[k] && promo[i] == iterpromo[k]) j = i;
    if (j == 0) continue;
    int f = from[j], t = to[j], p = promo[j];
    for (int m = j; m > 1; m--) {
      from[m] = from[m - 1];
      to[m] = to[m - 1];
      promo[m] = promo[m - 1];
    }
    from[1] = f;
    to[1] = t;
    promo[1] = p;
  }
}
