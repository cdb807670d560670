#ifndef ZEPTOR_REPORT_RUN_EXIT_H_
#define ZEPTOR_REPORT_RUN_EXIT_H_

#include <new>
#include <string>

#include "report/scanner.h"

// How a run ends when its print file cannot give a report: each failure's
// message on the error stream and its status. The command line and the page
// end their runs through these alone, so that both say the same.

// Ends the run unless `outcome` is a complete scan.
void exitUnlessComplete(ScanOutcome outcome);

// Ends the run after a read error on the input, named `name`.
[[noreturn]] void failReadingInput(const std::string& name);

// Ends the run when memory ran out.
[[noreturn]] void failOutOfMemory();

// Returns what `step()` returns; memory running out in it ends the run.
template <typename Step>
auto unlessOutOfMemory(Step step) -> decltype(step()) {
  try {
    return step();
  } catch (const std::bad_alloc&) {
    failOutOfMemory();
  }
}

#endif  // ZEPTOR_REPORT_RUN_EXIT_H_
