// Front end and game control: start-up and the game loop, the protocol reader, position set-up and
// orientation, force-move replay, the engine pass and the engine table, game moves, move output,
// and standard input with the poll during a search.
#ifndef KORVEL_FRONTEND_H
#define KORVEL_FRONTEND_H

#include "board/board.h"
#include "config/config.h"
#include "control/control.h"

constexpr int INPUTNONE = 100;          // inputfrom/inputto: nothing handed over yet
constexpr int INPUTWAKEFROM = 66;       // inputfrom of the wake-up marker
constexpr int INPUTWAKETO = 67;         // inputto of the wake-up marker
constexpr int INPUTGAMEOVER = 0;        // inputfrom/inputto: the game is over
constexpr int READBLOCK = 1100;         // bytes of one block of the protocol reader
constexpr int SCANEND = 1090;           // the reader's scan stops before this position
constexpr int POLLBLOCK = 1000;         // bytes one input poll reads at most
constexpr int PENDINGSIZE = 16384;      // bytes of input read but not yet scanned
constexpr int FORCELISTSIZE = 1200;     // entries of the force list (1-based)
constexpr int SETUPTEXTSIZE = 80;       // bytes of the set-up text (index 0 unused, 79 characters)
constexpr int FIFTYDRAW = 102;          // fiftycount at which the draw is claimed
constexpr int ENDGAMELIMIT = 28;        // material below which endgameflag is set
constexpr int LATEENDGAMELIMIT = 20;    // material below which lateendgameflag is set

// --- front-end globals (game.cpp) ---
extern int inputfrom;                   // what the reader hands over: from-square, drop code or marker
extern int inputto;                     // what the reader hands over: to-square or marker
extern int oppromo;                     // code named by the opponent's last promotion letter
extern int playagain;                   // 1 while another game follows the current one
extern int promomark;                   // 1 when the move about to be written promotes
extern int timeleft;                    // the engine's clock in centiseconds
extern int levelmoves;                  // moves per time control
extern int levelbase;                   // base time in centiseconds less 300
extern int levelinc;                    // increment in centiseconds
extern int resetholdings;               // 1 when the next read must reset holdings and pawn-born lists
extern int firstread;                   // 1 until the protocol reader's first call
extern int setboardflag;                // 1 after "setboard" until the next "new" or game end
extern int rootfrom[MAXMOVES];          // root move list: from-squares (1-based)
extern int rootto[MAXMOVES];            // root move list: to-squares
extern int rootcount;                   // number of moves in the root move list
extern int icsmode;                     // 1 when playing on a chess server
extern int zchamode;                    // 1 after "zcha": "white" in crazyhouse waits for the opponent's move

void resetgame();                       // every global of the front end back to its value at load
void resetall();                        // all process-wide state back to its value at load

// --- the engine table (engines.cpp) ---
extern const enginerow enginetable[ENGINES];
const enginerow *engineof(const variantrow *variant);  // the engine that plays a variant (a stand-in until its own exists)

// --- game moves (gamemove.cpp) ---
int recordmove(int from, int to);       // appends to the game record; 1 when there was room
void storehistory(int enginemove);      // next gamehistory record from the board (and hands in crazyhouse)
void restorehistory(int index);         // board, castling values and hands from a record
void holdforwhite();                    // the starting position held for Black turned back for White
void holdforblack();                    // the starting position held for Black without turning the board
int playgamemove(int from, int to, int promotion);   // a move of the game with all its side effects; 1 when it promoted

// --- main loop (mainloop.cpp) ---
void startup(int argc, const char *const *argv);  // argv[1..argc-1]: the command-line options
void playgames();
void shutdown();
void gamestart();
void gameend();
void opponentpass();
void updateendgame();

// --- protocol reader (reader.cpp) ---
void readinput(int *wheld, int *bheld, int *wpieces, int *bpieces);

// --- engine pass (enginepass.cpp) ---
void enginepass(int *passscore);
void allottime();
void makeenginemove(const enginerow *engine);

// --- move output and console editor (moveoutput.cpp) ---
void printmove();
void printregularmove();                // a drop or a board move of the regular engine
void printdrop();
void printantimove();
void editboard();

// --- position set-up and orientation (setup.cpp) ---
void parsefen(const char *text, int length);
void mirrorboard();
void turnboard();
void setupblack();

// --- force-move replay (holdings.cpp) ---
void replayforce(const int *forcefrom, const int *forceto, const int *forcecount);
void replayforceplain(const int *forcefrom, const int *forceto, const int *forcecount);

// --- standard input (input.cpp) ---
void pollinput();                       // looks at waiting input during a search without blocking
int readblock(char *block, int size);   // next block of complete lines from standard input (blocking)
int readline(char *line, int size);     // next line from standard input; 0 at the end of input
void unreadinput(const char *text, int count);  // text goes back in front of the unread input
void resetinput();                      // forgets input read but not yet scanned

#endif
