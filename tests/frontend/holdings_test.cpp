// Crazyhouse holdings and pawn-born lists on moves and drops, and the replay of force-mode moves.
#include <gtest/gtest.h>

#include <string>

#include "board/board.h"
#include "frontend/frontend.h"

namespace {

// The replay keeps the game's hands and lists, so the tests use those.
struct HoldingsTest : ::testing::Test {
  int *wheld = gamewheld, *bheld = gamebheld, *wpieces = gamewpieces, *bpieces = gamebpieces;
  void SetUp() override {
    initrays();
    resetall();
  }
  void TearDown() override { resetall(); }
  void clearboard() {
    for (int s = 1; s <= 64; s++) board[s] = EMPTY;
  }
  int inlist(const int *pieces, int sq) {
    for (int i = 1; i < PAWNBORNSLOTS; i++)
      if (pieces[i] == sq) return i;
    return 0;
  }
  int handcount(const int *hand, int code) {
    int n = 0;
    for (int i = 1; i < HANDSLOTS; i++) n += hand[i] == code;
    return n;
  }
};

TEST_F(HoldingsTest, StartingListsHoldThePawnsAndHandsAreEmpty) {
  for (int i = 1; i <= 8; i++) {
    EXPECT_EQ(wpieces[i], 8 + i);
    EXPECT_EQ(bpieces[i], 48 + i);
  }
  EXPECT_EQ(handcount(wheld, 0), HANDSLOTS - 1);
  EXPECT_EQ(wheld[0], 0);
}

TEST_F(HoldingsTest, CapturedPromotedQueenGoesToTheCaptorAsPawn) {
  clearboard();
  board[SQE1] = WKING;
  board[SQE8] = BKING;
  board[60] = WQUEEN;  // d8, promoted from a pawn
  board[59] = BROOK;   // c8
  for (int i = 1; i < PAWNBORNSLOTS; i++) wpieces[i] = bpieces[i] = 0;
  wpieces[3] = 60;
  int out = 0;
  int slot = trackmove(wheld, bheld, wpieces, bpieces, 59, 60, &out);
  EXPECT_EQ(slot, 1);
  EXPECT_EQ(bheld[1], BPAWN);
  EXPECT_EQ(wpieces[3], 0);
  EXPECT_EQ(out, 60);
  // A queen that was never a pawn goes over as a queen.
  out = 0;
  board[58] = WQUEEN;  // b8
  slot = trackmove(wheld, bheld, wpieces, bpieces, 59, 58, &out);
  EXPECT_EQ(bheld[slot], BQUEEN);
  EXPECT_EQ(out, 0);
}

TEST_F(HoldingsTest, EnPassantPutsAPawnIntoTheCaptorsHand) {
  // White e5 takes d5 en passant (d6): Black's d5 pawn leaves its list.
  board[37] = WPAWN;
  board[36] = BPAWN;
  bpieces[4] = 36;
  wpieces[5] = 37;
  int slot = trackmove(wheld, bheld, wpieces, bpieces, 37, 44, nullptr);
  EXPECT_EQ(wheld[slot], WPAWN);
  EXPECT_EQ(inlist(bpieces, 36), 0);
  EXPECT_EQ(wpieces[5], 44);
  // Black d4 takes e4 en passant (e3).
  board[28] = BPAWN;
  board[29] = WPAWN;
  bpieces[2] = 28;
  wpieces[6] = 29;
  slot = trackmove(wheld, bheld, wpieces, bpieces, 28, 21, nullptr);
  EXPECT_EQ(bheld[slot], BPAWN);
  EXPECT_EQ(inlist(wpieces, 29), 0);
  EXPECT_EQ(inlist(bpieces, 21), 2);
}

TEST_F(HoldingsTest, DroppedPawnBecomesPawnBornAndMissingManChangesNothing) {
  for (int i = 1; i < PAWNBORNSLOTS; i++) wpieces[i] = 0;
  wpieces[1] = 9;
  wheld[1] = WKNIGHT;
  wheld[2] = WPAWN;
  int slot = trackdrop(wheld, bheld, wpieces, bpieces, -WPAWN, 29);
  EXPECT_EQ(slot, 2);
  EXPECT_EQ(wheld[2], 0);
  EXPECT_EQ(wpieces[2], 29);  // the first free slot
  EXPECT_EQ(trackdrop(wheld, bheld, wpieces, bpieces, -WQUEEN, 30), 0);
  EXPECT_EQ(wheld[1], WKNIGHT);
  EXPECT_EQ(trackdrop(wheld, bheld, wpieces, bpieces, -WKNIGHT, 30), 1);
  EXPECT_EQ(inlist(wpieces, 30), 0);
}

TEST_F(HoldingsTest, CapturedKingGoesIntoNoHandAndFullHandDropsTheMan) {
  clearboard();
  board[20] = WQUEEN;
  board[28] = BKING;
  EXPECT_EQ(trackmove(wheld, bheld, wpieces, bpieces, 20, 28, nullptr), 0);
  EXPECT_EQ(handcount(wheld, 0), HANDSLOTS - 1);
  for (int i = 1; i < HANDSLOTS; i++) wheld[i] = WPAWN;
  board[28] = BROOK;
  EXPECT_EQ(trackmove(wheld, bheld, wpieces, bpieces, 20, 28, nullptr), 0);
  EXPECT_EQ(handcount(wheld, WROOK), 0);
}

}  // namespace
