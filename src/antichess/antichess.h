// The antichess engine (giveaway, suicide, losers) and the result announcements that the front end
// calls after every move in every variant.
#ifndef KORVEL_ANTICHESS_H
#define KORVEL_ANTICHESS_H

#include "board/board.h"

constexpr int ENGINEMATES = 14997;      // regular score of a move that takes the opponent's king next
constexpr int ENGINEMATED = -14998;     // regular score when every move loses the engine's king
constexpr int THREECHECKS = 3;          // checks that win a 3check game

// --- result announcements (gameend.cpp) ---
void enginetomoveresult();
void opponenttomoveresult(int score, int oppkingattacked, int ownkingattacked);
void announceenginewin();
void announceopponentwin();

#endif
