// Shared set-up for the antichess engine's tests: a fixture that starts every test from the state at
// load, in a variant of the antichess family, with positions set up by FEN as a game's root holds them.
#ifndef KORVEL_TESTS_ANTITEST_H
#define KORVEL_TESTS_ANTITEST_H

#include <gtest/gtest.h>

#include <string>

#include "antichess/antichess.h"
#include "config/config.h"
#include "frontend/frontend.h"
#include "perft.h"

struct AntiTest : ::testing::Test {
  void SetUp() override {
    initrays();
    initkeys(7);
    resetall();
    resetantichess();
    pollinterval = 1 << 30;
    movetime = 0x7fffffff;
    searchstart = thinkstart = gettickcount();
  }

  // Sets the position up in the variant (the board held turned when Black is to move), with
  // every search-control setting as a game's root has it.
  void setup(const char *variant, const char *fen) {
    ASSERT_TRUE(perftsetup(variant, fen)) << fen << ": " << perfterror;
    updateendgame();
  }

  // Square of a name such as "e4" on the board as held (turned when the engine plays Black).
  static int sq(const char *name) {
    int s = squareof(name[0], name[1]);
    return color == 0 ? turnsquare(s) : s;
  }
};

#endif
