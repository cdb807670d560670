#ifndef ZEPTOR_PAIR_CSV_PAIR_CSV_H_
#define ZEPTOR_PAIR_CSV_PAIR_CSV_H_

#include <cstddef>
#include <string_view>

#include "report/scanner.h"

// The CSV of counted pairs that zeptor-pairs lists and the page downloads:
// one row a pair, every line ended by CR LF on every system, as
// spreadsheets expect. Formatting only: whoever writes the rows keeps them.

constexpr std::string_view kPairCsvHeader =
    "distance_line,error_line,distance_m,standard_error_m,accuracy_mm,ratio,"
    "class,spacing_range\r\n";

// The longest row appendPairRow() writes.
constexpr size_t kPairRowMax = 256;

// The name of spacing range `bin` in a row: "<25km" to ">=250km".
std::string_view spacingRangeName(size_t bin);

// Writes the row of `pair` at `out` and returns its end: the two line
// numbers, the two values as read, the accuracy in mm and the ratio as the
// shortest text that reads back the same, the class label without its
// padding, and the spacing range. `out` must have room for kPairRowMax.
char* appendPairRow(const CountedPair& pair, char* out);

#endif  // ZEPTOR_PAIR_CSV_PAIR_CSV_H_
