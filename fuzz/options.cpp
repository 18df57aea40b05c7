// Fuzz target of the command-line options: the input is split into words at NUL bytes and
// newlines, as a shell would hand them over. The confirmations must be well-formed lines and the
// file names must stay inside their buffers.
#include "fuzzing.h"

#include "config/config.h"

#include <cstring>
#include <string>
#include <vector>

constexpr int FUZZMAXWORDS = 64;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  fuzzprepare();
  resetconfig();
  allocatenames();
  std::vector<std::string> words{"korvel"};
  std::string word;
  for (size_t i = 0; i <= size && words.size() < FUZZMAXWORDS; i++) {
    if (i == size || data[i] == 0 || data[i] == '\n') {
      words.push_back(word);
      word.clear();
    } else {
      word += (char)data[i];
    }
  }
  std::vector<const char *> argv;
  for (const std::string &w : words) argv.push_back(w.c_str());
  startcapture();
  readoptions((int)argv.size(), argv.data());
  std::string text = endcapture();
  checkoutput(text);
  for (const char *name : {atomicbookblack, atomicbookwhite, rcname, rc2name})
    if (!name || strnlen(name, FILENAMESIZE) >= FILENAMESIZE) fuzzfail("a file name outside its buffer");
  return 0;
}
