// Perft: the number of legal move paths of a fixed length from a position, counted with the
// engine's own generators and the searches' make/unmake. The position is set up as the engine
// holds it: the side to move always carries the white codes, so a position with Black to move is
// turned. Perft counts by the rules of the game, which the searches shortcut in three places:
// every promotion counts four times (queen, rook, bishop, knight), a rook captured on its corner
// takes its castling right with it, and in 3check the third check ends the game.
#include "perft.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "antichess/antichess.h"
#include "frontend/frontend.h"

const variantrow *perftvariant = nullptr;
const enginerow *perftengine = nullptr;
int perftblack = 0;
char perfterror[PERFTERRORSIZE];

// Sets the board up from a FEN text in the given variant (null text: the starting position) with
// the game's FEN reader, held turned when Black is to move. 1 on success, 0 with the reason in
// perfterror.
int perftsetup(const char *variantname, const char *fen) {
  fenfields f;
  perfterror[0] = 0;
  const variantrow *variant = findvariant(variantname ? variantname : "");
  if (!variant) {
    snprintf(perfterror, sizeof perfterror, "unknown variant");
    return 0;
  }
  if (!enginetable[variant->engine].generate) {
    snprintf(perfterror, sizeof perfterror, "%s has no engine of its own yet", variant->name);
    return 0;
  }
  if (!fen) fen = STARTFEN;
  initrays();
  resetboard();
  resetgamerecord();
  setvariantflags(variant->flags, VFALL);
  perftvariant = variant;
  perftengine = &enginetable[variant->engine];
  if (!readfen(fen, variant, &f)) {
    snprintf(perfterror, sizeof perfterror, "%s", fenerrortext);
    return 0;
  }
  perftblack = f.black;
  color = perftblack ? 0 : 1;
  if (!placefen(&f, variant, perftblack)) {
    snprintf(perfterror, sizeof perfterror, "%s", fenerrortext);
    return 0;
  }
  return 1;
}

// Fills a list with the pseudo-legal moves of the side to move at this ply (the white codes on
// odd plies), with the generator of the variant's engine and the game's hands.
void perftgenerate(int *movefrom, int *moveto, int *count, int ply, const int *epsquares) {
  assert(ply >= 1 && epsquares != nullptr);
  perftengine->generate(movefrom, moveto, count, ply, epsquares);
}

// A rook captured on its corner takes its castling right with it; the searches leave the right,
// perft may not. Records which right went.
static void takerookright(int ply, perftundo *undo) {
  int to = undo->trial.move.to;
  int captured = undo->trial.move.captured;
  if (ply % 2 == 1 && captured == BROOK) {
    if (bcastlea && to == bcastlea) {
      bcastlea = 0;
      undo->rightcaptured = 3;
    } else if (bcastleh && to == bcastleh) {
      bcastleh = 0;
      undo->rightcaptured = 4;
    }
  } else if (ply % 2 == 0 && captured == WROOK) {
    if (wcastlea && to == wcastlea) {
      wcastlea = 0;
      undo->rightcaptured = 1;
    } else if (wcastleh && to == wcastleh) {
      wcastleh = 0;
      undo->rightcaptured = 2;
    }
  }
}

// Gives back a right that a captured rook took.
static void giverookright(perftundo *undo) {
  int to = undo->trial.move.to;
  if (undo->rightcaptured == 1) wcastlea = to;
  if (undo->rightcaptured == 2) wcastleh = to;
  if (undo->rightcaptured == 3) bcastlea = to;
  if (undo->rightcaptured == 4) bcastleh = to;
  undo->rightcaptured = 0;
}

// Makes the move by the variant's rules (a promoting pawn becomes promotion, or a queen for 0),
// then takes the castling right of a rook captured on its corner. Answers 1 when the variant's
// engine finds the move legal.
static int perftmakeman(int ply, int from, int to, int promotion, int *childep, perftundo *undo) {
  undo->rightcaptured = undo->checkgiven = 0;
  int legal = perftengine->trymove(ply, from, to, promotion, childep, &undo->trial);
  if (from > 0) takerookright(ply, undo);
  assert(antimode || boardisok(0, 0, 0, gamewheld, gamebheld, gamewpieces, gamebpieces));  // antichess kings may go or multiply
  return legal;
}

// Makes the move (a promotion makes a queen) by the variant's rules; answers 1 when it is legal.
// The caller always unmakes it.
int perftmake(int ply, int from, int to, int *childep, perftundo *undo) {
  return perftmakeman(ply, from, to, 0, childep, undo);
}

// Takes back a move made by perftmake.
void perftunmake(int ply, int *childep, perftundo *undo) {
  giverookright(undo);
  perftengine->untrymove(ply, childep, &undo->trial);
  assert(antimode || boardisok(0, 0, 0, gamewheld, gamebheld, gamewpieces, gamebpieces));  // antichess kings may go or multiply
}

// 3check: raises the mover's check counter when the move just made gives check; answers 1 when
// that was the mover's third check, which ends the game.
int perftcountcheck(int ply, perftundo *undo) {
  assert(ply >= 1);
  undo->checkgiven = 0;
  if (!threecheckmode) return 0;
  if (ply % 2 == 1) {
    if (!isattacked(oppkingsq)) return 0;
    undo->checkgiven = 1;
    return ++topc >= THREECHECKS;
  }
  if (!isattacked(ownkingsq)) return 0;
  undo->checkgiven = 1;
  return ++topp >= THREECHECKS;
}

// Takes back what perftcountcheck did.
void perftuncountcheck(int ply, perftundo *undo) {
  if (!undo->checkgiven) return;
  if (ply % 2 == 1) topc--;
  else topp--;
  undo->checkgiven = 0;
}

static long long perftnode(int depth, int ply, const int *epsquares);

// Leaf count below a legal move just made with one promotion piece (or none) on its to-square.
static long long perftafter(int depth, int ply, const int *childep, perftundo *undo) {
  if (depth <= 1) return 1;
  if (undo->trial.blastwin) return 0;
  if (!threecheckmode) return perftnode(depth - 1, ply + 1, childep);
  long long count = perftcountcheck(ply, undo) ? 0 : perftnode(depth - 1, ply + 1, childep);
  perftuncountcheck(ply, undo);
  return count;
}

// Promotion pieces in the order they are counted; the searches themselves make only the queen.
static const int promotionpieces[4] = {WQUEEN, WROOK, WBISHOP, WKNIGHT};

// 1 when the move just made put a promoted man on its to-square that is still there: an atomic
// promotion with capture explodes the new man at once, whatever it became.
static int promotedmanstands(const perftundo *undo) { return undo->trial.move.promoted && !undo->trial.exploded; }

// Leaf count below a legal move just made: a promotion counts once for each piece.
static long long perftbelow(int depth, int ply, const int *childep, perftundo *undo) {
  if (!undo->trial.move.promoted) return perftafter(depth, ply, childep, undo);
  if (!promotedmanstands(undo)) return 4 * perftafter(depth, ply, childep, undo);
  int base = ply % 2 == 1 ? 0 : BLACKOFFSET;
  long long count = 0;
  for (int k = 0; k < 4; k++) {
    board[undo->trial.move.to] = promotionpieces[k] + base;
    count += perftafter(depth, ply, childep, undo);
  }
  board[undo->trial.move.to] = WQUEEN + base;
  return count;
}

// Leaf count of the position at this ply, depth plies deep. Per-ply lists live on the stack.
static long long perftnode(int depth, int ply, const int *epsquares) {
  int movefrom[MAXMOVES];
  int moveto[MAXMOVES];
  int childep[65];
  int count = 0;
  long long total = 0;
  memset(childep, 0, sizeof childep);
  perftgenerate(movefrom, moveto, &count, ply, epsquares);
  for (int i = 1; i <= count; i++) {
    perftundo undo;
    if (perftmake(ply, movefrom[i], moveto[i], childep, &undo)) total += perftbelow(depth, ply, childep, &undo);
    perftunmake(ply, childep, &undo);
  }
  return total;
}

// The antichess family counts the moves its rules allow: a capture is compulsory (in losers only
// among the legal moves), every promotion piece comes from the generator, the king among them
// except in losers; a losers game is over as soon as either side has only its king left.
static int antigameover() { return losersmode && (bareking(1) || bareking(0)); }

static long long antiperftnode(int depth, int ply, const int *epsquares) {
  int from[ANTIMAXMOVES], to[ANTIMAXMOVES], promo[ANTIMAXMOVES];
  if (antigameover()) return 0;
  int count = rulemoves(ply, epsquares, from, to, promo);
  if (depth <= 1) return count;
  int childep[65];
  memset(childep, 0, sizeof childep);
  long long total = 0;
  for (int i = 1; i <= count; i++) {
    perftundo undo;
    perftmakeman(ply, from[i], to[i], promo[i], childep, &undo);
    total += antiperftnode(depth - 1, ply + 1, childep);
    perftunmake(ply, childep, &undo);
  }
  return total;
}

// antiperftnode at the root, printing each move with its count.
static long long antiperftdivide(int depth) {
  int from[ANTIMAXMOVES], to[ANTIMAXMOVES], promo[ANTIMAXMOVES];
  char text[MOVETEXTSIZE];
  if (antigameover()) return 0;
  int count = rulemoves(1, gameepsquares, from, to, promo);
  int childep[65];
  memset(childep, 0, sizeof childep);
  long long total = 0;
  for (int i = 1; i <= count; i++) {
    perftundo undo;
    perftmakeman(1, from[i], to[i], promo[i], childep, &undo);
    long long n = depth <= 1 ? 1 : antiperftnode(depth - 1, 2, childep);
    perftunmake(1, childep, &undo);
    perftmovetext(from[i], to[i], promo[i], text);
    output("%s: %lld\n", text, n);
    total += n;
  }
  return total;
}

// 1 when the root position is already over: in 3check a side has given its third check.
static int rootover() { return threecheckmode && (topp >= THREECHECKS || topc >= THREECHECKS); }

// Number of leaf nodes at the given depth below the root position.
long long perft(int depth) {
  if (depth <= 0) return 1;
  if (rootover()) return 0;
  if (antimode) return antiperftnode(depth, 1, gameepsquares);
  return perftnode(depth, 1, gameepsquares);
}

// Writes a held square in real coordinates.
static void realsquaretext(int sq, char *text) { squaretext(perftblack ? turnsquare(sq) : sq, text); }

// Writes a move of the root position in real coordinates ("e2e4", "e7e8q", "N@f3"); promotion is
// the piece code made, or 0.
void perftmovetext(int from, int to, int promotion, char *text) {
  int n = 0;
  if (from < 0) {
    text[n++] = "PNBRQK"[(-from - 1) % BLACKOFFSET];
    text[n++] = '@';
  } else {
    realsquaretext(from, text + n);
    n += 2;
  }
  realsquaretext(to, text + n);
  n += 2;
  if (promotion) text[n++] = "pnbrqk"[(promotion - 1) % BLACKOFFSET];
  text[n] = 0;
}

// Like perft, printing each root move with its count; the total is returned, not printed.
long long perftdivide(int depth) {
  int movefrom[MAXMOVES];
  int moveto[MAXMOVES];
  int childep[65];
  int count = 0;
  long long total = 0;
  char text[MOVETEXTSIZE];
  if (depth <= 0 || rootover()) return depth <= 0 ? 1 : 0;
  if (antimode) return antiperftdivide(depth);
  memset(childep, 0, sizeof childep);
  perftgenerate(movefrom, moveto, &count, 1, gameepsquares);
  for (int i = 1; i <= count; i++) {
    perftundo undo;
    if (perftmake(1, movefrom[i], moveto[i], childep, &undo)) {
      int promoted = undo.trial.move.promoted;
      for (int k = 0; k < (promoted ? 4 : 1); k++) {
        if (promoted && promotedmanstands(&undo)) board[undo.trial.move.to] = promotionpieces[k];
        long long n = perftafter(depth, 1, childep, &undo);
        perftmovetext(movefrom[i], moveto[i], promoted ? promotionpieces[k] : 0, text);
        output("%s: %lld\n", text, n);
        total += n;
      }
      if (promoted && promotedmanstands(&undo)) board[undo.trial.move.to] = WQUEEN;
    }
    perftunmake(1, childep, &undo);
  }
  return total;
}
