// The regular engine (normal chess, 3check, crazyhouse, wildcastle, nocastle, twokings): move
// generation and picking, search, quiescence, evaluation and root output.
#ifndef KORVEL_REGULAR_H
#define KORVEL_REGULAR_H

#include "board/board.h"

constexpr int MAXMOVES = 600;      // slots per move-list array in the main search
constexpr int MAXQMOVES = 300;     // slots per move-list array in quiescence
constexpr int MAXITERATIONSROOT = 32;  // iteration depths a root score table has room for

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

// Scores of the regular engine.
constexpr int KINGSCORE = 15000;       // a line that captures a king scores this less the ply
constexpr int LOSTROOTSCORE = -14999;  // a root move that leaves the own king capturable; ends the deepening
constexpr int NULLMATEBOUND = 14900;   // a null-move result counts only strictly inside -14900..14900
constexpr int ROOTALPHA = -30000;      // the root window of the regular search
constexpr int ROOTBETA = 30000;
constexpr int PVSLOTS = 30;            // entries of one principal-variation row
constexpr int PVMAXLEN = 19;           // entries 1..19 of a row are used
constexpr int MAXSEARCHPLY = 120;      // deeper than this a node hands over to quiescence (endless check chains)
constexpr int DUMMYSQUARE = 2;         // an empty root list plays this square to itself
constexpr int SEEMAXATTACKERS = 100;   // slots per array of an exchange-evaluation attacker list
constexpr int PVTEXTSIZE = 128;        // room for the text of a principal variation

// Feature switches for A/B checks; the defaults are the real behaviour.
constexpr bool USENULLMOVE = true;     // try the null move where its conditions hold
constexpr bool USEKILLERS = true;      // remember quiet moves that raised a node's best score

extern int maxsearchside;          // deepest ply entered by the main search of this move
extern int rootmovecount;          // number of root moves of the current search
extern int rootscore[MAXITERATIONSROOT][MAXMOVES + 1];  // score of each root move per iteration depth
extern int pvfrom[MAXPLY + 1][PVSLOTS];  // triangular principal variation by ply: from-squares as the protocol sees them
extern int pvto[MAXPLY + 1][PVSLOTS];    // the same: to-squares
extern long long searchcalls;      // main-search nodes of this move
extern long long qnodes;           // quiescence nodes of this move
extern long long nullcuts;         // null moves that cut off
extern long long nullfails;        // null moves that did not
extern long long cutoffs;          // beta cut-offs in search and quiescence
extern long long bestchanges;      // times a node's best move changed
extern long long evalcount;        // evaluations
extern long long seecount;         // exchange evaluations

// Clears the per-move counters, maxsearchside, the killers and lastto; the engine pass calls it
// (together with zeroing nodes, which it does here too) before each move's search.
void resetsearchcounters();
// Puts all regular-engine state back to its value at load, for tests: counters, killers, root
// tables, the principal variation, lastrootscore, the evaluation switches and tables.
void resetregular();

// --- quiescence and exchange evaluation (quiesce.cpp) ---
extern const int seevalue[13];     // exchange values by piece code; a king is 7500

int opponentking(int ply);          // square of the king of the side not to move at ply, 0 if none
int stopcheck();                    // the periodic poll and clock test; 1 when time ran out at this poll
int qsearch(int alpha, int beta, int qdepth, int ply, const int *epsquares, int innull, uint64_t key, int *wheld,
            int *bheld);
int seegain(int sq);
void attackersof(int sq, int *fromlist, int *tolist, int *count);

// --- evaluation (eval.cpp) ---
extern int kingsafetydivisor;      // divisor of both king-safety values: 1 after new, 4 after twokings or setboard
extern int pawntable[65];          // white pawn square table (scaled by the regular configuration file)
extern int bpawntable[65];         // black pawn square table, negative; d4 is -26 rather than the mirror's -16
extern const int knighttable[65];  // white knight square table
extern const int bknighttable[65]; // black knight square table, negative
extern const int bishoptable[65];  // white bishop square table
extern const int bbishoptable[65]; // black bishop square table, negative
extern const int kingendtable[65]; // king square table of the endgame, added for White, subtracted for Black
extern const int bishopmobtable[15];  // bishop bonus by the number of empty squares it sees
extern const int rookmobtable[15];    // rook bonus by the number of empty squares it sees
extern const int kingopentable[15];   // crazyhouse king penalty by the number of open squares around it
extern int wcount[10];             // white pawns per file 1..8; files 0 and 9 are empty sentinels
extern int bcount[10];             // black pawns per file
extern int wrear[10];              // lowest rank holding a white pawn on each file, 9 if none
extern int brear[10];              // highest rank holding a black pawn on each file, -1 if none

int evaluate(int side);
int evaluatecrazy(int side, const int *whitehand, const int *blackhand);
void filesummary();
int pawnshapewhite(int file, int rank);
int pawnshapeblack(int file, int rank);
int bishopmobility(int sq, int choice);
int rookmobility(int sq, int choice);
double kingsafetywhite(int k, const int *whitecount);
double kingsafetyblack(int k, const int *blackcount);
void resetevaluation();            // divisor and pawn tables back to their defaults, evalcount 0

// --- root choice and thinking output (root.cpp) ---
extern int lastrootscore;          // the score returned by the previous root choice

void rootorder(int *movefrom, int *moveto, int count);
int rootresult(int count, const int *movefrom, const int *moveto, int stopped, int stoppoint, int iteration);
void pvtext(char *buffer, int iteration);

#endif
