// Shared set-up for the atomic engine's tests: every test starts from the state at load with the
// atomic flag set, and puts FEN positions on the board the way the engine holds a game's root.
#ifndef KORVEL_TESTS_ATOMICTEST_H
#define KORVEL_TESTS_ATOMICTEST_H

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "atomic/atomic.h"
#include "config/config.h"
#include "frontend/frontend.h"
#include "perft.h"

struct AtomicTest : ::testing::Test {
  void SetUp() override {
    initrays();
    initkeys(11);
    resetall();
    color = 1;
    depthcap = NODEPTHCAP;
    pollinterval = 1 << 30;
    movetime = 0x7fffffff;
    searchstart = thinkstart = gettickcount();
  }

  // Sets the position up as the engine holds an atomic game's root (turned when Black is to move).
  void setfen(const char *fen) {
    ASSERT_TRUE(perftsetup("atomic", fen)) << fen << ": " << perfterror;
    atomicnewsearch();
  }

  // An empty board with the castling rights gone, the engine White.
  void clearboard() {
    for (int sq = 1; sq <= 64; sq++) board[sq] = EMPTY;
    wcastleking = wcastlea = wcastleh = bcastleking = bcastlea = bcastleh = 0;
  }

  // One iteration of the atomic search at the root, as deepening runs it.
  int rootsearch(int depth) {
    searchdepth = depth;
    return atomicroot(ATOMICALPHA, ATOMICBETA, depth, atomicgamekey());
  }

  // Iterative deepening from depth 1 to depth with the atomic row; returns the last score.
  int deepen(int depth) {
    depthcap = depth + 1;
    int score = PASSNOSCORE;
    ::deepen(&enginetable[ENGINEATOMIC], &score);
    return score;
  }

  // Square number of a square name such as "e4" (board as held for White).
  static int sq(const char *name) { return (name[0] - 'a' + 1) + 8 * (name[1] - '1'); }
};

#endif
