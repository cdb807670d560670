#include "support/trim.h"

#include <cstring>

[[gnu::used]] static const char kModuleId[] = "@(#)trim\t1.1\t2003/01/08 QXT";

namespace {

bool modeIn(char mode, const char* modes) {
  return mode != '\0' && std::strchr(modes, mode) != nullptr;
}

}  // namespace

std::string_view trimmedView(std::string_view text, char mode) {
  size_t first = 0;
  size_t last = text.size();
  if (modeIn(mode, "LlBb")) {
    while (first < last && isWhiteSpace(text[first])) ++first;
  }
  if (modeIn(mode, "RrBb")) {
    while (last > first && isWhiteSpace(text[last - 1])) --last;
  }
  return text.substr(first, last - first);
}

std::string trim(std::string& text, char mode) {
  std::string_view kept = trimmedView(text, mode);
  const size_t first = static_cast<size_t>(kept.data() - text.data());
  text.erase(first + kept.size());
  text.erase(0, first);
  return text;
}
