// Start-up, the endless game loop, game start and game end, and the opponent's half of a pass.
#include "frontend/frontend.h"

#include "antichess/antichess.h"
#include "book/book.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

// Material of each code for the endgame flags: pawn 1, knight 3, bishop 3, rook 5, queen 9, king 0.
static const int endgamevalue[13] = {0, 1, 3, 3, 5, 9, 0, 1, 3, 3, 5, 9, 0};

static void readconfiguration();

// Prepares everything once: the file names, the command-line options, the configuration files,
// the table size, the ray tables, the keys from the time of day, the transposition table and the
// opening books. Standard output is unbuffered from the first byte and the interrupt signal is
// ignored, since the interface may send it to the whole process group.
void startup(int argc, const char *const *argv) {
  setvbuf(stdout, nullptr, _IONBF, 0);
  // Every global array is written once before the first game: its pages are the process's from
  // the start, rather than faulted in one by one by the first long game or deep search.
  resetall();
  allocatenames();
  inputpoll = pollinput;
  output("\natomicBookBlack is %s  atomicBookWhite is %s", atomicbookblack, atomicbookwhite);
  topc = topp = 0;
  readoptions(argc, argv);
  readconfiguration();
  output("\ntype quit  to quit then hit enter, this will also free up memory");
  output("\nfull strength search is %s (the word full or the engine option %s turns it on)", fullmode ? "on" : "off",
         FULLOPTIONNAME);
  startmaterial = computestartmaterial();
  initrays();
  initkeys((unsigned)time(nullptr));
  seedrandom(freshseed());
  if (!allocatetable(hashfactor)) output("error, out of memory");
  loadbooks();
  signal(SIGINT, SIG_IGN);
  inputfrom = inputto = 1;
  playagain = 1;
}

// Reads the configuration files, unless the command line said norc: the variant weight files,
// then the atomic engine's relative and absolute files, then the regular engine's file.
static void readconfiguration() {
  if (norc) {
    output("\nno korvel.rc found or argument to not use korvel.rc file in place\n");
    return;
  }
  readlosersrc2();
  readsuiciderc2();
  readcrazyrc2();
  readrc();
  readregularrc();
}

// Frees what start-up allocated, after "quit".
void shutdown() {
  freetable();
  freenames();
  freebook();
}

// Plays one game after the other until "quit". A game is a loop of passes, one per half-move
// gameply: the engine's when its colour is on move and it is neither in force mode nor facing a
// game that is over, the opponent's otherwise (which also reads every command). In analyze mode
// the position on the board is analysed instead, once, until a command changes it. A command that
// ended a search is read before anything is searched again. A pass that ends with the game-over
// marker in inputfrom/inputto ends the game.
void playgames() {
  for (;;) {
    gamestart();
    while (inputto != INPUTGAMEOVER) {
      stopsearch = 0;
      updateendgame();
      if (!commandwaiting && analyzing && !analysed) {
        analysispass();
      } else if (!commandwaiting && !analyzing && !forcemode && !gameover && enginetomove()) {
        int passscore = PASSNOSCORE;
        enginepass(&passscore);
      } else {
        opponentpass();
        analysed = 0;
      }
      if (inputfrom == INPUTGAMEOVER) break;
    }
    gameend();
    analyzing = 0;
    if (!playagain) return;
  }
}

// Starts a game on the starting position, the engine playing Black until a command says
// otherwise.
void gamestart() {
  timeleft = 0;
  clockgiven = 0;
  forgetmoveclock();
  setvariantflags(0, VFTHREECHECK);
  inputfrom = inputto = 1;
  color = 0;
  endgameflag = lateendgameflag = 0;
  startposition();
  rebuildposition();
  if (fixedtime != NOFIXEDTIME) fixedtimeleft = fixedtime;
}

// Ends a game: the table forgets its keys and the variant flags that only a game sets are dropped;
// the next game starts from the starting position.
void gameend() {
  clearhashkeys();
  openbkdone = 0;
  endgameflag = lateendgameflag = 0;
  output("out of while");
  setvariantflags(0, VFANTI | VFATOMIC | VFTHREECHECK | VFTWOKINGS);
  setboardflag = 0;
}

// Raises the endgame flags when the material on the board (both colours) falls below their
// limits. The flags are never lowered here; when one changes, the stored keys are forgotten since
// the evaluation changes with them.
void updateendgame() {
  int material = 0;
  for (int sq = 1; sq <= 64; sq++) material += endgamevalue[board[sq]];
  int changed = 0;
  if (material < ENDGAMELIMIT && !endgameflag) {
    endgameflag = 1;
    changed = 1;
  }
  if (material < LATEENDGAMELIMIT && !lateendgameflag) {
    lateendgameflag = 1;
    changed = 1;
  }
  if (changed) clearhashkeys();
}

// The opponent's half of a pass: reads commands until a move or a marker arrives, then plays the
// move of the side on move (the opponent's, or either side's in force mode) on the board with all
// its side effects and announces a result if the game is over.
void opponentpass() {
  inputfrom = INPUTNONE;
  if (commandwaiting) {
    // The command that ended a search is read at once; whatever it did, the main loop then looks
    // at the position again (a command that hands nothing over wakes it all the same).
    commandwaiting = 0;
    readinput();
    if (inputfrom == INPUTNONE) {
      inputfrom = INPUTWAKEFROM;
      inputto = INPUTWAKETO;
    }
  }
  while (inputfrom == INPUTNONE) readinput();
  int boardmove = inputfrom >= 1 && inputfrom <= 64 && inputto >= 1 && inputto <= 64;
  int drop = inputfrom >= -BKING && inputfrom <= -WPAWN && inputto >= 1 && inputto <= 64;
  if (boardmove && inputfrom == inputto) {
    editboard();
    return;
  }
  if (!(boardmove || drop)) return;
  lastcapture = board[inputto] > 0 ? inputto : 0;
  int engineside = enginetomove();
  int wasover = gameover;
  playturn(inputfrom, inputto, oppromo);
  if (forcemode || analyzing || engineside) return;
  if (threecheckmode && topp >= THREECHECKS) gameover = 1;
  // A game already over had its result: a move sent after it changes nothing of that. A mate or
  // another end of the game goes before the fifty-move draw.
  if (!icsmode && !wasover) {
    finfrom = finto = 0;
    if (enginetomoveresult()) gameover = 1;
  }
  if (fiftycount == FIFTYDRAW && !gameover && !wasover) claimdraw();
}
