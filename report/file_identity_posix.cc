#include <sys/stat.h>
#include <unistd.h>

#include "report/file_identity.h"

namespace {

FileIdentity identityOf(const struct stat& file) {
  return FileIdentity{static_cast<std::uint64_t>(file.st_dev),
                      static_cast<std::uint64_t>(file.st_ino)};
}

bool statName(const std::string& name, struct stat* file) {
  return isPossibleFileName(name) && stat(name.c_str(), file) == 0;
}

}  // namespace

std::optional<FileIdentity> identifyFile(const std::string& name) {
  struct stat file;
  if (!statName(name, &file)) return std::nullopt;
  return identityOf(file);
}

std::optional<FileIdentity> identifyStandardOutput() {
  struct stat file;
  if (fstat(STDOUT_FILENO, &file) != 0 || !S_ISREG(file.st_mode)) {
    return std::nullopt;
  }
  return identityOf(file);
}

bool isDirectory(const std::string& name) {
  struct stat file;
  return statName(name, &file) && S_ISDIR(file.st_mode);
}
