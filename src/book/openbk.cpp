// The small book "openbk.txt": a flat list of numbered lines, asked before the book trees in
// normal chess. A point ends a line; within a line every four characters that read as file, rank,
// file, rank are a move. The chooser collects the next move of every line that agrees with the game
// and is legal now, and draws one.
#include "book/book.h"

#include "config/config.h"

#include <cstdio>
#include <cstring>

constexpr int MOVECHARS = 4;            // characters of one move

unsigned char openbkfrom[OPENBKSIZE];
unsigned char openbkto[OPENBKSIZE];
int openbkcount = 0;
int openbkloaded = 0;
int openbkdone = 0;

static int agrees(int row);

// Reads "openbk.txt" into the two tables: line k (after the k-th point) goes to row k, its moves to
// entries 1..29. Lines past row 249 are counted but not stored, and the reading stops at line 445,
// so nothing is ever written outside the tables whatever the file holds. A folder or a pipe of that
// name counts as a missing file.
void readopenbk() {
  memset(openbkfrom, 0, sizeof openbkfrom);
  memset(openbkto, 0, sizeof openbkto);
  FILE *file = openconfigfile(datafile("openbk.txt", BOOKFILE));
  if (!file) {
    openbkloaded = 0;
    return;
  }
  openbkloaded = 1;
  int line = 0;
  int moves = 0;
  char window[MOVECHARS];
  int held = 0;
  int c;
  while ((c = fgetc(file)) != EOF && c != '$') {
    if (c == '.') {
      line++;
      moves = held = 0;
      if (line * OPENBKROW >= OPENBKLAST) break;
      continue;
    }
    if (held == MOVECHARS) {
      memmove(window, window + 1, MOVECHARS - 1);
      held--;
    }
    window[held++] = (char)c;
    if (held < MOVECHARS) continue;
    int from = squareof(window[0], window[1]);
    int to = squareof(window[2], window[3]);
    if (!from || !to) continue;
    held = 0;
    int row = line * OPENBKROW;
    if (moves < OPENBKMOVES && row < OPENBKSTORED) {
      moves++;
      openbkfrom[row + moves] = (unsigned char)from;
      openbkto[row + moves] = (unsigned char)to;
    }
  }
  fclose(file);
  openbkcount = line;
  output("finished");
}

// 1 when the line of the row begins with the game's half-moves 1..ltop - 1 (converted to book
// squares). A game longer than a line can hold agrees with none.
static int agrees(int row) {
  if (ltop > OPENBKMOVES) return 0;
  for (int j = 1; j < ltop; j++) {
    if (openbkfrom[row + j] != booksquare(linef[j]) || openbkto[row + j] != booksquare(linet[j])) return 0;
  }
  return 1;
}

// Leaves in finfrom-finto the next move of a line that agrees with the game and is in the legal
// move list (count moves, 1-based), drawn at random; 0-0 when there is none. From the sixth
// half-move on, a lookup without candidates retires the list for the rest of the game. The
// engine's first move as White is e2e4, d2d4 or c2c4 (2 : 1 : 1) unless noblitzmove is set.
void chooseopenbk(const int *movefrom, const int *moveto, int count) {
  static const int blitzfrom[4] = {SQE2, SQE2, SQD2, SQC2};
  static const int blitzto[4] = {SQE4, SQE4, SQD4, SQC4};
  int candfrom[OPENBKCANDIDATES + 1];
  int candto[OPENBKCANDIDATES + 1];
  int n = 0;
  finfrom = finto = 0;
  for (int k = 1; k <= openbkcount && !openbkdone; k++) {
    int row = k * OPENBKROW;
    if (!agrees(row)) continue;
    int from = booksquare(openbkfrom[row + ltop]);
    int to = booksquare(openbkto[row + ltop]);
    if (!inmovelist(from, to, movefrom, moveto, count)) continue;
    if (n < OPENBKCANDIDATES) n++;
    candfrom[n] = from;
    candto[n] = to;
  }
  if (n > 0) {
    int entry = randomdraw() % n + 1;
    finfrom = candfrom[entry];
    finto = candto[entry];
  } else if (!noblitzmove && gameply > OPENBKDONEPLY) {
    openbkdone = 1;
  }
  if (!noblitzmove && color == 1 && ltop == 1) {
    int r = randomdraw() % 4;
    finfrom = blitzfrom[r];
    finto = blitzto[r];
  }
  if (!inmovelist(finfrom, finto, movefrom, moveto, count)) finfrom = finto = 0;
}
