#include "report/tag_search.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

bool isTagLetter(char c) { return c == 'D' || c == 'V'; }

// Returns the end of the range in which a '\n' has its tested byte, the
// byte `column` + 1 after it, before `end`.
const char* newlineLimit(const char* begin, const char* end, size_t column) {
  const size_t reach = column + 1;
  return static_cast<size_t>(end - begin) > reach ? end - reach : begin;
}

}  // namespace

const char* findTagCandidatePortable(const char* begin, const char* end,
                                     size_t column) {
  const char* limit = newlineLimit(begin, end, column);
  for (const char* p = begin; p < limit; ++p) {
    p = static_cast<const char*>(std::memchr(p, '\n', limit - p));
    if (p == nullptr) return nullptr;
    if (isTagLetter(p[1 + column])) return p + 1;
  }
  return nullptr;
}

const char* findTagCandidate(const char* begin, const char* end,
                             size_t column) {
#if defined(__SSE2__)
  // Sixteen bytes a step: a mask of line ends, ANDed with a mask of tag
  // letters `column` + 1 bytes further on. Most blocks have no candidate.
  const char* limit = newlineLimit(begin, end, column);
  const __m128i newline = _mm_set1_epi8('\n');
  const __m128i letter_d = _mm_set1_epi8('D');
  const __m128i letter_v = _mm_set1_epi8('V');
  const char* p = begin;
  for (; limit - p >= 16; p += 16) {
    const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i ahead =
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 1 + column));
    const int ends = _mm_movemask_epi8(_mm_cmpeq_epi8(here, newline));
    const int tags = _mm_movemask_epi8(_mm_or_si128(
        _mm_cmpeq_epi8(ahead, letter_d), _mm_cmpeq_epi8(ahead, letter_v)));
    if (const int both = ends & tags) return p + __builtin_ctz(both) + 1;
  }
  return findTagCandidatePortable(p, end, column);
#else
  return findTagCandidatePortable(begin, end, column);
#endif
}
