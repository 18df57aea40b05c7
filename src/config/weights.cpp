// The weights of the atomic and antichess evaluations that the configuration files tune, with
// their built-in defaults, and the start-up options that steer books and randomness.
#include "config/config.h"

#include <cstring>

// Atomic material by piece code; both colours hold the same positive values.
static const int defaultpiecevalue[13] = {0, 135, 250, 250, 550, 1000, 400, 135, 250, 250, 550, 1000, 400};
// Atomic pawn-advance tables, indexed by square (a1 = 1), listed rank 1 first.
static const int defaultwpawnadvance[65] = {0,
      0,   0,   0,   0,   0,   0,   0,   0,  // rank 1
      0,   0,   0,   0,   0,   0,   0,   0,  // rank 2
     10,  10,  10,  10,  10,  10,  10,  10,  // rank 3
     16,  16,  16,  12,  12,  16,  16,  16,  // rank 4
     24,  24,  24,  24,  24,  24,  24,  24,  // rank 5
     34,  34,  34,  34,  34,  34,  34,  34,  // rank 6
     44,  44,  44,  44,  44,  44,  44,  44,  // rank 7
      0,   0,   0,   0,   0,   0,   0,   0  // rank 8
};
// Black's table is not the mirror of White's on rank 2: a2 holds 0 and c2 -88.
static const int defaultbpawnadvance[65] = {0,
      0,   0,   0,   0,   0,   0,   0,   0,  // rank 1
      0, -44, -88, -44, -44, -44, -44, -44,  // rank 2
    -34, -34, -34, -34, -34, -34, -34, -34,  // rank 3
    -24, -24, -24, -24, -24, -24, -24, -24,  // rank 4
    -16, -16, -16, -12, -12, -16, -16, -16,  // rank 5
    -10, -10, -10, -10, -10, -10, -10, -10,  // rank 6
      0,   0,   0,   0,   0,   0,   0,   0,  // rank 7
      0,   0,   0,   0,   0,   0,   0,   0  // rank 8
};
static const int defaultloservalue[13] = {0, -200, 300, 300, 500, 100, -100, -200, 300, 300, 500, 100, -100};
static const int defaultantivalue[13] = {0, -400, -200, -300, -100, -200, -100, -400, -200, -300, -100, -200, -100};
constexpr int DEFAULTPASSEDBONUS = 100;
constexpr int DEFAULTCASTLEBONUS = 40;
constexpr int DEFAULTROOKKINGBONUS = 150;
constexpr int DEFAULTBISHOPKINGBONUS = 50;
constexpr int DEFAULTKINGKINGBONUS = 100;
constexpr int DEFAULTRANDOMBONUS = 20;
constexpr int DEFAULTKINGPAWNPENALTY = 15;
constexpr int DEFAULTSIDEKINGPAWNPENALTY = 10;
constexpr int DEFAULTQUEENCHECKBONUS = 50;
constexpr int DEFAULTCHECKLEVEL = 2;
constexpr int DEFAULTNOPAWNS = 1500;
constexpr int DEFAULTMAXBOOKMOVES = 100;

int piecevalue[13];
int passedbonus;
int castlebonus;
int rookkingbonus;
int bishopkingbonus;
int kingkingbonus;
int randombonus;
int kingpawnpenalty;
int sidekingpawnpenalty;
int queencheckbonus;
int checklevel;
int wpawnadvance[65];
int bpawnadvance[65];
int loservalue[13];
int nopawns;
int antivalue[13];
int maxbookmoves;
int crazybook;
int nocheckmove;
int noblitzmove;
int randomize;

// Puts the atomic and antichess weights and the book and randomness options back to their defaults.
void resetweights() {
  memcpy(piecevalue, defaultpiecevalue, sizeof piecevalue);
  passedbonus = DEFAULTPASSEDBONUS;
  castlebonus = DEFAULTCASTLEBONUS;
  rookkingbonus = DEFAULTROOKKINGBONUS;
  bishopkingbonus = DEFAULTBISHOPKINGBONUS;
  kingkingbonus = DEFAULTKINGKINGBONUS;
  randombonus = DEFAULTRANDOMBONUS;
  kingpawnpenalty = DEFAULTKINGPAWNPENALTY;
  sidekingpawnpenalty = DEFAULTSIDEKINGPAWNPENALTY;
  queencheckbonus = DEFAULTQUEENCHECKBONUS;
  checklevel = DEFAULTCHECKLEVEL;
  memcpy(wpawnadvance, defaultwpawnadvance, sizeof wpawnadvance);
  memcpy(bpawnadvance, defaultbpawnadvance, sizeof bpawnadvance);
  memcpy(loservalue, defaultloservalue, sizeof loservalue);
  nopawns = DEFAULTNOPAWNS;
  memcpy(antivalue, defaultantivalue, sizeof antivalue);
  maxbookmoves = DEFAULTMAXBOOKMOVES;
  crazybook = nocheckmove = noblitzmove = randomize = 0;
}

// White's queen + 2 * (rook + bishop + knight) + White's pawn, from the atomic values (3235 by default).
int computestartmaterial() {
  return piecevalue[5] + 2 * (piecevalue[4] + piecevalue[3] + piecevalue[2]) + piecevalue[1];
}
