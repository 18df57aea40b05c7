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

struct RegularTest : ::testing::Test {
  int wheld[HANDSLOTS] = {};
  int bheld[HANDSLOTS] = {};
  int wpieces[PAWNBORNSLOTS] = {};
  int bpieces[PAWNBORNSLOTS] = {};
  int epsquares[65] = {};

  void SetUp() override {
    initrays();
    initkeys(7);
    resetall();
    antimode = 0;
    color = 1;
    depthcap = 25;
    pollinterval = 1 << 30;
    movetime = 0x7fffffff;
    searchstart = thinkstart = gettickcount();
  }

  // Puts a FEN position (board, side to move, castling) on the board: held turned with the engine
  // playing Black when Black is to move. King squares set as the engine pass sets them;
  // endgameflag is left to the test.
  void setfen(const std::string &fen) {
    std::string text = " " + fen;
    parsefen(text.c_str(), (int)fen.size());
    mirrorboard();
    size_t blank = fen.find(' ');
    color = (blank != std::string::npos && fen[blank + 1] == 'b') ? 0 : 1;
    if (color == 0) turnboard();
    findkings();
  }

  // ownkingsq and oppkingsq: the last king of each colour found scanning squares 1..64.
  void findkings() {
    ownkingsq = oppkingsq = 0;
    for (int sq = 1; sq <= 64; sq++) {
      if (board[sq] == WKING) ownkingsq = sq;
      if (board[sq] == BKING) oppkingsq = sq;
    }
  }

  // An empty board with the castling rights gone.
  void clearboard() {
    for (int sq = 1; sq <= 64; sq++) board[sq] = EMPTY;
    wcastleking = wcastlea = wcastleh = bcastleking = bcastlea = bcastleh = 0;
  }

  // One iteration of the main search at the root, as the engine pass calls it.
  int rootsearch(int depth) {
    searchdepth = depth;
    uint64_t key = crazymode ? rootkeycrazy(0, wheld, bheld) : rootkey(0);
    return search(ROOTALPHA, ROOTBETA, depth, 1, epsquares, 0, key, 0, 0, 0, wheld, bheld, wpieces, bpieces);
  }

  // Iterative deepening from depth 1 to depth, keeping each iteration's best move; returns the
  // last score (stops early on a lost root as the engine pass does).
  int deepen(int depth) {
    iterations = 0;
    int score = 0;
    for (int d = 1; d <= depth; d++) {
      score = rootsearch(d);
      iterations++;
      iterfrom[iterations] = finfrom;
      iterto[iterations] = finto;
      if (score == LOSTROOTSCORE) break;
    }
    return score;
  }

  // Square number of a square name such as "e4" (board as held for White).
  static int sq(const char *name) { return (name[0] - 'a' + 1) + 8 * (name[1] - '1'); }
};

#endif
