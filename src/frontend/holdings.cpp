// Crazyhouse holdings and pawn-born lists, kept right on every move and drop, and the replay of
// the moves collected in force mode.
#include "frontend/frontend.h"

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

// Clears the first pawn-born entry equal to sq; answers 1 when there was one.
static int takepawnborn(int *pieces, int sq) {
  for (int i = 1; i < PAWNBORNSLOTS; i++)
    if (pieces[i] == sq) {
      pieces[i] = 0;
      return 1;
    }
  return 0;
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
    if (mover == WPAWN && fileof(from) != fileof(to)) {
      takepawnborn(bpieces, to - 8);
      return addtohand(wheld, WPAWN);
    }
    if (mover == BPAWN && fileof(from) != fileof(to)) {
      takepawnborn(wpieces, to + 8);
      return addtohand(bheld, BPAWN);
    }
    return 0;
  }
  if (victim == WKING || victim == BKING) return 0;
  if (iswhite(victim) == white) return 0;
  int gained = white ? victim - BLACKOFFSET : victim + BLACKOFFSET;
  if (takepawnborn(victimpieces, to)) {
    gained = white ? WPAWN : BPAWN;
    if (out) *out = to;
  }
  return addtohand(hand, gained);
}

// Takes the man of code -from out of its side's hand for a drop onto to; called before the board
// changes. A dropped pawn gets a pawn-born entry. Answers the emptied slot, or 0 when the man was
// not in hand (then nothing changes).
int trackdrop(int *wheld, int *bheld, int *wpieces, int *bpieces, int from, int to) {
  int code = -from;
  bool white = iswhite(code);
  int *hand = white ? wheld : bheld;
  for (int i = 1; i < HANDSLOTS; i++) {
    if (hand[i] != code) continue;
    if (code == WPAWN || code == BPAWN) {
      int *pieces = white ? wpieces : bpieces;
      for (int k = 1; k < PAWNBORNSLOTS; k++)
        if (pieces[k] == 0) {
          pieces[k] = to;
          break;
        }
    }
    hand[i] = 0;
    return i;
  }
  return 0;
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

// The castling rook of a king's two-square move, and the castling values a move clears.
static void castlingeffects(int from, int to) {
  int man = board[from];
  if (man == WKING && to == from - 2) board[SQA1] = EMPTY, board[to + 1] = WROOK;
  if (man == WKING && to == from + 2) board[SQH1] = EMPTY, board[to - 1] = WROOK;
  if (man == BKING && to == from - 2) board[SQA8] = EMPTY, board[to + 1] = BROOK;
  if (man == BKING && to == from + 2) board[SQH8] = EMPTY, board[to - 1] = BROOK;
  if (man == WROOK && from == wcastlea) wcastlea = 0;
  if (man == WROOK && from == wcastleh) wcastleh = 0;
  if (man == WKING && from == wcastleking) wcastleking = 0;
  if (man == BROOK && from == bcastlea) bcastlea = 0;
  if (man == BROOK && from == bcastleh) bcastleh = 0;
  if (man == BKING && from == bcastleking) bcastleking = 0;
}

// Plays one collected move on the board with its side effects: promotion to a queen, the castling
// rook, the en-passant capture, the castling values and, when lists are given, the hands.
static void replaymove(int from, int to, int *wheld, int *bheld, int *wpieces, int *bpieces) {
  bool lists = wheld != nullptr;
  if (from < 0) {
    if (lists) trackdrop(wheld, bheld, wpieces, bpieces, from, to);
    board[to] = -from;
    return;
  }
  int man = board[from];
  if (man == BPAWN && to <= 8) board[from] = BQUEEN;
  if (man == WPAWN && to >= 57) board[from] = WQUEEN;
  castlingeffects(from, to);
  if ((man == WPAWN || man == BPAWN) && board[to] == EMPTY && fileof(from) != fileof(to)) {
    int behind = to < from ? to + 8 : to - 8;
    // A replayed en-passant capture hands its pawn over through the tracking below, so the board
    // square is emptied after it.
    if (lists && crazymode) trackmove(wheld, bheld, wpieces, bpieces, from, to, nullptr);
    board[behind] = EMPTY;
    board[to] = board[from];
    board[from] = EMPTY;
    return;
  }
  int dummy = 0;
  if (lists && crazymode && board[to] != WKING && board[to] != BKING)
    trackmove(wheld, bheld, wpieces, bpieces, from, to, &dummy);
  board[to] = board[from];
  board[from] = EMPTY;
}

// Converts the collected moves to the board held for Black (65 - square, drops change colour)
// when the engine plays Black, and writes them into the game record entries 1..count.
static int convertforce(const int *forcefrom, const int *forceto, int count, int *from, int *to) {
  if (count > GAMERECORDSIZE - 1) count = GAMERECORDSIZE - 1;
  for (int i = 1; i <= count; i++) {
    from[i] = forcefrom[i];
    to[i] = forceto[i];
    if (color != 0) continue;
    to[i] = 65 - to[i];
    if (from[i] > 0)
      from[i] = 65 - from[i];
    else
      from[i] = from[i] <= -7 ? from[i] + BLACKOFFSET : from[i] - BLACKOFFSET;
    linef[i] = (signed char)from[i];
    linet[i] = (signed char)to[i];
  }
  return count;
}

// Plays the moves collected in force mode on the current board, keeping the hands and pawn-born
// lists, and writes the board rank by rank, squares 1..8 first.
void replayforce(const int *forcefrom, const int *forceto, const int *forcecount, int *wheld, int *bheld,
                 int *wpieces, int *bpieces) {
  int from[GAMERECORDSIZE], to[GAMERECORDSIZE];
  int count = convertforce(forcefrom, forceto, *forcecount, from, to);
  for (int i = 1; i <= count; i++) replaymove(from[i], to[i], wheld, bheld, wpieces, bpieces);
  for (int r = 0; r < 8; r++) {
    const int *rank = board + 8 * r + 1;
    output("\n%d %d %d %d %d %d %d %d\n", rank[0], rank[1], rank[2], rank[3], rank[4], rank[5], rank[6], rank[7]);
  }
}

// Plays the moves collected in force mode without holdings; writes nothing.
void replayforceplain(const int *forcefrom, const int *forceto, const int *forcecount) {
  int from[GAMERECORDSIZE], to[GAMERECORDSIZE];
  int count = convertforce(forcefrom, forceto, *forcecount, from, to);
  for (int i = 1; i <= count; i++) replaymove(from[i], to[i], nullptr, nullptr, nullptr, nullptr);
}
