// The ray tables, the attack test and the stalemate test: the listed edge cases, the attack test
// against a naive ray walk on random positions, the stalemate test against full generation.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "boardcheck.h"

namespace {

struct AttackTest : ::testing::Test {
  void SetUp() override {
    initrays();
    resetboard();
    clearboard();
  }
  void clearboard() {
    for (int s = 0; s <= 64; s++) board[s] = EMPTY;
  }
};

TEST_F(AttackTest, RayTablesStopAtTheEdgesAndNeverWrap) {
  EXPECT_EQ(rayupright[1], 7);
  EXPECT_EQ(rayupright[8], 0);
  EXPECT_EQ(rayleft[1], 0);
  EXPECT_EQ(rayleft[8], 7);
  EXPECT_EQ(rayup[60], 0);
  EXPECT_EQ(raydownleft[64], 7);
  // Each corner has exactly one diagonal of length 7 and none of the others.
  EXPECT_EQ(rayupleft[8], 7);
  EXPECT_EQ(raydownright[57], 7);
  EXPECT_EQ(rayupleft[1] + raydownright[1] + raydownleft[1], 0);
  const int *tables[8] = {rayupright, raydownright, raydownleft, rayupleft, rayup, rayright, raydown, rayleft};
  const int filesteps[8] = {1, 1, -1, -1, 0, 1, 0, -1};
  const int ranksteps[8] = {1, -1, -1, 1, 1, 0, -1, 0};
  for (int d = 0; d < 8; d++) {
    EXPECT_EQ(tables[d][0], filesteps[d] + 8 * ranksteps[d]);
    for (int s = 1; s <= 64; s++) {
      // Walk the same line by file and rank: the table holds exactly the squares on the board.
      int file = fileof(s), rank = rankof(s), length = 0;
      while (file + filesteps[d] >= 0 && file + filesteps[d] <= 7 && rank + ranksteps[d] >= 1 &&
             rank + ranksteps[d] <= 8) {
        file += filesteps[d];
        rank += ranksteps[d];
        length++;
      }
      EXPECT_EQ(tables[d][s], length) << "direction " << d << " square " << s;
    }
  }
}

TEST_F(AttackTest, PawnAttacksRespectTheFilesAndTheAttackingColour) {
  board[SQE1] = WKING;
  board[12] = BPAWN;  // d2
  EXPECT_EQ(isattacked(SQE1), 1);
  board[12] = EMPTY;
  board[14] = BPAWN;  // f2
  EXPECT_EQ(isattacked(SQE1), 1);
  board[14] = EMPTY;
  board[13] = BPAWN;  // e2
  EXPECT_EQ(isattacked(SQE1), 0);
  clearboard();
  board[25] = WKING;  // a4
  board[32] = BPAWN;  // h4: s + 7 from a4 wraps round the board
  EXPECT_EQ(isattacked(25), 0);
  clearboard();
  board[12] = WPAWN;  // d2 attacks e3
  EXPECT_EQ(isattacked(21), 1);
  board[12] = EMPTY;
  board[28] = BPAWN;  // d4 next to e3 does not count as a white attacker
  EXPECT_EQ(isattacked(21), 0);
}

TEST_F(AttackTest, SlidersAreBlockedAndKingsDoNotAttack) {
  board[SQE1] = WKING;
  board[SQE8] = BROOK;
  board[37] = WBISHOP;  // e5 stands between
  EXPECT_EQ(isattacked(SQE1), 0);
  board[37] = EMPTY;
  EXPECT_EQ(isattacked(SQE1), 1);
  clearboard();
  board[8] = WROOK;     // h1 along an empty first rank to a1
  EXPECT_EQ(isattacked(SQA1), 1);
  clearboard();
  board[29] = WKING;    // e4
  board[37] = BKING;    // e5
  EXPECT_EQ(isattacked(29), 0);
  EXPECT_EQ(isattacked(37), 0);
  EXPECT_EQ(isattacked(0), 0);
  EXPECT_EQ(isattacked(65), 0);
}

// The attack test done the slow way: every man of the attacking colour asked whether it reaches s.
int naiveattacked(int s) {
  bool black = board[s] == WKING;
  int base = black ? BLACKOFFSET : 0;
  int sf = fileof(s), sr = rankof(s);
  for (int a = 1; a <= 64; a++) {
    int man = board[a];
    if (man < base + WPAWN || man > base + WQUEEN) continue;
    int kind = man - base;
    int df = sf - fileof(a), dr = sr - rankof(a);
    if (kind == WPAWN) {
      if (abs(df) == 1 && dr == (black ? -1 : 1)) return 1;
    } else if (kind == WKNIGHT) {
      if ((abs(df) == 1 && abs(dr) == 2) || (abs(df) == 2 && abs(dr) == 1)) return 1;
    } else {
      bool diagonal = abs(df) == abs(dr) && df != 0;
      bool straight = (df == 0) != (dr == 0);
      bool fits = (kind == WBISHOP && diagonal) || (kind == WROOK && straight) || (kind == WQUEEN && (diagonal || straight));
      if (!fits) continue;
      int stepf = (df > 0) - (df < 0), stepr = (dr > 0) - (dr < 0);
      int f = fileof(a) + stepf, r = rankof(a) + stepr;
      bool blocked = false;
      while (f != sf || r != sr) {
        if (board[8 * (r - 1) + f + 1] > 0) blocked = true;
        f += stepf;
        r += stepr;
      }
      if (!blocked) return 1;
    }
  }
  return 0;
}

TEST_F(AttackTest, AttackTestAgreesWithNaiveRayWalkOnRandomPositions) {
  testrandom random = {99};
  int attacked = 0;
  for (int position = 0; position < 400; position++) {
    clearboard();
    int men = 2 + randombelow(&random, 14);
    for (int i = 0; i < men; i++) board[1 + randombelow(&random, 64)] = 1 + randombelow(&random, 12);
    for (int s = 1; s <= 64; s++) {
      int saved = board[s];
      // Ask once as the square stands and once with a white king on it (black attackers).
      for (int asked = 0; asked < 2; asked++) {
        if (asked == 1) board[s] = WKING;
        ASSERT_EQ(isattacked(s), naiveattacked(s)) << "square " << s << " position " << position;
        attacked += isattacked(s);
      }
      board[s] = saved;
    }
  }
  EXPECT_GT(attacked, 1000);
}

// The quick test after a move must answer as the full test does on every square that was safe
// before: moves of any man to any square, captures, drops and promotions, on random positions.
TEST_F(AttackTest, AttackAfterAMoveAgreesWithTheFullTestOnRandomMoves) {
  testrandom random = {2024};
  int compared = 0, attacked = 0;
  for (int position = 0; position < 1000; position++) {
    clearboard();
    int men = 3 + randombelow(&random, 16);
    for (int i = 0; i < men; i++) board[1 + randombelow(&random, 64)] = 1 + randombelow(&random, 12);
    for (int trial = 0; trial < 60; trial++) {
      int sq = 1 + randombelow(&random, 64);
      int saved = board[sq];
      if (randombelow(&random, 2)) board[sq] = randombelow(&random, 2) ? WKING : BKING;
      int drop = randombelow(&random, 4) == 0;
      int from = drop ? -1 - randombelow(&random, 12) : 1 + randombelow(&random, 64);
      int to = 1 + randombelow(&random, 64);
      if (isattacked(sq) || to == from || (!drop && board[from] == EMPTY) || (drop && board[to] != EMPTY)) {
        board[sq] = saved;
        continue;
      }
      int mover = drop ? -from : board[from];
      int before[65];
      memcpy(before, board, sizeof before);
      if (!drop) board[from] = EMPTY;
      board[to] = randombelow(&random, 5) == 0 ? 1 + randombelow(&random, 12) : mover;  // now and then a promotion
      ASSERT_EQ(attackedafter(sq, from, to), isattacked(sq)) << "position " << position << " square " << sq
                                                              << " move " << from << "-" << to;
      compared++;
      attacked += isattacked(sq);
      memcpy(board, before, sizeof before);
      board[sq] = saved;
    }
  }
  EXPECT_GT(compared, 8000);
  EXPECT_GT(attacked, 400);
  EXPECT_EQ(attackedafter(0, 1, 2), 0);
  EXPECT_EQ(attackedafter(65, 1, 2), 0);
}

TEST_F(AttackTest, StalemateFlagForLoneKingInTheCorner) {
  board[SQH8] = BKING;
  board[54] = WQUEEN;  // f7
  board[SQA1] = WKING;
  int movefrom[MAXMOVES], moveto[MAXMOVES], count = 0;
  int ep[65] = {};
  int hand[HANDSLOTS] = {NODROPS};
  stalemateflag = 0;
  genblack(movefrom, moveto, &count, 2, ep, 0, hand);
  EXPECT_EQ(count, 3);
  EXPECT_EQ(stalemateflag, 1);
  // Fifteen moves or more: no test.
  int longfrom[20], longto[20];
  for (int i = 1; i <= 15; i++) longfrom[i] = SQH8, longto[i] = 63;
  stalemateflag = 0;
  stalematetest(longfrom, longto, 15, 2);
  EXPECT_EQ(stalemateflag, 0);
  // Four men able to move: no test, even though every move fails.
  int fourfrom[5] = {0, SQH8, 1, 2, 3}, fourto[5] = {0, 63, 63, 63, 63};
  stalematetest(fourfrom, fourto, 4, 2);
  EXPECT_EQ(stalemateflag, 0);
}

// Stalemate by full generation: not in check and no legal move, within the test's own limits
// (fewer than 15 moves, fewer than 4 men able to move). Legal means the king is not attacked
// afterwards; the attack test ignores kings, and so does the stalemate test.
int fullstalemate(int ply, const int *movefrom, const int *moveto, int count) {
  if (count == 0 || count >= 15) return 0;
  int men = 0;
  for (int i = 1; i <= count; i++)
    if (i == 1 || movefrom[i] != movefrom[i - 1]) men++;
  if (men >= 4) return 0;
  int king = ply % 2 == 1 ? ownkingsq : oppkingsq;
  if (isattacked(king)) return 0;
  int childep[65] = {};
  for (int i = 1; i <= count; i++) {
    perftundo undo;
    perftmake(ply, movefrom[i], moveto[i], childep, &undo);
    int safe = !isattacked(ply % 2 == 1 ? ownkingsq : oppkingsq);
    perftunmake(ply, childep, &undo);
    if (safe) return 0;
  }
  return 1;
}

TEST_F(AttackTest, StalemateTestAgreesWithFullGenerationOnRandomEndgames) {
  testrandom random = {7};
  int stalemates = 0;
  const char *pieces = "QRBNP";
  for (int position = 0; position < 3000; position++) {
    // A random legal-looking endgame: two kings and up to three more men.
    char rows[8][9];
    for (int r = 0; r < 8; r++) memset(rows[r], '1', 8), rows[r][8] = 0;
    int wk = randombelow(&random, 64), bk = randombelow(&random, 64);
    if (abs(wk % 8 - bk % 8) <= 1 && abs(wk / 8 - bk / 8) <= 1) continue;
    rows[wk / 8][wk % 8] = 'K';
    rows[bk / 8][bk % 8] = 'k';
    int extra = 1 + randombelow(&random, 3);
    for (int i = 0; i < extra; i++) {
      int s = randombelow(&random, 64);
      char c = pieces[randombelow(&random, 5)];
      if (c == 'P' && (s / 8 == 0 || s / 8 == 7)) continue;
      if (rows[s / 8][s % 8] != '1') continue;
      rows[s / 8][s % 8] = randombelow(&random, 3) == 0 ? (char)(c + 'a' - 'A') : c;
    }
    std::string fen;
    for (int r = 0; r < 8; r++) fen += std::string(rows[r]) + (r < 7 ? "/" : "");
    fen += randombelow(&random, 2) ? " w - - 0 1" : " b - - 0 1";
    if (!perftsetup("normal", fen.c_str())) continue;
    int movefrom[MAXMOVES], moveto[MAXMOVES], count = 0;
    int ply = 1 + randombelow(&random, 2);
    if (ply == 2 && isattacked(ownkingsq)) continue;  // the side not to move may not be in check
    stalemateflag = 0;
    perftgenerate(movefrom, moveto, &count, ply, gameepsquares);
    ASSERT_EQ(stalemateflag, fullstalemate(ply, movefrom, moveto, count)) << fen << " ply " << ply;
    stalemates += stalemateflag;
  }
  EXPECT_GT(stalemates, 3);
}

}  // namespace
