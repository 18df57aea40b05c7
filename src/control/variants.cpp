// The variant table: every variant the engine plays, with the flags it sets, the engine that
// searches it and the setting that caps its depth; and the functions that set the flags from it.
#include "control/control.h"

#include "config/config.h"

#include <cstring>

// In the order of the feature line. "atomic" leaves the 3check flag as it was; game end and
// "new" clear it.
const variantrow varianttable[VARIANTS] = {
    {"atomic", VFATOMIC, VFALL & ~VFTHREECHECK, ENGINEATOMIC, &maxdepthA, CASTLENORMAL},
    {"twokings", VFTWOKINGS, VFALL, ENGINEREGULAR, &maxdepth, CASTLENORMAL},
    {"wildcastle", 0, VFALL, ENGINEREGULAR, &maxdepth, CASTLEWILD},
    {"nocastle", 0, VFALL, ENGINEREGULAR, &maxdepth, CASTLENONE},
    {"3check", VFTHREECHECK, VFALL, ENGINEREGULAR, &maxdepthT, CASTLENORMAL},
    {"normal", 0, VFALL, ENGINEREGULAR, &maxdepth, CASTLENORMAL},
    {"crazyhouse", VFCRAZY, VFALL, ENGINEREGULAR, &maxdepthC, CASTLENORMAL},
    {"giveaway", VFANTI, VFALL, ENGINEANTICHESS, &maxdepthS, CASTLENORMAL},
    {"suicide", VFANTI | VFSUICIDE, VFALL, ENGINEANTICHESS, &maxdepthS, CASTLENORMAL},
    {"losers", VFANTI | VFLOSERS, VFALL, ENGINEANTICHESS, &maxdepthL, CASTLENORMAL},
};

// The flag globals in the order of the VF bits.
static int *const flagglobals[] = {&atomicmode, &threecheckmode, &crazymode, &antimode,
                                   &losersmode, &suicidemode, &twokingsmode};
constexpr int FLAGCOUNT = (int)(sizeof flagglobals / sizeof flagglobals[0]);

// The row of a whole variant name, or null.
const variantrow *findvariant(const char *name) {
  for (const variantrow &v : varianttable)
    if (strcmp(name, v.name) == 0) return &v;
  return nullptr;
}

// The row whose name begins with the first six characters of text (as the protocol reader
// compares them), or null.
const variantrow *matchvariant(const char *text) {
  for (const variantrow &v : varianttable)
    if (strncmp(text, v.name, VARIANTPREFIX) == 0) return &v;
  return nullptr;
}

// Clears the flags named by clear, then sets those named by set (VF bits).
void setvariantflags(int set, int clear) {
  for (int i = 0; i < FLAGCOUNT; i++) {
    if (clear & (1 << i)) *flagglobals[i] = 0;
    if (set & (1 << i)) *flagglobals[i] = 1;
  }
}

// The variant flags in force, as VF bits.
int variantflags() {
  int flags = 0;
  for (int i = 0; i < FLAGCOUNT; i++)
    if (*flagglobals[i]) flags |= 1 << i;
  return flags;
}

// The row of the flags in force: the one that sets exactly these flags (normal chess for none);
// when the flags mix two variants (atomic after 3check), the first row of the table whose flags
// are all set.
const variantrow *currentvariant() {
  int flags = variantflags();
  for (int i = VARIANTS - 1; i >= 0; i--)
    if (varianttable[i].flags == flags) return &varianttable[i];
  for (const variantrow &v : varianttable)
    if (v.flags && (flags & v.flags) == v.flags) return &v;
  return findvariant("normal");
}
