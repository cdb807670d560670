#ifndef ZEPTOR_REPORT_RUN_FILES_H_
#define ZEPTOR_REPORT_RUN_FILES_H_

#include <streambuf>
#include <string>

#include "report/platform_files.h"

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

// Opens the output file, creating it when missing, and only then truncates
// it, after refusing a file that is the input (which would be destroyed
// before it is read) or the regular file that standard output writes to
// (the two copies of the report would overwrite each other). A file created
// for the run and then refused is removed again.
SystemFile openOutput(const std::string& name, const FileIdentity& input,
                      const FileStatus& standard_output);

// Ends the process after a read error on the input.
[[noreturn]] void failReadingInput(const std::string& name);

// Writes the report to standard output, then to the output file, and closes
// the file. A failed write to the file ends the process.
void deliverReport(const std::string& report, const std::string& output_name,
                   SystemFile* output);

// Ends the process if anything written to standard output was lost.
void checkStandardOutput();

// The stream buffer the scanner reads an open file through; a read error
// is thrown, so that the stream reading it goes bad.
class FileReadBuffer : public std::streambuf {
 public:
  explicit FileReadBuffer(SystemFile* file) : file_(file) {}

 protected:
  int_type underflow() override;
  std::streamsize xsgetn(char* buffer, std::streamsize size) override;

 private:
  // Returns how many bytes were read into `buffer`, 0 at the end.
  size_t readSome(char* buffer, size_t size);

  SystemFile* file_;
  char byte_ = 0;  // underflow()'s one-byte buffer
};

#endif  // ZEPTOR_REPORT_RUN_FILES_H_
