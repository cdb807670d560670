// The exact conversion through std::from_chars, which rounds correctly
// whatever the locale.

#include <charconv>
#include <limits>
#include <system_error>

#include "report/decimal_text.h"

double parseDecimalText(const char* first, const char* last, bool huge) {
  double value = 0.0;
  // It only refuses results out of range, which strtod makes infinity or
  // zero.
  if (std::from_chars(first, last, value).ec ==
      std::errc::result_out_of_range) {
    value = huge ? std::numeric_limits<double>::infinity() : 0.0;
  }
  return value;
}
