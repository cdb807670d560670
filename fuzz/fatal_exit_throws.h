#ifndef ZEPTOR_FUZZ_FATAL_EXIT_THROWS_H_
#define ZEPTOR_FUZZ_FATAL_EXIT_THROWS_H_

#include "support/fatal_exit.h"

// What the fuzzer's exitWithError() throws.
struct FatalExit {
  ExitStatus status;
};

#endif  // ZEPTOR_FUZZ_FATAL_EXIT_THROWS_H_
