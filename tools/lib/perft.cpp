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

constexpr int FENSIZE = 256;           // longest FEN text accepted
constexpr int MAXPAWNBORN = PAWNBORNSLOTS - 1;  // pawn-born men one side can have
constexpr int MAXHELD = HANDSLOTS - 1;  // men one hand can hold

const variantrow *perftvariant = nullptr;
const enginerow *perftengine = nullptr;
int perftblack = 0;
char perfterror[PERFTERRORSIZE];

static const char *const startfen = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

// What the FEN reader found besides the board: the parts that parsefen does not read.
struct fenfields {
  int realboard[65];      // the men by real square, read independently of parsefen
  int promotedsq[65];     // 1 on the real squares of men marked "~" (promoted pawns)
  int hand[HANDSLOTS];     // the men in hand by code, in the order written (White's capitals)
  int handcount;          // men in hand
  int black;              // 1 when Black is to move
  char castling[5];       // the castling letters, in the order written
  int epsquare;           // real square of the en-passant field, 0 for "-"
  int whitechecks;        // 3check: checks White has given
  int blackchecks;        // 3check: checks Black has given
};

// Records why a set-up failed; always answers 0 so that readers can return it.
static int fenerror(const char *reason) {
  snprintf(perfterror, sizeof perfterror, "malformed FEN: %s", reason);
  return 0;
}

// Reads the board field and the bracketed hand at *p into the fields; moves *p past them.
static int readboardfield(const char **p, int crazy, int kingsaside, fenfields *f) {
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
      int code = fencode(c);
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
  // In giveaway and suicide (kingsaside 0) the king is an ordinary man: any number will do.
  if (kingsaside > 0 && (kings[0] < 1 || kings[1] < 1 || kings[0] > kingsaside || kings[1] > kingsaside))
    return fenerror(kingsaside == 1 ? "each side needs exactly one king" : "each side needs one or two kings");
  if (*s == '[') {
    if (!crazy) return fenerror("holdings outside crazyhouse");
    s++;
    int held = 0;
    while (*s && *s != ']') {
      char c = *s++;
      int code = fencode(c);
      if (c == '-') continue;
      if (code == 0 || code == WKING || code == BKING) return fenerror("unknown letter in the holdings");
      if (++held > MAXHELD) return fenerror("too many men in hand");
      f->hand[f->handcount++] = code;
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

// 1 when the variant's kings are royal: every variant but giveaway and suicide, where a king may
// be captured, stand next to the other or be missing.
static int royalkings(const variantrow *variant) {
  return !(variant->flags & VFANTI) || (variant->flags & VFLOSERS);
}

// Reads and checks every field of a FEN text.
static int readfen(const char *fen, const variantrow *variant, fenfields *f) {
  char word[FENSIZE];
  const char *p = fen;
  memset(f, 0, sizeof *f);
  if (strlen(fen) >= FENSIZE) return fenerror("too long");
  while (*p == ' ') p++;
  int threecheck = (variant->flags & VFTHREECHECK) != 0;
  int kingsaside = (variant->flags & VFTWOKINGS) ? 2 : royalkings(variant) ? 1 : 0;
  if (!readboardfield(&p, (variant->flags & VFCRAZY) != 0, kingsaside, f)) return 0;
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
    if (threecheck && !checksread && numbers == 0 && readchecks(word, f)) {
      checksread = 1;
    } else if (threecheck && !checksread && numbers == 2 && word[0] == '+' && readchecks(word, f)) {
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
static void checkcastling(const variantrow *variant) {
  if (variant->castling == CASTLENONE) {
    wcastleking = wcastlea = wcastleh = bcastleking = bcastlea = bcastleh = 0;
    return;
  }
  int wking = board[SQE1] == WKING || (variant->castling == CASTLEWILD && board[SQD1] == WKING);
  int bking = board[SQE8] == BKING || (variant->castling == CASTLEWILD && board[SQD8] == BKING);
  if (!wking || board[SQA1] != WROOK) wcastlea = 0;
  if (!wking || board[SQH1] != WROOK) wcastleh = 0;
  if (!bking || board[SQA8] != BROOK) bcastlea = 0;
  if (!bking || board[SQH8] != BROOK) bcastleh = 0;
  if (!wcastlea && !wcastleh) wcastleking = 0;
  if (!bcastlea && !bcastleh) bcastleking = 0;
}

// Fills the hands and the pawn-born lists of the held board: every pawn and every man marked
// promoted belongs in its side's list. Answers 0 when a side has more than 16 such men.
static int filllists(const fenfields *f) {
  int whiteborn = 0;
  int blackborn = 0;
  int wslot = 1, bslot = 1;
  for (int i = 0; i < f->handcount; i++) {
    int code = perftblack ? othercolour(f->hand[i]) : f->hand[i];
    if (iswhite(code)) gamewheld[wslot++] = code;
    else gamebheld[bslot++] = code;
  }
  for (int sq = 1; sq <= 64; sq++) {
    int real = perftblack ? turnsquare(sq) : sq;
    int code = board[sq];
    if (code != WPAWN && code != BPAWN && !f->promotedsq[real]) continue;
    if (iswhite(code)) {
      if (++whiteborn > MAXPAWNBORN) return fenerror("more than 16 pawn-born men on one side");
      gamewpieces[whiteborn] = sq;
    } else {
      if (++blackborn > MAXPAWNBORN) return fenerror("more than 16 pawn-born men on one side");
      gamebpieces[blackborn] = sq;
    }
  }
  return 1;
}

// 1 when the two kings stand side by side (with two kings a side: any two of them).
static int kingsadjacent() {
  for (int a = 1; a <= 64; a++) {
    if (board[a] != WKING) continue;
    for (int b = 1; b <= 64; b++)
      if (board[b] == BKING && abs(fileof(a) - fileof(b)) <= 1 && abs(rankof(a) - rankof(b)) <= 1) return 1;
  }
  return 0;
}

// Sets the board up from a FEN text in the given variant (null text: the starting position):
// parsefen and mirrorboard read the board and the castling letters, turnboard turns it when Black
// is to move, and the tool adds what parsefen does not read (hands, promoted men, en passant,
// check counts). 1 on success, 0 with the reason in perfterror.
int perftsetup(const char *variantname, const char *fen) {
  fenfields f;
  char text[FENSIZE + 8];
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
  resetgamerecord();
  setvariantflags(variant->flags, VFALL);
  perftvariant = variant;
  perftengine = &enginetable[variant->engine];
  perftblack = f.black;
  color = perftblack ? 0 : 1;
  parsefen(text, length - 1);
  mirrorboard();
  if (memcmp(board + 1, f.realboard + 1, 64 * sizeof(int)) != 0) {
    snprintf(perfterror, sizeof perfterror, "the engine's FEN reader placed the men differently");
    return 0;
  }
  checkcastling(variant);
  if (perftblack) turnboard();
  findkings();

  memset(gamewpieces, 0, sizeof gamewpieces);
  memset(gamebpieces, 0, sizeof gamebpieces);
  gamewheld[0] = gamebheld[0] = crazymode ? 0 : NODROPS;
  if (f.epsquare) {
    int held = perftblack ? turnsquare(f.epsquare) : f.epsquare;
    gameepsquares[held] = BPAWN;
    rootepflag = (!onafile(held - 8) && board[held - 9] == WPAWN) || (!onhfile(held - 8) && board[held - 7] == WPAWN);
  }
  topc = perftblack ? f.blackchecks : f.whitechecks;
  topp = perftblack ? f.whitechecks : f.blackchecks;
  if (!filllists(&f)) return 0;
  if (!royalkings(variant)) return 1;
  // In atomic the kings may stand side by side, and then neither is in check.
  int touching = kingsadjacent();
  if (touching && !atomicmode) return fenerror("the kings stand side by side");
  for (int sq = 1; sq <= 64; sq++)
    if (board[sq] == BKING && isattacked(sq) && !touching) return fenerror("the side not to move is in check");
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
  int to = undo->move.to;
  int captured = undo->move.captured;
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
  int to = undo->move.to;
  if (undo->rightcaptured == 1) wcastlea = to;
  if (undo->rightcaptured == 2) wcastleh = to;
  if (undo->rightcaptured == 3) bcastlea = to;
  if (undo->rightcaptured == 4) bcastleh = to;
  undo->rightcaptured = 0;
}

// Atomic: the capture just made explodes. Answers 0 when the explosion blew up the mover's own
// king or the capture was made by a king, 1 otherwise.
static int perftexplode(int ply, perftundo *undo) {
  int illegal = 0;
  undo->exploded = 1;
  explode(undo->move.to, ply, &undo->blastwin, &illegal, undo->blastsave, 0);
  return illegal == 0;
}

// Makes the move as the searches do (the same make; a promoting pawn becomes promotion, or a queen
// for 0), then takes the castling right of a rook captured on its corner.
static void perftmakeman(int ply, int from, int to, int promotion, int *childep, perftundo *undo) {
  undo->rightcaptured = undo->checkgiven = undo->exploded = undo->blastwin = 0;
  makemove(ply, from, to, promotion, childep, &undo->move, gamewheld, gamebheld, gamewpieces, gamebpieces);
  if (from > 0) takerookright(ply, undo);
  assert(antimode || boardisok(0, 0, 0, gamewheld, gamebheld, gamewpieces, gamebpieces));  // antichess kings may go or multiply
}

// Makes the move (a promotion makes a queen), and in atomic explodes a capture. Answers 1 when the
// variant's engine finds the move legal; an atomic move that blows up the other king is legal
// whatever else it does. The caller always unmakes it.
int perftmake(int ply, int from, int to, int *childep, perftundo *undo) {
  perftmakeman(ply, from, to, 0, childep, undo);
  if (atomicmode && (undo->move.captured != EMPTY || undo->move.epcapture)) {
    if (!perftexplode(ply, undo)) return 0;
    if (undo->blastwin) return 1;
  }
  return perftengine->legal(ply);
}

// Takes back a move made by perftmake.
void perftunmake(int ply, int *childep, perftundo *undo) {
  if (undo->exploded) unexplode(undo->move.to, undo->blastsave);
  undo->exploded = 0;
  giverookright(undo);
  unmakemove(ply, childep, &undo->move, gamewheld, gamebheld, gamewpieces, gamebpieces);
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
  if (undo->blastwin) return 0;
  if (!threecheckmode) return perftnode(depth - 1, ply + 1, childep);
  long long count = perftcountcheck(ply, undo) ? 0 : perftnode(depth - 1, ply + 1, childep);
  perftuncountcheck(ply, undo);
  return count;
}

// Promotion pieces in the order they are counted; the searches themselves make only the queen.
static const int promotionpieces[4] = {WQUEEN, WROOK, WBISHOP, WKNIGHT};

// 1 when the move just made put a promoted man on its to-square that is still there: an atomic
// promotion with capture explodes the new man at once, whatever it became.
static int promotedmanstands(const perftundo *undo) { return undo->move.promoted && !undo->exploded; }

// Leaf count below a legal move just made: a promotion counts once for each piece.
static long long perftbelow(int depth, int ply, const int *childep, perftundo *undo) {
  if (!undo->move.promoted) return perftafter(depth, ply, childep, undo);
  if (!promotedmanstands(undo)) return 4 * perftafter(depth, ply, childep, undo);
  int base = ply % 2 == 1 ? 0 : BLACKOFFSET;
  long long count = 0;
  for (int k = 0; k < 4; k++) {
    board[undo->move.to] = promotionpieces[k] + base;
    count += perftafter(depth, ply, childep, undo);
  }
  board[undo->move.to] = WQUEEN + base;
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

// 1 when the root position is already over: in 3check the side that just moved gave its third check.
static int rootover() { return threecheckmode && topp >= THREECHECKS; }

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
      int promoted = undo.move.promoted;
      for (int k = 0; k < (promoted ? 4 : 1); k++) {
        if (promoted && promotedmanstands(&undo)) board[undo.move.to] = promotionpieces[k];
        long long n = perftafter(depth, 1, childep, &undo);
        perftmovetext(movefrom[i], moveto[i], promoted ? promotionpieces[k] : 0, text);
        output("%s: %lld\n", text, n);
        total += n;
      }
      if (promoted && promotedmanstands(&undo)) board[undo.move.to] = WQUEEN;
    }
    perftunmake(1, childep, &undo);
  }
  return total;
}
