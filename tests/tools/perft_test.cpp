// Perft at shallow depths against the published numbers and against fairy-stockfish's counts
// (recorded here), the FEN set-up of the perft tool, and the tool's command line.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "../board/boardcheck.h"
#include "command.h"

namespace {

struct PerftTest : ::testing::Test {
  void SetUp() override {
    initrays();
    resetboard();
  }
};

struct perftcase {
  const char *variant;
  const char *fen;
  int depth;
  long long expected;
};

const char *const KIWIPETE = "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1";

void runcases(const perftcase *cases, int count) {
  for (int i = 0; i < count; i++) {
    ASSERT_TRUE(perftsetup(cases[i].variant, cases[i].fen)) << cases[i].fen << ": " << perfterror;
    EXPECT_EQ(perft(cases[i].depth), cases[i].expected) << cases[i].variant << " " << cases[i].fen
                                                        << " depth " << cases[i].depth;
  }
}

TEST_F(PerftTest, NormalChessMatchesPublishedCounts) {
  const perftcase cases[] = {
      {"normal", nullptr, 1, 20},
      {"normal", nullptr, 2, 400},
      {"normal", nullptr, 3, 8902},
      {"normal", nullptr, 4, 197281},
      {"normal", KIWIPETE, 1, 48},
      {"normal", KIWIPETE, 2, 2039},
      {"normal", KIWIPETE, 3, 97862},
      {"normal", "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1", 4, 43238},
      {"normal", "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1", 3, 9467},
      {"normal", "r2q1rk1/pP1p2pp/Q4n2/bbp1p3/Np6/1B3NBn/pPPP1PPP/R3K2R b KQ - 0 1", 3, 9467},
      {"normal", "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8", 3, 62379},
      {"normal", "r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 0 10", 3, 89890},
      // Counted by fairy-stockfish: an en-passant capture that would expose the king along the rank,
      // castling with Black to move, underpromotions on both sides.
      {"normal", "8/8/8/8/k2Pp2Q/8/8/3K4 b - d3 0 1", 3, 863},
      {"normal", "r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 0 1", 3, 13744},
      {"normal", "n1n5/PPPk4/8/8/8/8/4Kppp/5N1N b - - 0 1", 3, 9483},
      {"wildcastle", nullptr, 3, 8902},
  };
  runcases(cases, sizeof cases / sizeof cases[0]);
}

TEST_F(PerftTest, CrazyhouseMatchesFairyStockfish) {
  const perftcase cases[] = {
      {"crazyhouse", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR[] w KQkq - 0 1", 3, 8902},
      {"crazyhouse", "r1bqkb1r/pppp1ppp/2n2n2/4p3/2B1P3/5N2/PPPP1PPP/RNBQK2R[Pp] w KQkq - 0 1", 2, 3378},
      {"crazyhouse", "r3k2r/1P6/8/8/8/8/6p1/R3K2R[NNbb] w KQkq - 0 1", 2, 6760},
      {"crazyhouse", "r3k2r/1P6/8/8/8/8/6p1/R3K2R[NNbb] b KQkq - 0 1", 2, 6517},
      {"crazyhouse", "rnbqkbnr/ppp1p1pp/8/3pPp2/8/8/PPPP1PPP/RNBQKBNR[Nn] w KQkq f6 0 3", 2, 3284},
      {"crazyhouse", "2r1k3/2Q~5/8/8/8/8/5q~2/2R1K3[Pp] w - - 0 1", 3, 8898},
      {"crazyhouse", "r2qk2r/ppp2ppp/2n1bn2/3pp3/1b1PP1B~1/2N2N2/PPP2PPP/R1BQK2R[Pp] b KQkq - 0 1", 2, 3772},
      {"crazyhouse", "r1b1k1nr/pPpp1ppp/2n5/4p3/1b2P3/2N5/PpPP1PPP/R1BQKBNR[QRBNq] w KQkq - 0 1", 2, 11966},
      {"crazyhouse", "4k3/1P6/8/8/8/8/6p1/4K3[] w - - 0 1", 4, 5911},
  };
  runcases(cases, sizeof cases / sizeof cases[0]);
}

TEST_F(PerftTest, ThreeCheckAndNocastleMatchFairyStockfish) {
  const perftcase cases[] = {
      {"3check", "r1bqkbnr/pppp1ppp/2n5/1B2p3/4P3/5N2/PPPP1PPP/RNBQK2R w KQkq - 1+1 0 1", 3, 30864},
      {"3check", "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 1+1 0 1", 3, 97848},
      {"3check", "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R b KQkq - 2+1 0 1", 3, 86923},
      {"3check", "4k3/1P6/8/8/8/8/6p1/4K3 w - - 1+1 0 1", 4, 4145},
      // The same check counts written as the checks given, at the end.
      {"3check", "4k3/1P6/8/8/8/8/6p1/4K3 w - - 0 1 +2+2", 4, 4145},
      // A check that is White's last: a8 ends the game, so a1a8 has no replies.
      {"3check", "4k3/8/8/8/8/8/8/R3K3 w - - 3+3 0 1", 2, 68},
      {"3check", "4k3/8/8/8/8/8/8/R3K3 w - - 1+3 0 1", 2, 65},
      {"3check", "4k3/8/8/8/8/8/8/R3K3 w - - 1+3 0 1", 1, 15},
      {"3check", "4k3/8/8/8/8/8/8/R3K3 w - - 3+0 0 1", 1, 0},
      {"nocastle", "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1", 3, 86677},
      {"nocastle", "r3k2r/8/8/8/8/8/8/R3K2R b - - 0 1", 3, 11522},
  };
  runcases(cases, sizeof cases / sizeof cases[0]);
}

// The legal root moves of the set-up position as text, in generation order.
std::vector<std::string> rootmoves() {
  int legalfrom[MAXMOVES], legalto[MAXMOVES];
  int count = legalmoves(1, gameepsquares, legalfrom, legalto);
  std::vector<std::string> moves;
  for (int i = 1; i <= count; i++) {
    char text[MOVETEXTSIZE];
    perftmovetext(legalfrom[i], legalto[i], 0, text);
    moves.push_back(text);
  }
  return moves;
}

bool hasmove(const std::vector<std::string> &moves, const char *move) {
  return std::find(moves.begin(), moves.end(), move) != moves.end();
}

TEST_F(PerftTest, CastlingRightsFollowThePlayersWhenTheBoardIsTurned) {
  ASSERT_TRUE(perftsetup("normal", "r3k2r/8/8/8/8/8/8/R3K2R b k - 0 1"));
  std::vector<std::string> moves = rootmoves();
  EXPECT_TRUE(hasmove(moves, "e8g8"));
  EXPECT_FALSE(hasmove(moves, "e8c8"));
  ASSERT_TRUE(perftsetup("normal", "r3k2r/8/8/8/8/8/8/R3K2R b q - 0 1"));
  moves = rootmoves();
  EXPECT_FALSE(hasmove(moves, "e8g8"));
  EXPECT_TRUE(hasmove(moves, "e8c8"));
  // White's rights stay with White, now on the black codes.
  ASSERT_TRUE(perftsetup("normal", "r3k2r/8/8/8/8/8/8/R3K2R b K - 0 1"));
  EXPECT_EQ(wcastlea + wcastleh, 0);
  EXPECT_EQ(bcastlea, SQA8);  // White's h1 rook is held on square 57
  EXPECT_EQ(bcastleh, 0);
  EXPECT_EQ(bcastleking, SQD8);
  ASSERT_TRUE(perftsetup("normal", "r3k2r/8/8/8/8/8/8/R3K2R w Q - 0 1"));
  moves = rootmoves();
  EXPECT_TRUE(hasmove(moves, "e1c1"));
  EXPECT_FALSE(hasmove(moves, "e1g1"));
}

// 1 when the white codes' generator (castling allowed unless skipcastle) lists the move.
bool generated(int from, int to, int skipcastle) {
  int movefrom[MAXMOVES], moveto[MAXMOVES], count = 0;
  genwhite(movefrom, moveto, &count, 1, gameepsquares, skipcastle, gamewheld);
  for (int i = 1; i <= count; i++)
    if (movefrom[i] == from && moveto[i] == to) return true;
  return false;
}

TEST_F(PerftTest, GeneratorCastlesOnlyThroughSafeEmptySquaresToItsOwnRook) {
  ASSERT_TRUE(perftsetup("normal", "r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1"));
  EXPECT_TRUE(generated(SQE1, SQE1 + 2, 0));
  EXPECT_TRUE(generated(SQE1, SQE1 - 2, 0));
  EXPECT_FALSE(generated(SQE1, SQE1 + 2, 1));  // skipcastle
  EXPECT_FALSE(generated(SQE1, SQE1 - 2, 1));
  board[SQA1] = WKNIGHT;  // the right is still held but the rook square holds another man
  EXPECT_FALSE(generated(SQE1, SQE1 - 2, 0));
  board[SQA1] = BROOK;
  EXPECT_FALSE(generated(SQE1, SQE1 - 2, 0));
  ASSERT_TRUE(perftsetup("normal", "4k3/8/8/8/8/8/4r3/R3K2R w KQ - 0 1"));  // in check
  EXPECT_FALSE(generated(SQE1, SQE1 + 2, 0));
  EXPECT_FALSE(generated(SQE1, SQE1 - 2, 0));
  ASSERT_TRUE(perftsetup("normal", "4kr2/8/8/8/8/8/8/R3K2R w KQ - 0 1"));  // f1 attacked
  EXPECT_FALSE(generated(SQE1, SQE1 + 2, 0));
  EXPECT_TRUE(generated(SQE1, SQE1 - 2, 0));
  ASSERT_TRUE(perftsetup("normal", "4k1r1/8/8/8/8/8/8/R3K2R w KQ - 0 1"));  // g1 attacked
  EXPECT_FALSE(generated(SQE1, SQE1 + 2, 0));
  ASSERT_TRUE(perftsetup("normal", "1r2k3/8/8/8/8/8/8/R3K3 w Q - 0 1"));  // only b1 attacked: allowed
  EXPECT_TRUE(generated(SQE1, SQE1 - 2, 0));
  ASSERT_TRUE(perftsetup("normal", "4k3/8/8/8/8/8/8/RN2K3 w Q - 0 1"));  // b1 occupied
  EXPECT_FALSE(generated(SQE1, SQE1 - 2, 0));
}

TEST_F(PerftTest, GeneratorNeedsMarkerAndNeighbourForEnPassantAndPushesToTheLastRank) {
  ASSERT_TRUE(perftsetup("normal", "4k3/P7/8/3pP3/8/8/8/4K3 w - d6 0 1"));
  EXPECT_TRUE(generated(37, 44, 0));  // e5xd6
  gameepsquares[44] = 0;
  EXPECT_FALSE(generated(37, 44, 0));
  gameepsquares[46] = BPAWN;  // a marker on f6 with no black pawn on f5
  EXPECT_FALSE(generated(37, 46, 0));
  EXPECT_TRUE(generated(49, 57, 0));  // a7a8 is a plain push; make-move promotes
}

TEST_F(PerftTest, WildcastleCastlesFromTheDFile) {
  const char *fen = "r2k3r/8/8/8/8/8/8/R2K3R w KQkq - 0 1";
  ASSERT_TRUE(perftsetup("normal", fen));
  EXPECT_EQ(wcastleking + bcastleking, 0);  // in normal chess a king on d1 has no rights
  ASSERT_TRUE(perftsetup("wildcastle", fen));
  std::vector<std::string> moves = rootmoves();
  EXPECT_TRUE(hasmove(moves, "d1b1"));
  EXPECT_TRUE(hasmove(moves, "d1f1"));
  perftundo undo;
  int childep[65] = {};
  ASSERT_TRUE(perftmake(1, SQD1, SQD1 + 2, childep, &undo));
  EXPECT_EQ(board[SQE1], WROOK);
  perftunmake(1, childep, &undo);
  ASSERT_TRUE(perftsetup("wildcastle", "r2k3r/8/8/8/8/8/8/R2K3R b KQkq - 0 1"));
  moves = rootmoves();
  EXPECT_TRUE(hasmove(moves, "d8b8"));
  EXPECT_TRUE(hasmove(moves, "d8f8"));
}

TEST_F(PerftTest, SetUpReadsWhatParsefenLeavesOut) {
  // A right whose rook or king is not at home is dropped.
  ASSERT_TRUE(perftsetup("normal", "4k3/8/8/8/8/8/8/R3K3 w KQkq - 0 1"));
  EXPECT_EQ(wcastlea, SQA1);
  EXPECT_EQ(wcastleh + bcastlea + bcastleh + bcastleking, 0);
  ASSERT_TRUE(perftsetup("nocastle", "r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1"));
  EXPECT_EQ(wcastleking + wcastlea + wcastleh + bcastleking + bcastlea + bcastleh, 0);
  // En passant: the marker sits on the square passed over, held from the side to move.
  ASSERT_TRUE(perftsetup("normal", "rnbqkbnr/ppp1p1pp/8/3pPp2/8/8/PPPP1PPP/RNBQKBNR w KQkq f6 0 3"));
  EXPECT_EQ(gameepsquares[46], BPAWN);
  ASSERT_TRUE(perftsetup("normal", "rnbqkbnr/pppp1ppp/8/8/3Pp3/8/PPP1PPPP/RNBQKBNR b KQkq d3 0 3"));
  EXPECT_EQ(gameepsquares[65 - 20], BPAWN);
  EXPECT_TRUE(hasmove(rootmoves(), "e4d3"));
  // 3check counts: the side to move's checks go to topc.
  ASSERT_TRUE(perftsetup("3check", "4k3/8/8/8/8/8/8/R3K3 w - - 1+2 0 1"));
  EXPECT_EQ(topc, 2);
  EXPECT_EQ(topp, 1);
  ASSERT_TRUE(perftsetup("3check", "4k3/8/8/8/8/8/8/R3K3 b - - 1+2 0 1"));
  EXPECT_EQ(topc, 1);
  EXPECT_EQ(topp, 2);
  // Crazyhouse: the side to move's hand is always wheld with white codes; promoted men and pawns
  // are pawn-born.
  ASSERT_TRUE(perftsetup("crazyhouse", "4k3/8/8/8/8/8/4P3/Q~3K3[Qp] b - - 0 1"));
  EXPECT_EQ(gamewheld[1], WPAWN);
  EXPECT_EQ(gamebheld[1], BQUEEN);
  EXPECT_EQ(gamewheld[0], 0);
  EXPECT_EQ(pawnbornset(gamebpieces), (std::vector<int>{65 - 13, 65 - 1}));
  EXPECT_TRUE(pawnbornset(gamewpieces).empty());
  ASSERT_TRUE(perftsetup("normal", nullptr));
  EXPECT_EQ(gamewheld[0], NODROPS);
}

TEST_F(PerftTest, MalformedFenIsRefusedWithAReason) {
  const struct {
    const char *variant;
    const char *fen;
  } cases[] = {
      {"normal", ""},
      {"normal", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP w KQkq - 0 1"},
      {"normal", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR/8 w KQkq - 0 1"},
      {"normal", "rnbqkbnr/ppppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1"},
      {"normal", "rnbqkbnr/pppppppp/9/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1"},
      {"normal", "rnbqkbnr/ppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1"},
      {"normal", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNX w KQkq - 0 1"},
      {"normal", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNK w KQkq - 0 1"},
      {"normal", "rnbq1bnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQ - 0 1"},
      {"normal", "Pnbqkbnr/pppppppp/8/8/8/8/1PPPPPPP/RNBQKBNR w KQkq - 0 1"},
      {"normal", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR x KQkq - 0 1"},
      {"normal", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR"},
      {"normal", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w"},
      {"normal", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KX - 0 1"},
      {"normal", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KK - 0 1"},
      {"normal", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq e4 0 1"},
      {"normal", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq e6 0 1"},
      {"normal", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1 7"},
      {"normal", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - x 1"},
      {"normal", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR[Nn] w KQkq - 0 1"},
      {"normal", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQ~KBNR w KQkq - 0 1"},
      {"normal", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 3+3 0 1"},
      {"normal", "4k3/8/8/8/8/8/8/4K2r w - - 0 1"},  // White to move in check: fine
      {"normal", "4k3/8/8/8/8/8/8/4K2r b - - 0 1"},  // Black to move could take the king
      {"normal", "8/8/8/3kK3/8/8/8/8 w - - 0 1"},
      {"crazyhouse", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR[Nn w KQkq - 0 1"},
      {"crazyhouse", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR[Kn] w KQkq - 0 1"},
      {"crazyhouse", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR[X] w KQkq - 0 1"},
      {"crazyhouse", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBP~KBNR w KQkq - 0 1"},
      {"crazyhouse", "~nbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1"},
      {"crazyhouse", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQ~~KBNR w KQkq - 0 1"},
      {"crazyhouse", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR[QQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQ] w - - 0 1"},
      {"crazyhouse", "4k3/PPPPPPPP/PPPPPPPP/PPPPPPPP/8/8/8/4K3 w - - 0 1"},
      {"3check", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 4+3 0 1"},
      {"3check", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 3+x 0 1"},
  };
  for (const auto &c : cases) {
    if (strcmp(c.fen, "4k3/8/8/8/8/8/8/4K2r w - - 0 1") == 0) {
      EXPECT_TRUE(perftsetup(c.variant, c.fen)) << perfterror;  // the side to move may be in check
      continue;
    }
    EXPECT_FALSE(perftsetup(c.variant, c.fen)) << c.fen;
    EXPECT_NE(strstr(perfterror, "malformed FEN"), nullptr) << c.fen;
  }
  EXPECT_FALSE(perftsetup("chess960", nullptr));
  EXPECT_TRUE(perftsetup("giveaway", nullptr));
  EXPECT_TRUE(perftsetup("crazyhouse", nullptr));
}

// Randomly damaged FEN texts are either refused or give a position perft can walk safely.
TEST_F(PerftTest, DamagedFenIsRefusedOrSafe) {
  const char *seeds[] = {KIWIPETE, "r3k2r/1P6/8/8/8/8/6p1/R3K2R[NNbb] b KQkq - 0 1",
                         "rnbqkbnr/ppp1p1pp/8/3pPp2/8/8/PPPP1PPP/RNBQKBNR[Nn] w KQkq f6 0 3",
                         "2r1k3/2Q~5/8/8/8/8/5q~2/2R1K3[Pp] w - - 0 1"};
  const char alphabet[] = "12345678/ KQkqRBNPrbnp[]-~+wb0e3e6";
  testrandom random = {77};
  int accepted = 0;
  for (int round = 0; round < 1500; round++) {
    std::string fen = seeds[round % 4];
    int edits = 1 + randombelow(&random, 3);
    for (int e = 0; e < edits; e++) {
      int at = randombelow(&random, (int)fen.size());
      char c = alphabet[randombelow(&random, (int)sizeof alphabet - 1)];
      int kind = randombelow(&random, 3);
      if (kind == 0) fen[at] = c;
      else if (kind == 1) fen.insert(fen.begin() + at, c);
      else fen.erase(fen.begin() + at);
    }
    const char *variant = round % 2 ? "crazyhouse" : "3check";
    if (!perftsetup(variant, fen.c_str())) {
      EXPECT_NE(strstr(perfterror, "malformed FEN"), nullptr) << fen;
      continue;
    }
    accepted++;
    boardsnapshot before = takesnapshot();
    perft(2);
    EXPECT_EQ(snapshotdifference(before, takesnapshot()), "") << fen;
  }
  EXPECT_GT(accepted, 20);
}

TEST_F(PerftTest, DivideNamesRootMovesInRealCoordinates) {
  ASSERT_TRUE(perftsetup("crazyhouse", "4k3/1P6/8/8/8/8/6p1/4K3[n] b - - 0 1"));
  ::testing::internal::CaptureStdout();
  long long total = perftdivide(1);
  std::string text = ::testing::internal::GetCapturedStdout();
  EXPECT_EQ(total, perft(1));
  EXPECT_NE(text.find("g2g1q: 1\n"), std::string::npos);
  EXPECT_NE(text.find("g2g1n: 1\n"), std::string::npos);
  EXPECT_NE(text.find("N@a8: 1\n"), std::string::npos);
  EXPECT_EQ(text.find("P@"), std::string::npos);
  int lines = (int)std::count(text.begin(), text.end(), '\n');
  EXPECT_EQ(lines, total);
}

// Twokings: each side has two kings, but only the one the search treats as royal (the first met
// scanning the real board file by file from a1) must not be left to be taken; the other is an
// ordinary man. The counts are worked out by hand in the comments.
TEST_F(PerftTest, TwokingsProtectsOnlyTheRoyalKing) {
  const perftcase cases[] = {
      // Kings a1, c1 against a8, c8, nothing attacks: a1 has a2 b2 b1, c1 has c2 d2 b2 d1 b1.
      {"twokings", "k1k5/8/8/8/8/8/8/K1K5 w - - 0 1", 1, 8},
      // The same for Black after each of them: 8 x 8.
      {"twokings", "k1k5/8/8/8/8/8/8/K1K5 w - - 0 1", 2, 64},
      // The h1 king is not royal: it may step to h2 under the rook. a1: a2 b2 b1; h1: g1 g2 h2.
      {"twokings", "k6r/8/8/8/8/8/8/K6K w - - 0 1", 1, 6},
      // c1 is royal; d1 stands on the bishop's diagonal. c1d2 would make d1 (first on the d-file)
      // the royal king under attack: illegal. c1: b1 b2 c2; d1: c2 d2 e2 e1 (e2 attacked, allowed).
      {"twokings", "k7/8/8/7b/8/8/8/2KK4 w - - 0 1", 1, 7},
      // Turned, Black to move: the scan still runs from a1, so c8d7 leaves the moved king royal (d7
      // comes before d8 on the d-file) and all eight moves are legal.
      {"twokings", "2kk4/8/8/8/7B/8/8/K7 b - - 0 1", 1, 8},
      // The second kings d4 and d5 may stand side by side; d4 may even take d5. a1: a2 b1 b2.
      {"twokings", "k7/8/8/3k4/3K4/8/8/K7 w - - 0 1", 1, 11},
  };
  runcases(cases, (int)(sizeof cases / sizeof cases[0]));
  // With one king each, a position with two is refused outside twokings.
  EXPECT_FALSE(perftsetup("normal", "k1k5/8/8/8/8/8/8/K1K5 w - - 0 1"));
}

// By the server's atomic rules a castling right goes with its rook when a blast removes it: after
// b7g2 blows up the h1 rook, the rook from h5 that reaches h1 may not castle (b7g2 alone: 978).
TEST_F(PerftTest, AtomicBlastTakesTheCastlingRightWithTheRook) {
  ficsrules = 1;
  const perftcase cases[] = {{"atomic", "k7/1b6/8/7R/8/8/6N1/4K2R b K - 0 1", 4, 61940}};
  runcases(cases, 1);
  ficsrules = 0;
}

std::string toolpath() { return std::string(KORVEL_BINARY_DIR) + "/korvel-perft"; }

TEST_F(PerftTest, ToolCountsAndRefusesBadArgumentsWithStatusTwo) {
  std::ifstream probe(toolpath());
  if (!probe) GTEST_SKIP() << "korvel-perft not built";
  std::string out;
  EXPECT_EQ(runcommand(toolpath() + " --variant normal --depth 3 2>/dev/null", &out), 0);
  EXPECT_EQ(out, "8902\n");
  const char *fen = "4k3/1P6/8/8/8/8/6p1/4K3[n] b - - 0 1";
  ASSERT_TRUE(perftsetup("crazyhouse", fen));
  std::string total = std::to_string(perft(2)) + "\n";
  EXPECT_EQ(runcommand(toolpath() + " --variant crazyhouse --fen '" + fen + "' --depth 2 --divide 2>/dev/null", &out), 0);
  ASSERT_GT(out.size(), total.size());
  EXPECT_EQ(out.substr(out.size() - total.size()), total);
  EXPECT_EQ(out[out.size() - total.size() - 1], '\n');
  const char *bad[] = {
      "",
      "--depth",
      "--depth 0",
      "--depth x",
      "--depth 3 --variant chess960",
      "--depth 3 --variant",
      "--depth 3 --fen",
      "--depth 3 --fen 'rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBN w KQkq - 0 1'",
      "--depth 3 --fen 'garbage'",
      "--depth 3 --bogus",
  };
  for (const char *arguments : bad) {
    int status = runcommand(toolpath() + " " + arguments, &out);
    EXPECT_EQ(status, 2) << arguments;
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1) << arguments << ": " << out;
  }
}

// korvel-tool shows a position after moves with the key kept move by move beside the key from
// scratch, and refuses an illegal move.
TEST_F(PerftTest, DisplayToolShowsBothBoardsAndAgreeingKeys) {
  std::string tool = std::string(KORVEL_BINARY_DIR) + "/korvel-tool";
  std::string out;
  ASSERT_EQ(runcommand(tool + " --variant crazyhouse --moves 'e2e4 d7d5 e4d5 d8d5 P@e4'", &out), 0) << out;
  EXPECT_NE(out.find("  4  . . . . P . . ."), std::string::npos) << out;
  EXPECT_NE(out.find("hands: white   black 1:p"), std::string::npos) << out;
  EXPECT_NE(out.find("agree"), std::string::npos) << out;
  ASSERT_EQ(runcommand(tool + " --variant 3check --fen 'rnbqkbnr/ppp2ppp/8/3pp3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq - 0 1'"
                              " --moves 'f1b5 c7c6 b5c6 b7c6 e1g1'",
                       &out),
            0)
      << out;
  EXPECT_NE(out.find("topc 2 topp 0"), std::string::npos) << out;  // Bb5+ and Bxc6+
  EXPECT_NE(out.find("agree"), std::string::npos) << out;
  // Atomic keeps the atomic engine's key: an explosion removes men and, here, the h1 rook's right.
  ASSERT_EQ(runcommand(tool + " --variant atomic --fen 'k7/1b6/8/7R/8/8/6N1/4K2R b K - 0 1' --moves 'b7g2 h5h1'", &out), 0)
      << out;
  EXPECT_NE(out.find("agree"), std::string::npos) << out;
  EXPECT_EQ(runcommand(tool + " --variant normal --moves 'e2e5' 2>&1", &out), 2);
  EXPECT_NE(out.find("not a legal move"), std::string::npos) << out;
}

TEST_F(PerftTest, SuiteQuickModePasses) {
  std::ifstream probe(toolpath());
  if (!probe) GTEST_SKIP() << "korvel-perft not built";
  if (system("python3 --version >/dev/null 2>&1") != 0) GTEST_SKIP() << "no python3";
  std::string out;
  int status = runcommand("python3 " + std::string(KORVEL_SOURCE_DIR) + "/tools/perftsuite.py --no-fairy --binary " +
                              toolpath() + " --quicklimit 20000",
                          &out);
  EXPECT_EQ(status, 0) << out;
  EXPECT_NE(out.find("perft: all counts match"), std::string::npos) << out;
}

}  // namespace
