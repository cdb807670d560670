#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <cstdlib>
#include <iostream>
#include <limits>

#include "system_io/platform_console.h"

namespace {

// True when the console belongs to zeptor alone, as when it was started
// from Explorer, and both standard input and output are that console. From
// a console window or a batch file the console is shared with them.
bool ownsItsConsoleAlone() {
  DWORD processes[2];
  DWORD mode = 0;
  return GetConsoleProcessList(processes, 2) == 1 &&
         GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode) &&
         GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode);
}

// A console that zeptor owns closes with it: the last thing every run does
// there, whatever its status, is to wait until the user has read it.
void waitBeforeTheConsoleCloses() {
  std::cout.clear();
  std::cout << "Press Enter to close this window." << std::flush;
  std::cin.clear();
  std::cin.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
}

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
  // Every exit, a return from main or a fatal error, runs the handlers.
  if (ownsItsConsoleAlone()) std::atexit(waitBeforeTheConsoleCloses);
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
