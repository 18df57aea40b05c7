// Where the engine finds a file that its start folder lacks: the user's folder (configuration
// files), then the installed data folder. Every test of this program runs with the data folder
// switched off and the user's folder pointed at nothing, so that an installed copy of the engine
// or a user's own files never change what a test sees.
#include "configtest.h"

#include "board/board.h"

#include <sys/stat.h>

namespace {

// Switches off the installed data folder and the user's folder for the whole run, children too.
struct NoInstalledFiles : ::testing::Environment {
  void SetUp() override {
    setenv("KORVEL_DATADIR", "", 1);
    setenv("XDG_CONFIG_HOME", "/nonexistent/korvel-tests", 1);
  }
};
::testing::Environment *const noinstalledfiles = ::testing::AddGlobalTestEnvironment(new NoInstalledFiles);

struct DatafilesTest : ConfigTest {
  std::string data;                     // a data folder beside the start folder
  std::string user;                     // a user's configuration folder, XDG_CONFIG_HOME/korvel

  void SetUp() override {
    ConfigTest::SetUp();
    data = folder + "/data";
    user = folder + "/config/korvel";
    ASSERT_EQ(mkdir(data.c_str(), 0755), 0);
    ASSERT_EQ(mkdir((folder + "/config").c_str(), 0755), 0);
    ASSERT_EQ(mkdir(user.c_str(), 0755), 0);
    setenv("KORVEL_DATADIR", data.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (folder + "/config").c_str(), 1);
  }

  void TearDown() override {
    noinstalledfiles->SetUp();
    ConfigTest::TearDown();
  }

  // The path datafile answers for name of a kind, and what it wrote.
  static std::string found(const char *name, int kind, std::string *said) {
    testing::internal::CaptureStdout();
    const char *path = datafile(name, kind);
    *said = testing::internal::GetCapturedStdout();
    return path ? path : "(null)";
  }
};

// The start folder first, then (configuration files only) the user's folder, then the data folder;
// a folder or a pipe of the name is not the file; a found file says where it came from.
TEST_F(DatafilesTest, TheStartFolderThenTheUsersFolderThenTheDataFolder) {
  std::string said;
  writefile("data/bigbook.txt", "e2e4\n");
  writefile("data/korvel.rc", "p + 1\n");
  EXPECT_EQ(found("bigbook.txt", BOOKFILE, &said), data + "/bigbook.txt");
  EXPECT_EQ(said, "\nbigbook.txt found in " + data + "\n");
  EXPECT_EQ(found("korvel.rc", CONFIGFILE, &said), data + "/korvel.rc");
  writefile("config/korvel/korvel.rc", "p + 2\n");
  writefile("config/korvel/bigbook.txt", "d2d4\n");
  EXPECT_EQ(found("korvel.rc", CONFIGFILE, &said), user + "/korvel.rc");
  EXPECT_EQ(said, "\nkorvel.rc found in " + user + "\n");
  EXPECT_EQ(found("bigbook.txt", BOOKFILE, &said), data + "/bigbook.txt") << "books are not looked for in the user's folder";
  ASSERT_EQ(mkdir("bigbook.txt", 0755), 0);
  EXPECT_EQ(found("bigbook.txt", BOOKFILE, &said), data + "/bigbook.txt") << "a folder is not the file";
  writefile("korvel.rc", "p + 3\n");
  EXPECT_EQ(found("korvel.rc", CONFIGFILE, &said), "korvel.rc");
  EXPECT_EQ(said, "");
  EXPECT_EQ(found("missing.rc", CONFIGFILE, &said), "missing.rc");
  EXPECT_EQ(said, "");
  // What the reader then reads: the start folder's file.
  std::string text = written(readrc);
  EXPECT_NE(text.find("\np or pawn is 175\n"), std::string::npos) << text;
}

// A name with a slash is a path of the user's and is taken as it stands; an empty KORVEL_DATADIR
// switches the data folder off, and a relative XDG_CONFIG_HOME gives way to ~/.config.
TEST_F(DatafilesTest, PathsAsTheyStandAndFoldersSwitchedOff) {
  std::string said;
  writefile("data/korvel.rc", "p + 1\n");
  writefile("data/x.rc", "p + 1\n");
  EXPECT_EQ(found("./x.rc", CONFIGFILE, &said), "./x.rc");
  EXPECT_EQ(found((data + "/x.rc").c_str(), CONFIGFILE, &said), data + "/x.rc");
  EXPECT_EQ(said, "");
  EXPECT_EQ(found(nullptr, BOOKFILE, &said), "(null)");
  setenv("KORVEL_DATADIR", "", 1);
  EXPECT_EQ(found("korvel.rc", CONFIGFILE, &said), "korvel.rc");
  EXPECT_EQ(said, "");
  ASSERT_EQ(mkdir("home", 0755), 0);
  ASSERT_EQ(mkdir("home/.config", 0755), 0);
  ASSERT_EQ(mkdir("home/.config/korvel", 0755), 0);
  writefile("home/.config/korvel/korvel.rc", "p + 1\n");
  const char *home = getenv("HOME");
  std::string kept = home ? home : "";
  setenv("HOME", (folder + "/home").c_str(), 1);
  setenv("XDG_CONFIG_HOME", "config", 1);
  std::string path = found("korvel.rc", CONFIGFILE, &said);
  if (home) setenv("HOME", kept.c_str(), 1);
  else unsetenv("HOME");
  EXPECT_EQ(path, folder + "/home/.config/korvel/korvel.rc");
}

}  // namespace
