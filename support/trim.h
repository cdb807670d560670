#ifndef ZEPTOR_SUPPORT_TRIM_H_
#define ZEPTOR_SUPPORT_TRIM_H_

#include <string>
#include <string_view>

// True for the POSIX locale's white space: blank, tab, line feed, vertical
// tab, form feed, carriage return, whatever the current locale.
inline bool isWhiteSpace(char c) {
  return c == ' ' || static_cast<unsigned char>(c - '\t') <= '\r' - '\t';
}

// Returns the part of `text` left after removing white space from the start
// when `mode` is one of "LlBb" and from the end when it is one of "RrBb". Any
// other mode leaves the text whole.
std::string_view trimmedView(std::string_view text, char mode);

// Trims `text` in place as trimmedView() does and returns a copy of the result.
std::string trim(std::string& text, char mode);

#endif  // ZEPTOR_SUPPORT_TRIM_H_
