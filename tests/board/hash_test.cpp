// Position keys: the incremental key, updated with the arguments the search passes, equals the key
// computed from scratch after every move of random games in normal chess, 3check and crazyhouse;
// null moves, transpositions, the high half; the table: cleared and written entries, a refused size.
#include <gtest/gtest.h>

#include "boardcheck.h"

namespace {

struct HashTest : ::testing::Test {
  void SetUp() override {
    initrays();
    initkeys(4242);
    resetboard();
  }
};

// The key of the current position from scratch.
uint64_t scratchkey(int epflag) { return crazymode ? rootkeycrazy(epflag, gamewheld, gamebheld) : rootkey(epflag); }

// The key after the move just made by perftmake (and perftcountcheck), updated the way the search
// does it. Perft also takes a right with a rook captured on its corner; that change is added here.
uint64_t keyafter(uint64_t key, const perftundo *undo, int ply, int epbefore, int epafter) {
  int checkindex = 0;
  int given = ply % 2 == 1 ? topc : topp;
  if (undo->checkgiven && given <= 2) checkindex = ply % 2 == 1 ? given : given + 2;
  key = keyaftermove(key, &undo->trial.move, epbefore, epafter, checkindex, gamewheld, gamebheld);
  if (undo->rightcaptured) key ^= zcastle[undo->rightcaptured];
  return key;
}

// The key from scratch of the position after the given number of moves: zmove was toggled once
// per move.
uint64_t expectedkey(int epflag, int moves) { return scratchkey(epflag) ^ (moves % 2 ? zmove : 0); }

// Plays random games; after every legal move of every position compares the incremental key with
// the key from scratch. Answers the number of keys compared.
int comparekeys(const char *variant, const char *fen, int games, int plies, unsigned long long seed) {
  testrandom random = {seed};
  int compared = 0;
  for (int game = 0; game < games; game++) {
    EXPECT_TRUE(perftsetup(variant, fen)) << perfterror;
    int ep[2][65] = {};
    memcpy(ep[0], gameepsquares, sizeof gameepsquares);
    int epflag = 0;
    uint64_t key = scratchkey(epflag);
    for (int ply = 1; ply <= plies; ply++) {
      int *cur = ep[(ply + 1) % 2];
      int *next = ep[ply % 2];
      memset(next, 0, sizeof ep[0]);
      int legalfrom[MAXMOVES], legalto[MAXMOVES];
      int count = legalmoves(ply, cur, legalfrom, legalto);
      if (count == 0) break;
      for (int i = 1; i <= count; i++) {
        perftundo undo;
        perftmake(ply, legalfrom[i], legalto[i], next, &undo);
        int over = perftcountcheck(ply, &undo);
        int epafter = legalfrom[i] > 0 ? doublestepbeside(legalfrom[i], legalto[i]) : 0;
        uint64_t incremental = keyafter(key, &undo, ply, epflag, epafter);
        if (!over) {
          EXPECT_EQ(incremental, expectedkey(epafter, ply)) << "move " << legalfrom[i] << "-" << legalto[i] << " ply " << ply;
          compared++;
        }
        EXPECT_EQ(incremental >> 32, 0u);
        perftuncountcheck(ply, &undo);
        perftunmake(ply, next, &undo);
        if (::testing::Test::HasFailure()) return compared;
      }
      int pick = 1 + randombelow(&random, count);
      perftundo undo;
      perftmake(ply, legalfrom[pick], legalto[pick], next, &undo);
      int over = perftcountcheck(ply, &undo);
      int epafter = legalfrom[pick] > 0 ? doublestepbeside(legalfrom[pick], legalto[pick]) : 0;
      key = keyafter(key, &undo, ply, epflag, epafter);
      epflag = epafter;
      if (over) break;
    }
  }
  return compared;
}

TEST_F(HashTest, IncrementalKeyEqualsScratchKeyInRandomGames) {
  EXPECT_GT(comparekeys("normal", nullptr, 3, 80, 11), 1000);
  EXPECT_GT(comparekeys("normal", "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1", 3, 50, 12),
            1000);
  EXPECT_GT(comparekeys("normal", "rnbqkbnr/pp1ppppp/8/8/2p5/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", 4, 40, 13), 500);
}

TEST_F(HashTest, IncrementalKeyEqualsScratchKeyInThreeCheck) {
  EXPECT_GT(comparekeys("3check", nullptr, 3, 80, 21), 1000);
  EXPECT_GT(comparekeys("3check", "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R b KQkq - 2+1 0 1", 4,
                        40, 22),
            500);
}

TEST_F(HashTest, IncrementalKeyEqualsScratchKeyInCrazyhouse) {
  EXPECT_GT(comparekeys("crazyhouse", nullptr, 3, 60, 31), 1000);
  EXPECT_GT(comparekeys("crazyhouse", "2r1k3/2Q~5/8/8/8/8/5q~2/2R1K3[Pp] w - - 0 1", 3, 40, 32), 1000);
  EXPECT_GT(comparekeys("crazyhouse", "r3k2r/1P6/8/8/8/8/6p1/R3K2R[NNbb] w KQkq - 0 1", 3, 40, 33), 1000);
}

TEST_F(HashTest, TwoNullMovesRestoreTheKeyAndEnPassantLapses) {
  ASSERT_TRUE(perftsetup("normal", "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1"));
  uint64_t key = rootkey(0);
  uint64_t once = updatekey(key, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0);
  EXPECT_NE(once, key);
  EXPECT_EQ(updatekey(once, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0), key);
  // A null move in a position that allowed en passant ends that chance; the second null move
  // finds none.
  uint64_t withep = rootkey(1);
  uint64_t twice = updatekey(updatekey(withep, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0), 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0);
  EXPECT_EQ(twice, rootkey(0));
  crazymode = 1;
  EXPECT_EQ(updatekeycrazy(updatekeycrazy(key, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, gamewheld, gamebheld, 0), 0, 0, 0, 1,
                           0, 0, 0, 0, 0, 0, 0, gamewheld, gamebheld, 0),
            key);
}

// Plays moves given in real coordinates from the set-up position (White to move) and answers the
// incremental key; every key on the way must equal the key from scratch.
uint64_t playline(const std::vector<std::string> &moves) {
  int ep[2][65] = {};
  int epflag = 0;
  uint64_t key = scratchkey(0);
  int ply = 1;
  for (const std::string &move : moves) {
    int from = (move[0] - 'a' + 1) + 8 * (move[1] - '1');
    int to = (move[2] - 'a' + 1) + 8 * (move[3] - '1');
    int *next = ep[ply % 2];
    memset(next, 0, sizeof ep[0]);
    perftundo undo;
    EXPECT_TRUE(perftmake(ply, from, to, next, &undo)) << move;
    int epafter = doublestepbeside(from, to);
    key = keyafter(key, &undo, ply, epflag, epafter);
    EXPECT_EQ(key, expectedkey(epafter, ply)) << move;
    epflag = epafter;
    ply++;
  }
  return key;
}

TEST_F(HashTest, TwoMoveOrdersToTheSamePositionGiveTheSameKey) {
  ASSERT_TRUE(perftsetup("normal", nullptr));
  uint64_t a = playline({"e2e4", "e7e5", "g1f3", "b8c6"});
  ASSERT_TRUE(perftsetup("normal", nullptr));
  uint64_t b = playline({"g1f3", "b8c6", "e2e4", "e7e5"});
  EXPECT_EQ(a, b);

  // Castling rights lost by rooks that went away and came back, in two orders.
  ASSERT_TRUE(perftsetup("normal", "r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1"));
  uint64_t start = rootkey(0);
  a = playline({"h1h2", "a8a7", "h2h1", "a7a8"});
  ASSERT_TRUE(perftsetup("normal", "r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1"));
  b = playline({"h1g1", "a8b8", "g1h1", "b8a8"});
  EXPECT_EQ(a, b);
  EXPECT_EQ(a, start ^ zcastle[2] ^ zcastle[3]);

  // A double step beside an enemy pawn allows en passant for one move only.
  const char *fen = "4k3/8/8/8/3p4/8/4P3/4K3 w - - 0 1";
  ASSERT_TRUE(perftsetup("normal", fen));
  a = playline({"e1d1", "e8d8", "e2e4", "d8e8"});
  ASSERT_TRUE(perftsetup("normal", fen));
  b = playline({"e2e4", "e8d8", "e1d1", "d8e8"});
  EXPECT_EQ(a, b);
  ASSERT_TRUE(perftsetup("normal", fen));
  uint64_t withep = playline({"e2e4"});
  EXPECT_EQ(withep, rootkey(1) ^ zmove);
  EXPECT_NE(withep, rootkey(0) ^ zmove);
}

TEST_F(HashTest, KeysKeepTheirHighHalfZero) {
  for (int i = 1; i < 13 * 65; i++) EXPECT_EQ(zpiece[i] >> 32, 0u);
  for (int i = 1; i < 17 * 13; i++) EXPECT_EQ(zhand[i] >> 32, 0u);
  for (int i = 1; i <= 7; i++) EXPECT_EQ(zcastle[i] >> 32, 0u);
  for (int i = 1; i <= 4; i++) EXPECT_EQ(zcheck[i] >> 32, 0u);
  EXPECT_EQ(zmove >> 32, 0u);
}

TEST_F(HashTest, ClearedEntryNeverMatchesEvenKeyZero) {
  ASSERT_EQ(allocatetable(1), 1);
  for (int i = 0; i <= 64; i++) board[i] = EMPTY;
  wcastlea = wcastleh = bcastlea = bcastleh = 0;
  threecheckmode = 0;
  uint64_t emptykey = rootkey(0);
  EXPECT_EQ(emptykey, 0u);
  EXPECT_EQ(probehash(emptykey, 1, -100, 100, 2, 1), PROBEMISS);
  EXPECT_EQ(probehash(emptykey, 0, -100, 100, 2, 0), PROBEMISS);
  // The same with the probe reading the zeroed entries: they stand for no key at all.
  tablestate = TABLEWRITTEN;
  EXPECT_EQ(probehash(0, 0, -100, 100, 2, 0), PROBEMISS);
  clearhashkeys();
  EXPECT_EQ(probehash(0, 0, -100, 100, 2, 0), PROBEMISS);
  clearhashentries();
  EXPECT_EQ(probehash(0, 0, -100, 100, 2, 0), PROBEMISS);
  cleartable();
  EXPECT_EQ(probehash(0, 0, -100, 100, 2, 0), PROBEMISS);
  freetable();
}

// Writes an entry for key the way a storing search would, and says so.
void storeentry(uint64_t key, int bound, int depth, int score) {
  hashentry &entry = transtable[key % (uint64_t)hashentries];
  entry.keylo = (uint32_t)key;
  entry.keyhi = ~(uint32_t)(key >> 32);
  entry.bestfrom = 13;
  entry.bestto = 29;
  entry.bound = bound;
  entry.depth = depth;
  entry.score = score;
  tablestate = TABLEWRITTEN;
}

// An entry that was written keeps its meaning: each bound ends the node as it should, the main
// search needs the depth, and each clear forgets what it is meant to forget.
TEST_F(HashTest, WrittenEntriesAreFoundUntilCleared) {
  ASSERT_EQ(allocatetable(1), 1);
  EXPECT_EQ(tablestate, TABLECLEAR);
  uint64_t key = 123456789;
  storeentry(key, BOUNDLOWER, 3, 80);
  EXPECT_EQ(probehash(key, 3, -100, 50, 2, 1), 50);        // a lower bound above beta cuts
  EXPECT_EQ(probehash(key, 4, -100, 50, 2, 1), PROBEMISS);  // too shallow for this depth
  EXPECT_EQ(probehash(key, 9, -100, 50, 2, 0), 50);         // quiescence ignores the depth
  EXPECT_EQ(probehash(key, 3, -100, 100, 2, 1), PROBEMISS);
  EXPECT_EQ(probehash(key + 1, 3, -100, 50, 2, 1), PROBEMISS);
  storeentry(key, BOUNDUPPER, 3, -80);
  EXPECT_EQ(probehash(key, 3, -50, 100, 2, 1), -50);
  storeentry(key, BOUNDMATE, 3, 0);
  EXPECT_EQ(probehash(key, 3, -50, 100, 5, 1), KINGSCORE - 5);
  storeentry(key, BOUNDEXACT, 3, 20);
  EXPECT_EQ(probehash(key, 3, -50, 100, 2, 1), 20);
  EXPECT_EQ(probehash(key, 3, 20, 100, 2, 1), PROBEMISS);  // equal to alpha: the node goes on
  EXPECT_EQ(probehash(key, 3, 30, 100, 2, 1), 30);
  EXPECT_EQ(probehash(key, 3, -50, 10, 2, 1), 10);

  const hashentry &entry = transtable[key % (uint64_t)hashentries];
  clearhashkeys();
  EXPECT_EQ(tablestate, TABLEKEYSCLEAR);
  EXPECT_EQ(probehash(key, 3, -50, 100, 2, 1), PROBEMISS);
  EXPECT_EQ(entry.keylo, 0u);
  EXPECT_EQ(entry.bestto, 29);
  EXPECT_EQ(entry.depth, 3);
  clearhashentries();
  EXPECT_EQ(entry.bestto, 0);
  EXPECT_EQ(entry.bestfrom, 0);
  EXPECT_EQ(entry.depth, 0);
  EXPECT_EQ(entry.score, 20);
  EXPECT_EQ(entry.bound, BOUNDEXACT);
  storeentry(key, BOUNDLOWER, 3, 80);
  cleartable();
  EXPECT_EQ(tablestate, TABLECLEAR);
  EXPECT_EQ(entry.score, 0);
  EXPECT_EQ(entry.bound, 0);
  tablestate = TABLEWRITTEN;  // read the entry: zero bytes match nothing
  EXPECT_EQ(probehash(key, 0, -50, 100, 2, 0), PROBEMISS);
  freetable();
  EXPECT_EQ(tablestate, TABLECLEAR);
}

// A table the system cannot give leaves no table behind; probes miss, the clears do nothing, and
// a later table of a possible size works.
TEST_F(HashTest, ATableTooLargeForTheMachineIsRefused) {
  ASSERT_EQ(allocatetable(1), 1);
  EXPECT_EQ(allocatetable(1 << 30), 0);  // 2^54 bytes
  EXPECT_EQ(transtable, nullptr);
  EXPECT_EQ(hashentries, 0);
  EXPECT_EQ(probehash(1, 3, -50, 100, 2, 1), PROBEMISS);
  cleartable();
  clearhashkeys();
  clearhashentries();
  ASSERT_EQ(allocatetable(1), 1);
  EXPECT_EQ(hashentries, HASHBASEENTRIES);
  storeentry(7, BOUNDEXACT, 1, 5);
  EXPECT_EQ(probehash(7, 1, -50, 100, 2, 1), 5);
  freetable();
}

}  // namespace
