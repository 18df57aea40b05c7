// The bench tool: its node total at a small depth is the search's signature, and it refuses bad
// arguments.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "command.h"

namespace {

// The node totals of the bench at depth 3, by engine. A change that alters a search changes its
// total and says so.
constexpr long long BENCHDEPTH3NODES = 51547;
constexpr long long BENCHDEPTH3ATOMICNODES = 5505;
constexpr long long BENCHDEPTH3ANTICHESSNODES = 15273;
// The same for the full-strength searches (--full): their own signature.
constexpr long long FULLDEPTH3NODES = 28239;
constexpr long long FULLDEPTH3ATOMICNODES = 1510;
constexpr long long FULLDEPTH3ANTICHESSNODES = 5717;

std::string benchpath() { return std::string(KORVEL_BINARY_DIR) + "/korvel-bench"; }

// The number after a line's title ("Total", "Atomic", "Antichess") and " nodes: " in the bench
// output, -1 when missing.
long long totalnodes(const std::string &out, const std::string &title = "Total") {
  std::string head = "\n" + title + " nodes: ";
  size_t at = out.find(head);
  if (at == std::string::npos) return -1;
  return std::stoll(out.substr(at + head.size()));
}

TEST(BenchTool, NodeTotalIsTheSignatureAndRepeats) {
  std::ifstream probe(benchpath());
  if (!probe) GTEST_SKIP() << "korvel-bench not built";
  std::string first, second;
  ASSERT_EQ(runcommand(benchpath() + " --depth 3 2>/dev/null", &first), 0);
  EXPECT_EQ(totalnodes(first), BENCHDEPTH3NODES);
  EXPECT_EQ(totalnodes(first, "Atomic"), BENCHDEPTH3ATOMICNODES);
  EXPECT_EQ(totalnodes(first, "Antichess"), BENCHDEPTH3ANTICHESSNODES);
  ASSERT_EQ(runcommand(benchpath() + " --depth 3 2>/dev/null", &second), 0);
  EXPECT_EQ(totalnodes(second), totalnodes(first));
  // One line per position before the totals, each with its move, score and nodes.
  size_t lines = 0;
  std::string positions = first.substr(0, first.find("\nTotal nodes"));
  // (the thinking lines between them hold nodes too, but never a score).
  for (size_t at = positions.find(" score "); at != std::string::npos; at = positions.find(" score ", at + 1)) lines++;
  EXPECT_EQ(lines, 41u);  // 30 positions of the regular engine, 5 atomic ones, 6 antichess ones
  EXPECT_NE(first.find("Nodes/second: "), std::string::npos);
  EXPECT_NE(first.find("Atomic nodes/second: "), std::string::npos);
  EXPECT_NE(first.find("\nEngine regular: nodes/second "), std::string::npos);
  EXPECT_NE(first.find("\nEngine atomic: nodes/second "), std::string::npos);
  EXPECT_NE(first.find("\nEngine antichess: nodes/second "), std::string::npos);
}

TEST(BenchTool, FullModeHasItsOwnSignature) {
  std::ifstream probe(benchpath());
  if (!probe) GTEST_SKIP() << "korvel-bench not built";
  std::string out;
  ASSERT_EQ(runcommand(benchpath() + " --depth 3 --full 2>/dev/null", &out), 0);
  EXPECT_EQ(totalnodes(out), FULLDEPTH3NODES);
  EXPECT_EQ(totalnodes(out, "Atomic"), FULLDEPTH3ATOMICNODES);
  EXPECT_EQ(totalnodes(out, "Antichess"), FULLDEPTH3ANTICHESSNODES);
}

TEST(BenchTool, RefusesBadArgumentsWithStatusTwo) {
  std::ifstream probe(benchpath());
  if (!probe) GTEST_SKIP() << "korvel-bench not built";
  std::string out;
  for (const char *arguments : {"--depth", "--depth 0", "--depth x", "--depth 40", "--bogus", "3"}) {
    EXPECT_EQ(runcommand(benchpath() + " " + arguments + " 2>/dev/null", &out), 2) << arguments;
    EXPECT_EQ(out, "") << arguments;
  }
}

}  // namespace
