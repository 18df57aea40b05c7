// The variant table and its flags, the engine each variant gets, deepening to the depth cap, and
// the stop check.
#include <gtest/gtest.h>

#include "frontend/frontend.h"
#include "perft.h"

namespace {

struct ControlTest : ::testing::Test {
  void SetUp() override {
    initrays();
    initkeys(3);
    resetall();
  }
  void TearDown() override { resetall(); }
};

TEST_F(ControlTest, ProtocolNamesMatchOnSixCharactersAndSetExactlyTheirFlags) {
  EXPECT_EQ(matchvariant("crazyhouse\n"), findvariant("crazyhouse"));
  EXPECT_EQ(matchvariant("wildca"), findvariant("wildcastle"));
  EXPECT_EQ(matchvariant("chess960"), nullptr);
  EXPECT_EQ(findvariant("crazy"), nullptr);  // a whole name is needed outside the protocol
  for (const variantrow &v : varianttable) {
    setvariantflags(VFALL, 0);
    setvariantflags(v.flags, v.clears);
    int expected = v.flags | (VFALL & ~v.clears);
    EXPECT_EQ(variantflags(), expected) << v.name;
  }
}

TEST_F(ControlTest, AtomicAfterThreeCheckKeepsTheThreeCheckFlag) {
  const variantrow *check = findvariant("3check");
  const variantrow *atomic = findvariant("atomic");
  setvariantflags(check->flags, check->clears);
  setvariantflags(atomic->flags, atomic->clears);
  EXPECT_EQ(atomicmode, 1);
  EXPECT_EQ(threecheckmode, 1);
  EXPECT_EQ(currentvariant(), atomic);  // the mixture is played as atomic, with atomic's cap
  setvariantflags(0, VFALL);
  EXPECT_EQ(currentvariant()->engine, ENGINEREGULAR);
  EXPECT_EQ(currentvariant()->depthcap, &maxdepth);
}

TEST_F(ControlTest, EachVariantHasItsEngineAndCap) {
  const char *names[] = {"atomic", "giveaway", "suicide", "losers", "3check", "crazyhouse", "twokings"};
  int *caps[] = {&maxdepthA, &maxdepthS, &maxdepthS, &maxdepthL, &maxdepthT, &maxdepthC, &maxdepth};
  int engines[] = {ENGINEATOMIC, ENGINEANTICHESS, ENGINEANTICHESS, ENGINEANTICHESS, ENGINEREGULAR, ENGINEREGULAR,
                   ENGINEREGULAR};
  for (int i = 0; i < 7; i++) {
    const variantrow *v = findvariant(names[i]);
    ASSERT_NE(v, nullptr) << names[i];
    setvariantflags(v->flags, v->clears);
    EXPECT_EQ(currentvariant(), v) << names[i];
    EXPECT_EQ(v->depthcap, caps[i]) << names[i];
    EXPECT_EQ(v->engine, engines[i]) << names[i];
    // Every variant is played by some engine of the table.
    EXPECT_NE(engineof(v)->rootsearch, nullptr) << names[i];
  }
}

TEST_F(ControlTest, DeepeningStopsBelowTheCapAndRemembersEachIteration) {
  ASSERT_TRUE(perftsetup("normal", "r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq - 0 1"));
  pollinterval = 1 << 30;
  movetime = 1 << 30;
  depthcap = 4;
  int score = PASSNOSCORE;
  testing::internal::CaptureStdout();
  deepen(&enginetable[ENGINEREGULAR], &score);
  std::string text = testing::internal::GetCapturedStdout();
  EXPECT_EQ(iterations, 3);
  EXPECT_NE(score, PASSNOSCORE);
  EXPECT_EQ(iterfrom[3], finfrom);
  EXPECT_EQ(iterto[3], finto);
  EXPECT_NE(text.find("tellics whisper depth: 3"), std::string::npos) << text;  // the last iteration
  EXPECT_EQ(stopsearch, 0);
  // A cap of 1 searches nothing and leaves the score alone.
  depthcap = 1;
  score = PASSNOSCORE;
  deepen(&enginetable[ENGINEREGULAR], &score);
  EXPECT_EQ(score, PASSNOSCORE);
  EXPECT_EQ(iterations, 0);
}

// The installed poll runs only every pollinterval nodes from the second iteration on, and a spent
// clock stops the search.
int polls = 0;
void countpoll() { polls++; }

TEST_F(ControlTest, StopCheckPollsOnTheIntervalAndWatchesTheClock) {
  inputpoll = countpoll;
  polls = 0;
  pollinterval = 10;
  movetime = 1 << 30;
  searchstart = gettickcount();
  searchdepth = 1;
  nodes = 10;
  EXPECT_EQ(stopcheck(), 0);
  EXPECT_EQ(polls, 1);  // the first iteration looks at input and the clock as well
  searchdepth = 2;
  nodes = 11;
  stopcheck();
  EXPECT_EQ(polls, 1);
  nodes = 20;
  EXPECT_EQ(stopcheck(), 0);
  EXPECT_EQ(polls, 2);
  EXPECT_EQ(stopsearch, 0);
  movetime = 0;
  searchstart = gettickcount() - 5;
  EXPECT_EQ(stopcheck(), 1);
  EXPECT_EQ(stopsearch, 1);
  inputpoll = nullptr;
}

}  // namespace
