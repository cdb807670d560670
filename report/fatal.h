#ifndef ZEPTOR_REPORT_FATAL_H_
#define ZEPTOR_REPORT_FATAL_H_

// The process exit statuses of a run.
enum ExitStatus : int {
  kExitNormal = 0,
  kExitFailure = 1,        // parameters, files, data range
  kExitOffsetMagic = 5,    // magic line with an unknown first character
  kExitOffsetMissing = 7,  // long line before the magic line
};

// Ends the process at once with `status`; the caller has already written its
// message. Nothing is unwound.
[[noreturn]] void exitRun(ExitStatus status);

// A function that exitRun() calls before it ends the process. The program
// leaves it unset; a test or fuzz harness sets one that leaves by throwing,
// so that one process survives many fatal inputs.
using ExitHook = void (*)(ExitStatus status);
void setExitHook(ExitHook hook);

#endif  // ZEPTOR_REPORT_FATAL_H_
