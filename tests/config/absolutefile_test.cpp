// The absolute-weights file: key and value lines by turns, keys by letter or long name, values as
// they stand, the pairing that every line shifts, and the atomic listing it ends with.
#include "configtest.h"

#include <sys/stat.h>

namespace {

using AbsoluteFileTest = ConfigTest;

// The atomic listing with the default weights, as readrc writes it when no file is there.
const char defaultlisting[] =
    "\nIn the korvel.rc2 file you can use the letter and below it the value or you can use the name of the bonus "
    "such as 'h' or 'checklevel' both work\n"
    "\np or pawn is 135\nn or knight is 250\nb or bishop is 250\nr or rook is 550\nq or queen is 1000"
    "\ny or passedbonus is 100\nz or casltebonus is 40\nh or checklevel is 2\ni or rookkingbonus is 150"
    "\nj or kingkingbonus is 100\nk or randombonus is 20\nl or bishopkingbonus is 50\nm or queencheckbonus is 50"
    "\na or kingpawnpenalty is 15\no or sidekingpawnpentalty is 10\n\n\nx increases";

TEST_F(AbsoluteFileTest, WithoutFilesTheListingShowsTheDefaults) {
  std::string text = written(readrc);
  EXPECT_EQ(text.rfind(defaultlisting, 0), 0u) << text;
  EXPECT_EQ(text.find("opened"), std::string::npos);
  EXPECT_EQ(text.substr(text.size() - 4), "s)\n\n");
}

TEST_F(AbsoluteFileTest, CheckLevelByLetterAndByName) {
  EXPECT_EQ(readfile("korvel.rc2", "checklevel\n5\n", readrc2), "\n opened korvel.rc2");
  EXPECT_EQ(checklevel, 5);
  readfile("korvel.rc2", "h\n7\n", readrc2);
  EXPECT_EQ(checklevel, 7);
}

TEST_F(AbsoluteFileTest, EveryKeyByItsLongName) {
  writefile("korvel.rc2",
            "pawn\n1\nknight\n2\nbishop\n3\nrook\n4\nqueen\n5\npassedbonus\n6\ncastlebonus\n7\nrookkingbonus\n8\n"
            "kingkingbonus\n9\nrandombonus\n10\nbishopkingbonus\n11\nqueencheckbonus\n12\nkingpawnpentalty\n13\n"
            "sidekingpawnpenalty\n14\nking\n15\n");
  written(readrc2);
  for (int code = 1; code <= 5; code++) {
    EXPECT_EQ(piecevalue[code], code);
    EXPECT_EQ(piecevalue[code + 6], code);
  }
  EXPECT_EQ(piecevalue[6], 400);  // no key for the kings
  EXPECT_EQ(passedbonus, 6);
  EXPECT_EQ(castlebonus, 7);
  EXPECT_EQ(rookkingbonus, 8);
  EXPECT_EQ(kingkingbonus, 9);
  EXPECT_EQ(randombonus, 10);
  EXPECT_EQ(bishopkingbonus, 11);
  EXPECT_EQ(queencheckbonus, 12);
  EXPECT_EQ(kingpawnpenalty, 13);
  EXPECT_EQ(sidekingpawnpenalty, 14);
}

TEST_F(AbsoluteFileTest, KeysAreWholeLinesAndCaseSensitive) {
  readfile("korvel.rc2", "kingpawnpenalty\n40\nPawn\n1\npawn \n2\n p\n3\nx\n4\nq\n-7\nr\n  +42abc\nb\nabc\n", readrc2);
  EXPECT_EQ(kingpawnpenalty, 15);  // the long name is spelled kingpawnpentalty
  EXPECT_EQ(piecevalue[1], 135);
  EXPECT_EQ(wpawnadvance[53], 44);  // x is no key of this file
  EXPECT_EQ(piecevalue[5], -7);     // values go in as they stand
  EXPECT_EQ(piecevalue[4], 42);
  EXPECT_EQ(piecevalue[3], 0);      // no digits give 0
}

TEST_F(AbsoluteFileTest, AnEmptyLineShiftsThePairing) {
  // The empty line is a key line, knight its value, 300 a key line that never gets a value.
  readfile("korvel.rc2", "pawn\n200\n\nknight\n300\n", readrc2);
  EXPECT_EQ(piecevalue[1], 200);
  EXPECT_EQ(piecevalue[2], 250);
  // Text after the last newline is no line.
  readfile("korvel.rc2", "knight\n300", readrc2);
  EXPECT_EQ(piecevalue[2], 250);
}

TEST_F(AbsoluteFileTest, ReadingStopsAtTheEndMark) {
  readfile("korvel.rc2", "pawn\n200\n$\nknight\n300\n", readrc2);
  EXPECT_EQ(piecevalue[1], 200);
  EXPECT_EQ(piecevalue[2], 250);
  // The mark cuts the value line short.
  readfile("korvel.rc2", "rook\r\n600$0\r\nqueen\r\n900\r\n", readrc2);
  EXPECT_EQ(piecevalue[4], 550);
  EXPECT_EQ(piecevalue[5], 1000);
}

TEST_F(AbsoluteFileTest, CarriageReturnsAreDropped) {
  readfile("korvel.rc2", "q\r\n900\r\nro\rok\r\n6\r00\r\n", readrc2);
  EXPECT_EQ(piecevalue[5], 900);
  EXPECT_EQ(piecevalue[4], 600);
}

TEST_F(AbsoluteFileTest, LongAndStrangeLinesStayInTheirBuffers) {
  // A key line and a value line of 100000 characters each count as one line apiece; a key longer
  // than the part that is kept matches nothing, even when the kept part spells a key. A number
  // beyond the weight range is held at its nearer end. A NUL byte inside a key line is no end of it.
  std::string text = std::string(100000, 'k') + "\n" + std::string(100000, '9') + "\n";
  text += "pawn" + std::string(1995, ' ') + "\n1\n";  // 1999 characters: still not "pawn"
  text += "pawn" + std::string(3000, 'x') + "\n2\n";
  text += "rook\n" + std::string(5000, '9') + "\n";
  text += std::string("queen\0x", 7) + "\n3\n";
  text += "knight\n-" + std::string(5000, '9') + "\n";
  text += "bishop\n400\n";
  readfile("korvel.rc2", text, readrc2);
  EXPECT_EQ(piecevalue[1], 135);
  EXPECT_EQ(piecevalue[4], 100000);
  EXPECT_EQ(piecevalue[5], 1000);
  EXPECT_EQ(piecevalue[2], -100000);
  EXPECT_EQ(piecevalue[3], 400);
}

// A huge weight is held within -100000..100000, so that the start material and every evaluation
// stay inside an int; the listing then says how many values were held (values that name no key
// are not counted), in the atomic listing and in a variant's listing alike.
TEST_F(AbsoluteFileTest, HugeValuesAreHeldAndTheListingSaysSo) {
  std::string text = readfile("korvel.rc2", "pawn\n99999999999\nq\n-100001\nr\n100000\nnone\n7777777\n", readrc);
  EXPECT_EQ(piecevalue[1], 100000);
  EXPECT_EQ(piecevalue[7], 100000);
  EXPECT_EQ(piecevalue[5], -100000);
  EXPECT_EQ(piecevalue[4], 100000);
  EXPECT_EQ(computestartmaterial(), 100000 - 100000 + 2 * (100000 + 250 + 250));
  EXPECT_NE(text.find("\np or pawn is 100000\n"), std::string::npos);
  EXPECT_NE(text.find("\no or sidekingpawnpentalty is 10\n2 value(s) out of range, held within -100000..100000\n\n"),
            std::string::npos) << text;
  text = readfile("korvelcrazy.rc2", "queen\n2147483648\nh\n-99999999999999999999\n", readcrazyrc2);
  EXPECT_EQ(crazyvalue[5], 100000);
  EXPECT_EQ(crazycheckply, -100000);
  EXPECT_NE(text.find("It can be set higher than the default to weaken it.\n2 value(s) out of range, held within "
                      "-100000..100000\nType quit"), std::string::npos) << text;
  EXPECT_EQ(readfile("korvelcrazy.rc2", "queen\n100000\n", readcrazyrc2).find("out of range"), std::string::npos);
}

TEST_F(AbsoluteFileTest, TheFileAnnouncesItselfByItsUsualNameWhenRenamed) {
  writefile("mine.rc2", "y\n77\n");
  snprintf(rc2name, FILENAMESIZE, "%s", "mine.rc2");
  EXPECT_EQ(written(readrc2), "\n opened korvel.rc2");
  EXPECT_EQ(passedbonus, 77);
}

// Neither is announced as opened; a pipe with no writer does not hold start-up up.
TEST_F(AbsoluteFileTest, AFolderOrAPipeCountsAsMissing) {
  ASSERT_EQ(mkdir("korvel.rc2", 0755), 0);
  EXPECT_EQ(written(readrc2), "");
  ASSERT_EQ(mkfifo("pipe.rc2", 0644), 0);
  snprintf(rc2name, FILENAMESIZE, "%s", "pipe.rc2");
  EXPECT_EQ(written(readrc2), "");
}

TEST_F(AbsoluteFileTest, TheAbsoluteFileComesAfterTheRelativeOne) {
  writefile("korvel.rc", "p + 3\nz + 5\n");
  std::string text = readfile("korvel.rc2", "pawn\n200\n", readrc);
  EXPECT_EQ(piecevalue[1], 200);
  EXPECT_EQ(castlebonus, 60);
  EXPECT_EQ(text.rfind("\n opened korvel.rc2\nIn the korvel.rc2 file", 0), 0u) << text;
  EXPECT_NE(text.find("\np or pawn is 200\n"), std::string::npos);
  EXPECT_NE(text.find("\nz or casltebonus is 60\n"), std::string::npos);
}

}  // namespace
