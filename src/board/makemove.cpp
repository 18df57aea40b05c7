// Make and unmake of the searches and perft: the men, the hands and pawn-born lists, and the side
// effects (promotion, the castling rook, the castling rights, en passant, the king squares, the
// castled flags and the child's en-passant markers).
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

// Makes the move from -> to of the side to move at ply, as every search and perft make it: for a
// board move the hands and pawn-born lists first (crazyhouse; they read the board before the move),
// then the side effects, then the men; for a drop the hand, then the man. A promoting pawn becomes
// a queen, or the man promotion names when it is not 0. undo receives everything unmakemove needs.
void makemove(int ply, int from, int to, int promotion, int *childep, moveundo *undo, int *wheld, int *bheld,
              int *wpieces, int *bpieces) {
  assert(ply >= 1 && ply < MAXPLY);
  assert(to >= 1 && to <= 64 && from >= -BKING && from <= 64 && from != 0);
  undo->from = from;
  undo->to = to;
  undo->promoted = undo->epcapture = 0;
  undo->brightlost_a = undo->brightlost_h = undo->bkingright = 0;
  undo->wrightlost_a = undo->wrightlost_h = undo->wkingright = 0;
  undo->slot = undo->pawnbornsquare = 0;
  if (from < 0) {
    undo->slot = trackdrop(wheld, bheld, wpieces, bpieces, from, to);
    undo->captured = EMPTY;
    board[to] = -from;
    return;
  }
  if (crazymode) undo->slot = trackmove(wheld, bheld, wpieces, bpieces, from, to, &undo->pawnbornsquare);
  makeeffects(ply, &undo->promoted, from, to, &undo->brightlost_a, &undo->brightlost_h, &undo->bkingright,
              &undo->wrightlost_a, &undo->wrightlost_h, &undo->wkingright, childep, &undo->epcapture);
  if (promotion && undo->promoted) board[from] = promotion;
  undo->captured = board[to];
  board[to] = board[from];
  board[from] = EMPTY;
}

// Takes back a move made by makemove, in the order the make ran backwards: the men, the side
// effects, the hands and pawn-born lists.
void unmakemove(int ply, int *childep, moveundo *undo, int *wheld, int *bheld, int *wpieces, int *bpieces) {
  int from = undo->from;
  int to = undo->to;
  assert(to >= 1 && to <= 64);
  if (from < 0) {
    board[to] = EMPTY;
    undrop(wheld, bheld, wpieces, bpieces, from, to, undo->slot);
    return;
  }
  board[from] = board[to];
  board[to] = undo->captured;
  unmakeeffects(ply, &undo->promoted, from, to, &undo->brightlost_a, &undo->brightlost_h, &undo->bkingright,
                &undo->wrightlost_a, &undo->wrightlost_h, &undo->wkingright, childep, &undo->epcapture);
  if (crazymode) unmakelists(wheld, bheld, wpieces, bpieces, from, to, undo->slot, undo->pawnbornsquare);
}
