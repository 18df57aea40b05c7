// The check every engine makes every pollinterval nodes: waiting input, then the clock.
#include "control/control.h"

// Polls input and the clock every pollinterval nodes; a poll that asks to end the game counts as
// a stop. Answers 1 when the clock has run out at this poll. The first iteration is interrupted
// too: a position whose first iteration cannot finish in time (a board full of queens to drop)
// must still move within the clock, and "quit" must still be heard; the root then plays the best
// move among those it has searched.
int stopcheck() {
  if (pollinterval <= 0 || nodes % pollinterval != 0) return 0;
  if (inputpoll) inputpoll();
  if (discardmove) stopsearch = 1;
  // Elapsed time as a difference of ticks, which stays right when the tick counter wraps.
  if (gettickcount() - searchstart > (unsigned)movetime) {
    stopsearch = 1;
    return 1;
  }
  return 0;
}
