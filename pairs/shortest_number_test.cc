#include "pairs/shortest_number.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
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

}  // namespace
