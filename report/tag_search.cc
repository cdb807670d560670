#include "report/tag_search.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "report/tag_search_paths.h"

namespace {

// Eight bytes from `p`, the first in the lowest byte, whatever the CPU's
// byte order.
std::uint64_t loadLittleEndian(const char* p) {
  std::uint64_t word;
  std::memcpy(&word, p, sizeof word);
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
  word = __builtin_bswap64(word);
#endif
  return word;
}

// Every line end among the 64 bytes from `p`, eight bytes at a time in plain
// 64-bit arithmetic.
std::uint64_t newlinesInWords(const char* p) {
  constexpr std::uint64_t kLow7 = 0x7f7f7f7f7f7f7f7fULL;
  constexpr std::uint64_t kNewlines = 0x0a0a0a0a0a0a0a0aULL;
  // Gathers the high bit of byte i into bit 56 + i.
  constexpr std::uint64_t kGather = 0x0102040810204080ULL;
  std::uint64_t mask = 0;
  for (unsigned word = 0; word < 8; ++word) {
    const std::uint64_t x = loadLittleEndian(p + 8 * word) ^ kNewlines;
    // The high bit of each byte that is zero, exactly: no carry crosses a
    // byte.
    const std::uint64_t zero = ~(((x & kLow7) + kLow7) | x | kLow7);
    mask |= (((zero >> 7) * kGather) >> 56) << (8 * word);
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
