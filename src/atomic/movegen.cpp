// The atomic engine's move generators: every board move of one colour in a fixed order, king
// captures included (the search throws them out), no drops, and castling that looks at attacks only
// under the chess server's rules. And the move picker of the atomic searches.
#include "atomic/atomic.h"

#include "config/config.h"

// The colour a generator lists moves for.
struct atomicside {
  int low, high;            // the colour's codes
  int pawnstep;             // +8 for White, -8 for Black
  int enemypawn;            // the other colour's pawn, also the marker its double step leaves
  int rook, king;
  int castleking, castlea, castleh;
};

// A step of a knight or king: the square offset and the change of file it makes (for the edges).
struct leap {
  int offset, files;
};
static const leap knightleaps[8] = {{15, -1}, {17, 1}, {6, -2}, {10, 2}, {-17, -1}, {-15, 1}, {-6, 2}, {-10, -2}};
static const leap kingleaps[8] = {{8, 0}, {9, 1}, {7, -1}, {1, 1}, {-1, -1}, {-7, 1}, {-9, -1}, {-8, 0}};

static inline void append(int *movefrom, int *moveto, int *count, int from, int to) {
  assert(*count < MAXMOVES - 1);
  ++*count;
  movefrom[*count] = from;
  moveto[*count] = to;
}

// 1 when the man belongs to the other colour.
static inline int hostile(int man, const atomicside &side) { return man != EMPTY && (man < side.low || man > side.high); }

// The square a leap from s reaches, or 0 when it leaves the board.
static inline int leapto(int s, const leap &l) {
  int t = s + l.offset;
  int file = fileof(s) + l.files;
  return t >= 1 && t <= 64 && file >= 0 && file <= 7 ? t : 0;
}

static void leaps(int *movefrom, int *moveto, int *count, int s, const leap *table, const atomicside &side) {
  for (int k = 0; k < 8; k++) {
    int t = leapto(s, table[k]);
    if (t && (board[t] == EMPTY || hostile(board[t], side))) append(movefrom, moveto, count, s, t);
  }
}

// Slides along each ray in turn until the edge, an own man, or a capture.
static void slides(int *movefrom, int *moveto, int *count, int s, const int *const *rays, const atomicside &side) {
  for (int r = 0; r < 4; r++) {
    const int *ray = rays[r];
    for (int i = 1, t = s + ray[0]; i <= ray[s]; i++, t += ray[0]) {
      if (board[t] == EMPTY) {
        append(movefrom, moveto, count, s, t);
      } else {
        if (hostile(board[t], side)) append(movefrom, moveto, count, s, t);
        break;
      }
    }
  }
}

// Pawn moves: one step, two steps from the home rank, then towards the h-file the capture and en
// passant, then towards the a-file the same. A step to the last rank is listed as any step.
static void pawnmoves(int *movefrom, int *moveto, int *count, int s, const int *epsquares, const atomicside &side) {
  int step = side.pawnstep;
  int ahead = s + step;
  if (ahead < 1 || ahead > 64) return;
  if (board[ahead] == EMPTY) {
    append(movefrom, moveto, count, s, ahead);
    int home = step > 0 ? s <= 16 : s >= 49;
    if (home && board[ahead + step] == EMPTY) append(movefrom, moveto, count, s, ahead + step);
  }
  if (!onhfile(s)) {
    int t = ahead + 1;
    if (hostile(board[t], side)) append(movefrom, moveto, count, s, t);
    if (epsquares[t] == side.enemypawn && board[s + 1] == side.enemypawn) append(movefrom, moveto, count, s, t);
  }
  if (!onafile(s)) {
    int t = ahead - 1;
    if (hostile(board[t], side)) append(movefrom, moveto, count, s, t);
    if (epsquares[t] == side.enemypawn && board[s - 1] == side.enemypawn) append(movefrom, moveto, count, s, t);
  }
}

// 1 when a king of the side standing on sq would be attacked; the square is restored.
static int attackedwithking(int sq, const atomicside &side) {
  int saved = board[sq];
  board[sq] = side.king;
  int attacked = isattacked(sq);
  board[sq] = saved;
  return attacked;
}

// Castling towards one side (dir -1: the a-side, +1: the h-side) from the king's square s, with its
// rook on rooksq. Under the chess server's rules the king may not castle out of, through or into an
// attacked square; otherwise attacks do not matter.
static void castle(int *movefrom, int *moveto, int *count, int s, int dir, int rooksq, const atomicside &side) {
  if (rooksq == 0 || board[rooksq] != side.rook) return;
  int far = s + 3 * dir;
  if (far < 1 || far > 64) return;
  if (board[s + dir] != EMPTY || board[s + 2 * dir] != EMPTY) return;
  if (board[far] != EMPTY && !(dir < 0 ? onafile(far) : onhfile(far))) return;
  if (ficsrules && (isattacked(s) || attackedwithking(s + dir, side) || attackedwithking(s + 2 * dir, side))) return;
  append(movefrom, moveto, count, s, s + 2 * dir);
}

static const int *const diagonalrays[4] = {rayupright, rayupleft, raydownright, raydownleft};
static const int *const linerays[4] = {rayup, raydown, rayright, rayleft};

// Every board move of the side, from-squares rising, then the stalemate test on the list.
static void atomicmoves(int *movefrom, int *moveto, int *count, int ply, const int *epsquares, const atomicside &side) {
  assert(ply >= 1 && ply < MAXPLY && epsquares);
  *count = 0;
  for (int s = 1; s <= 64; s++) {
    int man = board[s];
    if (man < side.low || man > side.high) continue;
    switch (man - side.low + WPAWN) {
      case WPAWN: pawnmoves(movefrom, moveto, count, s, epsquares, side); break;
      case WKNIGHT: leaps(movefrom, moveto, count, s, knightleaps, side); break;
      case WBISHOP: slides(movefrom, moveto, count, s, diagonalrays, side); break;
      case WROOK: slides(movefrom, moveto, count, s, linerays, side); break;
      case WQUEEN:
        slides(movefrom, moveto, count, s, diagonalrays, side);
        slides(movefrom, moveto, count, s, linerays, side);
        break;
      case WKING:
        leaps(movefrom, moveto, count, s, kingleaps, side);
        if (s == side.castleking) {
          castle(movefrom, moveto, count, s, -1, side.castlea, side);
          castle(movefrom, moveto, count, s, 1, side.castleh, side);
        }
        break;
    }
  }
  stalematetest(movefrom, moveto, *count, ply);
}

// Every board move of the white codes into movefrom/moveto (1-based), count set.
void atomicwhitemoves(int *movefrom, int *moveto, int *count, int ply, const int *epsquares) {
  atomicside side = {WPAWN, WKING, 8, BPAWN, WROOK, WKING, wcastleking, wcastlea, wcastleh};
  atomicmoves(movefrom, moveto, count, ply, epsquares, side);
}

// Every board move of the black codes.
void atomicblackmoves(int *movefrom, int *moveto, int *count, int ply, const int *epsquares) {
  atomicside side = {BPAWN, BKING, -8, WPAWN, BROOK, BKING, bcastleking, bcastlea, bcastleh};
  atomicmoves(movefrom, moveto, count, ply, epsquares, side);
}

// Ordering score of a move: a capture by victim and mover codes (more when the searches have seen
// a capture on that square in the line, a recapture), a killer of this ply; -100 for anything else.
static int orderscore(int from, int to, int ply, const int *scratch) {
  int victim = board[to];
  int base = victim * 100 - board[from];
  int score = -100;
  if (victim != EMPTY) score = base + (scratch[to] > 0 ? 30 : 15);
  if (from == killer1from[ply] && to == killer1to[ply] && base + 35 > score) score = base + 35;
  if (from == killer2from[ply] && to == killer2to[ply] && base + 15 > score) score = base + 15;
  return score;
}

// Brings the best-scoring move among entries first..last to position first (the earliest of equal
// scores). Answers 1 when some move scored; once it answers 0 the rest is taken in list order.
int atomicpick(int *movefrom, int *moveto, int ply, int last, int first, const int *scratch) {
  assert(ply >= 1 && ply < MAXPLY && scratch);
  int best = -100;
  int bestindex = first;
  for (int i = first; i <= last; i++) {
    int score = orderscore(movefrom[i], moveto[i], ply, scratch);
    if (score > best) {
      best = score;
      bestindex = i;
    }
  }
  if (bestindex != first) {
    int f = movefrom[first], t = moveto[first];
    movefrom[first] = movefrom[bestindex];
    moveto[first] = moveto[bestindex];
    movefrom[bestindex] = f;
    moveto[bestindex] = t;
  }
  return best != -100;
}
