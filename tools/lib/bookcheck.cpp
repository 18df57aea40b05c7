// Book lines replayed with the engine's generators and the searches' make/unmake (through perft's
// make, which also keeps the castling rights and the 3check counters as the rules do).
#include "bookcheck.h"

#include "book/book.h"
#include "perft.h"

#include <cstring>

constexpr int MOVEWORD = 5;             // characters of a move and its blank in the text of a line

// Twokings as the engine sets it up: playing White it puts the second kings on c1 and c8, playing
// Black (its board turned) on f1 and f8, so its books must hold in both.
static const char *const twokingswhite = "rnkqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNKQKBNR w - - 0 1";
static const char *const twokingsblack = "rnbqkknr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKKNR w - - 0 1";

// Every slot in the variants that consult it; the giveaway and suicide books serve both.
const bookcheckrow bookchecks[BOOKCHECKS] = {
    {BIGBOOKSLOT, "normal", nullptr},         {ATOMICBLACKSLOT, "atomic", nullptr},
    {ATOMICWHITESLOT, "atomic", nullptr},     {ATOMICFIRSTSLOT, "atomic", nullptr},
    {THREEBOOKSLOT, "3check", nullptr},       {THREEWHITESLOT, "3check", nullptr},
    {THREEBLACKSLOT, "3check", nullptr},      {KINGSWHITESLOT, "twokings", twokingswhite},
    {KINGSWHITESLOT, "twokings", twokingsblack}, {KINGSBLACKSLOT, "twokings", twokingswhite},
    {KINGSBLACKSLOT, "twokings", twokingsblack}, {NORMALSLOT, "normal", nullptr},
    {SUICIDEWHITESLOT, "giveaway", nullptr},  {SUICIDEWHITESLOT, "suicide", nullptr},
    {SUICIDEBLACKSLOT, "giveaway", nullptr},  {SUICIDEBLACKSLOT, "suicide", nullptr},
    {LOSERSWHITESLOT, "losers", nullptr},     {LOSERSBLACKSLOT, "losers", nullptr},
    {ATOMICSECONDSLOT, "atomic", nullptr},    {ATOMICTHIRDSLOT, "atomic", nullptr},
    {CRAZYWHITESLOT, "crazyhouse", nullptr},  {CRAZYBLACKSLOT, "crazyhouse", nullptr},
    {OPENBKCHECK, "normal", nullptr},
};

static void noteillegal(bookcheckresult *result, const char *path, int length) {
  result->illegal++;
  if (result->firstillegal[0]) return;
  int n = length < BOOKCHECKTEXTSIZE - 1 ? length : BOOKCHECKTEXTSIZE - 1;
  memcpy(result->firstillegal, path, n);
  result->firstillegal[n] = 0;
}

// Makes from-to at ply when it is one of the position's legal moves; answers 1 when it was made
// (the caller unmakes it), and sets *ended when it gave the third check of a 3check game.
static int makebookmove(int ply, int from, int to, const int *epsquares, int *childep, perftundo *undo, int *ended) {
  int movefrom[MAXMOVES], moveto[MAXMOVES], count = 0;
  perftgenerate(movefrom, moveto, &count, ply, epsquares);
  *ended = 0;
  if (!inmovelist(from, to, movefrom, moveto, count)) return 0;
  if (!perftmake(ply, from, to, childep, undo)) {
    perftunmake(ply, childep, undo);
    return 0;
  }
  *ended = perftcountcheck(ply, undo);
  return 1;
}

static void unmakebookmove(int ply, int *childep, perftundo *undo) {
  perftuncountcheck(ply, undo);
  perftunmake(ply, childep, undo);
}

// Appends a move to the text of the line ("e2e4 "); answers the new length.
static int appendmove(char *path, int length, int from, int to) {
  if (length + MOVEWORD >= BOOKCHECKTEXTSIZE) return length;
  squaretext(from, path + length);
  squaretext(to, path + length + 2);
  path[length + 4] = ' ';
  return length + MOVEWORD;
}

// Checks a sibling chain at ply and everything below it.
static void checkchain(const booknode *node, int ply, const int *epsquares, char *path, int length,
                       bookcheckresult *result) {
  for (; node; node = node->sibling) {
    result->nodes++;
    int here = appendmove(path, length, node->from, node->to);
    int childep[65] = {};
    perftundo undo;
    int ended;
    if (!makebookmove(ply, node->from, node->to, epsquares, childep, &undo, &ended)) {
      noteillegal(result, path, here - 1);
      continue;
    }
    if (node->child && ended) {
      noteillegal(result, path, here - 1);
    } else if (node->child) {
      checkchain(node->child, ply + 1, childep, path, here, result);
    } else {
      result->lines++;
    }
    unmakebookmove(ply, childep, &undo);
  }
}

int checkbookslot(int slot, const char *variant, const char *fen, bookcheckresult *result) {
  assert(slot >= 0 && slot < BOOKSLOTS && result);
  memset(result, 0, sizeof *result);
  if (!perftsetup(variant, fen)) return 0;
  char path[BOOKCHECKTEXTSIZE];
  checkchain(bookroot[slot].sibling, 1, gameepsquares, path, 0, result);
  return 1;
}

// Checks one line of moves 1..count (stopping at its first empty entry) from the root position.
static void checkline(const unsigned char *from, const unsigned char *to, int count, int ply, const int *epsquares,
                      char *path, int length, bookcheckresult *result) {
  if (count == 0 || from[1] == 0) {
    result->lines++;
    return;
  }
  result->nodes++;
  int here = appendmove(path, length, from[1], to[1]);
  int childep[65] = {};
  perftundo undo;
  int ended;
  if (!makebookmove(ply, from[1], to[1], epsquares, childep, &undo, &ended)) {
    noteillegal(result, path, here - 1);
    return;
  }
  if (ended && count > 1 && from[2]) {
    noteillegal(result, path, here - 1);
  } else {
    checkline(from + 1, to + 1, count - 1, ply + 1, childep, path, here, result);
  }
  unmakebookmove(ply, childep, &undo);
}

int checkopenbk(const char *variant, const char *fen, bookcheckresult *result) {
  assert(result);
  memset(result, 0, sizeof *result);
  if (!perftsetup(variant, fen)) return 0;
  char path[BOOKCHECKTEXTSIZE];
  for (int k = 1; k <= openbkcount && k * OPENBKROW < OPENBKSTORED; k++) {
    int row = k * OPENBKROW;
    checkline(openbkfrom + row, openbkto + row, OPENBKMOVES, 1, gameepsquares, path, 0, result);
  }
  return 1;
}

int runbookcheck(const bookcheckrow *row, bookcheckresult *result) {
  assert(row);
  if (row->slot == OPENBKCHECK) return checkopenbk(row->variant, row->fen, result);
  return checkbookslot(row->slot, row->variant, row->fen, result);
}
