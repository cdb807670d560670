#include "support/fatal_exit.h"

#include <cstdlib>
#include <iostream>

void exitWithError(int status, std::string_view message,
                   std::initializer_list<std::string_view> details) {
  // Only literals and views are written: a run that ran out of memory can
  // still say so.
  std::cerr << "Error: " << message << std::endl;
  for (std::string_view detail : details) {
    std::cerr << "       " << detail << std::endl;
  }
  std::exit(status);
}
