#ifndef ZEPTOR_REPORT_TAG_SEARCH_PATHS_H_
#define ZEPTOR_REPORT_TAG_SEARCH_PATHS_H_

// The parts the search paths share, and the CPU-specific paths, each
// defined only where its CPU is the build's.

#include <cstddef>
#include <cstdint>

#include "report/tag_search.h"

// Returns the end of the range in which a '\n' has both its tested bytes,
// `column` + 1 and `column` + 2 after it, before `end`.
inline const char* newlineLimit(const char* begin, const char* end,
                                size_t column) {
  const size_t reach = column + kTagStartWidth;
  return static_cast<size_t>(end - begin) > reach ? end - reach : begin;
}

const char* findTagCandidatePortable(const char* begin, const char* end,
                                     size_t column);

// Sixty-four bytes a step: `newlines(p)` gives the line ends among them as
// one bit mask, bit i for byte p + i, and only the lines they start are
// tested, so a step costs little more than its loads whatever the lines
// hold. Inlined into each path, so that the path's instruction set applies
// to the step.
template <std::uint64_t (*newlines)(const char*)>
[[gnu::always_inline]] inline const char* findTagCandidateByMask(
    const char* begin, const char* end, size_t column) {
  const char* limit = newlineLimit(begin, end, column);
  const char* p = begin;
  for (; limit - p >= 64; p += 64) {
    for (std::uint64_t ends = newlines(p); ends != 0; ends &= ends - 1) {
      const char* line = p + __builtin_ctzll(ends) + 1;
      if (startsTag(line + column)) return line;
    }
  }
  return findTagCandidatePortable(p, end, column);
}

const char* findTagCandidateSse2(const char* begin, const char* end,
                                 size_t column);
const char* findTagCandidateAvx2(const char* begin, const char* end,
                                 size_t column);
const char* findTagCandidateAvx512(const char* begin, const char* end,
                                   size_t column);
bool cpuHasAvx2();
bool cpuHasAvx512();
const char* findTagCandidateNeon(const char* begin, const char* end,
                                 size_t column);

#endif  // ZEPTOR_REPORT_TAG_SEARCH_PATHS_H_
