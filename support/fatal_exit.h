#ifndef ZEPTOR_SUPPORT_FATAL_EXIT_H_
#define ZEPTOR_SUPPORT_FATAL_EXIT_H_

#include <initializer_list>
#include <string_view>

// The process exit statuses that every run may end with; a front end may
// add its own.
enum ExitStatus : int {
  kExitNormal = 0,
  kExitFailure = 1,  // help, parameters, files, memory, data range
};

// Writes a fatal message to the error stream, "Error: " and `message` on the
// first line and each of `details` on a line of its own indented by seven
// blanks, then ends the process at once with `status`. Nothing is unwound.
// Every fatal error ends the run through it: DataOutOfRangeException, how
// a run ends (report/run_exit.h) and the front ends' own checks of files,
// streams and arguments.
[[noreturn]] void exitWithError(
    int status, std::string_view message,
    std::initializer_list<std::string_view> details = {});

#endif  // ZEPTOR_SUPPORT_FATAL_EXIT_H_
