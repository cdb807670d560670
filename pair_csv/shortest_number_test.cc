#include "pair_csv/shortest_number.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>

namespace {

std::string shortest(double value) {
  char text[kShortestNumberMax];
  return std::string(text, appendShortest(value, text));
}

struct NumberCase {
  double value;
  const char* text;
};

TEST(ShortestNumberTest, WritesWhatPythonsReprWritesWithoutItsPointZero) {
  constexpr double kInf = std::numeric_limits<double>::infinity();
  const NumberCase cases[] = {
      {100000, "100000"},
      {0.0008, "0.0008"},
      {186.20000000000002, "186.20000000000002"},
      {0.1 + 0.2, "0.30000000000000004"},
      {-123.456, "-123.456"},
      {0, "0"},
      {-0.0, "-0"},
      // The edges of fixed notation: exponents -4 and 15 are fixed.
      {1e-4, "0.0001"},
      {0.00012345678901234567, "0.00012345678901234567"},
      {1e-5, "1e-05"},
      {2.5e-05, "2.5e-05"},
      {1e15, "1000000000000000"},
      {9999999999999998.0, "9999999999999998"},
      {123456789012345.6, "123456789012345.6"},
      {1e16, "1e+16"},
      {1.2345678901234568e17, "1.2345678901234568e+17"},
      {-1.7976931348623157e308, "-1.7976931348623157e+308"},
      {5e-324, "5e-324"},
      {kInf, "inf"},
      {-kInf, "-inf"},
      {std::nan(""), "nan"},
      {-std::nan(""), "nan"},
  };
  for (const NumberCase& c : cases) {
    EXPECT_EQ(c.text, shortest(c.value)) << c.text;
  }
}

// The digits of the shortest text, as to_chars gives them in exponent
// notation: without sign, point, leading or trailing zeros, and exponent.
std::string significantDigits(const std::string& text) {
  std::string digits;
  for (char c : text.substr(0, text.find('e'))) {
    if (c >= '0' && c <= '9') digits += c;
  }
  digits.erase(0, digits.find_first_not_of('0'));
  digits.erase(digits.find_last_not_of('0') + 1);
  return digits;
}

TEST(ShortestNumberTest, ReadsBackWithTheFewestDigits) {
  std::mt19937_64 random(25);
  std::uniform_int_distribution<int> decimals(0, 9);
  for (int round = 0; round < 200000; ++round) {
    SCOPED_TRACE(round);
    // Short decimals, as print files hold, and doubles of any bits.
    const double value = round % 2 == 0
                             ? static_cast<double>(random() % 100000000) /
                                   std::pow(10.0, decimals(random))
                             : [&] {
                                 const std::uint64_t bits = random();
                                 double any;
                                 std::memcpy(&any, &bits, sizeof any);
                                 return any;
                               }();
    if (!std::isfinite(value)) continue;
    const std::string text = shortest(value);
    ASSERT_EQ(value, std::strtod(text.c_str(), nullptr)) << text;
    char scientific[kShortestNumberMax];
    const char* const end =
        std::to_chars(scientific, scientific + sizeof scientific, value,
                      std::chars_format::scientific)
            .ptr;
    ASSERT_EQ(significantDigits(std::string(
                  scientific, static_cast<size_t>(end - scientific))),
              significantDigits(text))
        << text;
    const double magnitude = std::fabs(value);
    const bool fixed =
        magnitude == 0 || (magnitude >= 1e-4 && magnitude < 1e16);
    ASSERT_EQ(fixed, text.find('e') == std::string::npos) << text;
  }
}

}  // namespace
