// The relative-weights files: steps of ten per cent on the atomic weights (korvel.rc) and on the
// regular material and pawn tables (korvel2.rc), the exact setting line, and the listings.
#include "configtest.h"

#include <cstring>
#include <sys/stat.h>

namespace {

using RelativeFilesTest = ConfigTest;

constexpr int SQE2 = 13;
constexpr int SQE7 = 53;

TEST_F(RelativeFilesTest, StepsChangeBothColoursByTenths) {
  readfile("korvel.rc", "p + 3\nn - 3\nr + 1\nr + 1\nq + 0\n", readrc);
  EXPECT_EQ(piecevalue[1], 175);
  EXPECT_EQ(piecevalue[7], 175);
  EXPECT_EQ(piecevalue[2], 175);  // 250 less three tenths
  EXPECT_EQ(piecevalue[8], 175);
  EXPECT_EQ(piecevalue[4], 665);  // 550, 605, 665: each step on the value it finds
  EXPECT_EQ(piecevalue[10], 665);
  EXPECT_EQ(piecevalue[5], 1000);  // a step of 0 changes nothing
  EXPECT_EQ(piecevalue[6], 400);   // no key for the kings
  EXPECT_EQ(computestartmaterial(), 1000 + 2 * (665 + 250 + 175) + 175);
}

TEST_F(RelativeFilesTest, PawnStepsDownAndTwiceUp) {
  readfile("korvel.rc", "p - 3\n", readrc);
  EXPECT_EQ(piecevalue[1], 95);
  resetconfig();
  readfile("korvel.rc", "p + 1\n", readrc);
  EXPECT_EQ(piecevalue[1], 148);
  resetconfig();
  readfile("korvel.rc", "p + 1\np + 1\n", readrc);
  EXPECT_EQ(piecevalue[1], 162);
  EXPECT_EQ(piecevalue[7], 162);
}

TEST_F(RelativeFilesTest, EveryBonusHasItsLetterButCheckLevelHasNone) {
  readfile("korvel.rc", "y + 1\nz + 5\ni - 1\nj + 2\nk + 5\nl - 2\nm + 4\na + 2\no - 5\nh + 9\nK + 5\nt + 5\n", readrc);
  EXPECT_EQ(passedbonus, 110);
  EXPECT_EQ(castlebonus, 60);
  EXPECT_EQ(rookkingbonus, 135);
  EXPECT_EQ(kingkingbonus, 120);
  EXPECT_EQ(randombonus, 30);
  EXPECT_EQ(bishopkingbonus, 40);
  EXPECT_EQ(queencheckbonus, 70);
  EXPECT_EQ(kingpawnpenalty, 18);
  EXPECT_EQ(sidekingpawnpenalty, 5);
  EXPECT_EQ(checklevel, 2);
}

TEST_F(RelativeFilesTest, TheLineIsLetterAnySignAnyDigit) {
  // Any character may stand beside the sign; only '-' makes a step negative; only 1..9 is a step.
  readfile("korvel.rc", "p*-_2\nn?x?1\nb + x\nr + -\nq\t+\t1\n", readrc);
  EXPECT_EQ(piecevalue[1], 108);
  EXPECT_EQ(piecevalue[2], 275);
  EXPECT_EQ(piecevalue[3], 250);
  EXPECT_EQ(piecevalue[4], 550);
  EXPECT_EQ(piecevalue[5], 1100);
}

TEST_F(RelativeFilesTest, OnlyLinesOfExactlyFiveCharactersCount) {
  // Too short, too long, a very long line, an unfinished last line: none is a setting line, and
  // the lines after them are still read. Carriage returns before a newline are no part of a line.
  std::string longline(100000, 'p');
  readfile("korvel.rc", "p + \np + 33\np + 3 \n" + longline + "\nn + 1\r\n\nb + 1\n\r\nr + 1", readrc);
  EXPECT_EQ(piecevalue[1], 135);
  EXPECT_EQ(piecevalue[2], 275);
  EXPECT_EQ(piecevalue[3], 275);
  EXPECT_EQ(piecevalue[4], 550);
}

TEST_F(RelativeFilesTest, ReadingStopsAtTheEndMark) {
  readfile("korvel.rc", "p + 1\n$\np + 1\n", readrc);
  EXPECT_EQ(piecevalue[1], 148);
  resetconfig();
  // The line the mark cuts short is not read.
  readfile("korvel.rc", "p + 1\nn + 1$\np + 1\n", readrc);
  EXPECT_EQ(piecevalue[1], 148);
  EXPECT_EQ(piecevalue[2], 250);
}

TEST_F(RelativeFilesTest, PawnAdvanceStepsWhiteUpAndBlackTheOtherWay) {
  std::string text = readfile("korvel.rc", "x + 1\n", readrc);
  EXPECT_EQ(wpawnadvance[SQE7], 48);   // 44
  EXPECT_EQ(bpawnadvance[SQE2], -40);  // -44
  EXPECT_EQ(wpawnadvance[28], 13);     // d4: 12
  EXPECT_EQ(bpawnadvance[11], -80);    // c2: -88
  EXPECT_NE(text.find("\n\n\n\npawn advance modified\n\nx increases"), std::string::npos) << text;
  // A pawn-advance line with no valid step changes nothing, yet is reported.
  resetconfig();
  writefile("korvel.rc", "x + 0\n");
  text = written(readrc);
  EXPECT_EQ(wpawnadvance[SQE7], 44);
  EXPECT_NE(text.find("pawn advance modified"), std::string::npos);
  resetconfig();
  EXPECT_EQ(readfile("korvel.rc", "p + 1\n", readrc).find("pawn advance modified"), std::string::npos);
}

// Steps never carry a weight beyond 100000 (an evaluation could overflow past it), and the listing
// says how many steps were held there, in the atomic and the regular listing alike; a listing
// without held values has no such line.
TEST_F(RelativeFilesTest, ManyStepsNeverOverflow) {
  std::string lines;
  for (int i = 0; i < 200; i++) lines += "p + 9\nn - 9\n";
  std::string text = readfile("korvel.rc", lines, readrc);
  EXPECT_EQ(piecevalue[1], 100000);
  EXPECT_EQ(piecevalue[7], 100000);
  EXPECT_EQ(piecevalue[2], 1);  // a tenth of 1 truncates to nothing
  EXPECT_GT(computestartmaterial(), 0);
  EXPECT_NE(text.find("\no or sidekingpawnpentalty is 10\n"), std::string::npos);
  std::string held = "value(s) out of range, held within -100000..100000\n\n";
  size_t at = text.find(held);
  ASSERT_NE(at, std::string::npos) << text;
  EXPECT_GT(std::stoi(text.substr(text.rfind('\n', at) + 1)), 300);  // both pawns, every step after the limit

  std::string table;
  for (int i = 0; i < 40; i++) table += "x + 9\nq - 9\n";
  text = readfile("korvel2.rc", table + "q + 9\n", readregularrc);
  EXPECT_EQ(pawntable[SQE7], 100000);
  EXPECT_EQ(bpawntable[SQE2], -1);      // shrinks until a tenth truncates to nothing
  EXPECT_EQ(regularvalue[5], 1);
  EXPECT_NE(text.find("korvel regular pawn advance modified\n\n"), std::string::npos);
  EXPECT_NE(text.find(held.substr(0, held.size() - 2)), std::string::npos);
  EXPECT_EQ(readfile("korvel2.rc", "p + 3\n", readregularrc).find("out of range"), std::string::npos);
}

TEST_F(RelativeFilesTest, TheRelativeFileMayBeRenamed) {
  writefile("korvel.rc", "p + 1\n");
  writefile("other.rc", "p - 1\n");
  snprintf(rcname, FILENAMESIZE, "%s", "other.rc");
  written(readrc);
  EXPECT_EQ(piecevalue[1], 122);
}

TEST_F(RelativeFilesTest, TheRegularFileStepsMaterialAndPawnTables) {
  std::string text = readfile("korvel2.rc", "q - 1\np + 3\ny + 5\nk + 5\nx + 5\n", readregularrc);
  EXPECT_EQ(regularvalue[5], 837);
  EXPECT_EQ(regularvalue[11], -837);
  EXPECT_EQ(regularvalue[1], 130);
  EXPECT_EQ(regularvalue[7], -130);
  EXPECT_EQ(regularvalue[6], 400);  // k is no key of this file
  EXPECT_EQ(passedbonus, 100);      // nor y
  EXPECT_EQ(pawntable[SQE7], 123);  // 82
  EXPECT_EQ(bpawntable[SQE2], -41); // -82 shrinks by half
  EXPECT_EQ(text,
            "\n\n\n\n\n korvel regular values, be sure to type quit, to close the program as that frees the hash tables "
            "memory. \n\n\nkorvel regular material values: p 130 n 305 b 295 r 520 q 837\n"
            "korvel regular pawn advance modified\n"
            "\nbe sure to type quit to close the program as that frees the hash memory.  if opened with winboard then "
            "winboard will send quit.");
}

TEST_F(RelativeFilesTest, AFolderCountsAsMissing) {
  ASSERT_EQ(mkdir("korvel.rc", 0755), 0);
  ASSERT_EQ(mkdir("korvel2.rc", 0755), 0);
  std::string atomic = written(readrc);
  std::string regular = written(readregularrc);
  EXPECT_NE(atomic.find("\np or pawn is 135\n"), std::string::npos);
  EXPECT_NE(regular.find("p 100 n 305 b 295 r 520 q 930\n"), std::string::npos);
}

TEST_F(RelativeFilesTest, AnUnreadableFileCountsAsMissing) {
  writefile("korvel.rc", "p + 3\n");
  ASSERT_EQ(chmod("korvel.rc", 0), 0);
  if (access("korvel.rc", R_OK) == 0) GTEST_SKIP() << "the tests run with the right to read any file";
  written(readrc);
  EXPECT_EQ(piecevalue[1], 135);
}

}  // namespace
