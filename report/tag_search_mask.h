#ifndef ZEPTOR_REPORT_TAG_SEARCH_MASK_H_
#define ZEPTOR_REPORT_TAG_SEARCH_MASK_H_

#include <cstddef>
#include <cstdint>

#include "report/tag_search.h"

// The tag-line search of the CPUs with a vector unit, 64 bytes a step:
// `newlines(p)` gives the line ends among them as one bit mask, bit i for
// byte p + i, and only the lines they start are tested, so a step costs
// little more than its loads whatever the lines hold. (Marking only the
// line ends whose line starts a tag, with two more loads and five more
// compares, measured slower: most lines need no more than one two-byte
// test.)
template <std::uint64_t (*newlines)(const char*)>
const char* findNextTagLineByMask(const char* begin, const char* end,
                                  size_t column) {
  const char* limit = newlineLimit(begin, end, column);
  const char* p = begin;
  for (; limit - p >= 64; p += 64) {
    for (std::uint64_t ends = newlines(p); ends != 0; ends &= ends - 1) {
      const char* line = p + __builtin_ctzll(ends) + 1;
      if (startsTag(line + column)) return line;
    }
  }
  for (; p < limit; ++p) {
    if (*p == '\n' && startsTag(p + 1 + column)) return p + 1;
  }
  return nullptr;
}

#endif  // ZEPTOR_REPORT_TAG_SEARCH_MASK_H_
