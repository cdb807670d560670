#include "report/fatal.h"

#include <cstdlib>

namespace {
ExitHook exit_hook = nullptr;
}  // namespace

void exitRun(ExitStatus status) {
  if (exit_hook != nullptr) exit_hook(status);
  std::exit(status);
}

void setExitHook(ExitHook hook) { exit_hook = hook; }
