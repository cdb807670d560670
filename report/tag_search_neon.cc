// The tag-line search of aarch64, whose every CPU has NEON.

#include <arm_neon.h>

#include <cstdint>

#include "report/tag_search_mask.h"

namespace {

// Bit i set when byte p + i is a '\n'.
std::uint64_t newlinesNeon(const char* p) {
  // Each line end keeps its bit of 1..128; three pairwise additions then
  // fold every eight bytes into one mask byte.
  static const uint8_t kBits[16] = {1, 2, 4, 8, 16, 32, 64, 128,
                                    1, 2, 4, 8, 16, 32, 64, 128};
  const uint8x16_t bits = vld1q_u8(kBits);
  const uint8x16_t newline = vdupq_n_u8('\n');
  uint8x16_t marked[4];
  for (unsigned i = 0; i < 4; ++i) {
    const uint8x16_t bytes =
        vld1q_u8(reinterpret_cast<const uint8_t*>(p + 16 * i));
    marked[i] = vandq_u8(vceqq_u8(bytes, newline), bits);
  }
  uint8x16_t sum = vpaddq_u8(vpaddq_u8(marked[0], marked[1]),
                             vpaddq_u8(marked[2], marked[3]));
  sum = vpaddq_u8(sum, sum);
  return vgetq_lane_u64(vreinterpretq_u64_u8(sum), 0);
}

}  // namespace

ZEPTOR_DEFINE_TAG_SEARCH_BY_MASK(newlinesNeon)
