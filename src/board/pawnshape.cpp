// The pawn structure shared by the evaluations of the regular and the losers engine: the per-file
// summary of both sides' pawns and the doubled, backward, isolated and free terms of one pawn.
#include "board/board.h"

#include <cstring>

constexpr int DOUBLEDPAWN = 10;              // a pawn with an own pawn behind it
constexpr int BACKWARDPAWN = 8;              // no own pawn beside or behind it on the neighbouring files
constexpr int ISOLATEDPAWN = 28;             // no own pawn on either neighbouring file
constexpr int FREEPAWN = 15;                 // no enemy pawn ahead of it on the neighbouring files

int wcount[10];
int bcount[10];
int wrear[10];
int brear[10];

// One scan of the board, files a..h and each file from rank 1, for both the per-file pawn summary
// (pawn counts, the rearmost white pawn's rank, the rearmost (highest) black pawn's rank; files 0
// and 9 stay empty sentinels) and the list of the occupied squares in that order, which the
// evaluation then walks. Answers the number of occupied squares.
int scanboard(int *occupied) {
  int white[10] = {}, black[10] = {}, whiterear[10], blackrear[10];
  for (int f = 0; f <= 9; f++) {
    whiterear[f] = 9;
    blackrear[f] = -1;
  }
  int n = 0;
  for (int f = 1; f <= 8; f++) {
#pragma GCC unroll 8
    for (int r = 1, sq = f; r <= 8; r++, sq += 8) {
      int man = board[sq];
      if (man == EMPTY) continue;
      occupied[n++] = sq;
      if (man == WPAWN) {
        white[f]++;
        if (whiterear[f] == 9) whiterear[f] = r;  // ranks rise: the first one met is the rearmost
      } else if (man == BPAWN) {
        black[f]++;
        blackrear[f] = r;  // the last one met is Black's rearmost
      }
    }
  }
  memcpy(wcount, white, sizeof wcount);
  memcpy(bcount, black, sizeof bcount);
  memcpy(wrear, whiterear, sizeof wrear);
  memcpy(brear, blackrear, sizeof brear);
  return n;
}

// Fills the per-file pawn summary from the board (see scanboard).
void filesummary() {
  int occupied[64];
  scanboard(occupied);
}

// Structure of a white pawn on file 1..8, rank r: doubled, backward or isolated, and free of
// enemy pawns ahead of it on the neighbouring files. Reads the file summary.
int pawnshapewhite(int file, int rank) {
  assert(file >= 1 && file <= 8);
  int v = 0;
  if (wrear[file] < rank) v -= DOUBLEDPAWN;
  if (rank < wrear[file - 1] && rank < wrear[file + 1])
    v -= (wcount[file - 1] == 0 && wcount[file + 1] == 0) ? ISOLATEDPAWN : BACKWARDPAWN;
  if (brear[file - 1] <= rank && brear[file + 1] <= rank) v += FREEPAWN;
  return v;
}

// The mirror of pawnshapewhite for a black pawn, with Black's signs (a weakness raises the score).
int pawnshapeblack(int file, int rank) {
  assert(file >= 1 && file <= 8);
  int v = 0;
  if (rank < brear[file]) v += DOUBLEDPAWN;
  if (brear[file - 1] < rank && brear[file + 1] < rank)
    v += (bcount[file - 1] == 0 && bcount[file + 1] == 0) ? ISOLATEDPAWN : BACKWARDPAWN;
  if (rank <= wrear[file - 1] && rank <= wrear[file + 1]) v -= FREEPAWN;
  return v;
}
