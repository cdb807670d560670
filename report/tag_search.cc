#include "report/tag_search.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "report/swar.h"
#include "report/tag_search_paths.h"

namespace {

// Every line end among the 64 bytes from `p`, eight bytes at a time.
std::uint64_t newlinesInWords(const char* p) {
  std::uint64_t mask = 0;
  for (unsigned word = 0; word < 8; ++word) {
    const std::uint64_t bytes = swar::loadLittleEndian(p + 8 * word);
    mask |= std::uint64_t{swar::gather(swar::equal(bytes, '\n'))} << (8 * word);
  }
  return mask;
}

const char* findTagCandidateWords(const char* begin, const char* end,
                                  size_t column) {
  return findTagCandidateByMask<newlinesInWords>(begin, end, column);
}

// The path ZEPTOR_SEARCH names if it is available, else the fastest.
TagCandidateSearch chooseSearch() {
  const std::vector<SearchPath> paths = availableSearchPaths();
  if (const char* wanted = std::getenv("ZEPTOR_SEARCH")) {
    for (SearchPath path : paths) {
      if (std::strcmp(wanted, searchPathName(path)) == 0) {
        return tagCandidateSearch(path);
      }
    }
  }
  return tagCandidateSearch(paths.back());
}

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

TagCandidateSearch tagCandidateSearch(SearchPath path) {
  switch (path) {
    case SearchPath::kPortable:
      return findTagCandidatePortable;
    case SearchPath::kWords:
      return findTagCandidateWords;
#if defined(__x86_64__)
    case SearchPath::kSse2:
      return findTagCandidateSse2;
    case SearchPath::kAvx2:
      return cpuHasAvx2() ? findTagCandidateAvx2 : nullptr;
    case SearchPath::kAvx512:
      return cpuHasAvx512() ? findTagCandidateAvx512 : nullptr;
#elif defined(__aarch64__)
    case SearchPath::kNeon:
      return findTagCandidateNeon;
#endif
    default:
      return nullptr;
  }
}

std::vector<SearchPath> availableSearchPaths() {
  std::vector<SearchPath> paths;
  for (SearchPath path :
       {SearchPath::kPortable, SearchPath::kWords, SearchPath::kSse2,
        SearchPath::kNeon, SearchPath::kAvx2, SearchPath::kAvx512}) {
    if (tagCandidateSearch(path) != nullptr) paths.push_back(path);
  }
  return paths;
}

const char* searchPathName(SearchPath path) {
  // In the order of SearchPath.
  static const char* const kNames[] = {"portable", "words",  "sse2",
                                       "avx2",     "avx512", "neon"};
  return kNames[static_cast<size_t>(path)];
}

const char* findTagCandidate(const char* begin, const char* end,
                             size_t column) {
  static const TagCandidateSearch search = chooseSearch();
  return search(begin, end, column);
}
