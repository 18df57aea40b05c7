// The full-strength searches of the three engines, reached through the engine table as the engine
// pass reaches them: mates and draws inside the tree, the table's mate scores, the clock plan,
// and the switch from the command line and the interface's engine option.
#include <gtest/gtest.h>

#include <string>

#include "../frontend/pipes.h"
#include "config/config.h"
#include "frontend/frontend.h"
#include "perft.h"

namespace {

constexpr int REPLYMS = 20000;

struct FullSearch : ::testing::Test {
  void SetUp() override {
    initrays();
    initkeys(7);
    resetall();
    allocatetable(1);
    fullmode = 1;
    pollinterval = 1 << 30;
    movetime = softtime = 0x7fffffff;
    searchstart = thinkstart = gettickcount();
  }
  void TearDown() override { freetable(); }

  // Searches the variant's position to the depth with its engine's full search; answers the score
  // and leaves the move in finfrom/finto, written as the protocol writes it in *move.
  int search(const char *variant, const char *fen, int depth, std::string *move) {
    EXPECT_TRUE(perftsetup(variant, fen)) << fen << ": " << perfterror;
    updateendgame();
    resetmovecounters();
    depthcap = depth + 1;
    int score = PASSNOSCORE;
    deepenfull(engineof(perftvariant), &score);
    char text[3] = "";
    move->clear();
    for (int sq : {finfrom, finto}) {
      squaretext(color == 0 ? turnsquare(sq) : sq, text);
      *move += std::string(text, 2);
    }
    return score;
  }
};

// Mates are found with their distance, also when the second search meets its own table entries,
// giveaway's compulsory capture and atomic's blown-up king.
TEST_F(FullSearch, MatesWithTheirDistanceInEveryEngine) {
  std::string move;
  // Mate in two on the back rank: a rook goes to the eighth rank, is taken, the other one mates.
  const char *backrank = "2r3k1/5ppp/8/8/8/8/3R1PPP/3R2K1 w - -";
  EXPECT_EQ(search("normal", backrank, 5, &move), KINGSCORE - 5);
  EXPECT_TRUE(move == "d1d8" || move == "d2d8") << move;
  EXPECT_EQ(search("normal", backrank, 6, &move), KINGSCORE - 5) << "the table keeps the mate's distance";
  search("giveaway", "8/8/8/3p4/4P3/8/8/8 w - -", 3, &move);
  EXPECT_EQ(move, "e4d5");
  EXPECT_EQ(search("atomic", "rnbqkbnr/pppp1ppp/8/4p3/2B1P3/8/PPPP1PPP/RNBQK1NR w KQkq -", 3, &move), ATOMICWIN - 2);
  EXPECT_EQ(move, "c4f7");
}

// The plan of a move never gives away more than a third of what the clock holds beyond its
// reserve, the soft time is never above the hard one, and a clock of nothing still gets a time.
TEST_F(FullSearch, ClockPlanKeepsTheClock) {
  for (int clock : {1, 50, 120, 400, 1000, 10000, 60000, 600000}) {
    for (int inc : {0, 100, 2000}) {
      for (int moves : {0, 1, 40}) {
        for (int lag : {0, 300}) {
          movetime = 500;
          planfulltime(clock, inc, moves, 39, lag);
          EXPECT_GE(movetime, 1);
          EXPECT_LE(softtime, movetime);
          int reserve = 100 + (lag > inc ? lag - inc : 0) * (moves ? 1 : 25);
          EXPECT_LE(movetime, clock > reserve ? (clock - reserve) / 3 + 1 : 1) << clock << " " << inc << " " << moves;
        }
      }
    }
  }
  movetime = 700;
  planfulltime(0, 0, 0, 0, 0);  // no clock given: the allotment stands
  EXPECT_EQ(movetime, 700);
  EXPECT_EQ(softtime, 700);
}

// Through the pipes as an interface drives it: the word full confirms itself, the engine option
// turns the mode on and off, and full-mode thinking lines carry real centiseconds and nodes.
TEST(FullMode, CommandLineOptionAndThinkingLines) {
  childproc engine;
  ASSERT_TRUE(startchild(&engine, {korvelpath(), "norc", "full"}));
  size_t at = 0;
  EXPECT_TRUE(waitfortext(&engine, "full strength search on\n", 0, REPLYMS, &at)) << engine.text;
  EXPECT_TRUE(waitfortext(&engine, "full strength search is on", 0, REPLYMS, &at)) << engine.text;
  sendtext(&engine, "quit\n");
  stopchild(&engine);

  childproc gui;
  ASSERT_TRUE(startkorvel(&gui));
  EXPECT_TRUE(waitfortext(&gui, "option=\"Full strength -check 0\"", 0, REPLYMS, &at)) << gui.text;
  sendtext(&gui, "option Full strength=1\nnew\npost\nlevel 0 1 0\ntime 3000\notim 3000\ngo\n");
  size_t cursor = 0;
  std::string move = nextmove(&gui, &cursor, REPLYMS);
  EXPECT_NE(move, "");
  // A thinking line: depth, score, centiseconds, nodes, then the line of moves.
  size_t line = gui.text.rfind("\n5 ", cursor);
  ASSERT_NE(line, std::string::npos) << gui.text;
  int depth = 0, score = 0, centiseconds = -1;
  long long nodes = 0;
  ASSERT_EQ(sscanf(gui.text.c_str() + line, "%d %d %d %lld", &depth, &score, &centiseconds, &nodes), 4);
  EXPECT_GE(centiseconds, 0);
  EXPECT_GT(nodes, 100);
  // Off again: the default search's thinking lines show no time and no nodes.
  size_t before = gui.text.size();
  sendtext(&gui, "option Full strength=0\nnew\npost\nlevel 0 1 0\ntime 3000\notim 3000\ngo\n");
  move = nextmove(&gui, &cursor, REPLYMS);
  EXPECT_NE(move, "");
  EXPECT_NE(gui.text.find("\n1 ", before), std::string::npos) << gui.text.substr(before);
  EXPECT_NE(gui.text.find(" 0 0 ", before), std::string::npos) << gui.text.substr(before);
  sendtext(&gui, "quit\n");
  stopchild(&gui);
}

}  // namespace
