// The absolute-weights file of the atomic engine, and the key-and-value format it shares with the
// variant weight files: lines alternate between a key line and a value line, and each pair sets
// the settings its key names to its value, held within the weight range.
#include "config/config.h"
#include "config/configfile.h"

#include "board/board.h"

// The atomic weights besides the men's values. checklevel comes last: only the absolute file
// knows it, the relative file takes every row before it.
static const keyrow atomicrows[] = {
    {'y', "passedbonus", &passedbonus},
    {'z', "castlebonus", &castlebonus},
    {'i', "rookkingbonus", &rookkingbonus},
    {'j', "kingkingbonus", &kingkingbonus},
    {'k', "randombonus", &randombonus},
    {'l', "bishopkingbonus", &bishopkingbonus},
    {'m', "queencheckbonus", &queencheckbonus},
    {'a', "kingpawnpentalty", &kingpawnpenalty},  // the long name has always been spelled so
    {'o', "sidekingpawnpenalty", &sidekingpawnpenalty},
    {'h', "checklevel", &checklevel},
};
constexpr int ATOMICROWS = sizeof atomicrows / sizeof atomicrows[0];

const keyset atomicrelativekeys = {piecevalue, PIECEKEYS, atomicrows, ATOMICROWS - 1};
const keyset atomicabsolutekeys = {piecevalue, PIECEKEYS, atomicrows, ATOMICROWS};

// Reads key and value lines by turns, starting with a key line; every line counts, an empty one
// too. At the end of each value line the key line is compared whole with the keys, and what it
// names takes the value, unscaled and unchecked. A key line with no value line after it changes
// nothing. Each line keeps at most ABSOLUTEKEEP characters; what a longer line holds beyond them
// is dropped, and the line still counts as one line.
static void readpairs(FILE *file, const keyset *keys) {
  char keyline[ABSOLUTEKEEP + 1];
  char valueline[ABSOLUTEKEEP + 1];
  for (;;) {
    int keylength = readconfigline(file, keyline, ABSOLUTEKEEP);
    if (keylength < 0 || readconfigline(file, valueline, ABSOLUTEKEEP) < 0) return;
    int *targets[MAXTARGETS];
    int count = findkey(keys, keyline, keylength < ABSOLUTEKEEP ? keylength : ABSOLUTEKEEP, targets);
    if (count == 0) continue;
    int value = holdweight(leadingnumber(valueline));
    for (int i = 0; i < count; i++) *targets[i] = value;
  }
}

// Reads the key-and-value file name with the keys given, writing "opened" with shown when the
// file is there. A missing file changes nothing and says nothing.
void readpairfile(const char *name, const char *shown, const keyset *keys) {
  FILE *file = openconfigfile(datafile(name, CONFIGFILE));
  if (!file) return;
  output("\n opened %s", shown);
  readpairs(file, keys);
  fclose(file);
}

// Reads the absolute-weights file named by rc2name. It announces itself by its usual name even
// when the option gave it another.
void readrc2() { readpairfile(rc2name, "korvel.rc2", &atomicabsolutekeys); }
