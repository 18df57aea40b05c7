// The root repetition test of the searches.
#include "control/control.h"

#include <cstring>

// 1 when the position after a root move repeats one the game reached after an engine move (the
// opponent to move in both): the same men on the same squares and, in crazyhouse, the same hands.
int repeatsgame(const int *wheld, const int *bheld) {
  int last = historycount < HISTORYSIZE ? historycount : HISTORYSIZE - 1;
  for (int h = 1; h <= last; h++) {
    const historyrecord *r = &gamehistory[h];
    if (!r->enginemove || memcmp(&board[1], &r->squares[1], 64 * sizeof(int)) != 0) continue;
    if (!crazymode || samehands(wheld, bheld, r->wheld, r->bheld)) return 1;
  }
  return 0;
}
