// What the readers of the configuration files share: opening a file, reading it line by line,
// converting a number, and the key sets that say which settings a key line names. Only the
// readers in this folder include it.
#ifndef KORVEL_CONFIGFILE_H
#define KORVEL_CONFIGFILE_H

#include <cstdio>

constexpr char ENDMARK = '$';           // a configuration file ends at this character
constexpr int RELATIVEKEEP = 8;         // characters of a relative-file line that are kept
constexpr int ABSOLUTEKEEP = 1999;      // characters of a key or value line that are kept
constexpr int PIECEKEYS = 5;            // pawn .. queen
constexpr int PIECEKEYSWITHKING = 6;    // pawn .. king
constexpr int MAXTARGETS = 2;           // settings one key sets at most (both colours' entries)
// A weight from a file is held within -WEIGHTLIMIT..WEIGHTLIMIT: an evaluation sums at most a few
// hundred weights and multiplies none by more than about a hundred, so no sum can overflow an int.
constexpr int WEIGHTLIMIT = 100000;

// A key that names one setting: a letter (0 for none) and a long name (nullptr for none).
struct keyrow {
  char letter;
  const char *name;
  int *setting;
};

// The keys of one file: the first piecekeys men of a value table indexed by piece code (a key
// sets White's entry and Black's six codes further on), then single settings.
struct keyset {
  int *pieces;
  int piecekeys;
  const keyrow *rows;
  int rowcount;
};

int readconfigline(FILE *file, char *line, int keep);  // next whole line; its length, at most keep + 1; -1 at the end
int leadingnumber(const char *text);     // leading blanks, a sign and digits as an int; 0 without digits
int clampint(long long value);           // value held within the range of an int
int holdweight(long long value);         // value held within the weight range, counted in clampedvalues
void printclamped();                     // the listing's line on held values, only when there were any
extern int clampedvalues;                // values a file gave out of the weight range since the last listing
int findkey(const keyset *keys, const char *text, int length, int **targets);  // the settings text names

// The atomic weights shared by the relative and the absolute file (relativefiles.cpp, absolutefile.cpp).
extern const keyset atomicrelativekeys;  // korvel.rc: every atomic weight but checklevel
extern const keyset atomicabsolutekeys;  // korvel.rc2: the same and checklevel
void readpairfile(const char *name, const char *shown, const keyset *keys);  // a key-and-value file, if there

#endif
