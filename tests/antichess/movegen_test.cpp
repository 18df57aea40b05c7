// Antichess move generation: perft against fairy-stockfish's counts, the generators' order,
// promotions to every man, edge files, castling by variant, capture picking and root ordering.
#include "antitest.h"

#include <fstream>
#include <sstream>

namespace {

using AntiMovegen = AntiTest;

const char *const STARTFEN = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

struct movelist {
  int from[ANTIMAXMOVES], to[ANTIMAXMOVES], promo[ANTIMAXMOVES];
  int count = 0;
  void generate(int ply) { antigenerate(ply, from, to, promo, &count, gameepsquares); }
  int find(int f, int t, int p = 0) const {
    for (int i = 1; i <= count; i++)
      if (from[i] == f && to[i] == t && promo[i] == p) return i;
    return 0;
  }
};

// Every line of the reference file: counted by fairy-stockfish in the variant whose rules agree.
TEST_F(AntiMovegen, PerftMatchesTheReferenceFile) {
  std::ifstream file(std::string(KORVEL_SOURCE_DIR) + "/tools/perft-antichess.txt");
  ASSERT_TRUE(file.good());
  std::string line;
  int lines = 0;
  while (std::getline(file, line)) {
    line = line.substr(0, line.find('#'));
    if (line.find_first_not_of(" \t") == std::string::npos) continue;
    std::stringstream fields(line);
    std::string variant, fen, depth, expected;
    std::getline(fields, variant, ';');
    std::getline(fields, fen, ';');
    std::getline(fields, depth, ';');
    std::getline(fields, expected, ';');
    if (fen == "startpos") fen = STARTFEN;
    setup(variant.c_str(), fen.c_str());
    EXPECT_EQ(perft(std::stoi(depth)), std::stoll(expected)) << variant << " " << fen << " depth " << depth;
    lines++;
  }
  EXPECT_GE(lines, 100);
}

// Deeper counts, also fairy-stockfish's (giveaway, antichess, losers).
TEST_F(AntiMovegen, PerftMatchesFairyStockfishDeeper) {
  struct {
    const char *variant, *fen;
    int depth;
    long long expected;
  } cases[] = {
      {"giveaway", STARTFEN, 5, 2732672},
      {"giveaway", "r3k2r/p1pp1pb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1", 4, 3221},
      {"giveaway", "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1", 5, 101},
      {"suicide", "2k5/8/8/8/8/8/8/3QK3 w - - 0 1", 5, 225075},
      {"suicide", "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1", 5, 101},
      {"losers", STARTFEN, 5, 2723795},
      {"losers", "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1", 3, 487},
      {"losers", "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1", 5, 2132},
  };
  for (const auto &c : cases) {
    setup(c.variant, c.fen);
    EXPECT_EQ(perft(c.depth), c.expected) << c.variant << " " << c.fen;
  }
}

TEST_F(AntiMovegen, StartPositionOrderKnightsFirstThenPawnsFileByFile) {
  setup("giveaway", STARTFEN);
  movelist m;
  m.generate(1);
  ASSERT_EQ(m.count, 20);
  const char *order[20][2] = {{"b1", "a3"}, {"b1", "c3"}, {"g1", "f3"}, {"g1", "h3"}, {"a2", "a3"},
                              {"a2", "a4"}, {"b2", "b3"}, {"b2", "b4"}, {"c2", "c3"}, {"c2", "c4"},
                              {"d2", "d3"}, {"d2", "d4"}, {"e2", "e3"}, {"e2", "e4"}, {"f2", "f3"},
                              {"f2", "f4"}, {"g2", "g3"}, {"g2", "g4"}, {"h2", "h3"}, {"h2", "h4"}};
  for (int i = 0; i < 20; i++) {
    EXPECT_EQ(m.from[i + 1], sq(order[i][0])) << i;
    EXPECT_EQ(m.to[i + 1], sq(order[i][1])) << i;
  }
}

TEST_F(AntiMovegen, PromotionsToEveryManKingLeftOutInLosers) {
  setup("suicide", "8/6P1/8/8/8/8/8/k7 w - - 0 1");
  movelist m;
  m.generate(1);
  ASSERT_EQ(m.count, 5);
  const int codes[5] = {WQUEEN, WROOK, WBISHOP, WKNIGHT, WKING};
  for (int i = 0; i < 5; i++) EXPECT_EQ(m.promo[i + 1], codes[i]);
  setup("losers", "k7/6P1/8/8/8/8/8/K7 w - - 0 1");
  movelist l;
  l.generate(1);
  EXPECT_EQ(l.find(sq("g7"), sq("g8"), WKING), 0);
  EXPECT_NE(l.find(sq("g7"), sq("g8"), WKNIGHT), 0);
  // Black promotes to black men.
  setup("giveaway", "8/8/8/8/8/8/1p6/8 b - - 0 1");
  movelist b;
  b.generate(1);
  EXPECT_EQ(b.count, 5);
  EXPECT_EQ(b.promo[5], WKING);  // held turned: the engine's side carries the white codes
}

TEST_F(AntiMovegen, PawnsDoNotCaptureRoundTheEdges) {
  // A black man on a6 would be h4's +9 and a white one on h3 a5's -9, both round the edge.
  setup("giveaway", "8/8/p7/1p4p1/P6P/7P/8/8 w - - 0 1");
  movelist w;
  w.generate(1);
  EXPECT_NE(w.find(sq("a4"), sq("b5")), 0);
  EXPECT_NE(w.find(sq("h4"), sq("g5")), 0);
  EXPECT_EQ(w.find(sq("h4"), sq("a6")), 0);
  EXPECT_EQ(w.count, 4);  // a5, axb5, h5, hxg5; h3 stands blocked behind h4
  setup("giveaway", "8/8/8/p6p/1P4P1/7P/8/8 w - - 0 1");
  movelist b;
  b.generate(2);
  EXPECT_NE(b.find(sq("a5"), sq("b4")), 0);
  EXPECT_NE(b.find(sq("h5"), sq("g4")), 0);
  EXPECT_EQ(b.find(sq("a5"), sq("h3")), 0);
  EXPECT_EQ(b.count, 4);  // a4, axb4, h4, hxg4
}

TEST_F(AntiMovegen, KingTakesKing) {
  setup("giveaway", "8/8/8/3k4/4K3/8/8/8 w - - 0 1");
  movelist m;
  m.generate(1);
  EXPECT_EQ(m.count, 8);
  EXPECT_NE(m.find(sq("e4"), sq("d5")), 0);
}

TEST_F(AntiMovegen, CastlingByVariant) {
  const char *fen = "4k3/4r3/8/8/8/8/8/R3K2R w KQ - 0 1";  // the white king stands in check
  setup("suicide", fen);
  movelist s;
  s.generate(1);
  EXPECT_EQ(s.find(SQE1, SQE1 + 2), 0);
  EXPECT_EQ(s.find(SQE1, SQE1 - 2), 0);
  setup("giveaway", fen);
  movelist g;
  g.generate(1);
  EXPECT_NE(g.find(SQE1, SQE1 + 2), 0);
  EXPECT_NE(g.find(SQE1, SQE1 - 2), 0);
  ficsrules = 1;
  movelist f;
  f.generate(1);
  EXPECT_EQ(f.find(SQE1, SQE1 + 2), 0);
  EXPECT_EQ(f.find(SQE1, SQE1 - 2), 0);
  ficsrules = 0;
  setup("losers", fen);
  movelist l;
  l.generate(1);
  EXPECT_EQ(l.find(SQE1, SQE1 + 2), 0);
  // Black castles on the turned board: the king on d1 goes to b1 (g8) and f1 (c8).
  setup("giveaway", "r3k2r/8/8/8/8/8/8/4K3 b kq - 0 1");
  movelist b;
  b.generate(1);
  EXPECT_NE(b.find(SQD1, SQD1 - 2), 0);
  EXPECT_NE(b.find(SQD1, SQD1 + 2), 0);
}

TEST_F(AntiMovegen, PickCaptureBringsTheMostValuableVictimForward) {
  setup("giveaway", "8/8/8/2nkq3/3Q4/8/8/8 w - - 0 1");
  // The queen's moves to d3, then taking the knight, the king and the queen, in that order.
  int from[ANTIMAXMOVES] = {0, sq("d4"), sq("d4"), sq("d4"), sq("d4")};
  int to[ANTIMAXMOVES] = {0, sq("d3"), sq("c5"), sq("d5"), sq("e5")};
  int promo[ANTIMAXMOVES] = {};
  EXPECT_TRUE(pickcapture(from, to, promo, 1, 4));
  EXPECT_EQ(to[1], sq("d5"));
  EXPECT_TRUE(pickcapture(from, to, promo, 2, 4));
  EXPECT_EQ(to[2], sq("e5"));
  EXPECT_TRUE(pickcapture(from, to, promo, 3, 4));
  EXPECT_EQ(to[3], sq("c5"));
  EXPECT_FALSE(pickcapture(from, to, promo, 4, 4));
  EXPECT_EQ(to[4], sq("d3"));
}

TEST_F(AntiMovegen, EnPassantRanksAsAPawnCaptureBehindOrdinaryOnes) {
  setup("giveaway", "8/8/5n2/3pP3/8/8/8/8 w - d6 0 1");
  movelist m;
  m.generate(1);
  ASSERT_EQ(m.count, 3);  // e6, exf6, exd6 en passant
  EXPECT_TRUE(pickcapture(m.from, m.to, m.promo, 1, m.count));
  EXPECT_EQ(m.to[1], sq("f6"));
  EXPECT_TRUE(pickcapture(m.from, m.to, m.promo, 2, m.count));
  EXPECT_EQ(m.to[2], sq("d6"));
  EXPECT_FALSE(pickcapture(m.from, m.to, m.promo, 3, m.count));
  EXPECT_TRUE(iscapture(sq("e5"), sq("d6")));
  EXPECT_FALSE(iscapture(sq("e5"), sq("e6")));
}

TEST_F(AntiMovegen, RootOrderMatchesThePromotionToo) {
  setup("giveaway", "8/6P1/8/8/8/8/8/k7 w - - 0 1");
  movelist m;
  m.generate(1);
  iterations = 2;
  iterfrom[1] = sq("g7"), iterto[1] = sq("g8"), iterpromo[1] = WKNIGHT;
  iterfrom[2] = sq("g7"), iterto[2] = sq("g8"), iterpromo[2] = WKING;
  antirootorder(m.from, m.to, m.promo, m.count);
  EXPECT_EQ(m.promo[1], WKING);
  EXPECT_EQ(m.promo[2], WKNIGHT);
  EXPECT_EQ(m.promo[3], WQUEEN);
  iterations = 1;
  iterfrom[1] = sq("a1");  // matches nothing: the list stays
  antirootorder(m.from, m.to, m.promo, m.count);
  EXPECT_EQ(m.promo[1], WKING);
}

}  // namespace
