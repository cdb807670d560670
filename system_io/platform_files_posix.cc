#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "system_io/platform_files.h"

namespace {

FileStatus statusOf(const struct stat& file) {
  const FileKind kind = S_ISREG(file.st_mode)   ? FileKind::kRegular
                        : S_ISDIR(file.st_mode) ? FileKind::kDirectory
                                                : FileKind::kOther;
  return FileStatus{kind,
                    FileIdentity{static_cast<std::uint64_t>(file.st_dev),
                                 static_cast<std::uint64_t>(file.st_ino)}};
}

std::optional<FileStatus> statusOfDescriptor(int descriptor) {
  struct stat file;
  if (fstat(descriptor, &file) != 0) return std::nullopt;
  return statusOf(file);
}

bool writeAll(int descriptor, std::string_view text) {
  while (!text.empty()) {
    const ssize_t count = ::write(descriptor, text.data(), text.size());
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) return false;
    text.remove_prefix(static_cast<size_t>(count));
  }
  return true;
}

// Moves a file the run opened off the descriptors of the standard streams,
// where it would stand in for a closed one: an input on descriptor 1 would
// pass for standard output. Returns the descriptor, or -1 when it cannot
// be moved.
int awayFromStandardStreams(int descriptor) {
  constexpr int kFirstFree = STDERR_FILENO + 1;
  if (descriptor < 0 || descriptor >= kFirstFree) return descriptor;
  const int moved = fcntl(descriptor, F_DUPFD_CLOEXEC, kFirstFree);
  ::close(descriptor);
  return moved;
}

}  // namespace

std::optional<std::filesystem::path> pathOf(const std::string& name) {
  if (name.find('\0') != std::string::npos) return std::nullopt;
  return std::filesystem::path(name);
}

std::optional<SystemFile> SystemFile::forReading(
    const std::filesystem::path& path) {
  const int descriptor =
      awayFromStandardStreams(open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (descriptor < 0) return std::nullopt;
  return SystemFile(descriptor);
}

std::optional<SystemFile> SystemFile::forWriting(
    const std::filesystem::path& path, bool* created) {
  constexpr mode_t kAnyoneMayReadAndWrite = 0666;  // less the umask
  int descriptor = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                        kAnyoneMayReadAndWrite);
  *created = descriptor >= 0;
  if (descriptor < 0 && errno == EEXIST) {
    descriptor = open(path.c_str(), O_WRONLY | O_CLOEXEC);
  }
  descriptor = awayFromStandardStreams(descriptor);
  if (descriptor < 0) {
    if (*created) unlink(path.c_str());
    return std::nullopt;
  }
  return SystemFile(descriptor);
}

std::optional<FileStatus> SystemFile::status() const {
  return statusOfDescriptor(descriptor_);
}

std::optional<size_t> SystemFile::read(char* buffer, size_t size) {
  for (;;) {
    const ssize_t count = ::read(descriptor_, buffer, size);
    if (count >= 0) return static_cast<size_t>(count);
    if (errno != EINTR) return std::nullopt;
  }
}

bool SystemFile::truncate() { return ftruncate(descriptor_, 0) == 0; }

bool SystemFile::write(std::string_view text) {
  return writeAll(descriptor_, text);
}

bool SystemFile::close() {
  if (descriptor_ < 0) return true;
  const int result = ::close(descriptor_);
  descriptor_ = -1;
  return result == 0;
}

bool writeStandardOutputBytes(std::string_view bytes) {
  return writeAll(STDOUT_FILENO, bytes);
}

std::optional<FileStatus> standardOutputStatus() {
  struct stat file;
  if (fstat(STDOUT_FILENO, &file) == 0) return statusOf(file);
  if (errno == EBADF) return FileStatus{FileKind::kNone, {}};
  return std::nullopt;
}

void removeFile(const std::filesystem::path& path) { unlink(path.c_str()); }
