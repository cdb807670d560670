// The tag-line search of x86-64 CPUs with AVX-512BW, for builds that
// target them: a step of 64 bytes is one compare a mask.

#include <immintrin.h>

#include <cstdint>

#include "report/tag_search_mask.h"

namespace {

__m512i load(const char* p) { return _mm512_loadu_si512(p); }

[[gnu::always_inline]] inline std::uint64_t markedEndsAvx512(
    const char* p, const char* initials) {
  const __mmask64 ends =
      _mm512_cmpeq_epi8_mask(load(p), _mm512_set1_epi8('\n'));
  return _mm512_mask_cmpeq_epi8_mask(
      ends, _mm512_or_si512(load(initials), _mm512_set1_epi8(kTagInitialBits)),
      _mm512_set1_epi8(kFoldedTagInitial));
}

[[gnu::always_inline]] inline std::uint64_t newlinesAvx512(const char* p) {
  return _mm512_cmpeq_epi8_mask(load(p), _mm512_set1_epi8('\n'));
}

}  // namespace

ZEPTOR_DEFINE_TAG_SEARCH_BY_MASK(markedEndsAvx512, newlinesAvx512)
