// Board core shared by all three engines: the board model and its geometry tables, attack
// detection, make/unmake side effects, position keys and the transposition table.
#ifndef KORVEL_BOARD_H
#define KORVEL_BOARD_H

#include <cassert>
#include <cstdint>

// Piece codes held in board[]. The engine's men always carry the white codes.
constexpr int EMPTY = 0;
constexpr int WPAWN = 1;
constexpr int WKNIGHT = 2;
constexpr int WBISHOP = 3;
constexpr int WROOK = 4;
constexpr int WQUEEN = 5;
constexpr int WKING = 6;
constexpr int BPAWN = 7;
constexpr int BKNIGHT = 8;
constexpr int BBISHOP = 9;
constexpr int BROOK = 10;
constexpr int BQUEEN = 11;
constexpr int BKING = 12;
constexpr int BLACKOFFSET = 6;  // black code = white code + 6

// Squares with a role of their own: corners, the kings' home squares.
constexpr int SQA1 = 1;
constexpr int SQD1 = 4;
constexpr int SQE1 = 5;
constexpr int SQH1 = 8;
constexpr int SQA8 = 57;
constexpr int SQD8 = 60;
constexpr int SQE8 = 61;
constexpr int SQH8 = 64;

constexpr int HANDSLOTS = 32;    // holdings: slot 0 is the drop switch, slots 1..31 hold codes
constexpr int NODROPS = -1;      // value of holdings slot 0 that switches drops off
constexpr int PAWNBORNSLOTS = 17;  // pawn-born lists: slots 1..16 hold squares
constexpr int MAXPLY = 200;      // plies of the per-ply tables (killers, lastto)

// Table entry fields, eight 32-bit ints.
struct hashentry {
  uint32_t keylo;
  uint32_t keyhi;
  int32_t bestto;
  int32_t bestfrom;
  int32_t bound;
  int32_t depth;
  int32_t score;
  int32_t unused;
};
constexpr int BOUNDLOWER = 1;
constexpr int BOUNDUPPER = -1;
constexpr int BOUNDEXACT = 0;
constexpr int BOUNDMATE = 2;
constexpr int HASHBASEENTRIES = 524288;  // entries per unit of hashfactor
constexpr int PROBEMISS = -999999;       // probehash: no entry ends the node
// A cleared entry's high key word. Real keys have a high word of 0, so a cleared entry never matches,
// not even the key of a position whose key is 0.
constexpr uint32_t CLEAREDKEYHI = 0xffffffffu;

inline bool iswhite(int code) { return code >= WPAWN && code <= WKING; }
inline bool isblack(int code) { return code >= BPAWN && code <= BKING; }
inline bool onafile(int sq) { return sq % 8 == 1; }
inline bool onhfile(int sq) { return sq % 8 == 0; }
inline int fileof(int sq) { return (sq - 1) % 8; }   // 0 = a-file .. 7 = h-file
inline int rankof(int sq) { return (sq - 1) / 8 + 1; }  // 1..8

// --- board model ---
extern int board[65];              // squares 1..64 (a1 = 1, h8 = 64); index 0 is never a square
extern const int startboard[65];   // the standard starting position, copied over board at game start
extern int wcastleking;            // square of the white king while White may castle at all, else 0
extern int wcastlea;               // square of White's a-side rook while castling with it is allowed
extern int wcastleh;               // square of White's h-side rook while castling with it is allowed
extern int bcastleking;            // square of the black king while Black may castle at all, else 0
extern int bcastlea;               // square of Black's a-side rook while castling with it is allowed
extern int bcastleh;               // square of Black's h-side rook while castling with it is allowed
extern int ownkingsq;              // square of the white king (code 6), kept through make/unmake
extern int oppkingsq;              // square of the black king (code 12), kept through make/unmake
extern int wcastled;               // 1 while the white side has castled in the current line
extern int bcastled;               // 1 while the black side has castled in the current line

// --- variant flags and check counters shared by every engine ---
extern int atomicmode;             // 1 while playing atomic chess
extern int threecheckmode;         // 1 while playing 3check
extern int crazymode;              // 1 while playing crazyhouse (drops are generated)
extern int antimode;               // 1 while playing giveaway, suicide or losers
extern int losersmode;             // 1 while playing losers (with antimode)
extern int suicidemode;            // 1 while playing suicide (with antimode)
extern int twokingsmode;           // 1 while playing twokings
extern int topc;                   // 3check: checks given by the white codes (the engine) so far
extern int topp;                   // 3check: checks given by the black codes (the opponent) so far

// --- geometry ---
extern int rayupright[65];         // squares a slider can travel up-right (+9); [0] holds the step
extern int raydownright[65];       // the same down-right (-7)
extern int raydownleft[65];        // the same down-left (-9)
extern int rayupleft[65];          // the same up-left (+7)
extern int rayup[65];              // the same up (+8)
extern int rayright[65];           // the same right (+1)
extern int raydown[65];            // the same down (-8)
extern int rayleft[65];            // the same left (-1)

// --- attack detection ---
extern int stalemateflag;          // set to 1 by stalematetest when every generated move leaves the king attacked

// --- keys and table ---
extern uint64_t zpiece[13 * 65];   // [13 * square + code]: man of that code on that square
extern uint64_t zhand[17 * 13];    // [17 * code + k]: the k-th man of that code in a hand
extern uint64_t zmove;             // toggled by every move, null moves included
extern uint64_t zatomic[5];        // [1..4]: the four single values drawn for the atomic keys
extern uint64_t zcastle[8];        // [1..4] rights: white a, white h, black a, black h; [5], [6] unused; [7] en passant
extern uint64_t zcheck[5];         // [1..4]: 3check counters, white >= 1, >= 2, black >= 1, >= 2
extern hashentry *transtable;      // the transposition table; null when it could not be allocated
extern long long hashentries;      // number of entries in transtable
extern int hashfactor;             // table size in units of HASHBASEENTRIES entries (default 8)
extern int hashcuts;               // probes that ended a node with a fail-high bound

// --- board model and geometry (geometry.cpp) ---
void initrays();
void resetboard();                 // starting position, starting castling values, flags and counters cleared

// --- attack detection (attack.cpp) ---
int isattacked(int sq);
int stalematetest(const int *movefrom, const int *moveto, int count, int ply);

// --- make/unmake side effects (makemove.cpp) ---
void makeeffects(int ply, int *promoted, int from, int to, int *brightlost_a, int *brightlost_h, int *bkingright,
                 int *wrightlost_a, int *wrightlost_h, int *wkingright, int *childep, int *epcapture);
void unmakeeffects(int ply, int *promoted, int from, int to, int *brightlost_a, int *brightlost_h, int *bkingright,
                   int *wrightlost_a, int *wrightlost_h, int *wkingright, int *childep, int *epcapture);
void unmakelists(int *wheld, int *bheld, int *wpieces, int *bpieces, int from, int to, int slot, int pawnbornsquare);
void undrop(int *wheld, int *bheld, int *wpieces, int *bpieces, int from, int to, int slot);
int doublestepbeside(int from, int to);  // 1 when the move just made allows en passant next

// --- keys and table (hash.cpp) ---
void seedrandom(unsigned seed);    // seeds the engine's pseudo-random generator
int randomdraw();                  // one draw of that generator, 0..32767
void initkeys(unsigned seed);
uint64_t rootkey(int epflag);
uint64_t rootkeycrazy(int epflag, const int *whitehand, const int *blackhand);
uint64_t updatekey(uint64_t key, int from, int to, int captured, int isnull, int promoted, int arightlost,
                   int hrightlost, int epbefore, int epafter, int epcapture, int checkindex);
uint64_t updatekeycrazy(uint64_t key, int from, int to, int captured, int isnull, int promoted, int arightlost,
                        int hrightlost, int epbefore, int epafter, int epcapture, int checkindex, const int *whitehand,
                        const int *blackhand, int pawnbornsquare);
int allocatetable();               // 1 when the table of hashentries entries was allocated and cleared
void freetable();
void cleartable();                 // whole entries to 0
void clearhashkeys();              // stored keys cleared, the rest of every entry kept
void clearhashentries();           // stored keys, best moves and depths cleared (a new game)
int probehash(uint64_t key, int depth, int alpha, int beta, int ply, int mainsearch);

#endif
