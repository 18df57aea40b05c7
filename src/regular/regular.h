// The regular engine (normal chess, 3check, crazyhouse, wildcastle, nocastle, twokings): move
// generation and picking, search, quiescence and evaluation, and its row of the engine table. Root
// choice and output are the search control's, shared with the atomic engine.
#ifndef KORVEL_REGULAR_H
#define KORVEL_REGULAR_H

#include "board/board.h"
#include "control/control.h"

// --- move generation and picking (movegen.cpp) ---
extern const int orderrank[13];    // ordering rank by piece code: pawn 1, minor 2, rook 3, queen 4, king 5

void genwhite(int *movefrom, int *moveto, int *count, int ply, const int *epsquares, int skipcastle, const int *hand);
void genblack(int *movefrom, int *moveto, int *count, int ply, const int *epsquares, int skipcastle, const int *hand);
int scoremoves(const int *movefrom, const int *moveto, int first, int last, int ply, int *movescore);
int pickentry(int *movefrom, int *moveto, int *movescore, int first, int bestindex);
int pickmove(int *movefrom, int *moveto, int *movescore, int last, int first);
int scoremovescrazy(const int *movefrom, const int *moveto, int first, int last, int ply, int *movescore);

// --- search (search.cpp) ---
// The main search. At ply 1 it returns the root choice and leaves the chosen move in finfrom/finto.
int search(int alpha, int beta, int depth, int ply, int *epsquares, int aftermove, uint64_t key, int nonull,
           int epflag, int innull, int *wheld, int *bheld, int *wpieces, int *bpieces);

// The check test after each move of a node. Before a move to `to` is made, askkingsafe asks the
// board once per node, on the first move that does not take the king on oppking, whether that
// king is safe from the side to move (*known stays -1 until then; a king capture ends the node).
// After the move, checkafter answers isattacked(oppking), walking only the lines the move touched
// when the king was safe before and the move moved one man only (onlyone: no castling, no en
// passant).
inline void askkingsafe(int *known, int oppking, int oppkingcode, int to) {
  if (*known < 0 && !(to == oppking && board[to] == oppkingcode)) *known = !isattacked(oppking);
}
inline int checkafter(int known, int oppking, int from, int to, int onlyone) {
  return known == 1 && onlyone ? attackedafter(oppking, from, to) : isattacked(oppking);
}

// Scores of the regular engine (KINGSCORE, LOSTROOTSCORE: the board core and search control).
constexpr int NULLMATEBOUND = KINGSCORE - 100;  // a null-move result counts only strictly inside -14900..14900
constexpr int ROOTALPHA = -30000;      // the root window of the regular search
constexpr int ROOTBETA = 30000;
constexpr int MAXSEARCHPLY = 120;      // deeper than this a node hands over to quiescence (endless check chains)
constexpr int DUMMYSQUARE = 2;         // an empty root list plays this square to itself
constexpr int SEEMAXATTACKERS = 100;   // slots per array of an exchange-evaluation attacker list

// Feature switches for A/B checks; the defaults are the real behaviour.
constexpr bool USENULLMOVE = true;     // try the null move where its conditions hold
constexpr bool USEKILLERS = true;      // remember quiet moves that raised a node's best score

extern long long nullcuts;         // null moves that cut off
extern long long nullfails;        // null moves that did not
extern long long cutoffs;          // beta cut-offs in search and quiescence
extern long long bestchanges;      // times a node's best move changed
extern long long seecount;         // exchange evaluations

// Clears the regular engine's own statistics before a move's search.
void resetsearchcounters();
// Puts all regular-engine state back to its value at load, for tests.
void resetregular();

// --- the engine's row of the engine table (engine.cpp) ---
uint64_t regularrootkey();         // key of the root position: with both hands in crazyhouse
int regularroot(int alpha, int beta, int depth, uint64_t key);  // one iteration on the game arrays
int regularfullroot(int alpha, int beta, int depth, uint64_t key);  // one full-strength iteration (fullsearch.cpp)
void regulargenerate(int *movefrom, int *moveto, int *count, int ply, const int *epsquares);
int regulartry(int ply, int from, int to, int promotion, int *childep, trialundo *undo);
int regularlegal(int ply);         // the mover's royal king is neither attacked nor next to an enemy king

// --- quiescence and exchange evaluation (quiesce.cpp) ---
extern const int seevalue[13];     // exchange values by piece code; a king is 7500

int qsearch(int alpha, int beta, int qdepth, int ply, const int *epsquares, int innull, uint64_t key, int *wheld,
            int *bheld);
int seegain(int sq);
void attackersof(int sq, int *fromlist, int *tolist, int *count);

// --- evaluation (eval.cpp) ---
extern const int knighttable[65];  // white knight square table
extern const int bknighttable[65]; // black knight square table, negative
extern const int bishoptable[65];  // white bishop square table
extern const int bbishoptable[65]; // black bishop square table, negative
extern const int kingendtable[65]; // king square table of the endgame, added for White, subtracted for Black
extern const int bishopmobtable[15];  // bishop bonus by the number of empty squares it sees
extern const int rookmobtable[15];    // rook bonus by the number of empty squares it sees
extern const int kingopentable[15];   // crazyhouse king penalty by the number of open squares around it

int evaluate(int side);
int evaluatecrazy(int side, const int *whitehand, const int *blackhand);
// Mobility is asked for every bishop, rook and (crazyhouse) king of every evaluation: inline here.
// Counts the empty squares seen from sq along one ray (length[sq] squares of the given step) up to
// the first occupied square. The step is a constant at each call.
static inline int raycount(const int *length, int step, int sq) {
  const int *cell = board + sq;
  int n = 0;
  for (int left = length[sq]; left > 0; left--) {
    cell += step;
    if (*cell != EMPTY) break;
    n++;
  }
  return n;
}

// Mobility of a bishop on sq (choice 0, from the bishop table) or the openness of a king's
// diagonals (choice 1, from the king table).
inline int bishopmobility(int sq, int choice) {
  assert(sq >= 1 && sq <= 64);
  int n = raycount(rayupright, 9, sq) + raycount(rayupleft, 7, sq) + raycount(raydownright, -7, sq) +
          raycount(raydownleft, -9, sq);
  return choice == 0 ? bishopmobtable[n] : kingopentable[n];
}

// Mobility of a rook on sq (choice 0) or the openness of a king's files and ranks (choice 1).
inline int rookmobility(int sq, int choice) {
  assert(sq >= 1 && sq <= 64);
  int n = raycount(rayup, 8, sq) + raycount(raydown, -8, sq) + raycount(rayright, 1, sq) + raycount(rayleft, -1, sq);
  return choice == 0 ? rookmobtable[n] : kingopentable[n];
}

double kingsafetywhite(int k, const int *whitecount);
double kingsafetyblack(int k, const int *blackcount);

// --- the pawn-structure cache (pawncache.cpp) ---
int pawnplacementsum(const boardscan *scan);  // the structure and square-table terms of the scan's pawns, cached
void prefetchpawnsum(const boardscan *scan);   // starts loading the entry pawnplacementsum will read
void clearpawncache();

#endif
