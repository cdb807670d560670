#ifndef ZEPTOR_REPORT_SCANNER_H_
#define ZEPTOR_REPORT_SCANNER_H_

#include <cstddef>
#include <istream>
#include <ostream>

#include "report/line_reader.h"
#include "report/order_class.h"

// Scans a print file: finds its offset control and version, pairs every
// "DISTANCE=" spacing with the next "VERT.ANG.=" standard error (in either
// order) and counts each pair's accuracy ratio in *counts. The version line
// goes to `report`. Ends the process with status 5 or 7 when the offset
// control cannot be determined.
//
// The input is read in blocks of `block_size` bytes (at least 128: a block
// must hold every column the scanner reads); a smaller block only makes
// short inputs cross block edges.
//
// Returns false when reading `input` failed before its end.
bool Scan(std::istream& input, std::ostream& report, AccuracyCounts* counts,
          size_t block_size = LineReader::kDefaultBlockSize);

#endif  // ZEPTOR_REPORT_SCANNER_H_
