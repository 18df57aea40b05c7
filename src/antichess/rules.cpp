// The rules of the antichess family that more than the search needs: counting men, the losers
// legality test, and the list of moves the rules allow (captures compulsory; in losers only legal
// moves, and captures compulsory only among them).
#include "antichess/antichess.h"

#include <cstring>

// Number of men of one colour on the board.
int men(int white) {
  int n = 0;
  for (int sq = 1; sq <= 64; sq++)
    if (white ? iswhite(board[sq]) : isblack(board[sq])) n++;
  return n;
}

// 1 when the colour has its king and nothing else.
int bareking(int white) {
  int king = white ? WKING : BKING;
  int n = 0;
  int kings = 0;
  for (int sq = 1; sq <= 64; sq++) {
    int code = board[sq];
    if (white ? iswhite(code) : isblack(code)) {
      n++;
      if (code == king) kings++;
    }
  }
  return n == 1 && kings == 1;
}

// After a losers move made at ply, with kingsq the mover's king square now (0 when it has none)
// and kingmoved 1 when the king itself moved: 1 when the king is not attacked and, if it moved,
// did not step next to the enemy king.
int loserslegal(int ply, int kingsq, int kingmoved) {
  if (kingsq == 0) return 1;
  if (isattacked(kingsq)) return 0;
  return !(kingmoved && isbeside(kingsq, ply % 2 == 1 ? BKING : WKING));
}

// 1 when the move of the side to move at ply, whose king stands on kingsq, is legal by the losers
// rules (always in giveaway and suicide). Makes and unmakes it.
int allowed(int ply, int from, int to, int promo, int kingsq) {
  if (!losersmode) return 1;
  int childep[65];
  memset(childep, 0, sizeof childep);
  moveundo undo;
  int kingmoved = board[from] == (ply % 2 == 1 ? WKING : BKING);
  makemove(ply, from, to, promo, childep, &undo, gamewheld, gamebheld, gamewpieces, gamebpieces);
  int legal = loserslegal(ply, kingmoved ? to : kingsq, kingmoved);
  unmakemove(ply, childep, &undo, gamewheld, gamebheld, gamewpieces, gamebpieces);
  return legal;
}

// Copies to the list the moves of f/t/p that the rules allow and that are captures (wantcapture
// 1) or not (0); returns their number.
static int keepallowed(int ply, const int *f, const int *t, const int *p, int count, int kingsq, int wantcapture,
                       int *from, int *to, int *promo) {
  int n = 0;
  for (int i = 1; i <= count; i++) {
    if (iscapture(f[i], t[i]) != wantcapture || !allowed(ply, f[i], t[i], p[i], kingsq)) continue;
    n++;
    from[n] = f[i];
    to[n] = t[i];
    promo[n] = p[i];
  }
  return n;
}

// Fills the list with the moves the rules allow to the side to move at ply and returns their
// number: when any allowed capture exists only the captures, else every allowed move. In losers a
// move is allowed when it is legal, in giveaway and suicide every generated move is. The quiet
// moves are only tested when no capture is allowed.
int rulemoves(int ply, const int *epsquares, int *from, int *to, int *promo) {
  int f[ANTIMAXMOVES], t[ANTIMAXMOVES], p[ANTIMAXMOVES];
  int count = 0;
  antigenerate(ply, f, t, p, &count, epsquares);
  int kingsq = losersmode ? findman(ply % 2 == 1 ? WKING : BKING) : 0;
  int n = keepallowed(ply, f, t, p, count, kingsq, 1, from, to, promo);
  return n ? n : keepallowed(ply, f, t, p, count, kingsq, 0, from, to, promo);
}
