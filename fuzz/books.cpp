// Fuzz target of the book readers: the first byte chooses the file (the book of one of the
// eighteen slots, or openbk.txt), the rest is its text. After loading, every tree must be sound
// (squares on the board, lines no longer than a book line may be, every node counted and
// registered once), the small book's tables must hold board squares only, and asking the books
// for a move in every variant and colour must answer a move on the board or none.
#include "fuzzing.h"

#include "board/board.h"
#include "book/book.h"
#include "config/config.h"
#include "control/control.h"
#include "frontend/frontend.h"
#include "perft.h"

#include <string>

constexpr int OPENBKCHOICE = BOOKSLOTS;  // the selector value of openbk.txt

// Counts the nodes below node (its siblings included) and checks their squares and depth.
static int countnodes(const booknode *node, int depth) {
  int count = 0;
  for (; node; node = node->sibling) {
    if (depth > BOOKMAXMOVES) fuzzfail("a book line longer than a line may be");
    if (node->from < 1 || node->from > 64 || node->to < 1 || node->to > 64) fuzzfail("a book square off the board");
    count += 1 + countnodes(node->child, depth + 1);
  }
  return count;
}

// The trees and the registry agree with the counters.
static void checktrees() {
  int treenodes = 0;
  for (int slot = 0; slot < BOOKSLOTS; slot++) {
    if (bookroot[slot].from || bookroot[slot].to || bookroot[slot].child) fuzzfail("a root holds a move");
    treenodes += countnodes(bookroot[slot].sibling, 1);
  }
  int cells = 0;
  for (const booknodecell *cell = booknodelist; cell; cell = cell->next) cells++;
  if (treenodes != bookcounter || cells != bigbookidcounter || cells != treenodes) fuzzfail("book counters disagree");
  for (int i = 0; i < OPENBKSIZE; i++)
    if (openbkfrom[i] > 64 || openbkto[i] > 64) fuzzfail("a small-book square off the board");
}

// 1 when finfrom-finto is no move or a move on the board.
static int choiceok() { return (finfrom == 0 && finto == 0) || (finfrom >= 1 && finfrom <= 64 && finto >= 1 && finto <= 64); }

// Asks the books in every variant, for either colour, on the first move and after 1. e2e4.
static void askbooks() {
  int movefrom[MAXMOVES], moveto[MAXMOVES], count = 0;
  for (int v = 0; v < VARIANTS; v++) {
    for (int engine = 0; engine <= 1; engine++) {
      setvariantflags(varianttable[v].flags, varianttable[v].clears);
      color = engine;
      perftsetup(varianttable[v].name, nullptr);
      resetgamerecord();
      gameply = ltop = 1;
      if (engine == 0) {
        recordmove(booksquare(SQE2), booksquare(SQE4));
        gameply = 2;
      }
      perftgenerate(movefrom, moveto, &count, 1, gameepsquares);
      openbkdone = 0;
      bookstep(movefrom, moveto, count);
      if (!choiceok()) fuzzfail("a book move off the board");
      chooseopenbk(movefrom, moveto, count);
      if (!choiceok()) fuzzfail("a small-book move off the board");
    }
  }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  fuzzprepare();
  if (size < 1) return 0;
  freshstate();
  int choice = data[0] % (BOOKSLOTS + 1);
  writefuzzfile(choice == OPENBKCHOICE ? "openbk.txt" : bookfilename(choice), data + 1, size - 1);
  startcapture();
  loadbooks();
  checktrees();
  askbooks();
  std::string text = endcapture();
  checkoutput(text);
  resetbooks();
  return 0;
}
