// Game globals and search-control globals of the front end.
#include "frontend/frontend.h"

#include <cstring>

int color = 0;
int gameply = 0;
int ltop = 1;
signed char linef[GAMERECORDSIZE];
signed char linet[GAMERECORDSIZE];
int finfrom = 0;
int finto = 0;
int inputfrom = 1;
int inputto = 1;
int oppromo = 0;
int fiftycount = 0;
historyrecord gamehistory[HISTORYSIZE];
int historycount = 0;
int playagain = 1;
int endgameflag = 0;
int lateendgameflag = 0;
int startmaterial = 0;

int promopiece = 0;
int promomark = 0;
int discardmove = 0;
int stopsearch = 0;
int timeleft = 0;
int levelmoves = 0;
int levelbase = 0;
int levelinc = 0;
int movetime = 0;
unsigned searchstart = 0;
unsigned thinkstart = 0;
int pollinterval = 500;
int searchdepth = 0;
int depthcap = 0;
int iterations = 0;
int iterfrom[MAXITERATIONS];
int iterto[MAXITERATIONS];
int iterpromo[MAXITERATIONS];
long long nodes = 0;
int postmode = 0;
int resetholdings = 0;

// Puts every front-end global back to its value at load.
void resetgame() {
  color = 0;
  gameply = 0;
  ltop = 1;
  memset(linef, 0, sizeof linef);
  memset(linet, 0, sizeof linet);
  finfrom = finto = 0;
  inputfrom = inputto = 1;
  oppromo = 0;
  fiftycount = 0;
  memset(gamehistory, 0, sizeof gamehistory);
  historycount = 0;
  playagain = 1;
  endgameflag = lateendgameflag = 0;
  startmaterial = 0;
  promopiece = promomark = discardmove = stopsearch = 0;
  timeleft = levelmoves = levelbase = levelinc = 0;
  movetime = 0;
  searchstart = thinkstart = 0;
  pollinterval = 500;
  searchdepth = depthcap = iterations = 0;
  memset(iterfrom, 0, sizeof iterfrom);
  memset(iterto, 0, sizeof iterto);
  memset(iterpromo, 0, sizeof iterpromo);
  nodes = 0;
  postmode = 0;
  resetholdings = 0;
}
