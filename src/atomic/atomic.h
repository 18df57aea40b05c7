// The atomic engine: move generation and picking, the position keys of its search, evaluation,
// quiescence and search, and its row of the engine table. The explosion itself lives beside
// make/unmake in the board core, since the game applies it too; root choice and thinking output
// are the search control's, shared with the regular engine.
#ifndef KORVEL_ATOMIC_H
#define KORVEL_ATOMIC_H

#include "board/board.h"
#include "control/control.h"

// Scores of the atomic scale, from the side to move at ply p.
constexpr int ATOMICOWNKING = -8000;     // the mover blew up its own king: p - 8000
constexpr int ATOMICKINGCAPTURE = -9000; // a king captured: p - 9000
constexpr int ATOMICROOTKINGTAKEN = 10000;  // a root move that takes the opponent's king
constexpr int ATOMICKINGCAPTUREROOT = -20000;  // a root capture by the engine's king, never played
constexpr int ATOMICALPHA = -10000;      // the root window of the atomic search
constexpr int ATOMICBETA = 10000;

// Flags explode reports.
constexpr int BLASTOWNKING = 1;          // blastillegal: the mover's own king was blown up
constexpr int BLASTKINGCAPTURE = 2;      // blastillegal: a king captured

// --- move generation and picking (movegen.cpp) ---
void atomicwhitemoves(int *movefrom, int *moveto, int *count, int ply, const int *epsquares);
void atomicblackmoves(int *movefrom, int *moveto, int *count, int ply, const int *epsquares);
int atomicpick(int *movefrom, int *moveto, int ply, int last, int first, const int *scratch);

// --- position keys (keys.cpp) ---
uint64_t castlerightskey(uint64_t key, int from);
uint64_t movekey(uint64_t key, int from, int to, int captured, int isnull, int promoted, int epbefore, int epafter);
uint64_t rightskey(const int *rights);
uint64_t atomicrootkey(int epflag);

// --- evaluation (eval.cpp) ---
constexpr int KNIGHTKINGBONUS = 30;      // a knight on the enemy king's row or next to it
int atomiceval(int side);
int isnextto(int sq, int code, int diagonals);

// --- quiescence (quiesce.cpp) ---
int atomicquiesce(int alpha, int beta, int depth, int ply, const int *epsquares, int *scratch, uint64_t key,
                  int epflag);
int contactmove(int from, int to, int captured, int standpat);

// --- search (search.cpp) ---
// What a node decided about one move before searching it.
struct atomicmove {
  int from, to;
  int captured;           // the man that stood on to
  int exploded;           // 1 when the move exploded (a capture or en passant)
  int decided;            // 1 when the explosion already scored the move
  int illegal;            // blastillegal of the explosion
  int kingtaken;          // the opponent's king captured on its square
  int score;
};
// Makes a move with its explosion (scoring the move when the explosion decides it) and answers
// the child's key; unmakeatomic takes it back.
uint64_t makeatomic(int ply, atomicmove *m, moveundo *undo, int *childep, int *blastsave, uint64_t key, int epflag,
                    int *childepflag);
void unmakeatomic(int ply, atomicmove *m, moveundo *undo, int *childep, const int *blastsave);
int atomicsearch(int alpha, int beta, int depth, int ply, int *epsquares, int *scratch, uint64_t key, int extended,
                 int epflag);

// --- the engine's row of the engine table (engine.cpp) ---
extern int atomicscratch[65];            // captures per square seen by the searches of this move
void atomicnewsearch();                  // clears the scratch array before a move's search
uint64_t atomicgamekey();                // key of the root position of the game
int atomicroot(int alpha, int beta, int depth, uint64_t key);
int atomicfullroot(int alpha, int beta, int depth, uint64_t key);  // one full-strength iteration (fullsearch.cpp)
void atomicgenerate(int *movefrom, int *moveto, int *count, int ply, const int *epsquares);
int atomictry(int ply, int from, int to, int promotion, int *childep, trialundo *undo);
void atomicuntry(int ply, int *childep, trialundo *undo);
int atomiclegal(int ply);                // after a move and its explosion: the mover's king is safe
void resetatomic();

#endif
