#ifndef ZEPTOR_REPORT_FILE_IDENTITY_H_
#define ZEPTOR_REPORT_FILE_IDENTITY_H_

#include <cstdint>
#include <optional>
#include <string>

// What makes a file itself, whatever name leads to it: two names (another
// spelling, a hard or symbolic link) lead to one file exactly when their
// identities are equal.
struct FileIdentity {
  std::uint64_t volume;
  std::uint64_t index;

  bool operator==(const FileIdentity& other) const {
    return volume == other.volume && index == other.index;
  }
};

// False for a name that no file can have: one with a NUL byte, which the
// system would cut short there and so take for another file's name.
inline bool isPossibleFileName(const std::string& name) {
  return name.find('\0') == std::string::npos;
}

// Returns the identity of the file that `name` leads to, or nothing when it
// leads to none.
std::optional<FileIdentity> identifyFile(const std::string& name);

// Returns the identity of the regular file that standard output writes to,
// or nothing when it is a terminal, a pipe or any other kind of file.
std::optional<FileIdentity> identifyStandardOutput();

// True when `name` leads to a directory.
bool isDirectory(const std::string& name);

#endif  // ZEPTOR_REPORT_FILE_IDENTITY_H_
