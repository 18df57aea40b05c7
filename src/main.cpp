// The korvel executable: prepares the engine and plays games until told "quit".
#include "frontend/frontend.h"

// Prepares everything once, plays games until "quit", then frees what start-up allocated.
int main() {
  startup();
  playgames();
  shutdown();
  return 0;
}
