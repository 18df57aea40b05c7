// Result announcements after every move: the result line of a game that has ended, written from
// the engine's real colour.
#include "antichess/antichess.h"

#include "config/config.h"

// Writes the engine's win: 1-0 when it plays White, 0-1 when it plays Black.
void announceenginewin() { output(color == 1 ? "\n1-0\n" : "\n0-1\n"); }

// Writes the opponent's win: 0-1 when the engine plays White, 1-0 when it plays Black.
void announceopponentwin() { output(color == 1 ? "\n0-1\n" : "\n1-0\n"); }

// After the opponent's move, with the engine to move: in atomic the engine's king blown up, in
// 3check the opponent's third check ends the game.
void enginetomoveresult() {
  if (atomicmode && findman(WKING) == 0) announceopponentwin();
  if (threecheckmode && topp >= THREECHECKS) announceopponentwin();
}

// After the engine's move, with the engine's search score for it and whether each king is now
// attacked. In atomic a king blown up ends the game. In 3check the checks decide. In the games of the regular engine a score that takes
// the opponent's king next is mate when that king is attacked and stalemate when it is not; a
// score that loses the engine's king whatever it does is its own mate or stalemate.
void opponenttomoveresult(int score, int oppkingattacked, int ownkingattacked) {
  if (atomicmode) {
    // Under the server's rules a king that cannot escape the attack is mated.
    if (ficsrules && score == ATOMICENGINEWINSNEXT && oppkingattacked) announceenginewin();
    if (ficsrules && score == ATOMICOPPWINSNEXT && ownkingattacked) announceopponentwin();
    if (findman(BKING) == 0) announceenginewin();
    if (findman(WKING) == 0) announceopponentwin();
  }
  if (threecheckmode && topc >= THREECHECKS) announceenginewin();
  if (threecheckmode && topp >= THREECHECKS) announceopponentwin();
  if (atomicmode || antimode || threecheckmode) return;
  if (score == ENGINEMATES && oppkingattacked) announceenginewin();
  if (score == ENGINEMATES && !oppkingattacked) output("\n1/2-1/2 (Stalemate)\n");
  if (score == ENGINEMATED && !ownkingattacked) output("\n1/2-1/2 (Stalemate)\n");
  if (score == ENGINEMATED && ownkingattacked) announceopponentwin();
}
