// The lag of the engine's clock: what each of its moves costs on the clock beyond the time the
// engine itself measured for the move (the pipes, the interface, a loaded machine, a server's
// network). It is read off the clock figures: the fall of the clock from one "time" to the next,
// less the increment and the engine's own time for the move in between. The allotment keeps that
// much back for every move still to come, so that a slow interface or machine does not run the
// clock out over a long game.
#include "frontend/frontend.h"

constexpr int NOLAGCLOCK = -1;   // lagclock: the last move was made without a fresh clock
constexpr int MAXLAG = 2000;     // milliseconds: a larger fall is no lag (a clock set anew, a new control)
constexpr int LAGDECAY = 4;      // a smaller lag moves the estimate by a quarter of the difference

int movelag = 0;
int freshclock = 0;
static int lagclock = NOLAGCLOCK;  // the clock in milliseconds the last move was made with
static int lagspent = 0;           // milliseconds the engine measured for that move

// Notes the clock a move was made with and the engine's own time for it (from the start of its
// pass to its move line); the next fresh clock then tells the lag.
void notemoveclock(int spent) {
  lagclock = clockgiven && freshclock ? timeleft * 10 : NOLAGCLOCK;
  lagspent = spent;
  freshclock = 0;
}

// Reads the lag of the last move off the fresh clock of this one. The estimate rises at once to a
// larger lag and falls slowly to a smaller one: one quick move must not undo the margin that a
// string of slow ones built.
void readlag() {
  if (lagclock == NOLAGCLOCK || !freshclock) return;
  int lag = lagclock + levelinc * 10 - timeleft * 10 - lagspent;
  lagclock = NOLAGCLOCK;
  if (lag < 0 || lag > MAXLAG) return;
  movelag = lag > movelag ? lag : movelag - (movelag - lag) / LAGDECAY;
}

// Forgets the last move's clock: a new game starts a new count, while the lag found stays.
void forgetmoveclock() {
  lagclock = NOLAGCLOCK;
  freshclock = 0;
}

void resetlag() {
  movelag = 0;
  forgetmoveclock();
}
