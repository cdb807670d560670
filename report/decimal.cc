#include "report/decimal.h"

#include <charconv>
#include <cstdint>
#include <limits>
#include <system_error>

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool isWhiteSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' ||
         c == '\r';
}

// The parts of a decimal number: digits * 10^exponent.
struct Decimal {
  std::uint64_t digits = 0;  // exact while significant_digits <= 19
  int significant_digits = 0;  // from the first non-zero digit
  int read_digits = 0;
  int exponent = 0;
  size_t begin = 0;  // the text from the first digit or point
  size_t end = 0;
};

// Reads digits from `pos` into *number; returns the position after them.
size_t readDigits(std::string_view text, size_t pos, Decimal* number) {
  for (; pos < text.size() && isDigit(text[pos]); ++pos) {
    number->digits = number->digits * 10 + (text[pos] - '0');
    if (number->significant_digits > 0 || text[pos] != '0') {
      ++number->significant_digits;
    }
    ++number->read_digits;
  }
  return pos;
}

// Reads an exponent ("e", optional sign, at least one digit) at `pos` into
// *number; returns the position after it, or `pos` when there is none.
size_t readExponent(std::string_view text, size_t pos, Decimal* number) {
  if (pos >= text.size() || (text[pos] != 'e' && text[pos] != 'E')) return pos;
  size_t end = pos + 1;
  const bool negative = end < text.size() && text[end] == '-';
  if (end < text.size() && (text[end] == '+' || negative)) ++end;
  const size_t digits = end;
  int value = 0;
  for (; end < text.size() && isDigit(text[end]); ++end) {
    if (value < 100000) value = value * 10 + (text[end] - '0');
  }
  if (end == digits) return pos;
  number->exponent += negative ? -value : value;
  return end;
}

// Powers of ten that a double holds exactly.
constexpr double kExactPowersOfTen[] = {
    1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
    1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr int kMaxExactPower = 22;
constexpr int kMaxExactDigits = 15;  // below 2^53

// Returns the correctly rounded value of `number`, read from `text`.
double roundedValue(std::string_view text, const Decimal& number) {
  // One exact operand times or over an exact power of ten: a single IEEE
  // operation, so correctly rounded, as strtod would give it.
  if (number.significant_digits <= kMaxExactDigits &&
      number.exponent >= -kMaxExactPower &&
      number.exponent <= kMaxExactPower) {
    const double digits = static_cast<double>(number.digits);
    return number.exponent < 0
               ? digits / kExactPowersOfTen[-number.exponent]
               : digits * kExactPowersOfTen[number.exponent];
  }
  // from_chars rounds the rest correctly whatever the locale; it only
  // refuses results out of range, which strtod makes infinity (a number of
  // one or more whole digits) or zero.
  double value = 0.0;
  const auto result = std::from_chars(text.data() + number.begin,
                                      text.data() + number.end, value);
  if (result.ec == std::errc::result_out_of_range) {
    const bool huge = number.significant_digits + number.exponent > 0;
    value = huge ? std::numeric_limits<double>::infinity() : 0.0;
  }
  return value;
}

}  // namespace

double readDecimal(std::string_view field) {
  size_t pos = 0;
  while (pos < field.size() && isWhiteSpace(field[pos])) ++pos;
  bool negative = false;
  if (pos < field.size() && (field[pos] == '+' || field[pos] == '-')) {
    negative = field[pos] == '-';
    ++pos;
  }
  Decimal number;
  number.begin = pos;
  pos = readDigits(field, pos, &number);
  if (pos < field.size() && field[pos] == '.') {
    const int whole_digits = number.read_digits;
    pos = readDigits(field, pos + 1, &number);
    number.exponent = whole_digits - number.read_digits;
  }
  if (number.read_digits == 0) return 0.0;
  pos = readExponent(field, pos, &number);
  number.end = pos;
  const double value = roundedValue(field, number);
  return negative ? -value : value;
}
