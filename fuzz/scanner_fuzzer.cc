// libFuzzer target: scans arbitrary bytes with the real scanner, fed in
// blocks cut at points drawn from the input itself, and with a plain
// line-by-line model of it, and requires both to agree on the counts, the
// version lines, the outcome and the lines of every pair; the pairs the
// scanner hands on must add up to its counts, class by class.

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "report/decimal.h"
#include "report/scanner.h"
#include "support/trim.h"

namespace {

std::string field(const std::string& line, size_t column, size_t width) {
  return column < line.size() ? line.substr(column, width) : std::string();
}

// The model's own order classes and spacing bins, as literal bounds.
size_t modelClass(double ratio) {
  static const double kBelow[] = {0.5, 0.7, 1.0, 1.3, 2, 3, 6, 15, 30, 60};
  size_t c = 0;
  while (c < 10 && !(ratio < kBelow[c]) && !std::isnan(ratio)) ++c;
  return c;
}

size_t modelBin(double km) {
  if (std::isnan(km) || km < 25) return 0;
  return km < 100 ? 1 : km < 250 ? 2 : 3;
}

// The numbers of a pair's distance and error lines.
using PairLines = std::pair<Count, Count>;

// The pairs a scan hands on, added up as the report counts them.
struct PairTally : PairSink {
  void take(const CountedPair& pair) override {
    const size_t c = pair.counted.order_class;
    ++counts.total[c];
    ++counts.by_spacing[pair.counted.spacing_bin][c];
    lines.emplace_back(pair.distance_line, pair.error_line);
    // The class and range of the ratio and spacing handed on.
    if (c != modelClass(pair.ratio) ||
        pair.counted.spacing_bin != modelBin(pair.distance_m * 0.001)) {
      std::fprintf(stderr, "pair of lines %llu and %llu misclassified\n",
                   static_cast<unsigned long long>(pair.distance_line),
                   static_cast<unsigned long long>(pair.error_line));
      std::abort();
    }
  }

  AccuracyCounts counts;
  std::vector<PairLines> lines;
};

// The model: every line through getline, every rule spelled out. Lines are
// numbered from 1, and the lines of each pair go to `pair_lines`.
ScanResult modelScan(const std::string& text,
                     std::vector<PairLines>* pair_lines) {
  ScanResult result;
  std::istringstream input(text);
  std::string line;
  std::getline(input, line);  // never examined
  Count number = 1;
  int offset = -10;
  double km = 0, scaled = 0;
  Count spacing_line = 0, error_line = 0;
  bool spacing_pending = true, error_pending = true;
  while (std::getline(input, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (offset < 0) {
      std::string head = field(line, 0, 20);
      if (trim(head, 'B') == "PROGRAM OMBRIX") {
        if (line[0] == ' ') {
          offset = 1;
        } else if (line[0] == 'P') {
          offset = 0;
        } else {
          result.outcome = ScanOutcome::kOffsetMagic;
          return result;
        }
      }
    }
    if (offset < 0) {
      if (line.size() > 65) {
        result.outcome = ScanOutcome::kOffsetMissing;
        return result;
      }
      continue;
    }
    const size_t o = static_cast<size_t>(offset);
    if (line.size() > 17 && line.size() > o + 22 &&
        field(line, o + 8, 9) == "DISTANCE=") {
      km = readDecimal(field(line, o + 22, 12)) * 0.001;
      spacing_line = number;
      spacing_pending = false;
    }
    if (line.size() > 18 && line.size() > o + 56 &&
        field(line, o + 8, 10) == "VERT.ANG.=") {
      scaled = (readDecimal(field(line, o + 56, 6)) * 1.96) * 1000;
      error_line = number;
      error_pending = false;
    }
    if (!spacing_pending && !error_pending) {
      spacing_pending = error_pending = true;
      const size_t c = modelClass(scaled / std::sqrt(km));
      ++result.counts.total[c];
      ++result.counts.by_spacing[modelBin(km)][c];
      pair_lines->emplace_back(spacing_line, error_line);
    }
    if (result.version.empty() && line.size() > 65 &&
        field(line, o + 57, 7) == "VERSION") {
      result.version = line.substr(66);
      trim(result.version, 'B');
      if (result.version.empty()) ++result.blank_versions;
    }
  }
  return result;
}

void print(const char* name, const ScanResult& result) {
  std::fprintf(stderr,
               "%s: outcome %d, %zu blank versions, version \"%s\", totals",
               name, static_cast<int>(result.outcome), result.blank_versions,
               result.version.c_str());
  for (Count count : result.counts.total) {
    std::fprintf(stderr, " %llu", static_cast<unsigned long long>(count));
  }
  std::fprintf(stderr, "\n");
}

bool same(const ScanResult& a, const ScanResult& b) {
  if (a.outcome != b.outcome) return false;
  // A fatal scan stops where it is; only its outcome counts.
  if (a.outcome != ScanOutcome::kComplete) return true;
  return a.blank_versions == b.blank_versions && a.version == b.version &&
         a.counts.total == b.counts.total &&
         a.counts.by_spacing == b.counts.by_spacing;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  // Blocks of 1 to 2 heads' bytes, so that inputs of a few hundred bytes
  // reach the code for lines longer than a block; the same input is always
  // cut alike.
  std::minstd_rand random(
      static_cast<std::uint_fast32_t>(std::hash<std::string>()(text) | 1));
  std::uniform_int_distribution<size_t> block_size(1, 2 * Scanner::kHeadSize);
  PairTally pairs;
  Scanner scanner(&pairs);
  for (size_t start = 0; start < size;) {
    const size_t block = block_size(random);
    scanner.feed(std::string_view(text).substr(start, block));
    start += block;
  }
  const ScanResult real = scanner.finish();
  std::vector<PairLines> model_lines;
  const ScanResult model = modelScan(text, &model_lines);
  if (!same(real, model)) {
    print("scanner", real);
    print("model", model);
    std::abort();
  }
  if (real.outcome == ScanOutcome::kComplete &&
      (pairs.counts.total != real.counts.total ||
       pairs.counts.by_spacing != real.counts.by_spacing ||
       pairs.lines != model_lines)) {
    print("pairs handed on", ScanResult{pairs.counts, 0, "", real.outcome});
    print("scanner", real);
    std::fprintf(stderr, "%zu pairs handed on, %zu in the model\n",
                 pairs.lines.size(), model_lines.size());
    std::abort();
  }
  return 0;
}
