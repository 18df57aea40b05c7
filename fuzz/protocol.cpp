// Fuzz target of the protocol reader and the input poll: the input is everything the interface
// sends, read from standard input by whole blocks, during searches too, until its end; then the
// board must be consistent and the output well-formed. The depth caps keep every search short.
#include "fuzzing.h"

#include "board/board.h"
#include "config/config.h"
#include "frontend/frontend.h"

#include <fcntl.h>
#include <unistd.h>

constexpr int FUZZDEPTHCAP = 3;         // two iterations: the second one polls

// Standard input becomes the file of the scratch folder that holds the input.
static void feedstdin(const uint8_t *data, size_t size) {
  writefuzzfile("input.txt", data, size);
  int fd = open("input.txt", O_RDONLY);
  if (fd < 0) fuzzfail("cannot open the input file");
  dup2(fd, 0);
  close(fd);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  fuzzprepare();
  resetall();
  inputpoll = pollinput;
  maxdepth = maxdepthT = maxdepthA = maxdepthC = maxdepthS = maxdepthL = FUZZDEPTHCAP;
  feedstdin(data, size);
  startcapture();
  playgames();
  std::string text = endcapture();
  checkoutput(text);
  // Between moves the kept king squares may be stale by design (the searches look them up again
  // at their root), so they are refreshed; the codes, the hands and the pawn-born lists are not.
  findkings();
  if (!boardisok(0, 0, 0, gamewheld, gamebheld, gamewpieces, gamebpieces)) fuzzfail("board not consistent");
  return 0;
}
