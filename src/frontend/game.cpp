// Game globals and search-control globals of the front end.
#include "frontend/frontend.h"

#include "config/config.h"
#include "regular/regular.h"

#include <cstring>

int color = 0;
int gameply = 0;
int ltop = 1;
signed char linef[GAMERECORDSIZE];
signed char linet[GAMERECORDSIZE];
int finfrom = 0;
int finto = 0;
int inputfrom = 1;
int inputto = 1;
int oppromo = 0;
int fiftycount = 0;
historyrecord gamehistory[HISTORYSIZE];
int historycount = 0;
int playagain = 1;
int endgameflag = 0;
int lateendgameflag = 0;
int startmaterial = 0;

int promopiece = 0;
int promomark = 0;
int discardmove = 0;
int stopsearch = 0;
int timeleft = 0;
int levelmoves = 0;
int levelbase = 0;
int levelinc = 0;
int movetime = 0;
unsigned searchstart = 0;
unsigned thinkstart = 0;
int pollinterval = 500;
int searchdepth = 0;
int depthcap = 0;
int iterations = 0;
int iterfrom[MAXITERATIONS];
int iterto[MAXITERATIONS];
int iterpromo[MAXITERATIONS];
long long nodes = 0;
int postmode = 0;
int resetholdings = 0;
int firstread = 1;
int setboardflag = 0;

int gamewheld[HANDSLOTS];
int gamebheld[HANDSLOTS];
int gamewpieces[PAWNBORNSLOTS];
int gamebpieces[PAWNBORNSLOTS];
int gameepsquares[65];
int rootfrom[ROOTLISTSIZE];
int rootto[ROOTLISTSIZE];
int rootcount = 0;
int lastcapture = 0;
int rootepflag = 0;

int icsmode = 0;
int zchamode = 0;
int ficsrules = 0;
int fixedtime = NOFIXEDTIME;
int fixedtimeleft = NOFIXEDTIME;
int maxdepth = NODEPTHCAP;
int maxdepthT = NODEPTHCAP;
int maxdepthA = NODEPTHCAP;
int maxdepthC = NODEPTHCAP;
int maxdepthS = NODEPTHCAP;
int maxdepthL = NODEPTHCAP;
int norc = 0;
char *atomicbookblack = nullptr;
char *atomicbookwhite = nullptr;
char *rc2name = nullptr;
char *rcname = nullptr;

// Puts every front-end global back to its value at load.
void resetgame() {
  color = 0;
  gameply = 0;
  ltop = 1;
  memset(linef, 0, sizeof linef);
  memset(linet, 0, sizeof linet);
  finfrom = finto = 0;
  inputfrom = inputto = 1;
  oppromo = 0;
  fiftycount = 0;
  memset(gamehistory, 0, sizeof gamehistory);
  historycount = 0;
  playagain = 1;
  endgameflag = lateendgameflag = 0;
  startmaterial = 0;
  promopiece = promomark = discardmove = stopsearch = 0;
  timeleft = levelmoves = levelbase = levelinc = 0;
  movetime = 0;
  searchstart = thinkstart = 0;
  pollinterval = 500;
  searchdepth = depthcap = iterations = 0;
  memset(iterfrom, 0, sizeof iterfrom);
  memset(iterto, 0, sizeof iterto);
  memset(iterpromo, 0, sizeof iterpromo);
  nodes = 0;
  postmode = 0;
  resetholdings = 0;
  firstread = 1;
  setboardflag = 0;
  memset(gamewheld, 0, sizeof gamewheld);
  memset(gamebheld, 0, sizeof gamebheld);
  resetlists(gamewheld, gamebheld, gamewpieces, gamebpieces);
  memset(gameepsquares, 0, sizeof gameepsquares);
  memset(rootfrom, 0, sizeof rootfrom);
  memset(rootto, 0, sizeof rootto);
  rootcount = 0;
  lastcapture = rootepflag = 0;
  icsmode = zchamode = ficsrules = 0;
  fixedtime = fixedtimeleft = NOFIXEDTIME;
  maxdepth = maxdepthT = maxdepthA = maxdepthC = maxdepthS = maxdepthL = NODEPTHCAP;
  norc = 0;
  resetinput();
}

// Puts all process-wide state back to its value at load: board, variant flags, settings, the
// regular engine's tables and counters, and the front end. Tests start from here.
void resetall() {
  resetboard();
  resetconfig();
  resetregular();
  resetgame();
  hashcuts = 0;
}

// Appends a move (or drop) to the game record at ltop. A game longer than the record keeps
// playing; its later moves are simply not recorded. Returns 1 when the move was stored.
int recordmove(int from, int to) {
  assert(from >= -12 && from <= 64 && to >= 0 && to <= 64);
  if (ltop < 1 || ltop >= GAMERECORDSIZE) return 0;
  linef[ltop] = (signed char)from;
  linet[ltop] = (signed char)to;
  ltop++;
  return 1;
}

// Stores the board as the next record of gamehistory (historycount + 1). After an engine move
// the record keeps the engine's three castling values, after an opponent move the opponent's;
// the other three stay as the slot held them. In crazyhouse the hands and pawn-born lists are
// copied as well, so that a take-back can restore them. When the history is full the oldest
// record after the start position is dropped, which keeps the recent positions that the
// repetition count and the take-back read.
void storehistory(int enginemove) {
  assert(historycount >= 0 && historycount < HISTORYSIZE);
  if (historycount + 1 >= HISTORYSIZE) {
    memmove(&gamehistory[1], &gamehistory[2], sizeof(historyrecord) * (HISTORYSIZE - 2));
    historycount--;
  }
  historyrecord *r = &gamehistory[historycount + 1];
  if (crazymode) {
    memcpy(r->wheld, gamewheld, sizeof r->wheld);
    memcpy(r->bheld, gamebheld, sizeof r->bheld);
    memcpy(r->wpieces, gamewpieces, sizeof r->wpieces);
    memcpy(r->bpieces, gamebpieces, sizeof r->bpieces);
  }
  historycount++;
  memcpy(r->squares, board, sizeof r->squares);
  if (enginemove) {
    r->castle[0] = wcastleking;
    r->castle[1] = wcastlea;
    r->castle[2] = wcastleh;
  } else {
    r->castle[3] = bcastleking;
    r->castle[4] = bcastlea;
    r->castle[5] = bcastleh;
  }
  r->enginemove = enginemove;
}

// Copies record index of gamehistory back onto the board and the six castling values; in
// crazyhouse also the hands and pawn-born lists. Record 0 holds no hands: the start of a game
// restores the starting hands and lists.
void restorehistory(int index) {
  assert(index >= 0 && index <= historycount);
  const historyrecord *r = &gamehistory[index];
  memcpy(board + 1, r->squares + 1, sizeof(int) * 64);
  wcastleking = r->castle[0];
  wcastlea = r->castle[1];
  wcastleh = r->castle[2];
  bcastleking = r->castle[3];
  bcastlea = r->castle[4];
  bcastleh = r->castle[5];
  if (!crazymode) return;
  if (index == 0) {
    memset(gamewheld, 0, sizeof gamewheld);
    memset(gamebheld, 0, sizeof gamebheld);
    resetlists(gamewheld, gamebheld, gamewpieces, gamebpieces);
    return;
  }
  memcpy(gamewheld + 1, r->wheld + 1, sizeof(int) * (HANDSLOTS - 1));
  memcpy(gamebheld + 1, r->bheld + 1, sizeof(int) * (HANDSLOTS - 1));
  memcpy(gamewpieces + 1, r->wpieces + 1, sizeof(int) * (PAWNBORNSLOTS - 1));
  memcpy(gamebpieces + 1, r->bpieces + 1, sizeof(int) * (PAWNBORNSLOTS - 1));
}

// Turns the starting position held for Black back into White's view: the kings and queens
// return to their own files. No other square is touched.
void holdforwhite() {
  board[SQD1] = WQUEEN;
  board[SQE1] = WKING;
  wcastleking = SQE1;
  board[SQD8] = BQUEEN;
  board[SQE8] = BKING;
  bcastleking = SQE8;
}

// Holds the starting position for an engine that plays Black without turning the board: the
// starting position turned by 180 degrees with the colours exchanged differs from the unturned
// one only in the kings' and queens' squares.
void holdforblack() {
  if (board[SQD8] == BQUEEN && board[SQE8] == BKING) {
    board[SQD8] = BKING;
    board[SQE8] = BQUEEN;
    bcastleking = SQD8;
    bcastlea = SQA8;
    bcastleh = SQH8;
  }
  if (board[SQD1] == WQUEEN && board[SQE1] == WKING) {
    board[SQD1] = WKING;
    board[SQE1] = WQUEEN;
    wcastleking = SQD1;
    wcastlea = SQA1;
    wcastleh = SQH1;
  }
}

