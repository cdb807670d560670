#ifndef ZEPTOR_SYSTEM_IO_RUN_FILES_H_
#define ZEPTOR_SYSTEM_IO_RUN_FILES_H_

#include <string>

#include "report/scanner.h"
#include "system_io/platform_files.h"

// The run's file steps. Each failure ends the process with status 1 and
// its message; a file's identity is read from the opened file, and one
// that cannot be read refuses the run.
//
// Both programs open the input first and then ask what standard output
// is, so that a missing input is said before anything else. No file the
// run opens takes the descriptor of a closed standard stream, so neither
// step changes what the other finds.

// The opened print file.
struct InputFile {
  SystemFile file;
  FileIdentity identity;
};

// Opens the print file for reading. A name that cannot be opened, or that
// names a directory, fails as a missing input.
InputFile openInput(const std::string& name);

// Refuses the run when the system cannot tell what standard output writes
// to: the output file might be it. Returns what it writes to.
FileStatus identifyStandardOutput();

// Refuses the run when standard output writes to the print file `input`,
// named `name`: what is written would destroy what is still to be read.
void refuseInputAsStandardOutput(const InputFile& input,
                                 const FileStatus& standard_output,
                                 const std::string& name);

// Opens the output file, creating it when missing, and only then truncates
// it, after refusing a file that is the input (which would be destroyed
// before it is read) or the regular file that standard output writes to
// (the two copies of the report would overwrite each other). A file created
// for the run and then refused is removed again.
SystemFile openOutput(const std::string& name, const FileIdentity& input,
                      const FileStatus& standard_output);

// Reads the print file `input`, named `name`, in blocks and scans them, up
// to its end or to the line that ends the scan, handing every counted pair
// to `pairs` when there is one. A read error ends the process.
ScanResult scanInput(InputFile* input, const std::string& name,
                     PairSink* pairs = nullptr);

// Ends the process if anything written to standard output was lost.
void ensureStandardOutputWritten();

// Ends the process: standard output cannot be written to.
[[noreturn]] void failWritingStandardOutput();

#endif  // ZEPTOR_SYSTEM_IO_RUN_FILES_H_
