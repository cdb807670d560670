#ifndef ZEPTOR_REPORT_TAG_SEARCH_H_
#define ZEPTOR_REPORT_TAG_SEARCH_H_

#include <cstddef>

// Returns the first line start p in (begin, end - column) -- a byte right
// after a '\n' -- whose byte p[column] is 'D' or 'V', or nullptr when there
// is none. Lines whose byte at `column` lies at or past `end` are not tested.
const char* findTagCandidate(const char* begin, const char* end, size_t column);

// The same search one line at a time, without vector instructions; the
// portable fallback, and the reference the vector path is tested against.
const char* findTagCandidatePortable(const char* begin, const char* end,
                                     size_t column);

#endif  // ZEPTOR_REPORT_TAG_SEARCH_H_
