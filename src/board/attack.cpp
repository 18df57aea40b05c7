// Attack detection: the one check test of every engine, and the stalemate test that runs after
// board-move generation.
#include "board/board.h"

int stalemateflag = 0;

// Walks one ray from s (length[s] squares of the given step) and answers 1 when the first man met
// is `slider` or `queen`. The walk is a pointer stepping; the step is a constant at most calls.
static inline int rayhits(int s, const int *length, int step, int slider, int queen) {
  const int *cell = board + s;
  for (int i = length[s]; i > 0; i--) {
    cell += step;
    int man = *cell;
    if (man > 0) return man == slider || man == queen;
  }
  return 0;
}

// Answers 1 when the man on sq is attacked by the other colour. The attacking colour follows the
// man on the square: a white king is attacked by black men; anything else, an empty square too,
// by white men. Kings never attack: two kings side by side do not count as attacking each other.
int isattacked(int sq) {
  if (sq < 1 || sq > 64) return 0;
  int base = board[sq] == WKING ? BLACKOFFSET : 0;
  bool afile = onafile(sq);
  bool hfile = onhfile(sq);

  if (base) {
    if (!afile && sq + 7 <= 64 && board[sq + 7] == BPAWN) return 1;
    if (!hfile && sq + 9 <= 64 && board[sq + 9] == BPAWN) return 1;
  } else {
    if (!hfile && sq - 7 >= 1 && board[sq - 7] == WPAWN) return 1;
    if (!afile && sq - 9 >= 1 && board[sq - 9] == WPAWN) return 1;
  }

  int knight = base + WKNIGHT;
  for (const unsigned char *t = knightjumps[sq]; *t; t++)
    if (board[*t] == knight) return 1;

  int bishop = base + WBISHOP;
  int rook = base + WROOK;
  int queen = base + WQUEEN;
  if (rayhits(sq, rayupright, 9, bishop, queen) || rayhits(sq, rayupleft, 7, bishop, queen) ||
      rayhits(sq, raydownright, -7, bishop, queen) || rayhits(sq, raydownleft, -9, bishop, queen))
    return 1;
  if (rayhits(sq, rayup, 8, rook, queen) || rayhits(sq, raydown, -8, rook, queen) ||
      rayhits(sq, rayright, 1, rook, queen) || rayhits(sq, rayleft, -1, rook, queen))
    return 1;
  return 0;
}

// How one square lies from another: the direction of the ray from the first that reaches the
// second, a knight's jump, or NOLINE (or the same square).
constexpr int NOLINE = 0;
constexpr int UPRIGHT = 1;  // the diagonals first: directions up to DOWNLEFT are a bishop's
constexpr int UPLEFT = 2;
constexpr int DOWNRIGHT = 3;
constexpr int DOWNLEFT = 4;
constexpr int UP = 5;
constexpr int DOWN = 6;
constexpr int RIGHT = 7;
constexpr int LEFT = 8;
constexpr int KNIGHTJUMP = 9;
struct linetable {
  unsigned char towards[65][65];
};
static constexpr linetable drawlines() {
  linetable lines{};
  for (int s = 1; s <= 64; s++)
    for (int t = 1; t <= 64; t++) {
      int df = (t - 1) % 8 - (s - 1) % 8, dr = (t - 1) / 8 - (s - 1) / 8;
      int d = NOLINE;
      if (df == 0 && dr != 0) d = dr > 0 ? UP : DOWN;
      else if (dr == 0 && df != 0) d = df > 0 ? RIGHT : LEFT;
      else if (df == dr && df != 0) d = df > 0 ? UPRIGHT : DOWNLEFT;
      else if (df == -dr && df != 0) d = df < 0 ? UPLEFT : DOWNRIGHT;
      else if (df * df + dr * dr == 5) d = KNIGHTJUMP;
      lines.towards[s][t] = (unsigned char)d;
    }
  return lines;
}
static constexpr linetable lines = drawlines();
static const int noray[65] = {};  // the length of "no line" from every square
static const int *const raylength[10] = {noray, rayupright, rayupleft, raydownright, raydownleft,
                                         rayup, raydown, rayright, rayleft, noray};
static constexpr int raystep[10] = {0, 9, 7, -7, -9, 8, -8, 1, -1, 0};

// The attack test of isattacked along the one ray from sq in direction d, for attackers from base
// (nothing for NOLINE or a knight's jump).
static int lineattacked(int sq, int d, int base) {
  return rayhits(sq, raylength[d], raystep[d], base + (d <= DOWNLEFT ? WBISHOP : WROOK), base + WQUEEN);
}

// isattacked(sq) after a move that took one man from `from` (0 or below for a drop) to `to`, given
// that sq was not attacked before it. Only the squares the move touched can have changed the
// answer: the man on `to` may attack, and a line through `from` may have opened, so at most two
// rays are walked (the line through `to` only for a slider there, or when both squares share it).
// A move that moves or takes a second man (castling, en passant) is not covered. A move onto or
// away from sq itself is handed to isattacked.
int attackedafter(int sq, int from, int to) {
  assert(to >= 1 && to <= 64);
  if (sq < 1 || sq > 64) return 0;
  if (sq == to || sq == from) return isattacked(sq);
  int base = board[sq] == WKING ? BLACKOFFSET : 0;
  int man = board[to];
  int toline = lines.towards[sq][to];
  int fromline = from > 0 ? lines.towards[sq][from] : NOLINE;
  if (man == base + WPAWN) {
    if (base ? (to == sq + 7 && !onafile(sq)) || (to == sq + 9 && !onhfile(sq))
             : (to == sq - 7 && !onhfile(sq)) || (to == sq - 9 && !onafile(sq)))
      return 1;
  } else if (man == base + WKNIGHT) {
    if (toline == KNIGHTJUMP) return 1;
  }
  bool slider = man >= base + WBISHOP && man <= base + WQUEEN;
  if ((slider || fromline == toline) && lineattacked(sq, toline, base)) return 1;
  return fromline != toline && lineattacked(sq, fromline, base);
}

// Counts the men that can move: the runs of equal from-squares in the list.
static int movingmen(const int *movefrom, int count) {
  int men = 0;
  for (int i = 1; i <= count; i++)
    if (i == 1 || movefrom[i] != movefrom[i - 1]) men++;
  return men;
}

// Raises stalemateflag when the side to move (white codes on odd plies) is not in check yet every
// move of the freshly generated list leaves its king attacked. Only small lists (under 15 moves
// of at most three men) are tested, so the make/test/unmake loop is rarely run.
int stalematetest(const int *movefrom, const int *moveto, int count, int ply) {
  assert(count >= 0 && ply >= 1 && ply < MAXPLY);
  if (count >= 15) return 0;
  if (movingmen(movefrom, count) >= 4) return 0;
  int king = ply % 2 == 1 ? WKING : BKING;
  int kingsq = 0;
  for (int s = 1; s <= 64; s++)
    if (board[s] == king) kingsq = s;
  if (isattacked(kingsq)) return 0;
  for (int i = 1; i <= count; i++) {
    int from = movefrom[i];
    int to = moveto[i];
    int moved = board[from];
    int saved = board[to];
    board[to] = moved;
    board[from] = EMPTY;
    int attacked = isattacked(moved == king ? to : kingsq);
    board[from] = moved;
    board[to] = saved;
    if (!attacked) return 0;
  }
  if (count > 0) stalemateflag = 1;
  return stalemateflag;
}
