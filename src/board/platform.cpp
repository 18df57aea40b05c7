// The platform services every part of the engine uses: the millisecond clock and the one writer
// of everything the engine prints.
#include "board/board.h"

#include <cstdarg>
#include <cstdio>
#include <ctime>

// Milliseconds from a monotonic clock; wraps like a 32-bit tick counter.
unsigned gettickcount() {
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return (unsigned)((unsigned long long)ts.tv_sec * 1000u + (unsigned long long)ts.tv_nsec / 1000000u);
}

// The one writer of everything the engine prints; stdout is unbuffered.
void output(const char *format, ...) {
  va_list args;
  va_start(args, format);
  vfprintf(stdout, format, args);
  va_end(args);
}
