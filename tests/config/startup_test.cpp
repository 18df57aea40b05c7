// End-to-end: the real korvel binary started in a folder of its own, with words on its command
// line and no input (the end of input ends it as quit does). Its start-up text with no files is
// held byte for byte in a golden file; with the example files it lists their values.
//
// The golden file tests/config/startup-nofiles.txt is everything the engine writes when started
// with no arguments in an empty folder and given no input. When start-up is meant to write
// something new, run this test once with KORVEL_UPDATE_GOLDEN=1 in the environment: it then
// writes the golden file afresh from the engine's output (and passes); check the difference with
// git diff and commit it.
#include "configtest.h"

#include "../tools/command.h"

#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace {

using StartupTest = ConfigTest;

const std::string goldenpath = std::string(KORVEL_SOURCE_DIR) + "/tests/config/startup-nofiles.txt";
const std::string examplesfolder = std::string(KORVEL_SOURCE_DIR) + "/examples";

const char bookline[] = "\natomicBookBlack is atomicBookBlack.txt  atomicBookWhite is atomicBookWhite.txt";
const char typequit[] = "\ntype quit  to quit then hit enter, this will also free up memory";

// Starts the engine in the current folder with words after its name and no input; answers what
// it wrote. The exit status must be 0.
std::string runkorvel(const std::string &words) {
  std::string out;
  int status = runcommand("'" + std::string(KORVEL_BINARY_DIR) + "/korvel' " + words + " </dev/null 2>/dev/null", &out);
  EXPECT_EQ(status, 0) << words;
  return out;
}

std::string readtext(const std::string &path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

// Where two texts first differ, with a little of each around it.
std::string firstdifference(const std::string &a, const std::string &b) {
  size_t at = 0;
  while (at < a.size() && at < b.size() && a[at] == b[at]) at++;
  size_t from = at < 40 ? 0 : at - 40;
  return "first difference at byte " + std::to_string(at) + "\nexpected: ..." + a.substr(from, 120) +
         "\nwritten:  ..." + b.substr(from, 120);
}

TEST_F(StartupTest, WithNoFilesTheStartUpTextIsTheGoldenOne) {
  std::string text = runkorvel("");
  if (getenv("KORVEL_UPDATE_GOLDEN")) {
    std::ofstream(goldenpath, std::ios::binary) << text;
    return;
  }
  std::string golden = readtext(goldenpath);
  ASSERT_FALSE(golden.empty()) << goldenpath;
  EXPECT_EQ(text, golden) << firstdifference(golden, text);
}

TEST_F(StartupTest, WithTheExampleFilesItListsTheirValues) {
  std::string command = "cp '" + examplesfolder + "'/* .";
  ASSERT_EQ(system(command.c_str()), 0);
  std::string text = runkorvel("1");
  const char *wanted[] = {
      "\n opened korvelLosers.rc2\nLosers Values\n",
      "\nnopawns 1600\n",
      "\n opened korvelSuicide.rc2\nSuicide or giveaway values\n",
      "\nking or k -150\n",
      "\n opened korvelcrazy.rc2\ncrazyhouse values\npawn or p 160\n",
      "\nchecklevel or h 2\n",
      "\n opened korvel.rc2\nIn the korvel.rc2 file",
      "\ny or passedbonus is 110\n",
      "\nh or checklevel is 2\n",
      "\nk or randombonus is 30\n",
      "\nm or queencheckbonus is 60\n",
      "\n\n\n\npawn advance modified\n",
      "korvel regular material values: p 100 n 335 b 295 r 520 q 930\nkorvel regular pawn advance modified\n",
  };
  size_t at = 0;
  for (const char *line : wanted) {
    size_t found = text.find(line, at);
    ASSERT_NE(found, std::string::npos) << "missing or out of order: " << line << "\n" << text;
    at = found;
  }
}

// Started beside the shipped books, as make run starts it, the engine reads them all and its
// counters line counts their nodes (every node has its registry cell); the end of input frees them.
TEST_F(StartupTest, WithTheShippedBooksTheCountersLineCountsTheirNodes) {
  std::string command = "cp '" + std::string(KORVEL_SOURCE_DIR) + "'/books/* .";
  ASSERT_EQ(system(command.c_str()), 0);
  std::string text = runkorvel("");
  size_t at = text.find("\nbookcounter=");
  ASSERT_NE(at, std::string::npos) << text;
  int nodes = 0, cells = 0;
  ASSERT_EQ(sscanf(text.c_str() + at, "\nbookcounter=%d, bigbookidcounter=%d", &nodes, &cells), 2);
  EXPECT_GT(nodes, 1000);
  EXPECT_EQ(nodes, cells);
}

TEST_F(StartupTest, OptionsComeBeforeTheFilesAndNorcSkipsThemAll) {
  writefile("korvel.rc", "p + 3\n");
  writefile("other.rc", "p + 3\n");
  writefile("korvelLosers.rc2", "nopawns\n900\n");
  std::string text = runkorvel("aw-white.txt mx0-4 rc-other.rc norc 1 NORC");
  std::string expected = std::string(bookline) +  // the book names are written before the options
                         "\natomicBookWhite.txt is now white.txt\nmax depth is level 4\nkorvel.rc is now other.rc\n"
                         "norc on\n\nno korvel.rc found or argument to not use korvel.rc file in place\n" +
                         typequit;
  EXPECT_EQ(text.rfind(expected, 0), 0u) << firstdifference(expected, text);
  EXPECT_EQ(text.find("Losers Values"), std::string::npos);
  EXPECT_EQ(text.find("\n opened"), std::string::npos);
}

TEST_F(StartupTest, ARenamedRelativeFileIsTheOneRead) {
  writefile("korvel.rc", "p + 1\n");
  writefile("other.rc", "p + 3\n");
  std::string text = runkorvel("rc-other.rc 1");
  EXPECT_NE(text.find("\np or pawn is 175\n"), std::string::npos) << text;
}

TEST_F(StartupTest, AFolderInPlaceOfEveryFileCountsAsMissing) {
  for (const char *name : {"korvel.rc", "korvel.rc2", "korvel2.rc", "korvelLosers.rc2", "korvelSuicide.rc2",
                           "korvelcrazy.rc2"}) {
    ASSERT_EQ(mkdir(name, 0755), 0) << name;
  }
  std::string text = runkorvel("");
  std::string golden = readtext(goldenpath);
  EXPECT_EQ(text, golden) << firstdifference(golden, text);
  EXPECT_EQ(text.find("\n opened"), std::string::npos);
}

}  // namespace
