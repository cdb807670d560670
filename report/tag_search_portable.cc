// The tag-line search of CPUs without a vector search of their own here
// (s390x): one line end at a time through memchr.

#include <cstring>

#include "report/tag_search.h"

namespace {

// With kCounting, every line end passed adds one to *line_ends.
template <bool kCounting>
const char* findByLineEnds(const char* begin, const char* end, size_t column,
                           Count* line_ends) {
  const char* limit = newlineLimit(begin, end, column);
  for (const char* p = begin; p < limit; ++p) {
    p = static_cast<const char*>(
        std::memchr(p, '\n', static_cast<size_t>(limit - p)));
    if (p == nullptr) return nullptr;
    if (kCounting) ++*line_ends;
    if (startsTag(p + 1 + column)) return p + 1;
  }
  return nullptr;
}

}  // namespace

size_t tagLineLength(const char* p) {
  const void* newline = std::memchr(p, '\n', kTagLineReach);
  return newline == nullptr
             ? kTagLineReach
             : static_cast<size_t>(static_cast<const char*>(newline) - p);
}

const char* findNextTagLine(const char* begin, const char* end, size_t column) {
  return findByLineEnds<false>(begin, end, column, nullptr);
}

const char* findNextTagLineCounting(const char* begin, const char* end,
                                    size_t column, Count* line_ends) {
  return findByLineEnds<true>(begin, end, column, line_ends);
}
