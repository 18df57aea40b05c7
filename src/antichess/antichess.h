// The antichess engine (giveaway, suicide, losers): move generation and capture picking, search
// and leaf, evaluation, root choice, its row of the engine table; and the result announcements
// and the capture-obligation test that the front end calls in every variant.
#ifndef KORVEL_ANTICHESS_H
#define KORVEL_ANTICHESS_H

#include "board/board.h"
#include "control/control.h"

constexpr int ANTIMAXMOVES = 300;      // slots per array of an antichess move list (entries 1..299)
constexpr int ANTIALPHA = -15000;      // the root window of the antichess search
constexpr int ANTIBETA = 15000;
constexpr int ANTIWIN = 7500;          // a won position scores this less the ply
constexpr int ILLEGALROOTSCORE = -20000;  // root score of a losers move the rules forbid
constexpr int ANTIEXTENDPLY = 29;      // captures and late pawn pushes are searched unreduced up to this ply
constexpr int FEWPAWNS = 2;            // in the endgame a side with at most this many pawns extends pawn pushes

// Losers scores the result announcement knows.
constexpr int LOSERSALLILLEGAL = ILLEGALROOTSCORE;  // every root move is forbidden: no legal move, the engine wins
constexpr int LOSERSKINGTAKEN = -(ANTIWIN - 2);     // -7498: the opponent takes the engine's king next
constexpr int LOSERSKINGTAKENLATE = -(ANTIWIN - 3);  // -7497
constexpr int LOSERSFEWMEN = 3;        // with this many men the opponent is not yet reduced to a bare king

// --- move generation and ordering (movegen.cpp) ---
void antigenwhite(int *from, int *to, int *promo, int *count, const int *epsquares);
void antigenblack(int *from, int *to, int *promo, int *count, const int *epsquares);
void antigenerate(int ply, int *from, int *to, int *promo, int *count, const int *epsquares);
int pickcapture(int *from, int *to, int *promo, int p, int count);
void antirootorder(int *from, int *to, int *promo, int count);
int iscapture(int from, int to);       // the move takes a man: the target is occupied or a pawn moves aside

// --- the rules (rules.cpp) ---
int men(int white);                    // men of one colour on the board
int bareking(int white);               // 1 when that colour has only its king left
int loserslegal(int ply, int from, int to);  // after a losers move made at ply: 1 when the rules allow it
int allowed(int ply, int from, int to, int promo, int kingsq);  // makes and unmakes the move to test it
int rulemoves(int ply, const int *epsquares, int *from, int *to, int *promo);  // the moves the rules allow

// --- search (search.cpp) ---
extern int antistoppoint;              // root entry during whose search the stop was first seen, 0 for none
int antisearch(int alpha, int beta, int depth, int ply, int *epsquares, uint64_t key, int epflag);
int antileaf(int alpha, int beta, int ply, const int *epsquares);

// --- evaluation (eval.cpp) ---
extern const int antiwpawnadvance[65]; // white pawn advance by square
extern const int antibpawnadvance[65]; // black pawn advance by square, zero or below
extern const int loserkingtable[65];   // losers king square table in the endgame
int antievaluate(int side);
int twosquaresaway(int sq, int code);

// --- root choice (root.cpp) ---
int rootselect(int n, const int *from, const int *to, const int *promo, int stopped, int stoppoint, int depth);

// --- the engine's row of the engine table (engine.cpp) ---
void antinewsearch();
uint64_t antirootkey();
int antiroot(int alpha, int beta, int depth, uint64_t key);
int antifullroot(int alpha, int beta, int depth, uint64_t key);  // one full-strength iteration (fullsearch.cpp)
void antigeneraterow(int *movefrom, int *moveto, int *count, int ply, const int *epsquares);
int antitry(int ply, int from, int to, int promotion, int *childep, trialundo *undo);
int antilegal(int ply);
void resetantichess();

// --- result announcements and the capture obligation (gameend.cpp, capture.cpp) ---
int enginetomoveresult();
int opponenttomoveresult(int score, int oppkingattacked, int ownkingattacked, int oppmated);
void announceenginewin();
void announceopponentwin();
void enginecannotmove(int ownkingattacked);
int opponentcancapture();

#endif
