#ifndef ZEPTOR_REPORT_PLATFORM_FILES_H_
#define ZEPTOR_REPORT_PLATFORM_FILES_H_

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

// Files by name, the part of the run that differs between platforms. Names
// are the bytes the user gave; on Windows they are UTF-8.

// What makes a file itself, whatever name leads to it: two names (another
// spelling or letter case, a hard or symbolic link) lead to one file
// exactly when their identities are equal.
struct FileIdentity {
  // The file system or volume; nothing where a handle cannot tell it (a
  // standard stream that Wine inherits from a POSIX process), and then the
  // index alone decides.
  std::optional<std::uint64_t> volume;
  std::uint64_t index;

  bool operator==(const FileIdentity& other) const {
    return index == other.index &&
           (!volume || !other.volume || *volume == *other.volume);
  }
};

// Returns the path that `name` stands for, or nothing for a name that no
// file can have: one with a NUL byte (the system would cut it short there
// and take it for another file's name) or, on Windows, one that is not
// UTF-8.
std::optional<std::filesystem::path> pathOf(const std::string& name);

// Returns the identity of the file that `path` leads to, or nothing when it
// leads to none.
std::optional<FileIdentity> identifyFile(const std::filesystem::path& path);

// Returns the identity of the regular file that standard output writes to,
// or nothing when it is a terminal, a pipe or any other kind of file.
std::optional<FileIdentity> identifyStandardOutput();

// True when `path` leads to a directory.
bool isDirectory(const std::filesystem::path& path);

#endif  // ZEPTOR_REPORT_PLATFORM_FILES_H_
