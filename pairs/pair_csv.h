#ifndef ZEPTOR_PAIRS_PAIR_CSV_H_
#define ZEPTOR_PAIRS_PAIR_CSV_H_

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

#include "report/scanner.h"

// The listing of counted pairs as CSV: one row a pair, every line ended by
// CR LF on every system, as spreadsheets expect.

constexpr std::string_view kPairCsvHeader =
    "distance_line,error_line,distance_m,standard_error_m,accuracy_mm,ratio,"
    "class,spacing_range\r\n";

// The longest row appendPairRow() writes.
constexpr size_t kPairRowMax = 256;

// Writes the row of `pair` at `out` and returns its end: the two line
// numbers, the two values as read, the accuracy in mm and the ratio as the
// shortest text that reads back the same, the class label without its
// padding, and the spacing range. `out` must have room for kPairRowMax.
char* appendPairRow(const CountedPair& pair, char* out);

// Writes the header, then a row for every pair it takes whose class is
// worse than `worse_than` (every pair when there is none), to standard
// output. Rows are held and written whole, many at a time, so that output
// cut short by an error ends with a whole row; a failed write ends the run.
class PairCsvWriter : public PairSink {
 public:
  explicit PairCsvWriter(std::optional<size_t> worse_than);

  void take(const CountedPair& pair) override;

  // Writes what is held.
  void finish() { flush(); }

 private:
  void flush();

  const size_t first_listed_;  // the best class listed
  std::vector<char> buffer_;
  size_t held_ = 0;
};

#endif  // ZEPTOR_PAIRS_PAIR_CSV_H_
