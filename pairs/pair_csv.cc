#include "pairs/pair_csv.h"

#include <charconv>
#include <cstring>

#include "pairs/shortest_number.h"
#include "report/platform_files.h"
#include "report/run_files.h"

namespace {

constexpr std::string_view kSpacingRanges[kSpacingBinCount] = {
    "<25km", "25km-100km", "100km-250km", ">=250km"};

// Enough for many rows: each write is a system call.
constexpr size_t kBufferSize = 64 * 1024;

char* appendText(std::string_view text, char* out) {
  std::memcpy(out, text.data(), text.size());
  return out + text.size();
}

char* appendCount(Count count, char* out) {
  return std::to_chars(out, out + 20, count).ptr;
}

}  // namespace

char* appendPairRow(const CountedPair& pair, char* out) {
  out = appendCount(pair.distance_line, out);
  *out++ = ',';
  out = appendCount(pair.error_line, out);
  for (double value :
       {pair.distance_m, pair.standard_error_m, pair.accuracy_mm, pair.ratio}) {
    *out++ = ',';
    out = appendShortest(value, out);
  }
  *out++ = ',';
  out = appendText(classCode(pair.counted.order_class), out);
  *out++ = ',';
  out = appendText(kSpacingRanges[pair.counted.spacing_bin], out);
  return appendText("\r\n", out);
}

PairCsvWriter::PairCsvWriter(std::optional<size_t> worse_than)
    : first_listed_(worse_than ? *worse_than + 1 : 0), buffer_(kBufferSize) {
  held_ = static_cast<size_t>(appendText(kPairCsvHeader, buffer_.data()) -
                              buffer_.data());
}

void PairCsvWriter::take(const CountedPair& pair) {
  if (pair.counted.order_class < first_listed_) return;
  if (buffer_.size() - held_ < kPairRowMax) flush();
  char* const start = buffer_.data() + held_;
  held_ += static_cast<size_t>(appendPairRow(pair, start) - start);
}

void PairCsvWriter::flush() {
  if (!writeStandardOutputBytes(std::string_view(buffer_.data(), held_))) {
    failWritingStandardOutput();
  }
  held_ = 0;
}
