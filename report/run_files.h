#ifndef ZEPTOR_REPORT_RUN_FILES_H_
#define ZEPTOR_REPORT_RUN_FILES_H_

#include <string>

#include "report/platform_files.h"
#include "report/scanner.h"

// The run's file steps. Each failure ends the process with status 1 and
// its message; a file's identity is read from the opened file, and one
// that cannot be read refuses the run.

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
FileStatus checkStandardOutputFile();

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

// Writes the report to standard output, then to the output file, and closes
// the file. A failed write to the file ends the process.
void deliverReport(const std::string& report, const std::string& output_name,
                   SystemFile* output);

// Ends the process if anything written to standard output was lost.
void checkStandardOutput();

// Ends the process: standard output cannot be written to.
[[noreturn]] void failWritingStandardOutput();

#endif  // ZEPTOR_REPORT_RUN_FILES_H_
