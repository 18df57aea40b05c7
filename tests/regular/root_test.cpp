// Root ordering, the choice among root scores, and the thinking line and whispers byte for byte.
#include "regulartest.h"

namespace {

struct RootTest : RegularTest {
  int movefrom[MAXMOVES] = {0, 13, 12, 7, 2, 63};
  int moveto[MAXMOVES] = {0, 29, 28, 22, 19, 46};

  void SetUp() override {
    RegularTest::SetUp();
    // A principal variation e2e4 e7e5 g1f3 in row 1; no time has passed (nps 0).
    const int from[4] = {0, 13, 53, 7};
    const int to[4] = {0, 29, 37, 22};
    for (int j = 1; j <= 3; j++) {
      pvfrom[1][j] = from[j];
      pvto[1][j] = to[j];
    }
    thinkstart = gettickcount() + 100000;
    maxsearchside = 5;
    rootmovecount = 20;
    for (int i = 1; i <= 5; i++) rootscore[3][i] = 10 * i;
  }

  std::string capture(int stopped, int stoppoint, int *score) {
    testing::internal::CaptureStdout();
    *score = rootresult(5, movefrom, moveto, stopped, stoppoint, 3);
    return testing::internal::GetCapturedStdout();
  }
};

TEST_F(RootTest, PvTextPrintsAtMostNineteenMovesWithTheirOwnRanks) {
  char text[PVTEXTSIZE];
  pvtext(text, 3);
  EXPECT_STREQ(text, "e2e4 e7e5 g1f3 \n");
  pvtext(text, 0);
  EXPECT_STREQ(text, "\n");
  for (int j = 1; j <= 25; j++) {
    pvfrom[1][j] = 8;
    pvto[1][j] = 64;
  }
  pvtext(text, 24);
  std::string expect;
  for (int j = 1; j <= 19; j++) expect += "h1h8 ";
  EXPECT_EQ(std::string(text), expect + "\n");
}

TEST_F(RootTest, PvTextEndsWhereTheLineEnds) {
  char text[PVTEXTSIZE];
  pvfrom[1][3] = pvto[1][3] = 0;  // a two-move line in iteration 5: no stale or empty squares printed
  pvfrom[1][4] = 8;
  pvto[1][4] = 16;
  pvtext(text, 5);
  EXPECT_STREQ(text, "e2e4 e7e5 \n");
}

TEST_F(RootTest, SearchedLineNeverShowsEmptySquares) {
  // White mates with Qd8 at once; at depth 4 the line is shorter than the iteration.
  setfen("6k1/5ppp/8/8/8/8/5PPP/3Q2K1 w - - 0 1");
  deepen(4);
  char text[PVTEXTSIZE];
  pvtext(text, 4);
  EXPECT_EQ(std::string(text).find("h0"), std::string::npos) << text;
  EXPECT_EQ(std::string(text).find("h1h1"), std::string::npos) << text;
  EXPECT_EQ(std::string(text).substr(0, 5), "d1d8 ") << text;
}

TEST_F(RootTest, RootOrderPutsTheLatestIterationsBestFirst) {
  iterations = 2;
  iterfrom[1] = 63, iterto[1] = 46;  // the fifth move
  iterfrom[2] = 7, iterto[2] = 22;   // the third move
  rootorder(movefrom, moveto, 5);
  const int expectfrom[6] = {0, 7, 63, 13, 12, 2};
  for (int i = 1; i <= 5; i++) EXPECT_EQ(movefrom[i], expectfrom[i]) << i;
  EXPECT_EQ(moveto[1], 22);
  // A move that is not in the list changes nothing.
  iterations = 1;
  iterfrom[1] = 40, iterto[1] = 48;
  rootorder(movefrom, moveto, 5);
  for (int i = 1; i <= 5; i++) EXPECT_EQ(movefrom[i], expectfrom[i]) << i;
}

TEST_F(RootTest, EarliestOfEqualScoresIsChosenAndNothingPrintedWithoutPost) {
  rootscore[3][2] = 50;
  rootscore[3][5] = 50;
  int score;
  EXPECT_EQ(capture(0, 0, &score), "");
  EXPECT_EQ(score, 50);
  EXPECT_EQ(finfrom, 12);
  EXPECT_EQ(finto, 28);
  EXPECT_EQ(lastrootscore, 50);
}

TEST_F(RootTest, ThinkingLineAndMainline) {
  postmode = 1;
  int score;
  EXPECT_EQ(capture(0, 0, &score), "\n3 50 0 0 e2e4 e7e5 g1f3 \n");
  mainline = 1;
  EXPECT_EQ(capture(0, 0, &score), "\n3 50 0 0 e2e4 e7e5 g1f3 \n\ntellics mainline e2e4 e7e5 g1f3 \n");
  // In crazyhouse the line carries no moves.
  mainline = 0;
  crazymode = 1;
  EXPECT_EQ(capture(0, 0, &score), "\n3 50 0 0 ");
}

TEST_F(RootTest, WhisperAtTheLastIteration) {
  depthcap = 4;
  topc = 1;
  int score;
  EXPECT_EQ(capture(0, 0, &score),
            "\ntellics whisper depth: 3 evaluate: 50 nps: 0, maxsearchside is 5 topc=1 topp=0\n");
  whisperline = 1;
  postmode = 1;
  EXPECT_EQ(capture(0, 0, &score),
            "\ntellics whisper depth: 3 evaluate: 50 nps: 0, maxsearchside is 5 topc=1 topp=0 e2e4 e7e5 g1f3 \n\n"
            "\n3 50 0 0 e2e4 e7e5 g1f3 \n");
}

TEST_F(RootTest, StoppedChoosesAmongTheCompletedMoves) {
  rootscore[3][1] = 30;
  rootscore[3][2] = 20;
  rootscore[3][3] = 40;
  rootscore[3][4] = 99;  // searched when the stop came: not complete
  int score;
  EXPECT_EQ(capture(1, 4, &score),
            "\ntellics whisper depth: 2 + 3/20 moves evaluate: 40 nps: 0 maxsearchside: 5 topc=0, topp=0\n");
  EXPECT_EQ(score, 40);
  EXPECT_EQ(finfrom, 7);
  whisperline = 1;
  postmode = 1;
  EXPECT_EQ(capture(1, 2, &score),
            "\ntellics whisper depth: 2 + 1/20 moves evaluate: 30 nps: 0 maxsearchside: 5 topc=0, topp=0 "
            "e2e4 e7e5 g1f3 \n\n\n2 30 0 0 e2e4 e7e5 g1f3 \n");
  EXPECT_EQ(score, 30);
  EXPECT_EQ(finfrom, 13);
}

TEST_F(RootTest, StoppedInTheFirstMoveKeepsTheLastRootScore) {
  lastrootscore = -17;
  int score;
  EXPECT_EQ(capture(1, 1, &score),
            "\ntellics whisper depth: 2 evaluate: -17 nps: 0, maxsearchside is 5 topc=0, topp=0\n");
  EXPECT_EQ(score, -17);
  EXPECT_EQ(finfrom, 13);
  whisperline = 1;
  EXPECT_EQ(capture(1, 1, &score),
            "\ntellics whisper depth: 2 evaluate: -17 nps: 0, maxsearchside is 5 topc=0, topp=0 e2e4 e7e5 g1f3 \n\n");
}

}  // namespace
