// Board core shared by all three engines and the front end: the board model and its geometry
// tables, attack detection, make/unmake, hands and pawn-born lists, position keys and the
// transposition table, the game record, king finding, the consistency check, and the platform's
// clock and output writer. Nothing here includes a header of another folder.
#ifndef KORVEL_BOARD_H
#define KORVEL_BOARD_H

#include <cassert>
#include <cstddef>
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
constexpr int SQF1 = 6;
constexpr int SQH1 = 8;
constexpr int SQA8 = 57;
constexpr int SQD8 = 60;
constexpr int SQE8 = 61;
constexpr int SQF8 = 62;
constexpr int SQH8 = 64;
constexpr int TURNSUM = 65;      // a square and its counterpart on the board turned for Black add up to this

constexpr int HANDSLOTS = 32;    // holdings: slot 0 is the drop switch, slots 1..31 hold codes
constexpr int NODROPS = -1;      // value of holdings slot 0 that switches drops off
constexpr int PAWNBORNSLOTS = 17;  // pawn-born lists: slots 1..16 hold squares
constexpr int MAXPLY = 200;      // plies of the per-ply tables (killers, lastto)
constexpr int THREECHECKS = 3;   // 3check: the check that wins the game
constexpr int KINGSCORE = 15000;  // the regular scale: a line that captures a king scores this less the ply

// Table entry fields, eight 32-bit ints. The high key word is held complemented, so that an entry
// of zero bytes is a cleared one: it stands for the high word 0xffffffff, which no real key has
// (their high half is 0), so it never matches, not even the key 0. A cleared table is therefore
// memory that was never written.
struct hashentry {
  uint32_t keylo;
  uint32_t keyhi;       // the key's high word, complemented
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
// What the table may hold since it was last cleared. While nothing has been written the probe
// answers a miss without reading memory and the clears have nothing to do; whatever writes an
// entry sets TABLEWRITTEN.
constexpr int TABLECLEAR = 0;       // every entry is zero bytes
constexpr int TABLEKEYSCLEAR = 1;   // no entry holds a key; moves, bounds, depths or scores may remain
constexpr int TABLEWRITTEN = 2;     // entries may hold keys

inline bool iswhite(int code) { return code >= WPAWN && code <= WKING; }
inline bool isblack(int code) { return code >= BPAWN && code <= BKING; }
inline bool onafile(int sq) { return sq % 8 == 1; }
inline bool onhfile(int sq) { return sq % 8 == 0; }
// File and rank of a square 1..64, reckoned unsigned: the compiler then needs no sign fix-up.
inline int fileof(int sq) {  // 0 = a-file .. 7 = h-file
  assert(sq >= 1 && sq <= 64);
  return (int)((unsigned)(sq - 1) % 8);
}
inline int rankof(int sq) {  // 1..8
  assert(sq >= 1 && sq <= 64);
  return (int)((unsigned)(sq - 1) / 8) + 1;
}
inline int turnsquare(int sq) { return TURNSUM - sq; }  // the same square on the board turned for Black
inline int othercolour(int code) { return code == EMPTY ? EMPTY : iswhite(code) ? code + BLACKOFFSET : code - BLACKOFFSET; }
// Writes a square as file letter and rank digit (two characters, no terminator).
inline void squaretext(int sq, char *text) {
  assert(sq >= 1 && sq <= 64);
  text[0] = (char)('a' + fileof(sq));
  text[1] = (char)('0' + rankof(sq));
}
// Square number of a file letter and a rank digit, 0 when they name no square.
inline int squareof(char file, char rank) {
  if (file < 'a' || file > 'h' || rank < '1' || rank > '8') return 0;
  return (file - 'a' + 1) + 8 * (rank - '1');
}
// Piece code of a FEN letter (White for capitals), 0 for any other character.
int fencode(char letter);

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

// --- the game: record, history, the engine's colour and move (game.cpp) ---
constexpr int GAMERECORDSIZE = 1200;    // entries of the game record linef/linet
constexpr int HISTORYSIZE = 1200;       // records of gamehistory

// One position of the game: the board, the castling values, who made it and, in crazyhouse, the hands.
struct historyrecord {
  int squares[65];
  int castle[6];        // wcastleking, wcastlea, wcastleh, bcastleking, bcastlea, bcastleh
  int enginemove;       // 1 when the record was made after an engine move
  int epsquare;         // the en-passant marker's square when a capture there is possible, else 0
  int wheld[HANDSLOTS];
  int bheld[HANDSLOTS];
  int wpieces[PAWNBORNSLOTS];
  int bpieces[PAWNBORNSLOTS];
};

extern int color;                       // 1 = the engine plays White, 0 = Black
extern int gameply;                     // number of the current half-move
extern int ltop;                        // next free index of the game record
extern signed char linef[GAMERECORDSIZE];  // game record: from-square of half-move j
extern signed char linet[GAMERECORDSIZE];  // game record: to-square of half-move j
extern int finfrom;                     // from-square of the move the engine is about to play (< 0: a drop)
extern int finto;                       // to-square of the move the engine is about to play
extern int promopiece;                  // promotion code chosen by the antichess search, 0 = none
extern int fiftycount;                  // half-moves since the last capture or pawn move
extern historyrecord gamehistory[HISTORYSIZE];  // the positions of the game, record 0 at game start
extern int historycount;                // index of the last record of gamehistory
extern int endgameflag;                 // 1 once the material on the board fell below 28
extern int lateendgameflag;             // 1 once the material on the board fell below 20
extern int gamewheld[HANDSLOTS];        // the engine's holdings
extern int gamebheld[HANDSLOTS];        // the opponent's holdings
extern int gamewpieces[PAWNBORNSLOTS];  // squares of the engine's pawn-born men
extern int gamebpieces[PAWNBORNSLOTS];  // squares of the opponent's pawn-born men
extern int gameepsquares[65];           // en-passant markers of the root position
extern int rootepflag;                  // 1 when the last move allows an en-passant capture (for the key)
extern int lastcapture;                 // square on which the opponent's last move captured, or 0

// --- geometry ---
extern int rayupright[65];         // squares a slider can travel up-right (+9); [0] holds the step
extern int raydownright[65];       // the same down-right (-7)
extern int raydownleft[65];        // the same down-left (-9)
extern int rayupleft[65];          // the same up-left (+7)
extern int rayup[65];              // the same up (+8)
extern int rayright[65];           // the same right (+1)
extern int raydown[65];            // the same down (-8)
extern int rayleft[65];            // the same left (-1)
extern unsigned char knightjumps[65][9];  // [s]: the squares a knight reaches from s, ended by 0

// --- attack detection ---
extern int stalemateflag;          // set to 1 by stalematetest when every generated move leaves the king attacked

// --- keys and table ---
constexpr int ZEP = 7;             // zcastle slot that holds the en-passant key
extern uint64_t zpiece[13 * 65];   // [13 * square + code]: man of that code on that square
extern uint64_t zhand[17 * 13];    // [17 * code + k]: the k-th man of that code in a hand
extern uint64_t zmove;             // toggled by every move, null moves included
extern uint64_t zatomic[5];        // [1..4]: the four single values drawn for the atomic keys
extern uint64_t zcastle[8];        // [1..4] rights: white a, white h, black a, black h; [5], [6] unused; [7] en passant
extern uint64_t zcheck[5];         // [1..4]: 3check counters, white >= 1, >= 2, black >= 1, >= 2
extern hashentry *transtable;      // the transposition table; null when it could not be allocated
extern long long hashentries;      // number of entries in transtable
extern int tablestate;             // TABLECLEAR, TABLEKEYSCLEAR or TABLEWRITTEN
extern int hashcuts;               // probes that ended a node with a fail-high bound

// --- board model and geometry (geometry.cpp) ---
void initrays();                   // the ray tables and knightjumps
void resetboard();                 // starting position, starting castling values, flags and counters cleared

// --- the game (game.cpp) ---
void resetgamerecord();            // the game globals above back to their values at load

// --- king finding (kings.cpp) ---
void findkings();                  // ownkingsq, oppkingsq: the last king of each colour scanning squares 1..64
int opponentking(int ply);         // the king of the side not to move at ply as the real board shows it first
int firstking(int code);           // the first square holding code, scanning the real board file by file from a1
int lastking(int code);            // the last square holding code, scanning squares 1..64
int findman(int code);             // the first square holding code, scanning squares 1..64
int isbeside(int sq, int code);    // 1 when a man of the code stands on one of the eight squares around sq

// --- platform (platform.cpp) ---
unsigned gettickcount();           // milliseconds from a monotonic clock
uint64_t freshseed();              // a seed from the clock in nanoseconds and the process id
void output(const char *format, ...) __attribute__((format(printf, 1, 2)));  // the one writer on stdout
void *allocatepages(size_t bytes);  // zeroed memory whose pages cost nothing until written; null on failure
void freepages(void *memory, size_t bytes);

// --- attack detection (attack.cpp) ---
int isattacked(int sq);
int attackedafter(int sq, int from, int to);  // isattacked after a one-man move, sq safe before it
int stalematetest(const int *movefrom, const int *moveto, int count, int ply);

// --- make/unmake side effects (makemove.cpp) ---
// Everything makemove changed, so that unmakemove can restore it exactly.
struct moveundo {
  int from;             // from-square, or the negated code of a dropped man
  int to;               // to-square
  int captured;         // man on the to-square before the move
  int promoted;         // 1 when a pawn was promoted
  int brightlost_a;     // the flags of makeeffects: rights cleared, en passant
  int brightlost_h;
  int bkingright;
  int wrightlost_a;
  int wrightlost_h;
  int wkingright;
  int epcapture;
  int slot;             // hand slot filled by the capture or emptied by the drop, else 0
  int pawnbornsquare;   // square of a captured pawn-born man, else 0
};

void makemove(int ply, int from, int to, int promotion, int *childep, moveundo *undo, int *wheld, int *bheld,
              int *wpieces, int *bpieces);
void unmakemove(int ply, int *childep, moveundo *undo, int *wheld, int *bheld, int *wpieces, int *bpieces);
void makeeffects(int ply, int *promoted, int from, int to, int *brightlost_a, int *brightlost_h, int *bkingright,
                 int *wrightlost_a, int *wrightlost_h, int *wkingright, int *childep, int *epcapture);
void unmakeeffects(int ply, int *promoted, int from, int to, int *brightlost_a, int *brightlost_h, int *bkingright,
                   int *wrightlost_a, int *wrightlost_h, int *wkingright, int *childep, int *epcapture);
int doublestepbeside(int from, int to);  // 1 when the move just made allows en passant next

// --- the atomic explosion (explode.cpp) ---
uint64_t explode(int c, int ply, int *win, int *illegal, int *blastsave, uint64_t key);
void unexplode(int c, const int *blastsave);
void blastrights();                     // castling rights whose rook or king an explosion removed are gone

// --- hands and pawn-born lists (lists.cpp) ---
int trackmove(int *wheld, int *bheld, int *wpieces, int *bpieces, int from, int to, int *out);
int trackdrop(int *wheld, int *bheld, int *wpieces, int *bpieces, int from, int to);
void unmakelists(int *wheld, int *bheld, int *wpieces, int *bpieces, int from, int to, int slot, int pawnbornsquare);
void undrop(int *wheld, int *bheld, int *wpieces, int *bpieces, int from, int to, int slot);
void resetlists(int *wheld, int *bheld, int *wpieces, int *bpieces);
int samehands(const int *wheld, const int *bheld, const int *otherwheld, const int *otherbheld);

// --- pawn structure (pawnshape.cpp) ---
extern int wcount[10];             // white pawns per file 1..8; files 0 and 9 are empty sentinels
extern int bcount[10];             // black pawns per file
extern int wrear[10];              // lowest rank holding a white pawn on each file, 9 if none
extern int brear[10];              // highest rank holding a black pawn on each file, -1 if none
// What one scan of the board found, each list file by file from the a-file, each file from rank 1.
struct boardscan {
  int men[64];            // squares of the men other than pawns
  int mencount;
  int whitepawns[64];     // squares of the white pawns
  int whitepawncount;
  int blackpawns[64];     // squares of the black pawns
  int blackpawncount;
  uint64_t pawnkey;       // key of the pawn placement: the pawn keys of both lists, combined by xor
};
void scanboard(boardscan *scan);   // the file summary and the lists of what stands where
void filesummary();
// The terms of one pawn, called for every pawn of every evaluation, so inline here.
constexpr int DOUBLEDPAWN = 10;    // a pawn with an own pawn behind it
constexpr int BACKWARDPAWN = 8;    // no own pawn beside or behind it on the neighbouring files
constexpr int ISOLATEDPAWN = 28;   // no own pawn on either neighbouring file
constexpr int FREEPAWN = 15;       // no enemy pawn ahead of it on the neighbouring files
// Structure of a white pawn on file 1..8, rank r: doubled, backward or isolated, and free of
// enemy pawns ahead of it on the neighbouring files. Reads the file summary.
inline int pawnshapewhite(int file, int rank) {
  assert(file >= 1 && file <= 8);
  int v = 0;
  if (wrear[file] < rank) v -= DOUBLEDPAWN;
  if (rank < wrear[file - 1] && rank < wrear[file + 1])
    v -= (wcount[file - 1] == 0 && wcount[file + 1] == 0) ? ISOLATEDPAWN : BACKWARDPAWN;
  if (brear[file - 1] <= rank && brear[file + 1] <= rank) v += FREEPAWN;
  return v;
}

// The mirror of pawnshapewhite for a black pawn, with Black's signs (a weakness raises the score).
inline int pawnshapeblack(int file, int rank) {
  assert(file >= 1 && file <= 8);
  int v = 0;
  if (rank < brear[file]) v += DOUBLEDPAWN;
  if (brear[file - 1] < rank && brear[file + 1] < rank)
    v += (bcount[file - 1] == 0 && bcount[file + 1] == 0) ? ISOLATEDPAWN : BACKWARDPAWN;
  if (rank <= wrear[file - 1] && rank <= wrear[file + 1]) v -= FREEPAWN;
  return v;
}

// --- consistency check (boardcheck.cpp) ---
// 1 when everything kept incrementally agrees with the board: king squares, codes, the hands and
// the pawn-born lists (crazyhouse) and, unless key is 0, the key (epflag: en passant possible;
// moved: an odd number of moves were made since the root, so the key holds zmove).
int boardisok(uint64_t key, int epflag, int moved, const int *wheld, const int *bheld, const int *wpieces,
              const int *bpieces);

// --- keys and table (hash.cpp) ---
void initkeys(unsigned seed);      // draws the key tables and seeds the play generator

// --- play generator (random.cpp) ---
constexpr uint64_t RANDOMMULTIPLIER = 6364136223846793005ull;  // the 64-bit step's multiplier
constexpr uint64_t RANDOMINCREMENT = 1442695040888963407ull;   // and its increment
constexpr int RANDOMSHIFT = 49;                                // a draw is the step's top 15 bits
void seedrandom(uint64_t seed);    // seeds the engine's pseudo-random generator
int randomdraw();                  // one draw of that generator, 0..32767
uint64_t rootkey(int epflag);
uint64_t rootkeycrazy(int epflag, const int *whitehand, const int *blackhand);
uint64_t updatekey(uint64_t key, int from, int to, int captured, int isnull, int promoted, int arightlost,
                   int hrightlost, int epbefore, int epafter, int epcapture, int checkindex);
uint64_t updatekeycrazy(uint64_t key, int from, int to, int captured, int isnull, int promoted, int arightlost,
                        int hrightlost, int epbefore, int epafter, int epcapture, int checkindex, const int *whitehand,
                        const int *blackhand, int pawnbornsquare);
uint64_t keyaftermove(uint64_t key, const moveundo *undo, int epbefore, int epafter, int checkindex,
                      const int *wheld, const int *bheld);
int allocatetable(int factor);     // 1 when the table of HASHBASEENTRIES * factor entries was allocated and cleared
void freetable();
void cleartable();                 // whole entries to 0
void clearhashkeys();              // stored keys cleared, the rest of every entry kept
void clearhashentries();           // stored keys, best moves and depths cleared (a new game)
int probehash(uint64_t key, int depth, int alpha, int beta, int ply, int mainsearch);
// The full-strength searches write the table and read whole entries. The eighth int of an entry
// holds the number of the search that wrote it, so that entries of earlier moves give way first.
extern int tableage;               // number of the current full-strength search
const hashentry *findentry(uint64_t key);  // the entry that holds key, or null
void storeentry(uint64_t key, int depth, int bound, int score, int from, int to);

#endif
