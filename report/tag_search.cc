#include "report/tag_search.h"

#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// Returns the end of the range in which a '\n' has both its tested bytes,
// `column` + 1 and `column` + 2 after it, before `end`.
const char* newlineLimit(const char* begin, const char* end, size_t column) {
  const size_t reach = column + kTagStartWidth;
  return static_cast<size_t>(end - begin) > reach ? end - reach : begin;
}

}  // namespace

const char* findTagCandidatePortable(const char* begin, const char* end,
                                     size_t column) {
  const char* limit = newlineLimit(begin, end, column);
  for (const char* p = begin; p < limit; ++p) {
    p = static_cast<const char*>(
        std::memchr(p, '\n', static_cast<size_t>(limit - p)));
    if (p == nullptr) return nullptr;
    if (startsTag(p + 1 + column)) return p + 1;
  }
  return nullptr;
}

#if defined(__SSE2__)
namespace {

// Returns a bit mask of the '\n' bytes among the 64 from `p`.
std::uint64_t newlineMask(const char* p) {
  const __m128i newline = _mm_set1_epi8('\n');
  std::uint64_t mask = 0;
  for (size_t i = 0; i < 4; ++i) {
    const __m128i bytes =
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * i));
    const auto bits = static_cast<std::uint32_t>(
        _mm_movemask_epi8(_mm_cmpeq_epi8(bytes, newline)));
    mask |= static_cast<std::uint64_t>(bits) << (16 * i);
  }
  return mask;
}

}  // namespace
#endif

const char* findTagCandidate(const char* begin, const char* end,
                             size_t column) {
#if defined(__SSE2__)
  // Sixty-four bytes a step: the line ends come as one bit mask, and only
  // the lines they start are tested, so the step costs little more than the
  // loads whatever the lines hold.
  const char* limit = newlineLimit(begin, end, column);
  const char* p = begin;
  for (; limit - p >= 64; p += 64) {
    for (std::uint64_t ends = newlineMask(p); ends != 0; ends &= ends - 1) {
      const char* line = p + __builtin_ctzll(ends) + 1;
      if (startsTag(line + column)) return line;
    }
  }
  return findTagCandidatePortable(p, end, column);
#else
  return findTagCandidatePortable(begin, end, column);
#endif
}
