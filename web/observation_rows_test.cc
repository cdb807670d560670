#include "web/observation_rows.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "pair_csv/pair_csv.h"

namespace {

// A pair counted at line `line`, of class `order_class`.
CountedPair pairAt(Count line, double ratio, size_t order_class) {
  return CountedPair{line - 1,        line, 1000, 0.0005, 0.98, ratio,
                     {order_class, 0}};
}

TEST(ObservationRowsTest, ListsTheRankedPairsInFileOrder) {
  // Worst first: lines 9, 3, 7.
  const std::vector<CountedPair> ranked = {
      pairAt(9, INFINITY, 10), pairAt(3, 0.98, 2), pairAt(7, NAN, 0)};
  const ObservationRows rows = observationRows(ranked);
  const std::string body =
      "2,3,1000,0.0005,0.98,0.98,21,<25km\r\n"
      "6,7,1000,0.0005,0.98,nan,11,<25km\r\n"
      "8,9,1000,0.0005,0.98,inf,low,<25km\r\n";
  EXPECT_EQ(std::string(kPairCsvHeader) + body, rows.csv);
  const auto header = static_cast<std::uint32_t>(kPairCsvHeader.size());
  EXPECT_EQ((std::vector<std::uint32_t>{header, header + 36, header + 71}),
            rows.row_starts);
  EXPECT_EQ((std::vector<std::uint8_t>{2, 0, 10}), rows.row_classes);
  EXPECT_EQ((std::vector<std::uint32_t>{2, 0, 1}), rows.worst_first);
  EXPECT_EQ(std::string(kPairCsvHeader), observationRows({}).csv);
}

}  // namespace
