// Position set-up and board orientation: reading a FEN text onto the board, mirroring it, and
// turning it for an engine that plays Black.
#include "frontend/frontend.h"

#include <cstring>

// Reads the board and castling fields of a FEN text (characters at text[1..length]) onto the
// board and the castling values. The board field fills squares from 64 downwards, so the board
// lands mirrored left-right; mirrorboard undoes that. The board field ends at the first blank or
// "[" (a crazyhouse hand) or after the 64th square, so a short or long board text never writes
// outside the board and never takes the other fields for men; missing squares stay empty.
void parsefen(const char *text, int length) {
  for (int s = 1; s <= 64; s++) board[s] = EMPTY;
  int sq = 64;
  int i = 1;
  for (; i <= length && sq >= 1; i++) {
    char c = text[i];
    if (c == ' ' || c == '[') break;
    if (c >= '1' && c <= '8') {
      sq -= c - '0';
    } else if (fencode(c)) {
      board[sq] = fencode(c);
      sq--;
    }
  }
  wcastleking = wcastlea = wcastleh = bcastleking = bcastlea = bcastleh = 0;
  bool inhand = false;
  for (; i <= length; i++) {
    char c = text[i];
    if (c == '[') inhand = true;
    if (c == ']') inhand = false;
    if (inhand) continue;
    if (c == 'K') wcastleh = SQH1, wcastleking = SQE1;
    if (c == 'Q') wcastlea = SQA1, wcastleking = SQE1;
    if (c == 'k') bcastleh = SQH8, bcastleking = SQE8;
    if (c == 'q') bcastlea = SQA8, bcastleking = SQE8;
  }
  if (wcastleking == SQE1) wcastleking = findman(WKING);
  if (bcastleking == SQE8) bcastleking = findman(BKING);
}

// Re-finds the castling king squares after the board was rebuilt, visiting the squares in the
// given order; a value of 0 (no right) stays 0.
static void refindkings(const int *order) {
  bool whitefound = false, blackfound = false;
  for (int i = 0; i < 64; i++) {
    int s = order[i];
    if (!whitefound && board[s] == WKING && wcastleking > 0) {
      wcastleking = s;
      whitefound = true;
    }
    if (!blackfound && board[s] == BKING && bcastleking > 0) {
      bcastleking = s;
      blackfound = true;
    }
  }
}

// Mirrors the board left-right (a <-> h) and re-finds the castling king squares, scanning file by
// file from a1 upwards.
void mirrorboard() {
  int mirrored[65];
  for (int s = 1; s <= 64; s++) mirrored[8 * (rankof(s) - 1) + 8 - fileof(s)] = board[s];
  memcpy(board + 1, mirrored + 1, 64 * sizeof(int));
  int order[64];
  for (int f = 0; f < 8; f++)
    for (int r = 0; r < 8; r++) order[8 * f + r] = 8 * r + f + 1;
  refindkings(order);
}

// Turns the board by 180 degrees and exchanges the colours, so that the other side's men carry
// the white codes. The castling rights follow the players: Black's h-side right becomes the
// right of the turned board's a-side (its rook now stands on square 1), and so on. Then the
// castling king squares are re-found, scanning file by file from square 64 downwards.
void turnboard() {
  int turned[65];
  for (int s = 1; s <= 64; s++) turned[s] = othercolour(board[turnsquare(s)]);
  memcpy(board + 1, turned + 1, 64 * sizeof(int));
  int oldwking = wcastleking, oldwa = wcastlea, oldwh = wcastleh;
  wcastleking = bcastleking;
  wcastlea = bcastleh ? SQA1 : 0;
  wcastleh = bcastlea ? SQH1 : 0;
  bcastleking = oldwking;
  bcastlea = oldwh ? SQA8 : 0;
  bcastleh = oldwa ? SQH8 : 0;
  int order[64];
  for (int f = 0; f < 8; f++)
    for (int r = 0; r < 8; r++) order[8 * f + r] = 64 - f - 8 * r;
  refindkings(order);
}

// Puts the starting position onto the board held for Black and clears the table's stored keys,
// moves and depths.
void setupblack() {
  memcpy(board, startboard, sizeof board);
  wcastleking = SQE1, wcastlea = SQA1, wcastleh = SQH1;
  bcastleking = SQE8, bcastlea = SQA8, bcastleh = SQH8;
  turnboard();
  output("\n done black \n");
  clearhashentries();
}
