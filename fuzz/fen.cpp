// Fuzz target of the FEN set-up: the first byte chooses the variant, the rest is the text of a
// setboard. The engine's set-up must leave a consistent board or refuse the text and keep the
// position before it; a position it accepts is then walked two plies deep by perft, whose every
// make and unmake is checked in this build.
#include "fuzzing.h"

#include "board/board.h"
#include "control/control.h"
#include "frontend/frontend.h"
#include "perft.h"

#include <string>

constexpr int FUZZPERFTDEPTH = 2;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  fuzzprepare();
  if (size < 1) return 0;
  resetall();
  const variantrow *variant = &varianttable[data[0] % VARIANTS];
  setvariantflags(variant->flags, variant->clears);
  std::string fen((const char *)data + 1, size - 1);
  fen = fen.substr(0, fen.find('\0'));
  startcapture();
  startposition();
  rebuildposition();
  int accepted = setupposition(fen.c_str());
  std::string text = endcapture();
  checkoutput(text);
  if (!boardisok(0, 0, 0, gamewheld, gamebheld, gamewpieces, gamebpieces)) fuzzfail("board not consistent");
  if (!accepted) return 0;
  startcapture();
  if (perftsetup(variant->name, fen.c_str())) perft(FUZZPERFTDEPTH);
  text = endcapture();
  if (!boardisok(0, 0, 0, gamewheld, gamebheld, gamewpieces, gamebpieces)) fuzzfail("board not consistent after perft");
  return 0;
}
