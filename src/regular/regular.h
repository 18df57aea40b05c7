// The regular engine (normal chess, 3check, crazyhouse, wildcastle, nocastle, twokings): move
// generation and picking, search, quiescence, evaluation and root output.
#ifndef KORVEL_REGULAR_H
#define KORVEL_REGULAR_H

#include "board/board.h"

constexpr int MAXMOVES = 600;      // slots per move-list array in the main search
constexpr int MAXQMOVES = 300;     // slots per move-list array in quiescence

// --- move generation and picking (movegen.cpp) ---
extern const int orderrank[13];    // ordering rank by piece code: pawn 1, minor 2, rook 3, queen 4, king 5
extern int killer1from[MAXPLY];    // first killer move of each ply: from-square
extern int killer1to[MAXPLY];      // first killer move of each ply: to-square
extern int killer2from[MAXPLY];    // second killer move of each ply: from-square
extern int killer2to[MAXPLY];      // second killer move of each ply: to-square
extern int lastto[MAXPLY];         // to-square of the move being searched at each ply (0 for a null move)

void genwhite(int *movefrom, int *moveto, int *count, int ply, const int *epsquares, int skipcastle, const int *hand);
void genblack(int *movefrom, int *moveto, int *count, int ply, const int *epsquares, int skipcastle, const int *hand);
int pickmove(int *movefrom, int *moveto, int ply, int last, int first);
int pickmovecrazy(int *movefrom, int *moveto, int ply, int last, int first);
void clearkillers();

// --- search (search.cpp) ---
// The main search. At ply 1 it returns the root choice and leaves the chosen move in finfrom/finto.
int search(int alpha, int beta, int depth, int ply, int *epsquares, int aftermove, uint64_t key, int nonull,
           int epflag, int innull, int *wheld, int *bheld, int *wpieces, int *bpieces);

#endif
