// The page's run of zeptor, one per print file and program instance: the
// worker starts it with the file's name, feeds it the file in slices and
// finishes it, then reads back the report, its counts and the rows of the
// worst observations. Every failure ends the run as it ends the command
// line's, with the same message on the error stream and the same exit
// status; the output file is the page's download, never the print file, so
// no run needs refusing for that. The page also takes the class labels,
// the spacing ranges' names and the number of observations kept from here.

#include <emscripten/emscripten.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "pair_csv/pair_csv.h"
#include "report/order_class.h"
#include "report/report.h"
#include "report/run_exit.h"
#include "report/run_parameters.h"
#include "report/scanner.h"
#include "support/date.h"
#include "web/observation_rows.h"
#include "web/worst_pairs.h"

namespace {

// The worst observations a run keeps for the page to show and list,
// whatever the file's size: about 4 MiB of rows here and as much again in
// the page. (With 100,000, WebKit's page grew by up to 31.8 MiB on a 300 MB
// file, against a bound of 32.)
constexpr size_t kWorstPairLimit = 50000;

// The class labels without their padding, each ended by a NUL.
const std::array<std::string, kOrderClassCount> kClassLabels = [] {
  std::array<std::string, kOrderClassCount> labels;
  for (size_t c = 0; c < kOrderClassCount; ++c) {
    labels[c] = std::string(classCode(c));
  }
  return labels;
}();

struct PageRun {
  PageRun(RunParameters run_params, size_t slice_bytes)
      : params(std::move(run_params)), slice(slice_bytes) {}

  const RunParameters params;
  const Date run_time;  // the run's start, before the file is read
  WorstPairSelector worst{kWorstPairLimit};
  Scanner scanner{&worst};
  std::vector<char> slice;  // where the worker puts each slice
  std::string report;
  AccuracyCounts counts;
  ObservationRows observations;  // once finished
};

std::unique_ptr<PageRun> the_run;

}  // namespace

extern "C" {

// Starts the run of the print file `input_name`, reported as written to
// `output_name`, with `accession` (empty for none). Returns where the worker
// puts each slice, of at most `slice_bytes` bytes.
EMSCRIPTEN_KEEPALIVE char* zeptorStart(const char* input_name,
                                       const char* output_name,
                                       const char* accession,
                                       size_t slice_bytes) {
  return unlessOutOfMemory([&] {
    the_run = std::make_unique<PageRun>(
        RunParameters{input_name, output_name, accession}, slice_bytes);
    return the_run->slice.data();
  });
}

// Scans the next `size` bytes of the file, put where zeptorStart() said.
// Returns false once the scan has stopped and wants no more.
EMSCRIPTEN_KEEPALIVE bool zeptorFeed(size_t size) {
  Scanner& scanner = the_run->scanner;
  unlessOutOfMemory([&] {
    scanner.feed(std::string_view(the_run->slice.data(), size));
    return 0;
  });
  return !scanner.stopped();
}

// Ends the run: the file could not be read.
EMSCRIPTEN_KEEPALIVE void zeptorReadFailed() {
  failReadingInput(the_run->params.input_name);
}

// Ends the scan at the end of the file and writes the report. Returns its
// size; zeptorReport() has its bytes.
EMSCRIPTEN_KEEPALIVE size_t zeptorFinish() {
  return unlessOutOfMemory([&] {
    const ScanResult scan = the_run->scanner.finish();
    exitUnlessComplete(scan.outcome);
    the_run->report = reportText(the_run->params, the_run->run_time, scan);
    the_run->counts = scan.counts;
    the_run->observations = observationRows(the_run->worst.takeRanked());
    return the_run->report.size();
  });
}

EMSCRIPTEN_KEEPALIVE const char* zeptorReport() {
  return the_run->report.data();
}

// The finished run's counts per order class: in total for `range` -1, else
// in spacing range `range` (0 to 3).
EMSCRIPTEN_KEEPALIVE const Count* zeptorCounts(int range) {
  const AccuracyCounts& counts = the_run->counts;
  return range < 0 ? counts.total.data()
                   : counts.by_spacing[static_cast<size_t>(range)].data();
}

// The finished run's worst observations, at most kWorstPairLimit: how
// many, the bytes of their CSV (zeptorObservationCsvSize() of them), where
// each row starts in it and each row's order class, one 32-bit and one
// 8-bit word a row, and the rows' numbers worst first, 32 bits each.
EMSCRIPTEN_KEEPALIVE size_t zeptorObservationCount() {
  return the_run->observations.row_starts.size();
}
EMSCRIPTEN_KEEPALIVE const char* zeptorObservationCsv() {
  return the_run->observations.csv.data();
}
EMSCRIPTEN_KEEPALIVE size_t zeptorObservationCsvSize() {
  return the_run->observations.csv.size();
}
EMSCRIPTEN_KEEPALIVE const std::uint32_t* zeptorRowStarts() {
  return the_run->observations.row_starts.data();
}
EMSCRIPTEN_KEEPALIVE const std::uint8_t* zeptorRowClasses() {
  return the_run->observations.row_classes.data();
}
EMSCRIPTEN_KEEPALIVE const std::uint32_t* zeptorWorstFirst() {
  return the_run->observations.worst_first.data();
}

// What the page names and counts, as zeptor does: the order classes and
// their labels ("11" to "52", "low"), the spacing ranges and their names
// in a row, and the number of observations a run keeps.
EMSCRIPTEN_KEEPALIVE size_t zeptorClassCount() { return kOrderClassCount; }
EMSCRIPTEN_KEEPALIVE const char* zeptorClassLabel(size_t c) {
  return kClassLabels[c].c_str();
}
EMSCRIPTEN_KEEPALIVE size_t zeptorSpacingRangeCount() {
  return kSpacingBinCount;
}
EMSCRIPTEN_KEEPALIVE const char* zeptorSpacingRangeName(size_t range) {
  return spacingRangeName(range).data();  // a literal: a NUL ends it
}
EMSCRIPTEN_KEEPALIVE size_t zeptorWorstPairLimit() { return kWorstPairLimit; }

}  // extern "C"
