// The FEN set-up shared by the protocol's setboard, the tools and the tests: reads and checks every
// field of a FEN text (board, crazyhouse hand and promoted men, side to move, castling, en passant,
// 3check counts, the fifty-move count) and puts the position onto the game's board, held from the
// engine's side.
#include "frontend/frontend.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

constexpr int MAXPAWNBORN = PAWNBORNSLOTS - 1;  // pawn-born men one side can have
constexpr int MAXHELD = HANDSLOTS - 1;  // men one hand can hold

char fenerrortext[FENERRORSIZE];

// Records why a set-up failed; always answers 0 so that readers can return it.
static int fenerror(const char *reason) {
  snprintf(fenerrortext, sizeof fenerrortext, "malformed FEN: %s", reason);
  return 0;
}

// Reads the crazyhouse hand at *p up to the end mark (or the end of the field when the end mark is
// a blank) into the fields; moves *p past the end mark.
static int readholdings(const char **p, char endmark, fenfields *f) {
  const char *s = *p;
  int held = 0;
  while (*s && *s != endmark) {
    char c = *s++;
    int code = fencode(c);
    if (c == '-') continue;
    if (code == 0 || code == WKING || code == BKING) return fenerror("unknown letter in the holdings");
    if (++held > MAXHELD) return fenerror("too many men in hand");
    f->hand[f->handcount++] = code;
  }
  if (endmark != ' ') {
    if (*s != endmark) return fenerror("unclosed holdings");
    s++;
  }
  *p = s;
  return 1;
}

// Reads the board field and the hand at *p into the fields; moves *p past them. The hand comes
// in brackets after the board or, as some interfaces write it, as a ninth rank after a slash.
static int readboardfield(const char **p, int crazy, int kingsaside, fenfields *f) {
  const char *s = *p;
  int rank = 8;
  int file = 0;
  int kings[2] = {0, 0};
  while (*s && *s != ' ' && *s != '[') {
    char c = *s++;
    if (c == '/') {
      if (file != 8) return fenerror("a rank does not hold 8 squares");
      if (rank == 1 && crazy) {
        if (!readholdings(&s, ' ', f)) return 0;
        break;
      }
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
    if (!readholdings(&s, ']', f)) return 0;
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
int readfen(const char *fen, const variantrow *variant, fenfields *f) {
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
  // Interfaces leave out trailing fields (xboard writes some set-ups without the en-passant
  // field): a missing en-passant field is none, missing clocks are 0 and move 1. A field of
  // digits, or a 3check count with its "+", can never be an en-passant square, so where one
  // stands in that place the en-passant field is missing and the clocks (or the counts) follow.
  int n = nextfield(&p, word, sizeof word);
  int pending = n == 1 && (isnumber(word) || strchr(word, '+'));  // no en-passant field: word is a clock or count
  if (n == 1 && !pending && strcmp(word, "-") != 0) {
    if (strlen(word) != 2 || word[0] < 'a' || word[0] > 'h' || word[1] != (f->black ? '3' : '6'))
      return fenerror("bad en-passant square");
    f->epsquare = (word[0] - 'a' + 1) + 8 * (word[1] - '1');
  }
  int numbers = 0;
  int checksread = 0;
  while (pending || (n = nextfield(&p, word, sizeof word)) == 1) {
    pending = 0;
    if (threecheck && !checksread && numbers == 0 && readchecks(word, f)) {
      checksread = 1;
    } else if (threecheck && !checksread && numbers == 2 && word[0] == '+' && readchecks(word, f)) {
      checksread = 1;
    } else if (isnumber(word) && numbers < 2) {
      if (numbers == 0) f->fifty = atoi(word) < FENMAXFIFTY ? atoi(word) : FENMAXFIFTY;
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
static int filllists(const fenfields *f, int turned) {
  int whiteborn = 0;
  int blackborn = 0;
  int wslot = 1, bslot = 1;
  for (int i = 0; i < f->handcount; i++) {
    int code = turned ? othercolour(f->hand[i]) : f->hand[i];
    if (iswhite(code)) gamewheld[wslot++] = code;
    else gamebheld[bslot++] = code;
  }
  for (int sq = 1; sq <= 64; sq++) {
    int real = turned ? turnsquare(sq) : sq;
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

// 1 when the king of the code counts for legality: every king, or with two kings a side (twokings)
// only the royal one, the one the searches protect; the other is an ordinary man.
static int countingking(int sq, int code, int twokings) { return board[sq] == code && (!twokings || sq == firstking(code)); }

// 1 when a king stands beside an enemy king that counts, which could take it.
static int kingsadjacent(int twokings) {
  for (int a = 1; a <= 64; a++) {
    if (board[a] != WKING) continue;
    for (int b = 1; b <= 64; b++) {
      if (board[b] != BKING || abs(fileof(a) - fileof(b)) > 1 || abs(rankof(a) - rankof(b)) > 1) continue;
      if (countingking(a, WKING, twokings) || countingking(b, BKING, twokings)) return 1;
    }
  }
  return 0;
}

// Puts a position read by readfen onto the board as the engine holds a game: parsefen and
// mirrorboard read the board and the castling letters, turnboard turns it when turned is 1 (the
// engine plays Black), and the hands, promoted men, en-passant marker, check counts and fifty-move
// count are added. Refuses (0, with the reason in fenerrortext) a position whose kings stand side
// by side or whose side not to move is in check: it could never have been reached.
int placefen(const fenfields *f, const variantrow *variant, int turned) {
  assert(f && variant);
  char text[FENSIZE + 8];
  // parsefen reads from index 1; the hand is left out since its letters would read as castling rights.
  int length = 0;
  text[length++] = ' ';
  for (int rank = 8; rank >= 1; rank--) {
    for (int file = 1; file <= 8; file++) {
      int code = f->realboard[8 * (rank - 1) + file];
      text[length++] = code ? " PNBRQKpnbrqk"[code] : '1';
    }
    text[length++] = rank > 1 ? '/' : ' ';
  }
  for (const char *s = f->castling; *s; s++) text[length++] = *s;
  text[length] = 0;
  parsefen(text, length - 1);
  mirrorboard();
  checkcastling(variant);
  if (turned) turnboard();
  findkings();
  memset(gamewheld, 0, sizeof gamewheld);
  memset(gamebheld, 0, sizeof gamebheld);
  memset(gamewpieces, 0, sizeof gamewpieces);
  memset(gamebpieces, 0, sizeof gamebpieces);
  memset(gameepsquares, 0, sizeof gameepsquares);
  gamewheld[0] = gamebheld[0] = (variant->flags & VFCRAZY) ? 0 : NODROPS;
  rootepflag = 0;
  if (f->epsquare) {
    // The marker names the pawn that has just passed the square, in the held colours.
    int passed = turned ? turnsquare(f->epsquare) : f->epsquare;
    int pawnsq = turned ? turnsquare(f->black ? f->epsquare + 8 : f->epsquare - 8) : (f->black ? f->epsquare + 8 : f->epsquare - 8);
    int origin = 2 * passed - pawnsq;
    gameepsquares[passed] = board[pawnsq];
    rootepflag = doublestepbeside(origin, pawnsq);
  }
  topc = turned ? f->blackchecks : f->whitechecks;
  topp = turned ? f->whitechecks : f->blackchecks;
  fiftycount = f->fifty;
  if (!filllists(f, turned)) return 0;
  if (!royalkings(variant)) return 1;
  // In atomic the kings may stand side by side, and then neither is in check.
  int twokings = (variant->flags & VFTWOKINGS) != 0;
  int touching = kingsadjacent(twokings);
  if (touching && !(variant->flags & VFATOMIC)) return fenerror("the kings stand side by side");
  int waiting = (f->black != 0) == (turned != 0) ? BKING : WKING;  // the king of the side not to move
  for (int sq = 1; sq <= 64; sq++)
    if (countingking(sq, waiting, twokings) && isattacked(sq) && !touching) return fenerror("the side not to move is in check");
  return 1;
}
