#ifndef ZEPTOR_REPORT_SCANNER_H_
#define ZEPTOR_REPORT_SCANNER_H_

#include <cstddef>
#include <istream>
#include <string>

#include "report/line_reader.h"
#include "report/order_class.h"

// How a scan ended.
enum class ScanOutcome {
  kComplete,       // at the end of the input
  kReadError,      // reading the input failed before its end
  kOffsetMagic,    // the magic line starts with neither a blank nor "P"
  kOffsetMissing,  // a line longer than 65 came before the magic line
};

// What a scan found. Only a complete scan has the whole counts.
struct ScanResult {
  AccuracyCounts counts;
  // The version lines of the report, in order: `blank_versions` lines whose
  // text trimmed to nothing (each makes the scan look for another), then one
  // with `version` when it is not empty.
  size_t blank_versions = 0;
  std::string version;
  ScanOutcome outcome = ScanOutcome::kComplete;
};

// The smallest block a scan reads in: a line longer than a block keeps its
// first block, which must hold every column the scanner reads.
constexpr size_t kMinBlockSize = 128;

// Scans a print file: finds its offset control and version, pairs every
// "DISTANCE=" spacing with the next "VERT.ANG.=" standard error (in either
// order) and counts each pair's accuracy ratio. Stops at the first line
// that makes the offset control undeterminable.
//
// The input is read in blocks of `block_size` bytes, at least
// kMinBlockSize; a smaller block only makes short inputs cross block edges.
ScanResult Scan(std::istream& input,
                size_t block_size = LineReader::kDefaultBlockSize);

#endif  // ZEPTOR_REPORT_SCANNER_H_
