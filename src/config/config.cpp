// Built-in defaults of the settings that options and configuration files may change.
#include "config/config.h"

#include <cstring>

// Defaults, kept apart so that resetconfig can restore them.
static const int defaultregularvalue[13] = {0, 100, 305, 295, 520, 930, 400, -100, -305, -295, -520, -930, -400};
static const int defaultcrazyvalue[13] = {0, 150, 305, 295, 520, 930, 400, 150, 305, 295, 520, 930, 400};
constexpr int DEFAULTCRAZYCHECKPLY = 2;

int regularvalue[13] = {0, 100, 305, 295, 520, 930, 400, -100, -305, -295, -520, -930, -400};
int crazyvalue[13] = {0, 150, 305, 295, 520, 930, 400, 150, 305, 295, 520, 930, 400};
int crazycheckply = DEFAULTCRAZYCHECKPLY;
int mainline = 0;
int whisperline = 0;

// Puts every setting back to its built-in default.
void resetconfig() {
  memcpy(regularvalue, defaultregularvalue, sizeof regularvalue);
  memcpy(crazyvalue, defaultcrazyvalue, sizeof crazyvalue);
  crazycheckply = DEFAULTCRAZYCHECKPLY;
  mainline = 0;
  whisperline = 0;
}
