#include "support/trim.h"

#include <gtest/gtest.h>

#include <string>

#include "testing/test_param_name.h"

namespace {

struct TrimCase {
  std::string input;
  char mode;
  std::string expected;
};

void PrintTo(const TrimCase& c, std::ostream* os) {
  *os << testing::PrintToString(c.mode) << ' '
      << testing::PrintToString(c.input);
}

class TrimTest : public testing::TestWithParam<TrimCase> {};

TEST_P(TrimTest, TrimsInPlaceAndReturnsTheSameText) {
  const TrimCase& c = GetParam();
  std::string text = c.input;
  std::string returned = trim(text, c.mode);
  EXPECT_EQ(c.expected, text);
  EXPECT_EQ(c.expected, returned);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, TrimTest,
    testing::Values(
        TrimCase{"  ab c \t", 'B', "ab c"}, TrimCase{"  ab c \t", 'b', "ab c"},
        TrimCase{"  ab c \t", 'L', "ab c \t"},
        TrimCase{"  ab c \t", 'l', "ab c \t"},
        TrimCase{"  ab c \t", 'R', "  ab c"},
        TrimCase{"  ab c \t", 'r', "  ab c"},
        TrimCase{"  ab c \t", 'x', "  ab c \t"},
        TrimCase{"  ab c \t", '\0', "  ab c \t"}, TrimCase{"     ", 'B', ""},
        TrimCase{"     ", 'L', ""}, TrimCase{"     ", 'R', ""},
        TrimCase{"", 'B', ""}, TrimCase{"", 'L', ""}, TrimCase{"", 'R', ""},
        TrimCase{"", 'x', ""},
        // Every POSIX white-space character goes; other control bytes stay.
        TrimCase{" \t\n\v\f\rX\r\f\v\n\t ", 'B', "X"},
        TrimCase{std::string("\0X\0", 3), 'B', std::string("\0X\0", 3)},
        TrimCase{"\x85X\xA0", 'B', "\x85X\xA0"}),
    ShortParamName());

}  // namespace
