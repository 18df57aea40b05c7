// Fuzz target of the configuration files: the first byte chooses the file (korvel.rc, korvel.rc2,
// korvel2.rc or one of the three variant weight files), the rest is its text. Every reader runs
// as at start-up; the listings must be well-formed, and with whatever weights they leave the start
// material and the evaluations of every engine, on a board crowded with heavy men and with full
// hands, must not overflow (the sanitizer of this build stops on any overflow).
#include "fuzzing.h"

#include "antichess/antichess.h"
#include "atomic/atomic.h"
#include "board/board.h"
#include "config/config.h"
#include "control/control.h"
#include "frontend/frontend.h"
#include "regular/regular.h"

#include <cstring>
#include <string>

static const char *const configfiles[] = {"korvel.rc",        "korvel.rc2",        "korvel2.rc",
                                          "korvelLosers.rc2", "korvelSuicide.rc2", "korvelcrazy.rc2"};
constexpr int CONFIGFILES = sizeof configfiles / sizeof configfiles[0];

// The readers in their start-up order.
static void readconfigfiles() {
  readlosersrc2();
  readsuiciderc2();
  readcrazyrc2();
  readrc();
  readregularrc();
}

// A crowded board: queens, rooks and pawns of both colours around the two kings, and both hands
// full of queens.
static void crowdboard(int *whitehand, int *blackhand) {
  static const char ranks[8][9] = {"QQQQKQQQ", "PPPPPPPP", "RRRRRRRR", "QQQQQQQQ",
                                   "qqqqqqqq", "rrrrrrrr", "pppppppp", "qqqqkqqq"};
  static const char letters[] = " PNBRQKpnbrqk";
  for (int rank = 0; rank < 8; rank++)
    for (int file = 0; file < 8; file++) board[8 * rank + file + 1] = (int)(strchr(letters, ranks[rank][file]) - letters);
  findkings();
  for (int i = 1; i < HANDSLOTS; i++) {
    whitehand[i] = WQUEEN;
    blackhand[i] = BQUEEN;
  }
}

// Every engine's evaluation of the crowded board, for both sides.
static void evaluateall() {
  int whitehand[HANDSLOTS] = {};
  int blackhand[HANDSLOTS] = {};
  crowdboard(whitehand, blackhand);
  for (int side = 0; side <= 1; side++) {
    evaluate(side);
    setvariantflags(VFCRAZY, VFALL);
    evaluatecrazy(side, whitehand, blackhand);
    setvariantflags(VFATOMIC, VFALL);
    atomiceval(side);
    setvariantflags(VFANTI | VFLOSERS, VFALL);
    antievaluate(side);
    setvariantflags(VFANTI, VFALL);
    antievaluate(side);
    setvariantflags(0, VFALL);
  }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  fuzzprepare();
  if (size < 1) return 0;
  freshstate();
  writefuzzfile(configfiles[data[0] % CONFIGFILES], data + 1, size - 1);
  startcapture();
  readconfigfiles();
  std::string text = endcapture();
  checkoutput(text);
  startmaterial = computestartmaterial();
  evaluateall();
  endgameflag = 1;
  evaluateall();
  endgameflag = 0;
  return 0;
}
