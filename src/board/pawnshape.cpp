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
// and 9 stay empty sentinels) and the lists of what stands where, in that order: the pawns of each
// side apart from the other men, so that an evaluation walks each kind without asking which it is.
void scanboard(boardscan *scan) {
  int white[10] = {}, black[10] = {}, whiterear[10], blackrear[10];
  for (int f = 0; f <= 9; f++) {
    whiterear[f] = 9;
    blackrear[f] = -1;
  }
  int men = 0, whitepawns = 0, blackpawns = 0;  // counted in locals while the lists are written
  for (int f = 1; f <= 8; f++) {
#pragma GCC unroll 8
    for (int r = 1, sq = f; r <= 8; r++, sq += 8) {
      int man = board[sq];
      if (man == EMPTY) continue;
      if (man == WPAWN) {
        scan->whitepawns[whitepawns++] = sq;
        white[f]++;
        if (whiterear[f] == 9) whiterear[f] = r;  // ranks rise: the first one met is the rearmost
      } else if (man == BPAWN) {
        scan->blackpawns[blackpawns++] = sq;
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
