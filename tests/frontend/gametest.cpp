// The game loop, the protocol reader and the input poll inside the test process: standard input is
// replaced by a pipe holding the commands, followed by the end of input.
#include "antichess/antichess.h"
#include "board/board.h"
#include "frontend/frontend.h"
#include "regular/regular.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <unistd.h>

class GameTest : public ::testing::Test {
 protected:
  int savedstdin = -1;

  void SetUp() override {
    savedstdin = dup(0);
    initrays();
    resetall();
  }

  void TearDown() override {
    dup2(savedstdin, 0);
    close(savedstdin);
    resetinput();
  }

  // Standard input holds text and then ends.
  void feed(const std::string &text) {
    int p[2];
    ASSERT_EQ(pipe(p), 0);
    ASSERT_EQ(write(p[1], text.data(), text.size()), (ssize_t)text.size());
    close(p[1]);
    dup2(p[0], 0);
    close(p[0]);
    resetinput();
  }

  // The starting position held for White, the engine playing White and Black on move, as after
  // the engine's first move (its move is not on the board).
  void whitegame() {
    gamestart();
    setvariantflags(0, VFALL);  // normal chess, as after "new"
    color = 1;
    rebuildposition();
    gameply = 2;
  }

  // Opponent passes, as the main loop makes them, until the engine is to move or the game ends.
  void readuntilengine() {
    for (int passes = 0; passes < 5000; passes++) {
      opponentpass();
      if (inputfrom == INPUTGAMEOVER || (!forcemode && enginetomove())) return;
    }
  }
};

// Clock and level commands keep their figures; level echoes them and keeps the increment less 30.
TEST_F(GameTest, LevelAndTimeCommands) {
  feed("level 40 5 0\ntime 30000\notim 30000\n");
  readinput();
  EXPECT_EQ(levelmoves, 40);
  EXPECT_EQ(levelbase, 29700);
  EXPECT_EQ(levelinc, 0);
  EXPECT_EQ(timeleft, 30000);
  allottime();
  EXPECT_EQ(movetime, 7425);
  EXPECT_EQ(pollinterval, 500);
  feed("level 0 2 12\ntime 6000\n");
  readinput();
  EXPECT_EQ(levelbase, 11700);
  EXPECT_EQ(levelinc, 1170);
  allottime();
  EXPECT_GE(movetime, 60000 / 29 + 11700);
  EXPECT_LE(movetime, 3000 + 11700);
  // Without a clock given, the base share alone.
  clockgiven = 0;
  levelmoves = levelbase = levelinc = 0;
  timeleft = 0;
  allottime();
  EXPECT_EQ(movetime, 95);
  EXPECT_EQ(pollinterval, 20);
  // A nearly spent clock is never spent in one move.
  timeleft = 150;
  allottime();
  EXPECT_EQ(movetime, 1500 / 40 - 20);
  timeleft = 2;
  allottime();
  EXPECT_EQ(movetime, 1);
}

// Once the clock is known a move never takes more than the clock minus the move overhead: not
// with a large increment and little left (2+12 with 12 s), not with moves per control on a
// nearly spent clock, and not with a clock of 0; a low clock with an increment grows back.
TEST_F(GameTest, AllotmentStaysInsideTheClock) {
  clockgiven = 1;
  gameply = 21;
  levelmoves = 0;
  levelbase = 11700;
  levelinc = 1170;
  timeleft = 1200;
  for (int i = 0; i < 20; i++) {
    allottime();
    EXPECT_LE(movetime, 12000 - 50);
    EXPECT_GE(movetime, 6000);  // most of the increment is still used
  }
  // A clock run low with a small increment grows back: 4+0.1 with half a second left spends at
  // most the increment less 50 ms, whatever the share of the clock would be.
  levelbase = 100;
  levelinc = 10;
  for (timeleft = 10; timeleft < 100; timeleft += 20) {
    allottime();
    EXPECT_LE(movetime, 50) << timeleft;
  }
  levelmoves = 40;
  levelbase = 5700;
  levelinc = 0;
  timeleft = 10;
  allottime();
  EXPECT_LE(movetime, 100 - 50);
  timeleft = 0;
  levelmoves = 0;
  allottime();
  EXPECT_EQ(movetime, 1);
  EXPECT_EQ(pollinterval, 10);
}

// The lag read off the clock: a clock that fell 300 ms beyond the engine's own 50 ms makes every
// short-clock move keep 300 ms back; a quick move after it lowers the estimate by a quarter of the
// difference; no fresh clock, or a clock that rose with a new control, tells nothing.
TEST_F(GameTest, LagReadOffTheClock) {
  feed("time 400\n");
  readinput();
  notemoveclock(50);
  feed("time 365\n");
  readinput();
  readlag();
  EXPECT_EQ(movelag, 300);
  allottime();
  EXPECT_EQ(movetime, 1);  // 3650 / 40 less the lag is nothing
  notemoveclock(1);
  feed("time 364\n");
  readinput();
  readlag();
  EXPECT_EQ(movelag, 300 - (300 - 9) / 4);
  notemoveclock(1);
  readlag();  // no "time" since the move
  feed("time 9000\n");
  readinput();
  readlag();
  EXPECT_EQ(movelag, 228);
}

// A block with the clock and a move hands the move over in one call, turned for an engine playing Black.
TEST_F(GameTest, MoveAfterClockInOneBlock) {
  gamestart();
  feed("time 30000\notim 30000\ne2e4\n");
  inputfrom = INPUTNONE;
  readinput();
  EXPECT_EQ(timeleft, 30000);
  EXPECT_EQ(inputfrom, 52);
  EXPECT_EQ(inputto, 36);
}

// The end of input counts as quit: the reader hands over the end of the game and no next game follows.
TEST_F(GameTest, EndOfInputIsQuit) {
  feed("");
  inputfrom = INPUTNONE;
  readinput();
  EXPECT_EQ(inputfrom, INPUTGAMEOVER);
  EXPECT_EQ(inputto, INPUTGAMEOVER);
  EXPECT_EQ(playagain, 0);
}

// "remove" before two half-moves were played takes nothing back and keeps every counter at its start.
TEST_F(GameTest, RemoveAtStartKeepsCounters) {
  gamestart();
  feed("remove\nremove\ne2e4\n");
  inputfrom = INPUTNONE;
  readinput();
  EXPECT_EQ(gameply, 1);
  EXPECT_EQ(historycount, 0);
  EXPECT_EQ(ltop, 1);
  EXPECT_EQ(inputfrom, 52);
}

// A take-back after moves restores the position two half-moves back.
TEST_F(GameTest, RemoveRestoresPosition) {
  gamestart();
  feed("e2e4\n");
  opponentpass();
  int afterfirst[65];
  memcpy(afterfirst, board, sizeof afterfirst);
  playturn(12, 20, 0);  // the engine's e7e6, seen from Black's side
  feed("d2d4\n");
  opponentpass();
  EXPECT_EQ(historycount, 3);
  EXPECT_EQ(gameply, 4);
  feed("remove\n");
  inputfrom = INPUTNONE;
  readinput();
  EXPECT_EQ(inputto, INPUTWAKETO);
  EXPECT_EQ(gameply, 2);
  EXPECT_EQ(historycount, 1);
  EXPECT_EQ(memcmp(board + 1, afterfirst + 1, sizeof(int) * 64), 0);
}

// A promotion without a letter makes a queen; with a letter, the man it names.
TEST_F(GameTest, PromotionLetter) {
  whitegame();
  setvariantflags(0, VFALL);  // normal chess: giveaway, the variant at load, would insist on the captures
  board[9] = BPAWN;
  board[1] = EMPTY;
  feed("a2a1\n");
  opponentpass();
  EXPECT_EQ(board[1], BQUEEN);
  gameply = 2;
  board[10] = BPAWN;
  board[2] = EMPTY;
  feed("b2b1n\n");
  opponentpass();
  EXPECT_EQ(board[2], BKNIGHT);
}

// A capture on the engine's rook corner takes that castling right; the other side keeps its own.
TEST_F(GameTest, CapturedCornerRookLosesCastling) {
  whitegame();
  board[15] = BBISHOP;  // g2
  feed("g2h1\n");
  opponentpass();
  EXPECT_EQ(board[SQH1], BBISHOP);
  EXPECT_EQ(wcastleh, 0);
  EXPECT_EQ(wcastlea, SQA1);
  EXPECT_EQ(wcastleking, SQE1);
  // And the engine capturing the opponent's corner rook takes the opponent's right.
  board[55] = WBISHOP;  // g7
  rootfrom[1] = finfrom = 55;
  rootto[1] = finto = SQH8;
  rootcount = 1;
  makeenginemove(&enginetable[ENGINEREGULAR]);
  EXPECT_EQ(bcastleh, 0);
  EXPECT_EQ(bcastlea, SQA8);
}

// A searched move that is not legal gives way to the legal move the search scored best, not to
// the first of the list; a legal one is played as it is, whatever the others scored.
TEST_F(GameTest, AnIllegalSearchedMoveGivesWayToTheBestLegalOne) {
  whitegame();
  gameply = 1;
  const int legalfrom[4] = {0, 7, 2, 13}, legalto[4] = {0, 22, 19, 29};  // g1f3, b1c3, e2e4
  const int scoredfrom[5] = {0, 5, 2, 13, 7}, scoredto[5] = {0, 13, 19, 29, 22};  // e1e2 first, scored best
  const int scores[5] = {0, 900, 50, 80, 10};
  for (int i = 1; i <= 4; i++) {
    if (i <= 3) rootfrom[i] = legalfrom[i], rootto[i] = legalto[i];
    choicefrom[i] = scoredfrom[i];
    choiceto[i] = scoredto[i];
    choicescore[i] = scores[i];
  }
  rootcount = 3;
  choicecount = 4;
  finfrom = SQE1;
  finto = 13;
  makeenginemove(&enginetable[ENGINEREGULAR]);
  EXPECT_EQ(board[29], WPAWN);  // e2e4, scored 80
  EXPECT_EQ(board[SQE1], WKING);
  whitegame();
  gameply = 1;
  finfrom = 7;
  finto = 22;
  makeenginemove(&enginetable[ENGINEREGULAR]);
  EXPECT_EQ(board[22], WKNIGHT);  // g1f3, legal though scored 10
}

// The opponent's double step marks the square passed over; its castling moves the rook as well.
TEST_F(GameTest, OpponentDoubleStepAndCastling) {
  whitegame();
  board[36] = WPAWN;  // d5 beside e5
  feed("e7e5\n");
  opponentpass();
  EXPECT_EQ(gameepsquares[45], BPAWN);
  EXPECT_EQ(rootepflag, 1);
  gameply = 2;
  board[62] = board[63] = EMPTY;
  feed("e8g8\n");
  opponentpass();
  EXPECT_EQ(board[63], BKING);
  EXPECT_EQ(board[62], BROOK);
  EXPECT_EQ(board[SQH8], EMPTY);
  EXPECT_EQ(bcastleking, 0);
  EXPECT_EQ(gameepsquares[45], 0);
}

// Force moves, then go: the engine plays the side on move, White after two moves.
TEST_F(GameTest, ForceThenGo) {
  gamestart();
  feed("new\nforce\ne2e4\ne7e5\ngo\n");
  readuntilengine();
  EXPECT_EQ(color, 1);
  EXPECT_EQ(inputfrom, INPUTWAKEFROM);
  EXPECT_EQ(inputto, INPUTWAKETO);
  EXPECT_EQ(board[29], WPAWN);
  EXPECT_EQ(board[37], BPAWN);
}

// The poll acts on what it knows and consumes it; every other line stays, in order, for the reader.
TEST_F(GameTest, PollKeepsWhatItDoesNotActOn) {
  feed("time 500\n?\nnopost\nnew\n");
  postmode = 1;
  pollinput();
  EXPECT_EQ(stopsearch, 1);
  EXPECT_EQ(postmode, 0);
  char block[READBLOCK + 8] = {0};
  int got = readblock(block, READBLOCK);
  EXPECT_EQ(std::string(block, got), "time 500\nnew\n");
}

// "result" during a search ends the game once; the commands after it reach the reader.
TEST_F(GameTest, PollResultEndsGameOnce) {
  feed("result 1-0 {White mates}\nnew\ntime 300\n");
  inputfrom = inputto = 1;
  pollinput();
  EXPECT_EQ(inputfrom, INPUTGAMEOVER);
  EXPECT_EQ(discardmove, 1);
  EXPECT_EQ(playagain, 1);
  inputfrom = INPUTNONE;
  gameply = 7;
  readinput();
  EXPECT_EQ(inputfrom, INPUTWAKEFROM);
  EXPECT_EQ(gameply, 1);
  inputfrom = INPUTNONE;
  readinput();
  EXPECT_EQ(timeleft, 300);
}

// A line longer than a block is scanned in pieces; the move after it still arrives whole.
TEST_F(GameTest, LongLineThenMove) {
  gamestart();
  feed("name " + std::string(3000, 'x') + "\ne2e4\n");
  inputfrom = INPUTNONE;
  for (int calls = 0; calls < 10 && inputfrom == INPUTNONE; calls++) {
    readinput();
  }
  EXPECT_EQ(inputfrom, 52);
  EXPECT_EQ(inputto, 36);
}

// A reply that names a word of the input writes a DEL or a byte beyond ASCII in it as '?': such a
// byte in an unknown command or a refused move never reaches the interface.
TEST_F(GameTest, EchoedWordsArePrintable) {
  gamestart();
  feed(std::string("prot\x7fver 2\ne1e4\x7f\n\xe9t\xe9\n"));
  testing::internal::CaptureStdout();
  for (int calls = 0; calls < 3; calls++) readinput();
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "Error (unknown command): prot?ver\nIllegal move: e1e4?\nError (unknown command): ?t?\n");
}

// Long input never writes past the set-up text or the game record: a long set-up line, and a
// game longer than the record played in force mode.
TEST_F(GameTest, LongInputStaysInsideArrays) {
  gamestart();
  std::string text = "setboard 4k3/8/8/8/8/8/8/4K3 w - - 0 1 " + std::string(500, ' ') + "\nforce\n";
  for (int i = 0; i < GAMERECORDSIZE / 4 + 100; i++) text += "e1e2\ne8e7\ne2e1\ne7e8\n";
  feed(text);
  readuntilengine();
  EXPECT_EQ(board[turnsquare(SQE1)], BKING);  // the engine plays Black (the side not on move)
  EXPECT_EQ(gameply, 1 + 4 * (GAMERECORDSIZE / 4 + 100));
  EXPECT_LE(ltop, GAMERECORDSIZE);
  ltop = GAMERECORDSIZE - 1;
  EXPECT_EQ(recordmove(13, 29), 1);
  EXPECT_EQ(recordmove(13, 29), 0);
  EXPECT_EQ(ltop, GAMERECORDSIZE);
  historycount = HISTORYSIZE - 1;
  storehistory(1);
  EXPECT_EQ(historycount, HISTORYSIZE - 1);
}

// An illegal drop is refused with the hands; a drop from the hand is handed over.
TEST_F(GameTest, OpponentDrops) {
  gamestart();
  setvariantflags(VFCRAZY, VFALL);
  rebuildposition();
  feed("Q@e4\n");
  inputfrom = INPUTNONE;
  readinput();
  EXPECT_EQ(inputfrom, INPUTNONE);
  EXPECT_EQ(ltop, 1);
  gamebheld[3] = BKNIGHT;
  feed("N@e4\n");
  readinput();
  EXPECT_EQ(inputfrom, -BKNIGHT);
  EXPECT_EQ(inputto, 65 - 29);
}

// The engine's move line, turned back to real squares when it plays Black, with its promotion letter.
TEST_F(GameTest, EngineMoveLines) {
  testing::internal::CaptureStdout();
  color = 1;
  finfrom = 13;
  finto = 29;
  printmove();
  color = 0;
  finfrom = 52;
  finto = 36;
  printmove();
  finfrom = -WQUEEN;
  finto = 29;
  printdrop();
  color = 1;
  promomark = 1;
  finfrom = 53;
  finto = 61;
  printmove();
  std::string text = testing::internal::GetCapturedStdout();
  EXPECT_EQ(text, "\nmove e2e4\n\n\nmove e2e4\n\n\nmove Q@d5\n\n\nmove e7e8q\n\n");
}

// In atomic a king in check that can still step aside has a move, though the checking queen wins
// with its next move whatever it does (so no mate may be claimed); a king whose capture of the
// checking rook would blow itself up has none.
TEST_F(GameTest, AtomicKingInCheckMayStillMove) {
  const char *const positions[] = {"r3k1nr/ppp3pp/5p2/8/1n6/3q4/PP2K1PP/RNB2BR1 w - - 0 12",
                                   "6Rk/8/8/8/8/4K3/8/RB6 b - - 0 1"};
  for (int i = 0; i < 2; i++) {
    feed(std::string("new\nvariant atomic\nforce\nsetboard ") + positions[i] + "\n");
    for (int n = 0; n < 5; n++) readinput();
    EXPECT_EQ(haslegalmove(enginetomove() ? 1 : 2), i == 0) << positions[i];
  }
}

// In 3check the opponent's third check is announced right after it is played.
TEST_F(GameTest, ThirdCheckAnnounced) {
  whitegame();
  threecheckmode = 1;
  topp = 2;
  board[13] = EMPTY;  // e2 open for the queen's check
  board[60] = EMPTY;
  board[53] = EMPTY;
  board[SQD8] = BQUEEN;
  testing::internal::CaptureStdout();
  feed("d8e7\n");
  opponentpass();
  std::string text = testing::internal::GetCapturedStdout();
  EXPECT_EQ(topp, 3);
  EXPECT_NE(text.find("\n0-1\n"), std::string::npos);
}

// "result" ends the game; the next game's commands that came with it are read after the game end,
// so that ending the game does not undo them.
TEST_F(GameTest, ResultLeavesNextGameCommands) {
  gamestart();
  feed("result 1-0\nnew\nvariant 3check\ne2e4\n");
  opponentpass();
  EXPECT_EQ(inputfrom, INPUTGAMEOVER);
  EXPECT_EQ(threecheckmode, 0);
  gameend();
  gamestart();
  for (int i = 0; i < 3; i++) opponentpass();
  EXPECT_EQ(threecheckmode, 1);
  EXPECT_EQ(board[36], BPAWN);  // e4 seen from Black's side
}
