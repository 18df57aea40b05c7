// The opponent's capture obligation: whether the opponent (Black on the board as held) had a
// capture that the rules would have made compulsory.
#include "antichess/antichess.h"

// 0 when the opponent has a capture available (in losers a legal one: it must not leave the
// opponent's king attacked, and a king may not take onto an attacked square or next to the
// engine's king), 1 when it has none. En-passant captures are left out.
int opponentcancapture() {
  int from[ANTIMAXMOVES], to[ANTIMAXMOVES], promo[ANTIMAXMOVES];
  int count = 0;
  antigenblack(from, to, promo, &count, gameepsquares);
  int kingsq = losersmode ? findman(BKING) : 0;
  for (int i = 1; i <= count; i++) {
    if (board[to[i]] == EMPTY) continue;
    if (allowed(2, from[i], to[i], promo[i], kingsq)) return 0;
  }
  return 1;
}
