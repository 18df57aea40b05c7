// The atomic evaluation: material, square tables, mobility, passed pawns, lines and diagonals open
// towards the kings, the kings' pawn cover and shelter, the men touching the enemy king, and the
// clamps that keep a side whose king is touched from being scored ahead.
#include "atomic/atomic.h"

#include "config/config.h"

constexpr int OPENFILEBONUS = 10;      // a rook's file without own, or without enemy, pawns
constexpr int KINGLINEROOK = 10;       // an enemy rook on a line towards the king, no pawn between
constexpr int KINGLINEQUEEN = 30;      // an enemy queen on a line or diagonal towards the king
constexpr int NOREAR = 9;              // wrear of a file without white pawns
constexpr int NOFRONT = -1;            // brear of a file without black pawns

// Tables by square, rank 1 first (a1 = 1).
static const int kingcentre[65] = {0,
    0, 10, 20, 30, 30, 20, 10, 0,     10, 20, 30, 40, 40, 30, 20, 10,
    20, 30, 40, 50, 50, 40, 30, 20,   30, 40, 50, 60, 60, 50, 40, 30,
    30, 40, 50, 60, 60, 50, 40, 30,   20, 30, 40, 50, 50, 40, 30, 20,
    10, 20, 30, 40, 40, 30, 20, 10,   0, 10, 20, 30, 30, 20, 10, 0};
static const int wknighttable[65] = {0,
    0, 4, 8, 10, 10, 8, 4, 0,         4, 8, 16, 20, 20, 16, 8, 4,
    8, 16, 24, 28, 28, 24, 16, 8,     10, 20, 28, 32, 32, 28, 20, 10,
    10, 20, 28, 32, 32, 28, 20, 10,   8, 16, 24, 28, 28, 24, 16, 8,
    4, 8, 16, 20, 20, 16, 8, 4,       0, 4, 8, 10, 10, 8, 4, 0};
static const int wbishoptable[65] = {0,
    14, 14, 14, 14, 14, 14, 14, 14,   14, 22, 18, 18, 18, 18, 22, 14,
    14, 18, 22, 22, 22, 22, 18, 14,   14, 18, 22, 22, 22, 22, 18, 14,
    14, 18, 22, 22, 22, 22, 18, 14,   14, 18, 22, 22, 22, 22, 18, 14,
    14, 22, 18, 18, 18, 18, 22, 14,   14, 14, 14, 14, 14, 14, 14, 14};
// The kings' shelter base by square, one table for each colour the engine plays (index color).
static const int shelterbase[2][65] = {
    {0, 1, 2, 0, 0, 0, 2, 1, 0,       -15, -15, -15, -15, -15, -15, -15, -15,
     -40, -40, -40, -40, -40, -40, -40, -40, -40, -40, -40, -40, -40, -40, -40, -40,
     -40, -40, -40, -40, -40, -40, -40, -40, -40, -40, -40, -40, -40, -40, -40, -40,
     -15, -15, -15, -15, -15, -15, -15, -15, 1, 2, 0, 0, 0, 2, 1, 0},
    {0, 0, 1, 2, 0, 0, 0, 2, 1,       -15, -15, -15, -15, -15, -15, -15, -15,
     -40, -40, -40, -40, -40, -40, -40, -40, -40, -40, -40, -40, -40, -40, -40, -40,
     -40, -40, -40, -40, -40, -40, -40, -40, -40, -40, -40, -40, -40, -40, -40, -40,
     -15, -15, -15, -15, -15, -15, -15, -15, 0, 1, 2, 0, 0, 0, 2, 1}};
// Mobility by the number of empty squares a bishop sees on its diagonals, a rook on its lines.
static const int atomicbishopmob[14] = {-3, -2, 0, 2, 4, 6, 8, 10, 12, 13, 14, 15, 16, 16};
static const int atomicrookmob[15] = {-16, -12, -8, -4, 0, 4, 8, 12, 13, 14, 14, 14, 14, 14, 14};

// 1 when a man with the code stands on one of the four orthogonal neighbours of sq or, with
// diagonals 1, on one of all eight neighbours.
int isnextto(int sq, int code, int diagonals) {
  assert(sq >= 1 && sq <= 64);
  bool afile = onafile(sq), hfile = onhfile(sq);
  if (sq > 8 && board[sq - 8] == code) return 1;
  if (sq < 57 && board[sq + 8] == code) return 1;
  if (!hfile && board[sq + 1] == code) return 1;
  if (!afile && board[sq - 1] == code) return 1;
  if (diagonals != 1) return 0;
  if (!afile && sq > 8 && board[sq - 9] == code) return 1;
  if (!hfile && sq > 8 && board[sq - 7] == code) return 1;
  if (!afile && sq < 57 && board[sq + 7] == code) return 1;
  if (!hfile && sq < 57 && board[sq + 9] == code) return 1;
  return 0;
}

// Counts the empty squares from q along one ray (length[q] squares of the given step) up to the
// first man; *sees becomes 1 when that man is the code looked for. The step is a constant at each call.
static inline int emptyalong(int q, const int *length, int step, int lookfor, int *sees) {
  const int *cell = board + q;
  int empty = 0;
  for (int left = length[q]; left > 0; left--) {
    cell += step;
    if (*cell != EMPTY) {
      if (*cell == lookfor) *sees = 1;
      break;
    }
    empty++;
  }
  return empty;
}

// Mobility of a rook or queen on q along its lines; *sees: the first man on a line is lookfor.
static int linescan(int q, int lookfor, int *sees) {
  int empty = emptyalong(q, rayup, 8, lookfor, sees) + emptyalong(q, rayright, 1, lookfor, sees) +
              emptyalong(q, raydown, -8, lookfor, sees) + emptyalong(q, rayleft, -1, lookfor, sees);
  return atomicrookmob[empty];
}

// Mobility of a bishop or queen on q along its diagonals.
static int diagonalscan(int q, int lookfor, int *sees) {
  int empty = emptyalong(q, rayupright, 9, lookfor, sees) + emptyalong(q, raydownright, -7, lookfor, sees) +
              emptyalong(q, raydownleft, -9, lookfor, sees) + emptyalong(q, rayupleft, 7, lookfor, sees);
  return atomicbishopmob[empty];
}

// 1 when a man of code target stands on the ray from q (length[q] squares of the given step) with
// no pawn of either colour before it; other men are looked through.
static inline int threatalong(int q, const int *length, int step, int target) {
  const int *cell = board + q;
  for (int left = length[q]; left > 0; left--) {
    cell += step;
    int man = *cell;
    if (man == target) return 1;
    if (man == WPAWN || man == BPAWN) return 0;
  }
  return 0;
}

// threatalong on the four lines (files and ranks) from q.
static int linesthreat(int q, int target) {
  return threatalong(q, rayup, 8, target) || threatalong(q, rayright, 1, target) ||
         threatalong(q, raydown, -8, target) || threatalong(q, rayleft, -1, target);
}

// An enemy rook (a = 0) or queen (a = 1) of the king on q on an open line towards it.
static int linethreat(int q, int a) {
  int white = board[q] == WKING;
  int target = a == 0 ? (white ? BROOK : WROOK) : (white ? BQUEEN : WQUEEN);
  return linesthreat(q, target);
}

// An enemy queen on an open diagonal towards the king on q.
static int diagonalthreat(int q) {
  int target = board[q] == WKING ? BQUEEN : WQUEEN;
  return threatalong(q, rayupright, 9, target) || threatalong(q, raydownright, -7, target) ||
         threatalong(q, raydownleft, -9, target) || threatalong(q, rayupleft, 7, target);
}

static int whitepassed(int f) { return bcount[f] == 0 && wrear[f] >= brear[f - 1] && wrear[f] >= brear[f + 1]; }
static int blackpassed(int f) { return wcount[f] == 0 && brear[f] <= wrear[f - 1] && brear[f] <= wrear[f + 1]; }

// The pawn-cover penalty k of one file: k when it lacks the white pawns, k when it lacks the black
// ones and 2k when it has no pawns at all.
static int coverpenalty(int y, int k) {
  int penalty = wcount[y] == 0 ? k : 0;
  if (bcount[y] == 0) penalty += wcount[y] > 0 ? k : 2 * k;
  return penalty;
}

// The cover of a king on file f: the king's own file and the files beside it.
static int kingcover(int f) {
  int penalty = coverpenalty(f, kingpawnpenalty);
  if (f > 1) penalty += coverpenalty(f - 1, sidekingpawnpenalty);
  if (f < 8) penalty += coverpenalty(f + 1, sidekingpawnpenalty);
  return penalty;
}

// Shelter term of one file for the side whose pawns are pawn, counted from its home rank (rank 2
// for White, 7 for Black, step the rank direction): a missing file is -7, a pawn at home 0, one or
// two ranks advanced -2 or -4, further -6. Only the missing-file term when short is set.
static int shelterfile(int y, int pawn, int home, int step, int short_) {
  int count = pawn == WPAWN ? wcount[y] : bcount[y];
  if (count == 0) return -7;
  if (short_) return 0;
  for (int k = 0; k < 3; k++)
    if (board[8 * (home + k * step - 1) + y] == pawn) return -2 * k;
  return -6;
}

// Danger of the king on q for lack of shelter (positive means danger): the base of the square,
// the pawns in front of the king's wing and the fianchetto.
static int shelter(int q, int pawn, int bishop, int home, int step) {
  int x = fileof(q) + 1;
  int c = shelterbase[color == 1 ? 1 : 0][q];
  int fianchettopawn = home + step;  // rank of the pawn in front of the fianchettoed bishop
  if (x >= 6) {
    for (int y = 6; y <= 8; y++) c += shelterfile(y, pawn, home, step, 0);
    if (board[8 * (fianchettopawn - 1) + 7] == pawn && board[8 * (home - 1) + 7] == bishop) c += 2;
  } else if (x <= 3) {
    for (int y = 3; y >= 1; y--) c += shelterfile(y, pawn, home, step, 0);
    if (board[8 * (fianchettopawn - 1) + 2] == pawn && board[8 * (home - 1) + 2] == bishop) c += 2;
  } else {
    for (int y = x - 1; y <= x + 1; y++) c += shelterfile(y, pawn, home, step, 1);
  }
  return (-7 * c) / 10;
}

// What the square loop gathers besides the score.
struct evalstate {
  int s;                  // the score from White's side
  int mw, mb;             // non-pawn material of each side
  int dw, db;             // shelter danger of each king
  int wknightrow[2], bknightrow[2];  // row index of the first two knights of each side, 0 if none
  int wknights, bknights;
  int wking, bking;       // the kings' squares, 0 if gone
  int kingstouch;         // the kings stand side by side
  int whitetouch, blacktouch;  // a rook or queen of that side touches the enemy king
};

static void whiteman(int q, int man, int side, evalstate *e) {
  int f = fileof(q) + 1;
  int v = piecevalue[man];
  int sees = 0;
  switch (man) {
    case WPAWN:
      e->s += v + (whitepassed(f) ? passedbonus + 2 * wpawnadvance[q] : wpawnadvance[q]);
      break;
    case WKNIGHT:
      e->mw += v;
      e->s += v + wknighttable[q];
      if (e->wknights < 2) e->wknightrow[e->wknights++] = q / 8 + 1;
      break;
    case WBISHOP:
      e->mw += v;
      e->s += v + 2 * diagonalscan(q, BKING, &sees) + wbishoptable[q];
      if (isnextto(q, BKING, 1)) e->s += bishopkingbonus;
      break;
    case WROOK:
      e->mw += v;
      e->s += v + 2 * linescan(q, BKING, &sees);
      if (wcount[f] == 0) e->s += OPENFILEBONUS;
      if (bcount[f] == 0) e->s += OPENFILEBONUS;
      if (!e->whitetouch && isnextto(q, BKING, (side + 1) % 2)) {
        e->s += rookkingbonus;
        e->whitetouch = 1;
      }
      break;
    case WQUEEN:
      e->mw += v;
      e->s += v;
      linescan(q, BKING, &sees);
      if (sees) e->s += queencheckbonus;
      sees = 0;
      diagonalscan(q, BKING, &sees);
      if (sees) e->s += queencheckbonus;
      if (!e->whitetouch && isnextto(q, BKING, 1)) {
        e->s += rookkingbonus;
        e->whitetouch = 1;
      }
      break;
    case WKING:
      e->wking = q;
      e->s += v;
      if (endgameflag) e->s += kingcentre[q];
      if (wcastled) e->s += castlebonus;
      if (linethreat(q, 0)) e->s -= KINGLINEROOK;
      if (linethreat(q, 1)) e->s -= KINGLINEQUEEN;
      if (diagonalthreat(q)) e->s -= KINGLINEQUEEN;
      if (!endgameflag) e->dw = shelter(q, WPAWN, WBISHOP, 2, 1);
      if (isnextto(q, BKING, 1)) e->kingstouch = 1;
      if (!lateendgameflag) e->s -= kingcover(f);
      break;
  }
}

static void blackman(int q, int man, int side, evalstate *e) {
  int f = fileof(q) + 1;
  int v = piecevalue[man];
  int sees = 0;
  switch (man) {
    case BPAWN:
      e->s += bpawnadvance[q] - v;
      if (blackpassed(f)) e->s += bpawnadvance[q] - passedbonus;
      break;
    case BKNIGHT:
      e->mb += v;
      e->s += -wknighttable[q] - v;
      if (e->bknights < 2) e->bknightrow[e->bknights++] = q / 8 + 1;
      break;
    case BBISHOP:
      e->mb += v;
      e->s += -wbishoptable[q] - v - 2 * diagonalscan(q, WKING, &sees);
      if (isnextto(q, WKING, 1)) e->s -= bishopkingbonus;
      break;
    case BROOK:
      e->mb += v;
      e->s -= v + 2 * linescan(q, WKING, &sees);
      if (bcount[f] == 0) e->s -= OPENFILEBONUS;
      if (wcount[f] == 0) e->s -= OPENFILEBONUS;
      if (!e->blacktouch && isnextto(q, WKING, side % 2)) {
        e->s -= rookkingbonus;
        e->blacktouch = 1;
      }
      break;
    case BQUEEN:
      e->mb += v;
      e->s -= v;
      linescan(q, WKING, &sees);
      if (sees) e->s -= queencheckbonus;
      sees = 0;
      diagonalscan(q, WKING, &sees);
      if (sees) e->s -= queencheckbonus;
      if (!e->blacktouch && isnextto(q, WKING, 1)) {
        e->s -= rookkingbonus;
        e->blacktouch = 1;
      }
      break;
    case BKING:
      e->bking = q;
      e->s -= v;
      if (endgameflag) e->s -= kingcentre[q];
      if (!endgameflag) e->db = shelter(q, BPAWN, BBISHOP, 7, -1);
      if (!lateendgameflag) e->s += kingcover(f);
      if (linethreat(q, 0)) e->s += KINGLINEROOK;
      if (linethreat(q, 1)) e->s += KINGLINEQUEEN;
      if (diagonalthreat(q)) e->s += KINGLINEQUEEN;
      if (bcastled) e->s -= castlebonus;
      break;
  }
}

// Knights on the enemy king's row index or next to it.
static int knightsnearking(const int *rows, int count, int kingsq) {
  if (kingsq == 0) return 0;
  int kingrow = kingsq / 8 + 1;
  int bonus = 0;
  for (int i = 0; i < count; i++)
    if (rows[i] - kingrow <= 1 && kingrow - rows[i] <= 1) bonus += KNIGHTKINGBONUS;
  return bonus;
}

// The score of the position: from White's side for side 0, from Black's for side 1, 0 for any
// other side. The side also decides from where a rook touches the enemy king: with side 0 a White
// rook touches from any of the eight neighbours and a Black rook only from the four orthogonal
// ones, with side 1 the other way round. With randomize a random term below randombonus is added.
int atomiceval(int side) {
  evalcount++;
  evalstate e = {};
  if (randomize && randombonus > 0) e.s = randomdraw() % randombonus;
  filesummary();
  for (int f = 1; f <= 8; f++) {
    for (int q = f; q <= 64; q += 8) {
      int man = board[q];
      if (iswhite(man)) whiteman(q, man, side, &e);
      else if (isblack(man)) blackman(q, man, side, &e);
    }
  }
  if (!endgameflag && startmaterial > 0) e.s += (e.mw / startmaterial) * e.db - (e.mb / startmaterial) * e.dw;
  e.s += knightsnearking(e.wknightrow, e.wknights, e.bking);
  e.s -= knightsnearking(e.bknightrow, e.bknights, e.wking);
  if (e.kingstouch) {
    if (e.s > 0) e.s -= kingkingbonus;
    else if (e.s < 0) e.s += kingkingbonus;
  }
  if (e.whitetouch && !e.blacktouch && e.s < 0) e.s = 0;
  if (e.blacktouch && !e.whitetouch && e.s > 0) e.s = 0;
  if (side == 0) return e.s;
  if (side == 1) return -e.s;
  return 0;
}
