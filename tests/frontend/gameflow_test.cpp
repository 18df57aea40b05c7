// End-to-end: whole game flows through pipes as xboard writes them, in the variants whose rules
// differ most: which moves the engine and its opponent may play, and that a game that is over gets
// its result line once and no move, however it ended.
#include "pipetest.h"

#include <gtest/gtest.h>

#include <string>

// How often text stands in all.
static int occurrences(const std::string &all, const std::string &text) {
  int n = 0;
  for (size_t at = all.find(text); at != std::string::npos; at = all.find(text, at + 1)) n++;
  return n;
}

// Starts the engine, sends the opening handshake and the script, waits for wanted (when given),
// then for the answer to a ping sent after it, so that nothing the script caused is still to come.
// Answers everything the engine wrote.
static std::string play(const std::string &script, const std::string &wanted) {
  childproc engine;
  if (!startkorvel(&engine)) return "";
  sendtext(&engine, std::string("xboard\nprotover 2\n") + QUICK + script);
  size_t at = 0;
  if (!wanted.empty()) {
    EXPECT_TRUE(waitfortext(&engine, wanted, 0, REPLYMS, &at)) << script << engine.text;
  }
  size_t from = engine.text.size();
  sendtext(&engine, "ping 77\n");
  EXPECT_TRUE(waitfortext(&engine, "pong 77", from, REPLYMS, &at)) << script << engine.text;
  sendtext(&engine, "quit\n");
  stopchild(&engine);
  return engine.text;
}

// The moves the engine wrote, each as its move line.
static int moves(const std::string &text) { return occurrences(text, "\nmove "); }

// Results of every kind the engine may write.
static int results(const std::string &text) {
  return occurrences(text, "\n1-0\n") + occurrences(text, "\n0-1\n") + occurrences(text, "\n1/2-1/2");
}

// In atomic the engine and the reader both follow the explosions: the only move that keeps the king
// is found, a capture that blows up the enemy king is played (also out of check), a king never
// captures, and the opponent's moves are judged by the same rules.
TEST(GameflowTest, AtomicLegalityIsTheRulesForBothSides) {
  const std::string start = "new\nvariant atomic\nforce\n";
  std::string text = play(start + "setboard r4b2/4R3/3Pkp2/pp4p1/4p1P1/4P3/P5B1/4K3 b - - 0 27\ngo\n", "\nmove ");
  EXPECT_NE(text.find("\nmove e6d5\n"), std::string::npos) << text;
  EXPECT_EQ(results(text), 0) << text;

  text = play(start + "setboard 4r1k1/5n2/8/3Q4/8/8/8/4K3 w - - 0 1\ngo\n", "\n1-0\n");
  EXPECT_NE(text.find("\nmove d5f7\n"), std::string::npos) << text;
  EXPECT_EQ(results(text), 1) << text;

  text = play(start + "setboard rr5k/7n/5N2/8/8/8/8/K7 w - - 0 1\ngo\n", "\n1-0\n");
  EXPECT_NE(text.find("\nmove f6h7\n"), std::string::npos) << text;
  EXPECT_EQ(results(text), 1) << text;

  // Mated: the king's capture of the checking rook would blow up the king itself.
  text = play(start + "setboard 6Rk/8/8/8/8/4K3/8/RB6 b - - 0 1\ngo\n", "\n1-0\n");
  EXPECT_EQ(moves(text), 0) << text;
  EXPECT_EQ(results(text), 1) << text;

  // The engine plays Black: White blows up its king, which is legal though the rook gives check.
  text = play("new\nvariant atomic\nsetboard 4r1k1/5n2/8/3Q4/8/8/8/4K3 w - - 0 1\nd5f7\n", "\n1-0\n");
  EXPECT_EQ(text.find("Illegal move"), std::string::npos) << text;
  EXPECT_EQ(moves(text), 0) << text;
  EXPECT_EQ(results(text), 1) << text;

  text = play("new\nvariant atomic\nsetboard 7k/8/8/8/8/8/4n3/4K3 w - - 0 1\ne1e2\n", "Illegal move: e1e2");
  EXPECT_EQ(moves(text), 0) << text;
}

// A game that is over gets its result line once and no move, whether it ended with the opponent's
// move, came over with a set-up or moves entered in force mode, or ended with the engine's move.
TEST(GameflowTest, AGameOverGetsOneResultAndNoMove) {
  struct ending {
    const char *script;
    const char *result;
  };
  const ending endings[] = {
      // 3check: White's third check entered in force mode, then the engine is to answer it.
      {"new\nvariant 3check\nforce\ne2e4\nd7d5\nf1b5\nc7c6\nb5c6\nb7c6\nd1h5\na7a6\nh5f7\ngo\n", "\n1-0\n"},
      // 3check: a set-up in which White has no checks left to give.
      {"new\nvariant 3check\nsetboard 4k3/8/8/8/8/8/8/4K2R w K - 0+3 0 1\ngo\n", "\n1-0\n"},
      // atomic: the opponent blows up the engine's king.
      {"new\nvariant atomic\nsetboard 6k1/5n2/8/3Q4/8/8/8/4K3 w - - 0 1\nd5f7\n", "\n1-0\n"},
      // giveaway: the engine's last pawn is blocked, which wins.
      {"new\nvariant giveaway\nsetboard 8/8/8/8/p7/8/P7/8 w - - 0 1\na2a3\n", "\n0-1\n"},
      // losers: the opponent takes the engine's last man but the king, which wins.
      {"new\nvariant losers\nsetboard 4k3/8/8/8/8/8/3p4/3QK3 w - - 0 1\nd1d2\n", "\n0-1\n"},
  };
  for (const ending &e : endings) {
    std::string text = play(e.script, e.result);
    EXPECT_EQ(moves(text), 0) << e.script << text;
    EXPECT_EQ(results(text), 1) << e.script << text;
  }
  // The engine's own move gives the third check; a move sent afterwards changes nothing.
  std::string text = play("new\nvariant 3check\nforce\nsetboard 4k3/8/8/8/8/8/8/4K2R w K - 1+3 0 1\ngo\n", "\n1-0\n");
  EXPECT_EQ(moves(text), 1) << text;
  text = play("new\nvariant 3check\nforce\nsetboard 4k3/8/8/8/8/8/8/4K2R w K - 1+3 0 1\ngo\ne8d7\n", "\n1-0\n");
  EXPECT_EQ(results(text), 1) << text;
  EXPECT_EQ(moves(text), 1) << text;
}

// Set-ups as interfaces write them: xboard leaves the en-passant field out of some, and in
// twokings only the royal kings (the first of each side from the a-file) may not stand side by side.
TEST(GameflowTest, SetupsAsInterfacesWriteThem) {
  std::string text = play("new\nvariant nocastle\nsetboard bknrnbqr/pppppppp/8/8/8/8/PPPPPPPP/BKNRNBQR w - 0 1\ne2e4\n",
                          "\nmove ");
  EXPECT_EQ(text.find("Illegal position"), std::string::npos) << text;
  EXPECT_EQ(text.find("Illegal move"), std::string::npos) << text;
  text = play("new\nvariant twokings\nsetboard k7/8/8/3k4/3K4/8/8/K7 w - - 0 1\nd4c4\n", "\nmove ");
  EXPECT_EQ(text.find("Illegal"), std::string::npos) << text;
}

// Twokings: a take-back rebuilds the board the game has (the second kings on f1 and f8 all game),
// and a search in which one of the two kings is taken keeps a sound board (the consistency check
// of the checking builds); the console editor leaves a board a search can start from.
TEST(GameflowTest, RebuildsAndEditsKeepTheGamesBoard) {
  std::string text = play("new\nvariant twokings\nforce\nd2d3\ne7e6\nundo\ne7e6\nc1e3\n", "");
  EXPECT_EQ(text.find("Illegal move"), std::string::npos) << text;
  text = play("new\nvariant twokings\nlevel 40 1 0\notim 0\na2a3\nhard\notim 100\ntime 100\npost\n", "\nmove ");
  EXPECT_EQ(moves(text), 1) << text;
  // In crazyhouse a pawn put on d5 (held square 28 with the engine Black) joins the pawn-born list.
  text = play("new\nvariant crazyhouse\na2a2\n28\n1\n0\ne2e4\n", "\nmove ");
  EXPECT_EQ(text.find("evaluation is 0"), std::string::npos) << text;
  EXPECT_EQ(moves(text), 1) << text;
}
