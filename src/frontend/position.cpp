// The game's position as the position it started from (the starting position or a set-up) and
// the moves played since, in real squares. Everything the board holds (men, castling values,
// en-passant markers, hands and pawn-born lists, the fifty-move count, the 3check counters and
// the history) is rebuilt from the two, in the engine's view, whenever the start, the moves or
// the engine's colour change: so a set-up, a take-back or a change of sides leaves exactly the
// position the moves give.
#include "frontend/frontend.h"

#include <cstring>

constexpr int TURNPASS = 0;            // turnfrom/turnto of a change of the side on move without a move

static fenfields startfields;          // the position the game started from
static int startfromfen = 0;           // 1 when it was set up with setboard
static int turnfrom[GAMERECORDSIZE];   // moves of the game, 1-based: real from-square, or the negated real code of a drop
static int turnto[GAMERECORDSIZE];     // real to-square
static int turnpromo[GAMERECORDSIZE];  // real code of the promoted man, 0 for a queen
static int turncount = 0;              // moves of the game

static int realcode(int code) { return code > 0 && color == 0 ? othercolour(code) : code; }

// The game starts from the starting position (the engine's colour is the caller's).
void startposition() {
  readfen(STARTFEN, findvariant("normal"), &startfields);
  startfromfen = 0;
  turncount = 0;
}

// The game starts from the position of a FEN text, with the engine on the side not on move, as
// after "new". A text that is malformed or gives a position that cannot be played changes
// nothing and answers 0.
int setupposition(const char *fen) {
  fenfields f;
  if (!readfen(fen, currentvariant(), &f)) return 0;
  int oldcolor = color;
  color = f.black ? 1 : 0;
  if (!placefen(&f, currentvariant(), color == 0)) {
    color = oldcolor;
    rebuildposition();
    return 0;
  }
  startfields = f;
  startfromfen = 1;
  turncount = 0;
  rebuildposition();
  return 1;
}

// Twokings from the starting position (not on a chess server): the second kings stand on f1 and
// f8 in place of the king's bishops, whichever side the engine plays, for the whole game; the
// interface plays from the same position, so a rebuild after a take-back or a change of sides
// gives the board the game has.
static void twokingsstart() {
  if (!twokingsmode || icsmode || startfromfen) return;
  board[color == 0 ? turnsquare(SQF1) : SQF1] = realcode(WKING);
  board[color == 0 ? turnsquare(SQF8) : SQF8] = realcode(BKING);
}

// Puts the game's position onto the board in the engine's view: the start, then every move of
// the game through the one game-move path. A set-up the current variant cannot play (a second
// king after the variant changed) gives way to the starting position.
void rebuildposition() {
  const variantrow *variant = currentvariant();
  if (!placefen(&startfields, variant, color == 0)) {
    startposition();
    placefen(&startfields, variant, color == 0);
  }
  gameover = 0;
  twokingsstart();
  starthistory();
  ltop = startfromfen ? SETUPLTOP : 1;
  gameply = startfields.black ? 2 : 1;
  int count = turncount;
  turncount = 0;
  for (int i = 1; i <= count; i++) {
    if (turnfrom[i] == TURNPASS) {
      rememberturn(TURNPASS, TURNPASS, 0);
      memset(gameepsquares, 0, sizeof gameepsquares);
      rootepflag = 0;
      gameply++;
      continue;
    }
    int from = turnfrom[i] > 0 ? (color == 0 ? turnsquare(turnfrom[i]) : turnfrom[i]) : -realcode(-turnfrom[i]);
    int to = color == 0 ? turnsquare(turnto[i]) : turnto[i];
    playturn(from, to, realcode(turnpromo[i]));
  }
}

// Adds a move just played on the board (board squares, a promotion code of the mover's colour) to
// the moves of the game, in real squares. A game longer than the list keeps playing; its later
// moves cannot be taken back.
void rememberturn(int from, int to, int promotion) {
  if (turncount >= GAMERECORDSIZE - 1) return;
  turncount++;
  if (from == TURNPASS) {
    turnfrom[turncount] = turnto[turncount] = TURNPASS;
  } else {
    turnfrom[turncount] = from > 0 ? (color == 0 ? turnsquare(from) : from) : -realcode(-from);
    turnto[turncount] = color == 0 ? turnsquare(to) : to;
  }
  turnpromo[turncount] = realcode(promotion);
}

// Takes back the last count half-moves of the game. Answers 0 (and changes nothing) when fewer
// were played since the start.
int takebackturns(int count) {
  if (count < 1 || count > turncount) return 0;
  turncount -= count;
  rebuildposition();
  return 1;
}

// 1 when White is on move: White plays the odd half-moves.
int sidetomove() { return gameply % 2 == 1; }

// 1 when the side on move is the engine's colour.
int enginetomove() { return gameply % 2 == color; }

// Puts the side given on move without a move: at the start of the game its side to move changes
// (and with it the en-passant field), later the change is a pass in the moves of the game.
void setsidetomove(int white) {
  if (sidetomove() == white) return;
  if (turncount == 0) {
    startfields.black = !white;
    startfields.epsquare = 0;
  } else {
    rememberturn(TURNPASS, TURNPASS, 0);
  }
  rebuildposition();
}

// 1 when the move (board squares) is among the moves the side on move may play: generated by the
// variant's engine and allowed by its rules (in atomic with the explosion).
static int legalfor(int ply, const int *movefrom, const int *moveto, int count, int from, int to) {
  const enginerow *engine = engineof(currentvariant());
  for (int i = 1; i <= count; i++) {
    if (movefrom[i] != from || moveto[i] != to) continue;
    int childep[65];
    trialundo undo;
    int legal = engine->trymove(ply, from, to, 0, childep, &undo);
    engine->untrymove(ply, childep, &undo);
    return legal;
  }
  return 0;
}

// The pseudo-legal moves of the side at ply in the game's position; answers their count.
static int gamemoves(int ply, int *movefrom, int *moveto) {
  int count = 0;
  findkings();
  engineof(currentvariant())->generate(movefrom, moveto, &count, ply, gameepsquares);
  return count;
}

// 1 when the side on move may play the move (board squares; a drop has the negated code of the man).
int islegalturn(int from, int to) {
  int ply = enginetomove() ? 1 : 2;
  int movefrom[MAXMOVES];
  int moveto[MAXMOVES];
  int count = gamemoves(ply, movefrom, moveto);
  return legalfor(ply, movefrom, moveto, count, from, to);
}

// 1 when the side at ply (the engine on odd plies) has a legal move in the game's position.
int haslegalmove(int ply) {
  int movefrom[MAXMOVES];
  int moveto[MAXMOVES];
  int count = gamemoves(ply, movefrom, moveto);
  for (int i = 1; i <= count; i++)
    if (legalfor(ply, movefrom, moveto, count, movefrom[i], moveto[i])) return 1;
  return 0;
}

// Keeps only the legal moves of a root list (the engine on move) in their order; answers the new count.
int legalrootmoves(int *from, int *to, int count) {
  assert(count >= 0 && count < MAXMOVES);
  int movefrom[MAXMOVES];
  int moveto[MAXMOVES];
  memcpy(movefrom, from, sizeof(int) * (count + 1));
  memcpy(moveto, to, sizeof(int) * (count + 1));
  findkings();
  int kept = 0;
  for (int i = 1; i <= count; i++) {
    if (!legalfor(1, movefrom, moveto, count, movefrom[i], moveto[i])) continue;
    kept++;
    from[kept] = movefrom[i];
    to[kept] = moveto[i];
  }
  return kept;
}
