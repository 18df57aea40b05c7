// korvel-perft: counts the legal move paths of a position with the engine's own generators and
// make/unmake.
//   korvel-perft --variant NAME --fen 'FEN' --depth N [--divide] [--fics]
// Without --fen the starting position is used; --fics castles by the chess server's rules (atomic:
// not out of, through or into an attack). The last line written is the total node count;
// the speed goes to standard error. Bad arguments: one line on standard error and exit status 2.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "config/config.h"
#include "perft.h"

constexpr int BADUSAGE = 2;  // exit status for bad arguments

// Writes the one-line complaint and leaves with the usage status.
static int usage(const char *reason) {
  fprintf(stderr, "korvel-perft: %s\n", reason);
  return BADUSAGE;
}

// Reads a depth argument: digits only, 1..PERFTMAXDEPTH; 0 when it is not one.
static int readdepth(const char *text) {
  int depth = 0;
  if (!*text) return 0;
  for (; *text; text++) {
    if (*text < '0' || *text > '9') return 0;
    depth = depth * 10 + (*text - '0');
    if (depth > PERFTMAXDEPTH) return 0;
  }
  return depth;
}

int main(int argc, char **argv) {
  const char *variantname = "normal";
  const char *fen = nullptr;
  int depth = 0;
  int divide = 0;
  setvbuf(stdout, nullptr, _IONBF, 0);
  for (int i = 1; i < argc; i++) {
    int hasvalue = i + 1 < argc;
    if (strcmp(argv[i], "--divide") == 0) {
      divide = 1;
    } else if (strcmp(argv[i], "--fics") == 0) {
      ficsrules = 1;
    } else if (strcmp(argv[i], "--variant") == 0 && hasvalue) {
      variantname = argv[++i];
    } else if (strcmp(argv[i], "--fen") == 0 && hasvalue) {
      fen = argv[++i];
    } else if (strcmp(argv[i], "--depth") == 0 && hasvalue) {
      depth = readdepth(argv[++i]);
      if (depth == 0) return usage("--depth needs a number from 1 to 40");
    } else {
      fprintf(stderr, "korvel-perft: unknown or incomplete argument \"%s\"; usage: korvel-perft --variant NAME "
              "[--fen FEN] --depth N [--divide] [--fics]\n", argv[i]);
      return BADUSAGE;
    }
  }
  if (depth == 0) return usage("missing --depth N");
  if (!findvariant(variantname)) {
    char names[PERFTERRORSIZE] = "unknown variant (";
    for (int i = 0; i < VARIANTS; i++) {
      strncat(names, varianttable[i].name, sizeof names - strlen(names) - 2);
      strncat(names, i + 1 < VARIANTS ? ", " : ")", sizeof names - strlen(names) - 1);
    }
    return usage(names);
  }
  if (!perftsetup(variantname, fen)) return usage(perfterror);

  unsigned start = gettickcount();
  long long total = divide ? perftdivide(depth) : perft(depth);
  unsigned elapsed = gettickcount() - start;
  double persecond = elapsed > 0 ? (double)total * 1000.0 / elapsed : 0.0;
  fprintf(stderr, "time %u ms, %.0f nodes/s\n", elapsed, persecond);
  if (divide) output("\n");
  output("%lld\n", total);
  return 0;
}
