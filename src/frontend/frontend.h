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
constexpr int SCANEND = READBLOCK;      // the reader's scan stops before this position (the whole block)
constexpr int POLLBLOCK = 1000;         // bytes one input poll reads at most
constexpr int PENDINGSIZE = 16384;      // bytes of input read but not yet scanned
constexpr int LONGESTLINE = READBLOCK - 1;  // characters of the longest line read as a command
constexpr long long PINGMAX = 1000000000;   // the number of a ping is cut to this
constexpr int SETUPTEXTSIZE = 80;       // bytes of the set-up text (index 0 unused, 79 characters)
constexpr int FIFTYDRAW = 102;          // fiftycount at which the draw is claimed
constexpr int ENDGAMELIMIT = 28;        // material below which endgameflag is set
constexpr int LATEENDGAMELIMIT = 20;    // material below which lateendgameflag is set
constexpr int SETUPLTOP = 30;           // game record start after a set-up: keeps most books out of play
constexpr int FENSIZE = 256;            // longest FEN text accepted
constexpr int FENERRORSIZE = 120;       // room for the reason a FEN was refused
constexpr int FENMAXFIFTY = 200;        // the fifty-move count a FEN may give is cut to this
constexpr const char *STARTFEN = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

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
extern int otherclock;                  // the opponent's clock in centiseconds ("otim")
extern int clockgiven;                  // 1 once "time" gave the engine's clock in this game
extern int forcemode;                   // 1 while the engine plays neither side (moves are only recorded)
extern int gameover;                    // 1 when the engine found the game over in the position on the board
extern int setboardflag;                // 1 after "setboard" until the next "new" or game end
extern int rootfrom[MAXMOVES];          // root move list: from-squares (1-based)
extern int rootto[MAXMOVES];            // root move list: to-squares
extern int rootcount;                   // number of moves in the root move list
extern int icsmode;                     // 1 when playing on a chess server
extern int analyzing;                   // 1 in analyze mode: the side on move is searched, no move is played
extern int analysed;                    // 1 once the position on the board has been analysed to the end
extern int commandwaiting;              // 1 when the poll ended a search for a command the reader must carry out
extern int movetimelimit;               // "st": milliseconds for every move, 0 when not given
extern int movedepthlimit;              // "sd": deepest iteration, 0 when not given

void resetgame();                       // every global of the front end back to its value at load
void resetall();                        // all process-wide state back to its value at load

// --- the engine table (engines.cpp) ---
extern const enginerow enginetable[ENGINES];
const enginerow *engineof(const variantrow *variant);  // the engine that plays a variant (a stand-in until its own exists)

// --- FEN set-up (fen.cpp) ---
// What a FEN text holds, read and checked by readfen.
struct fenfields {
  int realboard[65];      // the men by real square
  int promotedsq[65];     // 1 on the real squares of men marked "~" (promoted pawns)
  int hand[HANDSLOTS];    // the men in hand by code, in the order written (White's capitals)
  int handcount;          // men in hand
  int black;              // 1 when Black is to move
  char castling[5];       // the castling letters, in the order written
  int epsquare;           // real square of the en-passant field, 0 for "-"
  int whitechecks;        // 3check: checks White has given
  int blackchecks;        // 3check: checks Black has given
  int fifty;              // half-moves since the last capture or pawn move
};
extern char fenerrortext[FENERRORSIZE];  // why the last FEN was refused
int readfen(const char *fen, const variantrow *variant, fenfields *f);   // 1 when every field is sound
int placefen(const fenfields *f, const variantrow *variant, int turned);  // onto the board; 1 when playable

// --- game moves (gamemove.cpp) ---
int recordmove(int from, int to);       // appends to the game record; 1 when there was room
void starthistory();                    // record 0 of gamehistory from the board: the game starts here
void storehistory(int enginemove);      // next gamehistory record from the board (and hands in crazyhouse)
int samehistory(const historyrecord *r);  // 1 when the record holds the position on the board
int playgamemove(int from, int to, int promotion);   // a move of the game with all its side effects; 1 when it promoted
int playturn(int from, int to, int promotion);       // the move of the side on move, recorded; 1 when it promoted

// --- the game's position: its start and the moves played (position.cpp) ---
void startposition();                   // the game starts from the starting position
int setupposition(const char *fen);     // the game starts from a FEN; 0 (nothing changed) when refused
void rebuildposition();                 // the board, hands, markers, counts and history from the start and the moves
void rememberturn(int from, int to, int promotion);  // adds a move played on the board to the moves of the game
int takebackturns(int count);           // the last count half-moves taken back; 0 when there were fewer
void setsidetomove(int white);          // the side on move, without a move ("white", "black")
int sidetomove();                       // 1 when White is on move
int enginetomove();                     // 1 when the side on move is the engine's colour
int islegalturn(int from, int to);      // 1 when the side on move may play the move (board squares)
int haslegalmove(int ply);              // 1 when the side at ply (engine odd) has a legal move
int legalrootmoves(int *from, int *to, int count);  // keeps only the legal moves of a root list; the new count

// --- main loop (mainloop.cpp) ---
void startup(int argc, const char *const *argv);  // argv[1..argc-1]: the command-line options
void playgames();
void shutdown();
void gamestart();
void gameend();
void opponentpass();
void updateendgame();

// --- protocol reader (reader.cpp) ---
void readinput();
void writepong(long long n);            // the answer to "ping n"

// --- analyze mode (analyze.cpp) ---
void analysispass();                    // searches the side on move until a command comes, writing no move

// --- engine pass (enginepass.cpp) ---
void enginepass(int *passscore);
void allottime();
int movedepthcap(const variantrow *variant);  // the depth cap of a move: the variant's, or "sd"'s when lower
void makeenginemove(const enginerow *engine);
void claimdraw();                       // the draw claim and result line; away from a server the game ends

// --- the lag of the clock (lag.cpp) ---
extern int movelag;                     // milliseconds each move costs the clock beyond the engine's own time
extern int freshclock;                  // 1 when "time" gave the clock since the engine's last move
void notemoveclock(int spent);          // the clock and the engine's own time of the move just made
void readlag();                         // the lag of the last move, from the fresh clock
void forgetmoveclock();                 // a new game: no last move to measure
void resetlag();

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

// --- standard input (input.cpp) ---
void pollinput();                       // looks at waiting input during a search without blocking
int readblock(char *block, int size);   // next block of complete lines from standard input (blocking)
int readline(char *line, int size);     // next line from standard input; 0 at the end of input
void unreadinput(const char *text, int count);  // text goes back in front of the unread input
void resetinput();                      // forgets input read but not yet scanned

#endif
