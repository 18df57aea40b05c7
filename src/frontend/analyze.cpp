// Analyze mode: the engine searches the side on move of the game's position and shows its
// thinking lines, but plays no move. The search runs until a command comes; when it ends on its
// own (the depth cap, or a mate found), the engine waits for the next command.
#include "frontend/frontend.h"

constexpr int ANALYSISTIME = 7 * 24 * 3600 * 1000;  // milliseconds: a search that only a command ends
constexpr int ANALYSISPOLL = 500;                   // nodes between polls: the least the search spends on them

// Analyses the position on the board: the engine takes the colour of the side on move, so that
// the search sees it as its own, and deepens with the variant's engine to the depth cap with
// thinking output on. A position without a legal move has nothing to show. No book, no move, no
// result line.
void analysispass() {
  const variantrow *variant = currentvariant();
  const enginerow *engine = engineof(variant);
  if (!enginetomove()) {
    color = sidetomove();
    rebuildposition();
  }
  postmode = 1;
  resetmovecounters();
  thinkstart = searchstart = gettickcount();
  movetime = ANALYSISTIME;
  pollinterval = ANALYSISPOLL;
  engine->generate(rootfrom, rootto, &rootcount, 1, gameepsquares);
  rootcount = legalrootmoves(rootfrom, rootto, rootcount);
  if (rootcount > 0) {
    findkings();
    depthcap = movedepthcap(variant);
    int score = PASSNOSCORE;
    deepen(engine, &score);
  }
  discardmove = 0;
  promopiece = 0;
  analysed = !commandwaiting;
}
