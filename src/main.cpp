// The korvel executable: prepares the engine and plays games until told "quit".
#include "board/board.h"
#include "frontend/frontend.h"

#include <cstdio>
#include <cstring>
#include <ctime>

int main() {
  setvbuf(stdout, nullptr, _IONBF, 0);
  initrays();
  initkeys((unsigned)time(nullptr));
  char line[1100];
  while (fgets(line, sizeof line, stdin)) {
    if (strncmp(line, "quit", 4) == 0) break;
  }
  return 0;
}
