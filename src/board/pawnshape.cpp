// The pawn structure shared by the evaluations of the regular and the losers engine: the per-file
// summary of both sides' pawns (the terms of one pawn that read it are inline in board.h).
#include "board/board.h"

#include <cstring>

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
