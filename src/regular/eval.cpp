// The regular engine's static evaluation: material, square tables, pawn structure, mobility,
// rook files, king safety scaled by the opponent's material, the 3check bonus, and the crazyhouse
// evaluation that also counts the men in hand.
#include "regular/regular.h"

#include "config/config.h"

#include <cstring>

constexpr int KINGSAFETYSATURATION = 3000;   // opponent material from which king safety weighs fully
constexpr double KINGSAFETYFULLSCALE = 7.5;  // the full weight
constexpr double KINGSAFETYMATERIALUNIT = 600.0;  // below saturation the weight is material / 600
constexpr int PHASEMINOR = 250;              // phase material of a knight or bishop
constexpr int PHASEROOK = 500;               // of a rook
constexpr int PHASEWHITEQUEEN = 950;         // of White's queen
constexpr int PHASEBLACKQUEEN = 1000;        // of Black's queen: Black's queen weighs more
constexpr int ROOKSEVENTHBONUS = 10;         // a rook on the opponent's second rank
constexpr int ROOKHALFOPENBONUS = 16;        // a rook on a file without own pawns
constexpr int ROOKOPENBONUS = 24;            // a rook on a file without any pawn
constexpr int CASTLEDBONUS = 25;             // the side has castled in the current line
constexpr int FIRSTCHECKBONUS = 150;         // 3check: one check given
constexpr int SECONDCHECKBONUS = 325;        // 3check: two checks given, middlegame
constexpr int SECONDCHECKENDBONUS = 200;     // 3check: two checks given, endgame

// Square tables, indexed by square (a1 = 1), listed rank 1 first.
const int knighttable[65] = {0,
      0,   4,   8,  10,  10,   8,   4,   0,  // rank 1
      4,   8,  16,  20,  20,  16,   8,   4,  // rank 2
      8,  16,  24,  28,  28,  24,  16,   8,  // rank 3
     10,  20,  28,  32,  32,  28,  20,  10,  // rank 4
     10,  20,  28,  32,  32,  28,  20,  10,  // rank 5
      8,  16,  24,  28,  28,  24,  16,   8,  // rank 6
      4,   8,  16,  20,  20,  16,   8,   4,  // rank 7
      0,   4,   8,  10,  10,   8,   4,   0  // rank 8
};
const int bknighttable[65] = {0,
      0,  -4,  -8, -10, -10,  -8,  -4,   0,  // rank 1
     -4,  -8, -16, -20, -20, -16,  -8,  -4,  // rank 2
     -8, -16, -24, -28, -28, -24, -16,  -8,  // rank 3
    -10, -20, -28, -32, -32, -28, -20, -10,  // rank 4
    -10, -20, -28, -32, -32, -28, -20, -10,  // rank 5
     -8, -16, -24, -28, -28, -24, -16,  -8,  // rank 6
     -4,  -8, -16, -20, -20, -16,  -8,  -4,  // rank 7
      0,  -4,  -8, -10, -10,  -8,  -4,   0  // rank 8
};
const int bishoptable[65] = {0,
     14,  14,  14,  14,  14,  14,  14,  14,  // rank 1
     14,  22,  18,  18,  18,  18,  22,  14,  // rank 2
     14,  18,  22,  22,  22,  22,  18,  14,  // rank 3
     14,  18,  22,  22,  22,  22,  18,  14,  // rank 4
     14,  18,  22,  22,  22,  22,  18,  14,  // rank 5
     14,  18,  22,  22,  22,  22,  18,  14,  // rank 6
     14,  22,  18,  18,  18,  18,  22,  14,  // rank 7
     14,  14,  14,  14,  14,  14,  14,  14  // rank 8
};
const int bbishoptable[65] = {0,
    -14, -14, -14, -14, -14, -14, -14, -14,  // rank 1
    -14, -22, -18, -18, -18, -18, -22, -14,  // rank 2
    -14, -18, -22, -22, -22, -22, -18, -14,  // rank 3
    -14, -18, -22, -22, -22, -22, -18, -14,  // rank 4
    -14, -18, -22, -22, -22, -22, -18, -14,  // rank 5
    -14, -18, -22, -22, -22, -22, -18, -14,  // rank 6
    -14, -22, -18, -18, -18, -18, -22, -14,  // rank 7
    -14, -14, -14, -14, -14, -14, -14, -14  // rank 8
};
const int kingendtable[65] = {0,
      0,  10,  20,  30,  30,  20,  10,   0,  // rank 1
     10,  20,  30,  40,  40,  30,  20,  10,  // rank 2
     20,  30,  40,  50,  50,  40,  30,  20,  // rank 3
     30,  40,  50,  60,  60,  50,  40,  30,  // rank 4
     30,  40,  50,  60,  60,  50,  40,  30,  // rank 5
     20,  30,  40,  50,  50,  40,  30,  20,  // rank 6
     10,  20,  30,  40,  40,  30,  20,  10,  // rank 7
      0,  10,  20,  30,  30,  20,  10,   0  // rank 8
};

const int bishopmobtable[15] = {-3, -2, 0, 2, 4, 6, 8, 10, 12, 13, 14, 15, 16, 16, 16};
const int rookmobtable[15] = {0, 2, 4, 6, 8, 10, 11, 12, 13, 14, 14, 14, 14, 14, 14};
const int kingopentable[15] = {0, 0, -10, -20, -30, -40, -50, -60, -70, -80, -90, -100, -110, -120, -130};

// King-position values for king safety; the engine's own king starts on e1 when it plays White
// and on d1 when it plays Black, and the home squares are graded accordingly.
static const int kingposwhite[65] = {0,
     0,  1,  2, -4,  0, -4,  2,  1,
    -4, -4, -4, -4, -4, -4, -4, -4,
    -8, -8, -8, -8, -8, -8, -8, -8,
    -8, -8, -8, -8, -8, -8, -8, -8,
    -8, -8, -8, -8, -8, -8, -8, -8,
    -8, -8, -8, -8, -8, -8, -8, -8,
    -4, -4, -4, -4, -4, -4, -4, -4,
     0,  1,  2, -4,  0, -4,  2,  1};
static const int kingposblack[65] = {0,
     1,  2, -4,  0, -4,  2,  1,  0,
    -4, -4, -4, -4, -4, -4, -4, -4,
    -8, -8, -8, -8, -8, -8, -8, -8,
    -8, -8, -8, -8, -8, -8, -8, -8,
    -8, -8, -8, -8, -8, -8, -8, -8,
    -8, -8, -8, -8, -8, -8, -8, -8,
    -4, -4, -4, -4, -4, -4, -4, -4,
     1,  2, -4,  0, -4,  2,  1,  0};

// Position value of a king square for king safety, from the table that fits the engine's colour.
static int kingposition(int k) { return color == 1 ? kingposwhite[k] : kingposblack[k]; }

// Shelter of one wing of the white king: for each file, a missing pawn costs the file's penalty,
// an advanced one 2 (third rank), 4 (fourth) or 6 (further).
static int whiteshelter(const int *whitecount, int file, int missingpenalty) {
  if (whitecount[file] == 0) return -missingpenalty;
  if (board[8 + file] == WPAWN) return 0;
  if (board[16 + file] == WPAWN) return -2;
  if (board[24 + file] == WPAWN) return -4;
  return -6;
}

// The same for the black king, ranks 7, 6 and 5.
static int blackshelter(const int *blackcount, int file, int missingpenalty) {
  if (blackcount[file] == 0) return -missingpenalty;
  if (board[48 + file] == BPAWN) return 0;
  if (board[40 + file] == BPAWN) return -2;
  if (board[32 + file] == BPAWN) return -4;
  return -6;
}

// King safety of the white king on k: its square, the pawn shelter of its wing (a fianchettoed
// bishop softens a pushed knight's pawn), or in the centre the open files beside it, which cost
// less while the king may still castle. No king (k = 0) is no value.
double kingsafetywhite(int k, const int *whitecount) {
  assert(k >= 0 && k <= 64);
  if (k == 0) return 0.0;
  int v = kingposition(k);
  int kf = fileof(k) + 1;
  if (kf >= 6) {
    v += whiteshelter(whitecount, 6, 7) + whiteshelter(whitecount, 7, 9) + whiteshelter(whitecount, 8, 7);
    if (board[23] == WPAWN && board[15] == WBISHOP) v += 2;
  } else if (kf <= 3) {
    v += whiteshelter(whitecount, 3, 7) + whiteshelter(whitecount, 2, 9) + whiteshelter(whitecount, 1, 7);
    if (board[18] == WPAWN && board[10] == WBISHOP) v += 2;
  } else {
    int p = (k == wcastleking) ? 3 : 6;
    for (int f = kf - 1; f <= kf + 1; f++)
      if (whitecount[f] == 0) v -= p;
  }
  return v;
}

// King safety of the black king on k, the mirror of kingsafetywhite (every missing file costs 7),
// returned with the opposite sign so that a weak black king raises the score.
double kingsafetyblack(int k, const int *blackcount) {
  assert(k >= 0 && k <= 64);
  if (k == 0) return 0.0;
  int v = kingposition(k);
  int kf = fileof(k) + 1;
  if (kf >= 6) {
    v += blackshelter(blackcount, 6, 7) + blackshelter(blackcount, 7, 7) + blackshelter(blackcount, 8, 7);
    if (board[55] == BBISHOP && board[47] == BPAWN) v += 2;
  } else if (kf <= 3) {
    v += blackshelter(blackcount, 3, 7) + blackshelter(blackcount, 2, 7) + blackshelter(blackcount, 1, 7);
    if (board[50] == BBISHOP && board[42] == BPAWN) v += 2;
  } else {
    int p = (k == bcastleking) ? 3 : 6;
    for (int f = kf - 1; f <= kf + 1; f++)
      if (blackcount[f] == 0) v -= p;
  }
  return -v;
}

// Weight of a king-safety value by the material the opponent still has to attack with.
static double kingsafetyscale(double material) {
  return material >= KINGSAFETYSATURATION ? KINGSAFETYFULLSCALE : material / KINGSAFETYMATERIALUNIT;
}

// A rook's file bonus: half-open for its own side, more on a file without any pawn.
static int rookfilebonus(int ownpawns, int enemypawns) {
  if (ownpawns > 0) return 0;
  return enemypawns == 0 ? ROOKOPENBONUS : ROOKHALFOPENBONUS;
}

// The score from White's view turned to the side to move: side 0 White, side 1 Black, else 0.
static int byside(int e, int side) {
  if (side == 0) return e;
  if (side == 1) return -e;
  return 0;
}

// The pawns' part of an evaluation: each pawn's material (whitevalue, blackvalue: the values of the
// evaluation's own scale), and its square value and structure terms (cached), from White's view.
// Reads the file summary.
static int pawnterms(const boardscan *scan, int whitevalue, int blackvalue) {
  return scan->whitepawncount * whitevalue + scan->blackpawncount * blackvalue + pawnplacementsum(scan);
}

// Static evaluation of normal chess and its near variants for the side to move (0 White, 1 Black).
// Walks the files a..h, each from rank 1; the first king of each colour met is the one whose
// safety counts. King safety is left out in the endgame and weighed by the opponent's material.
int evaluate(int side) {
  evalcount++;
  boardscan scan;
  scanboard(&scan);
  prefetchpawnsum(&scan);  // the pawns are summed last, by when their cache entry is at hand
  int e = 0;
  int whitephase = 0;
  int blackphase = 0;
  int wk = 0;
  int bk = 0;
  for (int i = 0; i < scan.mencount; i++) {
    int sq = scan.men[i];
    int f = fileof(sq) + 1;
    int r = rankof(sq);
    switch (board[sq]) {
      case WKNIGHT:
        e += regularvalue[WKNIGHT] + knighttable[sq];
        whitephase += PHASEMINOR;
        break;
      case WBISHOP:
        e += regularvalue[WBISHOP] + 2 * bishopmobility(sq, 0) + bishoptable[sq];
        whitephase += PHASEMINOR;
        break;
      case WROOK:
        e += regularvalue[WROOK] + 2 * rookmobility(sq, 0) + rookfilebonus(wcount[f], bcount[f]);
        if (r == 7) e += ROOKSEVENTHBONUS;
        whitephase += PHASEROOK;
        break;
      case WQUEEN:
        e += regularvalue[WQUEEN];
        whitephase += PHASEWHITEQUEEN;
        break;
      case WKING:
        e += regularvalue[WKING];
        if (endgameflag) e += kingendtable[sq];
        if (wcastled) e += CASTLEDBONUS;
        if (wk == 0) wk = sq;
        break;
      case BKNIGHT:
        e += regularvalue[BKNIGHT] + bknighttable[sq];
        blackphase += PHASEMINOR;
        break;
      case BBISHOP:
        e += regularvalue[BBISHOP] - 2 * bishopmobility(sq, 0) + bbishoptable[sq];
        blackphase += PHASEMINOR;
        break;
      case BROOK:
        e += regularvalue[BROOK] - 2 * rookmobility(sq, 0) - rookfilebonus(bcount[f], wcount[f]);
        if (r == 2) e -= ROOKSEVENTHBONUS;
        blackphase += PHASEROOK;
        break;
      case BQUEEN:
        e += regularvalue[BQUEEN];
        blackphase += PHASEBLACKQUEEN;
        break;
      case BKING:
        e += regularvalue[BKING];
        if (endgameflag) e -= kingendtable[sq];
        if (bcastled) e -= CASTLEDBONUS;
        if (bk == 0) bk = sq;
        break;
      default: break;
    }
  }
  e += pawnterms(&scan, regularvalue[WPAWN], regularvalue[BPAWN]);
  if (endgameflag == 0) {
    double w = kingsafetywhite(wk, wcount) / kingsafetydivisor;
    double b = kingsafetyblack(bk, bcount) / kingsafetydivisor;
    int t = (int)(w * kingsafetyscale(blackphase));
    e += (int)(b * kingsafetyscale(whitephase) + t);
  }
  if (threecheckmode) {
    if (topc >= 1) e += FIRSTCHECKBONUS;
    if (topc >= 2) e += endgameflag ? SECONDCHECKENDBONUS : SECONDCHECKBONUS;
    if (topp >= 1) e -= FIRSTCHECKBONUS;
    if (topp >= 2) e -= endgameflag ? SECONDCHECKENDBONUS : SECONDCHECKBONUS;
  }
  return byside(e, side);
}

// Static evaluation of crazyhouse for the side to move: the men in both hands count at their
// crazyhouse values, the men on the board as in evaluate but with the crazyhouse values and
// without phase material, king safety or check bonus; instead each king is charged for the open
// lines around it, where dropped men would attack it.
int evaluatecrazy(int side, const int *whitehand, const int *blackhand) {
  evalcount++;
  boardscan scan;
  scanboard(&scan);
  prefetchpawnsum(&scan);
  int e = 0;
  assert(crazyvalue[EMPTY] == 0);  // an empty slot adds nothing, so no slot needs a test
#pragma GCC unroll HANDSLOTS
  for (int i = 1; i < HANDSLOTS; i++) e += crazyvalue[whitehand[i]] - crazyvalue[blackhand[i]];
  for (int i = 0; i < scan.mencount; i++) {
    int sq = scan.men[i];
    int f = fileof(sq) + 1;
    int r = rankof(sq);
    switch (board[sq]) {
      case WKNIGHT: e += crazyvalue[WKNIGHT] + knighttable[sq]; break;
      case WBISHOP: e += crazyvalue[WBISHOP] + 2 * bishopmobility(sq, 0) + bishoptable[sq]; break;
      case WROOK:
        e += crazyvalue[WROOK] + 2 * rookmobility(sq, 0) + rookfilebonus(wcount[f], bcount[f]);
        if (r == 7) e += ROOKSEVENTHBONUS;
        break;
      case WQUEEN: e += crazyvalue[WQUEEN]; break;
      case WKING:
        e += crazyvalue[WKING] + bishopmobility(sq, 1) + rookmobility(sq, 1);
        if (endgameflag) e += kingendtable[sq];
        if (wcastled) e += CASTLEDBONUS;
        break;
      case BKNIGHT: e += -crazyvalue[BKNIGHT] + bknighttable[sq]; break;
      case BBISHOP: e += -crazyvalue[BBISHOP] - 2 * bishopmobility(sq, 0) + bbishoptable[sq]; break;
      case BROOK:
        e += -crazyvalue[BROOK] - 2 * rookmobility(sq, 0) - rookfilebonus(bcount[f], wcount[f]);
        if (r == 2) e -= ROOKSEVENTHBONUS;
        break;
      case BQUEEN: e -= crazyvalue[BQUEEN]; break;
      case BKING:
        e += -crazyvalue[BKING] - bishopmobility(sq, 1) - rookmobility(sq, 1);
        if (endgameflag) e -= kingendtable[sq];
        if (bcastled) e -= CASTLEDBONUS;
        break;
      default: break;
    }
  }
  e += pawnterms(&scan, crazyvalue[WPAWN], -crazyvalue[BPAWN]);
  return byside(e, side);
}
