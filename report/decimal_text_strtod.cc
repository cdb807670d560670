// The exact conversion through strtod, for C++ libraries without a
// floating-point std::from_chars (WebAssembly's). zeptor never changes the
// C locale, so the decimal point is '.'.

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <string>

#include "report/decimal_text.h"

double parseDecimalText(const char* first, const char* last, bool /*huge*/) {
  // strtod itself makes a magnitude out of range infinity or zero. The
  // fields read are short: longer texts cost an allocation.
  char field[64];
  const auto length = static_cast<size_t>(last - first);
  if (length >= sizeof field) {
    return std::strtod(std::string(first, last).c_str(), nullptr);
  }
  std::copy(first, last, field);
  field[length] = '\0';
  return std::strtod(field, nullptr);
}
