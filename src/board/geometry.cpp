// The board model, the castling state, the variant flags and the ray-length tables.
#include "board/board.h"

#include <cstring>

const int startboard[65] = {
    0,                                                    // index 0 is not a square
    4, 2, 3, 5, 6, 3, 2, 4,                               // rank 1
    1, 1, 1, 1, 1, 1, 1, 1,                               // rank 2
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,       // ranks 3, 4
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,       // ranks 5, 6
    7, 7, 7, 7, 7, 7, 7, 7,                               // rank 7
    10, 8, 9, 11, 12, 9, 8, 10};                          // rank 8

int board[65] = {
    0,
    4, 2, 3, 5, 6, 3, 2, 4,
    1, 1, 1, 1, 1, 1, 1, 1,
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    7, 7, 7, 7, 7, 7, 7, 7,
    10, 8, 9, 11, 12, 9, 8, 10};

int wcastleking = SQE1;
int wcastlea = SQA1;
int wcastleh = SQH1;
int bcastleking = SQE8;
int bcastlea = SQA8;
int bcastleh = SQH8;
int ownkingsq = SQE1;
int oppkingsq = SQE8;
int wcastled = 0;
int bcastled = 0;

int atomicmode = 0;
int threecheckmode = 0;
int crazymode = 0;
int antimode = 1;
int losersmode = 0;
int suicidemode = 0;
int twokingsmode = 0;
int topc = 0;
int topp = 0;

int rayupright[65];
int raydownright[65];
int raydownleft[65];
int rayupleft[65];
int rayup[65];
int rayright[65];
int raydown[65];
int rayleft[65];
unsigned char knightjumps[65][9];

// Piece code of a FEN letter (White for capitals), 0 for any other character.
int fencode(char letter) {
  static const char letters[] = "PNBRQKpnbrqk";
  for (int i = 0; i < 12; i++)
    if (letters[i] == letter) return i + 1;
  return EMPTY;
}

// Counts how far a slider on s travels with the given step before it leaves the board; a step
// that lands on the a-file (or the h-file) after moving right (or left) has wrapped round.
static int raylength(int s, int step) {
  int length = 0;
  for (int i = 1; i <= 7; i++) {
    int t = s + step * i;
    if (t < 1 || t > 64) break;
    bool right = step == 9 || step == -7 || step == 1;
    bool left = step == 7 || step == -9 || step == -1;
    if (right && onafile(t)) break;
    if (left && onhfile(t)) break;
    length++;
  }
  return length;
}

// Fills knightjumps: for each square the squares a knight reaches from it, in the order the attack
// test looks at them, ended by 0. A jump may change the file by at most two.
static void initknightjumps() {
  const int jumps[8] = {15, 17, 6, 10, -17, -15, -6, -10};
  for (int s = 1; s <= 64; s++) {
    int count = 0;
    for (int j : jumps) {
      int t = s + j;
      int filestep = (t - 1) % 8 - (s - 1) % 8;
      if (t >= 1 && t <= 64 && filestep >= -2 && filestep <= 2) knightjumps[s][count++] = (unsigned char)t;
    }
    knightjumps[s][count] = 0;
  }
}

// Fills the eight ray-length tables and the knight-jump lists; element 0 of each holds the direction's step.
void initrays() {
  int *tables[8] = {rayupright, raydownright, raydownleft, rayupleft, rayup, rayright, raydown, rayleft};
  const int steps[8] = {9, -7, -9, 7, 8, 1, -8, -1};
  for (int d = 0; d < 8; d++) {
    tables[d][0] = steps[d];
    for (int s = 1; s <= 64; s++) tables[d][s] = raylength(s, steps[d]);
  }
  initknightjumps();
}

// Puts the board, the castling state, the king squares, the variant flags and the check
// counters back to their values at load.
void resetboard() {
  memcpy(board, startboard, sizeof board);
  wcastleking = SQE1;
  wcastlea = SQA1;
  wcastleh = SQH1;
  bcastleking = SQE8;
  bcastlea = SQA8;
  bcastleh = SQH8;
  ownkingsq = SQE1;
  oppkingsq = SQE8;
  wcastled = bcastled = 0;
  atomicmode = threecheckmode = crazymode = 0;
  antimode = 1;
  losersmode = suicidemode = twokingsmode = 0;
  topc = topp = 0;
  stalemateflag = 0;
}
