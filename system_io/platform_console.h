#ifndef ZEPTOR_SYSTEM_IO_PLATFORM_CONSOLE_H_
#define ZEPTOR_SYSTEM_IO_PLATFORM_CONSOLE_H_

#include <string>
#include <vector>

// The standard streams and the command line, the part of the run that
// differs between platforms.

// Prepares the standard streams for the run: a failed write to standard
// output must come back as an error rather than end the process (SIGPIPE),
// and names must pass through a console unchanged (UTF-8 on Windows).
void prepareStandardStreams();

// Returns the command line's words, the program's name first; on Windows in
// UTF-8, whatever the code page.
std::vector<std::string> commandLine(int argc, char** argv);

#endif  // ZEPTOR_SYSTEM_IO_PLATFORM_CONSOLE_H_
