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
constexpr int SHORTCLOCKSHARE = 40;     // a nearly spent clock gives at most this share of itself to a move
constexpr int PERMOVECOST = 20;         // milliseconds each move costs beyond its search (pipes, the interface)
constexpr int MOVEOVERHEAD = 50;        // milliseconds of the clock kept back for the pipes, the GUI and the server
constexpr int MINMOVETIME = 1;          // the least a move is given: the search stops at its first poll
constexpr long long NOLIMIT = -1;       // no clock and no "st": nothing limits a move
constexpr int LOWCLOCKINCREMENTS = 2;   // a clock below this many increments lives on its increment
constexpr int LOWCLOCKFLOOR = 1000;     // milliseconds: a clock below this with an increment does too
constexpr int INCREMENTMARGIN = 50;     // milliseconds of the increment a low clock keeps at least

static int countrepetitions();
static int clockcap(int clock);

// The most one move may take with the clock showing clock milliseconds: what is left after the
// reserve for the move overhead, spread over the moves still to come in this control, and with
// an increment or sudden death never more than three quarters of it, so that a clock that is
// short keeps some of itself for the next move.
static int clockcap(int clock) {
  int usable = clock - MOVEOVERHEAD - movelag;
  if (usable < MINMOVETIME) return MINMOVETIME;
  if (levelmoves >= 1) {
    int made = (gameply - 1) / 2;
    int movesleft = levelmoves - made % levelmoves;
    return usable / movesleft > MINMOVETIME ? usable / movesleft : MINMOVETIME;
  }
  return usable - usable / 4;
}

// Milliseconds for this move from the clock figures of the protocol, and the node interval at
// which the searches look at input and the clock: shorter times poll more often. The share of
// the base time and the increment come first; once "time" has given the clock, the move never
// takes more than the clock allows. "st" gives every move its seconds instead (less the move
// overhead, so that the move arrives within them), whatever the clock says. The game budget of
// the command line then replaces the allotment, within the same limits.
void allottime() {
  int r = randomdraw() % 10;
  long long clock = (long long)timeleft * 10;
  long long allotted;
  if (levelmoves >= 1) {
    allotted = (long long)levelbase * 10 / levelmoves;
  } else {
    allotted = clock >= 6000 ? clock / (20 + r) : SHORTMOVETIME;
    // With a few seconds left a fixed 95 ms would run the clock out within a few dozen moves:
    // never spend more than a fortieth of what is left, less what every move costs besides its
    // search (20 ms, or the lag the clock showed when that is more), so that forty more moves
    // still fit (a clock of 0 means none was given).
    long long share = clock / SHORTCLOCKSHARE - (movelag > PERMOVECOST ? movelag : PERMOVECOST);
    if (clock > 0 && clock < 6000 && share < allotted) allotted = share > MINMOVETIME ? share : MINMOVETIME;
  }
  long long increment = (long long)levelinc * 10;
  allotted += increment;
  // A clock that has run low with an increment must grow back: a move then keeps a quarter of
  // the increment, and at least 50 ms of it beyond the lag (never more than half), so that the
  // overhead of the pipes and of a loaded machine is paid from the increment rather than from a
  // clock of a few tenths of a second.
  long long lowclock = increment * LOWCLOCKINCREMENTS > LOWCLOCKFLOOR ? increment * LOWCLOCKINCREMENTS : LOWCLOCKFLOOR;
  long long margin = INCREMENTMARGIN + movelag;
  long long keep = increment / 4 > margin ? increment / 4 : margin;
  long long lowmost = increment - keep > increment / 2 ? increment - keep : increment / 2;
  if (clockgiven && increment > 0 && clock < lowclock && allotted > lowmost) allotted = lowmost;
  if (allotted == 0) allotted = DEFAULTMOVETIME;
  long long most = NOLIMIT;  // the most this move may take
  if (clockgiven) most = clockcap((int)clock);
  if (movetimelimit > 0) {
    most = movetimelimit - MOVEOVERHEAD > MINMOVETIME ? movetimelimit - MOVEOVERHEAD : MINMOVETIME;
    allotted = most;
  }
  if (most != NOLIMIT && allotted > most) allotted = most;
  movetime = (int)allotted;
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
    if (most != NOLIMIT && movetime > most) movetime = (int)most;
  }
}

// The depth cap of this move's deepening: the variant's setting, or the depth "sd" gave when that
// is lower (its iterations 1..N; a depth below 1 still searches one iteration).
int movedepthcap(const variantrow *variant) {
  int cap = *variant->depthcap;
  if (movedepthlimit > 0 && movedepthlimit + 1 < cap) cap = movedepthlimit + 1;
  return cap;
}

// 1 when from-to is a move of the root list.
static int inrootlist(int from, int to) {
  for (int i = 1; i <= rootcount; i++)
    if (rootfrom[i] == from && rootto[i] == to) return 1;
  return 0;
}

// The legal move the search scored best, for a choice that is not legal: the highest score among
// the moves the last root choice compared that are in the (legal) root list, the first of them on
// a tie; the first legal move when none of them is.
static void bestlegalchoice() {
  finfrom = rootfrom[1];
  finto = rootto[1];
  int best = 0;
  for (int i = 1; i <= choicecount; i++) {
    if (!inrootlist(choicefrom[i], choiceto[i])) continue;
    if (best != 0 && choicescore[i] <= choicescore[best]) continue;
    best = i;
    finfrom = choicefrom[i];
    finto = choiceto[i];
  }
}

// Plays finfrom-finto (or the drop) on the board with all its side effects and records it in the
// game record and the history. A
// move the search left that is not a legal move of the root list gives way to the legal move
// the search scored best. A promoting pawn becomes a queen or, for an engine that chooses the
// man, that man (a king when it chose none).
void makeenginemove(const enginerow *engine) {
  assert(rootcount >= 1);
  if (!inrootlist(finfrom, finto)) bestlegalchoice();
  int promoting = finfrom > 0 && board[finfrom] == WPAWN && finto > 56;
  if (promoting && engine->anypromotion && promopiece == 0) promopiece = WKING;
  promomark = playturn(finfrom, finto, engine->anypromotion ? promopiece : WQUEEN);
}

// Claims the draw: to the chess server, and with the result line. Away from a server the claim
// ends the game, as the interface ends it, so that no move follows the result line; a server
// judges the claim itself and may play on.
void claimdraw() {
  output("\ntellics draw\n");
  output("\n1/2-1/2\n");
  if (!icsmode) gameover = 1;
}

// Counts the positions after the engine's moves that equal the position now: the same men on the
// same squares, the same castling rights of both sides, the same en-passant capture and in
// crazyhouse the same hands. (The opponent is to move in all of them.)
static int countrepetitions() {
  int count = 0;
  for (int i = 1; i <= historycount; i++)
    if (gamehistory[i].enginemove && samehistory(&gamehistory[i])) count++;
  return count;
}

// The engine's half of a pass: allots the time, keeps the legal root moves (with none, the game is
// over), takes a book move or searches with the variant's engine to the variant's depth cap, plays
// the move and writes it, claims a draw by repetition and announces a result.
void enginepass(int *passscore) {
  assert(passscore);
  const variantrow *variant = currentvariant();
  const enginerow *engine = engineof(variant);
  // A game handed over already finished (a set-up, moves entered in force mode) gets its result
  // and no move.
  if (!icsmode && enginetomoveresult()) {
    gameover = 1;
    return;
  }
  resetmovecounters();
  thinkstart = searchstart = gettickcount();
  readlag();
  allottime();
  if (fullmode) planfulltime(clockgiven ? timeleft * 10 : 0, levelinc * 10, levelmoves, (gameply - 1) / 2, movelag);
  engine->generate(rootfrom, rootto, &rootcount, 1, gameepsquares);
  rootcount = legalrootmoves(rootfrom, rootto, rootcount);
  if (rootcount == 0) {
    // Mated or stalemated: the result, and no move; the game waits for the interface.
    if (!icsmode) enginecannotmove(isattacked(firstking(WKING)));
    gameover = 1;
    return;
  }
  findkings();
  // A set-up position has no game record to follow: no book then.
  if (setboardflag || !bookstep(rootfrom, rootto, rootcount)) {
    depthcap = movedepthcap(variant);
    (fullmode ? deepenfull : deepen)(engine, passscore);
  }
  // A command that came during the search (quit, result, new, a take-back...) leaves the position
  // as it was: no move is made or written, and the command is carried out next.
  if (discardmove) {
    discardmove = 0;
    promopiece = 0;
    return;
  }
  makeenginemove(engine);
  engine->printmove();
  notemoveclock((int)(gettickcount() - searchstart));
  promopiece = 0;
  int oppattacked = isattacked(firstking(BKING));
  int ownattacked = isattacked(firstking(WKING));
  int oppmated = oppattacked && !haslegalmove(2);
  if (!icsmode && opponenttomoveresult(*passscore, oppattacked, ownattacked, oppmated)) {
    gameover = 1;
    return;
  }
  // A game the move did not end may be drawn: by the fifty-move count, or by repetition.
  if (fiftycount == FIFTYDRAW || countrepetitions() == REPETITIONDRAW) claimdraw();
}
