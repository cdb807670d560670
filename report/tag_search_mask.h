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
// With kCounting, every line end passed adds one to *line_ends.
template <std::uint64_t (*newlines)(const char*), bool kCounting>
const char* findNextTagLineByMask(const char* begin, const char* end,
                                  size_t column, Count* line_ends) {
  const char* limit = newlineLimit(begin, end, column);
  const char* p = begin;
  for (; limit - p >= 64; p += 64) {
    for (std::uint64_t ends = newlines(p); ends != 0; ends &= ends - 1) {
      if (kCounting) ++*line_ends;
      const char* line = p + __builtin_ctzll(ends) + 1;
      if (startsTag(line + column)) return line;
    }
  }
  for (; p < limit; ++p) {
    if (*p != '\n') continue;
    if (kCounting) ++*line_ends;
    if (startsTag(p + 1 + column)) return p + 1;
  }
  return nullptr;
}

// Defines the two searches of a CPU through its `newlines`.
#define ZEPTOR_DEFINE_TAG_SEARCH_BY_MASK(newlines)                        \
  const char* findNextTagLine(const char* begin, const char* end,         \
                              size_t column) {                            \
    return findNextTagLineByMask<newlines, false>(begin, end, column,     \
                                                  nullptr);               \
  }                                                                       \
  const char* findNextTagLineCounting(const char* begin, const char* end, \
                                      size_t column, Count* line_ends) {  \
    return findNextTagLineByMask<newlines, true>(begin, end, column,      \
                                                 line_ends);              \
  }

#endif  // ZEPTOR_REPORT_TAG_SEARCH_MASK_H_
