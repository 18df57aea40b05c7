// The clock of the full-strength searches: each move gets a soft time, after which no new
// iteration starts, and a hard time (movetime), at which the running iteration stops.
#include "control/control.h"

#include "config/config.h"

constexpr int FULLOVERHEAD = 100;      // milliseconds of the clock kept back for the pipes and the interface
constexpr int SUDDENDEATHMOVES = 25;   // moves a clock without a move count is spread over
constexpr int INCREMENTSHARE = 4;      // four fifths of the increment are spent on the move
constexpr int INCREMENTPARTS = 5;
constexpr int HARDFACTOR = 4;          // the hard time is at most this many soft times
constexpr int HARDCLOCKPART = 3;       // and never more than a third of the usable clock
constexpr int NEXTITERATIONPART = 60;  // a new iteration starts only before this percentage of the soft time
constexpr int BESTCHANGEDRAISE = 50;   // percent more when the best move changed in the last iteration
constexpr int SCOREFELLRAISE = 30;     // percent more when the score fell in the last iteration

int softtime = 0;

// Plans the move from the engine's clock (clockms), the increment, the moves of a control
// (levelmoves, 0 for none), the moves made so far and the lag each move costs the clock beyond
// the engine's own time. The lag is paid from the increment, and what the increment does not
// cover is kept back from the clock for every move still to come. Without a clock, or with a
// per-game budget, the allotment already made stands for both times.
void planfulltime(int clockms, int incms, int levelmoves, int movesmade, int lag) {
  softtime = movetime;
  if (clockms <= 0 || fixedtimeleft != NOFIXEDTIME) return;
  int movesleft = levelmoves >= 1 ? levelmoves - movesmade % levelmoves : SUDDENDEATHMOVES;
  int paid = lag < incms ? lag : incms;
  long long usable = clockms - FULLOVERHEAD - (long long)(lag - paid) * movesleft;
  if (usable < 1) usable = 1;
  long long soft = usable / (movesleft + 1) + (long long)(incms - paid) * INCREMENTSHARE / INCREMENTPARTS;
  long long hard = soft * HARDFACTOR;
  if (hard > usable / HARDCLOCKPART) hard = usable / HARDCLOCKPART;
  if (hard < 1) hard = 1;
  if (soft > hard) soft = hard;
  softtime = (int)soft;
  movetime = (int)hard;
}

// 1 when the time spent so far leaves room for another iteration: before a part of the soft
// time, raised when the best move just changed or the score fell, and never past the hard time.
int nextiterationfits(int bestchanged, int scorefell) {
  long long budget = softtime;
  if (bestchanged) budget += budget * BESTCHANGEDRAISE / 100;
  if (scorefell) budget += budget * SCOREFELLRAISE / 100;
  if (budget > movetime) budget = movetime;
  unsigned spent = gettickcount() - searchstart;
  return (long long)spent * 100 < budget * NEXTITERATIONPART;
}
