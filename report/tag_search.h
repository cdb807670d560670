#ifndef ZEPTOR_REPORT_TAG_SEARCH_H_
#define ZEPTOR_REPORT_TAG_SEARCH_H_

#include <cstddef>

// The first two letters of "DISTANCE=" and "VERT.ANG.=", the only tags that
// matter once a file's offset and version are known.
constexpr size_t kTagStartWidth = 2;

// True when `text` starts with "DI" or "VE"; `text` must hold two bytes.
inline bool startsTag(const char* text) {
  return (text[0] == 'D' && text[1] == 'I') ||
         (text[0] == 'V' && text[1] == 'E');
}

// Returns the first line start p in (begin, end) -- a byte right after a
// '\n' -- with startsTag(p + column), or nullptr when there is none. Line
// starts whose two tested bytes do not both lie before `end` are not
// tested. Uses the CPU's vector unit: SSE2 on x86-64, NEON on aarch64.
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

// The same search as findTagCandidate() eight bytes at a time in 64-bit
// words, the path of CPUs without a vector unit known here (s390x among
// them); tested on every CPU.
const char* findTagCandidateWords(const char* begin, const char* end,
                                  size_t column);

// The same search as findTagCandidate() one line at a time, without vector
// instructions; the portable fallback, and the reference the vector path is
// tested against.
const char* findTagCandidatePortable(const char* begin, const char* end,
                                     size_t column);

#endif  // ZEPTOR_REPORT_TAG_SEARCH_H_
