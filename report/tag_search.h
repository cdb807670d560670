#ifndef ZEPTOR_REPORT_TAG_SEARCH_H_
#define ZEPTOR_REPORT_TAG_SEARCH_H_

#include <cstddef>
#include <vector>

// The first two letters of "DISTANCE=" and "VERT.ANG.=", the only tags that
// matter once a file's offset and version are known.
constexpr size_t kTagStartWidth = 2;

// True when `text` starts with "DI" or "VE"; `text` must hold two bytes.
inline bool startsTag(const char* text) {
  return (text[0] == 'D' && text[1] == 'I') ||
         (text[0] == 'V' && text[1] == 'E');
}

// A search for tag candidates: returns the first line start p in
// (begin, end) -- a byte right after a '\n' -- with startsTag(p + column),
// or nullptr when there is none. Line starts whose two tested bytes do not
// both lie before `end` are not tested.
using TagCandidateSearch = const char* (*)(const char* begin, const char* end,
                                           size_t column);

// The ways to run the search, each giving the same results.
enum class SearchPath {
  kPortable,  // one line at a time, through memchr: the reference
  kWords,     // eight bytes at a time in 64-bit words, on any CPU
  kSse2,      // x86-64
  kAvx2,      // x86-64 with AVX2
  kAvx512,    // x86-64 with AVX-512BW
  kNeon,      // aarch64
};

// Returns the search of `path`, or nullptr when this build or this CPU
// cannot run it.
TagCandidateSearch tagCandidateSearch(SearchPath path);

// Returns the paths this build and CPU can run, the fastest last.
std::vector<SearchPath> availableSearchPaths();

// Returns the name of `path`: "portable", "words", "sse2", "avx2", "avx512"
// or "neon".
const char* searchPathName(SearchPath path);

// The search through the fastest path this CPU can run, chosen once. The
// environment variable ZEPTOR_SEARCH may name another available path
// instead, for tests and measurements.
const char* findTagCandidate(const char* begin, const char* end, size_t column);

// Returns the first line start p in [begin, end) -- `begin`, or a byte right
// after a '\n' -- with startsTag(p + column), or nullptr; `begin` must be a
// line start with column + 2 bytes before `end`. A search for
// LineReader::skipTo().
inline const char* findTagLine(const char* begin, const char* end,
                               size_t column) {
  return startsTag(begin + column) ? begin
                                   : findTagCandidate(begin, end, column);
}

#endif  // ZEPTOR_REPORT_TAG_SEARCH_H_
