// Side effects of making and unmaking a move in the searches: promotion, the castling rook, the
// castling rights, en passant, the king squares, the castled flags and the child's en-passant
// markers; and the undoing of the holdings and pawn-born lists.
#include "board/board.h"

// The men and squares that differ between the two sides; white moves on odd plies.
struct sidecodes {
  int pawn, queen, rook, king;
  int arook, hrook;         // corner squares of the castling rooks
  int forward;              // pawn step
  int *castleking, *castlea, *castleh, *kingsq, *castled;
};

static sidecodes sideof(int ply) {
  if (ply % 2 == 1)
    return {WPAWN, WQUEEN, WROOK, WKING, SQA1, SQH1, 8, &wcastleking, &wcastlea, &wcastleh, &ownkingsq, &wcastled};
  return {BPAWN, BQUEEN, BROOK, BKING, SQA8, SQH8, -8, &bcastleking, &bcastlea, &bcastleh, &oppkingsq, &bcastled};
}

static bool onlastrank(int sq, int pawn) { return pawn == WPAWN ? sq >= 57 : sq <= 8; }

// Makes the side effects of the move from -> to for the side to move at this ply; called before
// the board itself changes. Each flag is set to 1 when the change it names was made, so that
// unmakeeffects can undo exactly that.
void makeeffects(int ply, int *promoted, int from, int to, int *brightlost_a, int *brightlost_h, int *bkingright,
                 int *wrightlost_a, int *wrightlost_h, int *wkingright, int *childep, int *epcapture) {
  assert(from >= 1 && from <= 64 && to >= 1 && to <= 64);
  sidecodes side = sideof(ply);
  int *lost_a = ply % 2 == 1 ? wrightlost_a : brightlost_a;
  int *lost_h = ply % 2 == 1 ? wrightlost_h : brightlost_h;
  int *kingright = ply % 2 == 1 ? wkingright : bkingright;
  int mover = board[from];

  if (mover == side.king) *side.kingsq = to;
  if (mover == side.pawn && onlastrank(to, side.pawn)) {
    board[from] = side.queen;
    *promoted = 1;
  }
  if (mover == side.rook) {
    if (from == *side.castlea) {
      *side.castlea = 0;
      *lost_a = 1;
    } else if (from == *side.castleh) {
      *side.castleh = 0;
      *lost_h = 1;
    }
  }
  if (mover == side.king) {
    if (to == from - 2) {
      board[to + 1] = board[side.arook];
      board[side.arook] = EMPTY;
      *side.castled = 1;
    } else if (to == from + 2) {
      board[to - 1] = board[side.hrook];
      board[side.hrook] = EMPTY;
      *side.castled = 1;
    }
    if (from == *side.castleking) {
      *side.castleking = 0;
      *kingright = 1;
      if (*side.castlea) {
        *side.castlea = 0;
        *lost_a = 1;
      }
      if (*side.castleh) {
        *side.castleh = 0;
        *lost_h = 1;
      }
    }
  }
  if (mover == side.pawn) {
    if (to == from + 2 * side.forward) childep[from + side.forward] = side.pawn;
    if (fileof(from) != fileof(to) && board[to] == EMPTY) {
      *epcapture = 1;
      board[to - side.forward] = EMPTY;
    }
  }
}

// Undoes what makeeffects did, after the board has been restored (the mover stands on from again,
// the captured man on to), and resets every flag to 0.
void unmakeeffects(int ply, int *promoted, int from, int to, int *brightlost_a, int *brightlost_h, int *bkingright,
                   int *wrightlost_a, int *wrightlost_h, int *wkingright, int *childep, int *epcapture) {
  assert(from >= 1 && from <= 64 && to >= 1 && to <= 64);
  sidecodes side = sideof(ply);
  int *lost_a = ply % 2 == 1 ? wrightlost_a : brightlost_a;
  int *lost_h = ply % 2 == 1 ? wrightlost_h : brightlost_h;
  int *kingright = ply % 2 == 1 ? wkingright : bkingright;
  int mover = board[from];

  if (mover == side.king) {
    *side.kingsq = from;
    if (to == from - 2) {
      board[side.arook] = board[to + 1];
      board[to + 1] = EMPTY;
      *side.castled = 0;
    } else if (to == from + 2) {
      board[side.hrook] = board[to - 1];
      board[to - 1] = EMPTY;
      *side.castled = 0;
    }
  }
  if (*promoted) {
    board[from] = side.pawn;
    *promoted = 0;
  }
  if (*lost_a) {
    *side.castlea = side.arook;
    *lost_a = 0;
  }
  if (*lost_h) {
    *side.castleh = side.hrook;
    *lost_h = 0;
  }
  if (*kingright) {
    *side.castleking = from;
    *kingright = 0;
  }
  if (*epcapture) {
    board[to] = EMPTY;
    board[to - side.forward] = side.pawn == WPAWN ? BPAWN : WPAWN;
    *epcapture = 0;
  }
  if (board[from] == side.pawn && to == from + 2 * side.forward) childep[from + side.forward] = 0;
}

// 1 when the pawn that just moved from -> to made a double step and now stands beside an enemy
// pawn, so that en passant is possible in the next position (it enters the key).
int doublestepbeside(int from, int to) {
  int man = board[to];
  int enemy;
  if (man == WPAWN && to - from == 16)
    enemy = BPAWN;
  else if (man == BPAWN && from - to == 16)
    enemy = WPAWN;
  else
    return 0;
  return (!onafile(to) && board[to - 1] == enemy) || (!onhfile(to) && board[to + 1] == enemy);
}

// Puts square sq into the first free slot of a pawn-born list (nothing when the list is full).
static void addpawnborn(int *pieces, int sq) {
  for (int i = 1; i < PAWNBORNSLOTS; i++)
    if (pieces[i] == 0) {
      pieces[i] = sq;
      return;
    }
}

// Clears the first slot of a pawn-born list that holds sq.
static void removepawnborn(int *pieces, int sq) {
  for (int i = 1; i < PAWNBORNSLOTS; i++)
    if (pieces[i] == sq) {
      pieces[i] = 0;
      return;
    }
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
  bool pawn = mover == WPAWN || mover == BPAWN;
  if (pawn && board[to] == EMPTY && fileof(from) != fileof(to)) {
    addpawnborn(victimpieces, white ? to - 8 : to + 8);
  } else if (pawnbornsquare > 0) {
    addpawnborn(victimpieces, pawnbornsquare);
  }
}

// Undoes trackdrop for the drop of the man -from onto to, after the board square was emptied: the
// man returns to the hand slot it came from and a pawn's pawn-born entry is removed.
void undrop(int *wheld, int *bheld, int *wpieces, int *bpieces, int from, int to, int slot) {
  int code = -from;
  if (slot <= 0) return;
  bool white = iswhite(code);
  (white ? wheld : bheld)[slot] = code;
  if (code == WPAWN || code == BPAWN) removepawnborn(white ? wpieces : bpieces, to);
}
