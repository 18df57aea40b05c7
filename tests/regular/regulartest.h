// Shared set-up for the regular engine's tests: a fixture that starts every test from the state at
// load and puts FEN positions on the board the way the engine holds them.
#ifndef KORVEL_TESTS_REGULARTEST_H
#define KORVEL_TESTS_REGULARTEST_H

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "config/config.h"
#include "frontend/frontend.h"
#include "regular/regular.h"

// The root position lives where a game keeps it: the board and the game's hands, pawn-born lists
// and en-passant markers, which the names below point to.
struct RegularTest : ::testing::Test {
  int *wheld = gamewheld;
  int *bheld = gamebheld;
  int *wpieces = gamewpieces;
  int *bpieces = gamebpieces;
  int *epsquares = gameepsquares;

  void SetUp() override {
    initrays();
    initkeys(7);
    resetall();
    setvariantflags(0, VFALL);
    color = 1;
    depthcap = NODEPTHCAP;
    pollinterval = 1 << 30;
    movetime = 0x7fffffff;
    searchstart = thinkstart = gettickcount();
  }

  // Puts a FEN position (board, side to move, castling) on the board: held turned with the engine
  // playing Black when Black is to move. King squares set as the engine pass sets them, every pawn
  // in its side's pawn-born list; endgameflag is left to the test.
  void setfen(const std::string &fen) {
    std::string text = " " + fen;
    parsefen(text.c_str(), (int)fen.size());
    mirrorboard();
    size_t blank = fen.find(' ');
    color = (blank != std::string::npos && fen[blank + 1] == 'b') ? 0 : 1;
    if (color == 0) turnboard();
    ownkingsq = oppkingsq = 0;
    findkings();
    int white = 0, black = 0;
    for (int i = 0; i < PAWNBORNSLOTS; i++) wpieces[i] = bpieces[i] = 0;
    for (int sq = 1; sq <= 64; sq++) {
      if (board[sq] == WPAWN && white < PAWNBORNSLOTS - 1) wpieces[++white] = sq;
      if (board[sq] == BPAWN && black < PAWNBORNSLOTS - 1) bpieces[++black] = sq;
    }
  }

  // An empty board with the castling rights gone.
  void clearboard() {
    for (int sq = 1; sq <= 64; sq++) board[sq] = EMPTY;
    wcastleking = wcastlea = wcastleh = bcastleking = bcastlea = bcastleh = 0;
  }

  // One iteration of the main search at the root, as deepening runs it.
  int rootsearch(int depth) {
    searchdepth = depth;
    return regularroot(ROOTALPHA, ROOTBETA, depth, regularrootkey());
  }

  // Iterative deepening from depth 1 to depth as the engine pass runs it; returns the last score.
  int deepen(int depth) {
    depthcap = depth + 1;
    int score = PASSNOSCORE;
    ::deepen(&enginetable[ENGINEREGULAR], &score);
    return score;
  }

  // Square number of a square name such as "e4" (board as held for White).
  static int sq(const char *name) { return (name[0] - 'a' + 1) + 8 * (name[1] - '1'); }
};

#endif
