// The korvel executable: prepares the engine and plays games until told "quit".
#include "frontend/frontend.h"

// Prepares everything once, with the command-line options, plays games until "quit", then frees
// what start-up allocated.
int main(int argc, char **argv) {
  startup(argc, argv);
  playgames();
  shutdown();
  return 0;
}
