// The tag-line search and line-end count of CPUs without a vector unit that
// pays here (s390x, WebAssembly): one line end at a time through memchr.

#include <cstring>

#include "report/tag_search.h"

const char* findNextTagLine(const char* begin, const char* end, size_t column) {
  const char* limit = newlineLimit(begin, end, column);
  for (const char* p = begin; p < limit; ++p) {
    p = static_cast<const char*>(
        std::memchr(p, '\n', static_cast<size_t>(limit - p)));
    if (p == nullptr) return nullptr;
    if (startsTag(p + 1 + column)) return p + 1;
  }
  return nullptr;
}

size_t countLineEnds(const char* begin, const char* end) {
  size_t count = 0;
  for (const char* p = begin; p < end; ++p, ++count) {
    p = static_cast<const char*>(
        std::memchr(p, '\n', static_cast<size_t>(end - p)));
    if (p == nullptr) break;
  }
  return count;
}
