// Search control shared by every engine: the clock and input check, iterative deepening over an
// engine of the engine table, the root move choice with its thinking output and principal
// variation, the root repetition test, the killer and per-ply tables, the per-move counters, and
// the variant table that says which flags, engine and depth cap each protocol variant has.
#ifndef KORVEL_CONTROL_H
#define KORVEL_CONTROL_H

#include "board/board.h"

constexpr int MAXMOVES = 600;          // slots per move-list array in a main search (the root list too)
constexpr int MAXQMOVES = 300;         // slots per move-list array in quiescence
constexpr int MAXITERATIONS = 30;      // entries of iterfrom/iterto/iterpromo (1-based)
constexpr int MAXITERATIONSROOT = 32;  // iteration depths a root score table has room for
constexpr int PVSLOTS = 30;            // entries of one principal-variation row
constexpr int PVMAXLEN = 19;           // entries 1..19 of a row are used
constexpr int PVTEXTSIZE = 128;        // room for the text of a principal variation
constexpr int PASSNOSCORE = 999;       // score of a pass in which no search ran

// Scores of the regular scale that deepening and the result announcements know.
constexpr int LOSTROOTSCORE = -(KINGSCORE - 1);  // -14999: every root move loses the king; ends the deepening
constexpr int ENGINEMATES = KINGSCORE - 3;       // 14997: the move takes the opponent's king next (mate or stalemate)
constexpr int ENGINEMATED = -(KINGSCORE - 2);    // -14998: every move loses the engine's king (mated or stalemated)

// Scores of the atomic scale that the atomic search and the result announcements know.
constexpr int ATOMICWIN = 7500;                      // the opponent's king blown up or taken at ply p: 7500 - p
constexpr int ATOMICOPPWINSNEXT = -(ATOMICWIN - 2);  // -7498: the opponent wins at once after the root move

// Engines of the engine table.
constexpr int ENGINEREGULAR = 0;
constexpr int ENGINEATOMIC = 1;
constexpr int ENGINEANTICHESS = 2;
constexpr int ENGINES = 3;

// A move tried by the rules of a variant (an engine row's trymove): the searches' make and, in
// atomic, the explosion with the castling rights it took, so that untrymove restores everything.
struct trialundo {
  moveundo move;         // the searches' make
  int exploded;          // atomic: 1 when the move was a capture and exploded
  int blastwin;          // atomic: the explosion blew up the other king, which ends the game
  int blastsave[65];     // atomic: what the explosion removed
  uint64_t blastkey;     // atomic: the keys of the men the explosion removed, together
  int rights[6];         // atomic: the six castling values before the explosion
};

// One engine of the engine table: what deepening, perft and the engine pass need of it.
struct enginerow {
  const char *name;
  int alpha;                             // the root window
  int beta;
  void (*newsearch)();                   // clears the engine's own counters before a move's search
  uint64_t (*rootkey)();                 // key of the root position (board and game arrays)
  int (*rootsearch)(int alpha, int beta, int depth, uint64_t key);  // one iteration at the root
  // The pseudo-legal moves of the side to move at ply (White codes on odd plies), with the game's hands.
  void (*generate)(int *movefrom, int *moveto, int *count, int ply, const int *epsquares);
  // Makes the move of the side at ply by the variant's rules, with the game's hands (a promoting
  // pawn becomes promotion, 0 a queen); 1 when the rules allow it. The caller always takes it back
  // with untrymove. The one legality of the variant: the game, perft, books and tools all ask it.
  int (*trymove)(int ply, int from, int to, int promotion, int *childep, trialundo *undo);
  void (*untrymove)(int ply, int *childep, trialundo *undo);
  void (*printmove)();                   // writes the engine's move line
  int anypromotion;                      // 1 when a pawn promotes to the man in promopiece, 0 for a queen
  // One iteration of the full-strength search at the root in the window alpha..beta; null while
  // the engine has none (full mode then deepens its default search under the full-mode clock).
  int (*fullrootsearch)(int alpha, int beta, int depth, uint64_t key);
  int winscore;                          // a side that wins at ply p scores winscore - p in its searches
};

// Variant flags as bits, for the variant table.
constexpr int VFATOMIC = 1;
constexpr int VFTHREECHECK = 2;
constexpr int VFCRAZY = 4;
constexpr int VFANTI = 8;
constexpr int VFLOSERS = 16;
constexpr int VFSUICIDE = 32;
constexpr int VFTWOKINGS = 64;
constexpr int VFALL = 127;
constexpr int VARIANTPREFIX = 6;       // characters of a variant name the protocol reader compares

// How a set-up position of the variant may castle.
constexpr int CASTLENORMAL = 0;        // king on e1/e8 with the rooks in the corners
constexpr int CASTLENONE = 1;          // no castling at all
constexpr int CASTLEWILD = 2;          // the king may also start on d1/d8

// One variant the engine plays.
struct variantrow {
  const char *name;                    // the protocol's name
  int flags;                           // the flags it sets
  int clears;                          // the flags it clears
  int engine;                          // ENGINEREGULAR, ENGINEATOMIC or ENGINEANTICHESS
  int *depthcap;                       // the setting that caps its depth
  int castling;                        // CASTLENORMAL, CASTLENONE or CASTLEWILD
};
constexpr int VARIANTS = 10;

// --- search-control globals (control.cpp) ---
extern int stopsearch;                  // 1 ends the running search and the deepening
extern int discardmove;                 // 1 when the running search's move must not be written
extern int movetime;                    // milliseconds allotted to the current move
extern unsigned searchstart;            // tick count when the engine's turn began (time-out reference)
extern unsigned thinkstart;             // tick count for the speed figures of the thinking output
extern int pollinterval;                // nodes between input polls and clock checks
extern int searchdepth;                 // current iteration depth
extern int depthcap;                    // deepest iteration allowed, plus one
extern int iterations;                  // completed iterations of the current search
extern int iterfrom[MAXITERATIONS];     // best move of each completed iteration: from-square
extern int iterto[MAXITERATIONS];       // best move of each completed iteration: to-square
extern int iterpromo[MAXITERATIONS];    // promotion code of that move, else 0
extern long long nodes;                 // nodes of this move's search
extern int postmode;                    // 1 while thinking output is on
extern void (*inputpoll)();             // looks at waiting input during a search; null: nobody listens
extern int maxsearchside;               // deepest ply entered by the search of this move
extern int rootmovecount;               // number of root moves of the current search
extern int rootscore[MAXITERATIONSROOT][MAXMOVES + 1];  // score of each root move per iteration depth
extern int pvfrom[MAXPLY + 1][PVSLOTS]; // triangular principal variation by ply: from-squares as the protocol sees them
extern int pvto[MAXPLY + 1][PVSLOTS];   // the same: to-squares
extern int lastrootscore;               // the score returned by the previous root choice
extern int choicefrom[MAXMOVES];        // the root moves the last root choice compared (1-based): from-squares
extern int choiceto[MAXMOVES];          // their to-squares
extern int choicescore[MAXMOVES];       // their scores
extern int choicecount;                 // how many; 0 before the first choice of a move's search
extern int killer1from[MAXPLY];         // first killer move of each ply: from-square
extern int killer1to[MAXPLY];           // first killer move of each ply: to-square
extern int killer2from[MAXPLY];         // second killer move of each ply: from-square
extern int killer2to[MAXPLY];           // second killer move of each ply: to-square
extern int lastto[MAXPLY];              // to-square of the move being searched at each ply (0 for a null move)
extern long long searchcalls;           // main-search nodes of this move
extern long long qnodes;                // quiescence (leaf) nodes of this move
extern long long evalcount;             // evaluations of this move

// --- variant table (variants.cpp) ---
extern const variantrow varianttable[VARIANTS];

// --- control (control.cpp) ---
void resetmovecounters();               // nodes, counters, deepest ply, killers and lastto cleared before a move's search
void clearkillers();                    // the killer tables of plies 1..99
void resetcontrol();                    // every search-control global back to its value at load

// --- clock and input (stopcheck.cpp) ---
int stopcheck();                        // the periodic poll and clock test; 1 when time ran out at this poll

// --- moves tried by the rules (trial.cpp) ---
int plaintry(int ply, int from, int to, int promotion, int *childep, trialundo *undo);  // the make alone; 1
void plainuntry(int ply, int *childep, trialundo *undo);

// --- deepening (deepen.cpp) ---
void deepen(const enginerow *engine, int *passscore);
void noteiteration();                   // the completed iteration's move into iterfrom/iterto/iterpromo

// --- root choice and thinking output (root.cpp) ---
void rootorder(int *movefrom, int *moveto, int count);
void keepchoice(int count, const int *movefrom, const int *moveto, int iteration);
int rootresult(int count, const int *movefrom, const int *moveto, int stopped, int stoppoint, int iteration);
void pvtext(char *buffer, int iteration);
void updatepv(int ply, int from, int to);

// --- root repetition (repetition.cpp) ---
int repeatsgame(const int *wheld, const int *bheld);

// --- full-strength search: shared tables and helpers (fullcontrol.cpp) ---
constexpr int FULLMAXPLY = 120;         // deepest ply of a full-strength line; deeper nodes stand pat
constexpr int MATEMARGIN = 300;         // scores within this of an engine's win are mates in a number of moves
extern int historyscore[13][65];        // quiet moves' cut-off history by man code and to-square
extern int counterfrom[13][65];         // the quiet move that refuted the move of a man code to a square
extern int counterto[13][65];
extern uint64_t pathkey[MAXPLY];        // keys of the positions of the line being searched, by ply
extern int pathclock[MAXPLY];           // half-moves since the last capture or pawn move, by ply
extern int fullpvfrom[MAXPLY][MAXPLY];  // triangular principal variation of the full search, board squares
extern int fullpvto[MAXPLY][MAXPLY];
extern int fullpvlength[MAXPLY];        // the line of row p runs over plies p .. fullpvlength[p] - 1

void clearfullsearch();                 // history, counter moves and the line keys back to zero
void collectgamekeys(const enginerow *engine);  // the keys of the game's positions that may still repeat
int isdrawnline(int ply);               // 1 when the line's position at ply repeats or the fifty moves are over
void rewardquiet(int man, int to, int depth, int prevman, int prevto);  // a quiet move cut off
void punishquiet(int man, int to, int depth);  // a quiet move searched before the one that cut off
int toentryscore(int score, int ply, int winscore);    // a score as the table keeps it (mates from this node)
int fromentryscore(int score, int ply, int winscore);  // and back, as seen from the root
void fullpvset(int ply, int from, int to);             // the move at ply followed by its reply's line
void fullpvtext(char *buffer);                         // the root's line as the protocol writes moves
void picknext(int *movefrom, int *moveto, int *order, int i, int count);  // the best of i..count to i
int highestorder(const int *order, int i, int count);                         // its index
void swapmoves(int *movefrom, int *moveto, int *order, int i, int j);
constexpr int LMRLIMIT = 64;            // late-move reductions are tabled up to this depth and move count
int enterfullnode(int ply, uint64_t key);   // counts the node, polls; 1 when a stopped search unwinds
void enterchild(int ply, uint64_t childkey, int irreversible);
int matewindow(int *alpha, int *beta, int lost, int won);  // 1 when no score is left in the window
int tableanswer(uint64_t key, int depth, int alpha, int beta, int ply, int winscore, int cut, int *from, int *to,
                int *score);
void storenode(uint64_t key, int depth, int best, int startalpha, int beta, int ply, int winscore, int from, int to);
int latereduction(int depth, int moves, int pvnode, int newdepth);
void quietcutoff(int ply, int depth, int from, int to, int man, const int *quietmen, const int *quietto, int quiets,
                 int prevman, int prevto);

// --- full-strength deepening and its clock (fulldeepen.cpp, fulltime.cpp) ---
extern int softtime;                    // milliseconds after which no new iteration starts
void planfulltime(int clockms, int incms, int levelmoves, int movesmade, int lag);
int nextiterationfits(int bestchanged, int scorefell);  // 1 while a further iteration should start
void deepenfull(const enginerow *engine, int *passscore);

// --- variants (variants.cpp) ---
const variantrow *findvariant(const char *name);      // the row of a whole name, or null
const variantrow *matchvariant(const char *text);     // the row whose name begins text's first six characters
void setvariantflags(int set, int clear);             // sets and clears variant flags given as VF bits
int variantflags();                                    // the flags in force as VF bits
const variantrow *currentvariant();                    // the row of the flags in force

#endif
