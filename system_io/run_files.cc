#include "system_io/run_files.h"

#include <iostream>
#include <optional>

#include "report/run_exit.h"
#include "support/fatal_exit.h"
#include "system_io/read_block.h"

namespace {

[[noreturn]] void failFindingInput(const std::string& name) {
  exitWithError(kExitFailure, "Cannot find input file:  " + name);
}

[[noreturn]] void failCreatingOutput(const std::string& name) {
  exitWithError(kExitFailure, "Cannot create output file:  " + name,
                {"Check available memory."});
}

// Why an opened output file cannot be written to.
enum class Refusal { kNone, kUnknownFile, kInput, kStandardOutput };

// Only a regular file can be both: a terminal or a pipe is no file of the
// run's.
bool isStandardOutput(const FileIdentity& file,
                      const FileStatus& standard_output) {
  return standard_output.kind == FileKind::kRegular &&
         file == standard_output.identity;
}

Refusal refusalOf(const std::optional<FileStatus>& output,
                  const FileIdentity& input,
                  const FileStatus& standard_output) {
  if (!output) return Refusal::kUnknownFile;
  if (output->identity == input) return Refusal::kInput;
  if (isStandardOutput(output->identity, standard_output)) {
    return Refusal::kStandardOutput;
  }
  return Refusal::kNone;
}

[[noreturn]] void refuseOutput(Refusal refusal, const std::string& name) {
  switch (refusal) {
    case Refusal::kInput:
      exitWithError(kExitFailure,
                    "Input and output are the same file:  " + name,
                    {"Fix and run again"});
    case Refusal::kStandardOutput:
      exitWithError(kExitFailure,
                    "Output file is also standard output:  " + name,
                    {"Fix and run again"});
    default:
      failCreatingOutput(name);
  }
}

}  // namespace

InputFile openInput(const std::string& name) {
  const std::optional<std::filesystem::path> path = pathOf(name);
  if (!path) failFindingInput(name);
  std::optional<SystemFile> file = SystemFile::forReading(*path);
  if (!file) failFindingInput(name);
  const std::optional<FileStatus> status = file->status();
  if (!status) failReadingInput(name);
  // A directory opens for reading on some systems but yields no lines.
  if (status->kind == FileKind::kDirectory) failFindingInput(name);
  return InputFile{std::move(*file), status->identity};
}

void failWritingStandardOutput() {
  exitWithError(kExitFailure, "Cannot write to standard output");
}

void refuseInputAsStandardOutput(const InputFile& input,
                                 const FileStatus& standard_output,
                                 const std::string& name) {
  if (isStandardOutput(input.identity, standard_output)) {
    exitWithError(kExitFailure, "Input file is also standard output:  " + name,
                  {"Fix and run again"});
  }
}

FileStatus identifyStandardOutput() {
  const std::optional<FileStatus> status = standardOutputStatus();
  if (!status) failWritingStandardOutput();
  return *status;
}

SystemFile openOutput(const std::string& name, const FileIdentity& input,
                      const FileStatus& standard_output) {
  const std::optional<std::filesystem::path> path = pathOf(name);
  if (!path) failCreatingOutput(name);
  bool created = false;
  std::optional<SystemFile> file = SystemFile::forWriting(*path, &created);
  if (!file) failCreatingOutput(name);
  const std::optional<FileStatus> status = file->status();
  const Refusal refusal = refusalOf(status, input, standard_output);
  // Only a regular file has a length to cut (not /dev/full, a pipe).
  if (refusal != Refusal::kNone ||
      (status->kind == FileKind::kRegular && !file->truncate())) {
    // A refusal leaves the file as it was, and creates nothing.
    file->close();
    if (created) removeFile(*path);
    refuseOutput(refusal, name);
  }
  return std::move(*file);
}

ScanResult scanInput(InputFile* input, const std::string& name,
                     PairSink* pairs) {
  const ReadBlock block;
  Scanner scanner(pairs);
  while (!scanner.stopped()) {
    const std::optional<size_t> count =
        input->file.read(block.data(), ReadBlock::kSize);
    if (!count) failReadingInput(name);
    if (*count == 0) break;
    scanner.feed(std::string_view(block.data(), *count));
  }
  return scanner.finish();
}

void ensureStandardOutputWritten() {
  std::cout.flush();
  if (!std::cout) failWritingStandardOutput();
}
