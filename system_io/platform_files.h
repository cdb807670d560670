#ifndef ZEPTOR_SYSTEM_IO_PLATFORM_FILES_H_
#define ZEPTOR_SYSTEM_IO_PLATFORM_FILES_H_

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// The files of a run, the part of it that differs between platforms. Names
// are the bytes the user gave; on Windows they are UTF-8.

// What makes a file itself, whatever name leads to it: two names (another
// spelling or letter case, a hard or symbolic link) lead to one file
// exactly when their identities are equal.
struct FileIdentity {
  // The file system or volume; nothing where a handle cannot tell it (a
  // standard stream that Wine inherits from a POSIX process), and then the
  // index alone decides.
  std::optional<std::uint64_t> volume;
  std::uint64_t index = 0;

  bool operator==(const FileIdentity& other) const {
    return index == other.index &&
           (!volume || !other.volume || *volume == *other.volume);
  }
};

enum class FileKind {
  kRegular,
  kDirectory,
  kOther,  // a terminal, a pipe, a device
  kNone,   // no file at all: a standard stream that is closed
};

// What an open file is.
struct FileStatus {
  FileKind kind;
  FileIdentity identity;  // for a regular file or a directory
};

// Returns the path that `name` stands for, or nothing for a name that no
// file can have: one with a NUL byte (the system would cut it short there
// and take it for another file's name) or, on Windows, one that is not
// UTF-8.
std::optional<std::filesystem::path> pathOf(const std::string& name);

// A file the run opened: a descriptor, over a handle on Windows, never one
// of a standard stream's. It is closed when it goes, if close() has not
// closed it.
class SystemFile {
 public:
  // Opens `path` for reading bytes; nothing when it cannot be opened.
  static std::optional<SystemFile> forReading(
      const std::filesystem::path& path);

  // Opens `path` for writing text lines (the platform's line ends) without
  // truncating it, creating it when it is missing; *created tells whether
  // it was. Nothing when it can be neither opened nor created; then no file
  // was created either.
  static std::optional<SystemFile> forWriting(const std::filesystem::path& path,
                                              bool* created);

  SystemFile(SystemFile&& other) noexcept : descriptor_(other.descriptor_) {
    other.descriptor_ = -1;
  }
  SystemFile& operator=(SystemFile&&) = delete;
  ~SystemFile() { close(); }

  // Nothing when the system cannot tell.
  std::optional<FileStatus> status() const;

  // Reads up to `size` bytes into `buffer`; returns how many, 0 at the end
  // of the file, or nothing when reading failed.
  std::optional<size_t> read(char* buffer, size_t size);

  // Empties the file. Returns false when that failed.
  bool truncate();

  // Writes all of `text`. Returns false when any of it could not be written.
  bool write(std::string_view text);

  // Returns false when closing failed, which may lose what was written.
  bool close();

 private:
  explicit SystemFile(int descriptor) : descriptor_(descriptor) {}

  int descriptor_;  // -1 once closed
};

// Writes all of `bytes` to standard output as they are: on Windows too, no
// line end is changed. Returns false when any of them could not be
// written.
bool writeStandardOutputBytes(std::string_view bytes);

// What standard output writes to; nothing when the system cannot tell.
std::optional<FileStatus> standardOutputStatus();

// Removes the file `path` names; a failure is not reported.
void removeFile(const std::filesystem::path& path);

#endif  // ZEPTOR_SYSTEM_IO_PLATFORM_FILES_H_
