#include "web/worst_pairs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

namespace {

// A pair known by its distance line, with `ratio`; its error line is the
// one before.
CountedPair pairOf(Count line, double ratio) {
  return CountedPair{2 * line, 2 * line - 1, 0, 0, 0, ratio, {0, 0}};
}

// The lines of the pairs selected of pairs with `ratios`, worst first.
std::vector<Count> linesRanked(size_t limit,
                               const std::vector<double>& ratios) {
  WorstPairSelector worst(limit);
  Count line = 1;
  for (double ratio : ratios) worst.take(pairOf(line++, ratio));
  std::vector<Count> lines;
  for (const CountedPair& pair : worst.takeRanked()) {
    lines.push_back(pair.distance_line / 2);
  }
  return lines;
}

TEST(WorstPairSelectorTest, RanksTheHighestRatiosFirst) {
  constexpr double kNone = std::numeric_limits<double>::quiet_NaN();
  constexpr double kInf = std::numeric_limits<double>::infinity();
  // All, when they fit.
  EXPECT_EQ((std::vector<Count>{1, 3, 2}), linesRanked(5, {3, kNone, 1}));
  // The highest; no number ranks below a negative ratio.
  EXPECT_EQ((std::vector<Count>{4, 6, 2}),
            linesRanked(3, {0.5, 7, kNone, kInf, -1, 60, 2}));
  EXPECT_EQ((std::vector<Count>{3, 2}), linesRanked(2, {kNone, -kInf, -1}));
  // Of equal ratios, the first in the file.
  EXPECT_EQ((std::vector<Count>{5, 1, 2}), linesRanked(3, {2, 2, 2, 1, 9, 2}));
  EXPECT_EQ((std::vector<Count>{}), linesRanked(0, {1, 2}));
}

TEST(WorstPairSelectorTest, RanksAsSortingThemAllWould) {
  // Few distinct ratios, so that many are equal, and no numbers.
  std::mt19937 random(26);
  for (size_t limit : {size_t{1}, size_t{7}, size_t{40}}) {
    for (int round = 0; round < 50; ++round) {
      std::vector<double> ratios(random() % 400);
      for (double& ratio : ratios) {
        ratio = random() % 10 == 0 ? std::nan("")
                                   : static_cast<double>(random() % 30);
      }
      // The reference: the first `limit` lines by ratio, highest first,
      // no number last, equal ones in file order.
      std::vector<Count> lines(ratios.size());
      for (size_t i = 0; i < lines.size(); ++i) lines[i] = i + 1;
      std::stable_sort(lines.begin(), lines.end(), [&](Count a, Count b) {
        const double ra = ratios[a - 1], rb = ratios[b - 1];
        return !std::isnan(ra) && (std::isnan(rb) || ra > rb);
      });
      lines.resize(std::min(limit, lines.size()));
      ASSERT_EQ(lines, linesRanked(limit, ratios)) << "limit " << limit;
    }
  }
}

}  // namespace
