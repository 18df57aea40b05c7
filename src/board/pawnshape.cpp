// The pawn structure shared by the evaluations of the regular and the losers engine: the per-file
// summary of both sides' pawns (the terms of one pawn that read it are inline in board.h).
#include "board/board.h"

#include <cstring>

constexpr uint64_t PAWNKEYSEED = 0x6b6f7276656c7077ull;  // start of the pawn keys' generator
constexpr uint64_t PAWNKEYSTEP = 0x9e3779b97f4a7c15ull;  // the generator's step
constexpr uint64_t PAWNKEYMIXA = 0xbf58476d1ce4e5b9ull;  // the first multiplier of the mix
constexpr uint64_t PAWNKEYMIXB = 0x94d049bb133111ebull;  // the second

// The keys of a pawn on each square, White's and Black's drawn in turn square by square: 64-bit
// draws of their own (the position keys are too narrow to tell pawn placements apart safely),
// each a step of the generator and a mix of all 64 bits, fixed when the program is built.
struct pawnkeytables {
  uint64_t white[65];
  uint64_t black[65];
};
static constexpr uint64_t pawnkeymix(uint64_t z) {
  z = (z ^ (z >> 30)) * PAWNKEYMIXA;
  z = (z ^ (z >> 27)) * PAWNKEYMIXB;
  return z ^ (z >> 31);
}
static constexpr pawnkeytables drawpawnkeys() {
  pawnkeytables keys{};
  uint64_t state = PAWNKEYSEED;
  for (int sq = 1; sq <= 64; sq++) {
    state += PAWNKEYSTEP;
    keys.white[sq] = pawnkeymix(state);
    state += PAWNKEYSTEP;
    keys.black[sq] = pawnkeymix(state);
  }
  return keys;
}
static constexpr pawnkeytables pawnkeys = drawpawnkeys();

int wcount[10];
int bcount[10];
int wrear[10];
int brear[10];

// One scan of the board, files a..h and each file from rank 1, for both the per-file pawn summary
// (pawn counts, the rearmost white pawn's rank, the rearmost (highest) black pawn's rank; files 0
// and 9 stay empty sentinels) and the lists of what stands where, in that order: the pawns of each
// side apart from the other men, so that an evaluation walks each kind without asking which it is,
// and the key of the pawn placement.
void scanboard(boardscan *scan) {
  int white[10] = {}, black[10] = {}, whiterear[10], blackrear[10];
  for (int f = 0; f <= 9; f++) {
    whiterear[f] = 9;
    blackrear[f] = -1;
  }
  int men = 0, whitepawns = 0, blackpawns = 0;  // counted in locals while the lists are written
  uint64_t pawnkey = 0;
  for (int f = 1; f <= 8; f++) {
#pragma GCC unroll 8
    for (int r = 1, sq = f; r <= 8; r++, sq += 8) {
      int man = board[sq];
      if (man == EMPTY) continue;
      if (man == WPAWN) {
        scan->whitepawns[whitepawns++] = sq;
        pawnkey ^= pawnkeys.white[sq];
        white[f]++;
        if (whiterear[f] == 9) whiterear[f] = r;  // ranks rise: the first one met is the rearmost
      } else if (man == BPAWN) {
        scan->blackpawns[blackpawns++] = sq;
        pawnkey ^= pawnkeys.black[sq];
        black[f]++;
        blackrear[f] = r;  // the last one met is Black's rearmost
      } else {
        scan->men[men++] = sq;
      }
    }
  }
  scan->mencount = men;
  scan->whitepawncount = whitepawns;
  scan->blackpawncount = blackpawns;
  scan->pawnkey = pawnkey;
  memcpy(wcount, white, sizeof wcount);
  memcpy(bcount, black, sizeof bcount);
  memcpy(wrear, whiterear, sizeof wrear);
  memcpy(brear, blackrear, sizeof brear);
}

// Fills the per-file pawn summary from the board (see scanboard).
void filesummary() {
  boardscan scan;
  scanboard(&scan);
}
