// The page's run of zeptor, one per print file and program instance: the
// worker starts it with the file's name, feeds it the file in slices and
// finishes it, then reads back the report, its counts and the observations
// with the highest ratios. Every failure
// ends the run as it ends the command line's, with the same message on the
// error stream and the same exit status; the output file is the page's
// download, never the print file, so no run needs refusing for that.

#include <emscripten/emscripten.h>

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "report/order_class.h"
#include "report/report.h"
#include "report/run_exit.h"
#include "report/run_parameters.h"
#include "report/scanner.h"
#include "report/worst_pairs.h"
#include "support/date.h"

namespace {

// The observations a run keeps for the page to show and list, whatever the
// file's size: about 3 MiB here and as much again in the page. (With
// 100,000, WebKit's page grew by up to 31.8 MiB on a 300 MB file, against
// a bound of 32; view.js says the same number.)
constexpr size_t kKeptPairs = 50000;

// The worker reads the kept pairs where they lie, a CountedPair at a time:
// seven 8-byte words, the two line numbers first, then the four numbers,
// then the class and the spacing range as two 4-byte words.
static_assert(sizeof(CountedPair) == 56 && offsetof(CountedPair, ratio) == 40 &&
                  offsetof(CountedPair, counted) == 48 &&
                  sizeof(Classification) == 8,
              "the worker reads the kept pairs in another layout");

struct PageRun {
  PageRun(RunParameters run_params, size_t slice_bytes)
      : params(std::move(run_params)), slice(slice_bytes) {}

  const RunParameters params;
  const Date run_time;  // the run's start, before the file is read
  WorstPairs worst{kKeptPairs};
  Scanner scanner{&worst};
  std::vector<char> slice;  // where the worker puts each slice
  std::string report;
  AccuracyCounts counts;
  const std::vector<CountedPair>* kept = nullptr;  // once finished
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
    the_run->kept = &the_run->worst.highest();
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

// How many observations the finished run kept: those with the highest
// ratios, at most kKeptPairs.
EMSCRIPTEN_KEEPALIVE size_t zeptorKeptCount() { return the_run->kept->size(); }

// The kept observations, in no particular order.
EMSCRIPTEN_KEEPALIVE const CountedPair* zeptorKept() {
  return the_run->kept->data();
}

// The report's label of order class `c` (0 to 10).
EMSCRIPTEN_KEEPALIVE const char* zeptorClassLabel(size_t c) {
  return kOrderClasses[c].label;
}

}  // extern "C"
