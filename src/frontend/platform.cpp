// Platform services: the millisecond clock, the output writer and the input poll.
#include "frontend/frontend.h"

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

// Looks at waiting input during a search without blocking. Nothing is read until the protocol
// reader's poll is in place.
void pollinput() {}
