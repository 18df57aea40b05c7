// Drives a child process through pipes as a chess interface does: writes lines to its standard
// input and waits, always with a time limit, for text on its standard output. Used to talk to the
// real korvel binary and to fairy-stockfish as the referee of legal moves.
#ifndef KORVEL_TESTS_PIPES_H
#define KORVEL_TESTS_PIPES_H

#include <string>
#include <sys/types.h>
#include <vector>

struct childproc {
  pid_t pid = -1;        // process id, -1 when not running
  int in = -1;           // write end of the child's standard input
  int out = -1;          // read end of the child's standard output
  std::string text;      // everything the child wrote so far
  int exited = 0;        // 1 once the child was reaped
  int status = 0;        // its wait status then
};

int startchild(childproc *child, const std::vector<std::string> &argv);
void sendtext(childproc *child, const std::string &text);
void closeinput(childproc *child);
int readsome(childproc *child, int timeoutms);
int waitfortext(childproc *child, const std::string &wanted, size_t from, int timeoutms, size_t *found);
int waitforexit(childproc *child, int timeoutms);
void stopchild(childproc *child);

std::string korvelpath();
int startkorvel(childproc *child);
std::string nextmove(childproc *child, size_t *cursor, int timeoutms);

// The referee: fairy-stockfish asked for the legal moves of a position by "go perft 1".
int startreferee(childproc *child, const std::string &variant);
std::vector<std::string> legalmoves(childproc *referee, const std::string &fen, const std::vector<std::string> &moves);
int islegal(childproc *referee, const std::string &fen, const std::vector<std::string> &moves, const std::string &move);

#endif
