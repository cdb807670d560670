#include <charconv>

#include "pair_csv/shortest_digits.h"
#include "pair_csv/shortest_number.h"

char* appendShortestDigits(double value, char* out) {
  // Without a precision, to_chars gives the shortest digits that read
  // back the same, in the notation asked for; infinities are "inf".
  return std::to_chars(out, out + kShortestNumberMax, value,
                       inFixedNotation(value) ? std::chars_format::fixed
                                              : std::chars_format::scientific)
      .ptr;
}
