// What every fuzz target shares: a scratch folder that is the working directory (the readers open
// their files by name), the engine prepared once, the input written as a real file, and the
// engine's output caught and checked for well-formed lines.
#ifndef KORVEL_FUZZ_FUZZING_H
#define KORVEL_FUZZ_FUZZING_H

#include <cstddef>
#include <cstdint>
#include <string>

constexpr int MAXOUTPUTLINE = 2048;     // longest line the engine may write

void fuzzprepare();                     // once per process: scratch folder, tables, unbuffered stdout
void freshstate();                      // all state at its load values, the names and an empty folder
void writefuzzfile(const char *name, const uint8_t *data, size_t size);  // a file of the scratch folder
void startcapture();                    // what the engine writes from now on is caught
std::string endcapture();               // what it wrote since startcapture
void checkoutput(const std::string &text);  // aborts unless every line is printable ASCII and bounded
void fuzzfail(const char *what);        // reports a broken invariant and aborts

#endif
