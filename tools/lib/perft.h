// Perft and the FEN set-up of the tools: counts the legal move paths of a position to a fixed depth
// with the engine's own move generators and the searches' make/unmake, by the rules of the game
// (every promotion piece, a rook captured on its corner takes its castling right, the third check
// ends a 3check game, an atomic capture explodes and blowing up a king ends the game). Shared by korvel-perft, korvel-bench, korvel-tool and the tests.
#ifndef KORVEL_PERFT_H
#define KORVEL_PERFT_H

#include "board/board.h"
#include "control/control.h"

constexpr int PERFTERRORSIZE = 160;  // room for the set-up error message
constexpr int PERFTMAXDEPTH = 40;    // deepest perft accepted
constexpr int MOVETEXTSIZE = 8;      // room for a move in text form, e.g. "e7e8q" or "N@f3"

// What perftmake changed beyond the searches' make, so that perftunmake can restore it exactly.
struct perftundo {
  trialundo trial;      // the move tried by the variant's rules (the searches' make, atomic explosions)
  int rightcaptured;    // castling right taken with a rook captured on its corner: 1 white a, 2 white h,
                        // 3 black a, 4 black h, else 0
  int checkgiven;       // 3check: 1 when this move raised the mover's check counter
};

// The position set up lives where the engine keeps a game's root: the board, gameepsquares (the
// en-passant markers, held squares), gamewheld/gamebheld (the hands of the side to move and of the
// other side) and gamewpieces/gamebpieces (the pawn-born lists), held turned when Black is to move.
extern const variantrow *perftvariant;   // variant of the position set up
extern const enginerow *perftengine;     // the engine whose generator and rules perft counts with
extern int perftblack;              // 1 when Black is to move at the root: the board is held turned
extern char perfterror[PERFTERRORSIZE];  // why the last set-up failed

// Sets the board up from a FEN text in the named variant (null text: the starting position), as
// the engine holds a game; 1 on success, 0 with the reason in perfterror.
int perftsetup(const char *variantname, const char *fen);
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
