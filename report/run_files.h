#ifndef ZEPTOR_REPORT_RUN_FILES_H_
#define ZEPTOR_REPORT_RUN_FILES_H_

#include <fstream>
#include <string>

// Opens the print file for reading. A name that cannot be opened, or that
// names a directory, ends the process with status 1.
void openInput(const std::string& name, std::ifstream* input);

// Creates or truncates the output file. Ends the process with status 1,
// before anything is truncated, when it names the input (which would be
// destroyed before it is read) or the regular file that standard output
// writes to (the two copies of the report would overwrite each other);
// likewise when it cannot be created.
void openOutput(const std::string& name, const std::string& input_name,
                std::ofstream* output);

// Ends the process with status 1 after a read error on the input.
[[noreturn]] void failReadingInput(const std::string& name);

// Writes the report to standard output, then to the output file, and closes
// the file. A failed write to the file ends the process with status 1.
void deliverReport(const std::string& report, const std::string& output_name,
                   std::ofstream* output);

// Ends the process with status 1 if anything written to standard output
// was lost.
void checkStandardOutput();

#endif  // ZEPTOR_REPORT_RUN_FILES_H_
