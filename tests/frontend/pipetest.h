// What the end-to-end suites share: the time commands they send, how long they wait for a reply,
// and a fixture that starts the real korvel binary (and, when a test asks, fairy-stockfish as the
// referee) and stops both afterwards.
#ifndef KORVEL_TESTS_PIPETEST_H
#define KORVEL_TESTS_PIPETEST_H

#include "pipes.h"

#include <gtest/gtest.h>

#include <string>

static const char QUICK[] = "level 9999 1 0\n";  // a few milliseconds a move
static const char LONGSEARCH[] = "level 0 60 0\ntime 360000\notim 360000\n";  // minutes for one move
constexpr int REPLYMS = 20000;  // longest wait for a reply that should come soon

class PipeTest : public ::testing::Test {
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

  // How often text stands in what the engine wrote from the offset from on.
  int count(const std::string &text, size_t from = 0) {
    int n = 0;
    for (size_t at = engine.text.find(text, from); at != std::string::npos; at = engine.text.find(text, at + 1)) n++;
    return n;
  }
};

#endif
