// The engine's move line (board moves, drops, and the antichess family's promotions to any man) and
// the console board editor that a null move opens.
#include "frontend/frontend.h"

#include "atomic/atomic.h"

#include <cstdlib>
#include <cstring>

constexpr int MOVETEXTSIZE = 16;        // bytes of a move line's text
constexpr int EDITLINESIZE = 128;       // bytes of one line read by the editor

static void realsquares();
static int readnumber(int *value);

// Converts finfrom and finto to real numbering when the board is held for Black.
static void realsquares() {
  if (color != 0) return;
  finfrom = turnsquare(finfrom);
  finto = turnsquare(finto);
}

// Writes the engine's board move, such as move e2e4, with a q when it promotes.
void printmove() {
  realsquares();
  char text[MOVETEXTSIZE] = "move ";
  squaretext(finfrom, text + 5);
  squaretext(finto, text + 7);
  int length = 9;
  if (promomark) text[length++] = 'q';
  text[length++] = '\n';
  text[length] = 0;
  output("\n%s\n", text);
}

// Writes the engine's drop, such as move Q@d5.
void printdrop() {
  static const char letters[] = "KPNBRQ";
  if (color == 0) finto = turnsquare(finto);
  int code = -finfrom;
  char text[MOVETEXTSIZE] = "move ";
  text[5] = code >= WPAWN && code <= WQUEEN ? letters[code] : 'K';
  text[6] = '@';
  squaretext(finto, text + 7);
  text[9] = '\n';
  text[10] = 0;
  output("\n%s\n", text);
}

// The regular engine's move line: a drop or a board move.
void printregularmove() {
  if (finfrom < 0)
    printdrop();
  else
    printmove();
}

// Writes the engine's board move in giveaway, suicide and losers, where a pawn may promote to any
// man, the king included.
void printantimove() {
  static const char letters[] = "  nbrqk";
  realsquares();
  char text[MOVETEXTSIZE] = "move ";
  squaretext(finfrom, text + 5);
  squaretext(finto, text + 7);
  int length = 9;
  if (promopiece > 0) text[length++] = antimode && promopiece >= WKNIGHT && promopiece <= WKING ? letters[promopiece] : 'q';
  text[length++] = '\n';
  text[length] = 0;
  output("\n%s\n", text);
}

// Reads one number from a line of input for the editor. Returns 0 at the end of input.
static int readnumber(int *value) {
  char line[EDITLINESIZE];
  if (!readline(line, sizeof line)) return 0;
  *value = atoi(line);
  return 1;
}

// A pawn-born list after an edit: squares that no longer hold a man of the side leave it, and
// every pawn of the side not listed joins it.
static void editedlist(int *pieces, int white) {
  int kept[PAWNBORNSLOTS] = {};
  int listed[65] = {};
  int n = 0;
  for (int i = 1; i < PAWNBORNSLOTS; i++) {
    int sq = pieces[i];
    if (sq < 1 || sq > 64 || listed[sq] || !(white ? iswhite(board[sq]) : isblack(board[sq]))) continue;
    kept[++n] = sq;
    listed[sq] = 1;
  }
  for (int sq = 1; sq <= 64 && n < PAWNBORNSLOTS - 1; sq++)
    if (board[sq] == (white ? WPAWN : BPAWN) && !listed[sq]) kept[++n] = sq;
  memcpy(pieces, kept, sizeof kept);
}

// What the board keeps beside the men, brought in line with an edited board, so that a search
// of it starts from a sound position: the king squares, the castling rights whose king or rook
// left its square, the pawn-born lists; an en-passant capture is no longer possible.
static void editedposition() {
  findkings();
  blastrights();
  editedlist(gamewpieces, 1);
  editedlist(gamebpieces, 0);
  memset(gameepsquares, 0, sizeof gameepsquares);
  rootepflag = 0;
}

// The console board editor: asks for a square and the code to put there, shows the board with
// the evaluation, and repeats until the square 0 (or the end of input). The evaluation is the
// atomic engine's, from the side of the engine's men (the White codes). The edit holds until
// the game's position is next rebuilt (a take-back, a change of sides or of the variant).
void editboard() {
  for (;;) {
    output("\nenter piece you want to edit or 0 to end edit session");
    int sq = 0;
    if (!readnumber(&sq) || sq == 0) return;
    if (sq < 0 || sq > 64) continue;
    output("\nenter the piece you wish to place on square %d", sq);
    int code = -1;
    if (!readnumber(&code)) return;
    if (code >= EMPTY && code <= BKING) board[sq] = code;
    editedposition();
    output("\n evaluation is %d", -atomiceval(1));
    for (int rank = 8; rank >= 1; rank--) {
      output("\n");
      for (int file = 1; file <= 8; file++) output("%d ", board[8 * (rank - 1) + file]);
    }
  }
}
