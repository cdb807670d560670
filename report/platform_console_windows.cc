#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include "report/platform_console.h"

namespace {

std::string toUtf8(const wchar_t* wide) {
  const int size =
      WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1) return std::string();
  std::string text(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide, -1, text.data(), size, nullptr,
                      nullptr);
  text.pop_back();  // the terminating NUL
  return text;
}

}  // namespace

void prepareStandardStreams() {
  // Names typed at a prompt arrive, and names written are shown, as UTF-8.
  SetConsoleCP(CP_UTF8);
  SetConsoleOutputCP(CP_UTF8);
}

std::vector<std::string> commandLine(int argc, char** argv) {
  // argv holds the words in the ANSI code page, which loses characters it
  // lacks; the wide command line has them all.
  int count = 0;
  LPWSTR* words = CommandLineToArgvW(GetCommandLineW(), &count);
  if (words == nullptr) return std::vector<std::string>(argv, argv + argc);
  std::vector<std::string> line;
  for (int i = 0; i < count; ++i) line.push_back(toUtf8(words[i]));
  LocalFree(words);
  return line;
}
