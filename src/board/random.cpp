// The engine's pseudo-random generator for play: the book draws, the spread of the time
// allotment and the atomic evaluation's random bonus.
#include "board/board.h"

static uint64_t randomstate = 1;

// Seeds the generator.
void seedrandom(uint64_t seed) { randomstate = seed; }

// One draw, 0..32767: the top fifteen bits of a 64-bit linear congruential step. The low bits of
// such a step repeat with short periods, so a draw taken modulo a small count must not see them.
int randomdraw() {
  randomstate = randomstate * RANDOMMULTIPLIER + RANDOMINCREMENT;
  return (int)(randomstate >> RANDOMSHIFT);
}
