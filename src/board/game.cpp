// The game as the engine and the opponent play it: the engine's colour, the half-move counter, the
// game record and history, the move the engine is about to play, the game's hands, pawn-born lists
// and en-passant markers. The front end writes them; the engines and books read them.
#include "board/board.h"

#include <cstring>

int color = 0;
int gameply = 0;
int ltop = 1;
signed char linef[GAMERECORDSIZE];
signed char linet[GAMERECORDSIZE];
int finfrom = 0;
int finto = 0;
int promopiece = 0;
int fiftycount = 0;
historyrecord gamehistory[HISTORYSIZE];
int historycount = 0;
int endgameflag = 0;
int lateendgameflag = 0;
int gamewheld[HANDSLOTS];
int gamebheld[HANDSLOTS];
int gamewpieces[PAWNBORNSLOTS];
int gamebpieces[PAWNBORNSLOTS];
int gameepsquares[65];
int rootepflag = 0;
int lastcapture = 0;

// Puts every game global back to its value at load: the engine Black, no moves, empty hands and
// the pawn-born lists of the starting position.
void resetgamerecord() {
  color = 0;
  gameply = 0;
  ltop = 1;
  memset(linef, 0, sizeof linef);
  memset(linet, 0, sizeof linet);
  finfrom = finto = 0;
  promopiece = 0;
  fiftycount = 0;
  memset(gamehistory, 0, sizeof gamehistory);
  historycount = 0;
  endgameflag = lateendgameflag = 0;
  resetlists(gamewheld, gamebheld, gamewpieces, gamebpieces);
  memset(gameepsquares, 0, sizeof gameepsquares);
  rootepflag = lastcapture = 0;
}
