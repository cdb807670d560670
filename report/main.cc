// zeptor: the ellipsoid-height order-class accuracy distribution of an
// OMBRIX print file, written to standard output and to an output file.

#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "report/command_line.h"
#include "report/report.h"
#include "report/run_exit.h"
#include "report/scanner.h"
#include "report/version.h"
#include "support/date.h"
#include "support/fatal_exit.h"
#include "system_io/platform_console.h"
#include "system_io/run_files.h"

[[gnu::used]] static const char kModuleId[] =
    "@(#)zeptor\t" ZEPTOR_VERSION "\t" ZEPTOR_DATE " QXT";

namespace {

// Writes the report to standard output, then to the output file, and closes
// the file. A failed write to the file ends the process.
void deliverReport(const std::string& report, const std::string& output_name,
                   SystemFile* output) {
  std::cout << report << std::flush;
  const bool written = output->write(report);
  if (!output->close() || !written) {
    exitWithError(kExitFailure, "Cannot write output file:  " + output_name,
                  {"Check available disk space."});
  }
}

int run(const std::vector<std::string>& command_line) {
  writeBanner(std::cout);
  const std::optional<RunParameters> params =
      getParameters(command_line, std::cin, std::cout);
  if (!params) {
    writeHelp(std::cerr);
    return kExitFailure;
  }
  InputFile input = openInput(params->input_name);
  const FileStatus standard_output = identifyStandardOutput();
  SystemFile output =
      openOutput(params->output_name, input.identity, standard_output);

  // The run's time is its start, before the file is read.
  const Date run_time;
  const ScanResult scan = scanInput(&input, params->input_name);
  exitUnlessComplete(scan.outcome);
  input.file.close();
  deliverReport(reportText(*params, run_time, scan), params->output_name,
                &output);

  std::cout << std::endl << "Normal end of program zeptor" << std::endl;
  ensureStandardOutputWritten();
  return kExitNormal;
}

}  // namespace

int main(int argc, char** argv) {
  prepareStandardStreams();
  return unlessOutOfMemory([&] { return run(commandLine(argc, argv)); });
}
