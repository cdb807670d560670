#include "pairs/pair_listing.h"

#include <cstring>

#include "pair_csv/pair_csv.h"
#include "system_io/platform_files.h"
#include "system_io/run_files.h"

namespace {

// Enough for many rows: each write is a system call.
constexpr size_t kBufferSize = 64 * 1024;

}  // namespace

PairListing::PairListing(std::optional<size_t> worse_than)
    : first_listed_(worse_than ? *worse_than + 1 : 0), buffer_(kBufferSize) {
  std::memcpy(buffer_.data(), kPairCsvHeader.data(), kPairCsvHeader.size());
  held_ = kPairCsvHeader.size();
}

void PairListing::take(const CountedPair& pair) {
  if (pair.counted.order_class < first_listed_) return;
  if (buffer_.size() - held_ < kPairRowMax) flush();
  char* const start = buffer_.data() + held_;
  held_ += static_cast<size_t>(appendPairRow(pair, start) - start);
}

void PairListing::flush() {
  if (!writeStandardOutputBytes(std::string_view(buffer_.data(), held_))) {
    failWritingStandardOutput();
  }
  held_ = 0;
}
