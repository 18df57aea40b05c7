// The pawn-structure cache of the regular evaluations. The structure terms of the pawns and their
// square-table values depend on nothing but where the pawns stand, and neighbouring nodes mostly
// share their pawns, so the sum is kept by a key of the pawn placement. The square tables change
// only when the configuration is read at start-up or reset (resetall clears the cache after that).
// The key is the scan's pawn key.
#include "regular/regular.h"

#include "config/config.h"

constexpr int PAWNCACHEENTRIES = 16384;     // entries of the cache

// One cached sum: the key of the pawn placement and the structure terms and square-table values of
// all its pawns (White's view). The cleared entry (key 0, sum 0) is right for a board without pawns, whose key is 0.
struct pawncacheentry {
  uint64_t key;
  int shape;
};

static pawncacheentry pawncache[PAWNCACHEENTRIES];

// The structure terms and the square-table values (pawntable, bpawntable) of every pawn of the
// scan, from the cache when the placement is there, else summed and kept. Reads the file summary
// of the same scan.
int pawnplacementsum(const boardscan *scan) {
  uint64_t key = scan->pawnkey;
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

// Asks for the cache entry of the scan's pawn placement to be brought in while the evaluation
// does its other work.
void prefetchpawnsum(const boardscan *scan) { __builtin_prefetch(&pawncache[scan->pawnkey % PAWNCACHEENTRIES]); }

// Empties the cache (every entry back to the one of a board without pawns).
void clearpawncache() {
  for (int i = 0; i < PAWNCACHEENTRIES; i++) pawncache[i] = {0, 0};
}
