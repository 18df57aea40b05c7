// A move of the game, by either side or replayed, with all its side effects; the game record and
// the history of positions.
#include "frontend/frontend.h"

#include <cstring>

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

// The square of the en-passant marker of the position on the board when a capture there is
// possible (it is then part of what the position is), else 0.
static int epidentity() {
  if (!rootepflag) return 0;
  for (int sq = 1; sq <= 64; sq++)
    if (gameepsquares[sq]) return sq;
  return 0;
}

// Fills a record of gamehistory from the position on the board: the squares, the six castling
// values, the en-passant marker and, in crazyhouse, the hands and pawn-born lists.
static void fillrecord(historyrecord *r, int enginemove) {
  memcpy(r->squares, board, sizeof r->squares);
  r->castle[0] = wcastleking;
  r->castle[1] = wcastlea;
  r->castle[2] = wcastleh;
  r->castle[3] = bcastleking;
  r->castle[4] = bcastlea;
  r->castle[5] = bcastleh;
  r->epsquare = epidentity();
  r->enginemove = enginemove;
  if (!crazymode) return;
  memcpy(r->wheld, gamewheld, sizeof r->wheld);
  memcpy(r->bheld, gamebheld, sizeof r->bheld);
  memcpy(r->wpieces, gamewpieces, sizeof r->wpieces);
  memcpy(r->bpieces, gamebpieces, sizeof r->bpieces);
}

// Record 0 of gamehistory is the position on the board: the game starts here.
void starthistory() {
  historycount = 0;
  fillrecord(&gamehistory[0], 0);
}

// Stores the position on the board as the next record of gamehistory (historycount + 1). When the
// history is full the oldest record after the start position is dropped, which keeps the recent
// positions that the repetition count reads.
void storehistory(int enginemove) {
  assert(historycount >= 0 && historycount < HISTORYSIZE);
  if (historycount + 1 >= HISTORYSIZE) {
    memmove(&gamehistory[1], &gamehistory[2], sizeof(historyrecord) * (HISTORYSIZE - 2));
    historycount--;
  }
  historycount++;
  fillrecord(&gamehistory[historycount], enginemove);
}

// 1 when a record of gamehistory holds the position on the board: the same men, castling values,
// en-passant marker and, in crazyhouse, hands.
int samehistory(const historyrecord *r) {
  if (memcmp(r->squares + 1, board + 1, sizeof(int) * 64) != 0) return 0;
  const int now[6] = {wcastleking, wcastlea, wcastleh, bcastleking, bcastlea, bcastleh};
  if (memcmp(r->castle, now, sizeof now) != 0 || r->epsquare != epidentity()) return 0;
  return !crazymode || samehands(gamewheld, gamebheld, r->wheld, r->bheld);
}

// Castling rights after a move of the game: the mover's rook leaving its corner loses that side,
// its king moving loses both, and a capture of the other side's rook on its corner takes that
// right away, so that nobody ever castles with a man that did not start there.
static void gamecastling(int from, int to) {
  int mover = board[from];
  int white = iswhite(mover);
  int *ownking = white ? &wcastleking : &bcastleking;
  int *owna = white ? &wcastlea : &bcastlea;
  int *ownh = white ? &wcastleh : &bcastleh;
  int *otherking = white ? &bcastleking : &wcastleking;
  int *othera = white ? &bcastlea : &wcastlea;
  int *otherh = white ? &bcastleh : &wcastleh;
  int rook = white ? WROOK : BROOK;
  if (mover == rook && from == *owna) {
    *owna = 0;
    if (*ownh == 0) *ownking = 0;
  }
  if (mover == rook && from == *ownh) {
    *ownh = 0;
    if (*owna == 0) *ownking = 0;
  }
  if (mover == (white ? WKING : BKING) && *ownking > 0) *ownking = *owna = *ownh = 0;
  if (board[to] == othercolour(rook) && to == *othera) {
    *othera = 0;
    if (*otherh == 0) *otherking = 0;
  }
  if (board[to] == othercolour(rook) && to == *otherh) {
    *otherh = 0;
    if (*othera == 0) *otherking = 0;
  }
}

// The rook of a castling move (the king's two-square step) goes from its corner to the square the
// king passed over; the table forgets its keys, since castling changes the evaluation.
static void gamecastlingrook(int from, int to) {
  int mover = board[from];
  if (mover != WKING && mover != BKING) return;
  if (to != from - 2 && to != from + 2) return;
  int corner = mover == WKING ? (to < from ? SQA1 : SQH1) : (to < from ? SQA8 : SQH8);
  int passed = to < from ? to + 1 : to - 1;
  board[passed] = board[corner];
  board[corner] = EMPTY;
  clearhashkeys();
}

// The en-passant markers of the position after the move: the square a pawn's double step passed
// over, and whether an enemy pawn now stands beside it (which the key must know).
static void gameenpassant(int from, int to) {
  memset(gameepsquares, 0, sizeof gameepsquares);
  rootepflag = 0;
  int man = board[to];
  if ((man == WPAWN && to == from + 16) || (man == BPAWN && to == from - 16)) {
    gameepsquares[(from + to) / 2] = man;
    rootepflag = doublestepbeside(from, to);
  }
}

// In atomic, a capture (en passant too) explodes at the capturing man's arrival square, for the
// side of the mover. The game keeps no key, and a move the engine's rules refuse never reaches the
// board, so the flags are not read.
static void gameexplosion(int to, int white) {
  int win = 0, illegal = 0;
  int blastsave[65];
  explode(to, white ? 1 : 2, &win, &illegal, blastsave, 0);
  blastrights();
}

// Plays a move of the game on the board, by either side (the colour of the man on from, or of the
// dropped man), with all its side effects: castling rights and the castling rook, the en-passant
// capture, the promotion (to promotion, a code of the mover's colour; 0 makes a queen), the
// fifty-move count, the hands and pawn-born lists, the explosion of a capture in atomic, and the
// en-passant markers of the new position. Answers 1 when the move promoted. The game record, the history and the draw claims are the
// callers'.
int playgamemove(int from, int to, int promotion) {
  assert(to >= 1 && to <= 64 && from != 0 && from >= -BKING && from <= 64);
  if (from < 0) {
    trackdrop(gamewheld, gamebheld, gamewpieces, gamebpieces, from, to);
    board[to] = -from;
    fiftycount++;
    memset(gameepsquares, 0, sizeof gameepsquares);
    rootepflag = 0;
    return 0;
  }
  int mover = board[from];
  int white = iswhite(mover);
  int pawn = mover == WPAWN || mover == BPAWN;
  int enpassant = pawn && board[to] == EMPTY && fileof(from) != fileof(to);
  int promotes = pawn && (white ? to >= 57 : to <= 8);
  int captures = enpassant || board[to] != EMPTY;
  fiftycount = (pawn || captures) ? 0 : fiftycount + 1;
  gamecastling(from, to);
  gamecastlingrook(from, to);
  if (promotes) board[from] = promotion ? promotion : (white ? WQUEEN : BQUEEN);
  trackmove(gamewheld, gamebheld, gamewpieces, gamebpieces, from, to, nullptr);
  board[to] = board[from];
  board[from] = EMPTY;
  if (enpassant) board[white ? to - 8 : to + 8] = EMPTY;
  gameenpassant(from, to);
  if (atomicmode && captures) gameexplosion(to, white);
  return promotes;
}

// The move of the side on move at half-move gameply (board squares; promotion a code of the
// mover's colour, 0 for a queen): played with all its side effects, added to the moves of the
// game and the game record, its check counted in 3check and the new position stored in the
// history. gameply then names the next half-move. Answers 1 when the move promoted.
int playturn(int from, int to, int promotion) {
  int engine = enginetomove();
  rememberturn(from, to, promotion);
  recordmove(from, to);
  int promoted = playgamemove(from, to, promotion);
  if (threecheckmode) {
    int whitemoved = from < 0 ? iswhite(-from) : iswhite(board[to]);
    if (whitemoved && isattacked(firstking(BKING))) topc++;
    if (!whitemoved && isattacked(firstking(WKING))) topp++;
  }
  storehistory(engine);
  gameply++;
  return promoted;
}
