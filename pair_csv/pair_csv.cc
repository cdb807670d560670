#include "pair_csv/pair_csv.h"

#include <charconv>
#include <cstring>

#include "pair_csv/shortest_number.h"

namespace {

constexpr std::string_view kSpacingRanges[kSpacingBinCount] = {
    "<25km", "25km-100km", "100km-250km", ">=250km"};

char* appendText(std::string_view text, char* out) {
  std::memcpy(out, text.data(), text.size());
  return out + text.size();
}

char* appendCount(Count count, char* out) {
  return std::to_chars(out, out + 20, count).ptr;
}

}  // namespace

std::string_view spacingRangeName(size_t bin) { return kSpacingRanges[bin]; }

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
