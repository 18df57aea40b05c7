// The platform services every part of the engine uses: the millisecond clock, the one writer
// of everything the engine prints, and large zeroed blocks of memory.
#include "board/board.h"

#include <cstdarg>
#include <cstdio>
#include <ctime>

#include <sys/mman.h>
#include <unistd.h>

// Milliseconds from a monotonic clock; wraps like a 32-bit tick counter.
unsigned gettickcount() {
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return (unsigned)((unsigned long long)ts.tv_sec * 1000u + (unsigned long long)ts.tv_nsec / 1000000u);
}

// A seed that differs between two starts however close together: the wall clock in nanoseconds
// and the process id, mixed so that every bit of the seed depends on all of theirs.
uint64_t freshseed() {
  timespec ts;
  clock_gettime(CLOCK_REALTIME, &ts);
  uint64_t seed = (uint64_t)ts.tv_sec * 1000000000ull + (uint64_t)ts.tv_nsec;
  seed ^= (uint64_t)getpid() << 40;
  seed = (seed ^ (seed >> 30)) * 0xbf58476d1ce4e5b9ull;
  seed = (seed ^ (seed >> 27)) * 0x94d049bb133111ebull;
  return seed ^ (seed >> 31);
}

// The one writer of everything the engine prints; stdout is unbuffered.
void output(const char *format, ...) {
  va_list args;
  va_start(args, format);
  vfprintf(stdout, format, args);
  va_end(args);
}

// A zeroed block of the given size straight from the system: its pages take no memory until they
// are written, so a large table that is only read costs nothing. Null when the system refuses
// (the kernel turns down a block far beyond what the machine could ever hold).
void *allocatepages(size_t bytes) {
  if (bytes == 0) return nullptr;
  void *memory = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  return memory == MAP_FAILED ? nullptr : memory;
}

// Gives a block of allocatepages back to the system.
void freepages(void *memory, size_t bytes) {
  if (memory) munmap(memory, bytes);
}
