#include "report/run_exit.h"

#include <string_view>

#include "support/fatal_exit.h"

namespace {

[[noreturn]] void failOffsetControl(int status, std::string_view detail) {
  exitWithError(status, "Not able to determine offset control", {detail});
}

}  // namespace

void exitUnlessComplete(ScanOutcome outcome) {
  switch (outcome) {
    case ScanOutcome::kComplete:
      return;
    case ScanOutcome::kOffsetMagic:
      failOffsetControl(kExitOffsetMagic, "See programmer(5).  Program ends");
    case ScanOutcome::kOffsetMissing:
      failOffsetControl(kExitOffsetMissing, "See programmer(7).  Program ends");
  }
}

void failReadingInput(const std::string& name) {
  exitWithError(kExitFailure, "Cannot read input file:  " + name);
}

void failOutOfMemory() {
  exitWithError(kExitFailure, "Not enough memory to finish the report",
                {"Check available memory."});
}
