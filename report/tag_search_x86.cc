// The search paths of x86-64: SSE2, which every x86-64 CPU has, and AVX2
// and AVX-512BW, compiled for those units through target attributes and
// chosen only where the CPU reports them.

#if defined(__x86_64__)

#include <immintrin.h>

#include <cstdint>

#include "report/tag_search_paths.h"

namespace {

// Bit i set when byte p + i is a '\n'. (Marking only the line ends whose
// line starts a tag, with two more loads and five more compares, measured
// slower: most lines need no more than one test of two bytes.)

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

[[gnu::target("avx2")]] std::uint64_t newlinesAvx2(const char* p) {
  const __m256i newline = _mm256_set1_epi8('\n');
  std::uint64_t mask = 0;
  for (unsigned i = 0; i < 64; i += 32) {
    const __m256i bytes =
        _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + i));
    const auto bits = static_cast<std::uint32_t>(
        _mm256_movemask_epi8(_mm256_cmpeq_epi8(bytes, newline)));
    mask |= static_cast<std::uint64_t>(bits) << i;
  }
  return mask;
}

[[gnu::target("avx512bw")]] std::uint64_t newlinesAvx512(const char* p) {
  return _mm512_cmpeq_epi8_mask(_mm512_loadu_si512(p), _mm512_set1_epi8('\n'));
}

}  // namespace

const char* findTagCandidateSse2(const char* begin, const char* end,
                                 size_t column) {
  return findTagCandidateByMask<newlinesSse2>(begin, end, column);
}

[[gnu::target("avx2")]] const char* findTagCandidateAvx2(const char* begin,
                                                         const char* end,
                                                         size_t column) {
  return findTagCandidateByMask<newlinesAvx2>(begin, end, column);
}

[[gnu::target("avx512bw")]] const char* findTagCandidateAvx512(
    const char* begin, const char* end, size_t column) {
  return findTagCandidateByMask<newlinesAvx512>(begin, end, column);
}

bool cpuHasAvx2() { return __builtin_cpu_supports("avx2"); }

bool cpuHasAvx512() { return __builtin_cpu_supports("avx512bw"); }

#endif
