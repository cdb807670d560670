#include <sys/stat.h>
#include <unistd.h>

#include "report/platform_files.h"

namespace {

FileIdentity identityOf(const struct stat& file) {
  return FileIdentity{static_cast<std::uint64_t>(file.st_dev),
                      static_cast<std::uint64_t>(file.st_ino)};
}

}  // namespace

std::optional<std::filesystem::path> pathOf(const std::string& name) {
  if (name.find('\0') != std::string::npos) return std::nullopt;
  return std::filesystem::path(name);
}

std::optional<FileIdentity> identifyFile(const std::filesystem::path& path) {
  struct stat file;
  if (stat(path.c_str(), &file) != 0) return std::nullopt;
  return identityOf(file);
}

std::optional<FileIdentity> identifyStandardOutput() {
  struct stat file;
  if (fstat(STDOUT_FILENO, &file) != 0 || !S_ISREG(file.st_mode)) {
    return std::nullopt;
  }
  return identityOf(file);
}

bool isDirectory(const std::filesystem::path& path) {
  struct stat file;
  return stat(path.c_str(), &file) == 0 && S_ISDIR(file.st_mode);
}
