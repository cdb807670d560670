#include "report/worst_pairs.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace {

// A pair known by its distance line, with `ratio`; its error line is the
// one before.
CountedPair pairOf(Count line, double ratio) {
  return CountedPair{2 * line, 2 * line - 1, 0, 0, 0, ratio, {0, 0}};
}

std::vector<Count> linesKept(size_t limit, const std::vector<double>& ratios) {
  WorstPairs worst(limit);
  Count line = 1;
  for (double ratio : ratios) worst.take(pairOf(line++, ratio));
  std::vector<Count> lines;
  for (const CountedPair& pair : worst.inFileOrder()) {
    lines.push_back(pair.distance_line / 2);
  }
  return lines;
}

TEST(WorstPairsTest, KeepsTheHighestRatiosInFileOrder) {
  constexpr double kNone = std::numeric_limits<double>::quiet_NaN();
  constexpr double kInf = std::numeric_limits<double>::infinity();
  // All, when they fit.
  EXPECT_EQ((std::vector<Count>{1, 2, 3}), linesKept(5, {3, kNone, 1}));
  // The highest; no number ranks below a negative ratio.
  EXPECT_EQ((std::vector<Count>{2, 4, 6}),
            linesKept(3, {0.5, 7, kNone, kInf, -1, 60, 2}));
  EXPECT_EQ((std::vector<Count>{2, 3}), linesKept(2, {kNone, -kInf, -1}));
  // Of equal ratios, the first in the file.
  EXPECT_EQ((std::vector<Count>{1, 2, 5}), linesKept(3, {2, 2, 2, 1, 9, 2}));
  EXPECT_EQ((std::vector<Count>{}), linesKept(0, {1, 2}));
}

}  // namespace
