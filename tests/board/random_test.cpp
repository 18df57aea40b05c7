// The play generator: engines started a second apart must not draw the same book move. A start
// draws the key tables and one time-allotment spread before its first book draw; from seeds one
// apart, that draw taken modulo the small counts of a book position reaches every candidate.
#include <gtest/gtest.h>

#include "board/board.h"

#include <set>

namespace {

TEST(RandomTest, StartsASecondApartDrawEveryCandidate) {
  const unsigned start = 1765247000u;  // a time of day in seconds
  for (int count : {2, 3, 6}) {
    std::set<int> drawn;
    for (unsigned second = 0; second < 32; second++) {
      initkeys(start + second);
      randomdraw();
      drawn.insert(randomdraw() % count);
    }
    EXPECT_EQ((int)drawn.size(), count) << "modulo " << count;
  }
  // The seed of a start changes with the clock's nanoseconds, so two seeds in a row differ.
  EXPECT_NE(freshseed(), freshseed());
}

}  // namespace
