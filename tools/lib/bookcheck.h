// Checks the opening books with the engine's own move generators: every line of a book tree, and
// every line of the small book, must be a run of legal moves from the starting position of its
// variant. Shared by korvel-bookcheck and the tests.
#ifndef KORVEL_BOOKCHECK_H
#define KORVEL_BOOKCHECK_H

constexpr int BOOKCHECKTEXTSIZE = 512;  // room for the first illegal line in text

struct bookcheckresult {
  int lines;                            // lines checked (leaves of a tree, rows of the small book)
  int nodes;                            // moves checked
  int illegal;                          // moves that were not legal where the line plays them
  char firstillegal[BOOKCHECKTEXTSIZE]; // the first illegal line up to its illegal move ("e2e4 e7e5 e1e3")
};

// One check of the shipped books: a slot (or the small book) in one variant from one position.
struct bookcheckrow {
  int slot;                             // book slot, or OPENBKCHECK for the small book
  const char *variant;                  // the variant its lines must be legal in
  const char *fen;                      // the position they start from, null for the starting position
};
constexpr int OPENBKCHECK = -1;         // bookcheckrow.slot of the small book
constexpr int BOOKCHECKS = 23;
extern const bookcheckrow bookchecks[BOOKCHECKS];

// Checks the tree of a loaded slot in the variant, from the FEN (null: the starting position).
// Answers 0 when the position cannot be set up in that variant (no engine of its own yet, or a bad
// FEN), else 1 with the counts in *result.
int checkbookslot(int slot, const char *variant, const char *fen, bookcheckresult *result);
// The same for the lines of the loaded small book.
int checkopenbk(const char *variant, const char *fen, bookcheckresult *result);
// Runs one row of bookchecks on the loaded books.
int runbookcheck(const bookcheckrow *row, bookcheckresult *result);

#endif
