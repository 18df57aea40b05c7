// End-to-end: what the real korvel binary does with commands that arrive while it thinks, with
// the time and depth commands, analyze mode, unknown and CR LF lines, the game budget against the
// clock, a chess server's moves and hands, and lines far too long to be commands. Driven through
// pipes as xboard (or a server's interface) writes; time limits are generous, the machine is shared.
#include "pipes.h"

#include <gtest/gtest.h>

#include <string>
#include <time.h>
#include <unistd.h>
#include <vector>

static const char QUICK[] = "level 9999 1 0\n";  // a few milliseconds a move
static const char LONGSEARCH[] = "level 0 60 0\ntime 360000\notim 360000\n";  // minutes for one move
static const char MATELEVEL[] = "level 100 1 0\n";  // time enough to see a mate in one
static const char MATEINONE[] = "6k1/5ppp/8/8/8/8/5PPP/R5K1 w - - 0 1";  // a1a8 mates
constexpr int REPLYMS = 20000;     // longest wait for a reply that should come soon
constexpr int THINKUS = 700000;    // microseconds to let a search get going

static long long millis() {
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return (long long)ts.tv_sec * 1000 + ts.tv_nsec / 1000000;
}

class SearchInputTest : public ::testing::Test {
 protected:
  childproc engine;
  childproc referee;
  size_t cursor = 0;

  void SetUp() override { ASSERT_TRUE(startkorvel(&engine)); }

  void TearDown() override {
    sendtext(&engine, "quit\n");
    stopchild(&engine);
    if (referee.pid > 0) {
      sendtext(&referee, "quit\n");
      stopchild(&referee);
    }
  }

  void needreferee(const std::string &variant) {
    if (!startreferee(&referee, variant)) GTEST_SKIP() << "fairy-stockfish is not installed";
  }

  int count(const std::string &text, size_t from = 0) {
    int n = 0;
    for (size_t at = engine.text.find(text, from); at != std::string::npos; at = engine.text.find(text, at + 1)) n++;
    return n;
  }

  // Sends ping n and waits for its pong: everything sent before it has been carried out.
  void sync(int n) {
    sendtext(&engine, "ping " + std::to_string(n) + "\n");
    ASSERT_TRUE(waitfortext(&engine, "pong " + std::to_string(n) + "\n", 0, REPLYMS, nullptr)) << engine.text;
  }
};

// Commands that change the game end a search at once and no move is written for the position it
// searched; each is then carried out as if it had come after the search: new, undo, setboard with
// go, and the colour commands. A ping during the engine's own search is answered only after the
// move it hurries along ("?").
TEST_F(SearchInputTest, GameCommandsEndTheSearchWithoutItsMove) {
  needreferee("chess");
  sendtext(&engine, std::string("new\n") + LONGSEARCH + "e2e4\n");
  usleep(THINKUS);
  long long sent = millis();
  sendtext(&engine, std::string("new\n") + QUICK + "d2d4\n");
  std::string first = nextmove(&engine, &cursor, REPLYMS);
  EXPECT_LT(millis() - sent, 5000);
  EXPECT_TRUE(islegal(&referee, "", {"d2d4"}, first)) << first << "\n" << engine.text;
  EXPECT_EQ(count("\nmove "), 1) << engine.text;

  // undo takes back the opponent's move the engine was thinking about; the next is answered.
  sendtext(&engine, std::string(LONGSEARCH) + "c2c4\n");
  usleep(THINKUS);
  sendtext(&engine, std::string("undo\n") + QUICK + "g1f3\n");
  std::string reply = nextmove(&engine, &cursor, REPLYMS);
  EXPECT_TRUE(islegal(&referee, "", {"d2d4", first, "g1f3"}, reply)) << reply << "\n" << engine.text;
  EXPECT_EQ(count("\nmove "), 2) << engine.text;

  // setboard and go: the engine plays the set-up position, not the one it was searching.
  sendtext(&engine, std::string(LONGSEARCH) + "b1c3\n");
  usleep(THINKUS);
  sendtext(&engine, std::string(MATELEVEL) + "setboard " + MATEINONE + "\ngo\n");
  EXPECT_EQ(nextmove(&engine, &cursor, REPLYMS), "a1a8") << engine.text;
  EXPECT_EQ(count("\nmove "), 3) << engine.text;

  // white during the search: no move; then go plays White's side of the position on the board.
  sendtext(&engine, std::string("new\n") + LONGSEARCH + "e2e4\n");
  usleep(THINKUS);
  sendtext(&engine, std::string("force\n") + QUICK + "white\ngo\n");
  reply = nextmove(&engine, &cursor, REPLYMS);
  EXPECT_TRUE(islegal(&referee, "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR w KQkq - 0 1", {}, reply))
      << reply << "\n" << engine.text;
  EXPECT_EQ(count("\nmove "), 4) << engine.text;

  // ping while the engine thinks on its own move: the pong follows the move.
  sendtext(&engine, std::string("new\n") + LONGSEARCH + "e2e4\n");
  usleep(THINKUS);
  sendtext(&engine, "ping 7\n");
  usleep(300000);
  readsome(&engine, 0);
  EXPECT_EQ(engine.text.find("pong 7"), std::string::npos) << engine.text;
  sendtext(&engine, "?\n");
  size_t pong = 0;
  ASSERT_TRUE(waitfortext(&engine, "\npong 7\n", 0, REPLYMS, &pong)) << engine.text;
  EXPECT_LT(engine.text.rfind("\nmove "), pong) << engine.text;
  EXPECT_EQ(count("\nmove "), 5) << engine.text;
}

// st N gives every move about N seconds and never more; sd N searches iterations 1..N only.
TEST_F(SearchInputTest, MoveTimeAndDepth) {
  sendtext(&engine, "new\nst 1\ntime 360000\notim 360000\n");
  sync(1);
  long long sent = millis();
  sendtext(&engine, "e2e4\n");
  ASSERT_NE(nextmove(&engine, &cursor, REPLYMS), "") << engine.text;
  long long took = millis() - sent;
  EXPECT_GE(took, 700);
  EXPECT_LE(took, 2500);
  sendtext(&engine, "new\nst 0\nsd 3\npost\n" + std::string(LONGSEARCH));
  sync(2);
  size_t from = engine.text.size();
  sendtext(&engine, "e2e4\n");
  ASSERT_NE(nextmove(&engine, &cursor, REPLYMS), "") << engine.text;
  EXPECT_NE(engine.text.find("\n3 ", from), std::string::npos) << engine.text.substr(from);
  EXPECT_EQ(engine.text.find("\n4 ", from), std::string::npos) << engine.text.substr(from);
}

// The game budget of the command line never gives a move more than the clock allows.
TEST_F(SearchInputTest, BudgetKeepsToTheClock) {
  childproc budget;
  ASSERT_TRUE(startchild(&budget, {korvelpath(), "60000"}));
  sendtext(&budget, "xboard\nprotover 2\nnew\ntime 30\notim 30\nping 1\n");
  ASSERT_TRUE(waitfortext(&budget, "pong 1", 0, REPLYMS, nullptr)) << budget.text;
  long long sent = millis();
  sendtext(&budget, "e2e4\n");
  size_t at = 0;
  ASSERT_NE(nextmove(&budget, &at, REPLYMS), "") << budget.text;
  EXPECT_LT(millis() - sent, 1000);
  sendtext(&budget, "quit\n");
  stopchild(&budget);
}

// analyze: thinking lines for the side on move and never a move; moves, undo, new and setboard
// inside it start the analysis afresh, "." and ping are answered at once while it goes on; exit
// leaves force mode behind, and go then plays the position analysed. A position without a move
// gives no line, and the depth cap ends an analysis, which then waits.
TEST_F(SearchInputTest, AnalyzeMode) {
  sendtext(&engine, "new\nforce\npost\nanalyze\n");
  ASSERT_TRUE(waitfortext(&engine, "\n3 ", 0, REPLYMS, nullptr)) << engine.text;
  size_t from = engine.text.size();
  sendtext(&engine, ".\nping 5\n");
  ASSERT_TRUE(waitfortext(&engine, "\npong 5\n", from, 3000, nullptr)) << engine.text.substr(from);
  from = engine.text.size();
  sendtext(&engine, "e2e4\n");
  // The analysis of Black's reply: its lines begin with a Black move.
  ASSERT_TRUE(waitfortext(&engine, "\n2 ", from, REPLYMS, nullptr)) << engine.text.substr(from);
  size_t line = engine.text.find("\n1 ", from);
  ASSERT_NE(line, std::string::npos);
  size_t pv = line + 1;
  for (int field = 0; field < 4; field++) pv = engine.text.find(' ', pv) + 1;
  EXPECT_TRUE(engine.text[pv + 1] == '7' || engine.text[pv + 1] == '8') << engine.text.substr(line, 40);
  sendtext(&engine, "undo\nnew\nsetboard " + std::string(MATEINONE) + "\n");
  from = engine.text.size();
  ASSERT_TRUE(waitfortext(&engine, " a1a8 ", from, REPLYMS, nullptr)) << engine.text.substr(from);
  sendtext(&engine, "exit\n");
  sync(6);
  EXPECT_EQ(engine.text.find("\nmove "), std::string::npos) << engine.text;
  EXPECT_EQ(engine.text.find("Error"), std::string::npos) << engine.text;
  sendtext(&engine, std::string(MATELEVEL) + "go\n");
  EXPECT_EQ(nextmove(&engine, &cursor, REPLYMS), "a1a8") << engine.text;
  // The mated side has nothing to analyse; at the depth sd gives the analysis ends and waits.
  sendtext(&engine, "force\nsd 2\nanalyze\n");
  sync(7);
  from = engine.text.size();
  sendtext(&engine, "undo\n");
  ASSERT_TRUE(waitfortext(&engine, "\n2 ", from, REPLYMS, nullptr)) << engine.text.substr(from);
  sync(8);
  EXPECT_EQ(engine.text.find("\n3 ", from), std::string::npos) << engine.text.substr(from);
  EXPECT_EQ(count("\nmove "), 1) << engine.text;
}

// A line no test knows gets an error naming it; the commands xboard sends that need no answer
// get none. A CR LF line means what an LF line means: after "new" the engine plays normal chess,
// where a king may not stay in check (the giveaway it loads with would take the move).
TEST_F(SearchInputTest, UnknownAndCarriageReturnLines) {
  sendtext(&engine, "frobnicate 3\naccepted ping\nrejected analyze\nxboard\ncomputer\nrandom\nhard\neasy\n"
                    "rating 2000 1800\nhint\nbk\n.\nname Someone\nics -\n");
  sync(1);
  EXPECT_EQ(count("Error (unknown command): frobnicate\n"), 1) << engine.text;
  EXPECT_EQ(count("Error"), 1) << engine.text;
  sendtext(&engine, "new\r\nforce\r\nsetboard 4k3/8/8/8/8/8/8/4K2r w - - 0 1\r\ne1f1\r\n");
  EXPECT_TRUE(waitfortext(&engine, "Illegal move: e1f1\n", 0, REPLYMS, nullptr)) << engine.text;
  sync(2);
  EXPECT_EQ(count("Error"), 1) << engine.text;
}

// On a chess server the server's move stands even where the rules here refuse it (a castling
// whose right the set-up did not give), "holding" after the move sets the hands (during the
// search, which then starts again with them), and no result line is written: the server announces
// results.
TEST_F(SearchInputTest, ServerMovesAndHands) {
  needreferee("chess");
  sendtext(&engine, std::string("ics freechess.org\nnew\n") + QUICK + "setboard 4k3/8/8/8/8/8/8/4K2R w - - 0 1\ne1g1\n");
  std::string reply = nextmove(&engine, &cursor, REPLYMS);
  EXPECT_TRUE(islegal(&referee, "4k3/8/8/8/8/8/8/4K2R w K - 0 1", {"e1g1"}, reply)) << reply << "\n" << engine.text;
  EXPECT_EQ(engine.text.find("Illegal move"), std::string::npos) << engine.text;
  // Crazyhouse: only the hands the server gives hold the queen that mates on the back rank.
  sendtext(&engine, std::string("new\nvariant crazyhouse\n") + MATELEVEL + "setboard k7/8/8/8/8/8/5PPP/6K1 w - - 0 1\n"
                    "g1h1\nholding [] [q]\n");
  reply = nextmove(&engine, &cursor, REPLYMS);
  EXPECT_EQ(reply.substr(0, 2), "Q@") << engine.text;
  EXPECT_EQ(reply[3], '1') << engine.text;
  sync(3);
  EXPECT_EQ(engine.text.find("\n0-1\n"), std::string::npos) << engine.text;
  EXPECT_EQ(engine.text.find("\n1-0\n"), std::string::npos) << engine.text;
}

// However long a line is, the input is read on and what cannot be a command is dropped: during a
// search quit and "?" are still heard after 17,000 characters, and so are ping and the end of
// input between searches.
TEST_F(SearchInputTest, LongLinesAreDropped) {
  const std::string junk = std::string(17000, 'x') + "\n";
  sendtext(&engine, "new\ntime 99999999\ngo\n");
  usleep(THINKUS);
  sendtext(&engine, junk + "?\n");
  ASSERT_NE(nextmove(&engine, &cursor, REPLYMS), "") << engine.text.substr(0, 2000);
  sendtext(&engine, "force\n" + junk + std::string(40000, 'y') + "\n");
  sync(1);
  sendtext(&engine, "new\ntime 99999999\ngo\n");
  usleep(THINKUS);
  sendtext(&engine, junk + "quit\n");
  EXPECT_TRUE(waitforexit(&engine, REPLYMS));
  EXPECT_EQ(engine.text.find("Error"), std::string::npos);
  childproc ending;
  ASSERT_TRUE(startkorvel(&ending));
  sendtext(&ending, "new\n" + std::string(20000, 'z'));
  closeinput(&ending);
  EXPECT_TRUE(waitforexit(&ending, REPLYMS));
  stopchild(&ending);
}
