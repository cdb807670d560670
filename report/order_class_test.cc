#include "report/order_class.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "testing/test_param_name.h"

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

TEST(OrderClassTest, BoundsBelongToTheHigherClass) {
  const double kBounds[] = {0.5, 0.7, 1.0, 1.3, 2, 3, 6, 15, 30, 60};
  for (size_t row = 0; row < 10; ++row) {
    const double bound = kBounds[row];
    SCOPED_TRACE(bound);
    EXPECT_EQ(row, orderClassOf(std::nextafter(bound, 0.0)));
    EXPECT_EQ(row + 1, orderClassOf(bound));
    EXPECT_EQ(row + 1, orderClassOf(std::nextafter(bound, kInf)));
  }
}

struct ValueAndIndex {
  double value;
  size_t index;
};

void PrintTo(const ValueAndIndex& c, std::ostream* os) { *os << c.value; }

class OrderClassOfTest : public testing::TestWithParam<ValueAndIndex> {};

TEST_P(OrderClassOfTest, Classifies) {
  EXPECT_EQ(GetParam().index, orderClassOf(GetParam().value));
}

INSTANTIATE_TEST_SUITE_P(
    Ratios, OrderClassOfTest,
    testing::Values(ValueAndIndex{0.0, 0}, ValueAndIndex{-5, 0},
                    ValueAndIndex{-kInf, 0}, ValueAndIndex{kNaN, 0},
                    ValueAndIndex{0.7, 2}, ValueAndIndex{59.999, 9},
                    ValueAndIndex{60, 10}, ValueAndIndex{1e300, 10},
                    ValueAndIndex{kInf, 10}),
    ShortParamName());

class SpacingBinOfTest : public testing::TestWithParam<ValueAndIndex> {};

TEST_P(SpacingBinOfTest, Bins) {
  EXPECT_EQ(GetParam().index, spacingBinOf(GetParam().value));
}

INSTANTIATE_TEST_SUITE_P(
    Spacings, SpacingBinOfTest,
    testing::Values(ValueAndIndex{0, 0}, ValueAndIndex{-1, 0},
                    ValueAndIndex{kNaN, 0}, ValueAndIndex{24.999999, 0},
                    ValueAndIndex{25, 1}, ValueAndIndex{99.9999, 1},
                    ValueAndIndex{100, 2}, ValueAndIndex{249.99, 2},
                    ValueAndIndex{250, 3}, ValueAndIndex{kInf, 3}),
    ShortParamName());

TEST(OrderClassTest, LabelsEveryClass) {
  const char* const kLabels[] = {"11 ", "12 ", "21 ", "22 ", "31 ", "32 ",
                                 "41 ", "42 ", "51 ", "52 ", "low"};
  ASSERT_EQ(11u, kOrderClassCount);
  for (size_t row = 0; row < kOrderClassCount; ++row) {
    EXPECT_STREQ(kLabels[row], kOrderClasses[row].label);
  }
}

TEST(AccuracyCountsTest, CountsInTotalAndInOneSpacingBin) {
  AccuracyCounts counts;
  counts.add(0.7, 25);
  counts.add(0.7, 300);
  counts.add(kNaN, kNaN);
  EXPECT_EQ(2u, counts.total[2]);
  EXPECT_EQ(1u, counts.total[0]);
  EXPECT_EQ(1u, counts.by_spacing[1][2]);
  EXPECT_EQ(1u, counts.by_spacing[3][2]);
  EXPECT_EQ(1u, counts.by_spacing[0][0]);
}

}  // namespace
