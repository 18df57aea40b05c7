// The fuzz targets' shared ground: the scratch folder, the caught output and its check.
#include "fuzzing.h"

#include "board/board.h"
#include "frontend/frontend.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

static int capturefd = -1;              // the memory file that stands in for standard output
static int savedstdout = -1;            // the real standard output while output is caught

// Prepares the process once: a scratch folder of its own as the working directory, the ray and
// key tables, a small transposition table, the file names and unbuffered output.
void fuzzprepare() {
  static int prepared = 0;
  if (prepared) return;
  prepared = 1;
  char folder[] = "/tmp/korvel-fuzz-XXXXXX";
  if (!mkdtemp(folder) || chdir(folder) != 0) fuzzfail("no scratch folder");
  setvbuf(stdout, nullptr, _IONBF, 0);
  initrays();
  initkeys(1);
  allocatetable(1);
  allocatenames();
  capturefd = memfd_create("korvel-output", 0);
  if (capturefd < 0) fuzzfail("no memory file for the output");
}

// Removes every entry of the scratch folder (files, pipes and empty folders).
static void clearfolder() {
  DIR *dir = opendir(".");
  if (!dir) return;
  while (dirent *entry = readdir(dir)) {
    if (strcmp(entry->d_name, ".") == 0 || strcmp(entry->d_name, "..") == 0) continue;
    if (unlink(entry->d_name) != 0) rmdir(entry->d_name);
  }
  closedir(dir);
}

// All process-wide state back to its load values, the file names at their defaults and the
// scratch folder empty, so that an input meets only the files it writes itself.
void freshstate() {
  resetall();
  allocatenames();
  clearfolder();
}

// Writes the bytes as the named file of the scratch folder.
void writefuzzfile(const char *name, const uint8_t *data, size_t size) {
  FILE *file = fopen(name, "wb");
  if (!file) fuzzfail("cannot write a scratch file");
  if (size) fwrite(data, 1, size, file);
  fclose(file);
}

// From now on standard output goes to the memory file, emptied first.
void startcapture() {
  fflush(stdout);
  if (ftruncate(capturefd, 0) != 0 || lseek(capturefd, 0, SEEK_SET) != 0) fuzzfail("cannot empty the output file");
  savedstdout = dup(1);
  dup2(capturefd, 1);
}

// Standard output is the real one again; answers what was written while it was caught.
std::string endcapture() {
  fflush(stdout);
  dup2(savedstdout, 1);
  close(savedstdout);
  savedstdout = -1;
  std::string text;
  off_t size = lseek(capturefd, 0, SEEK_END);
  if (size > 0) {
    text.resize((size_t)size);
    if (pread(capturefd, &text[0], (size_t)size, 0) != size) fuzzfail("cannot read the output back");
  }
  return text;
}

// Every byte the engine writes is printable ASCII or a newline, and no line is longer than
// MAXOUTPUTLINE: an interface reads it line by line, so a control byte or an endless line from an
// input file or a command would be a fault.
void checkoutput(const std::string &text) {
  size_t linestart = 0;
  for (size_t i = 0; i < text.size(); i++) {
    unsigned char c = text[i];
    if (c == '\n') {
      linestart = i + 1;
      continue;
    }
    const char *fault = c < ' ' || c > '~' ? "a byte that is no printable character in the output"
                        : i - linestart >= MAXOUTPUTLINE ? "an output line longer than MAXOUTPUTLINE"
                                                         : nullptr;
    if (!fault) continue;
    std::string line = text.substr(linestart, text.find('\n', linestart) - linestart).substr(0, 200);
    fprintf(stderr, "\nthe line:");
    for (unsigned char b : line) fprintf(stderr, b >= ' ' && b <= '~' ? "%c" : "\\x%02x", b);
    fuzzfail(fault);
  }
}

// Says which invariant broke, on the error stream, and aborts so that the fuzzer keeps the input.
void fuzzfail(const char *what) {
  if (savedstdout >= 0) dup2(savedstdout, 1);
  fprintf(stderr, "\nbroken invariant: %s\n", what);
  abort();
}
