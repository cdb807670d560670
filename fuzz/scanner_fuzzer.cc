// libFuzzer target: scans arbitrary bytes with the real scanner and with a
// plain line-by-line model of it, and requires both to agree on the
// counts, the version lines and the fatal status.

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

#include "fuzz/fatal_exit_throws.h"
#include "report/decimal.h"
#include "report/scanner.h"
#include "support/trim.h"

namespace {

// Small, so that inputs of a few hundred bytes reach the code for lines
// longer than a block.
constexpr size_t kBlockSize = 128;

struct Result {
  AccuracyCounts counts;
  std::string report;
  int status = 0;
};

std::string field(const std::string& line, size_t column, size_t width) {
  return column < line.size() ? line.substr(column, width) : std::string();
}

// The model: every line through getline, every rule spelled out.
Result modelScan(const std::string& text) {
  Result result;
  std::istringstream input(text);
  std::string line;
  std::getline(input, line);  // never examined
  int offset = -10;
  std::string version;
  double km = 0, scaled = 0;
  bool spacing_pending = true, error_pending = true;
  while (std::getline(input, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (offset < 0) {
      std::string head = field(line, 0, 20);
      if (trim(head, 'B') == "PROGRAM OMBRIX") {
        if (line[0] == ' ') {
          offset = 1;
        } else if (line[0] == 'P') {
          offset = 0;
        } else {
          result.status = 5;
          return result;
        }
      }
    }
    if (version.empty() && line.size() > 65) {
      if (offset < 0) {
        result.status = 7;
        return result;
      }
      if (field(line, static_cast<size_t>(offset) + 57, 7) == "VERSION") {
        version = line.substr(66);
        trim(version, 'B');
        result.report += "Ombrix version:      " + version + "\n";
      }
    }
    if (offset < 0) continue;
    const size_t o = static_cast<size_t>(offset);
    if (line.size() > 17 && line.size() > o + 22 &&
        field(line, o + 8, 9) == "DISTANCE=") {
      km = readDecimal(field(line, o + 22, 12)) * 0.001;
      spacing_pending = false;
    }
    if (line.size() > 18 && line.size() > o + 56 &&
        field(line, o + 8, 10) == "VERT.ANG.=") {
      scaled = (readDecimal(field(line, o + 56, 6)) * 1.96) * 1000;
      error_pending = false;
    }
    if (!spacing_pending && !error_pending) {
      spacing_pending = error_pending = true;
      result.counts.add(scaled / std::sqrt(km), km);
    }
  }
  return result;
}

Result realScan(const std::string& text) {
  Result result;
  std::istringstream input(text);
  std::ostringstream report;
  try {
    if (!Scan(input, report, &result.counts, kBlockSize)) std::abort();
  } catch (const FatalExit& fatal) {
    result.status = fatal.status;
  }
  result.report = report.str();
  return result;
}

void print(const char* name, const Result& result) {
  std::fprintf(stderr, "%s: status %d, report \"%s\", totals", name,
               result.status, result.report.c_str());
  for (Count count : result.counts.total) {
    std::fprintf(stderr, " %llu", static_cast<unsigned long long>(count));
  }
  std::fprintf(stderr, "\n");
}

// Reports both results and stops the fuzzer.
[[noreturn]] void disagree(const Result& real, const Result& model) {
  print("scanner", real);
  print("model", model);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const Result real = realScan(text);
  const Result model = modelScan(text);
  if (real.status != model.status) disagree(real, model);
  if (real.status != 0) return 0;
  if (real.report != model.report || real.counts.total != model.counts.total ||
      real.counts.by_spacing != model.counts.by_spacing) {
    disagree(real, model);
  }
  return 0;
}
