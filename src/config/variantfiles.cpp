// The variant weight files: the men's values of losers, of suicide and giveaway, and of
// crazyhouse (with the ply from which crazyhouse extends checks), in the key-and-value format of
// the absolute file. Each reader lists the values in force, whether or not its file was there.
#include "config/config.h"
#include "config/configfile.h"

#include "board/board.h"

static const keyrow losersrows[] = {{0, "nopawns", &nopawns}};  // no letter of its own
static const keyrow crazyrows[] = {{'h', "checklevel", &crazycheckply}};
static const keyset loserskeys = {loservalue, PIECEKEYS, losersrows, 1};
static const keyset suicidekeys = {antivalue, PIECEKEYSWITHKING, nullptr, 0};
static const keyset crazykeys = {crazyvalue, PIECEKEYS, crazyrows, 1};

// Lists White's values of pawn .. queen of a value table.
static void printpiecelines(const int *values) {
  output("\npawn or p %d", values[WPAWN]);
  output("\nn or knight %d", values[WKNIGHT]);
  output("\nb or bishop %d", values[WBISHOP]);
  output("\nrook or r %d", values[WROOK]);
  output("\nqueen or q %d", values[WQUEEN]);
}

// Reads korvelLosers.rc2 and lists the losers values.
void readlosersrc2() {
  readpairfile("korvelLosers.rc2", "korvelLosers.rc2", &loserskeys);
  output("\nLosers Values");
  printpiecelines(loservalue);
  output("\nnopawns is a bonus if korvel has no pawns");
  output("\nnopawns %d", nopawns);
  printclamped();
  output("\nType quit to exit to free hash memory\n");
}

// Reads korvelSuicide.rc2 and lists the suicide and giveaway values.
void readsuiciderc2() {
  readpairfile("korvelSuicide.rc2", "korvelSuicide.rc2", &suicidekeys);
  output("\nSuicide or giveaway values");
  printpiecelines(antivalue);
  output("\nking or k %d", antivalue[WKING]);
  printclamped();
  output("\nType quit to exit to free hash memory\n");
}

// Reads korvelcrazy.rc2 and lists the crazyhouse values. Its checklevel is crazyhouse's own and
// leaves the atomic engine's alone.
void readcrazyrc2() {
  readpairfile("korvelcrazy.rc2", "korvelcrazy.rc2", &crazykeys);
  output("\ncrazyhouse values");
  printpiecelines(crazyvalue);
  output("\nchecklevel or h %d", crazycheckply);
  output("\nchecklevel is the ply in which korvel starts extending for checks.  "
         "It can be set higher than the default to weaken it.");
  printclamped();
  output("\nType quit to exit to free hash memory\n");
}
