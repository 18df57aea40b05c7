// End-to-end: the real korvel binary on pipes, driven as xboard drives it, with fairy-stockfish as
// the referee of every move. Times are short ("level 9999 1 0" gives a few milliseconds a move)
// and every read has a time limit.
#include "pipetest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

static const char FEATURELINE[] =
    "\nfeature ping=1 setboard=1 colors=0 ics=1 analyze=1 sigint=0 sigterm=0 myname=\"Korvel\" variants=\"atomic,twokings,"
    "wildcastle,nocastle,3check,normal,crazyhouse,giveaway,suicide,losers\" option=\"Full strength -check 0\" done=1\n";

// The board field of the referee's FEN of a position, one character per square, rank 8 first.
static std::string boardof(childproc *referee, const std::string &fen, const std::vector<std::string> &moves) {
  std::string command = fen.empty() ? "position startpos" : "position fen " + fen;
  if (!moves.empty()) command += " moves";
  for (const std::string &m : moves) command += " " + m;
  size_t from = referee->text.size();
  sendtext(referee, command + "\nd\n");
  size_t at = 0;
  if (!waitfortext(referee, "Fen: ", from, REPLYMS, &at)) return "";
  std::string board;
  for (size_t i = at + 5; i < referee->text.size() && referee->text[i] != ' ' && referee->text[i] != '['; i++) {
    char c = referee->text[i];
    if (c >= '1' && c <= '8') board.append((size_t)(c - '0'), '.');
    else if (c != '/') board += c;
  }
  return board;
}

// 1 when the square (such as e4) holds a man in a board given by boardof.
static int occupied(const std::string &board, const std::string &square) {
  size_t index = (size_t)('8' - square[1]) * 8 + (size_t)(square[0] - 'a');
  return index < board.size() && board[index] != '.';
}

class XboardTest : public PipeTest {
 protected:
  void SetUp() override {
    PipeTest::SetUp();
    srand(12345);
  }

  // The engine's next move, which must be legal after moves; it is appended to moves.
  std::string legalreply(const std::string &fen, std::vector<std::string> *moves) {
    std::string move = nextmove(&engine, &cursor, REPLYMS);
    EXPECT_NE(move, "") << engine.text;
    EXPECT_TRUE(islegal(&referee, fen, *moves, move)) << "illegal " << move << "\n" << engine.text;
    moves->push_back(move);
    return move;
  }
};

// The feature line answers protover exactly once and advertises every variant.
TEST_F(XboardTest, FeatureLineOnce) {
  sendtext(&engine, "new\nquit\n");
  ASSERT_TRUE(waitforexit(&engine, REPLYMS));
  EXPECT_EQ(count(FEATURELINE), 1);
  EXPECT_EQ(count("feature"), 1);
}

// new, then the opponent's e2e4: the engine answers as Black, and goes on answering.
TEST_F(XboardTest, RepliesAsBlack) {
  needreferee("chess");
  std::vector<std::string> moves = {"e2e4"};
  sendtext(&engine, std::string("new\n") + QUICK + "e2e4\n");
  legalreply("", &moves);
  for (int i = 0; i < 3; i++) {
    std::vector<std::string> legal = legalmoves(&referee, "", moves);
    ASSERT_FALSE(legal.empty());
    moves.push_back(legal[rand() % legal.size()]);
    sendtext(&engine, moves.back() + "\n");
    legalreply("", &moves);
  }
}

// A command split across two writes is read whole.
TEST_F(XboardTest, SplitCommand) {
  needreferee("chess");
  std::vector<std::string> moves = {"d2d4"};
  sendtext(&engine, std::string("new\n") + QUICK + "d2");
  usleep(200000);
  sendtext(&engine, "d4\n");
  legalreply("", &moves);
}

// force, moves, go: an even number of moves makes the engine White, an odd number Black.
TEST_F(XboardTest, ForceMovesGo) {
  needreferee("chess");
  std::vector<std::string> moves = {"e2e4", "e7e5"};
  sendtext(&engine, std::string("new\n") + QUICK + "force\ne2e4\ne7e5\ngo\n");
  legalreply("", &moves);
  moves.push_back(legalmoves(&referee, "", moves)[0]);
  sendtext(&engine, moves.back() + "\n");
  legalreply("", &moves);
  sendtext(&engine, "result 1/2-1/2\n");
  ASSERT_TRUE(waitfortext(&engine, "out of while", 0, REPLYMS, nullptr));
  moves = {"g1f3"};
  sendtext(&engine, std::string("new\n") + QUICK + "force\ng1f3\ngo\n");
  legalreply("", &moves);
}

// xboard's colour phrases: "black", "white", "go" makes the engine White on the starting position;
// after a set-up and a force move, "black" and "go" make it play Black.
TEST_F(XboardTest, WhiteAndBlack) {
  needreferee("chess");
  std::vector<std::string> moves;
  sendtext(&engine, std::string("new\n") + QUICK + "black\nwhite\ngo\n");
  legalreply("", &moves);
  sendtext(&engine, "result 1/2-1/2\n");
  ASSERT_TRUE(waitfortext(&engine, "out of while", 0, REPLYMS, nullptr));
  const std::string fen = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
  moves = {"c2c4"};
  sendtext(&engine, std::string("new\n") + QUICK + "force\nsetboard " + fen + "\nc2c4\nblack\ngo\n");
  legalreply(fen, &moves);
  moves.push_back(legalmoves(&referee, fen, moves)[0]);
  sendtext(&engine, moves.back() + "\n");
  legalreply(fen, &moves);
}

// A set-up position with a mate in one: the engine plays it and announces its win.
TEST_F(XboardTest, SetboardMateInOne) {
  sendtext(&engine, "new\nlevel 100 1 0\nsetboard 6k1/5ppp/8/8/8/8/5PPP/R5K1 w - - 0 1\n");
  usleep(100000);
  sendtext(&engine, "go\n");
  EXPECT_EQ(nextmove(&engine, &cursor, REPLYMS), "a1a8");
  EXPECT_TRUE(waitfortext(&engine, "\n1-0\n", cursor, REPLYMS, nullptr)) << engine.text;
}

// level is echoed in centiseconds; time and otim with little time left still give a prompt move.
TEST_F(XboardTest, TimeOtimLevel) {
  needreferee("chess");
  sendtext(&engine, "new\nlevel 40 5 0\n");
  EXPECT_TRUE(waitfortext(&engine, "\nlevel 40 29700 0\n", 0, REPLYMS, nullptr));
  sendtext(&engine, "level 0 1 0\ntime 150\notim 150\ne2e4\n");
  EXPECT_TRUE(waitfortext(&engine, "\nlevel 0 5700 0\n", 0, REPLYMS, nullptr));
  std::vector<std::string> moves = {"e2e4"};
  legalreply("", &moves);
}

// "?" during a long search makes the engine move at once.
TEST_F(XboardTest, MoveNowDuringLongSearch) {
  needreferee("chess");
  std::vector<std::string> moves = {"e2e4"};
  sendtext(&engine, std::string("new\n") + LONGSEARCH + "e2e4\n");
  usleep(500000);
  sendtext(&engine, "?\n");
  legalreply("", &moves);
  // The engine keeps playing afterwards, and the "?" did not linger.
  sendtext(&engine, QUICK);
  moves.push_back(legalmoves(&referee, "", moves)[0]);
  sendtext(&engine, moves.back() + "\n");
  legalreply("", &moves);
}

// quit during a search ends the process without a move line.
TEST_F(XboardTest, QuitDuringSearch) {
  sendtext(&engine, std::string("new\n") + LONGSEARCH + "e2e4\n");
  usleep(500000);
  sendtext(&engine, "quit\n");
  ASSERT_TRUE(waitforexit(&engine, REPLYMS));
  EXPECT_EQ(engine.text.find("move "), std::string::npos);
}

// The end of input ends the process, both while waiting for a command and during a search; a
// search still writes its move first, so that a piped script gets its answer.
TEST_F(XboardTest, EndOfInputEndsProcess) {
  sendtext(&engine, "new\n");
  closeinput(&engine);
  EXPECT_TRUE(waitforexit(&engine, REPLYMS));
  childproc searching;
  ASSERT_TRUE(startkorvel(&searching));
  sendtext(&searching, std::string("new\n") + LONGSEARCH + "e2e4\n");
  usleep(500000);
  closeinput(&searching);
  EXPECT_TRUE(waitforexit(&searching, REPLYMS));
  EXPECT_NE(searching.text.find("\nmove "), std::string::npos);
  stopchild(&searching);
}

// result ends the game and the next game starts from the starting position; a result during a
// search ends the game once, and the commands that came with it start the next game.
TEST_F(XboardTest, ResultThenNextGame) {
  needreferee("chess");
  std::vector<std::string> moves = {"e2e4"};
  sendtext(&engine, std::string("new\n") + QUICK + "e2e4\n");
  legalreply("", &moves);
  sendtext(&engine, "result 1-0 {White resigns}\n");
  ASSERT_TRUE(waitfortext(&engine, "out of while", 0, REPLYMS, nullptr));
  moves = {"d2d4"};
  sendtext(&engine, std::string("new\n") + QUICK + "d2d4\n");
  legalreply("", &moves);
  sendtext(&engine, "result 0-1\n");
  ASSERT_TRUE(waitfortext(&engine, "out of while", engine.text.find("out of while") + 1, REPLYMS, nullptr));
  sendtext(&engine, "new\n" + std::string(LONGSEARCH) + "c2c4\n");
  usleep(500000);
  sendtext(&engine, "result 1-0\nnew\n" + std::string(QUICK) + "g1f3\n");
  moves = {"g1f3"};
  legalreply("", &moves);
  EXPECT_EQ(count("out of while"), 3);
}

// "remove" at the start is ignored; later it takes back a move pair and play goes on from there.
TEST_F(XboardTest, RemoveTakesBack) {
  needreferee("chess");
  std::vector<std::string> moves = {"e2e4"};
  sendtext(&engine, std::string("new\n") + QUICK + "remove\ne2e4\n");
  legalreply("", &moves);
  moves.push_back(legalmoves(&referee, "", moves)[0]);
  sendtext(&engine, moves.back() + "\n");
  legalreply("", &moves);
  sendtext(&engine, "remove\n");
  moves.resize(2);
  moves.push_back(legalmoves(&referee, "", moves).back());
  sendtext(&engine, moves.back() + "\n");
  legalreply("", &moves);
}

// Crazyhouse: an illegal drop is refused with both hands, drops go both ways and stay legal. The
// opponent drops when it can and captures otherwise; games are played until both sides have dropped.
TEST_F(XboardTest, CrazyhouseDrops) {
  needreferee("crazyhouse");
  sendtext(&engine, "new\nvariant crazyhouse\nQ@e4\n");
  EXPECT_TRUE(waitfortext(&engine, "Illegal move: Q@e4\ntelluser Player[] Korvel[]\n", 0, REPLYMS, nullptr));
  int enginedrops = 0;
  int opponentdrops = 0;
  for (int game = 0; game < 5 && (enginedrops == 0 || opponentdrops == 0) && !HasFailure(); game++) {
    if (game > 0) {
      sendtext(&engine, "result 1/2-1/2\nnew\nvariant crazyhouse\n");
    }
    std::vector<std::string> moves = {"e2e4"};
    sendtext(&engine, std::string(QUICK) + "e2e4\n");
    for (int ply = 0; ply < 60 && !HasFailure(); ply++) {
      std::string reply = legalreply("", &moves);
      if (ply == 59) break;
      if (reply.find('@') != std::string::npos) enginedrops++;
      std::vector<std::string> legal = legalmoves(&referee, "", moves);
      if (legal.empty()) break;
      std::string board = boardof(&referee, "", moves);
      std::vector<std::string> drops;
      for (const std::string &m : legal) {
        if (m.find('@') != std::string::npos) drops.push_back(m);
      }
      if (drops.empty()) {
        for (const std::string &m : legal) {
          if (occupied(board, m.substr(2, 2))) drops.push_back(m);
        }
      }
      std::string move = drops.empty() ? legal[rand() % legal.size()] : drops[rand() % drops.size()];
      if (move.find('@') != std::string::npos) opponentdrops++;
      moves.push_back(move);
      sendtext(&engine, move + "\n");
    }
  }
  EXPECT_GT(opponentdrops, 0);
  EXPECT_GT(enginedrops, 0);
  EXPECT_EQ(count("Illegal move"), 1);
}

// 3check: the side that gives the third check wins, and the engine says so at once.
TEST_F(XboardTest, ThirdCheck) {
  needreferee("3check");
  // White's queen and rook give checks at will against a lone king; the engine is White.
  const std::string fen = "4k3/8/8/8/8/8/8/R2QK3 w - - 3+3 0 1";  // the referee counts the checks left
  sendtext(&engine, std::string("new\nvariant 3check\n") + QUICK + "setboard 4k3/8/8/8/8/8/8/R2QK3 w - - 0 1\n");
  usleep(100000);
  sendtext(&engine, "go\n");
  std::vector<std::string> moves;
  for (int ply = 0; ply < 60 && !HasFailure(); ply++) {
    legalreply(fen, &moves);
    if (engine.text.find("\n1-0\n") != std::string::npos) break;
    std::vector<std::string> legal = legalmoves(&referee, fen, moves);
    if (legal.empty()) break;
    moves.push_back(legal[rand() % legal.size()]);
    sendtext(&engine, moves.back() + "\n");
  }
  EXPECT_TRUE(waitfortext(&engine, "\n1-0\n", 0, REPLYMS, nullptr)) << engine.text;
  EXPECT_EQ(engine.text.find("\n0-1\n"), std::string::npos);
}

// A game of a thousand half-moves is kept whole: entered in force mode (where no draw is claimed),
// the engine then answers with a legal move. (Played out, the game would end at its first draw claim.)
TEST_F(XboardTest, ThousandHalfMoves) {
  needreferee("chess");
  const std::string fen = "8/3k4/8/8/8/8/3K4/8 w - - 0 1";
  std::vector<std::string> moves;
  std::string script = std::string("new\nforce\n") + QUICK + "setboard " + fen + "\n";
  for (int ply = 0; ply < 999 && !HasFailure(); ply++) {
    std::vector<std::string> legal = legalmoves(&referee, fen, moves);
    ASSERT_FALSE(legal.empty());
    moves.push_back(legal[rand() % legal.size()]);
    script += moves.back() + "\n";
  }
  sendtext(&engine, script + "go\n");
  std::string reply = nextmove(&engine, &cursor, REPLYMS);
  ASSERT_TRUE(islegal(&referee, fen, moves, reply)) << reply << "\n" << engine.text;
}

// A set-up position with Black to move: "go" makes the engine play Black, and the en-passant
// field counts; after a set-up with White to move a move sent is White's and the engine answers.
TEST_F(XboardTest, SetupEitherSideToMove) {
  needreferee("chess");
  const std::string fen = "rnbqkbnr/ppp1pppp/8/8/3pP3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1";
  std::vector<std::string> moves;
  sendtext(&engine, std::string("new\nforce\n") + QUICK + "setboard " + fen + "\ngo\n");
  legalreply(fen, &moves);
  const std::string white = "4k3/8/8/8/8/8/4P3/4K3 w - - 0 1";
  moves = {"e2e4"};
  sendtext(&engine, "force\nsetboard " + white + "\ne2e4\ngo\n");
  legalreply(white, &moves);
}

// Moves that cannot be played are refused and change nothing; impossible set-ups are refused
// and the previous position stays.
TEST_F(XboardTest, IllegalMovesAndPositionsAreRefused) {
  needreferee("chess");
  sendtext(&engine, std::string("new\n") + QUICK + "e2e5\n");
  EXPECT_TRUE(waitfortext(&engine, "Illegal move: e2e5\n", 0, REPLYMS, nullptr)) << engine.text;
  sendtext(&engine, "setboard 8/8/8/8/8/8/8/8 w - - 0 1\nsetboard 4k3/8/8/8/8/8/8/8 w - - 0 1\n");
  sendtext(&engine, "setboard P3k3/8/8/8/8/8/8/4K3 w - - 0 1\n");
  EXPECT_TRUE(waitfortext(&engine, "tellusererror Illegal position\n", 0, REPLYMS, nullptr));
  std::vector<std::string> moves = {"e2e4"};
  sendtext(&engine, "e2e4\n");
  legalreply("", &moves);
  EXPECT_EQ(count("tellusererror Illegal position"), 3);
  EXPECT_EQ(count("Illegal move"), 1);
}

// A stalemated or mated engine writes the result and no move.
TEST_F(XboardTest, NoMoveWhenTheGameIsOver) {
  sendtext(&engine, "new\nforce\nsetboard 7k/8/8/8/8/1q6/8/K7 w - - 0 1\ngo\n");
  EXPECT_TRUE(waitfortext(&engine, "\n1/2-1/2 (Stalemate)\n", 0, REPLYMS, nullptr)) << engine.text;
  sendtext(&engine, "new\nforce\nsetboard 8/8/8/8/8/2k5/1q6/K7 w - - 0 1\ngo\nping 3\n");
  EXPECT_TRUE(waitfortext(&engine, "pong 3", 0, REPLYMS, nullptr)) << engine.text;
  EXPECT_NE(engine.text.find("\n0-1\n"), std::string::npos) << engine.text;
  EXPECT_EQ(engine.text.find("\nmove "), std::string::npos) << engine.text;
}

// A giveaway move that takes the last man of the other side ends the game: the result is
// written once, although the side left without men has no move either.
TEST_F(XboardTest, OneResultLinePerEnd) {
  sendtext(&engine, "new\nvariant giveaway\nforce\nsetboard 8/8/8/8/8/8/1p6/K7 w - - 0 1\ngo\n");
  EXPECT_EQ(nextmove(&engine, &cursor, REPLYMS), "a1b2") << engine.text;
  sendtext(&engine, "ping 4\n");
  EXPECT_TRUE(waitfortext(&engine, "pong 4", 0, REPLYMS, nullptr)) << engine.text;
  size_t first = engine.text.find("\n0-1\n");
  ASSERT_NE(first, std::string::npos) << engine.text;
  EXPECT_EQ(engine.text.find("\n0-1\n", first + 1), std::string::npos) << engine.text;
}

// Force mode replays exactly: an underpromotion stays a bishop; the GUI's switch of sides
// mid-game (force, go) plays the side on move; take-backs of one and two half-moves.
TEST_F(XboardTest, ForceReplaySwitchAndTakeBacks) {
  needreferee("chess");
  std::vector<std::string> moves = {"a2a4", "b7b5", "a4b5", "a7a6", "b5a6", "c8b7", "a6b7", "b8c6", "b7a8b", "d8c8"};
  std::string text = std::string("new\n") + QUICK + "force\n";
  for (const std::string &m : moves) text += m + "\n";
  sendtext(&engine, text + "go\n");
  legalreply("", &moves);
  moves.push_back(legalmoves(&referee, "", moves)[0]);
  sendtext(&engine, moves.back() + "\nforce\nundo\n");
  moves.pop_back();
  moves.push_back(legalmoves(&referee, "", moves).back());
  sendtext(&engine, moves.back() + "\ngo\n");
  legalreply("", &moves);
  sendtext(&engine, "remove\n");
  moves.resize(moves.size() - 2);
  moves.push_back(legalmoves(&referee, "", moves)[1]);
  sendtext(&engine, moves.back() + "\n");
  legalreply("", &moves);
}

// Nothing in one write is lost: "new", "white"... and post all act; an ics line is a name.
TEST_F(XboardTest, WholeBlocksAndIcsNames) {
  sendtext(&engine, "new\nwhite\npost\nics gorgonzola.example\n" + std::string(QUICK) + "force\ngo\n");
  size_t at = 0;
  ASSERT_TRUE(waitfortext(&engine, "\nmove ", 0, REPLYMS, &at)) << engine.text;
  EXPECT_NE(engine.text.find("\n1 "), std::string::npos) << "post was lost\n" << engine.text;
}

// Crazyhouse: 32 queens to drop and 0.5 s on the clock still give a move in time, and quit ends
// the engine at once.
TEST_F(XboardTest, NoHangWithFullHands) {
  sendtext(&engine, "new\nvariant crazyhouse\nforce\nsetboard 4k3/8/8/8/8/8/8/4K3[QQQQQQQQQQQQQQQQqqqqqqqqqqqqqqqq] w - - 0 1\n"
                    "level 0 0:10 0\ntime 50\notim 50\ngo\n");
  std::string move = nextmove(&engine, &cursor, 3000);
  EXPECT_NE(move, "") << engine.text;
  sendtext(&engine, "quit\n");
  EXPECT_TRUE(waitforexit(&engine, 2000));
}
