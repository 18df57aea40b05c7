// The variant weight files of losers, suicide and giveaway, and crazyhouse: their keys, and the
// listings written whether or not a file is there.
#include "configtest.h"

#include <sys/stat.h>

namespace {

using VariantFilesTest = ConfigTest;

TEST_F(VariantFilesTest, WithoutFilesTheListingsShowTheDefaults) {
  EXPECT_EQ(written(readlosersrc2),
            "\nLosers Values\npawn or p -200\nn or knight 300\nb or bishop 300\nrook or r 500\nqueen or q 100"
            "\nnopawns is a bonus if korvel has no pawns\nnopawns 1500\nType quit to exit to free hash memory\n");
  EXPECT_EQ(written(readsuiciderc2),
            "\nSuicide or giveaway values\npawn or p -400\nn or knight -200\nb or bishop -300\nrook or r -100"
            "\nqueen or q -200\nking or k -100\nType quit to exit to free hash memory\n");
  EXPECT_EQ(written(readcrazyrc2),
            "\ncrazyhouse values\npawn or p 150\nn or knight 305\nb or bishop 295\nrook or r 520\nqueen or q 930"
            "\nchecklevel or h 2\nchecklevel is the ply in which korvel starts extending for checks.  It can be set "
            "higher than the default to weaken it.\nType quit to exit to free hash memory\n");
}

TEST_F(VariantFilesTest, SuicideKingByLetterAndByName) {
  std::string text = readfile("korvelSuicide.rc2", "k\n50\n", readsuiciderc2);
  EXPECT_EQ(antivalue[6], 50);
  EXPECT_EQ(antivalue[12], 50);
  EXPECT_EQ(text.rfind("\n opened korvelSuicide.rc2\nSuicide or giveaway values", 0), 0u) << text;
  EXPECT_NE(text.find("\nking or k 50\n"), std::string::npos);
  readfile("korvelSuicide.rc2", "king\n60\npawn\n-1\nr\n7\n", readsuiciderc2);
  EXPECT_EQ(antivalue[6], 60);
  EXPECT_EQ(antivalue[7], -1);
  EXPECT_EQ(antivalue[10], 7);
}

TEST_F(VariantFilesTest, LosersNoPawnsHasOnlyItsLongName) {
  std::string text = readfile("korvelLosers.rc2", "nopawns\n900\n", readlosersrc2);
  EXPECT_EQ(nopawns, 900);
  EXPECT_NE(text.find("\nnopawns 900\n"), std::string::npos);
  readfile("korvelLosers.rc2", "n\n900\nk\n5\nking\n5\n", readlosersrc2);
  EXPECT_EQ(loservalue[2], 900);
  EXPECT_EQ(loservalue[8], 900);
  EXPECT_EQ(loservalue[6], -100);  // no king key in losers
  EXPECT_EQ(nopawns, 900);
}

TEST_F(VariantFilesTest, CrazyCheckLevelIsCrazyhousesOwn) {
  std::string text = readfile("korvelcrazy.rc2", "h\n4\nqueen\n1000\nking\n1\n", readcrazyrc2);
  EXPECT_EQ(crazycheckply, 4);
  EXPECT_EQ(checklevel, 2);
  EXPECT_EQ(crazyvalue[5], 1000);
  EXPECT_EQ(crazyvalue[11], 1000);
  EXPECT_EQ(crazyvalue[6], 400);
  EXPECT_NE(text.find("\nqueen or q 1000\nchecklevel or h 4\n"), std::string::npos) << text;
  readfile("korvelcrazy.rc2", "checklevel\n6\n", readcrazyrc2);
  EXPECT_EQ(crazycheckply, 6);
}

TEST_F(VariantFilesTest, TheVariantFilesKeepThePairingAndTheEndMark) {
  // The empty line pairs with p.
  readfile("korvelLosers.rc2", "\np\n-300\nq\n200\n$\nr\n1\n", readlosersrc2);
  EXPECT_EQ(loservalue[1], -200);
  EXPECT_EQ(loservalue[5], 100);  // -300 was a key line, q its value
  EXPECT_EQ(loservalue[4], 500);
}

TEST_F(VariantFilesTest, AFolderCountsAsMissing) {
  ASSERT_EQ(mkdir("korvelcrazy.rc2", 0755), 0);
  EXPECT_EQ(written(readcrazyrc2).find("opened"), std::string::npos);
}

}  // namespace
