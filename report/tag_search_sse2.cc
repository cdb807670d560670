// The tag-line search of x86-64, through SSE2, which every x86-64 CPU has.
// (AVX2 and AVX-512BW were measured no faster: the time goes to the
// kernel's copy of the file and to reading the numbers.)

#include <emmintrin.h>

#include <algorithm>
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

const char* findNextTagLine(const char* begin, const char* end, size_t column) {
  return findNextTagLineByMask<newlinesSse2>(begin, end, column);
}

size_t countLineEnds(const char* begin, const char* end) {
  // Each byte lane counts its line ends, for up to 255 steps of 16 bytes
  // before it could wrap; then the lanes are summed.
  constexpr size_t kStepsPerSum = 255;
  const __m128i newline = _mm_set1_epi8('\n');
  const __m128i zero = _mm_setzero_si128();
  size_t count = 0;
  const char* p = begin;
  while (end - p >= 16) {
    const size_t steps =
        std::min(kStepsPerSum, static_cast<size_t>(end - p) / 16);
    __m128i lanes = zero;
    for (size_t i = 0; i < steps; ++i, p += 16) {
      const __m128i bytes =
          _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
      // A match is all ones, -1.
      lanes = _mm_sub_epi8(lanes, _mm_cmpeq_epi8(bytes, newline));
    }
    const __m128i sums = _mm_sad_epu8(lanes, zero);
    count += static_cast<size_t>(_mm_cvtsi128_si64(sums)) +
             static_cast<size_t>(_mm_extract_epi16(sums, 4));
  }
  for (; p < end; ++p) count += *p == '\n';
  return count;
}
