// Opening books: the eighteen book files read into move trees at start-up, the choice of a book
// move for the variant and colour, the small sequential book "openbk.txt", and the book step of the
// engine's pass. Book trees hold book numbering: a square as the board numbers it when the engine
// plays White (a1 = 1, h8 = 64); with the engine playing Black the board square is 65 - square.
#ifndef KORVEL_BOOK_H
#define KORVEL_BOOK_H

#include "board/board.h"

constexpr int BOOKSLOTS = 18;           // book slots, one tree each
constexpr int BIGBOOKSLOT = 0;          // where every lookup starts; no variant chooses it
constexpr int ATOMICBLACKSLOT = 1;      // atomic, Black to move
constexpr int ATOMICWHITESLOT = 2;      // atomic, White to move
constexpr int ATOMICFIRSTSLOT = 3;      // atomic, White's first move (weighted: every line a branch)
constexpr int THREEBOOKSLOT = 4;        // 3check, loaded and counted only
constexpr int THREEWHITESLOT = 5;       // 3check, White to move
constexpr int THREEBLACKSLOT = 6;       // 3check, Black to move
constexpr int KINGSWHITESLOT = 7;       // twokings, White to move
constexpr int KINGSBLACKSLOT = 8;       // twokings, Black to move
constexpr int NORMALSLOT = 9;           // normal chess, wildcastle, nocastle
constexpr int SUICIDEWHITESLOT = 10;    // giveaway and suicide, White to move
constexpr int SUICIDEBLACKSLOT = 11;    // giveaway and suicide, Black to move
constexpr int LOSERSWHITESLOT = 12;     // losers, White to move
constexpr int LOSERSBLACKSLOT = 13;     // losers, Black to move
constexpr int ATOMICSECONDSLOT = 14;    // atomic, Black's first move (weighted at ply 2)
constexpr int ATOMICTHIRDSLOT = 15;     // atomic, White's second move (weighted at ply 3)
constexpr int CRAZYWHITESLOT = 16;      // crazyhouse, White to move
constexpr int CRAZYBLACKSLOT = 17;      // crazyhouse, Black to move

constexpr int BOOKLINESIZE = 1000;      // bytes of the line buffer of a book file
constexpr int BOOKWORDSIZE = 300;       // bytes of the first word of a line (299 characters)
constexpr int BOOKMAXMOVES = 51;        // moves of one book line
constexpr int BOOKCANDIDATES = 2000;    // room of a candidate list
constexpr int BOOKCANDIDATECAP = 999;   // a candidate list grows to this count, then overwrites its last entry
constexpr int BOOKLASTPLY = 60;         // no book move once the game record reaches this
constexpr int NORMALBOOKPLY = 20;       // normal chess asks the books while ltop is below this
constexpr int CRAZYBOOKPLY = 5;         // crazyhouse without its own books asks them while ltop is below this
constexpr int ATOMICFIRSTPLIES = 3;     // atomic: the weighted books answer while ltop is at most this

constexpr int OPENBKSIZE = 13500;       // entries of each small-book table
constexpr int OPENBKROW = 30;           // entries of one row (one line; entry 0 unused)
constexpr int OPENBKMOVES = 29;         // moves one line keeps
constexpr int OPENBKSTORED = 7500;      // only rows that start below this entry are stored (lines 1..249)
constexpr int OPENBKLAST = 13350;       // reading stops when the row offset reaches this (line 445)
constexpr int OPENBKCANDIDATES = 99;    // candidates of one lookup (1-based)
constexpr int OPENBKDONEPLY = 5;        // a lookup without candidates after this half-move ends the list's game

// Board squares of the fixed first moves.
constexpr int SQB1 = 2;
constexpr int SQG1 = 7;
constexpr int SQC2 = 11;
constexpr int SQD2 = 12;
constexpr int SQE2 = 13;
constexpr int SQC3 = 19;
constexpr int SQE3 = 21;
constexpr int SQF3 = 22;
constexpr int SQH3 = 24;
constexpr int SQC4 = 27;
constexpr int SQD4 = 28;
constexpr int SQE4 = 29;

// One position in a book line: the move that leads to it, its alternatives and its continuation.
struct booknode {
  signed char from;                     // from-square, book numbering (0 in a root)
  signed char to;                       // to-square, book numbering (0 in a root)
  booknode *sibling;                    // next alternative move at the same ply
  booknode *child;                      // first move of the continuation
};

// One registry cell: every allocated node is listed once, newest first, so that all can be freed.
struct booknodecell {
  booknode *node;
  booknodecell *next;
};

// --- book trees (booktree.cpp) ---
extern booknode bookroot[BOOKSLOTS];    // the roots; a root's sibling chain holds White's first moves
extern booknodecell *booknodelist;      // registry of every allocated node, newest first
extern int bookcounter;                 // nodes allocated
extern int bigbookidcounter;            // registry cells allocated
extern booknode *bookcursor;            // the tree pointer shared by the builder and the lookup
extern int booktype;                    // the slot being loaded
extern int bookloaded;                  // 1 once any book file opened

// --- book move choice (bookchoice.cpp) ---
extern int firstmovebooks;              // 1 while the atomic weighted books answer one of the first three plies

// --- small book (openbk.cpp) ---
extern unsigned char openbkfrom[OPENBKSIZE];  // row k, entry j: from-square of move j of line k (book numbering)
extern unsigned char openbkto[OPENBKSIZE];    // the same: to-squares
extern int openbkcount;                 // number of the last line (the points read)
extern int openbkloaded;                // 1 when "openbk.txt" was opened
extern int openbkdone;                  // 1 once the small book has given up on this game

// --- book trees (booktree.cpp) ---
void addbookline(const signed char *from, const signed char *to, int count);
void appendbookline(const signed char *from, const signed char *to, int count, int k, int assibling);
int newbooknode(const signed char *from, const signed char *to, int k, int assibling);
int registerbooknode(booknode *node);
void freebook();                        // every node and registry cell freed, the roots empty again
void clearbookroots();                  // the eighteen roots empty, with move 0-0

// --- book files (bookfile.cpp) ---
const char *bookfilename(int slot);     // the file a slot reads, or null when it has no name
int decodebookword(const char *word, signed char *from, signed char *to);  // moves 1..n of a book word; n
void readbook();                        // the file of slot booktype into its tree
void loadbooks();                       // every slot and the small book, then the counters line
void resetbooks();                      // trees freed, small book and every book global back to load values

// --- book move choice (bookchoice.cpp) ---
int booksquare(int sq);                 // board square to book square and back, by color
int inmovelist(int from, int to, const int *movefrom, const int *moveto, int count);
int choosebookmove();

// --- small book (openbk.cpp) ---
void readopenbk();
void chooseopenbk(const int *movefrom, const int *moveto, int count);

// --- the book step of the engine pass (bookstep.cpp) ---
int bookstep(const int *movefrom, const int *moveto, int count);  // 1 when finfrom-finto is played from the book

#endif
