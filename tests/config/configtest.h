// What the configuration tests share: a fresh, empty folder to work in (the readers open their
// files by name in the current folder), files written into it, the settings at their defaults,
// and the text a reader writes.
#ifndef KORVEL_TESTS_CONFIGTEST_H
#define KORVEL_TESTS_CONFIGTEST_H

#include <gtest/gtest.h>

#include "config/config.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

// Runs a reader and answers what it wrote.
template <typename Reader>
std::string written(Reader reader) {
  testing::internal::CaptureStdout();
  reader();
  return testing::internal::GetCapturedStdout();
}

struct ConfigTest : ::testing::Test {
  std::string folder;                   // the folder the test works in
  std::string before;                   // the current folder before the test

  void SetUp() override {
    char cwd[PATH_MAX];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    before = cwd;
    char pattern[] = "/tmp/korvel-config-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder = pattern;
    ASSERT_EQ(chdir(folder.c_str()), 0);
    resetconfig();
    ASSERT_TRUE(allocatenames());
  }

  void TearDown() override {
    freenames();
    resetconfig();
    ASSERT_EQ(chdir(before.c_str()), 0);
    std::string command = "rm -rf '" + folder + "'";
    ASSERT_EQ(system(command.c_str()), 0);
  }

  // Writes text as the file name in the test's folder.
  static void writefile(const std::string &name, const std::string &text) {
    FILE *file = fopen(name.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    fwrite(text.data(), 1, text.size(), file);
    fclose(file);
  }

  // Writes text as the file name, runs the reader and answers what it wrote.
  static std::string readfile(const std::string &name, const std::string &text, void (*reader)()) {
    writefile(name, text);
    return written(reader);
  }
};

#endif
