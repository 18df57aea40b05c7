// The pawn structure shared by the evaluations of the regular and the losers engine: the per-file
// summary of both sides' pawns and the doubled, backward, isolated and free terms of one pawn.
#include "board/board.h"

constexpr int DOUBLEDPAWN = 10;              // a pawn with an own pawn behind it
constexpr int BACKWARDPAWN = 8;              // no own pawn beside or behind it on the neighbouring files
constexpr int ISOLATEDPAWN = 28;             // no own pawn on either neighbouring file
constexpr int FREEPAWN = 15;                 // no enemy pawn ahead of it on the neighbouring files

int wcount[10];
int bcount[10];
int wrear[10];
int brear[10];

// Fills the per-file pawn summary from the board: pawn counts, the rearmost white pawn's rank
// and the rearmost (highest) black pawn's rank; files 0 and 9 stay empty sentinels.
void filesummary() {
  for (int f = 0; f <= 9; f++) {
    wcount[f] = 0;
    bcount[f] = 0;
    wrear[f] = 9;
    brear[f] = -1;
  }
  for (int f = 1; f <= 8; f++) {
    int sq = f;
    for (int r = 1; r <= 8; r++, sq += 8) {
      if (board[sq] == WPAWN) {
        wcount[f]++;
        if (wrear[f] == 9) wrear[f] = r;  // ranks rise: the first one met is the rearmost
      } else if (board[sq] == BPAWN) {
        bcount[f]++;
        brear[f] = r;  // the last one met is Black's rearmost
      }
    }
  }
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
