#ifndef ZEPTOR_REPORT_TAG_SEARCH_H_
#define ZEPTOR_REPORT_TAG_SEARCH_H_

#include <cstddef>

#include "report/order_class.h"

// Once a file's offset and version are known, only a line that starts a tag
// ("DI" of "DISTANCE=", "VE" of "VERT.ANG.=") at the tag column can change
// the counts, and the scanner skips every other line unseen. This file holds
// that whole contract: how far into a line the search looks and which line
// starts it tests. Each CPU's search is in a file of its own, chosen when
// zeptor is built.

// How many bytes from the tag column decide whether a line starts a tag.
constexpr size_t kTagStartWidth = 2;

// True when `text` starts with "DI" or "VE"; `text` must hold two bytes.
inline bool startsTag(const char* text) {
  return (text[0] == 'D' && text[1] == 'I') ||
         (text[0] == 'V' && text[1] == 'E');
}

// Returns the end of the range in which a '\n' has the whole tag start of
// the line after it, `column` + 1 to `column` + 2 bytes on, before `end`.
inline const char* newlineLimit(const char* begin, const char* end,
                                size_t column) {
  const size_t reach = column + kTagStartWidth;
  return static_cast<size_t>(end - begin) > reach ? end - reach : begin;
}

// Returns the first line start p in (begin, end) -- a byte right after a
// '\n' before newlineLimit() -- with startsTag(p + column), or nullptr when
// there is none. Defined once per CPU.
const char* findNextTagLine(const char* begin, const char* end, size_t column);

// The bytes from a line's start that every tag test and value field lies
// in, at either offset.
constexpr size_t kTagLineReach = 64;

// Returns the length of the line at `p`, before its '\n', when that lies in
// the kTagLineReach bytes from `p`, which must be readable; else
// kTagLineReach. Defined once per CPU.
size_t tagLineLength(const char* p);

// As findNextTagLine(), and adds to *line_ends the '\n' bytes it passed: those
// before the line start found, or before newlineLimit(). A scan that numbers
// lines counts them where the search finds them anyway.
const char* findNextTagLineCounting(const char* begin, const char* end,
                                    size_t column, Count* line_ends);

#endif  // ZEPTOR_REPORT_TAG_SEARCH_H_
