// What the book tests share: a scratch folder that is the working directory while a test runs, so
// that the books are read from the files the test writes there, and a game record to follow.
#ifndef KORVEL_TESTS_BOOKTEST_H
#define KORVEL_TESTS_BOOKTEST_H

#include "book/book.h"
#include "config/config.h"
#include "frontend/frontend.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

class BookTest : public ::testing::Test {
 protected:
  char folder[64] = "/tmp/korvel-book-XXXXXX";
  char savedcwd[PATH_MAX] = {};

  void SetUp() override {
    ASSERT_NE(getcwd(savedcwd, sizeof savedcwd), nullptr);
    ASSERT_NE(mkdtemp(folder), nullptr);
    ASSERT_EQ(chdir(folder), 0);
    initrays();
    resetall();
    setvariantflags(0, VFALL);  // normal chess (a process starts in giveaway)
    seedrandom(12345);
  }

  void TearDown() override {
    resetall();
    ASSERT_EQ(chdir(savedcwd), 0);
    std::string command = std::string("rm -rf ") + folder;
    ASSERT_EQ(system(command.c_str()), 0);
  }

  // Loads every book of the current folder and returns what loading wrote (the counters line).
  static std::string loadbookstext() {
    testing::internal::CaptureStdout();
    loadbooks();
    return testing::internal::GetCapturedStdout();
  }

  // Writes a file of the scratch folder.
  void writefile(const char *name, const std::string &text) {
    FILE *file = fopen(name, "w");
    ASSERT_NE(file, nullptr);
    fputs(text.c_str(), file);
    fclose(file);
  }

  // Reads one slot's file into its tree.
  void readslot(int slot) {
    booktype = slot;
    readbook();
    booktype = 0;
  }

  // The game record holds the moves (real coordinates, "e2e4 e7e5"), converted to the board
  // numbering of the engine's colour; ltop and gameply follow.
  void playrecord(const std::string &moves) {
    ltop = 1;
    for (size_t i = 0; i + 4 <= moves.size(); i += 5) {
      int from = squareof(moves[i], moves[i + 1]);
      int to = squareof(moves[i + 2], moves[i + 3]);
      ASSERT_TRUE(from && to);
      recordmove(booksquare(from), booksquare(to));
    }
    gameply = ltop;
  }

  // The move in finfrom-finto in real coordinates ("e2e4"), or "none".
  std::string chosen() {
    if (finfrom < 1 || finfrom > 64 || finto < 1 || finto > 64) return "none";
    char text[5];
    squaretext(booksquare(finfrom), text);
    squaretext(booksquare(finto), text + 2);
    text[4] = 0;
    return text;
  }
};

#endif
