// korvel-tool: shows a position as the engine holds it, for debugging.
//   korvel-tool --variant NAME [--fen 'FEN'] [--moves 'e2e4 e7e5 ...']
// Sets the position up as a game's root (turned when Black is to move), plays the moves with the
// searches' make, and prints the real board, the held board (codes), the castling values, the
// en-passant markers, the hands, the pawn-born lists, and the key kept move by move beside the key
// computed from scratch. Bad arguments or an illegal move: one line on standard error, status 2.
#include <cstdio>
#include <cstring>

#include "atomic/atomic.h"
#include "perft.h"

constexpr int BADUSAGE = 2;       // exit status for bad arguments
constexpr int MOVESTEXT = 4096;   // longest --moves text

static const char pieceletters[] = ".PNBRQKpnbrqk";

// Writes the board twice: as the real board (rank 8 at the top, letters, White's men upper case),
// then as held (codes by held square, square 57..64 on the top line).
static void showboards() {
  output("real board:\n");
  for (int rank = 8; rank >= 1; rank--) {
    output("  %d ", rank);
    for (int file = 1; file <= 8; file++) {
      int real = file + 8 * (rank - 1);
      int code = board[color == 0 ? turnsquare(real) : real];
      if (color == 0) code = othercolour(code);
      output(" %c", pieceletters[code]);
    }
    output("\n");
  }
  output("     a b c d e f g h\nheld board (the engine's men carry 1..6):\n");
  for (int rank = 8; rank >= 1; rank--) {
    output("  ");
    for (int file = 1; file <= 8; file++) output("%3d", board[file + 8 * (rank - 1)]);
    output("\n");
  }
}

// Writes the castling values, the markers, the hands, the pawn-born lists and the check counters.
static void showstate(int ply) {
  output("side to move (held codes): %s   engine colour: %s\n", ply % 2 ? "white" : "black",
         color ? "white" : "black");
  output("castling: wcastleking %d wcastlea %d wcastleh %d bcastleking %d bcastlea %d bcastleh %d\n", wcastleking,
         wcastlea, wcastleh, bcastleking, bcastlea, bcastleh);
  output("king squares: ownkingsq %d oppkingsq %d   castled: %d %d   3check: topc %d topp %d\n", ownkingsq,
         oppkingsq, wcastled, bcastled, topc, topp);
  output("en-passant markers:");
  for (int sq = 1; sq <= 64; sq++)
    if (gameepsquares[sq]) output(" [%d]=%d", sq, gameepsquares[sq]);
  output("   rootepflag %d\nhands: white", rootepflag);
  for (int i = 1; i < HANDSLOTS; i++)
    if (gamewheld[i]) output(" %d:%c", i, pieceletters[gamewheld[i]]);
  output("   black");
  for (int i = 1; i < HANDSLOTS; i++)
    if (gamebheld[i]) output(" %d:%c", i, pieceletters[gamebheld[i]]);
  output("\npawn-born: white");
  for (int i = 1; i < PAWNBORNSLOTS; i++)
    if (gamewpieces[i]) output(" %d", gamewpieces[i]);
  output("   black");
  for (int i = 1; i < PAWNBORNSLOTS; i++)
    if (gamebpieces[i]) output(" %d", gamebpieces[i]);
  output("\n");
}

// Finds the legal move written as text (real coordinates) at ply; 0 when there is none.
static int findmove(int ply, const char *text, int *from, int *to) {
  int movefrom[MAXMOVES], moveto[MAXMOVES], count = 0;
  int childep[65] = {};
  char written[MOVETEXTSIZE];
  perftgenerate(movefrom, moveto, &count, ply, gameepsquares);
  for (int i = 1; i <= count; i++) {
    perftundo undo;
    int legal = perftmake(ply, movefrom[i], moveto[i], childep, &undo);
    int promoted = undo.trial.move.promoted;
    perftunmake(ply, childep, &undo);
    if (!legal) continue;
    perftmovetext(movefrom[i], moveto[i], promoted ? WQUEEN : 0, written);
    // A promotion may be written with or without its letter; the searches make a queen.
    if (strcmp(written, text) == 0 || (promoted && strncmp(written, text, 4) == 0 && text[4] == '\0')) {
      *from = movefrom[i];
      *to = moveto[i];
      return 1;
    }
  }
  return 0;
}

// The atomic key after a move perftmake made, from the key with castlerightskey already applied,
// as the atomic search keeps it: the move, the en-passant pawn, the men the explosion removed and
// the castling rights it took. The key of the move reads the man from its to-square, which the
// explosion emptied: he stands there again for that moment.
static uint64_t atomickeyafter(uint64_t key, int ply, const perftundo *undo, int epafter) {
  const moveundo *m = &undo->trial.move;
  int exploded = undo->trial.exploded;
  if (exploded) board[m->to] = undo->trial.blastsave[m->to];
  key = movekey(key, m->from, m->to, m->captured, 0, m->promoted, rootepflag, epafter);
  if (exploded) board[m->to] = EMPTY;
  if (m->epcapture) key ^= zpiece[13 * (ply % 2 == 1 ? m->to - 8 : m->to + 8) + (ply % 2 == 1 ? BPAWN : WPAWN)];
  if (!exploded) return key;
  const int rights[6] = {wcastleking, wcastlea, wcastleh, bcastleking, bcastlea, bcastleh};
  return key ^ undo->trial.blastkey ^ rightskey(undo->trial.rights) ^ rightskey(rights);
}

// Plays one move on the root position as the searches make it and keeps the key move by move;
// the en-passant markers of the next position replace the root's. Answers 0 for an illegal move.
static int playmove(int ply, const char *text, uint64_t *key) {
  int from, to;
  if (!findmove(ply, text, &from, &to)) return 0;
  int childep[65] = {};
  perftundo undo;
  int epafter = from > 0 ? doublestepbeside(from, to) : 0;
  if (atomicmode) {
    *key = castlerightskey(*key, from);
    perftmake(ply, from, to, childep, &undo);
    *key = atomickeyafter(*key, ply, &undo, epafter);
  } else {
    perftmake(ply, from, to, childep, &undo);
    perftcountcheck(ply, &undo);
    int given = ply % 2 ? topc : topp;
    int checkindex = undo.checkgiven && given <= 2 ? (ply % 2 ? given : given + 2) : 0;
    *key = keyaftermove(*key, &undo.trial.move, rootepflag, epafter, checkindex, gamewheld, gamebheld);
  }
  memcpy(gameepsquares, childep, sizeof gameepsquares);
  rootepflag = epafter;
  return 1;
}

// The key of the position on the board from scratch: atomic with the atomic engine's keys, crazyhouse
// with the hands.
static uint64_t rootkeynow() {
  if (atomicmode) return atomicrootkey(rootepflag);
  return crazymode ? rootkeycrazy(rootepflag, gamewheld, gamebheld) : rootkey(rootepflag);
}

int main(int argc, char **argv) {
  const char *variant = "normal";
  const char *fen = nullptr;
  const char *moves = "";
  setvbuf(stdout, nullptr, _IONBF, 0);
  for (int i = 1; i < argc; i++) {
    int hasvalue = i + 1 < argc;
    if (strcmp(argv[i], "--variant") == 0 && hasvalue) {
      variant = argv[++i];
    } else if (strcmp(argv[i], "--fen") == 0 && hasvalue) {
      fen = argv[++i];
    } else if (strcmp(argv[i], "--moves") == 0 && hasvalue) {
      moves = argv[++i];
    } else {
      fprintf(stderr, "korvel-tool: usage: korvel-tool --variant NAME [--fen FEN] [--moves 'e2e4 e7e5 ...']\n");
      return BADUSAGE;
    }
  }
  initkeys(1);
  if (!perftsetup(variant, fen)) {
    fprintf(stderr, "korvel-tool: %s\n", perfterror);
    return BADUSAGE;
  }
  uint64_t key = rootkeynow();
  char text[MOVESTEXT];
  snprintf(text, sizeof text, "%s", moves);
  int ply = 1;
  for (char *move = strtok(text, " "); move; move = strtok(nullptr, " "), ply++) {
    if (!playmove(ply, move, &key)) {
      fprintf(stderr, "korvel-tool: %s is not a legal move here\n", move);
      return BADUSAGE;
    }
  }
  showboards();
  showstate(ply);
  uint64_t scratch = rootkeynow();
  if ((ply - 1) % 2) scratch ^= zmove;
  output("key: kept %016llx  from scratch %016llx  %s\n", (unsigned long long)key, (unsigned long long)scratch,
         key == scratch ? "agree" : "DIFFER");
  return 0;
}
