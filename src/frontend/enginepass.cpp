// The engine's half of a pass: the time allotment, iterative deepening with the variant's engine,
// making the chosen move on the board, the move line, the draw claims and the result announcement.
#include "frontend/frontend.h"

#include "antichess/antichess.h"
#include "book/book.h"

#include <cstdlib>
#include <cstring>

constexpr int REPETITIONDRAW = 3;       // occurrences of a position that make the draw claim
constexpr int SHORTMOVETIME = 95;       // milliseconds for a move when the clock is nearly spent
constexpr int DEFAULTMOVETIME = 1000;   // milliseconds for a move when nothing else gives a time
constexpr int SHORTCLOCKSHARE = 30;     // a nearly spent clock gives at most this share of itself to a move

static int countrepetitions();

// Milliseconds for this move from the clock figures of the protocol, and the node interval at
// which the searches look at input and the clock: shorter times poll more often.
void allottime() {
  int r = rand() % 10;
  if (levelmoves >= 1) {
    movetime = levelbase * 10 / levelmoves;
  } else {
    int t = timeleft * 10;
    movetime = t >= 6000 ? t / (20 + r) : SHORTMOVETIME;
    // With a few seconds left a fixed 95 ms would run the clock out within a few dozen moves:
    // never spend more than a thirtieth of what is left (a clock of 0 means none was given).
    if (t > 0 && t < 6000 && t / SHORTCLOCKSHARE < movetime) movetime = t / SHORTCLOCKSHARE > 0 ? t / SHORTCLOCKSHARE : 1;
  }
  movetime += levelinc * 10;
  if (movetime == 0) movetime = DEFAULTMOVETIME;
  if (movetime > 500) {
    pollinterval = 500;
  } else if (movetime > 100) {
    pollinterval = 150;
  } else if (movetime > 25) {
    pollinterval = 20;
  } else {
    pollinterval = 10;
  }
  if (fixedtimeleft != NOFIXEDTIME) {
    movetime = fixedtimeleft / 40;
    fixedtimeleft -= movetime;
  }
}

// Plays finfrom-finto (or the drop) on the board with all its side effects, records it in the
// game record and the history, and claims the draw when the fifty-move count is reached. A
// promoting pawn becomes a queen or, for an engine that chooses the man, that man (a king when it
// chose none).
void makeenginemove(const enginerow *engine) {
  if ((finfrom < 1 || finfrom > 64) && !(crazymode && finfrom >= -WQUEEN && finfrom <= -WPAWN)) finfrom = 1;
  if (finto < 1 || finto > 64) finto = 1;
  int promoting = finfrom > 0 && board[finfrom] == WPAWN && finto > 56;
  if (promoting && engine->anypromotion && promopiece == 0) promopiece = WKING;
  recordmove(finfrom, finto);
  promomark = playgamemove(finfrom, finto, engine->anypromotion ? promopiece : WQUEEN);
  if (fiftycount == FIFTYDRAW) {
    output("\ntellics draw\n");
    output("\n1/2-1/2\n");
  }
  storehistory(1);
}

// Counts the positions after the engine's moves that equal the position now: the same men on the
// same squares, the same castling rights of the engine, and in crazyhouse the same hands. (The
// opponent is to move in all of them.)
static int countrepetitions() {
  int count = 0;
  for (int i = 1; i <= historycount; i++) {
    const historyrecord *r = &gamehistory[i];
    if (!r->enginemove) continue;
    if (memcmp(r->squares + 1, board + 1, sizeof(int) * 64) != 0) continue;
    if (r->castle[0] != wcastleking || r->castle[1] != wcastlea || r->castle[2] != wcastleh) continue;
    if (crazymode && !samehands(gamewheld, gamebheld, r->wheld, r->bheld)) continue;
    count++;
  }
  return count;
}

// The engine's half of a pass: allots the time, takes a book move or searches with the variant's engine to the
// variant's depth cap, plays the move and writes it, claims a draw by repetition, counts the checks
// of 3check and announces a result.
void enginepass(int *passscore) {
  assert(passscore);
  const variantrow *variant = currentvariant();
  const enginerow *engine = engineof(variant);
  resetmovecounters();
  thinkstart = searchstart = gettickcount();
  allottime();
  engine->generate(rootfrom, rootto, &rootcount, 1, gameepsquares);
  findkings();
  // A set-up position has no game record to follow: no book then.
  if (setboardflag || !bookstep(rootfrom, rootto, rootcount)) {
    depthcap = *variant->depthcap;
    deepen(engine, passscore);
  }
  makeenginemove(engine);
  if (!discardmove) engine->printmove();
  promopiece = 0;
  if (countrepetitions() == REPETITIONDRAW) {
    output("\ntellics draw\n");
    output("\n1/2-1/2\n");
  }
  int oppattacked = isattacked(firstking(BKING));
  int ownattacked = isattacked(firstking(WKING));
  if (threecheckmode && oppattacked) topc++;
  if (!icsmode) opponenttomoveresult(*passscore, oppattacked, ownattacked);
  discardmove = 0;
}
