// Perft: the number of legal move paths of a fixed length from a position, counted with the
// engine's own generators and the searches' make/unmake. The position is set up as the engine
// holds it: the side to move always carries the white codes, so a position with Black to move is
// turned. Perft counts by the rules of the game, which the searches shortcut in three places:
// every promotion counts four times (queen, rook, bishop, knight), a rook captured on its corner
// takes its castling right with it, and in 3check the third check ends the game.
#include "board/perft.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "frontend/frontend.h"
#include "regular/regular.h"

constexpr int FENSIZE = 256;           // longest FEN text accepted
constexpr int MAXPAWNBORN = PAWNBORNSLOTS - 1;  // pawn-born men one side can have
constexpr int MAXHELD = HANDSLOTS - 1;  // men one hand can hold

const char *const perftvariantnames[PERFTVARIANTS] = {"normal", "nocastle", "wildcastle", "3check", "crazyhouse"};
int perftvariant = PERFTNORMAL;
int perftblack = 0;
int perftep[65];
int perftwheld[HANDSLOTS];
int perftbheld[HANDSLOTS];
int perftwpieces[PAWNBORNSLOTS];
int perftbpieces[PAWNBORNSLOTS];
char perfterror[PERFTERRORSIZE];

static const char *const startfen = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

// What the FEN reader found besides the board: the parts that parsefen does not read.
struct fenfields {
  int realboard[65];      // the men by real square, read independently of parsefen
  int promotedsq[65];     // 1 on the real squares of men marked "~" (promoted pawns)
  int whitehand[6];       // men in White's hand by piece code 1..5
  int blackhand[6];       // men in Black's hand by piece code 1..5
  int black;              // 1 when Black is to move
  char castling[5];       // the castling letters, in the order written
  int epsquare;           // real square of the en-passant field, 0 for "-"
  int whitechecks;        // 3check: checks White has given
  int blackchecks;        // 3check: checks Black has given
};

// Variant number of a name, or -1.
int perftfindvariant(const char *name) {
  for (int v = 0; v < PERFTVARIANTS; v++)
    if (strcmp(name, perftvariantnames[v]) == 0) return v;
  return -1;
}

// Records why a set-up failed; always answers 0 so that readers can return it.
static int fenerror(const char *reason) {
  snprintf(perfterror, sizeof perfterror, "malformed FEN: %s", reason);
  return 0;
}

// Piece code of a FEN letter (White for capitals), or 0 for any other character.
static int lettercode(char c) {
  const char *letters = "PNBRQKpnbrqk";
  const char *hit = c ? strchr(letters, c) : nullptr;
  return hit ? (int)(hit - letters) + 1 : 0;
}

// Reads the board field and the bracketed hand at *p into the fields; moves *p past them.
static int readboardfield(const char **p, int crazy, fenfields *f) {
  const char *s = *p;
  int rank = 8;
  int file = 0;
  int kings[2] = {0, 0};
  while (*s && *s != ' ' && *s != '[') {
    char c = *s++;
    if (c == '/') {
      if (file != 8) return fenerror("a rank does not hold 8 squares");
      if (--rank < 1) return fenerror("more than 8 ranks");
      file = 0;
    } else if (c >= '1' && c <= '8') {
      file += c - '0';
      if (file > 8) return fenerror("a rank holds more than 8 squares");
    } else if (c == '~') {
      int last = 8 * (rank - 1) + file;
      int code = file > 0 ? f->realboard[last] : 0;
      if (!crazy) return fenerror("\"~\" outside crazyhouse");
      if (code == 0 || s[-2] == '~' || code % BLACKOFFSET == WPAWN || code % BLACKOFFSET == 0)
        return fenerror("\"~\" must follow a knight, bishop, rook or queen");
      f->promotedsq[last] = 1;
    } else {
      int code = lettercode(c);
      if (code == 0) return fenerror("unknown letter in the board field");
      if (file >= 8) return fenerror("a rank holds more than 8 squares");
      if ((code == WPAWN || code == BPAWN) && (rank == 1 || rank == 8)) return fenerror("a pawn on the first or last rank");
      if (code == WKING) kings[0]++;
      if (code == BKING) kings[1]++;
      f->realboard[8 * (rank - 1) + file + 1] = code;
      file++;
    }
  }
  if (rank != 1 || file != 8) return fenerror("the board field does not hold 8 ranks of 8 squares");
  if (kings[0] != 1 || kings[1] != 1) return fenerror("each side needs exactly one king");
  if (*s == '[') {
    if (!crazy) return fenerror("holdings outside crazyhouse");
    s++;
    int held = 0;
    while (*s && *s != ']') {
      char c = *s++;
      int code = lettercode(c);
      if (c == '-') continue;
      if (code == 0 || code == WKING || code == BKING) return fenerror("unknown letter in the holdings");
      if (++held > MAXHELD) return fenerror("too many men in hand");
      if (code <= WKING) f->whitehand[code]++;
      else f->blackhand[code - BLACKOFFSET]++;
    }
    if (*s != ']') return fenerror("unclosed holdings");
    s++;
  }
  *p = s;
  return 1;
}

// Copies the next blank-separated field of *p into word (at most size - 1 characters); 0 at the end.
static int nextfield(const char **p, char *word, int size) {
  const char *s = *p;
  while (*s == ' ') s++;
  int n = 0;
  while (*s && *s != ' ') {
    if (n >= size - 1) return -1;
    word[n++] = *s++;
  }
  word[n] = 0;
  *p = s;
  return n > 0;
}

// Reads a 3check field: "N+M" gives the checks White and Black still need (3+3 at the start),
// "+N+M" the checks they have given. Answers 1 when the word is such a field.
static int readchecks(const char *word, fenfields *f) {
  int a, b;
  char rest;
  if (sscanf(word, "+%d+%d%c", &a, &b, &rest) == 2 && word[0] == '+') {
    f->whitechecks = a;
    f->blackchecks = b;
  } else if (sscanf(word, "%d+%d%c", &a, &b, &rest) == 2 && word[0] >= '0' && word[0] <= '9') {
    f->whitechecks = THREECHECKS - a;
    f->blackchecks = THREECHECKS - b;
  } else {
    return 0;
  }
  return 1;
}

// 1 when the word is a non-empty run of digits.
static int isnumber(const char *word) {
  if (!*word) return 0;
  for (; *word; word++)
    if (*word < '0' || *word > '9') return 0;
  return 1;
}

// Reads and checks every field of a FEN text.
static int readfen(const char *fen, int variant, fenfields *f) {
  char word[FENSIZE];
  const char *p = fen;
  memset(f, 0, sizeof *f);
  if (strlen(fen) >= FENSIZE) return fenerror("too long");
  while (*p == ' ') p++;
  if (!readboardfield(&p, variant == PERFTCRAZYHOUSE, f)) return 0;
  if (*p != ' ') return fenerror("no side to move");
  if (nextfield(&p, word, sizeof word) != 1 || (strcmp(word, "w") != 0 && strcmp(word, "b") != 0))
    return fenerror("the side to move must be w or b");
  f->black = word[0] == 'b';
  if (nextfield(&p, word, sizeof word) != 1) return fenerror("no castling field");
  if (strcmp(word, "-") != 0) {
    if (strlen(word) > 4) return fenerror("bad castling field");
    for (int i = 0; word[i]; i++)
      if (!strchr("KQkq", word[i]) || strchr(word + i + 1, word[i])) return fenerror("bad castling field");
    strcpy(f->castling, word);
  }
  int n = nextfield(&p, word, sizeof word);
  if (n == 1 && strcmp(word, "-") != 0) {
    if (strlen(word) != 2 || word[0] < 'a' || word[0] > 'h' || word[1] != (f->black ? '3' : '6'))
      return fenerror("bad en-passant square");
    f->epsquare = (word[0] - 'a' + 1) + 8 * (word[1] - '1');
  }
  int numbers = 0;
  int checksread = 0;
  while ((n = nextfield(&p, word, sizeof word)) == 1) {
    if (variant == PERFTTHREECHECK && !checksread && numbers == 0 && readchecks(word, f)) {
      checksread = 1;
    } else if (variant == PERFTTHREECHECK && !checksread && numbers == 2 && word[0] == '+' && readchecks(word, f)) {
      checksread = 1;
    } else if (isnumber(word) && numbers < 2) {
      numbers++;
    } else {
      return fenerror("unexpected field after the en-passant square");
    }
  }
  if (n < 0) return fenerror("field too long");
  if (f->whitechecks < 0 || f->whitechecks > THREECHECKS || f->blackchecks < 0 || f->blackchecks > THREECHECKS)
    return fenerror("bad check counts");
  if (f->epsquare) {
    int pawnsq = f->black ? f->epsquare + 8 : f->epsquare - 8;
    int behind = f->black ? f->epsquare - 8 : f->epsquare + 8;
    int pawn = f->black ? WPAWN : BPAWN;
    if (f->realboard[f->epsquare] || f->realboard[behind] || f->realboard[pawnsq] != pawn)
      return fenerror("no pawn can have passed the en-passant square");
  }
  return 1;
}

// Clears the castling rights whose king or rook is not on its square (the real board, before any
// turning). The king may stand on e1/e8, or in wildcastle also on d1/d8.
static void checkcastling(int variant) {
  if (variant == PERFTNOCASTLE) {
    wcastleking = wcastlea = wcastleh = bcastleking = bcastlea = bcastleh = 0;
    return;
  }
  int wking = board[SQE1] == WKING || (variant == PERFTWILDCASTLE && board[SQD1] == WKING);
  int bking = board[SQE8] == BKING || (variant == PERFTWILDCASTLE && board[SQD8] == BKING);
  if (!wking || board[SQA1] != WROOK) wcastlea = 0;
  if (!wking || board[SQH1] != WROOK) wcastleh = 0;
  if (!bking || board[SQA8] != BROOK) bcastlea = 0;
  if (!bking || board[SQH8] != BROOK) bcastleh = 0;
  if (!wcastlea && !wcastleh) wcastleking = 0;
  if (!bcastlea && !bcastleh) bcastleking = 0;
}

// Puts count men of the code into the first free slots of a hand.
static void fillhand(int *hand, int code, int count) {
  for (int i = 1; i < HANDSLOTS && count > 0; i++)
    if (hand[i] == 0) {
      hand[i] = code;
      count--;
    }
}

// Fills the hands and the pawn-born lists of the held board: every pawn and every man marked
// promoted belongs in its side's list. Answers 0 when a side has more than 16 such men.
static int filllists(const fenfields *f) {
  int whiteborn = 0;
  int blackborn = 0;
  for (int code = WPAWN; code <= WQUEEN; code++) {
    fillhand(perftblack ? perftbheld : perftwheld, perftblack ? code + BLACKOFFSET : code, f->whitehand[code]);
    fillhand(perftblack ? perftwheld : perftbheld, perftblack ? code : code + BLACKOFFSET, f->blackhand[code]);
  }
  for (int sq = 1; sq <= 64; sq++) {
    int real = perftblack ? 65 - sq : sq;
    int code = board[sq];
    if (code != WPAWN && code != BPAWN && !f->promotedsq[real]) continue;
    if (iswhite(code)) {
      if (++whiteborn > MAXPAWNBORN) return fenerror("more than 16 pawn-born men on one side");
      perftwpieces[whiteborn] = sq;
    } else {
      if (++blackborn > MAXPAWNBORN) return fenerror("more than 16 pawn-born men on one side");
      perftbpieces[blackborn] = sq;
    }
  }
  return 1;
}

// Finds the two kings and writes their squares into ownkingsq and oppkingsq.
static void findkings() {
  for (int sq = 1; sq <= 64; sq++) {
    if (board[sq] == WKING) ownkingsq = sq;
    if (board[sq] == BKING) oppkingsq = sq;
  }
}

// 1 when the two kings stand side by side.
static int kingsadjacent() {
  return abs(fileof(ownkingsq) - fileof(oppkingsq)) <= 1 && abs(rankof(ownkingsq) - rankof(oppkingsq)) <= 1;
}

// Sets the board up from a FEN text in the given variant (null text: the starting position):
// parsefen and mirrorboard read the board and the castling letters, turnboard turns it when Black
// is to move, and the tool adds what parsefen does not read (hands, promoted men, en passant,
// check counts). 1 on success, 0 with the reason in perfterror.
int perftsetup(int variant, const char *fen) {
  fenfields f;
  char text[FENSIZE + 8];
  perfterror[0] = 0;
  if (variant < 0 || variant >= PERFTVARIANTS) {
    snprintf(perfterror, sizeof perfterror, "unknown variant");
    return 0;
  }
  if (!fen) fen = startfen;
  if (!readfen(fen, variant, &f)) return 0;

  // parsefen reads from index 1; the hand is left out since its letters would read as castling rights.
  int length = 0;
  text[length++] = ' ';
  const char *s = fen;
  while (*s == ' ') s++;
  for (; *s && *s != ' ' && *s != '['; s++) text[length++] = *s;
  text[length++] = ' ';
  for (s = f.castling; *s; s++) text[length++] = *s;
  text[length] = 0;

  initrays();
  resetboard();
  antimode = 0;
  crazymode = variant == PERFTCRAZYHOUSE;
  threecheckmode = variant == PERFTTHREECHECK;
  perftvariant = variant;
  perftblack = f.black;
  parsefen(text, length - 1);
  mirrorboard();
  if (memcmp(board + 1, f.realboard + 1, 64 * sizeof(int)) != 0) {
    snprintf(perfterror, sizeof perfterror, "the engine's FEN reader placed the men differently");
    return 0;
  }
  checkcastling(variant);
  if (perftblack) turnboard();
  findkings();

  memset(perftep, 0, sizeof perftep);
  memset(perftwheld, 0, sizeof perftwheld);
  memset(perftbheld, 0, sizeof perftbheld);
  memset(perftwpieces, 0, sizeof perftwpieces);
  memset(perftbpieces, 0, sizeof perftbpieces);
  perftwheld[0] = perftbheld[0] = crazymode ? 0 : NODROPS;
  if (f.epsquare) perftep[perftblack ? 65 - f.epsquare : f.epsquare] = BPAWN;
  topc = perftblack ? f.blackchecks : f.whitechecks;
  topp = perftblack ? f.whitechecks : f.blackchecks;
  if (!filllists(&f)) return 0;
  if (kingsadjacent()) return fenerror("the kings stand side by side");
  if (isattacked(oppkingsq)) return fenerror("the side not to move is in check");
  return 1;
}

// Fills a list with the pseudo-legal moves of the side to move at this ply: the white codes on
// odd plies, the black codes on even plies. Every variant here plays with the regular engine's
// generator; a variant with an engine of its own (atomic, the antichess family) brings its own
// generator here and its own make and legality test into perftmake.
void perftgenerate(int *movefrom, int *moveto, int *count, int ply, const int *epsquares) {
  assert(ply >= 1 && epsquares != nullptr);
  if (ply % 2 == 1) genwhite(movefrom, moveto, count, ply, epsquares, 0, perftwheld);
  else genblack(movefrom, moveto, count, ply, epsquares, 0, perftbheld);
}

// A rook captured on its corner takes its castling right with it; the searches leave the right,
// perft may not. Records which right went.
static void takerookright(int ply, perftundo *undo) {
  int to = undo->to;
  if (ply % 2 == 1 && undo->captured == BROOK) {
    if (bcastlea && to == bcastlea) {
      bcastlea = 0;
      undo->rightcaptured = 3;
    } else if (bcastleh && to == bcastleh) {
      bcastleh = 0;
      undo->rightcaptured = 4;
    }
  } else if (ply % 2 == 0 && undo->captured == WROOK) {
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
  if (undo->rightcaptured == 1) wcastlea = undo->to;
  if (undo->rightcaptured == 2) wcastleh = undo->to;
  if (undo->rightcaptured == 3) bcastlea = undo->to;
  if (undo->rightcaptured == 4) bcastleh = undo->to;
}

// Makes the move as the searches do: the lists first (crazyhouse), then the side effects, then the
// board. Answers 1 when it is legal: the mover's king is not attacked and not beside the other
// king (the attack test ignores kings). The caller always unmakes it.
int perftmake(int ply, int from, int to, int *childep, perftundo *undo) {
  assert(ply >= 1 && to >= 1 && to <= 64 && from != 0 && from >= -BKING && from <= 64);
  memset(undo, 0, sizeof *undo);
  undo->from = from;
  undo->to = to;
  if (from < 0) {
    undo->slot = trackdrop(perftwheld, perftbheld, perftwpieces, perftbpieces, from, to);
    board[to] = -from;
  } else {
    if (crazymode) undo->slot = trackmove(perftwheld, perftbheld, perftwpieces, perftbpieces, from, to, &undo->pawnbornsquare);
    makeeffects(ply, &undo->promoted, from, to, &undo->brightlost_a, &undo->brightlost_h, &undo->bkingright,
                &undo->wrightlost_a, &undo->wrightlost_h, &undo->wkingright, childep, &undo->epcapture);
    undo->captured = board[to];
    takerookright(ply, undo);
    board[to] = board[from];
    board[from] = EMPTY;
  }
  if (isattacked(ply % 2 == 1 ? ownkingsq : oppkingsq)) return 0;
  return !kingsadjacent();
}

// Takes back a move made by perftmake, in the searches' order: the board, the side effects, the lists.
void perftunmake(int ply, int *childep, perftundo *undo) {
  assert(ply >= 1 && undo->to >= 1 && undo->to <= 64);
  int from = undo->from;
  int to = undo->to;
  if (from < 0) {
    board[to] = EMPTY;
    undrop(perftwheld, perftbheld, perftwpieces, perftbpieces, from, to, undo->slot);
    return;
  }
  board[from] = board[to];
  board[to] = undo->captured;
  giverookright(undo);
  unmakeeffects(ply, &undo->promoted, from, to, &undo->brightlost_a, &undo->brightlost_h, &undo->bkingright,
                &undo->wrightlost_a, &undo->wrightlost_h, &undo->wkingright, childep, &undo->epcapture);
  if (crazymode) unmakelists(perftwheld, perftbheld, perftwpieces, perftbpieces, from, to, undo->slot, undo->pawnbornsquare);
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
  if (!threecheckmode) return perftnode(depth - 1, ply + 1, childep);
  long long count = perftcountcheck(ply, undo) ? 0 : perftnode(depth - 1, ply + 1, childep);
  perftuncountcheck(ply, undo);
  return count;
}

// Promotion pieces in the order they are counted; the searches themselves make only the queen.
static const int promotionpieces[4] = {WQUEEN, WROOK, WBISHOP, WKNIGHT};

// Leaf count below a legal move just made: a promotion counts once for each piece.
static long long perftbelow(int depth, int ply, const int *childep, perftundo *undo) {
  if (!undo->promoted) return perftafter(depth, ply, childep, undo);
  int base = ply % 2 == 1 ? 0 : BLACKOFFSET;
  long long count = 0;
  for (int k = 0; k < 4; k++) {
    board[undo->to] = promotionpieces[k] + base;
    count += perftafter(depth, ply, childep, undo);
  }
  board[undo->to] = WQUEEN + base;
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

// 1 when the root position is already over: in 3check the side that just moved gave its third check.
static int rootover() { return threecheckmode && topp >= THREECHECKS; }

// Number of leaf nodes at the given depth below the root position.
long long perft(int depth) {
  if (depth <= 0) return 1;
  if (rootover()) return 0;
  return perftnode(depth, 1, perftep);
}

// Writes a held square in real coordinates.
static void squaretext(int sq, char *text) {
  int real = perftblack ? 65 - sq : sq;
  text[0] = (char)('a' + fileof(real));
  text[1] = (char)('0' + rankof(real));
}

// Writes a move of the root position in real coordinates ("e2e4", "e7e8q", "N@f3"); promotion is
// the piece code made, or 0.
void perftmovetext(int from, int to, int promotion, char *text) {
  int n = 0;
  if (from < 0) {
    text[n++] = "PNBRQK"[(-from - 1) % BLACKOFFSET];
    text[n++] = '@';
  } else {
    squaretext(from, text + n);
    n += 2;
  }
  squaretext(to, text + n);
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
  memset(childep, 0, sizeof childep);
  perftgenerate(movefrom, moveto, &count, 1, perftep);
  for (int i = 1; i <= count; i++) {
    perftundo undo;
    if (perftmake(1, movefrom[i], moveto[i], childep, &undo)) {
      for (int k = 0; k < (undo.promoted ? 4 : 1); k++) {
        if (undo.promoted) board[undo.to] = promotionpieces[k];
        long long n = perftafter(depth, 1, childep, &undo);
        perftmovetext(movefrom[i], moveto[i], undo.promoted ? promotionpieces[k] : 0, text);
        output("%s: %lld\n", text, n);
        total += n;
      }
      if (undo.promoted) board[undo.to] = WQUEEN;
    }
    perftunmake(1, childep, &undo);
  }
  return total;
}
