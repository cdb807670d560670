// The tag-line search of aarch64, whose every CPU has NEON.

#include <arm_neon.h>

#include <cstdint>

#include "report/tag_search_mask.h"

namespace {

uint8x16_t load(const char* p) {
  return vld1q_u8(reinterpret_cast<const uint8_t*>(p));
}

// The 64 lanes of `lanes`, each all ones or zero, as one bit each.
std::uint64_t bitsOf(const uint8x16_t (&lanes)[4]) {
  // Each set lane keeps its bit of 1..128; three pairwise additions then
  // fold every eight lanes into one mask byte.
  static const uint8_t kBits[16] = {1, 2, 4, 8, 16, 32, 64, 128,
                                    1, 2, 4, 8, 16, 32, 64, 128};
  const uint8x16_t bits = vld1q_u8(kBits);
  uint8x16_t sum =
      vpaddq_u8(vpaddq_u8(vandq_u8(lanes[0], bits), vandq_u8(lanes[1], bits)),
                vpaddq_u8(vandq_u8(lanes[2], bits), vandq_u8(lanes[3], bits)));
  sum = vpaddq_u8(sum, sum);
  return vgetq_lane_u64(vreinterpretq_u64_u8(sum), 0);
}

std::uint64_t markedEndsNeon(const char* p, const char* initials) {
  uint8x16_t marked[4];
  for (unsigned i = 0; i < 4; ++i) {
    const uint8x16_t initial = load(initials + 16 * i);
    marked[i] = vandq_u8(vceqq_u8(load(p + 16 * i), vdupq_n_u8('\n')),
                         vorrq_u8(vceqq_u8(initial, vdupq_n_u8('D')),
                                  vceqq_u8(initial, vdupq_n_u8('V'))));
  }
  return bitsOf(marked);
}

std::uint64_t newlinesNeon(const char* p) {
  uint8x16_t ends[4];
  for (unsigned i = 0; i < 4; ++i) {
    ends[i] = vceqq_u8(load(p + 16 * i), vdupq_n_u8('\n'));
  }
  return bitsOf(ends);
}

}  // namespace

ZEPTOR_DEFINE_TAG_SEARCH_BY_MASK(markedEndsNeon, newlinesNeon)
