// The choice of a book move: the slot that fits the variant and the side to move, the game so far
// followed down that slot's tree, one continuation drawn at random, and the fixed random first
// moves that replace the book on the engine's first move as White.
#include "book/book.h"

#include "config/config.h"

int firstmovebooks = 0;

static int chooseslot();
static void followgame();
static int collectcandidates(int *candfrom, int *candto);
static void drawcandidate();
static void fixedfirstmove();
static void atomicfirstmove();

// Converts a board square to a book square and back: the same square with the engine as White,
// the square of the turned board with the engine as Black.
int booksquare(int sq) { return color ? sq : turnsquare(sq); }

// 1 when from-to is one of the count moves of the 1-based list.
int inmovelist(int from, int to, const int *movefrom, const int *moveto, int count) {
  for (int i = 1; i <= count; i++)
    if (movefrom[i] == from && moveto[i] == to) return 1;
  return 0;
}

// Sets finfrom-finto to a book move for the game so far (0-0 when there is none). Random draws come
// from the engine's generator, seeded from the time of day at start-up, so every call draws afresh
// (seeding again from the clock would repeat a draw within the same second). Every call starts from
// the root of slot 0, so the cursor left by an earlier call is never followed.
int choosebookmove() {
  bookcursor = &bookroot[BIGBOOKSLOT];
  int slot = chooseslot();
  if (slot >= 0) bookcursor = &bookroot[slot];
  finfrom = finto = 0;
  followgame();
  drawcandidate();
  if (color == 1 && ltop == 1) fixedfirstmove();
  return 0;
}

// The slot for the variant and the side to move (gameply odd: White), or -1 to stay at slot 0's
// root (atomic, White to move at the second entry of the record, which no game reaches).
static int chooseslot() {
  int whitetomove = gameply % 2 != 0;
  if (atomicmode) {
    if (!whitetomove) return ltop <= 2 && firstmovebooks ? ATOMICSECONDSLOT : ATOMICBLACKSLOT;
    output("\nset location\n");
    if (ltop > ATOMICFIRSTPLIES || !firstmovebooks) return ATOMICWHITESLOT;
    if (ltop == 1) return ATOMICFIRSTSLOT;
    if (ltop == ATOMICFIRSTPLIES) return ATOMICTHIRDSLOT;
    return -1;
  }
  if (threecheckmode) return whitetomove ? THREEWHITESLOT : THREEBLACKSLOT;
  if (twokingsmode) return whitetomove ? KINGSWHITESLOT : KINGSBLACKSLOT;
  if (antimode && !losersmode) return whitetomove ? SUICIDEWHITESLOT : SUICIDEBLACKSLOT;
  if (losersmode) return whitetomove ? LOSERSWHITESLOT : LOSERSBLACKSLOT;
  if (crazymode) return whitetomove ? CRAZYWHITESLOT : CRAZYBLACKSLOT;
  return NORMALSLOT;
}

// Walks the tree along the game record: at each half-move the cursor's chain (the cursor, then
// its siblings) is searched for the move played, and the cursor goes on to that node's
// continuation. A move the tree does not hold leaves the cursor null: the game is out of book.
static void followgame() {
  if ((color != 0 && color != 1) || ltop <= 1) return;
  for (int j = 1; j < ltop && j < GAMERECORDSIZE && bookcursor; j++) {
    int from = booksquare(linef[j]);
    int to = booksquare(linet[j]);
    booknode *node = bookcursor;
    while (node && !(node->from == from && node->to == to)) node = node->sibling;
    bookcursor = node ? node->child : nullptr;
  }
}

// Lists the moves of the cursor's chain in board numbering (entry 0 first). A move counts once,
// except for the weighted atomic books, where each node is a chance of its own. Answers the count.
static int collectcandidates(int *candfrom, int *candto) {
  int count = 0;
  for (booknode *node = bookcursor; node; node = node->sibling) {
    int from = booksquare(node->from);
    int to = booksquare(node->to);
    if (!firstmovebooks) {
      int seen = 0;
      for (int i = 0; i < count && !seen; i++) seen = candfrom[i] == from && candto[i] == to;
      if (seen) continue;
    }
    int slot = count < BOOKCANDIDATECAP ? count++ : BOOKCANDIDATECAP - 1;
    candfrom[slot] = from;
    candto[slot] = to;
  }
  return count;
}

// Draws one candidate into finfrom-finto. At the first half-move the chain began at the root,
// whose empty move stands in entry 0 and is never drawn.
static void drawcandidate() {
  int candfrom[BOOKCANDIDATES];
  int candto[BOOKCANDIDATES];
  int count = collectcandidates(candfrom, candto);
  int entry = -1;
  if (count > 0 && ltop > 1) entry = randomdraw() % count;
  if (count > 1 && ltop == 1) entry = randomdraw() % (count - 1) + 1;
  if (entry < 0) return;
  finfrom = candfrom[entry];
  finto = candto[entry];
}

// The engine's first move of a game as White: in normal chess and crazyhouse e2e4, d2d4 or c2c4
// (2 : 2 : 1) unless noblitzmove; in 3check one of five unless nocheckmove; in atomic the weighted
// first-move book, or g1f3/g1h3 without it. Twokings and the antichess family keep the book's move.
static void fixedfirstmove() {
  static const int blitzfrom[5] = {SQE2, SQD2, SQC2, SQE2, SQD2};
  static const int blitzto[5] = {SQE4, SQD4, SQC4, SQE4, SQD4};
  static const int checkfrom[5] = {SQE2, SQE2, SQD2, SQB1, SQC2};
  static const int checkto[5] = {SQE4, SQE3, SQD4, SQC3, SQC3};
  if (!threecheckmode && !twokingsmode && !antimode && !atomicmode && !noblitzmove) {
    int r = randomdraw() % 5;
    finfrom = blitzfrom[r];
    finto = blitzto[r];
  }
  if (threecheckmode && !nocheckmove) {
    int r = randomdraw() % 5;
    finfrom = checkfrom[r];
    finto = checkto[r];
  }
  if (atomicmode) atomicfirstmove();
}

// Atomic, first move as White: g1f3 or g1h3, replaced by a first move of the first-move book drawn
// with the weight of how often the book writes it.
static void atomicfirstmove() {
  int r = randomdraw() % 2;
  finfrom = SQG1;
  finto = r == 0 ? SQF3 : SQH3;
  bookcursor = &bookroot[ATOMICFIRSTSLOT];
  int candfrom[BOOKCANDIDATES];
  int candto[BOOKCANDIDATES];
  int count = 0;
  for (booknode *node = bookcursor; node && count < BOOKCANDIDATES; node = node->sibling) {
    candfrom[count] = node->from;
    candto[count] = node->to;
    count++;
  }
  if (count <= 1) return;
  output("\nselecting move\n");
  int entry = randomdraw() % (count - 1) + 1;
  finfrom = candfrom[entry];
  finto = candto[entry];
}
