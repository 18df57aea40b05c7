// Reading the book files: one line at a time, the first word of a line is a run of four-character
// moves from the initial position (e2e4e7e5g1f3), a word beginning with '$' ends the file, and
// anything else is a comment. Start-up loads every slot and the small book.
#include "book/book.h"

#include "config/config.h"

#include <cctype>
#include <cstdio>
#include <cstring>

static const char *const bookfiles[BOOKSLOTS] = {
    "bigbook.txt",          nullptr,                nullptr,                 "atomicFirstMove.txt",
    "threebook.txt",        "threeBookWhite.txt",   "threeBookBlack.txt",    "kingsBookWhite.txt",
    "kingsBookBlack.txt",   "bigbook.txt",          "suicideBookWhite.txt",  "suicideBookBlack.txt",
    "losersWhite.txt",      "losersBlack.txt",      "atomicSecondMove.txt",  "atomicThirdMove.txt",
    "korvelCrazyWhite.txt", "korvelCrazyBlack.txt",
};

static void firstword(const char *line, char *word);
static int readbookline(FILE *file, char *line);

// The file of a slot, opened by this relative name in the working directory. The two atomic
// books take their names from the settings; null when a name is missing.
const char *bookfilename(int slot) {
  assert(slot >= 0 && slot < BOOKSLOTS);
  if (slot == ATOMICBLACKSLOT) return atomicbookblack;
  if (slot == ATOMICWHITESLOT) return atomicbookwhite;
  return bookfiles[slot];
}

// Decodes the moves of a book word into from[1..n], to[1..n] (book numbering) and answers n. The
// run stops at the first move that does not begin with a file letter; it is also cut at its last
// whole move when a move is incomplete or names a file or rank off the board, and after 51 moves.
int decodebookword(const char *word, signed char *from, signed char *to) {
  assert(word && from && to);
  int n = 0;
  for (const char *move = word; n < BOOKMAXMOVES; move += 4) {
    if (move[0] < 'a' || move[0] > 'h') break;
    int fromsq = squareof(move[0], move[1]);
    int tosq = fromsq ? squareof(move[2], move[3]) : 0;
    if (!tosq) break;
    n++;
    from[n] = (signed char)fromsq;
    to[n] = (signed char)tosq;
  }
  return n;
}

// Copies the first whitespace-delimited word of a line, at most BOOKWORDSIZE - 1 characters (the
// rest of a longer word is dropped); an empty word when the line has none.
static void firstword(const char *line, char *word) {
  while (*line && isspace((unsigned char)*line)) line++;
  int length = 0;
  while (line[length] && !isspace((unsigned char)line[length]) && length < BOOKWORDSIZE - 1) {
    word[length] = line[length];
    length++;
  }
  word[length] = 0;
}

// Reads the next line of a book file into line (BOOKLINESIZE bytes, always terminated): up to and
// including its newline, or its first BOOKLINESIZE - 1 characters when it is longer, the rest then
// being read as the next line. A NUL byte reads as a blank, so it neither ends the line early nor
// hides the newline after it. Answers 0 at the end of the file.
static int readbookline(FILE *file, char *line) {
  int length = 0;
  int c = 0;
  while (length < BOOKLINESIZE - 1 && (c = fgetc(file)) != EOF) {
    line[length++] = c == 0 ? ' ' : (char)c;
    if (c == '\n') break;
  }
  line[length] = 0;
  return length > 0;
}

// Reads the file of slot booktype into its tree. A file that cannot be opened, and anything that is
// not a plain file (a folder, a pipe), leaves the slot empty; any file that opens sets bookloaded.
void readbook() {
  assert(booktype >= 0 && booktype < BOOKSLOTS);
  const char *name = bookfilename(booktype);
  FILE *file = name ? openconfigfile(datafile(name, BOOKFILE)) : nullptr;
  if (!file) return;
  bookloaded = 1;
  char line[BOOKLINESIZE];
  char word[BOOKWORDSIZE];
  signed char from[BOOKMAXMOVES + 1];
  signed char to[BOOKMAXMOVES + 1];
  while (readbookline(file, line)) {
    firstword(line, word);
    if (word[0] == '$') break;
    if (word[0] < 'a' || word[0] > 'h') continue;
    int count = decodebookword(word, from, to);
    addbookline(from, to, count);
  }
  fclose(file);
}

// Start-up: the eighteen slots in order, then the small book (read twice; the second read gives
// the same tables), and the counters line.
void loadbooks() {
  clearbookroots();
  for (booktype = 0; booktype < BOOKSLOTS; booktype++) readbook();
  booktype = 0;
  readopenbk();
  readopenbk();
  output("\nbookcounter=%d, bigbookidcounter=%d\n\n", bookcounter, bigbookidcounter);
}

// Every book global back to its value at load: the trees freed, the small book emptied.
void resetbooks() {
  freebook();
  bookcounter = bigbookidcounter = 0;
  booktype = 0;
  bookloaded = 0;
  firstmovebooks = 0;
  memset(openbkfrom, 0, sizeof openbkfrom);
  memset(openbkto, 0, sizeof openbkto);
  openbkcount = openbkloaded = openbkdone = 0;
}
