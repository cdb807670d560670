#include "report/decimal.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <random>
#include <string>

#include "testing/test_param_name.h"

namespace {

struct DecimalCase {
  std::string field;
  double expected;
};

void PrintTo(const DecimalCase& c, std::ostream* os) {
  *os << testing::PrintToString(c.field);
}

class ReadDecimalTest : public testing::TestWithParam<DecimalCase> {};

TEST_P(ReadDecimalTest, ReadsTheDecimalPrefix) {
  const DecimalCase& c = GetParam();
  const double value = readDecimal(c.field);
  EXPECT_EQ(c.expected, value) << "field \"" << c.field << "\"";
  EXPECT_EQ(std::signbit(c.expected), std::signbit(value));
}

const double kInf = HUGE_VAL;

INSTANTIATE_TEST_SUITE_P(
    Fields, ReadDecimalTest,
    testing::Values(
        DecimalCase{"   1234.567", 1234.567}, DecimalCase{"0.0123", 0.0123},
        DecimalCase{"+12", 12}, DecimalCase{"-12.5", -12.5},
        DecimalCase{"-0", -0.0}, DecimalCase{".5", 0.5}, DecimalCase{"5.", 5.0},
        DecimalCase{"1.5e", 1.5}, DecimalCase{"1.5e+", 1.5},
        DecimalCase{"1.5E-2", 0.015}, DecimalCase{"2e3x", 2000},
        DecimalCase{"12 34", 12}, DecimalCase{"1.2.3", 1.2},
        DecimalCase{" \t\n\v\f\r7", 7},
        // Not decimal text: nothing, or only the digits before it.
        DecimalCase{"", 0}, DecimalCase{"   ", 0}, DecimalCase{".", 0},
        DecimalCase{"-", 0}, DecimalCase{"+-1", 0}, DecimalCase{"abc", 0},
        DecimalCase{"inf", 0}, DecimalCase{"-nan", 0},
        DecimalCase{"infinity", 0}, DecimalCase{"0x1A", 0},
        DecimalCase{"1x1A", 1}, DecimalCase{"e5", 0},
        DecimalCase{std::string("\0 12", 4), 0},
        DecimalCase{std::string("12\0 3", 5), 12},
        // Out of range, as strtod gives it.
        DecimalCase{"1e400", kInf}, DecimalCase{"-9e999", -kInf},
        DecimalCase{"1e-400", 0.0}, DecimalCase{"-1e-400", -0.0},
        DecimalCase{"4e-324", 4.9406564584124654e-324},
        DecimalCase{"0000000000000000000000001e-400", 0.0},
        DecimalCase{"123456789012345678901234567890", 1.2345678901234568e29},
        // 20 digits, more than 64 bits hold.
        DecimalCase{"18446744073709551617", 18446744073709551617.0},
        DecimalCase{std::string(400, '9') + ".5", HUGE_VAL}),
    ShortParamName());

// Requires the C locale, which a test program keeps unless it changes it.
double strtodOfDecimalText(const std::string& text) {
  // Cut the text where a non-decimal form (hex, inf, nan) would start so
  // that strtod sees decimal text only.
  std::string decimal;
  for (char c : text) {
    if (c == 'x' || c == 'X' || c == 'i' || c == 'I' || c == 'n' || c == 'N')
      break;
    decimal += c;
  }
  char* end = nullptr;
  const double value = std::strtod(decimal.c_str(), &end);
  // Without a number the value is 0; some C libraries give "-" as -0.
  return end == decimal.c_str() ? 0.0 : value;
}

TEST(ReadDecimalTest, AgreesWithStrtodOnRandomFields) {
  const char kAlphabet[] = "0123456789012345.+-eE  \tx";
  std::mt19937 random(20030108);
  std::uniform_int_distribution<size_t> pick(0, sizeof kAlphabet - 2);
  std::uniform_int_distribution<size_t> length(0, 12);
  for (int i = 0; i < 200000; ++i) {
    std::string field;
    for (size_t n = length(random); n > 0; --n)
      field += kAlphabet[pick(random)];
    const double expected = strtodOfDecimalText(field);
    const double value = readDecimal(field);
    ASSERT_EQ(expected, value) << "field \"" << field << "\"";
    ASSERT_EQ(std::signbit(expected), std::signbit(value)) << field;
  }
}

}  // namespace
