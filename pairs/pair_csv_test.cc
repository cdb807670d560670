#include "pairs/pair_csv.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {

std::string row(const CountedPair& pair) {
  char text[kPairRowMax];
  return std::string(text, appendPairRow(pair, text));
}

TEST(PairCsvTest, WritesEveryFieldOfARow) {
  constexpr double kInf = std::numeric_limits<double>::infinity();
  EXPECT_EQ("12,14,30000,0.001,1.96,0.3578528636436786,11,25km-100km\r\n",
            row({12, 14, 30000, 0.001, 1.96, 0.3578528636436786, {0, 1}}));
  EXPECT_EQ("18446744073709551615,3,0,0,0,nan,11,<25km\r\n",
            row({18446744073709551615u, 3, 0, 0, 0, std::nan(""), {0, 0}}));
  EXPECT_EQ("5,6,-1e+16,2.5e-05,inf,inf,low,>=250km\r\n",
            row({5, 6, -1e16, 2.5e-05, kInf, kInf, {10, 3}}));
  EXPECT_EQ("1,2,100000,0.5,980,49,52,100km-250km\r\n",
            row({1, 2, 100000, 0.5, 980, 49, {9, 2}}));
}

}  // namespace
