// The tag-line search of WebAssembly, through its 128-bit SIMD, which every
// engine the page supports runs.

#include <wasm_simd128.h>

#include <cstdint>

#include "report/tag_search_mask.h"

namespace {

v128_t load(const char* p) { return wasm_v128_load(p); }

std::uint64_t bitsOf(v128_t lanes, unsigned shift) {
  return static_cast<std::uint64_t>(wasm_i8x16_bitmask(lanes)) << shift;
}

std::uint64_t markedEndsSimd128(const char* p, const char* initials) {
  std::uint64_t mask = 0;
  for (unsigned i = 0; i < 64; i += 16) {
    const v128_t initial = load(initials + i);
    const v128_t ends = wasm_i8x16_eq(load(p + i), wasm_i8x16_splat('\n'));
    const v128_t tags =
        wasm_v128_or(wasm_i8x16_eq(initial, wasm_i8x16_splat('D')),
                     wasm_i8x16_eq(initial, wasm_i8x16_splat('V')));
    mask |= bitsOf(wasm_v128_and(ends, tags), i);
  }
  return mask;
}

std::uint64_t newlinesSimd128(const char* p) {
  std::uint64_t mask = 0;
  for (unsigned i = 0; i < 64; i += 16) {
    mask |= bitsOf(wasm_i8x16_eq(load(p + i), wasm_i8x16_splat('\n')), i);
  }
  return mask;
}

}  // namespace

ZEPTOR_DEFINE_TAG_SEARCH_BY_MASK(markedEndsSimd128, newlinesSimd128)
