// The tag-line search and line-end count of CPUs without a vector unit that
// pays here (s390x, WebAssembly): the search one line end at a time through
// memchr, the count a 64-bit word at a time.

#include <cstdint>
#include <cstring>

#include "report/tag_search.h"

const char* findNextTagLine(const char* begin, const char* end, size_t column) {
  const char* limit = newlineLimit(begin, end, column);
  for (const char* p = begin; p < limit; ++p) {
    p = static_cast<const char*>(
        std::memchr(p, '\n', static_cast<size_t>(limit - p)));
    if (p == nullptr) return nullptr;
    if (startsTag(p + 1 + column)) return p + 1;
  }
  return nullptr;
}

size_t countLineEnds(const char* begin, const char* end) {
  // Eight bytes at a time: a byte of x is 0 exactly at a line end, and the
  // expression sets the high bit of just those bytes, no carry crossing
  // from one byte to the next.
  constexpr std::uint64_t kNewlines = 0x0a0a0a0a0a0a0a0aULL;
  constexpr std::uint64_t kLowSevenBits = 0x7f7f7f7f7f7f7f7fULL;
  size_t count = 0;
  const char* p = begin;
  for (; end - p >= 8; p += 8) {
    std::uint64_t word;
    std::memcpy(&word, p, sizeof word);
    const std::uint64_t x = word ^ kNewlines;
    const std::uint64_t zero_bytes =
        ~(((x & kLowSevenBits) + kLowSevenBits) | x | kLowSevenBits);
    count += static_cast<size_t>(__builtin_popcountll(zero_bytes));
  }
  for (; p < end; ++p) count += *p == '\n';
  return count;
}
