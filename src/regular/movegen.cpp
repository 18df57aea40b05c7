// The regular engine's move generators (every pseudo-legal move of one colour, in a fixed order)
// and the two move pickers.
#include "regular/regular.h"

#include <cstring>

constexpr int NOPICK = -100;      // pickmove: the score of an entry worth no ordering
constexpr int CAPTUREPICK = 15;   // added to a capture's base
constexpr int KILLER1PICK = 35;   // added to the first killer's base
constexpr int KILLER2PICK = 15;   // added to the second killer's base
constexpr int KINGPICK = 7500;     // crazyhouse: a king capture
constexpr int RECAPTUREPICK = 7000;  // crazyhouse: a move onto the opponent's last square, less the victim's rank

const int orderrank[13] = {0, 1, 2, 2, 3, 4, 5, 1, 2, 2, 3, 4, 5};

// What a generator needs to know of the side it generates for.
struct genside {
  int first, last;          // the side's codes
  int enemyfirst, enemylast;  // the other side's codes
  int pawn, rook, king;
  int forward;              // pawn step, +8 or -8
  int enemypawn;
  int castleking, castlea, castleh;
};

static inline bool isenemy(int code, const genside &side) {
  return code >= side.enemyfirst && code <= side.enemylast;
}

// Appends from -> to as entry n + 1 and answers the new count. The generators keep the count in a
// local and pass it on, so that no store into the lists can be taken for a change of it.
static inline int addmove(int *movefrom, int *moveto, int n, int from, int to) {
  movefrom[n + 1] = from;
  moveto[n + 1] = to;
  return n + 1;
}

// Appends the target when it is empty or holds an enemy man.
static inline int addtarget(int *movefrom, int *moveto, int n, int from, int to, const genside &side) {
  int man = board[to];
  return man == EMPTY || isenemy(man, side) ? addmove(movefrom, moveto, n, from, to) : n;
}

// Pawn moves in their fixed order: push, double push, the capture and en passant to one side,
// then the capture and en passant to the other.
static int genpawn(int *movefrom, int *moveto, int n, int s, const int *epsquares, const genside &side) {
  int fwd = side.forward;
  int push = s + fwd;
  if (push < 1 || push > 64) return n;
  bool home = fwd > 0 ? s <= 16 : s >= 49;
  if (board[push] == EMPTY) {
    n = addmove(movefrom, moveto, n, s, push);
    if (home && board[push + fwd] == EMPTY) n = addmove(movefrom, moveto, n, s, push + fwd);
  }
  // White captures towards +9 (not from the h-file) then +7; black towards -7 (not from the
  // h-file) then -9: in both cases the h-side capture comes first.
  int hside = fwd > 0 ? s + 9 : s - 7;
  int aside = fwd > 0 ? s + 7 : s - 9;
  int enemymarker = side.enemypawn;  // the marker an enemy double step leaves
  if (!onhfile(s)) {
    if (isenemy(board[hside], side)) n = addmove(movefrom, moveto, n, s, hside);
    if (epsquares[hside] == enemymarker && board[s + 1] == side.enemypawn) n = addmove(movefrom, moveto, n, s, hside);
  }
  if (!onafile(s)) {
    if (isenemy(board[aside], side)) n = addmove(movefrom, moveto, n, s, aside);
    if (epsquares[aside] == enemymarker && board[s - 1] == side.enemypawn) n = addmove(movefrom, moveto, n, s, aside);
  }
  return n;
}

// Knight moves in the order of knightjumps (+15, +17, +6, +10, -17, -15, -6, -10).
static int genknight(int *movefrom, int *moveto, int n, int s, const genside &side) {
  for (const unsigned char *t = knightjumps[s]; *t; t++) n = addtarget(movefrom, moveto, n, s, *t, side);
  return n;
}

// Slides along one ray (length[s] squares of the given step) until the edge or the first occupied
// square (an enemy there is captured). The step is a constant at each call.
static inline int genray(int *movefrom, int *moveto, int n, int s, const int *length, int step, const genside &side) {
  int t = s;
  for (int i = length[s]; i > 0; i--) {
    t += step;
    int man = board[t];
    if (man == EMPTY) {
      n = addmove(movefrom, moveto, n, s, t);
      continue;
    }
    return isenemy(man, side) ? addmove(movefrom, moveto, n, s, t) : n;
  }
  return n;
}

static int gendiagonals(int *movefrom, int *moveto, int n, int s, const genside &side) {
  n = genray(movefrom, moveto, n, s, rayupright, 9, side);
  n = genray(movefrom, moveto, n, s, rayupleft, 7, side);
  n = genray(movefrom, moveto, n, s, raydownright, -7, side);
  return genray(movefrom, moveto, n, s, raydownleft, -9, side);
}

static int genstraights(int *movefrom, int *moveto, int n, int s, const genside &side) {
  n = genray(movefrom, moveto, n, s, rayup, 8, side);
  n = genray(movefrom, moveto, n, s, raydown, -8, side);
  n = genray(movefrom, moveto, n, s, rayright, 1, side);
  return genray(movefrom, moveto, n, s, rayleft, -1, side);
}

// Answers 1 when a king of the side put on sq (beside the real one) would not be attacked.
static int safewithking(int sq, const genside &side) {
  int saved = board[sq];
  board[sq] = side.king;
  int attacked = isattacked(sq);
  board[sq] = saved;
  return !attacked;
}

// Castling from the king's castling square s, a-side first. Only the two squares towards the rook
// are asked for, so the same rule castles from e1/e8 and, on the turned board, from d1/d8.
static int gencastle(int *movefrom, int *moveto, int n, int s, const genside &side) {
  if (s - 3 >= 1 && side.castlea > 0 && board[side.castlea] == side.rook && board[s - 1] == EMPTY &&
      board[s - 2] == EMPTY && (board[s - 3] == EMPTY || onafile(s - 3)) && !isattacked(s) &&
      safewithking(s - 1, side) && safewithking(s - 2, side))
    n = addmove(movefrom, moveto, n, s, s - 2);
  if (s + 3 <= 64 && side.castleh > 0 && board[side.castleh] == side.rook && board[s + 1] == EMPTY &&
      board[s + 2] == EMPTY && (board[s + 3] == EMPTY || onhfile(s + 3)) && !isattacked(s) &&
      safewithking(s + 1, side) && safewithking(s + 2, side))
    n = addmove(movefrom, moveto, n, s, s + 2);
  return n;
}

static int genking(int *movefrom, int *moveto, int n, int s, int skipcastle, const genside &side) {
  bool afile = onafile(s), hfile = onhfile(s);
  if (s <= 56) n = addtarget(movefrom, moveto, n, s, s + 8, side);
  if (s <= 55 && !hfile) n = addtarget(movefrom, moveto, n, s, s + 9, side);
  if (s <= 57 && !afile) n = addtarget(movefrom, moveto, n, s, s + 7, side);
  if (s <= 63 && !hfile) n = addtarget(movefrom, moveto, n, s, s + 1, side);
  if (s >= 2 && !afile) n = addtarget(movefrom, moveto, n, s, s - 1, side);
  if (s >= 8 && !hfile) n = addtarget(movefrom, moveto, n, s, s - 7, side);
  if (s >= 10 && !afile) n = addtarget(movefrom, moveto, n, s, s - 9, side);
  if (s >= 9) n = addtarget(movefrom, moveto, n, s, s - 8, side);
  if (skipcastle == 0 && s == side.castleking) n = gencastle(movefrom, moveto, n, s, side);
  return n;
}

// The empty squares in rising order into empties (answers their count); *pawnfirst and *pawnend
// bound the ones on ranks 2 to 7, where pawns may be dropped. The count rises without a branch:
// whether a square is empty cannot be foreseen.
static int emptysquares(int *empties, int *pawnfirst, int *pawnend) {
  int e = 0;
  for (int sq = 1; sq <= 64; sq++) {
    empties[e] = sq;
    e += board[sq] == EMPTY;
    if (sq == 8) *pawnfirst = e;
    if (sq == 56) *pawnend = e;
  }
  return e;
}

// Appends a drop of every man type in the hand, once per type, on every empty square (pawns only
// on ranks 2 to 7).
static int gendrops(int *movefrom, int *moveto, int n, const int *hand, const genside &side) {
  bool seen[13] = {false};
  int empties[64];
  int emptycount = -1, pawnfirst = 0, pawnend = 0;  // the empty squares, found at the first man in hand
  for (int i = 1; i < HANDSLOTS; i++) {
    int code = hand[i];
    if (code < side.first || code > side.last || seen[code]) continue;
    seen[code] = true;
    if (emptycount < 0) emptycount = emptysquares(empties, &pawnfirst, &pawnend);
    bool pawn = code == side.pawn;
    int first = pawn ? pawnfirst : 0, end = pawn ? pawnend : emptycount;
    assert(n + end - first < MAXMOVES);
    for (int j = first; j < end; j++) n = addmove(movefrom, moveto, n, -code, empties[j]);
  }
  return n;
}

// Generates every pseudo-legal move of one side: square by square from 1 to 64, then the
// stalemate test on the board moves, then in crazyhouse the drops. Answers the count.
static int generate(int *movefrom, int *moveto, int ply, const int *epsquares, int skipcastle, const int *hand,
                    const genside &side) {
  // First the squares of the side's men (an unrolled scan: most squares cost a load and a test),
  // then their moves.
  int mensquares[64];
  int men = 0;
  int first = side.first, last = side.last;
#pragma GCC unroll 8
  for (int s = 1; s <= 64; s++)
    if (board[s] >= first && board[s] <= last) mensquares[men++] = s;
  int n = 0;
  for (int i = 0; i < men; i++) {
    int s = mensquares[i];
    switch (board[s] - first + 1) {
      case WPAWN: n = genpawn(movefrom, moveto, n, s, epsquares, side); break;
      case WKNIGHT: n = genknight(movefrom, moveto, n, s, side); break;
      case WBISHOP: n = gendiagonals(movefrom, moveto, n, s, side); break;
      case WROOK: n = genstraights(movefrom, moveto, n, s, side); break;
      case WQUEEN:
        n = gendiagonals(movefrom, moveto, n, s, side);
        n = genstraights(movefrom, moveto, n, s, side);
        break;
      case WKING: n = genking(movefrom, moveto, n, s, skipcastle, side); break;
    }
  }
  stalematetest(movefrom, moveto, n, ply);
  if (crazymode && hand && hand[0] != NODROPS) n = gendrops(movefrom, moveto, n, hand, side);
  return n;
}

// All pseudo-legal moves of the white codes into movefrom/moveto (1-based), count set.
void genwhite(int *movefrom, int *moveto, int *count, int ply, const int *epsquares, int skipcastle, const int *hand) {
  genside side = {WPAWN, WKING, BPAWN, BKING, WPAWN, WROOK, WKING, 8, BPAWN, wcastleking, wcastlea, wcastleh};
  *count = generate(movefrom, moveto, ply, epsquares, skipcastle, hand, side);
}

// All pseudo-legal moves of the black codes.
void genblack(int *movefrom, int *moveto, int *count, int ply, const int *epsquares, int skipcastle, const int *hand) {
  genside side = {BPAWN, BKING, WPAWN, WKING, BPAWN, BROOK, BKING, -8, WPAWN, bcastleking, bcastlea, bcastleh};
  *count = generate(movefrom, moveto, ply, epsquares, skipcastle, hand, side);
}


static inline void swapentries(int *movefrom, int *moveto, int a, int b) {
  int f = movefrom[a], t = moveto[a];
  movefrom[a] = movefrom[b];
  moveto[a] = moveto[b];
  movefrom[b] = f;
  moveto[b] = t;
}

// The ordering score of entries first..last into movescore, from the board and the killers of ply.
// The base is the victim's code times 100 less the mover's code (a drop's mover is the dropped
// code); a capture scores its base + 15, the first killer base + 35, the second base + 15, and an
// entry counts at its best score (NOPICK when none applies). The board is the same at every pick
// of a node, so only a change of the killers calls for new scores. Answers the entry that the
// pick of position first takes (the earliest of the best), 0 when none scores: the first pick
// needs no scan of its own.
int scoremoves(const int *movefrom, const int *moveto, int first, int last, int ply, int *movescore) {
  assert(ply >= 0 && ply < MAXPLY);
  int k1from = killer1from[ply], k1to = killer1to[ply];
  int k2from = killer2from[ply], k2to = killer2to[ply];
  int best = NOPICK;
  int bestindex = 0;
  for (int i = first; i <= last; i++) {
    int from = movefrom[i], to = moveto[i];
    int victim = board[to];
    int score = NOPICK;
    if (victim != EMPTY || from == k1from || from == k2from) {  // most entries are neither
      int base = victim * 100 - (from > 0 ? board[from] : -from);
      if (victim != EMPTY) score = base + CAPTUREPICK;
      if (from == k1from && to == k1to && base + KILLER1PICK > score) score = base + KILLER1PICK;
      if (from == k2from && to == k2to && base + KILLER2PICK > score) score = base + KILLER2PICK;
    }
    movescore[i] = score;
    if (score > best) {
      best = score;
      bestindex = i;
    }
  }
  return bestindex;
}

// Brings entry bestindex (0: none) to position first, its score with it; answers 1 when there
// was one to bring.
int pickentry(int *movefrom, int *moveto, int *movescore, int first, int bestindex) {
  if (bestindex == 0) return 0;
  if (bestindex != first) {
    swapentries(movefrom, moveto, first, bestindex);
    int score = movescore[bestindex];
    movescore[bestindex] = movescore[first];
    movescore[first] = score;
  }
  return 1;
}

// Brings the best-scored entry among first..last (see scoremoves), the earliest of equals, to
// position first, its score with it. Answers 1 when it found a move worth ordering; once it
// answers 0 the rest is taken in list order.
int pickmove(int *movefrom, int *moveto, int *movescore, int last, int first) {
  int best = NOPICK;
  int bestindex = 0;
  for (int i = first; i <= last; i++) {
    if (movescore[i] > best) {
      best = movescore[i];
      bestindex = i;
    }
  }
  return pickentry(movefrom, moveto, movescore, first, bestindex);
}

// The crazyhouse ordering score of entries first..last into movescore: a king capture first,
// then recaptures on the square the opponent just moved to, then captures by the ranks of victim
// and attacker; an entry counts at its best score, and only board moves onto an occupied square
// (or onto the opponent's last square) score, every one of them above NOPICK. Nothing here changes
// during a node, so the picks read these scores. Answers the entry of the first pick (the earliest
// of the best), 0 when none scores.
int scoremovescrazy(const int *movefrom, const int *moveto, int first, int last, int ply, int *movescore) {
  assert(ply >= 1 && ply < MAXPLY);
  int recapture = lastto[ply - 1];
  int best = NOPICK;
  int bestindex = 0;
  for (int i = first; i <= last; i++) {
    int from = movefrom[i];
    if (from < 0) {  // a drop never scores
      movescore[i] = NOPICK;
      continue;
    }
    int to = moveto[i];
    int victim = board[to];
    int score = NOPICK;
    if (victim == WKING || victim == BKING) {
      score = KINGPICK;
    } else {
      if (to == recapture) score = RECAPTUREPICK - orderrank[victim];
      if (victim != EMPTY) {
        int v = orderrank[victim], a = orderrank[board[from]];
        int capture = v > a ? v * 1000 - a : v == a ? a * 100 : v * 10 - a;
        if (capture > score) score = capture;
      }
    }
    movescore[i] = score;
    if (score > best) {
      best = score;
      bestindex = i;
    }
  }
  return bestindex;
}
