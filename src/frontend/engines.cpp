// The engine table: every engine the front end, the tools and the tests reach, and which engine
// plays a variant.
#include "frontend/frontend.h"

#include "antichess/antichess.h"
#include "atomic/atomic.h"
#include "regular/regular.h"

const enginerow enginetable[ENGINES] = {
    {"regular", ROOTALPHA, ROOTBETA, resetsearchcounters, regularrootkey, regularroot, regulargenerate, regulartry, plainuntry,
     printregularmove, 0, regularfullroot, KINGSCORE},
    {"atomic", ATOMICALPHA, ATOMICBETA, atomicnewsearch, atomicgamekey, atomicroot, atomicgenerate, atomictry, atomicuntry,
     printregularmove, 0, atomicfullroot, ATOMICWIN},
    {"antichess", ANTIALPHA, ANTIBETA, antinewsearch, antirootkey, antiroot, antigeneraterow, antitry, plainuntry,
     printantimove, 1, antifullroot, ANTIWIN},
};

// The engine that plays a variant: its own, or the regular engine while its own is not built.
const enginerow *engineof(const variantrow *variant) {
  assert(variant && variant->engine >= 0 && variant->engine < ENGINES);
  const enginerow *engine = &enginetable[variant->engine];
  return engine->rootsearch ? engine : &enginetable[ENGINEREGULAR];
}
