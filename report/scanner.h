#ifndef ZEPTOR_REPORT_SCANNER_H_
#define ZEPTOR_REPORT_SCANNER_H_

#include <istream>
#include <ostream>

#include "report/order_class.h"

// Scans a print file: finds its offset control and version, pairs every
// "DISTANCE=" spacing with the next "VERT.ANG.=" standard error (in either
// order) and counts each pair's accuracy ratio in *counts. The version line
// goes to `report`. Ends the process with status 5 or 7 when the offset
// control cannot be determined.
//
// Returns false when reading `input` failed before its end.
bool Scan(std::istream& input, std::ostream& report, AccuracyCounts* counts);

#endif  // ZEPTOR_REPORT_SCANNER_H_
