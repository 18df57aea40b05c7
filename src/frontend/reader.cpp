// The protocol reader: reads a block of input and scans it character by character for the words it
// knows, in a fixed order of tests. It keeps the clocks, the variant and the thinking switch up to
// date, sets up new games and positions, takes the opponent's move (or a move in force mode) when
// it is legal, and hands it (or a marker) to the main loop in inputfrom/inputto. A command that
// hands something over ends the scan; the rest of the block goes back to the input, so that it is
// read next and nothing is lost. A line in which no test fired is answered as an unknown command.
#include "frontend/frontend.h"

#include "antichess/antichess.h"
#include "book/book.h"

#include <cstring>

constexpr int BLOCKMARGIN = 32;        // zero bytes after a block, so that look-ahead stays inside
constexpr int HOLDINGSTEXT = 32;       // bytes of a holdings text
constexpr int MOVETEXT = 8;            // characters of a move named in the illegal-move line
constexpr long long MAXCLOCK = 100000000;   // centiseconds: a clock is cut to about eleven days
constexpr long long MAXLEVELMOVES = 10000;  // moves per control
constexpr long long MAXMINUTES = 100000;    // minutes of a base time
constexpr long long MAXSECONDS = 100000;    // seconds of a base time's seconds or of an increment
constexpr int CENTIPERMINUTE = 6000;
constexpr int CENTIPERSECOND = 100;
constexpr int LEVELRESERVE = 300;      // centiseconds the base time keeps back
constexpr int INCRESERVE = 30;         // centiseconds the increment keeps back
constexpr long long MAXMOVESECONDS = 600000;  // seconds a move of "st" may be given
constexpr long long MAXDEPTH = 1000;   // depth of "sd"
constexpr int ERRORWORD = 64;          // characters of an unknown command repeated in the error line
constexpr int MILLIPERSECOND = 1000;

static char block[READBLOCK + BLOCKMARGIN];  // the block being scanned
static int blocklength = 0;            // bytes of input in block
static char ownholdings[HOLDINGSTEXT];  // the engine's holdings as letters
static char oppholdings[HOLDINGSTEXT];  // the opponent's holdings as letters
static int linefired = 0;              // 1 once a test fired in the line being scanned
static int linestart = 0;              // where the line being scanned begins

// Commands of the protocol that need no answer and change nothing here: the engine neither
// ponders nor gives hints, shows no book, is never rated or edited (it reads set-ups), and
// answers "." (a request for a status line, which an engine may ignore) and a stray "?" (no
// search to hurry) with nothing.
static const char *const quietwords[] = {"xboard", "computer", "rating", "random", "easy", "hard",
                                         "hint", "bk", "book", "edit", ".", "?"};

// The features the engine announces in answer to protover, one word each; the variants follow.
// It answers ping, needs no colour commands ("go" plays the side on move), reads set-up positions,
// analyses, and ignores the interrupt and terminate signals.
static const char *const features[] = {"ping=1", "setboard=1", "colors=0", "ics=1", "analyze=1", "sigint=0",
                                       "sigterm=0", "myname=\"Korvel\""};

static int matches(int pos, const char *word);
static int issquare(int pos);
static int squareat(int pos);
static int skipline(int pos);
static int handover(int pos, int from, int to);
static int wakeup(int pos);
static long long readnumber(int *pos, long long most);
static void buildholdings(const int *wheld, const int *bheld);
static int setvariant(int pos);
static void readlevel(int pos);
static int takeback(int pos, int count);
static int newgame(int pos);
static int colourcommand(int pos, int white);
static int setboard(int pos);
static int gocommand(int pos);
static int analyzecommand(int pos);
static int exitcommand(int pos);
static int servermove(int from, int to);
static void refusemove(int pos);
static int opponentdrop(int pos);
static int opponentmove(int pos);
static int scanat(int pos);
static int wordat(int pos, const char *word);
static void readholding(int pos);
static void unknownline(int end);

// 1 when a character of the input belongs to a word: anything but a blank or a control byte.
static int wordchar(char c) { return (unsigned char)c > ' '; }

// A character of a word as a reply writes it back: a DEL or a byte beyond ASCII as '?', so that an
// echoed word never carries such a byte to the interface.
static char echoed(char c) { return c <= '~' && c > ' ' ? c : '?'; }

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

// Hands from/to to the main loop and ends the scan: what follows the current line goes back to
// the input and is read next.
static int handover(int pos, int from, int to) {
  inputfrom = from;
  inputto = to;
  int next = skipline(pos) + 1;
  if (next < blocklength) unreadinput(block + next, blocklength - next);
  return SCANEND;
}

// Wakes the main loop, which then looks at the turn again.
static int wakeup(int pos) { return handover(pos, INPUTWAKEFROM, INPUTWAKETO); }

// Reads the unsigned number at *pos, cut to most, and moves *pos past its digits. Anything
// before the first digit but blanks (a minus sign too) reads as 0.
static long long readnumber(int *pos, long long most) {
  while (*pos < blocklength && block[*pos] == ' ') (*pos)++;
  long long value = 0;
  while (*pos < blocklength && block[*pos] >= '0' && block[*pos] <= '9') {
    value = value * 10 + (block[*pos] - '0');
    if (value > most) value = most;
    (*pos)++;
  }
  return value;
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

// The command variant: the check counters restart, the flags follow the name that starts eight
// characters after pos, and the game's position is rebuilt under the new rules (hands, second
// kings). Unknown names change only the counters.
static int setvariant(int pos) {
  topc = topp = 0;
  const variantrow *variant = matchvariant(block + pos + 8);
  if (!variant) return skipline(pos);
  setvariantflags(variant->flags, variant->clears);
  if (twokingsmode) kingsafetydivisor = SETUPKINGSAFETYDIVISOR;
  rebuildposition();
  return wakeup(pos);
}

// The command level: moves per control, the base time as minutes or minutes:seconds (kept in
// centiseconds less three seconds, never below 0) and the increment in seconds, with a fraction
// (kept in centiseconds, less 30 after the echo). Every figure is cut to a sane range first. The
// latest time control holds: a level takes the place of "st".
static void readlevel(int pos) {
  movetimelimit = 0;
  int i = pos + 5;
  levelmoves = (int)readnumber(&i, MAXLEVELMOVES);
  long long base = readnumber(&i, MAXMINUTES) * CENTIPERMINUTE;
  if (i < blocklength && block[i] == ':') {
    i++;
    base += readnumber(&i, MAXSECONDS) * CENTIPERSECOND;
  }
  levelbase = base > LEVELRESERVE ? (int)(base - LEVELRESERVE) : 0;
  while (i < blocklength && block[i] == ' ') i++;
  long long inc = 0;
  if (i < blocklength && block[i] != '-') {
    inc = readnumber(&i, MAXSECONDS) * CENTIPERSECOND;
    if (i < blocklength && block[i] == '.') {
      i++;
      int scale = CENTIPERSECOND / 10;
      while (i < blocklength && block[i] >= '0' && block[i] <= '9') {
        inc += (block[i] - '0') * scale;
        scale /= 10;
        i++;
      }
    }
  }
  levelinc = (int)inc;
  output("\nlevel %d %d %d\n", levelmoves, levelbase, levelinc);
  if (levelinc > INCRESERVE) levelinc -= INCRESERVE;
}

// The commands remove (two half-moves) and undo (one): the position before them returns exactly,
// with everything the board holds. With fewer half-moves played nothing changes.
static int takeback(int pos, int count) {
  if (!takebackturns(count)) return skipline(pos);
  return wakeup(pos);
}

// The command new: the starting position, the engine playing Black, normal chess, empty hands,
// and a table that keeps none of its keys.
static int newgame(int pos) {
  kingsafetydivisor = DEFAULTKINGSAFETYDIVISOR;
  setvariantflags(0, VFALL);
  clearhashentries();
  forcemode = 0;
  setboardflag = 0;
  openbkdone = 0;
  color = 0;
  startposition();
  rebuildposition();
  return wakeup(pos);
}

// The colour commands: "white" puts White on move with the engine playing Black, "black" the
// other way round. They leave the board as it is and do not start the engine: "go" does.
static int colourcommand(int pos, int white) {
  color = white ? 0 : 1;
  setsidetomove(white);
  rebuildposition();
  return wakeup(pos);
}

// The command setboard: the text after it, up to the newline, is read as a FEN. The engine takes
// the side not on move, so that a move sent next is the opponent's and "go" makes the engine play
// the side on move. A position that is malformed or cannot be played is refused and the
// position before it stays.
static int setboard(int pos) {
  char text[FENSIZE];
  int length = 0;
  int i = pos + 9;
  while (i < blocklength && block[i] != '\n') {
    if (length < FENSIZE - 1) text[length++] = block[i];
    i++;
  }
  while (length > 0 && (text[length - 1] == ' ' || text[length - 1] == '\r')) length--;
  text[length] = 0;
  output("\ngoing to setboard\n");
  if (!setupposition(text)) {
    output("tellusererror Illegal position\n");
    return i;
  }
  output("\ndone board set\n");
  kingsafetydivisor = SETUPKINGSAFETYDIVISOR;
  setboardflag = 1;
  return wakeup(pos);
}

// The command go: leaves force mode and makes the engine play the side on move.
static int gocommand(int pos) {
  forcemode = 0;
  if (!enginetomove()) {
    color = sidetomove();
    rebuildposition();
  }
  return wakeup(pos);
}

// The command analyze: the engine analyses the side on move, with thinking lines, until "exit".
static int analyzecommand(int pos) {
  analyzing = 1;
  analysed = 0;
  return wakeup(pos);
}

// The command exit: leaves analyze mode for force mode, so that the engine plays neither side
// until "go" (or "new"). Outside analyze mode it changes nothing.
static int exitcommand(int pos) {
  if (!analyzing) return skipline(pos);
  analyzing = 0;
  forcemode = 1;
  return wakeup(pos);
}

// On a chess server the server referees: its move stands when a man of the side on move leaves
// from and does not land on a man of its own, even where the rules here would refuse it, since
// refusing would stall the game until it is lost on time.
static int servermove(int from, int to) {
  if (!icsmode || board[from] == EMPTY) return 0;
  int own = enginetomove();
  return iswhite(board[from]) == own && (board[to] == EMPTY || iswhite(board[to]) != own);
}

// Answers a move that cannot be played here with the illegal-move line naming it.
static void refusemove(int pos) {
  char text[MOVETEXT + 1];
  int n = 0;
  while (n < MOVETEXT && pos + n < blocklength && wordchar(block[pos + n])) {
    text[n] = echoed(block[pos + n]);
    n++;
  }
  text[n] = 0;
  output("Illegal move: %s\n", text);
}

// A drop of the side on move, such as P@e4 (the letter's case does not matter): when it is legal
// it is handed over with the negated code of the man in the board's colours; else it is refused
// with the illegal-move line and both hands. Returns the new scan position.
static int opponentdrop(int pos) {
  static const char droppieces[] = "pnbrq";
  if (!issquare(pos + 2)) return pos;
  int code = (int)(strchr(droppieces, block[pos] | 0x20) - droppieces) + (enginetomove() ? WPAWN : BPAWN);
  int to = squareat(pos + 2);
  if (color == 0) to = turnsquare(to);
  // On a chess server the server referees drops: in crazyhouse a drop on an empty square stands.
  if (!islegalturn(-code, to) && !(icsmode && crazymode && board[to] == EMPTY)) {
    refusemove(pos);
    buildholdings(gamewheld, gamebheld);
    output("telluser Player[%s] Korvel[%s]\n", oppholdings, ownholdings);
    return pos + 4;
  }
  oppromo = 0;
  return handover(pos, -code, to);
}

// In the antichess family: 1 when the opponent's move from -> to takes nothing although a capture
// was due. An en-passant capture (a pawn moving to another file) is never refused.
static int ignorescapture(int from, int to) {
  if (board[to] != EMPTY) return 0;
  if (board[from] == BPAWN && fileof(from) != fileof(to)) return 0;
  return opponentcancapture() == 0;
}

// A board move of the side on move, such as e2e4 or e7e8q, converted to the board's squares and
// handed over when it is legal; else refused with the illegal-move line. A move from a square to
// itself opens the console board editor. Without a promotion letter a promoting pawn becomes a
// queen. Returns the new scan position.
static int opponentmove(int pos) {
  if (!issquare(pos + 2)) return pos;
  int from = squareat(pos);
  int to = squareat(pos + 2);
  if (color == 0) {
    from = turnsquare(from);
    to = turnsquare(to);
  }
  if (from == to) return handover(pos, from, to);
  // In the antichess family the opponent must capture when it can (a server referees for itself).
  int dodges = !icsmode && antimode && !enginetomove() && ignorescapture(from, to);
  if (dodges || (!islegalturn(from, to) && !servermove(from, to))) {
    refusemove(pos);
    return pos + 4;
  }
  int black = !enginetomove();
  oppromo = 0;
  switch (block[pos + 4]) {
    case 'k': if (antimode) oppromo = black ? BKING : WKING; break;
    case 'q': oppromo = black ? BQUEEN : WQUEEN; break;
    case 'r': oppromo = black ? BROOK : WROOK; break;
    case 'b': oppromo = black ? BBISHOP : WBISHOP; break;
    case 'n': oppromo = black ? BKNIGHT : WKNIGHT; break;
    default: break;
  }
  return handover(pos, from, to);
}

// The answer to protover: the features of the table, then every variant of the variant table.
static void writefeatures() {
  output("\nfeature");
  for (const char *feature : features) output(" %s", feature);
  output(" variants=\"");
  for (int i = 0; i < VARIANTS; i++) output(i ? ",%s" : "%s", varianttable[i].name);
  output("\" option=\"%s -check 0\" done=1\n", FULLOPTIONNAME);
}

// The answer to "ping n".
void writepong(long long n) { output("\npong %lld\n", n); }

// 1 when pos starts a word: the first character of the block or one after a blank.
static int wordstart(int pos) { return pos == 0 || block[pos - 1] == ' ' || block[pos - 1] == '\n' || block[pos - 1] == '\t'; }

// 1 when the whole word stands at pos: at a word's start and followed by a blank or the line's end.
static int wordat(int pos, const char *word) {
  return wordstart(pos) && matches(pos, word) && block[pos + strlen(word)] <= ' ';
}

// "holding [PNBR] [pnbr]": a chess server's hands in crazyhouse, White's first, with the men in
// either case. They replace the hands the moves gave, so that the hands stay in step with the
// server's. A line that is not of that form changes nothing.
static void readholding(int pos) {
  static const char letters[] = "pnbrq";
  int hand[2][HANDSLOTS];
  int count[2] = {0, 0};
  int i = pos + 7;
  for (int side = 0; side < 2; side++) {
    while (i < blocklength && block[i] != '[' && block[i] != '\n') i++;
    if (i >= blocklength || block[i] != '[') return;
    for (i++; i < blocklength && block[i] != ']' && block[i] != '\n'; i++) {
      const char *letter = strchr(letters, block[i] | 0x20);
      if (letter && count[side] < HANDSLOTS - 1) hand[side][++count[side]] = (int)(letter - letters);
    }
    if (i >= blocklength || block[i] != ']') return;
  }
  if (!crazymode) return;
  int own = color == 1 ? 0 : 1;
  for (int slot = 1; slot < HANDSLOTS; slot++) {
    gamewheld[slot] = slot <= count[own] ? WPAWN + hand[own][slot] : 0;
    gamebheld[slot] = slot <= count[1 - own] ? BPAWN + hand[1 - own][slot] : 0;
  }
}

// The line that ends at end (its newline) matched no test: it is answered as an unknown command,
// naming its first word. A blank line is no command.
static void unknownline(int end) {
  int i = linestart;
  while (i < end && (block[i] == ' ' || block[i] == '\t')) i++;
  if (i >= end) return;
  char word[ERRORWORD + 1];
  int n = 0;
  while (i < end && wordchar(block[i]) && n < ERRORWORD) word[n++] = echoed(block[i++]);
  word[n] = 0;
  output("Error (unknown command): %s\n", word);
}

// Applies the tests of the reader, in their order, to the text at pos. A test may move pos; the
// later tests then look at the new position. Returns the position the scan continues from (it
// then advances by one); SCANEND ends the scan. Every test that fires marks the line as known.
static int scanat(int pos) {
  if (matches(pos, "time")) {
    linefired = 1;
    pos += 4;
    timeleft = (int)readnumber(&pos, MAXCLOCK);
    clockgiven = freshclock = 1;
  }
  if (matches(pos, "otim")) {
    linefired = 1;
    pos += 4;
    otherclock = (int)readnumber(&pos, MAXCLOCK);
  }
  if (matches(pos, "post")) {
    linefired = 1;
    postmode = 1;
  }
  if (matches(pos, "nopo")) {
    linefired = 1;
    postmode = 0;
    pos += 3;
  }
  if (matches(pos, "ping")) {
    linefired = 1;
    int i = pos + 4;
    writepong(readnumber(&i, PINGMAX));
    return skipline(pos);
  }
  // The tests below end the step when they fire (but "forc"): the line is known unless none fires.
  int firedbefore = linefired;
  linefired = 1;
  if (matches(pos, "variant")) return setvariant(pos);
  if (matches(pos, "result")) {
    // The game is over. What follows in the block belongs to the next game ("new", its variant,
    // its first move): it goes back to the input, so that ending this game does not undo it.
    forcemode = 0;
    return handover(pos, INPUTGAMEOVER, INPUTGAMEOVER);
  }
  if (matches(pos, "option ")) {
    setengineoption(block + pos + 7);
    return skipline(pos);
  }
  if (matches(pos, "protov")) {
    writefeatures();
    return skipline(pos);
  }
  if (matches(pos, "ics ")) {
    // The rest of the line is the server's name: "-" for a local game.
    if (block[pos + 4] != '-') icsmode = 1;
    if (block[pos + 4] == 'f' && block[pos + 5] == 'r') ficsrules = 1;
    return skipline(pos);
  }
  if (matches(pos, "accept") || matches(pos, "reject") || matches(pos, "name") || matches(pos, "level") ||
      matches(pos, "draw") || matches(pos, "holding")) {
    if (matches(pos, "level")) readlevel(pos);
    if (matches(pos, "holding")) readholding(pos);
    return skipline(pos);
  }
  if (matches(pos, "remo")) return takeback(pos, 2);
  if (matches(pos, "undo")) return takeback(pos, 1);
  if (matches(pos, "quit")) {
    playagain = 0;
    forcemode = 0;
    return handover(pos, INPUTGAMEOVER, INPUTGAMEOVER);
  }
  if (matches(pos, "forc")) {
    forcemode = 1;
    firedbefore = 1;
  }
  if (matches(pos, "new\n") || matches(pos, "new ")) return newgame(pos);
  if (matches(pos, "black")) return colourcommand(pos, 0);
  if (matches(pos, "white")) return colourcommand(pos, 1);
  if (matches(pos, "setboard")) return setboard(pos);
  if (matches(pos, "go") && wordstart(pos) && (block[pos + 2] <= ' ')) return gocommand(pos);
  if (wordat(pos, "st") || wordat(pos, "sd")) {
    // "st N": N seconds for every move; "sd N": iterations 1..N. 0 takes the limit away.
    int i = pos + 2;
    if (block[pos + 1] == 't') movetimelimit = (int)readnumber(&i, MAXMOVESECONDS) * MILLIPERSECOND;
    else movedepthlimit = (int)readnumber(&i, MAXDEPTH);
    return skipline(pos);
  }
  if (wordat(pos, "analyze")) return analyzecommand(pos);
  if (wordat(pos, "exit")) return exitcommand(pos);
  for (const char *word : quietwords)
    if (wordat(pos, word)) return skipline(pos);
  linefired = firedbefore;
  if (!wordstart(pos)) return pos;
  int next = pos;
  if (strchr("PNBRQpnbrq", block[pos]) && block[pos] != 0 && block[pos + 1] == '@') {
    next = opponentdrop(pos);
  } else if (issquare(pos)) {
    next = opponentmove(pos);
  }
  if (next != pos) linefired = 1;
  return next;
}

// Reads one block of input and scans it. The result is left in inputfrom/inputto: INPUTNONE when
// nothing was handed over.
void readinput() {
  memset(block, 0, sizeof block);
  blocklength = readblock(block, READBLOCK);
  linefired = 0;
  linestart = 0;
  for (int pos = 0; pos < blocklength && pos < SCANEND; pos++) {
    pos = scanat(pos);
    if (pos >= blocklength || block[pos] != '\n') continue;
    if (!linefired) unknownline(pos);
    linefired = 0;
    linestart = pos + 1;
  }
}
