#include <csignal>

#include "system_io/platform_console.h"

void prepareStandardStreams() {
  // A closed pipe as standard output must not end the run before the
  // output file has the report; the failed write is reported instead.
  std::signal(SIGPIPE, SIG_IGN);
}

std::vector<std::string> commandLine(int argc, char** argv) {
  return std::vector<std::string>(argv, argv + argc);
}
