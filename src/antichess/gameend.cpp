// Result announcements after every move, in every variant: the result line of a game that has
// ended, written from the engine's real colour.
#include "antichess/antichess.h"

#include "config/config.h"

// Several rows may find the same end (a side without men has no move either); the interface is
// told the result once, by the first row that finds it.
static int announced = 0;

// Writes a result line unless this check has written one already.
static void announce(const char *line) {
  if (!announced) output("%s", line);
  announced = 1;
}

// Writes the engine's win: 1-0 when it plays White, 0-1 when it plays Black.
void announceenginewin() { announce(color == 1 ? "\n1-0\n" : "\n0-1\n"); }

// Writes the opponent's win: 0-1 when the engine plays White, 1-0 when it plays Black.
void announceopponentwin() { announce(color == 1 ? "\n0-1\n" : "\n1-0\n"); }

static const char *const STALEMATELINE = "\n1/2-1/2 (Stalemate)\n";

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

// With the engine to move, after the opponent's move or before the engine's (a set-up, or moves
// entered in force mode, may hand it a game that is already over, by either side). Answers 1 when
// it wrote a result: the game is over.
int enginetomoveresult() {
  announced = 0;
  if (giveawayrules() && nomove(1)) announceenginewin();
  if (atomicmode && kinggone(WKING)) announceopponentwin();
  if (atomicmode && kinggone(BKING)) announceenginewin();
  if (losersmode && bareking(1)) announceenginewin();
  if (losersmode && bareking(0)) announceopponentwin();
  if (giveawayrules() && men(1) == 0) announceenginewin();
  if (giveawayrules() && men(0) == 0) announceopponentwin();
  if (threecheckmode && topp >= THREECHECKS) announceopponentwin();
  if (threecheckmode && topc >= THREECHECKS) announceenginewin();
  return announced;
}

// After the engine's move, with the engine's search score for it, whether each king is now
// attacked and whether the opponent is mated (attacked without a legal move). In atomic a king
// blown up ends the game; under the server's rules a king that cannot escape the attack is mated:
// the score of a win with the next move is not enough, as a king that can still step aside may be
// blown up next all the same. In 3check the checks decide. In the games of the regular engine a score that takes the opponent's king next is
// mate when that king is attacked and stalemate when it is not; a score that loses the engine's
// king whatever it does is its own mate or stalemate. In losers a score of an illegal root move
// means the engine had no legal move, which wins. Answers 1 when it wrote a result: the game is over.
int opponenttomoveresult(int score, int oppkingattacked, int ownkingattacked, int oppmated) {
  announced = 0;
  if (giveawayrules() && nomove(0)) announceopponentwin();
  if (atomicmode && ficsrules && oppmated) announceenginewin();
  if (atomicmode && ficsrules && score == ATOMICOPPWINSNEXT && ownkingattacked) announceopponentwin();
  if (atomicmode && kinggone(BKING)) announceenginewin();
  if (atomicmode && kinggone(WKING)) announceopponentwin();
  if (threecheckmode && topc >= THREECHECKS) announceenginewin();
  if (threecheckmode && topp >= THREECHECKS) announceopponentwin();
  if (!atomicmode && !antimode && !threecheckmode) {
    if (score == ENGINEMATES && oppkingattacked) announceenginewin();
    if (score == ENGINEMATES && !oppkingattacked) announce(STALEMATELINE);
    if (score == ENGINEMATED && !ownkingattacked) announce(STALEMATELINE);
    if (score == ENGINEMATED && ownkingattacked) announceopponentwin();
  }
  if (giveawayrules() && men(0) == 0) announceopponentwin();
  if (losersmode && bareking(0)) announceopponentwin();
  if (losersmode && score == LOSERSALLILLEGAL) announceenginewin();
  if (losersmode && (score == LOSERSKINGTAKEN || score == LOSERSKINGTAKENLATE) && men(0) >= LOSERSFEWMEN)
    announceopponentwin();
  return announced;
}

// The engine is on move and has no legal move. In the games of the regular engine that is mate
// when its king is attacked and stalemate when it is not; in the antichess family the side that
// cannot move wins.
void enginecannotmove(int ownkingattacked) {
  announced = 0;
  if (antimode)
    announceenginewin();
  else if (ownkingattacked)
    announceopponentwin();
  else
    announce(STALEMATELINE);
}
