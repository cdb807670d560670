// zeptor-pairs: every observation pair that zeptor counts in an OMBRIX print
// file, with its lines, values, ratio and class, as CSV on standard output.

#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "pairs/pair_listing.h"
#include "pairs/pairs_command_line.h"
#include "report/run_exit.h"
#include "report/scanner.h"
#include "support/fatal_exit.h"
#include "system_io/platform_console.h"
#include "system_io/run_files.h"

namespace {

int run(const std::vector<std::string>& words) {
  const PairsCommand command = readPairsCommand(words);
  if (command.kind == PairsCommand::kHelp) {
    writePairsUsage(std::cout);
    return kExitNormal;
  }
  if (command.kind == PairsCommand::kUsage) {
    writePairsUsage(std::cerr);
    return kExitFailure;
  }
  const std::optional<size_t> worse_than = worseThanClass(command.order_class);
  InputFile input = openInput(command.input_name);
  const FileStatus standard_output = identifyStandardOutput();
  refuseInputAsStandardOutput(input, standard_output, command.input_name);

  PairListing listing(worse_than);
  const ScanResult scan = scanInput(&input, command.input_name, &listing);
  exitUnlessComplete(scan.outcome);
  listing.finish();
  return kExitNormal;
}

}  // namespace

int main(int argc, char** argv) {
  prepareStandardStreams();
  return unlessOutOfMemory([&] { return run(commandLine(argc, argv)); });
}
