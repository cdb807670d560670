#include "report/tag_search.h"

#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#elif defined(__aarch64__)
#include <arm_neon.h>
#endif

namespace {

// Returns the end of the range in which a '\n' has both its tested bytes,
// `column` + 1 and `column` + 2 after it, before `end`.
const char* newlineLimit(const char* begin, const char* end, size_t column) {
  const size_t reach = column + kTagStartWidth;
  return static_cast<size_t>(end - begin) > reach ? end - reach : begin;
}

// Sixty-four bytes a step: the line ends come as one bit mask (bit i for
// byte i), and only the lines they start are tested, so the step costs
// little more than the loads whatever the lines hold.
template <std::uint64_t (*newlineMask)(const char*)>
const char* findTagCandidateByMask(const char* begin, const char* end,
                                   size_t column) {
  const char* limit = newlineLimit(begin, end, column);
  const char* p = begin;
  for (; limit - p >= 64; p += 64) {
    for (std::uint64_t ends = newlineMask(p); ends != 0; ends &= ends - 1) {
      const char* line = p + __builtin_ctzll(ends) + 1;
      if (startsTag(line + column)) return line;
    }
  }
  return findTagCandidatePortable(p, end, column);
}

// Eight bytes from `p` with the first in the lowest byte, whatever the
// CPU's byte order.
std::uint64_t loadLittleEndian(const char* p) {
  std::uint64_t word;
  std::memcpy(&word, p, sizeof word);
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
  word = __builtin_bswap64(word);
#endif
  return word;
}

// The mask eight bytes at a time in plain 64-bit arithmetic.
std::uint64_t newlineMaskSwar(const char* p) {
  constexpr std::uint64_t kLow7 = 0x7f7f7f7f7f7f7f7fULL;
  constexpr std::uint64_t kNewlines = 0x0a0a0a0a0a0a0a0aULL;
  // Gathers the high bit of byte i into bit 56 + i.
  constexpr std::uint64_t kGather = 0x0102040810204080ULL;
  std::uint64_t mask = 0;
  for (unsigned word = 0; word < 8; ++word) {
    const std::uint64_t x = loadLittleEndian(p + 8 * word) ^ kNewlines;
    // The high bit of each byte that is zero, exactly: no carry crosses a
    // byte.
    const std::uint64_t zero = ~(((x & kLow7) + kLow7) | x | kLow7);
    mask |= (((zero >> 7) * kGather) >> 56) << (8 * word);
  }
  return mask;
}

#if defined(__SSE2__)
std::uint64_t newlineMaskVector(const char* p) {
  const __m128i newline = _mm_set1_epi8('\n');
  std::uint64_t mask = 0;
  for (unsigned i = 0; i < 4; ++i) {
    const __m128i bytes =
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * i));
    const auto bits = static_cast<std::uint32_t>(
        _mm_movemask_epi8(_mm_cmpeq_epi8(bytes, newline)));
    mask |= static_cast<std::uint64_t>(bits) << (16 * i);
  }
  return mask;
}
#elif defined(__aarch64__)
std::uint64_t newlineMaskVector(const char* p) {
  // Each matching byte keeps its bit of 1..128; three pairwise additions
  // then fold every eight bytes into one mask byte.
  static const uint8_t kBits[16] = {1, 2, 4, 8, 16, 32, 64, 128,
                                    1, 2, 4, 8, 16, 32, 64, 128};
  const uint8x16_t bits = vld1q_u8(kBits);
  const uint8x16_t newline = vdupq_n_u8('\n');
  uint8x16_t masked[4];
  for (unsigned i = 0; i < 4; ++i) {
    const uint8x16_t bytes =
        vld1q_u8(reinterpret_cast<const uint8_t*>(p + 16 * i));
    masked[i] = vandq_u8(vceqq_u8(bytes, newline), bits);
  }
  uint8x16_t sum = vpaddq_u8(vpaddq_u8(masked[0], masked[1]),
                             vpaddq_u8(masked[2], masked[3]));
  sum = vpaddq_u8(sum, sum);
  return vgetq_lane_u64(vreinterpretq_u64_u8(sum), 0);
}
#else
// No vector unit assumed: the word-wise mask.
std::uint64_t newlineMaskVector(const char* p) { return newlineMaskSwar(p); }
#endif

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

const char* findTagCandidateWords(const char* begin, const char* end,
                                  size_t column) {
  return findTagCandidateByMask<newlineMaskSwar>(begin, end, column);
}

const char* findTagCandidate(const char* begin, const char* end,
                             size_t column) {
  return findTagCandidateByMask<newlineMaskVector>(begin, end, column);
}
