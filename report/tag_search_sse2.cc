// The tag-line search of x86-64, through SSE2, which every x86-64 CPU has.
// (AVX2 and AVX-512BW were measured no faster: the time goes to the
// kernel's copy of the file and to reading the numbers.)

#include <emmintrin.h>

#include <cstdint>

#include "report/tag_search_mask.h"

namespace {

// Bit i set when byte p + i is a '\n'.
std::uint64_t newlinesSse2(const char* p) {
  const __m128i newline = _mm_set1_epi8('\n');
  std::uint64_t mask = 0;
  for (unsigned i = 0; i < 64; i += 16) {
    const __m128i bytes =
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
    const auto bits = static_cast<std::uint32_t>(
        _mm_movemask_epi8(_mm_cmpeq_epi8(bytes, newline)));
    mask |= static_cast<std::uint64_t>(bits) << i;
  }
  return mask;
}

}  // namespace

ZEPTOR_DEFINE_TAG_SEARCH_BY_MASK(newlinesSse2)
