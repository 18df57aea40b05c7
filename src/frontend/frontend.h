// Front end and game control: the game globals, position set-up and orientation, holdings and
// pawn-born lists, force-move replay, the clock and the input poll.
#ifndef KORVEL_FRONTEND_H
#define KORVEL_FRONTEND_H

#include "board/board.h"

constexpr int GAMERECORDSIZE = 1200;    // entries of the game record linef/linet
constexpr int HISTORYSIZE = 1200;       // records of gamehistory
constexpr int MAXITERATIONS = 30;       // entries of iterfrom/iterto/iterpromo (1-based)
constexpr int INPUTNONE = 100;          // inputfrom/inputto: nothing handed over yet
constexpr int INPUTWAKEFROM = 66;       // inputfrom of the wake-up marker
constexpr int INPUTWAKETO = 67;         // inputto of the wake-up marker

// One position of the game: the board, the castling values, who made it and, in crazyhouse, the hands.
struct historyrecord {
  int squares[65];
  int castle[6];        // wcastleking, wcastlea, wcastleh, bcastleking, bcastlea, bcastleh
  int enginemove;       // 1 when the record was made after an engine move
  int wheld[HANDSLOTS];
  int bheld[HANDSLOTS];
  int wpieces[PAWNBORNSLOTS];
  int bpieces[PAWNBORNSLOTS];
};

// --- game globals (game.cpp) ---
extern int color;                       // 1 = the engine plays White, 0 = Black
extern int gameply;                     // number of the current half-move
extern int ltop;                        // next free index of the game record
extern signed char linef[GAMERECORDSIZE];  // game record: from-square of half-move j
extern signed char linet[GAMERECORDSIZE];  // game record: to-square of half-move j
extern int finfrom;                     // from-square of the move the engine is about to play (< 0: a drop)
extern int finto;                       // to-square of the move the engine is about to play
extern int inputfrom;                   // what the reader hands over: from-square, drop code or marker
extern int inputto;                     // what the reader hands over: to-square or marker
extern int oppromo;                     // code named by the opponent's last promotion letter
extern int fiftycount;                  // half-moves since the last capture or pawn move
extern historyrecord gamehistory[HISTORYSIZE];  // the positions of the game, record 0 at game start
extern int historycount;                // index of the last record of gamehistory
extern int playagain;                   // 1 while another game follows the current one
extern int endgameflag;                 // 1 once the material on the board fell below 28
extern int lateendgameflag;             // 1 once the material on the board fell below 20
extern int startmaterial;               // queen + 2 * (knight + bishop + rook) + pawn, atomic values

// --- search control (game.cpp) ---
extern int promopiece;                  // promotion code chosen by the antichess search, 0 = none
extern int promomark;                   // 1 when the move about to be written promotes
extern int discardmove;                 // 1 when the running search's move must not be written
extern int stopsearch;                  // 1 ends the running search and the deepening
extern int timeleft;                    // the engine's clock in centiseconds
extern int levelmoves;                  // moves per time control
extern int levelbase;                   // base time in centiseconds less 300
extern int levelinc;                    // increment in centiseconds
extern int movetime;                    // milliseconds allotted to the current move
extern unsigned searchstart;            // tick count when the engine's turn began (time-out reference)
extern unsigned thinkstart;             // tick count for the speed figures of the thinking output
extern int pollinterval;                // nodes between input polls and clock checks
extern int searchdepth;                 // current iteration depth
extern int depthcap;                    // deepest iteration allowed
extern int iterations;                  // completed iterations of the current search
extern int iterfrom[MAXITERATIONS];     // best move of each completed iteration: from-square
extern int iterto[MAXITERATIONS];       // best move of each completed iteration: to-square
extern int iterpromo[MAXITERATIONS];    // promotion code of that move, else 0
extern long long nodes;                 // nodes of this move's search
extern int postmode;                    // 1 while thinking output is on
extern int resetholdings;               // 1 when the next read must reset holdings and pawn-born lists

void resetgame();                       // every global of the front end back to its value at load

// --- position set-up and orientation (setup.cpp) ---
void parsefen(const char *text, int length);
void mirrorboard();
void turnboard();
void setupblack();

// --- holdings, pawn-born lists and force-move replay (holdings.cpp) ---
int trackmove(int *wheld, int *bheld, int *wpieces, int *bpieces, int from, int to, int *out);
int trackdrop(int *wheld, int *bheld, int *wpieces, int *bpieces, int from, int to);
void resetlists(int *wheld, int *bheld, int *wpieces, int *bpieces);
void replayforce(const int *forcefrom, const int *forceto, const int *forcecount, int *wheld, int *bheld,
                 int *wpieces, int *bpieces);
void replayforceplain(const int *forcefrom, const int *forceto, const int *forcecount);

// --- platform (platform.cpp) ---
unsigned gettickcount();                // milliseconds from a monotonic clock
void pollinput();                       // looks at waiting input during a search without blocking
void output(const char *format, ...) __attribute__((format(printf, 1, 2)));  // the one writer on stdout

#endif
