// korvel-bookcheck: checks the opening books of a folder with the engine's own move generators.
//   korvel-bookcheck [FOLDER]
// Loads the books as the engine does at start-up (from FOLDER, default the working directory) and
// replays every line of every book in the variants that consult it. Prints a line per check: the
// file, the variant, the lines, the moves and the illegal moves with the first illegal line. A
// variant whose engine is not built yet is reported as not checked. Exit status 1 when any move is
// illegal, 2 for bad arguments.
#include <cstdio>
#include <unistd.h>

#include "bookcheck.h"
#include "book/book.h"
#include "config/config.h"

constexpr int BADUSAGE = 2;
constexpr int ILLEGALFOUND = 1;

int main(int argc, char **argv) {
  if (argc > 2 || (argc == 2 && chdir(argv[1]) != 0)) {
    fprintf(stderr, "korvel-bookcheck: usage: korvel-bookcheck [FOLDER]\n");
    return BADUSAGE;
  }
  initkeys(1);
  allocatenames();
  loadbooks();
  int status = 0;
  for (const bookcheckrow &row : bookchecks) {
    const char *name = row.slot == OPENBKCHECK ? "openbk.txt" : bookfilename(row.slot);
    bookcheckresult result;
    if (!runbookcheck(&row, &result)) {
      output("%-22s %-10s not checked: no engine of its own yet\n", name, row.variant);
      continue;
    }
    output("%-22s %-10s %5d lines %6d moves %d illegal%s%s\n", name, row.variant, result.lines, result.nodes,
           result.illegal, result.illegal ? ": " : "", result.firstillegal);
    if (result.illegal) status = ILLEGALFOUND;
  }
  freebook();
  freenames();
  return status;
}
