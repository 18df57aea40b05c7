// The pawn-structure cache of the regular evaluations. The structure terms of the pawns and their
// square-table values depend on nothing but where the pawns stand, and neighbouring nodes mostly
// share their pawns, so the sum is kept by a key of the pawn placement. The square tables change
// only when the configuration is read at start-up or reset (resetall clears the cache after that).
// The keys are 64-bit draws of their own (the position keys are too narrow to tell pawn placements
// apart safely).
#include "regular/regular.h"

#include "config/config.h"

constexpr int PAWNCACHEENTRIES = 16384;     // entries of the cache
constexpr uint64_t PAWNKEYSEED = 0x6b6f7276656c7077ull;  // start of the pawn keys' generator
constexpr uint64_t PAWNKEYSTEP = 0x9e3779b97f4a7c15ull;  // the generator's step
constexpr uint64_t PAWNKEYMIXA = 0xbf58476d1ce4e5b9ull;  // the first multiplier of the mix
constexpr uint64_t PAWNKEYMIXB = 0x94d049bb133111ebull;  // the second

// One cached sum: the key of the pawn placement and the structure terms and square-table values of
// all its pawns (White's view). The cleared entry (key 0, sum 0) is right for a board without pawns, whose key is 0.
struct pawncacheentry {
  uint64_t key;
  int shape;
};

static pawncacheentry pawncache[PAWNCACHEENTRIES];
static uint64_t whitepawnkey[65];  // key of a white pawn on each square
static uint64_t blackpawnkey[65];  // key of a black pawn on each square
static int pawnkeysdrawn = 0;      // 1 once the two key tables are filled

// One draw of the pawn keys' generator: a step, then a mix of all 64 bits.
static uint64_t pawnkeydraw(uint64_t *state) {
  *state += PAWNKEYSTEP;
  uint64_t z = *state;
  z = (z ^ (z >> 30)) * PAWNKEYMIXA;
  z = (z ^ (z >> 27)) * PAWNKEYMIXB;
  return z ^ (z >> 31);
}

// Fills the key tables, the same every run.
static void drawpawnkeys() {
  uint64_t state = PAWNKEYSEED;
  for (int sq = 1; sq <= 64; sq++) {
    whitepawnkey[sq] = pawnkeydraw(&state);
    blackpawnkey[sq] = pawnkeydraw(&state);
  }
  pawnkeysdrawn = 1;
}

// The structure terms and the square-table values (pawntable, bpawntable) of every pawn of the
// scan, from the cache when the placement is there, else summed and kept. Reads the file summary
// of the same scan.
int pawnplacementsum(const boardscan *scan) {
  if (!pawnkeysdrawn) drawpawnkeys();
  uint64_t key = 0;
  for (int i = 0; i < scan->whitepawncount; i++) key ^= whitepawnkey[scan->whitepawns[i]];
  for (int i = 0; i < scan->blackpawncount; i++) key ^= blackpawnkey[scan->blackpawns[i]];
  pawncacheentry *entry = &pawncache[key % PAWNCACHEENTRIES];
  if (entry->key == key) return entry->shape;
  int shape = 0;
  for (int i = 0; i < scan->whitepawncount; i++) {
    int sq = scan->whitepawns[i];
    shape += pawnshapewhite(fileof(sq) + 1, rankof(sq)) + pawntable[sq];
  }
  for (int i = 0; i < scan->blackpawncount; i++) {
    int sq = scan->blackpawns[i];
    shape += pawnshapeblack(fileof(sq) + 1, rankof(sq)) + bpawntable[sq];
  }
  entry->key = key;
  entry->shape = shape;
  return shape;
}

// Empties the cache (every entry back to the one of a board without pawns).
void clearpawncache() {
  for (int i = 0; i < PAWNCACHEENTRIES; i++) pawncache[i] = {0, 0};
}
