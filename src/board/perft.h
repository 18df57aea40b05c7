// Perft: counts the legal move paths of a position to a fixed depth with the engine's own move
// generators and the searches' make/unmake, by the rules of the game (every promotion piece, a rook
// captured on its corner takes its castling right, the third check ends a 3check game). Shared by
// the korvel-perft tool and the tests.
#ifndef KORVEL_PERFT_H
#define KORVEL_PERFT_H

#include "board/board.h"

// Variants perft knows; the order is that of perftvariantnames.
constexpr int PERFTNORMAL = 0;
constexpr int PERFTNOCASTLE = 1;
constexpr int PERFTWILDCASTLE = 2;
constexpr int PERFTTHREECHECK = 3;
constexpr int PERFTCRAZYHOUSE = 4;
constexpr int PERFTVARIANTS = 5;

constexpr int PERFTERRORSIZE = 160;  // room for the set-up error message
constexpr int PERFTMAXDEPTH = 40;    // deepest perft accepted
constexpr int MOVETEXTSIZE = 8;      // room for a move in text form, e.g. "e7e8q" or "N@f3"
constexpr int THREECHECKS = 3;       // checks that end a 3check game

// Everything a make changed, so that the unmake can restore it exactly.
struct perftundo {
  int from;             // from-square, or the negated code of a dropped man
  int to;               // to-square
  int captured;         // man on the to-square before the move
  int promoted;         // 1 when a pawn became a queen
  int brightlost_a;     // the flags of makeeffects
  int brightlost_h;
  int bkingright;
  int wrightlost_a;
  int wrightlost_h;
  int wkingright;
  int epcapture;        // 1 for an en-passant capture
  int slot;             // hand slot filled by the capture or emptied by the drop, else 0
  int pawnbornsquare;   // square of a captured pawn-born man, else 0
  int rightcaptured;    // castling right taken with a rook captured on its corner: 1 white a, 2 white h,
                        // 3 black a, 4 black h, else 0
  int checkgiven;       // 3check: 1 when this move raised the mover's check counter
};

extern const char *const perftvariantnames[PERFTVARIANTS];  // the names the tool accepts
extern int perftvariant;            // variant of the position set up, PERFTNORMAL..PERFTCRAZYHOUSE
extern int perftblack;              // 1 when Black is to move at the root: the board is held turned
extern int perftep[65];             // en-passant markers of the root position (held squares)
extern int perftwheld[HANDSLOTS];   // hand of the side to move at the root (white codes)
extern int perftbheld[HANDSLOTS];   // hand of the other side (black codes)
extern int perftwpieces[PAWNBORNSLOTS];  // pawn-born men of the white codes
extern int perftbpieces[PAWNBORNSLOTS];  // pawn-born men of the black codes
extern char perfterror[PERFTERRORSIZE];  // why the last set-up failed

// Variant number of a name, or -1.
int perftfindvariant(const char *name);
// Sets the board up from a FEN text in the given variant (null text: the starting position);
// 1 on success, 0 with the reason in perfterror.
int perftsetup(int variant, const char *fen);
// Makes the move on the board, the castling state and the lists (a promotion makes a queen); returns 1
// when it is legal (the mover's king cannot be taken). The caller always unmakes it.
int perftmake(int ply, int from, int to, int *childep, perftundo *undo);
// Takes back a move made by perftmake.
void perftunmake(int ply, int *childep, perftundo *undo);
// 3check: raises the mover's check counter when the move just made (with the man now on its
// to-square) gives check; answers 1 when that was the third check, which ends the game.
int perftcountcheck(int ply, perftundo *undo);
// Takes back what perftcountcheck did.
void perftuncountcheck(int ply, perftundo *undo);
// Fills a list with the pseudo-legal moves of the side to move at this ply.
void perftgenerate(int *movefrom, int *moveto, int *count, int ply, const int *epsquares);
// Number of leaf nodes at the given depth below the root position.
long long perft(int depth);
// Like perft, printing each root move with its count; the total is returned, not printed.
long long perftdivide(int depth);
// Writes a move of the root position in real coordinates ("e2e4", "e7e8q", "N@f3").
void perftmovetext(int from, int to, int promotion, char *text);

#endif
