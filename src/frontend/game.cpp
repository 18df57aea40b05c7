// The front end's globals: what the reader hands over, the clocks, the root move list and the
// protocol switches; and the resets of all process-wide state.
#include "frontend/frontend.h"

#include "atomic/atomic.h"
#include "book/book.h"
#include "regular/regular.h"

#include <cstring>

int inputfrom = 1;
int inputto = 1;
int oppromo = 0;
int playagain = 1;
int promomark = 0;
int timeleft = 0;
int levelmoves = 0;
int levelbase = 0;
int levelinc = 0;
int otherclock = 0;
int clockgiven = 0;
int forcemode = 0;
int gameover = 0;
int setboardflag = 0;
int rootfrom[MAXMOVES];
int rootto[MAXMOVES];
int rootcount = 0;
int icsmode = 0;
int analyzing = 0;
int analysed = 0;
int commandwaiting = 0;
int movetimelimit = 0;
int movedepthlimit = 0;

// Puts every front-end global back to its value at load.
void resetgame() {
  inputfrom = inputto = 1;
  oppromo = 0;
  playagain = 1;
  promomark = 0;
  timeleft = levelmoves = levelbase = levelinc = 0;
  otherclock = clockgiven = 0;
  forcemode = gameover = 0;
  setboardflag = 0;
  memset(rootfrom, 0, sizeof rootfrom);
  memset(rootto, 0, sizeof rootto);
  rootcount = 0;
  icsmode = 0;
  analyzing = analysed = commandwaiting = 0;
  movetimelimit = movedepthlimit = 0;
  resetinput();
  resetlag();
}

// Puts all process-wide state back to its value at load: board, game record, variant flags,
// settings, search control, the regular and atomic engines' state, the front end and the books
// (their trees freed). Tests start from
// here. The table keeps its size and contents; the key tables stay as drawn.
void resetall() {
  resetboard();
  resetgamerecord();
  resetconfig();
  resetcontrol();
  resetregular();
  resetatomic();
  resetgame();
  resetbooks();
  hashcuts = 0;
}
