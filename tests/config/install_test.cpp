// End-to-end: the build installed into a folder of its own (as a package build stages it), and the
// installed engine started from an empty folder with its data folder pointed at the installed
// copy. It must find every shipped book there, take a user's own configuration file from its
// folder, never read the example files, and answer xboard with its feature line.
#include "configtest.h"

#include "../frontend/pipes.h"
#include "../tools/command.h"

#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace {

using InstallTest = ConfigTest;

constexpr int REPLYMS = 20000;          // longest wait for the feature line
const char BOOKCOUNTERS[] = "\nbookcounter=12407, bigbookidcounter=12407\n";  // the shipped books

int isfile(const std::string &path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::string readtext(const std::string &path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

TEST_F(InstallTest, TheInstalledEngineFindsItsBooksFromAnyFolder) {
  char pattern[] = "/tmp/korvel-install-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  std::string destdir = pattern;
  std::string out;
  ASSERT_EQ(runcommand("DESTDIR='" + destdir + "' '" KORVEL_CMAKE "' --install '" KORVEL_BINARY_DIR "'", &out), 0) << out;
  std::string prefix = destdir + KORVEL_PREFIX;
  std::string data = destdir + KORVEL_INSTALLED_DATADIR;
  std::string program = prefix + "/" KORVEL_INSTALLED_BINDIR "/korvel";
  for (const char *tool : {"korvel-perft", "korvel-bench", "korvel-tool", "korvel-bookcheck"}) {
    EXPECT_TRUE(isfile(prefix + "/" KORVEL_INSTALLED_BINDIR "/" + tool)) << tool;
  }
  EXPECT_TRUE(isfile(prefix + "/share/man/man6/korvel.6"));
  EXPECT_TRUE(isfile(prefix + "/share/games/plugins/logos/korvel.png"));
  std::string engine = readtext(prefix + "/share/games/plugins/xboard/korvel.eng");
  EXPECT_EQ(engine.rfind("plugin spec 0.0\nkorvel\n", 0), 0u) << engine;
  EXPECT_TRUE(isfile(data + "/examples/korvelLosers.rc2"));

  // The user's folder holds one file of their own: the example losers values.
  std::string config = destdir + "/config";
  ASSERT_EQ(runcommand("mkdir -p '" + config + "/korvel' && cp '" + data + "/examples/korvelLosers.rc2' '" + config +
                           "/korvel/'", &out), 0) << out;
  setenv("KORVEL_DATADIR", data.c_str(), 1);
  setenv("XDG_CONFIG_HOME", config.c_str(), 1);
  childproc child;
  int started = startchild(&child, {program});
  setenv("KORVEL_DATADIR", "", 1);
  setenv("XDG_CONFIG_HOME", "/nonexistent/korvel-tests", 1);
  ASSERT_TRUE(started);
  sendtext(&child, "xboard\nprotover 2\n");
  size_t at = 0;
  EXPECT_TRUE(waitfortext(&child, "done=1\n", 0, REPLYMS, &at)) << child.text;
  sendtext(&child, "quit\n");
  EXPECT_TRUE(waitforexit(&child, REPLYMS));
  std::string text = child.text;
  stopchild(&child);
  runcommand("rm -rf '" + destdir + "'", &out);

  EXPECT_NE(text.find(BOOKCOUNTERS), std::string::npos) << text;
  EXPECT_NE(text.find("\nbigbook.txt found in " + data + "\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\nopenbk.txt found in " + data + "\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\nkorvelLosers.rc2 found in " + config + "/korvel\n\n opened korvelLosers.rc2"), std::string::npos) << text;
  EXPECT_NE(text.find("\nnopawns 1600\n"), std::string::npos) << text;
  EXPECT_EQ(text.find("\n opened korvel.rc2"), std::string::npos) << "the examples are not read";
  EXPECT_NE(text.find("\nfeature ping=1 "), std::string::npos) << text;
  EXPECT_NE(text.find(" myname=\"Korvel\" "), std::string::npos) << text;
  // Every variant that xboard's engine list names, the feature line offers (normal chess is chess there).
  size_t offered = text.find("variants=\"");
  ASSERT_NE(offered, std::string::npos) << text;
  std::string variants = "," + text.substr(offered + 10, text.find('"', offered + 10) - offered - 10) + ",";
  std::stringstream listed(engine.substr(engine.find('\n', engine.find('\n') + 1) + 1));
  std::string name;
  int count = 0;
  while (std::getline(listed, name, ',')) {
    if (!name.empty() && name.back() == '\n') name.pop_back();
    EXPECT_NE(variants.find("," + (name == "chess" ? std::string("normal") : name) + ","), std::string::npos) << name;
    count++;
  }
  EXPECT_EQ(count, 10);
}

}  // namespace
