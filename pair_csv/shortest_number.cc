#include "pair_csv/shortest_number.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "pair_csv/shortest_digits.h"

namespace {

// Most values in a print file have a few decimals: a decimal of up to six
// is tried before the general conversion, which costs several times as
// much.
constexpr int kMostDecimalsTried = 6;
constexpr double kPowersOf10[kMostDecimalsTried + 1] = {1,   10,  100, 1e3,
                                                        1e4, 1e5, 1e6};
// Any two decimals of up to 15 significant digits read as two doubles, so
// one that reads back as the value is its only shortest text.
constexpr double kFifteenDigitsBelow = 1e15;

char* appendText(std::string_view text, char* out) {
  std::memcpy(out, text.data(), text.size());
  return out + text.size();
}

// Writes `digits` with a point before its last `decimals` digits.
char* appendFixed(std::uint64_t digits, int decimals, char* out) {
  char text[24];
  const char* const end = std::to_chars(text, text + sizeof text, digits).ptr;
  const auto length = static_cast<size_t>(end - text);
  const auto fraction = static_cast<size_t>(decimals);
  if (fraction == 0) return appendText(std::string_view(text, length), out);
  if (length <= fraction) {
    out = appendText("0.", out);
    std::memset(out, '0', fraction - length);
    return appendText(std::string_view(text, length), out + fraction - length);
  }
  out = appendText(std::string_view(text, length - fraction), out);
  *out++ = '.';
  return appendText(std::string_view(text + length - fraction, fraction), out);
}

// Writes `value` (in fixed notation's range) when a decimal of at most
// kMostDecimalsTried decimals and 15 significant digits reads back as it,
// and returns the end; nullptr when none does. Such a decimal is also one
// of that many decimals, with zeros after it: one test finds it.
char* appendShortDecimal(double value, char* out) {
  const double magnitude = std::fabs(value);
  int decimals = kMostDecimalsTried;
  while (decimals > 0 &&
         !(magnitude * kPowersOf10[decimals] < kFifteenDigitsBelow)) {
    --decimals;
  }
  const double scaled = magnitude * kPowersOf10[decimals];
  if (!(scaled < kFifteenDigitsBelow)) return nullptr;
  // The nearest integer: below 2^52 adding 2^52 leaves no fraction.
  const double nearest = (scaled + 0x1p52) - 0x1p52;
  // Reading nearest / 10^decimals rounds the exact quotient once, as this
  // division does, both operands being exact.
  if (nearest / kPowersOf10[decimals] != magnitude) return nullptr;
  auto digits = static_cast<std::uint64_t>(nearest);
  for (; decimals > 0 && digits % 10 == 0; --decimals) digits /= 10;
  if (std::signbit(value)) *out++ = '-';
  return appendFixed(digits, decimals, out);
}

}  // namespace

char* appendShortest(double value, char* out) {
  if (std::isnan(value)) return appendText("nan", out);
  if (inFixedNotation(value)) {
    if (char* end = appendShortDecimal(value, out)) return end;
  }
  return appendShortestDigits(value, out);
}
