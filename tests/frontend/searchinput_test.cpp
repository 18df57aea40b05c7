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

constexpr int REPLYMS = 20000;     // longest wait for a reply that should come soon
constexpr int THINKUS = 700000;    // microseconds to let a search get going

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
