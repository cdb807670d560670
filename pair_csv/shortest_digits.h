#ifndef ZEPTOR_PAIR_CSV_SHORTEST_DIGITS_H_
#define ZEPTOR_PAIR_CSV_SHORTEST_DIGITS_H_

#include <cmath>

// The general conversion behind appendShortest(), one file per C++
// library: to_chars where it converts doubles, {fmt} where it does not
// (emscripten's). Both give the same text, which the tests hold.

// True for the values written in fixed notation: those whose first
// digit's exponent is -4 to 15. Compared as doubles, a value below 1e-4
// has shortest digits below 0.0001, and one below 1e16 digits below 1e16.
inline bool inFixedNotation(double value) {
  const double magnitude = std::fabs(value);
  return magnitude == 0 || (magnitude >= 1e-4 && magnitude < 1e16);
}

// Writes `value`, any double but a not-a-number, as appendShortest()
// does, and returns the end of what it wrote.
char* appendShortestDigits(double value, char* out);

#endif  // ZEPTOR_PAIR_CSV_SHORTEST_DIGITS_H_
