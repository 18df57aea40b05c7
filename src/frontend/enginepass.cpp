// The engine's half of a pass: the time allotment, iterative deepening, making the chosen move on
// the board with all its side effects, the move line, the draw claims and the result announcement.
#include "antichess/antichess.h"
#include "frontend/frontend.h"
#include "regular/regular.h"

#include <cstdlib>
#include <cstring>

constexpr int REPETITIONDRAW = 3;       // occurrences of a position that make the draw claim
constexpr int SHORTMOVETIME = 95;       // milliseconds for a move when the clock is nearly spent
constexpr int DEFAULTMOVETIME = 1000;   // milliseconds for a move when nothing else gives a time
constexpr int SHORTCLOCKSHARE = 30;     // a nearly spent clock gives at most this share of itself to a move

static void findrootkings();
static uint64_t computerootkey();
static void enginecastling();
static int countrepetitions();
static int firstkingsquare(int code);

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

// Records the squares of both kings before a search: the last of each found from square 1 up.
static void findrootkings() {
  for (int sq = 1; sq <= 64; sq++) {
    if (board[sq] == WKING) ownkingsq = sq;
    if (board[sq] == BKING) oppkingsq = sq;
  }
}

// The key of the root position: in crazyhouse it includes both hands.
static uint64_t computerootkey() {
  if (crazymode) return rootkeycrazy(rootepflag, gamewheld, gamebheld);
  return rootkey(rootepflag);
}

// Iterative deepening: depth 1, 2, 3, ... until the search is stopped (time, "?" or the end of the
// game), every move is found lost, or the depth cap of the variant is reached. Each completed
// iteration's best move is remembered for the root ordering of the next.
void deepen(int *passscore) {
  depthcap = NODEPTHCAP;
  if (atomicmode && maxdepthA != NODEPTHCAP) depthcap = maxdepthA;
  if (threecheckmode && maxdepthT != NODEPTHCAP) depthcap = maxdepthT;
  if (crazymode && maxdepthC != NODEPTHCAP) depthcap = maxdepthC;
  if (losersmode && maxdepthL != NODEPTHCAP) depthcap = maxdepthL;
  if (antimode && !losersmode && maxdepthS != NODEPTHCAP) depthcap = maxdepthS;
  if (!atomicmode && !crazymode && !antimode && !threecheckmode && !losersmode && maxdepth != NODEPTHCAP) {
    depthcap = maxdepth;
  }
  searchdepth = 1;
  iterations = 0;
  uint64_t key = computerootkey();
  // The atomic and antichess engines are not in place yet: the regular engine plays every variant.
  while (depthcap > 1 && !stopsearch) {
    int score = search(ROOTALPHA, ROOTBETA, searchdepth, 1, gameepsquares, 0, key, 0, rootepflag, 0,
                       gamewheld, gamebheld, gamewpieces, gamebpieces);
    *passscore = score;
    if (iterations < MAXITERATIONS - 1) {
      iterations++;
      iterfrom[iterations] = finfrom;
      iterto[iterations] = finto;
      if (!crazymode) {
        iterpromo[iterations] = finfrom >= 1 && finfrom <= 64 && board[finfrom] == WPAWN && finto > 56 ? promopiece : 0;
      }
    }
    if (score == LOSTROOTSCORE) break;
    searchdepth++;
    if (searchdepth >= depthcap) break;
  }
  maxsearchside = 0;
  stopsearch = 0;
}

// Castling rights after the engine's move: its rook leaving a corner loses that side, its king
// moving loses both, and a capture of the opponent's rook on its corner takes that right away.
static void enginecastling() {
  if (board[finfrom] == WROOK && finfrom == wcastlea) {
    wcastlea = 0;
    if (wcastleh == 0) wcastleking = 0;
  }
  if (board[finfrom] == WROOK && finfrom == wcastleh) {
    wcastleh = 0;
    if (wcastlea == 0) wcastleking = 0;
  }
  if (board[finfrom] == WKING && wcastleking > 0) wcastleking = wcastlea = wcastleh = 0;
  if (board[finto] == BROOK && finto == bcastlea) {
    bcastlea = 0;
    if (bcastleh == 0) bcastleking = 0;
  }
  if (board[finto] == BROOK && finto == bcastleh) {
    bcastleh = 0;
    if (bcastlea == 0) bcastleking = 0;
  }
}

// Plays finfrom-finto (or the drop) on the board with its side effects: promotion, en passant,
// castling rights and the castling rook, the game record, the fifty-move count, the hands and
// pawn-born lists, and the history record of the position.
void makeenginemove() {
  promomark = 0;
  if ((finfrom < 1 || finfrom > 64) && !(crazymode && finfrom >= -WQUEEN && finfrom <= -WPAWN)) finfrom = 1;
  if (finto < 1 || finto > 64) finto = 1;
  if (finfrom > 0 && board[finfrom] == WPAWN && finto > 56) {
    if (promopiece == 0) promopiece = WKING;
    board[finfrom] = antimode ? promopiece : WQUEEN;
    fiftycount = 0;
    promomark = 1;
  }
  if (finfrom > 0 && board[finfrom] == WPAWN && board[finto] == EMPTY && fileof(finfrom) != fileof(finto)) {
    if (finto - 8 >= 1) board[finto - 8] = EMPTY;
  }
  if (finfrom > 0) {
    enginecastling();
    if (board[finfrom] == WKING && finto == finfrom - 2) {
      board[finto + 1] = board[SQA1];
      board[SQA1] = EMPTY;
      clearhashkeys();
    }
    if (board[finfrom] == WKING && finto == finfrom + 2) {
      board[finto - 1] = board[SQH1];
      board[SQH1] = EMPTY;
      clearhashkeys();
    }
  }
  recordmove(finfrom, finto);
  fiftycount++;
  if (board[finto] > 0 || (finfrom > 0 && board[finfrom] == WPAWN)) fiftycount = 0;
  if (finfrom > 0) {
    int pawnborn = 0;
    trackmove(gamewheld, gamebheld, gamewpieces, gamebpieces, finfrom, finto, &pawnborn);
    board[finto] = board[finfrom];
    board[finfrom] = EMPTY;
  } else {
    trackdrop(gamewheld, gamebheld, gamewpieces, gamebpieces, finfrom, finto);
    board[finto] = -finfrom;
  }
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

// The first square holding code, scanning the real board file by file from the a-file, each file
// from rank 1 up; 0 when there is none.
static int firstkingsquare(int code) {
  for (int file = 1; file <= 8; file++) {
    for (int rank = 0; rank < 8; rank++) {
      int sq = file + 8 * rank;
      if (color == 0) sq = 65 - sq;
      if (board[sq] == code) return sq;
    }
  }
  return 0;
}

// The engine's half of a pass: allots the time, searches, plays the move and writes it, claims a
// draw by repetition, counts the checks of 3check and announces a result.
void enginepass(int *passscore) {
  assert(passscore);
  resetsearchcounters();
  nodes = 0;
  thinkstart = searchstart = gettickcount();
  allottime();
  genwhite(rootfrom, rootto, &rootcount, 1, gameepsquares, 0, gamewheld);
  findrootkings();
  deepen(passscore);
  makeenginemove();
  if (!discardmove) {
    if (antimode) {
      printantimove();
    } else if (finfrom < 0) {
      printdrop();
    } else {
      printmove();
    }
  }
  promopiece = 0;
  if (countrepetitions() == REPETITIONDRAW) {
    output("\ntellics draw\n");
    output("\n1/2-1/2\n");
  }
  int oppking = firstkingsquare(BKING);
  int ownking = firstkingsquare(WKING);
  int oppattacked = isattacked(oppking);
  int ownattacked = isattacked(ownking);
  if (threecheckmode && oppattacked) topc++;
  if (!icsmode) opponenttomoveresult(*passscore, oppattacked, ownattacked);
  discardmove = 0;
}
