// The protocol reader: reads a block of input and scans it character by character for the words it
// knows, in a fixed order of tests. It keeps the clocks, the variant and the thinking switch up to
// date, sets up new games and positions, collects moves in force mode and hands the opponent's
// move (or a marker) to the main loop in inputfrom/inputto.
#include "frontend/frontend.h"

#include "antichess/antichess.h"
#include "book/book.h"

#include <cstdlib>
#include <cstring>

constexpr int BLOCKMARGIN = 32;        // zero bytes after a block, so that look-ahead stays inside
constexpr int HOLDINGSTEXT = 32;       // bytes of a holdings text

static char block[READBLOCK + BLOCKMARGIN];  // the block being scanned
static int blocklength = 0;            // bytes of input in block
static int forcemode = 0;              // 1 while moves are collected instead of played
static int forcecount = 0;             // moves in the force list
static int forcefrom[FORCELISTSIZE];   // force list: from-square, or the negated code of a drop
static int forceto[FORCELISTSIZE];     // force list: to-square (real numbering)
static int dropcounter = 1;            // counts collected moves; odd = White's drop
static int whitearmed = 0;             // 1 when the next board move first sets up Black (crazyhouse)
static char setuptext[SETUPTEXTSIZE];  // the text of a setboard, from index 1
static char ownholdings[HOLDINGSTEXT];  // the engine's holdings as letters
static char oppholdings[HOLDINGSTEXT];  // the opponent's holdings as letters

static int matches(int pos, const char *word);
static int issquare(int pos);
static int squareat(int pos);
static int skipline(int pos);
static void buildholdings(const int *wheld, const int *bheld);
static void setvariant(int pos);
static void readlevel(int pos);
static void takeback();
static void restartgame(int *wheld, int *bheld, int *wpieces, int *bpieces);
static void newgame(int *wheld, int *bheld, int *wpieces, int *bpieces);
static void crazyblack(int *wheld, int *bheld, int *wpieces, int *bpieces);
static int crazywhite(int pos, int *wheld, int *bheld, int *wpieces, int *bpieces);
static int colourcommand(int pos, int *wheld, int *bheld, int *wpieces, int *bpieces);
static int setboard(int pos);
static int gocommand();
static int collectforcemove(int pos);
static int opponentdrop(int pos, const int *bheld, int message);
static int opponentmove(int pos);
static int scanat(int pos, int *wheld, int *bheld, int *wpieces, int *bpieces);

// 1 when the text at pos begins with word.
static int matches(int pos, const char *word) {
  assert(pos >= 0 && pos <= READBLOCK);
  return strncmp(block + pos, word, strlen(word)) == 0;
}

// 1 when the two characters at pos are a square: file letter a..h and rank digit 1..8.
static int issquare(int pos) {
  return block[pos] >= 'a' && block[pos] <= 'h' && block[pos + 1] >= '1' && block[pos + 1] <= '8';
}

// The square written at pos, in real numbering (a1 = 1, h8 = 64).
static int squareat(int pos) { return squareof(block[pos], block[pos + 1]); }

// The position of the next newline at or after pos, or the end of the data read.
static int skipline(int pos) {
  while (pos < blocklength && block[pos] != '\n') pos++;
  return pos;
}

// Builds the two holdings texts of this block: the engine's men in hand (codes 1..5 in wheld) and
// the opponent's (codes 7..11 in bheld), in slot order, as the letters P, N, B, R, Q.
static void buildholdings(const int *wheld, const int *bheld) {
  static const char letters[] = " PNBRQ";
  int own = 0;
  int opp = 0;
  for (int slot = 1; slot < HANDSLOTS; slot++) {
    if (wheld[slot] >= WPAWN && wheld[slot] <= WQUEEN) ownholdings[own++] = letters[wheld[slot]];
    if (bheld[slot] >= BPAWN && bheld[slot] <= BQUEEN) oppholdings[opp++] = letters[bheld[slot] - BLACKOFFSET];
  }
  ownholdings[own] = 0;
  oppholdings[opp] = 0;
}

// The command variant: the check counters restart and the flags follow the name that starts eight
// characters after pos. Unknown names change only the counters.
static void setvariant(int pos) {
  topc = topp = 0;
  const variantrow *variant = matchvariant(block + pos + 8);
  if (!variant) return;
  setvariantflags(variant->flags, variant->clears);
  if (twokingsmode) {
    // The second kings stand on f1 and f8 until the first move puts them on c1 and c8.
    kingsafetydivisor = SETUPKINGSAFETYDIVISOR;
    if (!icsmode) {
      board[6] = WKING;
      board[62] = BKING;
    }
  }
}

// The command level: moves per control, base time in minutes (kept in centiseconds less three
// seconds) and increment in seconds (kept in centiseconds, less 30 after the echo). A base given
// as minutes:seconds yields only its minutes.
static void readlevel(int pos) {
  levelinc = 0;
  int blanks = 0;
  for (int i = pos; i < blocklength && block[i] != '\n' && blanks < 3; i++) {
    if (block[i] != ' ') continue;
    blanks++;
    int value = atoi(block + i + 1);
    if (blanks == 1) levelmoves = value;
    if (blanks == 2) levelbase = value * 6000 - 300;
    if (blanks == 3) levelinc = value * 100;
  }
  output("\nlevel %d %d %d\n", levelmoves, levelbase, levelinc);
  if ((unsigned)levelinc > 30u) levelinc -= 30;
}

// The command remove: takes back the opponent's last move and the engine's, restoring the board,
// the castling values and (in crazyhouse) the hands from the history. Before two half-moves have
// been played there is nothing to take back and the command is ignored.
static void takeback() {
  if (gameply < 3 || historycount < 2 || ltop < 3) return;
  gameply -= 2;
  historycount -= 2;
  ltop -= 2;
  restorehistory(historycount);
}

// A fresh game record on the starting position with empty hands and the starting pawn-born lists.
static void restartgame(int *wheld, int *bheld, int *wpieces, int *bpieces) {
  resetlists(wheld, bheld, wpieces, bpieces);
  memcpy(board, startboard, sizeof board);
  fiftycount = 0;
  gameply = 1;
  ltop = 1;
  openbkdone = 0;
  historycount = 0;
  endgameflag = 0;
}

// The command new: the starting position held for an engine that plays Black, normal chess, empty
// hands, and a table that keeps none of its keys.
static void newgame(int *wheld, int *bheld, int *wpieces, int *bpieces) {
  kingsafetydivisor = DEFAULTKINGSAFETYDIVISOR;
  setvariantflags(0, VFALL);
  clearhashentries();
  restartgame(wheld, bheld, wpieces, bpieces);
  forcemode = 0;
  setboardflag = 0;
  holdforblack();
  color = 0;
}

// Crazyhouse "black" after a set-up with collected moves: the collected moves are replayed from
// the starting position, with hands, and the engine takes Black.
static void crazyblack(int *wheld, int *bheld, int *wpieces, int *bpieces) {
  forcemode = 0;
  restartgame(wheld, bheld, wpieces, bpieces);
  turnboard();
  color = 0;
  replayforce(forcefrom, forceto, &forcecount);
  gameply++;
  inputfrom = INPUTWAKEFROM;
  inputto = INPUTWAKETO;
  output("\n done black \n");
  clearhashentries();
}

// Crazyhouse "white": a fresh game from the starting position, the engine taking White unless a
// position was set up. On a chess server (zcha) the engine waits for the opponent's first move,
// which then sets it up as Black. Returns the new scan position.
static int crazywhite(int pos, int *wheld, int *bheld, int *wpieces, int *bpieces) {
  restartgame(wheld, bheld, wpieces, bpieces);
  if (!setboardflag) {
    inputfrom = INPUTWAKEFROM;
    inputto = INPUTWAKETO;
    if (zchamode) {
      pos = skipline(pos);
      whitearmed = 1;
    }
    color = 1;
    holdforwhite();
  }
  clearhashentries();
  return pos;
}

// The colour commands "black" and "white". "black" takes effect after a set-up with collected
// moves: the position is turned, the moves replayed and the engine plays Black. "white" outside
// force mode makes the engine White on the starting position. Returns the new scan position.
static int colourcommand(int pos, int *wheld, int *bheld, int *wpieces, int *bpieces) {
  if (matches(pos, "black") && forcemode && setboardflag && forcecount > 0) {
    if (crazymode) {
      crazyblack(wheld, bheld, wpieces, bpieces);
      return SCANEND;
    }
    forcemode = 0;
    turnboard();
    color = 0;
    replayforceplain(forcefrom, forceto, &forcecount);
    gameply++;
    inputfrom = INPUTWAKEFROM;
    inputto = INPUTWAKETO;
    output("\n done black \n");
    return SCANEND;
  }
  if (matches(pos, "whi") && !forcemode) {
    if (crazymode) return crazywhite(pos, wheld, bheld, wpieces, bpieces);
    if (setboardflag) return pos;
    inputfrom = INPUTWAKEFROM;
    inputto = INPUTWAKETO;
    color = 1;
    holdforwhite();
    return SCANEND;
  }
  return pos;
}

// The command setboard: the text after it, up to the newline (at most 79 characters), is read as
// a FEN. The position stands in White's view with the engine as White. Returns the new scan
// position (the newline).
static int setboard(int pos) {
  int length = 0;
  int i = pos + 9;
  while (i < blocklength && block[i] != '\n') {
    if (length < SETUPTEXTSIZE - 1) setuptext[++length] = block[i];
    i++;
  }
  setuptext[length + 1 < SETUPTEXTSIZE ? length + 1 : SETUPTEXTSIZE - 1] = 0;
  output("\ngoing to setboard\n");
  parsefen(setuptext, length);
  mirrorboard();
  output("\ndone board set\n");
  kingsafetydivisor = SETUPKINGSAFETYDIVISOR;
  setboardflag = 1;
  ltop = 30;
  color = 1;
  return i;
}

// The command go: leaves force mode and wakes the main loop. At the start of a game (no set-up)
// the collected moves decide the engine's colour (an even count makes it White) and are played.
static int gocommand() {
  forcemode = 0;
  inputfrom = INPUTWAKEFROM;
  inputto = INPUTWAKETO;
  if (gameply == 1 && !setboardflag) {
    if (forcecount % 2 == 0) {
      color = 1;
      holdforwhite();
    }
    replayforce(forcefrom, forceto, &forcecount);
    if (color == 0) gameply++;
  }
  return SCANEND;
}

// Collects a move in force mode: a board move by its squares, a drop by the negated code of its
// man, White's on odd counts and Black's on even ones. Squares stay in real numbering. Returns the
// new scan position.
static int collectforcemove(int pos) {
  static const char droppieces[] = "pnbrq";
  if (!(block[pos + 2] >= 'a' && block[pos + 2] <= 'h' && block[pos + 3] >= '1' && block[pos + 3] <= '8')) {
    return pos;
  }
  int from;
  if (block[pos + 1] == '@') {
    const char *letter = strchr(droppieces, block[pos] | 0x20);
    if (!letter || block[pos] == 0) return pos;
    int code = (int)(letter - droppieces) + 1;
    from = dropcounter % 2 == 1 ? -code : -(code + BLACKOFFSET);
  } else {
    from = squareat(pos);
  }
  if (forcecount >= FORCELISTSIZE - 1) return pos + 4;
  forcecount++;
  dropcounter++;
  output("in a force move\n");
  forcefrom[forcecount] = from;
  forceto[forcecount] = squareat(pos + 2);
  output("\n to[top]%d, from[top]%d\n", forceto[forcecount], forcefrom[forcecount]);
  recordmove(forcefrom[forcecount], forceto[forcecount]);
  return pos + 4;
}

// The opponent's drop, such as P@e4: legal when the man is in the opponent's hand, the square is
// empty, and a pawn does not go to the first or last rank. An illegal drop is answered with the
// illegal-move line and both hands, and nothing is handed over. Returns the new scan position.
static int opponentdrop(int pos, const int *bheld, int message) {
  static const char droppieces[] = "pnbrq";
  if (!(block[pos + 2] >= 'a' && block[pos + 2] <= 'h' && block[pos + 3] >= '1' && block[pos + 3] <= '8')) {
    return pos;
  }
  if (message) output("in plop move where its written a+4\n");
  int code = (int)(strchr(droppieces, block[pos] | 0x20) - droppieces) + BPAWN;
  int to = squareat(pos + 2);
  if (color == 0) to = turnsquare(to);
  inputfrom = -code;
  inputto = to;
  int recorded = recordmove(inputfrom, inputto);
  int inhand = 0;
  for (int slot = 1; slot < HANDSLOTS; slot++) {
    if (bheld[slot] == code) inhand = 1;
  }
  int legal = inhand && board[to] == EMPTY && (code != BPAWN || (to >= 9 && to <= 56));
  if (!legal && !icsmode) {
    output("Illegal move: %c%c%c%c\n", block[pos], block[pos + 1], block[pos + 2], block[pos + 3]);
    inputfrom = inputto = INPUTNONE;
    if (recorded) ltop--;
    output("telluser Player[%s] Korvel[%s]\n", oppholdings, ownholdings);
  }
  return pos + 4;
}

// In the antichess family: 1 when the opponent's move from -> to takes nothing although a capture
// was due. An en-passant capture (a pawn moving to another file) is never refused.
static int ignorescapture(int from, int to) {
  if (board[to] != EMPTY) return 0;
  if (board[from] == BPAWN && fileof(from) != fileof(to)) return 0;
  return opponentcancapture() == 0;
}

// The opponent's board move, such as e2e4 or e7e8q, converted to the board's squares. Without a
// promotion letter a promoting pawn becomes a queen. Returns the new scan position.
static int opponentmove(int pos) {
  if (!(block[pos + 2] >= 'a' && block[pos + 2] <= 'h' && block[pos + 3] >= '1' && block[pos + 3] <= '8')) {
    return pos;
  }
  if (whitearmed) {
    whitearmed = 0;
    forcemode = 0;
    color = 0;
    setupblack();
  }
  inputfrom = squareat(pos);
  inputto = squareat(pos + 2);
  if (gameply == 1 && twokingsmode && !icsmode) {
    board[3] = WKING;
    board[59] = BKING;
    board[6] = WBISHOP;
    board[62] = BBISHOP;
  }
  if (color == 0) {
    inputfrom = turnsquare(inputfrom);
    inputto = turnsquare(inputto);
  }
  oppromo = BQUEEN;
  switch (block[pos + 4]) {
    case 'k': oppromo = BKING; break;
    case 'q': oppromo = BQUEEN; break;
    case 'r': oppromo = BROOK; break;
    case 'b': oppromo = BBISHOP; break;
    case 'n': oppromo = BKNIGHT; break;
    default: break;
  }
  int recorded = recordmove(inputfrom, inputto);
  if (!icsmode && antimode && ignorescapture(inputfrom, inputto)) {
    output("Illegal move: %c%c%c%c\n", block[pos], block[pos + 1], block[pos + 2], block[pos + 3]);
    inputfrom = inputto = INPUTNONE;
    if (recorded) ltop--;
  }
  return pos + 4;
}

// The answer to protover: the features, with every variant of the variant table.
static void writefeatures() {
  output("\nfeature setboard=1 ics=1 done=1 variants=");
  for (int i = 0; i < VARIANTS; i++) output(i ? ",%s" : "%s", varianttable[i].name);
  output("\n");
}

// Applies the tests of the reader, in their order, to the text at pos. A test may move pos; the
// later tests then look at the new position. Returns the position the scan continues from (it
// then advances by one).
static int scanat(int pos, int *wheld, int *bheld, int *wpieces, int *bpieces) {
  if (matches(pos, "time")) {
    timeleft = atoi(block + pos + 5);
    pos += 5;
  }
  if (matches(pos, "zcha")) zchamode = 1;
  if (matches(pos, "post")) postmode = 1;
  if (matches(pos, "nopo")) {
    postmode = 0;
    pos += 3;
  }
  if (matches(pos, "variant")) setvariant(pos);
  if (pos < SCANEND && matches(pos, "result")) {
    // The game is over. What follows in the block belongs to the next game ("new", its variant,
    // its first move): it goes back to the input, so that ending this game does not undo it.
    pos = skipline(pos);
    inputfrom = inputto = INPUTGAMEOVER;
    forcemode = 0;
    if (pos + 1 < blocklength) unreadinput(block + pos + 1, blocklength - pos - 1);
    return SCANEND;
  }
  if (pos < SCANEND && matches(pos, "protov")) {
    pos = skipline(pos);
    writefeatures();
  }
  if (matches(pos, "ics ")) {
    if (block[pos + 4] != '-') icsmode = 1;
    if (pos < SCANEND && block[pos + 4] == 'f' && block[pos + 5] == 'r') ficsrules = 1;
  }
  if (pos < SCANEND && (matches(pos, "accept") || matches(pos, "name"))) pos = skipline(pos);
  if (pos < SCANEND && matches(pos, "level")) {
    readlevel(pos);
    pos = skipline(pos);
  }
  if (pos < SCANEND && (matches(pos, "draw") || matches(pos, "holding"))) pos = skipline(pos);
  if (pos < SCANEND && matches(pos, "remo")) {
    takeback();
    pos = skipline(pos);
  }
  if (pos < SCANEND && matches(pos, "quit")) {
    inputfrom = inputto = INPUTGAMEOVER;
    playagain = 0;
    forcemode = 0;
    pos = SCANEND;
  }
  if (pos < SCANEND && matches(pos, "forc")) forcemode = 1;
  if (matches(pos, "new\n")) {
    newgame(wheld, bheld, wpieces, bpieces);
    pos = skipline(pos);
  }
  if (matches(pos, "black") || matches(pos, "whi")) pos = colourcommand(pos, wheld, bheld, wpieces, bpieces);
  if (pos < SCANEND && matches(pos, "setboard")) pos = setboard(pos);
  if (pos < SCANEND && matches(pos, "go")) {
    pos = gocommand();
  } else if (pos < SCANEND && forcemode && (issquare(pos) || block[pos + 1] == '@')) {
    return collectforcemove(pos);
  }
  if (strchr("PNBRQ", block[pos]) && block[pos] != 0 && block[pos + 1] == '@') pos = opponentdrop(pos, bheld, 1);
  if (strchr("pnbrq", block[pos]) && block[pos] != 0 && block[pos + 1] == '@') pos = opponentdrop(pos, bheld, 0);
  if (pos < SCANEND && issquare(pos)) pos = opponentmove(pos);
  return pos;
}

// Reads one block of input and scans it; in force mode it goes on reading blocks (the collected
// moves stay) until a command leaves force mode. The result is left in inputfrom/inputto:
// INPUTNONE when nothing was handed over.
void readinput(int *wheld, int *bheld, int *wpieces, int *bpieces) {
  assert(wheld && bheld && wpieces && bpieces);
  forcemode = 0;
  forcecount = 0;
  dropcounter = 1;
  whitearmed = 0;
  do {
    memset(block, 0, sizeof block);
    blocklength = readblock(block, READBLOCK);
    if (resetholdings || firstread) {
      resetholdings = 0;
      memset(wheld, 0, sizeof(int) * HANDSLOTS);
      memset(bheld, 0, sizeof(int) * HANDSLOTS);
      resetlists(wheld, bheld, wpieces, bpieces);
      if (firstread) topc = topp = 0;
      firstread = 0;
    }
    buildholdings(wheld, bheld);
    for (int pos = 0; pos < SCANEND; pos++) pos = scanat(pos, wheld, bheld, wpieces, bpieces);
  } while (forcemode);
}
