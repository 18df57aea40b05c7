// korvel-bench: searches a fixed list of positions (normal chess, 3check, crazyhouse with full
// hands, atomic, giveaway, suicide, losers) to a fixed depth with the engine of each variant, and
// prints per position the best move, the score and the nodes, then the regular engine's total
// nodes, time and nodes per second, and each other engine's beside them. Books, randomness,
// the clock and the input poll play no part, so the node total is the search's signature: a change
// that does not mean to change the search must leave it as it is.
//
//   korvel-bench [--depth N] [--full]   (default depth 5; crazyhouse positions one ply less, since
//                                  the drops multiply the tree; --full searches with the full-strength
//                                  searches, whose totals are their own signature; a bad argument
//                                  exits with status 2)
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "frontend/frontend.h"
#include "perft.h"

constexpr int DEFAULTDEPTH = 5;
constexpr int NOPOLL = 1 << 30;           // a poll interval never reached
constexpr int NOTIMELIMIT = 0x7fffffff;   // a move time never reached
constexpr unsigned BENCHKEYSEED = 20240;  // fixed key tables

// One bench position: the variant and a FEN text (board with the crazyhouse hands in brackets,
// side to move, castling).
struct benchposition {
  const char *variant;
  const char *fen;
};

static const benchposition positions[] = {
    {"normal", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq"},
    {"normal", "r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq"},
    {"normal", "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq"},
    {"normal", "r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N1PN2/PP3PPP/R2QKB1R w KQ"},
    {"normal", "rnbqkb1r/pp1p1ppp/4pn2/2p5/2PP4/5N2/PP2PPPP/RNBQKB1R w KQkq"},
    {"normal", "r2q1rk1/ppp2ppp/2np1n2/2b1p1B1/2B1P1b1/2NP1N2/PPP2PPP/R2Q1RK1 w -"},
    {"normal", "2rq1rk1/pb1nbppp/1p2pn2/2pp4/2PP4/1PN1PN2/PB2BPPP/2RQ1RK1 w -"},
    {"normal", "r1b2rk1/2q1bppp/p2p1n2/np2p3/3PP3/5N1P/PPBN1PP1/R1BQR1K1 w -"},
    {"normal", "rnbqkbnr/pppp1ppp/8/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R b KQkq"},
    {"normal", "r1bqkb1r/pppp1ppp/2n2n2/4p2Q/2B1P3/8/PPPP1PPP/RNB1K1NR w KQkq"},
    {"normal", "r1bqk2r/ppp2ppp/2n5/3np3/1bB5/2N2N2/PPPP1PPP/R1BQK2R b KQkq"},
    {"normal", "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w -"},
    {"normal", "8/8/8/4k3/8/8/4P3/4K3 w -"},
    {"normal", "6k1/5ppp/8/8/8/8/5PPP/3R2K1 w -"},
    {"normal", "8/5pk1/6p1/8/3R4/6P1/5PK1/r7 w -"},
    {"normal", "8/8/4kpp1/3p4/p2P1P2/P3K1P1/8/8 w -"},
    {"normal", "2k5/8/8/8/8/8/8/3QK3 w -"},
    {"normal", "8/pp3k2/2p5/5p2/5P2/2P5/PP3K2/8 b -"},
    {"normal", "4r1k1/1p3ppp/p1p5/2Pp4/1P1Pn3/P3PqP1/3Q1P1P/1R3RK1 b -"},
    {"normal", "r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w -"},
    {"3check", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq"},
    {"3check", "rnbqkbnr/ppp2ppp/8/3pp3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq"},
    {"3check", "r1bqkbnr/pppp1ppp/2n5/4p3/2B1P3/5Q2/PPPP1PPP/RNB1K1NR w KQkq"},
    {"3check", "rnb1kbnr/pppp1ppp/8/4p3/4P2q/5P2/PPPP2PP/RNBQKBNR w KQkq"},
    {"3check", "r1bqk1nr/pppp1ppp/2n5/2b1p3/2B1P3/5N2/PPPP1PPP/RNBQK2R b KQkq"},
    {"crazyhouse", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR[] w KQkq"},
    {"crazyhouse", "r1bqkb1r/pppp1ppp/2n2n2/4p3/2B1P3/5N2/PPPP1PPP/RNBQK2R[NPbp] w KQkq"},
    {"crazyhouse", "r1b1k2r/ppp2ppp/2n5/3qp3/1b6/2N2N2/PPPP1PPP/R1BQKB1R[PPNBRQppnbrq] w KQkq"},
    {"crazyhouse", "r2qk2r/ppp2ppp/2n1bn2/2bpp3/4P3/2PP1N2/PP1NBPPP/R1BQK2R[QNPPrbp] b KQkq"},
    {"crazyhouse", "r1bq1rk1/pppp1ppp/2n2n2/4p3/1bB1P3/2N2N2/PPPP1PPP/R1BQ1RK1[PNBRQpnbrq] w -"},
    {"atomic", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq"},
    {"atomic", "r1bqkbnr/pppp1ppp/2n5/4p3/2B1P3/8/PPPP1PPP/RNBQK1NR w KQkq"},
    {"atomic", "rnbqk2r/pppp1ppp/5n2/2b1p3/4P3/3P1N2/PPP2PPP/RNBQKB1R b KQkq"},
    {"atomic", "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq"},
    {"atomic", "8/8/8/2k5/3K4/8/8/3r3R w -"},
    {"giveaway", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w -"},
    {"giveaway", "rnbqkbnr/pppp1ppp/4p3/8/8/1P6/P1PPPPPP/RNBQKBNR w -"},
    {"suicide", "8/2p2p2/3k4/8/8/2N5/1P3R2/8 w -"},
    {"suicide", "rn1qkbnr/p1pppppp/8/8/8/4P3/P1PP1PPP/RNB1KBNR b -"},
    {"losers", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq"},
    {"losers", "r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq"},
};

// What one engine searched over its positions.
struct enginetally {
  long long nodes;
  unsigned ms;
};

// The titles of the other engines' total lines, by engine.
static const char *const tallytitles[ENGINES] = {nullptr, "Atomic", "Antichess"};

// The move as the protocol writes it: squares turned back when Black was to move; a drop as
// piece letter, "@" and square.
static void movetext(char *text, int from, int to) {
  int n = 0;
  if (from < 0) {
    text[n++] = "PNBRQK"[(-from - 1) % BLACKOFFSET];
    text[n++] = '@';
  } else {
    squaretext(color == 0 ? turnsquare(from) : from, text + n);
    n += 2;
  }
  squaretext(color == 0 ? turnsquare(to) : to, text + n);
  text[n + 2] = '\0';
}

// Nodes per second, 0 when no time passed.
static unsigned long long persecond(long long count, unsigned ms) {
  return ms ? (unsigned long long)count * 1000ULL / ms : 0;
}

int main(int argc, char **argv) {
  int depth = DEFAULTDEPTH;
  for (int i = 1; i < argc; i++) {
    char *end = nullptr;
    if (strcmp(argv[i], "--full") == 0) {
      fullmode = 1;
      continue;
    }
    if (strcmp(argv[i], "--depth") == 0 && i + 1 < argc) {
      depth = (int)strtol(argv[++i], &end, 10);
      if (*end == '\0' && depth >= 1 && depth < MAXITERATIONSROOT) continue;
    }
    fprintf(stderr, "usage: korvel-bench [--depth N] [--full], N from 1 to %d\n", MAXITERATIONSROOT - 1);
    return 2;
  }
  setvbuf(stdout, nullptr, _IONBF, 0);
  initrays();
  initkeys(BENCHKEYSEED);
  int full = fullmode;
  resetall();
  fullmode = full;
  allocatetable(1);

  enginetally tallies[ENGINES] = {};
  int n = (int)(sizeof positions / sizeof positions[0]);
  for (int p = 0; p < n; p++) {
    if (!perftsetup(positions[p].variant, positions[p].fen)) {
      fprintf(stderr, "korvel-bench: position %d: %s\n", p + 1, perfterror);
      return 1;
    }
    updateendgame();
    resetmovecounters();
    lastrootscore = 0;
    stopsearch = 0;
    pollinterval = NOPOLL;
    movetime = softtime = NOTIMELIMIT;
    if (fullmode) cleartable();  // each position's search starts from an empty table, not timed
    unsigned positionstart = searchstart = thinkstart = gettickcount();
    int positiondepth = crazymode && depth > 1 ? depth - 1 : depth;
    depthcap = positiondepth + 1;
    int score = PASSNOSCORE;
    const enginerow *engine = engineof(perftvariant);
    (fullmode ? deepenfull : deepen)(engine, &score);
    char text[MOVETEXTSIZE];
    movetext(text, finfrom, finto);
    output("%2d %-10s %-5s score %6d nodes %12lld  %s\n", p + 1, positions[p].variant, text, score, nodes,
           positions[p].fen);
    enginetally *tally = &tallies[engine - enginetable];
    tally->nodes += nodes;
    tally->ms += gettickcount() - positionstart;
  }
  const enginetally *regular = &tallies[ENGINEREGULAR];
  output("\nTotal nodes: %lld\nTotal time (ms): %u\nNodes/second: %llu\n", regular->nodes, regular->ms,
         persecond(regular->nodes, regular->ms));
  for (int e = ENGINEREGULAR + 1; e < ENGINES; e++)
    output("%s nodes: %lld\n%s time (ms): %u\n%s nodes/second: %llu\n", tallytitles[e], tallies[e].nodes,
           tallytitles[e], tallies[e].ms, tallytitles[e], persecond(tallies[e].nodes, tallies[e].ms));
  // Nodes per second of each engine, a line each.
  for (int e = 0; e < ENGINES; e++)
    output("Engine %s: nodes/second %llu\n", enginetable[e].name, persecond(tallies[e].nodes, tallies[e].ms));
  freetable();
  return 0;
}
