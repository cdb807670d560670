// Scans a print file and reports the scan's throughput.
//
//   scan_bench PRINT_FILE [REPEATS]
//
// Prints the best of REPEATS runs (default 5) in MB/s; the file should sit in
// the page cache so that the disk is not measured.

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string_view>
#include <vector>

#include "report/scanner.h"

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::cerr << "usage: scan_bench PRINT_FILE [REPEATS]\n";
    return 2;
  }
  const int repeats = argc == 3 ? std::atoi(argv[2]) : 5;
  double best_seconds = 0;
  std::streamoff bytes = 0;
  Count pairs = 0;
  for (int run = 0; run < repeats; ++run) {
    std::ifstream input(argv[1], std::ios::binary);
    if (!input) {
      std::cerr << "cannot open " << argv[1] << "\n";
      return 1;
    }
    const auto start = std::chrono::steady_clock::now();
    Scanner scanner;
    std::vector<char> block(256 * 1024);
    while (
        input.read(block.data(), static_cast<std::streamsize>(block.size())) ||
        input.gcount() > 0) {
      scanner.feed(
          std::string_view(block.data(), static_cast<size_t>(input.gcount())));
    }
    const ScanResult scan = scanner.finish();
    if (scan.outcome != ScanOutcome::kComplete) return 1;
    const std::chrono::duration<double> took =
        std::chrono::steady_clock::now() - start;
    if (run == 0 || took.count() < best_seconds) best_seconds = took.count();
    input.clear();
    bytes = input.seekg(0, std::ios::end).tellg();
    pairs = 0;
    for (Count c : scan.counts.total) pairs += c;
  }
  std::cout << "scanned " << bytes << " bytes, " << pairs << " pairs in "
            << best_seconds
            << " s: " << static_cast<double>(bytes) / best_seconds / 1e6
            << " MB/s\n";
  return 0;
}
