// The tag-line search of x86-64, through SSE2, which every x86-64 CPU has.
// A build for CPUs with AVX-512BW takes tag_search_avx512.cc instead.

#include <emmintrin.h>

#include <cstdint>

#include "report/tag_search_mask.h"

namespace {

__m128i load(const char* p) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

std::uint64_t bitsOf(__m128i lanes, unsigned shift) {
  return static_cast<std::uint64_t>(
             static_cast<std::uint32_t>(_mm_movemask_epi8(lanes)))
         << shift;
}

[[gnu::always_inline]] inline std::uint64_t markedEndsSse2(
    const char* p, const char* initials) {
  __m128i marked[4];
  for (unsigned i = 0; i < 4; ++i) {
    const __m128i ends = _mm_cmpeq_epi8(load(p + 16 * i), _mm_set1_epi8('\n'));
    const __m128i tags = _mm_cmpeq_epi8(
        _mm_or_si128(load(initials + 16 * i), _mm_set1_epi8(kTagInitialBits)),
        _mm_set1_epi8(kFoldedTagInitial));
    marked[i] = _mm_and_si128(ends, tags);
  }
  // Most steps mark nothing: one movemask tells.
  const __m128i any = _mm_or_si128(_mm_or_si128(marked[0], marked[1]),
                                   _mm_or_si128(marked[2], marked[3]));
  if (_mm_movemask_epi8(any) == 0) return 0;
  std::uint64_t mask = 0;
  for (unsigned i = 0; i < 4; ++i) mask |= bitsOf(marked[i], 16 * i);
  return mask;
}

std::uint64_t newlinesSse2(const char* p) {
  std::uint64_t mask = 0;
  for (unsigned i = 0; i < 64; i += 16) {
    mask |= bitsOf(_mm_cmpeq_epi8(load(p + i), _mm_set1_epi8('\n')), i);
  }
  return mask;
}

}  // namespace

ZEPTOR_DEFINE_TAG_SEARCH_BY_MASK(markedEndsSse2, newlinesSse2)
