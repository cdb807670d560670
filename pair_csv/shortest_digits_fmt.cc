#include <fmt/format.h>

#include "pair_csv/shortest_digits.h"

char* appendShortestDigits(double value, char* out) {
  // "{}" gives the shortest digits that read back the same, in fixed
  // notation exactly where inFixedNotation() holds, else in exponent
  // notation with at least two exponent digits; infinities are "inf" and
  // "-inf".
  return fmt::format_to(out, "{}", value);
}
