#include "report/decimal_field.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <string_view>

#include "report/decimal.h"

namespace {

// Requires readDecimalField() of `field` to be readDecimal()'s, with
// `before` in the bytes ahead of the field that it may read.
void expectSameAsReadDecimal(const std::string& before,
                             const std::string& field) {
  const std::string text = before + field;
  const char* at = text.data() + before.size();
  const double expected = readDecimal(std::string_view(at, field.size()));
  const double value = readDecimalField(at, field.size());
  ASSERT_EQ(expected, value) << "field \"" << field << "\"";
  ASSERT_EQ(std::signbit(expected), std::signbit(value)) << field;
}

// A field as a print file has it: blanks, digits, a point somewhere or
// nowhere; then, in one case of two, one byte changed to any other.
std::string printFileField(std::mt19937& random, size_t width) {
  std::uniform_int_distribution<size_t> column(0, width);
  const size_t digits_from = column(random);
  const size_t point = column(random);
  std::string field;
  for (size_t i = 0; i < width; ++i) {
    if (i < digits_from) {
      field += ' ';
    } else if (i == point) {
      field += '.';
    } else {
      field += static_cast<char>('0' + random() % 10);
    }
  }
  if (random() % 2 == 0) {
    const char kOthers[] = " .+-eE\t\n0x\x80\xff\x2f\x3a";
    field[column(random) % width] = kOthers[random() % (sizeof kOthers - 1)];
  }
  return field;
}

TEST(ReadDecimalFieldTest, AgreesWithReadDecimalOnEveryWidth) {
  std::mt19937 random(20061224);
  // Digits and points before a field are not part of it.
  const std::string before = "1234567890.12345";
  for (size_t width = 1; width < kDecimalFieldReach; ++width) {
    for (int i = 0; i < 20000; ++i) {
      expectSameAsReadDecimal(before.substr(width),
                              printFileField(random, width));
    }
  }
}

TEST(ReadDecimalFieldTest, AgreesWithReadDecimalOnTheOddForms) {
  for (const char* field :
       {"           .", "    -12.5000", "   +12.50000", "      1.5e+3",
        "   1.2.3    ", "12 34", "  \t12.5", "   0x1A", "       inf",
        "            ", "000000000000", "999999999999", "99999999999.",
        ".99999999999", "  12\xb0.5", "1", ".", " "}) {
    expectSameAsReadDecimal("9999999999999999", field);
  }
}

}  // namespace
