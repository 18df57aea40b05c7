// The atomic and antichess weights start at their defaults and come back to them after a reset.
#include <gtest/gtest.h>

#include "config/config.h"

TEST(WeightsTest, DefaultsAndReset) {
  resetconfig();
  EXPECT_EQ(computestartmaterial(), 3235);
  EXPECT_EQ(bpawnadvance[1 + 8 + 2], -88);  // c2 is not the mirror of c7
  EXPECT_EQ(bpawnadvance[1 + 8], 0);        // a2
  EXPECT_EQ(wpawnadvance[1 + 24 + 3], 12);  // d4
  piecevalue[1] = 999;
  antivalue[6] = 50;
  nopawns = 900;
  randomize = 1;
  resetconfig();
  EXPECT_EQ(piecevalue[1], 135);
  EXPECT_EQ(antivalue[6], -100);
  EXPECT_EQ(nopawns, 1500);
  EXPECT_EQ(randomize, 0);
  EXPECT_EQ(checklevel, 2);
}
