#ifndef ZEPTOR_REPORT_SWAR_H_
#define ZEPTOR_REPORT_SWAR_H_

// Byte tests eight bytes at a time in plain 64-bit arithmetic ("SIMD within
// a register"), exact for every byte value and for either byte order.

#include <cstdint>
#include <cstring>

namespace swar {

constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;

// Eight bytes from `p`, the first in the lowest byte.
inline std::uint64_t loadLittleEndian(const char* p) {
  std::uint64_t word;
  std::memcpy(&word, p, sizeof word);
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
  word = __builtin_bswap64(word);
#endif
  return word;
}

// The high bit of each byte of `word` that is below `n` (at most 128):
// setting the high bit first keeps any borrow inside its byte.
inline std::uint64_t below(std::uint64_t word, unsigned n) {
  return ~((word | kHighBits) - n * kOnes) & ~word & kHighBits;
}

// The high bit of each byte of `word` equal to `c`.
inline std::uint64_t equal(std::uint64_t word, unsigned char c) {
  return below(word ^ (c * kOnes), 1);
}

// Gathers the high bits of a byte mask into eight bits, bit i for byte i.
inline unsigned gather(std::uint64_t high_bits) {
  return static_cast<unsigned>(((high_bits >> 7) * 0x0102040810204080ULL) >>
                               56);
}

}  // namespace swar

#endif  // ZEPTOR_REPORT_SWAR_H_
