// The fuzzer's fatal-exit routine: instead of ending the process it throws
// the status, which the harness catches, so that one process survives every
// fatal input. The message is not written; it would flood the log.

#include "fuzz/fatal_exit_throws.h"

void exitWithError(ExitStatus status, std::string_view,
                   std::initializer_list<std::string_view>) {
  throw FatalExit{status};
}
