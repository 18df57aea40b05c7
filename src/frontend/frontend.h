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
constexpr int INPUTGAMEOVER = 0;        // inputfrom/inputto: the game is over
constexpr int READBLOCK = 1100;         // bytes of one block of the protocol reader
constexpr int SCANEND = 1090;           // the reader's scan stops before this position
constexpr int POLLBLOCK = 1000;         // bytes one input poll reads at most
constexpr int PENDINGSIZE = 16384;      // bytes of input read but not yet scanned
constexpr int FORCELISTSIZE = 1200;     // entries of the force list (1-based)
constexpr int SETUPTEXTSIZE = 80;       // bytes of the set-up text (index 0 unused, 79 characters)
constexpr int ROOTLISTSIZE = 600;       // slots of the root move list
constexpr int PASSNOSCORE = 999;        // score of a pass in which no search ran
constexpr int NOFIXEDTIME = -1;         // fixedtime/fixedtimeleft: no per-game budget
constexpr int NODEPTHCAP = 25;          // depth cap that limits nothing
constexpr int FIFTYDRAW = 102;          // fiftycount at which the draw is claimed
constexpr int ENDGAMELIMIT = 28;     // material below which endgameflag is set
constexpr int LATEENDGAMELIMIT = 20; // material below which lateendgameflag is set
constexpr int FILENAMESIZE = 2000;      // bytes of each file-name buffer

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
extern int firstread;                   // 1 until the protocol reader's first call
extern int setboardflag;                // 1 after "setboard" until the next "new" or game end

// --- arrays of the game, owned by the main loop and passed by pointer (game.cpp) ---
extern int gamewheld[HANDSLOTS];        // the engine's holdings
extern int gamebheld[HANDSLOTS];        // the opponent's holdings
extern int gamewpieces[PAWNBORNSLOTS];  // squares of the engine's pawn-born men
extern int gamebpieces[PAWNBORNSLOTS];  // squares of the opponent's pawn-born men
extern int gameepsquares[65];           // en-passant markers of the root position
extern int rootfrom[ROOTLISTSIZE];      // root move list: from-squares (1-based)
extern int rootto[ROOTLISTSIZE];        // root move list: to-squares
extern int rootcount;                   // number of moves in the root move list
extern int lastcapture;                 // square on which the opponent's last move captured, or 0
extern int rootepflag;                  // 1 when the opponent's last move allows an en-passant capture

// --- settings read by the front end (game.cpp) ---
extern int icsmode;                     // 1 when playing on a chess server
extern int zchamode;                    // 1 after "zcha": "white" in crazyhouse waits for the opponent's move
extern int ficsrules;                   // 1 for the chess server's rules in atomic and the antichess family
extern int fixedtime;                   // per-game thinking budget in milliseconds, -1 = off
extern int fixedtimeleft;               // what is left of fixedtime in this game, -1 = off
extern int maxdepth;                    // depth cap in normal chess, wildcastle, nocastle, twokings
extern int maxdepthT;                   // depth cap in 3check
extern int maxdepthA;                   // depth cap in atomic
extern int maxdepthC;                   // depth cap in crazyhouse
extern int maxdepthS;                   // depth cap in giveaway and suicide
extern int maxdepthL;                   // depth cap in losers
extern int norc;                        // 1 when no configuration file is to be read
extern char *atomicbookblack;           // file name of the atomic book for Black (2000 bytes)
extern char *atomicbookwhite;           // file name of the atomic book for White (2000 bytes)
extern char *rc2name;                   // file name of the absolute-weights file (2000 bytes)
extern char *rcname;                    // file name of the relative-weights file (2000 bytes)

void resetgame();                       // every global of the front end back to its value at load
void resetall();                        // all process-wide state back to its value at load
int recordmove(int from, int to);       // appends to the game record; 1 when there was room
void storehistory(int enginemove);      // next gamehistory record from the board (and hands in crazyhouse)
void restorehistory(int index);         // board, castling values and hands from a record
void holdforwhite();                    // the starting position held for Black turned back for White
void holdforblack();                    // the starting position held for Black without turning the board

// --- main loop (mainloop.cpp) ---
void startup();
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
void deepen(int *passscore);
void makeenginemove();

// --- move output and console editor (moveoutput.cpp) ---
void printmove();
void printdrop();
void printantimove();
void editboard();

// --- position set-up and orientation (setup.cpp) ---
void parsefen(const char *text, int length);
void mirrorboard();
void turnboard();
void setupblack();

// --- holdings, pawn-born lists and force-move replay (holdings.cpp) ---
int trackmove(int *wheld, int *bheld, int *wpieces, int *bpieces, int from, int to, int *out);
int trackdrop(int *wheld, int *bheld, int *wpieces, int *bpieces, int from, int to);
void resetlists(int *wheld, int *bheld, int *wpieces, int *bpieces);
int samehands(const int *wheld, const int *bheld, const int *otherwheld, const int *otherbheld);
void replayforce(const int *forcefrom, const int *forceto, const int *forcecount, int *wheld, int *bheld,
                 int *wpieces, int *bpieces);
void replayforceplain(const int *forcefrom, const int *forceto, const int *forcecount);

// --- platform (platform.cpp) ---
unsigned gettickcount();                // milliseconds from a monotonic clock
void pollinput();                       // looks at waiting input during a search without blocking
int readblock(char *block, int size);   // next block of complete lines from standard input (blocking)
int readline(char *line, int size);     // next line from standard input; 0 at the end of input
void unreadinput(const char *text, int count);  // text goes back in front of the unread input
void resetinput();                      // forgets input read but not yet scanned
void output(const char *format, ...) __attribute__((format(printf, 1, 2)));  // the one writer on stdout

#endif
