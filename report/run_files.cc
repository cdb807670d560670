#include "report/run_files.h"

#include <sys/stat.h>

#include <iostream>

#include "report/fatal.h"

namespace {

// True when both names lead to one file (the same name, a hard link, or a
// symbolic link); false when either does not exist.
bool sameFile(const std::string& a, const std::string& b) {
  struct stat a_stat;
  struct stat b_stat;
  return stat(a.c_str(), &a_stat) == 0 && stat(b.c_str(), &b_stat) == 0 &&
         a_stat.st_dev == b_stat.st_dev && a_stat.st_ino == b_stat.st_ino;
}

bool isDirectory(const std::string& name) {
  struct stat name_stat;
  return stat(name.c_str(), &name_stat) == 0 && S_ISDIR(name_stat.st_mode);
}

}  // namespace

void openInput(const std::string& name, std::ifstream* input) {
  // A directory opens for reading on some systems but yields no lines.
  if (!isDirectory(name)) input->open(name, std::ios::in | std::ios::binary);
  if (!input->is_open()) {
    std::cerr << "Error: Cannot find input file:  " << name << std::endl;
    exitRun(kExitFailure);
  }
}

void openOutput(const std::string& name, const std::string& input_name,
                std::ofstream* output) {
  if (sameFile(name, input_name)) {
    std::cerr << "Error: Input and output are the same file:  " << name
              << std::endl
              << "       Fix and run again" << std::endl;
    exitRun(kExitFailure);
  }
  output->open(name, std::ios::out | std::ios::trunc);
  if (!output->is_open()) {
    std::cerr << "Error: Cannot create output file:  " << name << std::endl
              << "       Check available memory." << std::endl;
    exitRun(kExitFailure);
  }
}

void failReadingInput(const std::string& name) {
  std::cerr << "Error: Cannot read input file:  " << name << std::endl;
  exitRun(kExitFailure);
}

void deliverReport(const std::string& report, const std::string& output_name,
                   std::ofstream* output) {
  std::cout << report << std::flush;
  *output << report;
  output->close();
  if (output->fail()) {
    std::cerr << "Error: Cannot write output file:  " << output_name
              << std::endl
              << "       Check available disk space." << std::endl;
    exitRun(kExitFailure);
  }
}

void checkStandardOutput() {
  std::cout.flush();
  if (!std::cout) {
    std::cerr << "Error: Cannot write to standard output" << std::endl;
    exitRun(kExitFailure);
  }
}
