// Result announcements after every move, in every variant: the result line of a game that has
// ended, written from the engine's real colour.
#include "antichess/antichess.h"

#include "config/config.h"

// Writes the engine's win: 1-0 when it plays White, 0-1 when it plays Black.
void announceenginewin() { output(color == 1 ? "\n1-0\n" : "\n0-1\n"); }

// Writes the opponent's win: 0-1 when the engine plays White, 1-0 when it plays Black.
void announceopponentwin() { output(color == 1 ? "\n0-1\n" : "\n1-0\n"); }

// 1 in giveaway and suicide, where the side without a move or without men wins.
static int giveawayrules() { return antimode && !losersmode; }

// 1 when the colour has no move by the antichess generator.
static int nomove(int white) {
  int from[ANTIMAXMOVES], to[ANTIMAXMOVES], promo[ANTIMAXMOVES];
  int count = 0;
  antigenerate(white ? 1 : 2, from, to, promo, &count, gameepsquares);
  return count == 0;
}

// 1 when no king of the code is on the board.
static int kinggone(int king) { return findman(king) == 0; }

// After the opponent's move, with the engine to move. More than one line may be written.
void enginetomoveresult() {
  if (giveawayrules() && nomove(1)) announceenginewin();
  if (atomicmode && kinggone(WKING)) announceopponentwin();
  if (losersmode && bareking(1)) announceenginewin();
  if (giveawayrules() && men(1) == 0) announceenginewin();
  if (threecheckmode && topp >= THREECHECKS) announceopponentwin();
}

// After the engine's move, with the engine's search score for it and whether each king is now
// attacked. In atomic a king blown up ends the game; under the server's rules a king that cannot
// escape the attack is mated. In 3check the checks decide. In the games of the regular engine a score that takes the opponent's king next is
// mate when that king is attacked and stalemate when it is not; a score that loses the engine's
// king whatever it does is its own mate or stalemate. In losers a score of an illegal root move
// means the engine had no legal move, which wins.
void opponenttomoveresult(int score, int oppkingattacked, int ownkingattacked) {
  if (giveawayrules() && nomove(0)) announceopponentwin();
  if (atomicmode && ficsrules && score == ATOMICENGINEWINSNEXT && oppkingattacked) announceenginewin();
  if (atomicmode && ficsrules && score == ATOMICOPPWINSNEXT && ownkingattacked) announceopponentwin();
  if (atomicmode && kinggone(BKING)) announceenginewin();
  if (atomicmode && kinggone(WKING)) announceopponentwin();
  if (threecheckmode && topc >= THREECHECKS) announceenginewin();
  if (threecheckmode && topp >= THREECHECKS) announceopponentwin();
  if (!atomicmode && !antimode && !threecheckmode) {
    if (score == ENGINEMATES && oppkingattacked) announceenginewin();
    if (score == ENGINEMATES && !oppkingattacked) output("\n1/2-1/2 (Stalemate)\n");
    if (score == ENGINEMATED && !ownkingattacked) output("\n1/2-1/2 (Stalemate)\n");
    if (score == ENGINEMATED && ownkingattacked) announceopponentwin();
  }
  if (giveawayrules() && men(0) == 0) announceopponentwin();
  if (losersmode && bareking(0)) announceopponentwin();
  if (losersmode && score == LOSERSALLILLEGAL) announceenginewin();
  if (losersmode && (score == LOSERSKINGTAKEN || score == LOSERSKINGTAKENLATE) && men(0) >= LOSERSFEWMEN)
    announceopponentwin();
}

// The engine is on move and has no legal move. In the games of the regular engine that is mate
// when its king is attacked and stalemate when it is not; in the antichess family the side that
// cannot move wins.
void enginecannotmove(int ownkingattacked) {
  if (antimode)
    announceenginewin();
  else if (ownkingattacked)
    announceopponentwin();
  else
    output("\n1/2-1/2 (Stalemate)\n");
}
