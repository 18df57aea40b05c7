// Configuration: every setting that command-line options and configuration files may change (the
// table size, the depth caps, the per-game time budget, the file names, the output switches and
// the weights), with their built-in defaults. The engines and the front end read them here, so
// the readers of options and files never reach into an engine.
#ifndef KORVEL_CONFIG_H
#define KORVEL_CONFIG_H

#include <cstdio>

constexpr int NODEPTHCAP = 25;          // depth cap that limits nothing
constexpr int NOFIXEDTIME = -1;         // fixedtime/fixedtimeleft: no per-game budget
constexpr int FILENAMESIZE = 2000;      // bytes of each file-name buffer
constexpr int DEFAULTHASHFACTOR = 8;    // table size in units of the base entry count
constexpr int DEFAULTKINGSAFETYDIVISOR = 1;  // king safety at full weight
constexpr int SETUPKINGSAFETYDIVISOR = 4;    // king safety after a set-up position or in twokings

// --- table, depth and time (config.cpp) ---
extern int hashfactor;                  // table size in units of the base entry count (8)
extern int maxdepth;                    // depth cap in normal chess, wildcastle, nocastle, twokings
extern int maxdepthT;                   // depth cap in 3check
extern int maxdepthA;                   // depth cap in atomic
extern int maxdepthC;                   // depth cap in crazyhouse
extern int maxdepthS;                   // depth cap in giveaway and suicide
extern int maxdepthL;                   // depth cap in losers
extern int fixedtime;                   // per-game thinking budget in milliseconds, -1 = off
extern int fixedtimeleft;               // what is left of fixedtime in this game, -1 = off

// --- rules and files (config.cpp) ---
extern int ficsrules;                   // 1 for the chess server's rules in atomic and the antichess family
extern int norc;                        // 1 when no configuration file is to be read
extern char *atomicbookblack;           // file name of the atomic book for Black (FILENAMESIZE bytes)
extern char *atomicbookwhite;           // file name of the atomic book for White (FILENAMESIZE bytes)
extern char *rc2name;                   // file name of the absolute-weights file (FILENAMESIZE bytes)
extern char *rcname;                    // file name of the relative-weights file (FILENAMESIZE bytes)

// --- output switches (config.cpp) ---
extern int mainline;                    // 1: the principal variation also goes to the ICS as "tellics mainline" (0)
extern int whisperline;                 // 1: the principal variation is appended to the whisper line (0)

// --- search strength (config.cpp) ---
extern int fullmode;                    // 1: every engine searches with its full-strength search (0)
constexpr const char *FULLOPTIONNAME = "Full strength";  // its check box among the interface's engine options
void setengineoption(const char *text); // the interface's "option NAME=VALUE" (the text after "option ")

// --- regular engine weights (config.cpp) ---
extern int regularvalue[13];            // regular material by piece code: 100 305 295 520 930 400, Black's negated
extern int crazyvalue[13];              // crazyhouse material (board and hand): 150 305 295 520 930 400 for both colours
extern int crazycheckply;               // first ply at which the regular search extends checks in crazyhouse (2)
extern int kingsafetydivisor;           // divisor of both king-safety values: 1 after new, 4 after twokings or setboard
extern int pawntable[65];               // white pawn square table (scaled by the regular configuration file)
extern int bpawntable[65];              // black pawn square table, negative; d4 is -26 rather than the mirror's -16
extern int startmaterial;               // queen + 2 * (knight + bishop + rook) + pawn, atomic values

// --- atomic engine weights, tuned by the relative and absolute configuration files (weights.cpp) ---
extern int piecevalue[13];              // atomic material by piece code, both colours positive: 135 250 250 550 1000 400
extern int passedbonus;                 // passed pawn (100)
extern int castlebonus;                 // having castled (40)
extern int rookkingbonus;               // rook or queen touching the enemy king (150)
extern int bishopkingbonus;             // bishop next to the enemy king (50)
extern int kingkingbonus;               // kings side by side, taken off the side ahead (100)
extern int randombonus;                 // bound of the random term under randomize (20)
extern int kingpawnpenalty;             // no pawn on the king's file (15)
extern int sidekingpawnpenalty;         // no pawn on a file next to the king (10)
extern int queencheckbonus;             // queen seeing the enemy king on a line or diagonal (50)
extern int checklevel;                  // first ply at which the atomic search extends checks (2)
extern int wpawnadvance[65];            // white pawn-advance table by square
extern int bpawnadvance[65];            // black pawn-advance table by square, zero or below

// --- antichess weights, tuned by the variant weight files (weights.cpp) ---
extern int loservalue[13];              // losers material by piece code, both colours alike
extern int nopawns;                     // losers bonus when the engine has no pawns (1500)
extern int antivalue[13];               // giveaway and suicide material by piece code, both colours alike

// --- books and randomness (weights.cpp) ---
extern int maxbookmoves;                // the atomic book is read while the game ply is at most this (100)
extern int crazybook;                   // 1: use the crazyhouse books
extern int nocheckmove;                 // 1: no random first move in 3check
extern int noblitzmove;                 // 1: no random first move in normal chess
extern int randomize;                   // 1: add a random term bounded by randombonus to the atomic evaluation

void resetconfig();                     // every setting back to its built-in default (the name buffers stay)
int allocatenames();                    // the four file-name buffers with their default names; 0 when out of memory
void freenames();                       // releases the file-name buffers
void resetweights();                    // the atomic and antichess weights and the book options back to their defaults
int computestartmaterial();             // startmaterial from the atomic values

// Every file the engine reads (configuration and books) is opened here: nullptr when it is missing,
// unreadable or no plain file (a folder, a pipe, a device), and the open never waits (lines.cpp).
FILE *openconfigfile(const char *name);

// --- the readers of the command line and the configuration files (options.cpp, relativefiles.cpp,
// absolutefile.cpp, variantfiles.cpp); each file is optional and each listing is written either way ---
void readoptions(int argc, const char *const *argv);  // the command-line options, with their confirmations
void readrc();                          // korvel.rc (atomic steps), then korvel.rc2, then the atomic listing
void readrc2();                         // korvel.rc2: atomic weights and checklevel as values
void readregularrc();                   // korvel2.rc: regular material and pawn tables by steps, with its listing
void readlosersrc2();                   // korvelLosers.rc2: losers values, with the listing
void readsuiciderc2();                  // korvelSuicide.rc2: suicide and giveaway values, with the listing
void readcrazyrc2();                    // korvelcrazy.rc2: crazyhouse values and check ply, with the listing

// --- where the files are found (datafiles.cpp): the start folder, then the user's folder
// (configuration files only), then the installed data folder ---
constexpr int BOOKFILE = 1;             // kind of file: an opening book
constexpr int CONFIGFILE = 2;           // kind of file: a configuration file
const char *datafile(const char *name, int kind);  // the path to open for name; says where it was found

#endif
