#include "web/observation_rows.h"

#include <algorithm>
#include <numeric>

#include "pair_csv/pair_csv.h"
#include "web/worst_pairs.h"

namespace {

constexpr size_t kRowBytesReserved = 96;

}  // namespace

ObservationRows observationRows(const std::vector<CountedPair>& ranked) {
  // Ranks in file order.
  std::vector<std::uint32_t> file_order(ranked.size());
  std::iota(file_order.begin(), file_order.end(), 0);
  std::sort(file_order.begin(), file_order.end(),
            [&](std::uint32_t a, std::uint32_t b) {
              return countedAt(ranked[a]) < countedAt(ranked[b]);
            });
  ObservationRows rows;
  // Rows of a large file run to about 80 bytes: room for them all at once,
  // where growing would hold the text twice for a while.
  rows.csv.reserve(kPairCsvHeader.size() + ranked.size() * kRowBytesReserved);
  rows.csv = kPairCsvHeader;
  rows.row_starts.reserve(ranked.size());
  rows.row_classes.reserve(ranked.size());
  rows.worst_first.resize(ranked.size());
  char row[kPairRowMax];
  for (std::uint32_t rank : file_order) {
    const CountedPair& pair = ranked[rank];
    rows.worst_first[rank] = static_cast<std::uint32_t>(rows.row_starts.size());
    rows.row_starts.push_back(static_cast<std::uint32_t>(rows.csv.size()));
    rows.row_classes.push_back(
        static_cast<std::uint8_t>(pair.counted.order_class));
    rows.csv.append(row, appendPairRow(pair, row));
  }
  return rows;
}
