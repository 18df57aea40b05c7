// The check every engine makes every pollinterval nodes: waiting input, then the clock.
#include "control/control.h"

// Polls input and the clock every pollinterval nodes from the second iteration on; a poll that
// asks to end the game counts as a stop. Answers 1 when the clock has run out at this poll. The
// first iteration is never interrupted, so a move is always available.
int stopcheck() {
  if (searchdepth < 2 || pollinterval <= 0 || nodes % pollinterval != 0) return 0;
  if (inputpoll) inputpoll();
  if (discardmove) stopsearch = 1;
  if (searchstart + (unsigned)movetime < gettickcount()) {
    stopsearch = 1;
    return 1;
  }
  return 0;
}
