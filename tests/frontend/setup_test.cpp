// Position set-up and the turned board: the FEN reader with mirroring, turning for Black, the ready
// starting position for Black, and malformed board text.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "board/board.h"
#include "frontend/frontend.h"

namespace {

struct SetupTest : ::testing::Test {
  void SetUp() override {
    initrays();
    resetboard();
  }
  // parsefen then mirrorboard, as the reader does for "setboard"; the text goes in from index 1.
  void readfen(const std::string &fen) {
    std::string text = " " + fen;
    parsefen(text.c_str(), (int)fen.size());
    mirrorboard();
  }
  void expectcastle(int king, int a, int h, int bking, int ba, int bh) {
    EXPECT_EQ(wcastleking, king);
    EXPECT_EQ(wcastlea, a);
    EXPECT_EQ(wcastleh, h);
    EXPECT_EQ(bcastleking, bking);
    EXPECT_EQ(bcastlea, ba);
    EXPECT_EQ(bcastleh, bh);
  }
};

const char *const STARTFEN = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

TEST_F(SetupTest, StartFenGivesTheStaticStartingBoard) {
  for (int s = 1; s <= 64; s++) board[s] = WQUEEN;
  readfen(STARTFEN);
  for (int s = 1; s <= 64; s++) EXPECT_EQ(board[s], startboard[s]) << s;
  expectcastle(SQE1, SQA1, SQH1, SQE8, SQA8, SQH8);
  // The side to move has no effect here.
  readfen("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR b KQkq - 0 1");
  for (int s = 1; s <= 64; s++) EXPECT_EQ(board[s], startboard[s]) << s;
}

TEST_F(SetupTest, CastlingFieldSetsOnlyTheRightsNamed) {
  readfen("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w - - 0 1");
  expectcastle(0, 0, 0, 0, 0, 0);
  readfen("4k3/8/8/8/8/8/8/R5KR w K - 0 1");
  expectcastle(7, 0, SQH1, 0, 0, 0);  // the king square is where the king stands
  readfen("r3k2r/8/8/8/8/8/8/4K3 w q - 0 1");
  expectcastle(0, 0, 0, SQE8, SQA8, 0);
  // An asymmetric position comes out the right way round (mirroring undone).
  readfen("7k/8/8/8/8/8/8/KQ6 w - - 0 1");
  EXPECT_EQ(board[SQA1], WKING);
  EXPECT_EQ(board[2], WQUEEN);
  EXPECT_EQ(board[SQH8], BKING);
}

TEST_F(SetupTest, TurnedStartIsTheBoardHeldForBlackAndTurningTwiceGivesItBack) {
  readfen(STARTFEN);
  turnboard();
  EXPECT_EQ(board[SQD1], WKING);
  EXPECT_EQ(board[SQE1], WQUEEN);
  EXPECT_EQ(board[SQD8], BKING);
  EXPECT_EQ(board[SQE8], BQUEEN);
  expectcastle(SQD1, SQA1, SQH1, SQD8, SQA8, SQH8);
  for (int s = 1; s <= 64; s++) {
    if (s != SQD1 && s != SQE1 && s != SQD8 && s != SQE8) {
      EXPECT_EQ(board[s], startboard[s]) << s;
    }
  }
  int turned[65];
  memcpy(turned, board, sizeof turned);
  turnboard();
  for (int s = 1; s <= 64; s++) EXPECT_EQ(board[s], startboard[s]) << s;
  expectcastle(SQE1, SQA1, SQH1, SQE8, SQA8, SQH8);

  // setupblack gives the same turned board.
  ASSERT_EQ(allocatetable(1), 1);
  ::testing::internal::CaptureStdout();
  setupblack();
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "\n done black \n");
  for (int s = 1; s <= 64; s++) EXPECT_EQ(board[s], turned[s]) << s;
  EXPECT_EQ(probehash(0, 0, -100, 100, 2, 0), PROBEMISS);
  freetable();
}

TEST_F(SetupTest, TurningAnAsymmetricPositionKeepsEachPlayersRights) {
  // White may castle long only, Black short only.
  readfen("r3k2r/8/8/8/8/8/8/R3K2R b Qk - 0 1");
  turnboard();
  // Black's men now carry the white codes; its short castling is towards square 1.
  EXPECT_EQ(board[SQD1], WKING);
  EXPECT_EQ(wcastleking, SQD1);
  EXPECT_EQ(wcastlea, SQA1);
  EXPECT_EQ(wcastleh, 0);
  EXPECT_EQ(bcastleking, SQD8);
  EXPECT_EQ(bcastlea, 0);
  EXPECT_EQ(bcastleh, SQH8);
  turnboard();
  expectcastle(SQE1, SQA1, 0, SQE8, 0, SQH8);
}

TEST_F(SetupTest, MalformedBoardTextNeverWritesOutsideTheBoard) {
  const char *texts[] = {
      "",
      "/",
      "8/8/8/8/8/8/8/8/8/8/8/8 KQkq",
      "kkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkk",
      "88888888888888888K",
      "9/9/9/9/9/9/9/9/9 w KQkq - 0 1",
      "rnbqkbnr/pppppppp/8/8 w",
      "7p8888888PPPPPPPPPPPPPPPPPPPPPPPPPPPP",
      "QQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQ[QQQ]",
  };
  for (const char *text : texts) {
    board[0] = 0;
    readfen(text);
    EXPECT_EQ(board[0], 0) << text;
    for (int s = 1; s <= 64; s++) {
      EXPECT_GE(board[s], EMPTY) << text;
      EXPECT_LE(board[s], BKING) << text;
    }
  }
  // Random characters of every kind, at every length the reader accepts.
  unsigned state = 5;
  for (int round = 0; round < 2000; round++) {
    char text[SETUPTEXTSIZE + 1];
    int length = 1 + round % (SETUPTEXTSIZE - 1);
    text[0] = ' ';
    for (int i = 1; i <= length; i++) {
      state = state * 1103515245u + 12345u;
      text[i] = "12345678/ KQkqRBNPrbnp[]-~9x0"[(state >> 16) % 30];
    }
    text[length + 1] = 0;
    parsefen(text, length);
    mirrorboard();
    turnboard();
    for (int s = 1; s <= 64; s++) ASSERT_TRUE(board[s] >= EMPTY && board[s] <= BKING) << text;
    ASSERT_EQ(board[0], 0);
  }
}

}  // namespace

// Crazyhouse hands: in brackets after the board, or as a ninth rank after a slash, as some
// interfaces write them; both give the same hand, and the ninth rank is refused outside crazyhouse.
TEST(FenHoldings, BracketsAndANinthRankGiveTheSameHand) {
  initrays();
  resetboard();
  const variantrow *crazyhouse = findvariant("crazyhouse");
  ASSERT_NE(crazyhouse, nullptr);
  fenfields bracketed, ninth;
  ASSERT_EQ(readfen("r3k2r/8/8/8/8/8/8/R3K2R[QNpp] w KQkq - 0 1", crazyhouse, &bracketed), 1) << fenerrortext;
  ASSERT_EQ(readfen("r3k2r/8/8/8/8/8/8/R3K2R/QNpp w KQkq - 0 1", crazyhouse, &ninth), 1) << fenerrortext;
  ASSERT_EQ(bracketed.handcount, 4);
  ASSERT_EQ(ninth.handcount, 4);
  for (int i = 0; i < 4; i++) EXPECT_EQ(ninth.hand[i], bracketed.hand[i]);
  EXPECT_EQ(ninth.black, 0);
  EXPECT_EQ(strcmp(ninth.castling, "KQkq"), 0);
  // An empty ninth rank is an empty hand.
  ASSERT_EQ(readfen("r3k2r/8/8/8/8/8/8/R3K2R/ b - - 0 1", crazyhouse, &ninth), 1) << fenerrortext;
  EXPECT_EQ(ninth.handcount, 0);
  EXPECT_EQ(ninth.black, 1);
  EXPECT_EQ(readfen("r3k2r/8/8/8/8/8/8/R3K2R/QN w KQkq - 0 1", findvariant("normal"), &ninth), 0);
  EXPECT_EQ(readfen("r3k2r/8/8/8/8/8/8/R3K2R/QX w KQkq - 0 1", crazyhouse, &ninth), 0);
}
