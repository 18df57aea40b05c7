// The settings that options and configuration files may change, with their built-in defaults.
#include "config/config.h"
#include "config/configfile.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

// Defaults, kept apart so that resetconfig can restore them.
static const int defaultregularvalue[13] = {0, 100, 305, 295, 520, 930, 400, -100, -305, -295, -520, -930, -400};
static const int defaultcrazyvalue[13] = {0, 150, 305, 295, 520, 930, 400, 150, 305, 295, 520, 930, 400};
constexpr int DEFAULTCRAZYCHECKPLY = 2;
// The pawn square tables, indexed by square (a1 = 1), listed rank 1 first.
static const int defaultpawntable[65] = {0,
      0,   0,   0,   0,   0,   0,   0,   0,  // rank 1
      9,   9,   9,   0,   0,   9,   9,   9,  // rank 2
      6,   8,   8,  10,  10,   8,   8,   6,  // rank 3
      6,   8,  12,  20,  20,  12,   8,   6,  // rank 4
      8,  12,  12,  16,  16,  12,  12,   8,  // rank 5
     42,  46,  44,  42,  42,  44,  46,  42,  // rank 6
     82,  86,  84,  82,  82,  84,  86,  82,  // rank 7
      0,   0,   0,   0,   0,   0,   0,   0  // rank 8
};
static const int defaultbpawntable[65] = {0,
      0,   0,   0,   0,   0,   0,   0,   0,  // rank 1
    -82, -86, -84, -82, -82, -84, -86, -82,  // rank 2
    -42, -46, -44, -42, -42, -44, -46, -42,  // rank 3
     -8, -12, -12, -26, -16, -12, -12,  -8,  // rank 4
     -6,  -8, -12, -20, -20, -12,  -8,  -6,  // rank 5
     -6,  -8,  -8, -10, -10,  -8,  -8,  -6,  // rank 6
     -9,  -9,  -9,   0,   0,  -9,  -9,  -9,  // rank 7
      0,   0,   0,   0,   0,   0,   0,   0  // rank 8
};

int hashfactor = DEFAULTHASHFACTOR;
int maxdepth = NODEPTHCAP;
int maxdepthT = NODEPTHCAP;
int maxdepthA = NODEPTHCAP;
int maxdepthC = NODEPTHCAP;
int maxdepthS = NODEPTHCAP;
int maxdepthL = NODEPTHCAP;
int fixedtime = NOFIXEDTIME;
int fixedtimeleft = NOFIXEDTIME;
int ficsrules = 0;
int norc = 0;
char *atomicbookblack = nullptr;
char *atomicbookwhite = nullptr;
char *rc2name = nullptr;
char *rcname = nullptr;
int mainline = 0;
int whisperline = 0;
int fullmode = 0;
int regularvalue[13];
int crazyvalue[13];
int crazycheckply = DEFAULTCRAZYCHECKPLY;
int kingsafetydivisor = DEFAULTKINGSAFETYDIVISOR;
int pawntable[65];
int bpawntable[65];
int startmaterial = 0;

// Fills the tables at load, before any code runs.
[[maybe_unused]] static const bool filled = (resetconfig(), true);

// Puts every setting back to its built-in default. The file-name buffers keep their contents.
void resetconfig() {
  hashfactor = DEFAULTHASHFACTOR;
  maxdepth = maxdepthT = maxdepthA = maxdepthC = maxdepthS = maxdepthL = NODEPTHCAP;
  fixedtime = fixedtimeleft = NOFIXEDTIME;
  ficsrules = norc = 0;
  mainline = whisperline = 0;
  fullmode = 0;
  memcpy(regularvalue, defaultregularvalue, sizeof regularvalue);
  memcpy(crazyvalue, defaultcrazyvalue, sizeof crazyvalue);
  crazycheckply = DEFAULTCRAZYCHECKPLY;
  kingsafetydivisor = DEFAULTKINGSAFETYDIVISOR;
  memcpy(pawntable, defaultpawntable, sizeof pawntable);
  memcpy(bpawntable, defaultbpawntable, sizeof bpawntable);
  startmaterial = 0;
  clampedvalues = 0;
  resetweights();
}

// Allocates a file-name buffer of FILENAMESIZE bytes holding text.
static char *newname(const char *text) {
  char *name = (char *)calloc(FILENAMESIZE, 1);
  if (name) snprintf(name, FILENAMESIZE, "%s", text);
  return name;
}

// Allocates the four file-name buffers with their default names. Answers 0 when memory ran out.
int allocatenames() {
  freenames();
  atomicbookblack = newname("atomicBookBlack.txt");
  atomicbookwhite = newname("atomicBookWhite.txt");
  rc2name = newname("korvel.rc2");
  rcname = newname("korvel.rc");
  return atomicbookblack && atomicbookwhite && rc2name && rcname;
}

// Releases the file-name buffers.
void freenames() {
  free(atomicbookblack);
  free(atomicbookwhite);
  free(rc2name);
  free(rcname);
  atomicbookblack = atomicbookwhite = rc2name = rcname = nullptr;
}
