// Crazyhouse hands and pawn-born lists: kept right on every move and drop, and given back exactly
// when the move is taken back. A hand holds codes in slots 1..31 (a new man takes the first empty
// slot, a used one leaves its slot empty); a pawn-born list holds the squares of the men of one side
// that entered play as pawns, so that a promoted man goes into the captor's hand as a pawn.
#include "board/board.h"

// First empty slot (1..31) of a hand, 0 when the hand is full.
static int freehandslot(const int *hand) {
  for (int i = 1; i < HANDSLOTS; i++)
    if (hand[i] == 0) return i;
  return 0;
}

// Puts a man into the first empty slot of a hand; answers the slot, or 0 when the hand is full.
static int addtohand(int *hand, int code) {
  int slot = freehandslot(hand);
  if (slot) hand[slot] = code;
  return slot;
}

// Puts square sq into the first free slot of a pawn-born list (nothing when the list is full).
static void addpawnborn(int *pieces, int sq) {
  for (int i = 1; i < PAWNBORNSLOTS; i++)
    if (pieces[i] == 0) {
      pieces[i] = sq;
      return;
    }
}

// Clears the first pawn-born entry equal to sq; answers 1 when there was one.
static int takepawnborn(int *pieces, int sq) {
  for (int i = 1; i < PAWNBORNSLOTS; i++)
    if (pieces[i] == sq) {
      pieces[i] = 0;
      return 1;
    }
  return 0;
}

// 1 when the pawn mover goes from -> to diagonally onto an empty square: an en-passant capture.
static bool enpassant(int mover, int from, int to) {
  return (mover == WPAWN || mover == BPAWN) && board[to] == EMPTY && fileof(from) != fileof(to);
}

// Keeps the hands and pawn-born lists right for the board move from -> to; called before the
// board changes. The captor's hand receives the captured man in its own colour, or a pawn when the
// man was pawn-born (then the square to is written through out). Answers the hand slot that
// received a man, or 0 (no capture, a king captured, or a full hand).
int trackmove(int *wheld, int *bheld, int *wpieces, int *bpieces, int from, int to, int *out) {
  assert(from >= 1 && from <= 64 && to >= 1 && to <= 64);
  int mover = board[from];
  int victim = board[to];
  bool white = iswhite(mover);
  int *ownpieces = white ? wpieces : bpieces;
  int *victimpieces = white ? bpieces : wpieces;
  int *hand = white ? wheld : bheld;
  for (int i = 1; i < PAWNBORNSLOTS; i++)
    if (ownpieces[i] == from) ownpieces[i] = to;

  if (victim == EMPTY) {
    if (!enpassant(mover, from, to)) return 0;
    takepawnborn(victimpieces, white ? to - 8 : to + 8);
    return addtohand(hand, white ? WPAWN : BPAWN);
  }
  if (victim == WKING || victim == BKING) return 0;
  if (iswhite(victim) == white) return 0;
  int gained = othercolour(victim);
  if (takepawnborn(victimpieces, to)) {
    gained = white ? WPAWN : BPAWN;
    if (out) *out = to;
  }
  return addtohand(hand, gained);
}

// Takes the man of code -from out of its side's hand for a drop onto to; called before the board
// changes. A dropped pawn gets a pawn-born entry. Answers the emptied slot, or 0 when the man was
// not in hand (a drop a chess server relayed while the hands were out of step): the pawn-born entry
// is made all the same, since the pawn is on the board.
int trackdrop(int *wheld, int *bheld, int *wpieces, int *bpieces, int from, int to) {
  assert(from >= -BKING && from <= -WPAWN && to >= 1 && to <= 64);
  int code = -from;
  bool white = iswhite(code);
  int *hand = white ? wheld : bheld;
  int slot = 0;
  for (int i = 1; i < HANDSLOTS && slot == 0; i++)
    if (hand[i] == code) slot = i;
  if (slot) hand[slot] = 0;
  if (code == WPAWN || code == BPAWN) addpawnborn(white ? wpieces : bpieces, to);
  return slot;
}

// Undoes trackmove for the board move from -> to, after the board has been restored: the mover's
// pawn-born entries go back to from, the captured man leaves the captor's hand slot, and a
// captured pawn-born man (or en-passant pawn) gets its square back in its side's list. A list
// is a set of squares: the slot an entry returns to carries no meaning.
void unmakelists(int *wheld, int *bheld, int *wpieces, int *bpieces, int from, int to, int slot, int pawnbornsquare) {
  int mover = board[from];
  bool white = iswhite(mover);
  int *ownpieces = white ? wpieces : bpieces;
  int *victimpieces = white ? bpieces : wpieces;
  int *hand = white ? wheld : bheld;
  for (int i = 1; i < PAWNBORNSLOTS; i++)
    if (ownpieces[i] == to) ownpieces[i] = from;
  if (slot > 0) hand[slot] = 0;
  if (enpassant(mover, from, to)) {
    addpawnborn(victimpieces, white ? to - 8 : to + 8);
  } else if (pawnbornsquare > 0) {
    addpawnborn(victimpieces, pawnbornsquare);
  }
}

// Undoes trackdrop for the drop of the man -from onto to, after the board square was emptied: the
// man returns to the hand slot it came from (none for slot 0) and a pawn's pawn-born entry is removed.
void undrop(int *wheld, int *bheld, int *wpieces, int *bpieces, int from, int to, int slot) {
  int code = -from;
  bool white = iswhite(code);
  if (slot > 0) (white ? wheld : bheld)[slot] = code;
  if (code == WPAWN || code == BPAWN) takepawnborn(white ? wpieces : bpieces, to);
}

// 1 when two pairs of hands hold the same men, slot order aside.
int samehands(const int *wheld, const int *bheld, const int *otherwheld, const int *otherbheld) {
  int count[13] = {0};
  for (int slot = 1; slot < HANDSLOTS; slot++) {
    if (wheld[slot] > 0 && wheld[slot] <= BKING) count[wheld[slot]]++;
    if (bheld[slot] > 0 && bheld[slot] <= BKING) count[bheld[slot]]++;
    if (otherwheld[slot] > 0 && otherwheld[slot] <= BKING) count[otherwheld[slot]]--;
    if (otherbheld[slot] > 0 && otherbheld[slot] <= BKING) count[otherbheld[slot]]--;
  }
  for (int code = 1; code <= BKING; code++)
    if (count[code] != 0) return 0;
  return 1;
}

// Empties both hands (drops allowed) and gives the pawn-born lists the pawns of the starting
// position.
void resetlists(int *wheld, int *bheld, int *wpieces, int *bpieces) {
  for (int i = 0; i < HANDSLOTS; i++) wheld[i] = bheld[i] = 0;
  for (int i = 0; i < PAWNBORNSLOTS; i++) wpieces[i] = bpieces[i] = 0;
  for (int i = 1; i <= 8; i++) {
    wpieces[i] = 8 + i;
    bpieces[i] = 48 + i;
  }
}
