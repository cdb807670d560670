#include "pairs/shortest_number.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <string_view>

namespace {

// The fixed notation's range of first-digit exponents.
constexpr int kFixedBelow = -4;
constexpr int kFixedUpTo = 15;

char* appendText(std::string_view text, char* out) {
  std::memcpy(out, text.data(), text.size());
  return out + text.size();
}

// Writes the significant digits `digits` (no point) whose first digit has
// the exponent `exponent` in fixed notation.
char* appendFixed(std::string_view digits, int exponent, char* out) {
  if (exponent < 0) {
    out = appendText("0.", out);
    std::memset(out, '0', static_cast<size_t>(-exponent - 1));
    return appendText(digits, out + (-exponent - 1));
  }
  const auto whole = static_cast<size_t>(exponent) + 1;
  if (digits.size() <= whole) {
    out = appendText(digits, out);
    std::memset(out, '0', whole - digits.size());
    return out + (whole - digits.size());
  }
  out = appendText(digits.substr(0, whole), out);
  *out++ = '.';
  return appendText(digits.substr(whole), out);
}

}  // namespace

char* appendShortest(double value, char* out) {
  if (std::isnan(value)) return appendText("nan", out);
  // Without a precision, the shortest digits that read back the same, as
  // d[.ddd]e±XX.
  char scientific[kShortestNumberMax];
  const char* const end =
      std::to_chars(scientific, scientific + sizeof scientific, value,
                    std::chars_format::scientific)
          .ptr;
  const std::string_view text(scientific,
                              static_cast<size_t>(end - scientific));
  if (std::isinf(value)) return appendText(text, out);
  const size_t e = text.find('e');
  int exponent = 0;
  for (char c : text.substr(e + 2)) exponent = exponent * 10 + (c - '0');
  if (text[e + 1] == '-') exponent = -exponent;
  if (exponent < kFixedBelow || exponent > kFixedUpTo) {
    return appendText(text, out);
  }
  std::string_view mantissa = text.substr(0, e);
  if (mantissa.front() == '-') {
    *out++ = '-';
    mantissa.remove_prefix(1);
  }
  char digits[kShortestNumberMax];
  char* last = digits;
  for (char c : mantissa) {
    if (c != '.') *last++ = c;
  }
  return appendFixed(
      std::string_view(digits, static_cast<size_t>(last - digits)), exponent,
      out);
}
