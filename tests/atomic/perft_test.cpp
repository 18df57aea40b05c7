// Atomic perft against the reference counts of tools/perft-atomic.txt (a real atomic rules
// implementation), counted by the server's castling rule, and the castling rule without it.
#include <fstream>
#include <sstream>

#include "atomictest.h"

namespace {

using AtomicPerftTest = AtomicTest;

constexpr long long QUICKLIMIT = 250000;  // lines expecting more nodes are left to make perft
const char *const STARTFEN = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

TEST_F(AtomicPerftTest, ReferenceCountsWithServerCastling) {
  std::ifstream file(std::string(KORVEL_SOURCE_DIR) + "/tools/perft-atomic.txt");
  ASSERT_TRUE(file) << "tools/perft-atomic.txt missing";
  std::string line;
  int checked = 0;
  while (std::getline(file, line)) {
    line = line.substr(0, line.find('#'));
    std::stringstream fields(line);
    std::string variant, fen, depth, expected;
    if (!std::getline(fields, variant, ';') || !std::getline(fields, fen, ';') || !std::getline(fields, depth, ';') ||
        !std::getline(fields, expected))
      continue;
    if (std::stoll(expected) > QUICKLIMIT) continue;
    if (fen == "startpos") fen = STARTFEN;
    setfen(fen.c_str());
    ficsrules = 1;
    EXPECT_EQ(perft(std::stoi(depth)), std::stoll(expected)) << fen << " depth " << depth;
    checked++;
  }
  EXPECT_GE(checked, 40);
}

TEST_F(AtomicPerftTest, StartPositionPublishedCountsWithoutServerRules) {
  setfen(nullptr);
  EXPECT_EQ(perft(1), 20);
  EXPECT_EQ(perft(3), 8902);
  EXPECT_EQ(perft(4), 197326);
}

// Without the server's rules the king castles out of, through and into attacks; with them not.
TEST_F(AtomicPerftTest, CastlingThroughAttacksOnlyWithoutServerRules) {
  setfen("4k3/4r3/8/8/8/8/8/R3K2R w KQ - 0 1");  // in check from e7
  EXPECT_EQ(perft(1), 6);
  ficsrules = 1;
  EXPECT_EQ(perft(1), 4);
  ficsrules = 0;
  setfen("4kr2/8/8/8/8/8/8/R3K2R w KQ - 0 1");  // f1 attacked
  EXPECT_EQ(perft(1), 24);
  ficsrules = 1;
  EXPECT_EQ(perft(1), 23);
}

// A promotion with capture explodes the new man at once: all four promotions count, each leaving
// the same position.
TEST_F(AtomicPerftTest, PromotionCaptureCountsFourTimes) {
  setfen("r3k3/1P6/8/8/8/8/8/4K3 w q - 0 1");
  EXPECT_EQ(perft(2), 128);
}

}  // namespace
