#include "report/run_files.h"

#include <iostream>
#include <optional>

#include "report/platform_files.h"
#include "support/fatal_exit.h"

namespace {

std::optional<FileIdentity> identifyName(const std::string& name) {
  const std::optional<std::filesystem::path> path = pathOf(name);
  return path ? identifyFile(*path) : std::nullopt;
}

bool sameFile(const std::optional<FileIdentity>& a,
              const std::optional<FileIdentity>& b) {
  return a && b && *a == *b;
}

[[noreturn]] void failCreatingOutput(const std::string& name) {
  exitWithError(kExitFailure, "Cannot create output file:  " + name,
                {"Check available memory."});
}

}  // namespace

void openInput(const std::string& name, std::ifstream* input) {
  const std::optional<std::filesystem::path> path = pathOf(name);
  // A directory opens for reading on some systems but yields no lines.
  if (path && !isDirectory(*path)) {
    input->open(*path, std::ios::in | std::ios::binary);
  }
  if (!input->is_open()) {
    exitWithError(kExitFailure, "Cannot find input file:  " + name);
  }
}

void openOutput(const std::string& name, const std::string& input_name,
                std::ofstream* output) {
  const std::optional<std::filesystem::path> path = pathOf(name);
  if (!path) failCreatingOutput(name);
  const std::optional<FileIdentity> output_file = identifyFile(*path);
  if (sameFile(output_file, identifyName(input_name))) {
    exitWithError(kExitFailure, "Input and output are the same file:  " + name,
                  {"Fix and run again"});
  }
  if (sameFile(output_file, identifyStandardOutput())) {
    exitWithError(kExitFailure, "Output file is also standard output:  " + name,
                  {"Fix and run again"});
  }
  // Text lines: the platform's line ends.
  output->open(*path, std::ios::out | std::ios::trunc);
  if (!output->is_open()) failCreatingOutput(name);
}

void failReadingInput(const std::string& name) {
  exitWithError(kExitFailure, "Cannot read input file:  " + name);
}

void deliverReport(const std::string& report, const std::string& output_name,
                   std::ofstream* output) {
  std::cout << report << std::flush;
  *output << report;
  output->close();
  if (output->fail()) {
    exitWithError(kExitFailure, "Cannot write output file:  " + output_name,
                  {"Check available disk space."});
  }
}

void checkStandardOutput() {
  std::cout.flush();
  if (!std::cout) {
    exitWithError(kExitFailure, "Cannot write to standard output");
  }
}
