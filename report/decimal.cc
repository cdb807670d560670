#include "report/decimal.h"

#include <cstddef>
#include <cstdint>

#include "report/decimal_text.h"
#include "support/trim.h"

namespace {

bool isDigit(char c) { return static_cast<unsigned char>(c - '0') < 10; }

// Reads the digits from `p` into *value (exact while there are at most 19
// of them); returns the position after them.
const char* readDigits(const char* p, const char* end, std::uint64_t* value) {
  std::uint64_t folded = *value;
  for (; p < end; ++p) {
    const unsigned digit = static_cast<unsigned char>(*p) - unsigned{'0'};
    if (digit > 9) break;
    folded = folded * 10 + digit;
  }
  *value = folded;
  return p;
}

// Returns the number of digits in [first, last) from the first non-zero
// one, up to the exponent.
int significantDigits(const char* first, const char* last) {
  int count = 0;
  for (const char* p = first; p < last && *p != 'e' && *p != 'E'; ++p) {
    if (isDigit(*p) && (count > 0 || *p != '0')) ++count;
  }
  return count;
}

// Reads an exponent ("e", optional sign, at least one digit) at `p` into
// *exponent; returns the position after it, or `p` when there is none.
const char* readExponent(const char* p, const char* end, int* exponent) {
  if (p == end || (*p != 'e' && *p != 'E')) return p;
  const char* q = p + 1;
  const bool negative = q < end && *q == '-';
  if (q < end && (*q == '+' || *q == '-')) ++q;
  const char* first = q;
  int value = 0;
  for (; q < end && isDigit(*q); ++q) {
    if (value < 100000) value = value * 10 + (*q - '0');
  }
  if (q == first) return p;
  *exponent += negative ? -value : value;
  return q;
}

// Powers of ten that a double holds exactly.
constexpr double kExactPowersOfTen[] = {
    1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
    1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr int kMaxExactPower = 22;
constexpr std::uint64_t kMaxExactInteger = std::uint64_t{1} << 53;
// The most digits a uint64 always holds.
constexpr std::ptrdiff_t kMaxExactDigitCount = 19;

// Returns the correctly rounded value of the number [first, last) without
// its sign; it has `digit_count` digits folded into `digits`, and the value
// digits x 10^exponent.
double roundedValue(const char* first, const char* last,
                    std::ptrdiff_t digit_count, std::uint64_t digits,
                    int exponent) {
  // One exact operand times or over an exact power of ten: a single IEEE
  // operation, so correctly rounded, as strtod would give it.
  if (digit_count <= kMaxExactDigitCount && digits <= kMaxExactInteger &&
      exponent >= -kMaxExactPower && exponent <= kMaxExactPower) {
    const double value = static_cast<double>(digits);
    return exponent < 0 ? value / kExactPowersOfTen[-exponent]
                        : value * kExactPowersOfTen[exponent];
  }
  // Beyond the doubles' range, a number with whole digits left of the point
  // after scaling is too large, any other too small.
  return parseDecimalText(first, last,
                          significantDigits(first, last) + exponent > 0);
}

}  // namespace

double readDecimal(std::string_view field) {
  const char* p = field.data();
  const char* const end = p + field.size();
  // Fields are padded with blanks: those first, in the shortest loop.
  while (p < end && *p == ' ') ++p;
  while (p < end && isWhiteSpace(*p)) ++p;
  const bool negative = p < end && *p == '-';
  if (p < end && (*p == '+' || *p == '-')) ++p;

  const char* const first = p;
  std::uint64_t digits = 0;
  p = readDigits(p, end, &digits);
  std::ptrdiff_t digit_count = p - first;
  int exponent = 0;
  if (p < end && *p == '.') {
    const char* const fraction = p + 1;
    p = readDigits(fraction, end, &digits);
    digit_count += p - fraction;
    exponent = -static_cast<int>(p - fraction);
  }
  if (digit_count == 0) return 0.0;
  p = readExponent(p, end, &exponent);
  const double value = roundedValue(first, p, digit_count, digits, exponent);
  return negative ? -value : value;
}
