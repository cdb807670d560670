// zeptor: the ellipsoid-height order-class accuracy distribution of an
// OMBRIX print file, written to standard output and to an output file.

#include <csignal>
#include <fstream>
#include <iostream>
#include <new>
#include <optional>
#include <sstream>

#include "report/order_class.h"
#include "report/report_tables.h"
#include "report/run_files.h"
#include "report/run_setup.h"
#include "report/scanner.h"
#include "report/version.h"
#include "support/date.h"
#include "support/fatal_exit.h"

[[gnu::used]] static const char kModuleId[] =
    "@(#)zeptor\t" ZEPTOR_VERSION "\t" ZEPTOR_DATE " QXT";

namespace {

[[noreturn]] void failOutOfMemory() {
  exitWithError(kExitFailure, "Not enough memory to finish the report",
                {"Check available memory."});
}

int run(int argc, char** argv) {
  std::ostringstream report;
  writeBanner(std::cout);
  const std::optional<RunParameters> params =
      getParameters(argc, argv, std::cin, std::cout);
  if (!params) {
    writeHelp(std::cerr);
    return kExitFailure;
  }
  std::ifstream input;
  openInput(params->input_name, &input);
  std::ofstream output;
  openOutput(params->output_name, params->input_name, &output);

  writeIdentification(Date(), *params, report);
  AccuracyCounts counts;
  if (!Scan(input, report, &counts)) failReadingInput(params->input_name);
  input.close();
  writeTables(counts, report);
  // A stream drops what it cannot allocate room for and goes bad; such a
  // report is incomplete.
  if (!report) failOutOfMemory();
  deliverReport(report.str(), params->output_name, &output);

  std::cout << std::endl << "Normal end of program zeptor" << std::endl;
  checkStandardOutput();
  return kExitNormal;
}

}  // namespace

int main(int argc, char** argv) {
  // A closed standard output must not end the run before the output file
  // has the report; the failed write is reported instead.
  std::signal(SIGPIPE, SIG_IGN);
  try {
    return run(argc, argv);
  } catch (const std::bad_alloc&) {
    failOutOfMemory();
  }
}
