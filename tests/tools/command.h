// Running a tool of the build from a test.
#ifndef KORVEL_TESTS_COMMAND_H
#define KORVEL_TESTS_COMMAND_H

#include <sys/wait.h>

#include <cstdio>
#include <string>

// Runs a command through the shell; answers its exit status and what it wrote (standard error too,
// unless the command sends it elsewhere).
inline int runcommand(const std::string &command, std::string *out) {
  bool ownerror = command.find("2>") != std::string::npos;
  FILE *pipe = popen((ownerror ? command : command + " 2>&1").c_str(), "r");
  if (!pipe) return -1;
  char buffer[4096];
  size_t n;
  out->clear();
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) out->append(buffer, n);
  int status = pclose(pipe);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

#endif
