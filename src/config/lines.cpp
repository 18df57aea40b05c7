// The text handling every configuration reader shares: opening a file, reading it one line at a
// time, converting a number, and finding the settings a key names.
#include "config/config.h"
#include "config/configfile.h"

#include "board/board.h"

#include <climits>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

static const char pieceletters[PIECEKEYSWITHKING] = {'p', 'n', 'b', 'r', 'q', 'k'};
static const char *const piecenames[PIECEKEYSWITHKING] = {"pawn", "knight", "bishop", "rook", "queen", "king"};

// Opens a configuration file for reading. A file that cannot be read, and anything that is not a
// plain file (a folder, a pipe, a device), counts as missing: the caller then keeps its defaults
// and says nothing about an opened file. The open does not wait for a writer of a pipe.
FILE *openconfigfile(const char *name) {
  if (!name) return nullptr;
  int descriptor = open(name, O_RDONLY | O_NONBLOCK);
  if (descriptor < 0) return nullptr;
  struct stat info;
  if (fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode)) {
    close(descriptor);
    return nullptr;
  }
  FILE *file = fdopen(descriptor, "r");
  if (!file) close(descriptor);
  return file;
}

// Reads the next line of a configuration file, one character at a time. Carriage returns are
// dropped; a newline ends the line. At most keep characters go into line (which holds keep + 1
// bytes and is always terminated), the rest of a longer line is read and dropped. Answers the
// line's length, counted up to keep + 1 (so a longer line shows as keep + 1), or -1 when the end
// mark or the end of the file came first: text after the last newline is not a line.
int readconfigline(FILE *file, char *line, int keep) {
  assert(file && line && keep > 0);
  int length = 0;
  for (;;) {
    int c = fgetc(file);
    if (c == EOF || c == ENDMARK) {
      line[length < keep ? length : keep] = 0;
      return -1;
    }
    if (c == '\r') continue;
    if (c == '\n') break;
    if (length < keep) line[length] = (char)c;
    if (length <= keep) length++;
  }
  line[length < keep ? length : keep] = 0;
  return length;
}

// A value held within the range of an int, so that no number in a file overflows.
int clampint(long long value) {
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return (int)value;
}

int clampedvalues = 0;

// A weight read from a file, held within -WEIGHTLIMIT..WEIGHTLIMIT; each value held is counted so
// that the listing can say so.
int holdweight(long long value) {
  if (value >= -WEIGHTLIMIT && value <= WEIGHTLIMIT) return (int)value;
  clampedvalues++;
  return value > 0 ? WEIGHTLIMIT : -WEIGHTLIMIT;
}

// Ends a listing with how many values were held within the weight range, and only when some were;
// the count starts again for the next listing.
void printclamped() {
  if (clampedvalues) output("\n%d value(s) out of range, held within %d..%d", clampedvalues, -WEIGHTLIMIT, WEIGHTLIMIT);
  clampedvalues = 0;
}

// The number at the start of text: leading blanks, an optional sign, then decimal digits up to the
// first other character; 0 when there are no digits. Numbers beyond the range of an int are held
// at its limits.
int leadingnumber(const char *text) {
  assert(text);
  while (*text == ' ' || (*text >= '\t' && *text <= '\r')) text++;
  int negative = *text == '-';
  if (*text == '-' || *text == '+') text++;
  long long value = 0;
  for (; *text >= '0' && *text <= '9'; text++) {
    if (value <= INT_MAX) value = value * 10 + (*text - '0');
  }
  return clampint(negative ? -value : value);
}

// 1 when the length characters of text are exactly word.
static int sametext(const char *text, int length, const char *word) {
  return word && (int)strlen(word) == length && memcmp(text, word, length) == 0;
}

// 1 when text is the one-letter key letter.
static int sameletter(const char *text, int length, char letter) {
  return letter && length == 1 && text[0] == letter;
}

// The settings that the key in the length characters of text names, by letter or long name and
// case-sensitively: a man's key names White's and Black's entry of the value table, any other key
// its one setting. Fills targets and answers how many there are (0 for an unknown key).
int findkey(const keyset *keys, const char *text, int length, int **targets) {
  assert(keys && text && targets && keys->piecekeys <= PIECEKEYSWITHKING);
  for (int i = 0; i < keys->piecekeys; i++) {
    if (sameletter(text, length, pieceletters[i]) || sametext(text, length, piecenames[i])) {
      targets[0] = &keys->pieces[WPAWN + i];
      targets[1] = &keys->pieces[WPAWN + i + BLACKOFFSET];
      return 2;
    }
  }
  for (int i = 0; i < keys->rowcount; i++) {
    const keyrow *row = &keys->rows[i];
    if (sameletter(text, length, row->letter) || sametext(text, length, row->name)) {
      targets[0] = row->setting;
      return 1;
    }
  }
  return 0;
}
