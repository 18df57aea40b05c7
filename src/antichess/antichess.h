// The antichess engine (giveaway, suicide, losers) and the result announcements that the front end
// calls after every move in every variant.
#ifndef KORVEL_ANTICHESS_H
#define KORVEL_ANTICHESS_H

#include "board/board.h"
#include "control/control.h"

// --- result announcements (gameend.cpp) ---
void enginetomoveresult();
void opponenttomoveresult(int score, int oppkingattacked, int ownkingattacked);
void announceenginewin();
void announceopponentwin();
void enginecannotmove(int ownkingattacked);

#endif
