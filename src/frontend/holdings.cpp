// The replay of the moves collected in force mode.
#include "frontend/frontend.h"

// Converts the collected moves to the board held for Black (65 - square, drops change colour)
// when the engine plays Black, and writes them into the game record entries 1..count.
static int convertforce(const int *forcefrom, const int *forceto, int count, int *from, int *to) {
  if (count > GAMERECORDSIZE - 1) count = GAMERECORDSIZE - 1;
  for (int i = 1; i <= count; i++) {
    from[i] = forcefrom[i];
    to[i] = forceto[i];
    if (color != 0) continue;
    to[i] = turnsquare(to[i]);
    from[i] = from[i] > 0 ? turnsquare(from[i]) : -othercolour(-from[i]);
    linef[i] = (signed char)from[i];
    linet[i] = (signed char)to[i];
  }
  return count;
}

// Plays the collected moves on the board as moves of the game, with all their side effects.
static void replaymoves(const int *forcefrom, const int *forceto, int forcecount) {
  int from[GAMERECORDSIZE], to[GAMERECORDSIZE];
  int count = convertforce(forcefrom, forceto, forcecount, from, to);
  for (int i = 1; i <= count; i++) {
    // A move from an empty square or off the board is no move of this game.
    if (to[i] < 1 || to[i] > 64 || from[i] == 0 || (from[i] > 0 && board[from[i]] == EMPTY)) continue;
    playgamemove(from[i], to[i], 0);
  }
}

// Plays the moves collected in force mode on the current board, keeping the game's hands and
// pawn-born lists, and writes the board rank by rank, squares 1..8 first.
void replayforce(const int *forcefrom, const int *forceto, const int *forcecount) {
  replaymoves(forcefrom, forceto, *forcecount);
  for (int r = 0; r < 8; r++) {
    const int *rank = board + 8 * r + 1;
    output("\n%d %d %d %d %d %d %d %d\n", rank[0], rank[1], rank[2], rank[3], rank[4], rank[5], rank[6], rank[7]);
  }
}

// Plays the moves collected in force mode; writes nothing.
void replayforceplain(const int *forcefrom, const int *forceto, const int *forcecount) {
  replaymoves(forcefrom, forceto, *forcecount);
}
