// korvel-bench: searches a fixed list of positions (normal chess, 3check, crazyhouse with full
// hands) to a fixed depth with the regular engine, and prints per position the best move, the
// score and the nodes, then the total nodes, the time and the nodes per second. Books, randomness,
// the clock and the input poll play no part, so the node total is the search's signature: a change
// that does not mean to change the search must leave it as it is.
//
//   korvel-bench [--depth N]      (default depth 5; crazyhouse positions one ply less, since the
//                                  drops multiply the tree; a bad argument exits with status 2)
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "config/config.h"
#include "frontend/frontend.h"
#include "regular/regular.h"

constexpr int DEFAULTDEPTH = 5;
constexpr int BENCHDEPTHCAP = 25;         // the front end's cap: no whisper at the bench depths
constexpr int NOPOLL = 1 << 30;           // a poll interval never reached
constexpr unsigned BENCHKEYSEED = 20240;  // fixed key tables
constexpr int ENDGAMEMATERIAL = 27;       // material (pawn 1 .. queen 9, both colours) of the endgame phase

enum { NORMAL, THREECHECK, CRAZYHOUSE };

// One bench position: the variant, a FEN text (board, side to move, castling) and, for
// crazyhouse, the two hands as piece letters (upper case White).
struct benchposition {
  int variant;
  const char *fen;
  const char *hands;
};

static const benchposition positions[] = {
    {NORMAL, "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq", ""},
    {NORMAL, "r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq", ""},
    {NORMAL, "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq", ""},
    {NORMAL, "r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N1PN2/PP3PPP/R2QKB1R w KQ", ""},
    {NORMAL, "rnbqkb1r/pp1p1ppp/4pn2/2p5/2PP4/5N2/PP2PPPP/RNBQKB1R w KQkq", ""},
    {NORMAL, "r2q1rk1/ppp2ppp/2np1n2/2b1p1B1/2B1P1b1/2NP1N2/PPP2PPP/R2Q1RK1 w -", ""},
    {NORMAL, "2rq1rk1/pb1nbppp/1p2pn2/2pp4/2PP4/1PN1PN2/PB2BPPP/2RQ1RK1 w -", ""},
    {NORMAL, "r1b2rk1/2q1bppp/p2p1n2/np2p3/3PP3/5N1P/PPBN1PP1/R1BQR1K1 w -", ""},
    {NORMAL, "rnbqkbnr/pppp1ppp/8/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R b KQkq", ""},
    {NORMAL, "r1bqkb1r/pppp1ppp/2n2n2/4p2Q/2B1P3/8/PPPP1PPP/RNB1K1NR w KQkq", ""},
    {NORMAL, "r1bqk2r/ppp2ppp/2n5/3np3/1bB5/2N2N2/PPPP1PPP/R1BQK2R b KQkq", ""},
    {NORMAL, "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w -", ""},
    {NORMAL, "8/8/8/4k3/8/8/4P3/4K3 w -", ""},
    {NORMAL, "6k1/5ppp/8/8/8/8/5PPP/3R2K1 w -", ""},
    {NORMAL, "8/5pk1/6p1/8/3R4/6P1/5PK1/r7 w -", ""},
    {NORMAL, "8/8/4kpp1/3p4/p2P1P2/P3K1P1/8/8 w -", ""},
    {NORMAL, "2k5/8/8/8/8/8/8/3QK3 w -", ""},
    {NORMAL, "8/pp3k2/2p5/5p2/5P2/2P5/PP3K2/8 b -", ""},
    {NORMAL, "4r1k1/1p3ppp/p1p5/2Pp4/1P1Pn3/P3PqP1/3Q1P1P/1R3RK1 b -", ""},
    {NORMAL, "r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w -", ""},
    {THREECHECK, "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq", ""},
    {THREECHECK, "rnbqkbnr/ppp2ppp/8/3pp3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq", ""},
    {THREECHECK, "r1bqkbnr/pppp1ppp/2n5/4p3/2B1P3/5Q2/PPPP1PPP/RNB1K1NR w KQkq", ""},
    {THREECHECK, "rnb1kbnr/pppp1ppp/8/4p3/4P2q/5P2/PPPP2PP/RNBQKBNR w KQkq", ""},
    {THREECHECK, "r1bqk1nr/pppp1ppp/2n5/2b1p3/2B1P3/5N2/PPPP1PPP/RNBQK2R b KQkq", ""},
    {CRAZYHOUSE, "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq", ""},
    {CRAZYHOUSE, "r1bqkb1r/pppp1ppp/2n2n2/4p3/2B1P3/5N2/PPPP1PPP/RNBQK2R w KQkq", "NPbp"},
    {CRAZYHOUSE, "r1b1k2r/ppp2ppp/2n5/3qp3/1b6/2N2N2/PPPP1PPP/R1BQKB1R w KQkq", "PPNBRQppnbrq"},
    {CRAZYHOUSE, "r2qk2r/ppp2ppp/2n1bn2/2bpp3/4P3/2PP1N2/PP1NBPPP/R1BQK2R b KQkq", "QNPPrbp"},
    {CRAZYHOUSE, "r1bq1rk1/pppp1ppp/2n2n2/4p3/1bB1P3/2N2N2/PPPP1PPP/R1BQ1RK1 w -", "PNBRQpnbrq"},
};

// Piece code of a FEN letter, 0 for anything else.
static int lettercode(char c) {
  const char *letters = "PNBRQKpnbrqk";
  const char *p = strchr(letters, c);
  return (c != '\0' && p) ? (int)(p - letters) + 1 : 0;
}

// Puts a position on the board held from the side to move (turned when Black is to move, as the
// engine holds it when it plays Black), with the king squares, the castled flags, the endgame
// phase, the hands and the pawn-born lists (every pawn on the board) set as the engine pass would.
static void setposition(const benchposition &pos, int *wheld, int *bheld, int *wpieces, int *bpieces) {
  char text[200];
  text[0] = ' ';
  snprintf(text + 1, sizeof text - 1, "%s", pos.fen);
  int length = (int)strlen(text + 1);
  parsefen(text, length);
  mirrorboard();
  const char *side = strchr(pos.fen, ' ');
  color = (side && side[1] == 'b') ? 0 : 1;
  if (color == 0) turnboard();
  memset(wheld, 0, HANDSLOTS * sizeof(int));
  memset(bheld, 0, HANDSLOTS * sizeof(int));
  int wslot = 1, bslot = 1;
  for (const char *h = pos.hands; *h; h++) {
    int code = lettercode(*h);
    if (color == 0) code = iswhite(code) ? code + BLACKOFFSET : code - BLACKOFFSET;
    if (iswhite(code)) wheld[wslot++] = code;
    else if (isblack(code)) bheld[bslot++] = code;
  }
  threecheckmode = pos.variant == THREECHECK;
  crazymode = pos.variant == CRAZYHOUSE;
  atomicmode = antimode = losersmode = suicidemode = twokingsmode = 0;
  topc = topp = 0;
  wcastled = bcastled = 0;
  static const int material[13] = {0, 1, 3, 3, 5, 9, 0, 1, 3, 3, 5, 9, 0};
  int total = 0;
  int wslots = 0, bslots = 0;
  memset(wpieces, 0, PAWNBORNSLOTS * sizeof(int));
  memset(bpieces, 0, PAWNBORNSLOTS * sizeof(int));
  for (int sq = 1; sq <= 64; sq++) {
    total += material[board[sq]];
    if (board[sq] == WPAWN && wslots < PAWNBORNSLOTS - 1) wpieces[++wslots] = sq;
    if (board[sq] == BPAWN && bslots < PAWNBORNSLOTS - 1) bpieces[++bslots] = sq;
    if (board[sq] == WKING) ownkingsq = sq;
    if (board[sq] == BKING) oppkingsq = sq;
  }
  endgameflag = total <= ENDGAMEMATERIAL;
}

// The move as the protocol writes it: squares turned back when Black was to move; a drop as
// piece letter, "@" and square.
static void movetext(char *text, int from, int to) {
  auto square = [](char *p, int sq) {
    if (color == 0) sq = 65 - sq;
    p[0] = (char)('a' + (sq - 1) % 8);
    p[1] = (char)('1' + (sq - 1) / 8);
  };
  if (from < 0) {
    text[0] = "?PNBRQK"[(-from - 1) % 6 + 1];
    text[1] = '@';
    square(text + 2, to);
    text[4] = '\0';
  } else {
    square(text, from);
    square(text + 2, to);
    text[4] = '\0';
  }
}

// Iterative deepening as the engine pass runs it, to the bench depth. Returns the root score.
static int deepen(int depth, int *wheld, int *bheld, int *wpieces, int *bpieces) {
  int epsquares[65] = {};
  uint64_t key = crazymode ? rootkeycrazy(0, wheld, bheld) : rootkey(0);
  iterations = 0;
  int score = 0;
  for (searchdepth = 1; searchdepth <= depth; searchdepth++) {
    score = search(ROOTALPHA, ROOTBETA, searchdepth, 1, epsquares, 0, key, 0, 0, 0, wheld, bheld, wpieces, bpieces);
    iterations++;
    iterfrom[iterations] = finfrom;
    iterto[iterations] = finto;
    if (score == LOSTROOTSCORE) break;
  }
  return score;
}

int main(int argc, char **argv) {
  int depth = DEFAULTDEPTH;
  for (int i = 1; i < argc; i++) {
    char *end = nullptr;
    if (strcmp(argv[i], "--depth") == 0 && i + 1 < argc) {
      depth = (int)strtol(argv[++i], &end, 10);
      if (*end == '\0' && depth >= 1 && depth < MAXITERATIONSROOT) continue;
    }
    fprintf(stderr, "usage: korvel-bench [--depth N], N from 1 to %d\n", MAXITERATIONSROOT - 1);
    return 2;
  }
  setvbuf(stdout, nullptr, _IONBF, 0);
  initrays();
  initkeys(BENCHKEYSEED);
  resetgame();
  resetconfig();
  resetregular();
  hashfactor = 1;
  allocatetable();
  depthcap = BENCHDEPTHCAP;
  pollinterval = NOPOLL;
  movetime = 0x7fffffff;
  postmode = 0;

  long long totalnodes = 0;
  unsigned start = gettickcount();
  int n = (int)(sizeof positions / sizeof positions[0]);
  for (int p = 0; p < n; p++) {
    int wheld[HANDSLOTS], bheld[HANDSLOTS];
    int wpieces[PAWNBORNSLOTS], bpieces[PAWNBORNSLOTS];
    setposition(positions[p], wheld, bheld, wpieces, bpieces);
    resetsearchcounters();
    lastrootscore = 0;
    stopsearch = 0;
    searchstart = thinkstart = gettickcount();
    int positiondepth = positions[p].variant == CRAZYHOUSE && depth > 1 ? depth - 1 : depth;
    int score = deepen(positiondepth, wheld, bheld, wpieces, bpieces);
    char text[8];
    movetext(text, finfrom, finto);
    static const char *variantname[3] = {"normal", "3check", "crazyhouse"};
    output("%2d %-10s %-5s score %6d nodes %12lld  %s\n", p + 1, variantname[positions[p].variant], text, score,
           nodes, positions[p].fen);
    totalnodes += nodes;
  }
  unsigned elapsed = gettickcount() - start;
  unsigned long long nps = elapsed ? (unsigned long long)totalnodes * 1000ULL / elapsed : 0;
  output("\nTotal nodes: %lld\nTotal time (ms): %u\nNodes/second: %llu\n", totalnodes, elapsed, nps);
  freetable();
  return 0;
}
