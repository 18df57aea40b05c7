// The book trees: one per slot, built line by line from the book files. Lines share nodes for as
// long as their moves agree; at a slot's split ply every line gets a node of its own, so that a
// move written k times there has k chances when a move is drawn.
#include "book/book.h"

#include <cstdlib>

constexpr int SPLITNONE = 0;            // equal moves are shared at every ply
constexpr int SPLITEVERY = -1;          // equal moves are never shared

booknode bookroot[BOOKSLOTS];
booknodecell *booknodelist = nullptr;
int bookcounter = 0;
int bigbookidcounter = 0;
booknode *bookcursor = &bookroot[BIGBOOKSLOT];
int booktype = 0;
int bookloaded = 0;

// The ply of a slot at which equal moves are not shared (SPLITNONE, SPLITEVERY or a ply).
static int splitply(int slot) {
  switch (slot) {
    case ATOMICFIRSTSLOT: return SPLITEVERY;
    case ATOMICSECONDSLOT: return 2;
    case ATOMICTHIRDSLOT: return 3;
    default: return SPLITNONE;
  }
}

// Inserts one line (moves 1..count, book numbering) into the tree of slot booktype: follows the
// nodes the line shares with earlier lines and hangs the rest below the last shared node, a new
// alternative at the end of its sibling chain. A line already in the tree, or a prefix of one,
// adds nothing (outside the split ply). Leaves bookcursor on the last node touched.
void addbookline(const signed char *from, const signed char *to, int count) {
  assert(booktype >= 0 && booktype < BOOKSLOTS && count >= 0 && count <= BOOKMAXMOVES);
  int split = splitply(booktype);
  bookcursor = &bookroot[booktype];
  int k = 1;
  while (k <= count) {
    int splithere = split == SPLITEVERY || split == k;
    if (!splithere && bookcursor->from == from[k] && bookcursor->to == to[k]) {
      if (bookcursor->child) {
        bookcursor = bookcursor->child;
        k++;
        continue;
      }
      if (k < count) appendbookline(from, to, count, k + 1, 0);
      return;
    }
    if (bookcursor->sibling) {
      bookcursor = bookcursor->sibling;
      continue;
    }
    appendbookline(from, to, count, k, 1);
    return;
  }
}

// Creates nodes for moves k..count: the first hangs on bookcursor as its sibling (assibling 1) or
// its child, each further one as the child of the one before. Memory running out ends the line
// where it stands.
void appendbookline(const signed char *from, const signed char *to, int count, int k, int assibling) {
  assert(k >= 1 && count <= BOOKMAXMOVES);
  for (int i = k; i <= count; i++) {
    if (!newbooknode(from, to, i, i == k ? assibling : 0)) return;
  }
}

// Allocates the node of move k, hangs it on bookcursor (as sibling or child), moves the cursor to
// it and registers it. Answers 0, changing nothing, when memory runs out.
int newbooknode(const signed char *from, const signed char *to, int k, int assibling) {
  assert(bookcursor && k >= 1 && k <= BOOKMAXMOVES);
  booknode *node = (booknode *)malloc(sizeof(booknode));
  if (!node) return 0;
  if (!registerbooknode(node)) {
    free(node);
    return 0;
  }
  bookcounter++;
  node->from = from[k];
  node->to = to[k];
  node->sibling = nullptr;
  node->child = nullptr;
  if (assibling) {
    bookcursor->sibling = node;
  } else {
    bookcursor->child = node;
  }
  bookcursor = node;
  return 1;
}

// Pushes a registry cell for the node at the head of booknodelist; 0 when memory runs out.
int registerbooknode(booknode *node) {
  booknodecell *cell = (booknodecell *)malloc(sizeof(booknodecell));
  if (!cell) return 0;
  cell->node = node;
  cell->next = booknodelist;
  booknodelist = cell;
  bigbookidcounter++;
  return 1;
}

// Frees every node and registry cell. The roots no longer lead anywhere, and the cursor goes back
// to the root of slot 0, so nothing points at freed memory.
void freebook() {
  while (booknodelist) {
    booknodecell *cell = booknodelist;
    booknodelist = cell->next;
    free(cell->node);
    free(cell);
  }
  clearbookroots();
}

// Empties the eighteen roots: move 0-0, no first moves.
void clearbookroots() {
  for (booknode &root : bookroot) {
    root.from = root.to = 0;
    root.sibling = root.child = nullptr;
  }
  bookcursor = &bookroot[BIGBOOKSLOT];
}
