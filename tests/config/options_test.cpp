// The command-line options: prefixes with their length bounds, whole-word switches, the depth caps
// with their exact spellings, and the numbers for the table size and the per-game budget.
#include "configtest.h"

#include "frontend/frontend.h"
#include "perft.h"

#include <vector>

namespace {

struct OptionsTest : ConfigTest {
  // Reads the words as the command line after the program's name and answers what was written.
  static std::string readwords(std::vector<const char *> words) {
    words.insert(words.begin(), "korvel");
    return written([&] { readoptions((int)words.size(), words.data()); });
  }
};

TEST_F(OptionsTest, NoWordsWriteOnlyANewlineAndChangeNothing) {
  EXPECT_EQ(readwords({}), "\n");
  EXPECT_EQ(maxdepth, NODEPTHCAP);
  EXPECT_EQ(maxdepthA, NODEPTHCAP);
  EXPECT_EQ(hashfactor, DEFAULTHASHFACTOR);
  EXPECT_EQ(fixedtime, NOFIXEDTIME);
  EXPECT_EQ(maxbookmoves, 100);
  EXPECT_STREQ(rcname, "korvel.rc");
}

TEST_F(OptionsTest, DepthCapsStoreTheLevelPlusOne) {
  EXPECT_EQ(readwords({"mx0-4"}), "\nmax depth is level 4\n");
  EXPECT_EQ(maxdepth, 5);
  EXPECT_EQ(readwords({"mxO-2"}), "\nmax depth is level 2\n");
  EXPECT_EQ(maxdepth, 3);
  EXPECT_EQ(readwords({"mxT-4", "mxL-5", "mxS-1", "mxC-3", "mxA-2"}),
            "\nmax depthT is level 4\nmax depthL is level 5\nmax depthS is level 1\n"
            "max depthC is level 3\nmax depthA is level 2\n");
  EXPECT_EQ(maxdepthT, 5);
  EXPECT_EQ(maxdepthL, 6);
  EXPECT_EQ(maxdepthS, 2);
  EXPECT_EQ(maxdepthC, 4);
  EXPECT_EQ(maxdepthA, 3);
  // No fourth normal level spelled with the letter O, no fifth 3check or normal level, no level 0.
  resetconfig();
  EXPECT_EQ(readwords({"mxO-4", "mxT-5", "mx0-5", "mx0-3", "mxA-0", "mxA-6", "mxA-33", "mxa-3"}), "\n");
  EXPECT_EQ(maxdepth, NODEPTHCAP);
  EXPECT_EQ(maxdepthT, NODEPTHCAP);
  EXPECT_EQ(maxdepthA, NODEPTHCAP);
  // A later word overrides an earlier one.
  readwords({"mxA-5", "mxA-1"});
  EXPECT_EQ(maxdepthA, 2);
}

TEST_F(OptionsTest, AnAtomicCapOfLevelThreeSearchesThreeIterations) {
  initrays();
  initkeys(3);
  resetall();
  readwords({"mxA-3"});
  EXPECT_EQ(maxdepthA, 4);
  ASSERT_TRUE(perftsetup("normal", "r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq - 0 1"));
  pollinterval = 1 << 30;
  movetime = 1 << 30;
  depthcap = *findvariant("atomic")->depthcap;
  int score = PASSNOSCORE;
  written([&] { deepen(&enginetable[ENGINEREGULAR], &score); });
  EXPECT_EQ(iterations, 3);
  resetall();
}

TEST_F(OptionsTest, NumbersSetTheTableSizeOrTheGameBudgetSilently) {
  EXPECT_EQ(readwords({"16"}), "\n");
  EXPECT_EQ(hashfactor, 16);
  EXPECT_EQ(fixedtime, NOFIXEDTIME);
  readwords({"3", "100", "70000", "-8", "0", "64"});
  EXPECT_EQ(hashfactor, 16);
  EXPECT_EQ(fixedtime, NOFIXEDTIME);
  readwords({"99999999999999999999"});  // beyond an int: no overflow, no setting
  EXPECT_EQ(fixedtime, NOFIXEDTIME);
  readwords({"250"});
  EXPECT_EQ(fixedtime, 250);
  readwords({"60000"});
  EXPECT_EQ(fixedtime, 60000);
  EXPECT_EQ(fixedtimeleft, 60000);
}

TEST_F(OptionsTest, AGameBudgetOfASecondGivesTheFirstMoveAFortieth) {
  resetall();
  readwords({"1000"});
  EXPECT_EQ(fixedtime, 1000);
  EXPECT_EQ(fixedtimeleft, 1000);
  gamestart();
  allottime();
  EXPECT_EQ(movetime, 25);
  EXPECT_EQ(fixedtimeleft, 975);
  allottime();
  EXPECT_EQ(movetime, 24);
  gamestart();  // every game starts with the whole budget
  EXPECT_EQ(fixedtimeleft, 1000);
  resetall();
}

TEST_F(OptionsTest, FileNamesTakeSpacesAsHashMarks) {
  EXPECT_EQ(readwords({"aw-my#book.txt"}), "\natomicBookWhite.txt is now my book.txt\n");
  EXPECT_STREQ(atomicbookwhite, "my book.txt");
  EXPECT_EQ(readwords({"ab-black.txt", "rc-other.rc", "r2-other.rc2"}),
            "\natomicBookBlack.txt is now black.txt\nkorvel.rc is now other.rc\nkorvel.rc2 is now other.rc2\n");
  EXPECT_STREQ(atomicbookblack, "black.txt");
  EXPECT_STREQ(rcname, "other.rc");
  EXPECT_STREQ(rc2name, "other.rc2");
  // A name with a newline or bytes beyond ASCII is kept as given, but its confirmation shows them as
  // '?', so that no word puts a line of its own (such as a move) before the interface.
  EXPECT_EQ(readwords({"rc-x\nmove e2e4\tb\xc3\xa9"}), "\nkorvel.rc is now x?move e2e4?b??\n");
  EXPECT_STREQ(rcname, "x\nmove e2e4\tb\xc3\xa9");
}

TEST_F(OptionsTest, PrefixOptionsHaveLengthBounds) {
  // Too short: a name needs three characters after its prefix, a book-move count one.
  EXPECT_EQ(readwords({"aw-ab", "rc-x", "mbm-", "aw-"}), "\n");
  EXPECT_STREQ(atomicbookwhite, "atomicBookWhite.txt");
  EXPECT_STREQ(rcname, "korvel.rc");
  EXPECT_EQ(maxbookmoves, 100);
  // 199 characters are taken, 200 are not.
  std::string longest = "rc-" + std::string(196, 'n');
  std::string toolong = "rc-" + std::string(197, 'm');
  readwords({longest.c_str()});
  EXPECT_EQ(std::string(rcname), std::string(196, 'n'));
  EXPECT_EQ(readwords({toolong.c_str()}), "\n");
  EXPECT_EQ(std::string(rcname), std::string(196, 'n'));
  std::string huge = "mbm-" + std::string(100000, '7');
  EXPECT_EQ(readwords({huge.c_str()}), "\n");
}

TEST_F(OptionsTest, BookMovesTakeTheLeadingDigits) {
  EXPECT_EQ(readwords({"mbm-x"}), "\nmaxbookmoves is now 0\n");
  EXPECT_EQ(maxbookmoves, 0);
  EXPECT_EQ(readwords({"mbm-12moves"}), "\nmaxbookmoves is now 12\n");
  EXPECT_EQ(maxbookmoves, 12);
}

TEST_F(OptionsTest, SwitchesAreWholeWordsAndCaseSensitive) {
  EXPECT_EQ(readwords({"fics", "crazybook", "nocheckmove", "noblitzmove", "norc", "rand", "mainline", "whisperline"}),
            "\nfics rules\nwill use crazy books\nwont play random moves on move 1 in threechecks\n"
            "wont play random moves on move 1 in regular chess\nnorc on\nmoves will be randomized\n"
            "main line will be sent to ics\nmain line will be part of the whisper\n");
  EXPECT_EQ(ficsrules, 1);
  EXPECT_EQ(crazybook, 1);
  EXPECT_EQ(nocheckmove, 1);
  EXPECT_EQ(noblitzmove, 1);
  EXPECT_EQ(norc, 1);
  EXPECT_EQ(randomize, 1);
  EXPECT_EQ(mainline, 1);
  EXPECT_EQ(whisperline, 1);
  resetconfig();
  EXPECT_EQ(readwords({"NORC", "Fics", "norc2", "ficsrules", "xrand"}), "\n");
  EXPECT_EQ(norc, 0);
  EXPECT_EQ(ficsrules, 0);
  EXPECT_EQ(randomize, 0);
}

TEST_F(OptionsTest, ARenamedFileAndNorcBothTakeEffect) {
  EXPECT_EQ(readwords({"rc-other.rc", "norc"}), "\nkorvel.rc is now other.rc\nnorc on\n");
  EXPECT_STREQ(rcname, "other.rc");
  EXPECT_EQ(norc, 1);
}

}  // namespace
