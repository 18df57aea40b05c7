// The antichess evaluation: in giveaway and suicide every man counts against its side (negative
// values), in losers the values are ordinary and the pawn structure, pawns near the enemy king in
// the endgame, the king's square and having no pawns left are added. Pawn advance counts in all
// three. White's point of view, negated for Black.
#include "antichess/antichess.h"

#include "config/config.h"

constexpr int PAWNNEXTTOKING = 70;     // losers endgame: a pawn beside the enemy king
constexpr int PAWNTWOFROMKING = 35;    // losers endgame: a pawn two squares from the enemy king

// Pawn advance by square, rank 1 first (a1 = 1).
const int antiwpawnadvance[65] = {0,
     0,  0,  0,  0,  0,  0,  0,  0,
     9,  9,  9,  0,  0,  9,  9,  9,
     6,  8,  8, 10, 10,  8,  8,  6,
     6,  8, 12, 16, 26, 12,  8,  6,
     8, 12, 12, 16, 16, 12, 12,  8,
    42, 46, 44, 42, 42, 44, 46, 42,
    82, 86, 84, 82, 82, 84, 86, 82,
     0,  0,  0,  0,  0,  0,  0,  0};
// Black's is not an exact mirror: its d4 holds -26 and its e5 -16.
const int antibpawnadvance[65] = {0,
      0,   0,   0,   0,   0,   0,   0,   0,
    -82, -86, -84, -82, -82, -84, -86, -82,
    -42, -46, -44, -42, -42, -44, -46, -42,
     -8, -12, -12, -26, -16, -12, -12,  -8,
     -6,  -8, -12, -16, -16, -12,  -8,  -6,
     -6,  -8,  -8, -10, -10,  -8,  -8,  -6,
     -9,  -9,  -9,   0,   0,  -9,  -9,  -9,
      0,   0,   0,   0,   0,   0,   0,   0};
const int loserkingtable[65] = {0,
    10, 20, 30, 30, 20, 10,  0, 10,
    20, 30, 40, 40, 30, 20, 10, 20,
    30, 40, 50, 50, 40, 30, 20, 30,
    40, 50, 60, 60, 50, 40, 30, 30,
    40, 50, 60, 60, 50, 40, 30, 20,
    30, 40, 50, 50, 40, 30, 20, 10,
    20, 30, 40, 40, 30, 20, 10,  0,
    10, 20, 30, 30, 20, 10,  0,  0};

// 1 when a man of the code stands two squares from sq in a straight line (two ranks or two files
// away) or a knight's jump that covers two ranks.
int twosquaresaway(int sq, int code) {
  assert(sq >= 1 && sq <= 64);
  int file = fileof(sq);
  auto holds = [code](int t) { return t >= 1 && t <= 64 && board[t] == code; };
  if (holds(sq - 16) || holds(sq + 16)) return 1;
  if (file <= 5 && holds(sq + 2)) return 1;
  if (file >= 2 && holds(sq - 2)) return 1;
  if (file >= 1 && (holds(sq - 17) || holds(sq + 15))) return 1;
  if (file <= 6 && (holds(sq - 15) || holds(sq + 17))) return 1;
  return 0;
}

// Losers endgame: what a pawn near the enemy king (of the code) is worth.
static int kingcloseness(int sq, int king) {
  if (!endgameflag) return 0;
  int v = 0;
  if (isbeside(sq, king)) v += PAWNNEXTTOKING;
  if (twosquaresaway(sq, king)) v += PAWNTWOFROMKING;
  return v;
}

// The score of the position for side 0 (White) or side 1 (Black); any other side gets 0.
int antievaluate(int side) {
  evalcount++;
  if (side != 0 && side != 1) return 0;
  const int *v = losersmode ? loservalue : antivalue;
  if (losersmode) filesummary();
  int s = 0;
  int whitepawns = 0;
  int blackpawns = 0;
  for (int file = 1; file <= 8; file++) {
    for (int rank = 1; rank <= 8; rank++) {
      int sq = file + 8 * (rank - 1);
      switch (board[sq]) {
        case EMPTY: break;
        case WPAWN:
          s += v[WPAWN];
          if (losersmode) {
            whitepawns++;
            s += kingcloseness(sq, BKING);
          }
          s += (3 * antiwpawnadvance[sq]) / 2;
          if (losersmode) s += pawnshapewhite(file, rank);
          break;
        case WKING:
          s += antivalue[WKING];
          if (losersmode && endgameflag) s += loserkingtable[sq];
          break;
        case BPAWN:
          s -= v[BPAWN];
          if (losersmode) {
            blackpawns++;
            s -= kingcloseness(sq, WKING);
          }
          s += (3 * antibpawnadvance[sq]) / 2;
          if (losersmode) s += pawnshapeblack(file, rank);
          break;
        case BKING:
          s -= antivalue[BKING];
          if (losersmode && endgameflag) s -= loserkingtable[sq];
          break;
        default:
          if (iswhite(board[sq])) s += v[board[sq]];
          else s -= v[board[sq]];
          break;
      }
    }
  }
  if (losersmode) {
    if (whitepawns == 0) s += nopawns;
    if (blackpawns == 0) s -= nopawns;
  }
  return side == 0 ? s : -s;
}
