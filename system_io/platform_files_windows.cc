#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include <cerrno>
#include <climits>
#include <cstdio>

#include "system_io/platform_files.h"

// Files are C-runtime descriptors, whose text mode writes CR LF line ends.
// The C library's fstat() gives every file the inode 0 here; a file is told
// by its volume serial number and file index, read through its handle.

namespace {

std::optional<FileIdentity> identityOf(HANDLE handle) {
  BY_HANDLE_FILE_INFORMATION info;
  if (GetFileInformationByHandle(handle, &info)) {
    return FileIdentity{
        info.dwVolumeSerialNumber,
        (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow};
  }
  // A handle that allows no more than the id query; its index is the low
  // half of the id, and a volume of 0 is one the handle could not tell.
  FILE_ID_INFO id;
  if (!GetFileInformationByHandleEx(handle, FileIdInfo, &id, sizeof id)) {
    return std::nullopt;
  }
  std::uint64_t index = 0;
  for (int byte = 7; byte >= 0; --byte) {
    index = (index << 8) | id.FileId.Identifier[byte];
  }
  std::optional<std::uint64_t> volume;
  if (id.VolumeSerialNumber != 0) volume = id.VolumeSerialNumber;
  return FileIdentity{volume, index};
}

std::optional<FileStatus> statusOf(HANDLE handle) {
  if (handle == INVALID_HANDLE_VALUE || handle == nullptr) {
    return FileStatus{FileKind::kNone, {}};
  }
  if (GetFileType(handle) != FILE_TYPE_DISK) {
    return FileStatus{FileKind::kOther, {}};
  }
  const std::optional<FileIdentity> identity = identityOf(handle);
  if (!identity) return std::nullopt;
  FILE_BASIC_INFO basic;
  const bool directory = GetFileInformationByHandleEx(handle, FileBasicInfo,
                                                      &basic, sizeof basic) &&
                         (basic.FileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  return FileStatus{directory ? FileKind::kDirectory : FileKind::kRegular,
                    *identity};
}

bool writeAll(int descriptor, std::string_view text) {
  while (!text.empty()) {
    const unsigned part =
        text.size() > INT_MAX ? INT_MAX : static_cast<unsigned>(text.size());
    const int count = _write(descriptor, text.data(), part);
    if (count <= 0) return false;
    text.remove_prefix(static_cast<size_t>(count));
  }
  return true;
}

}  // namespace

std::optional<std::filesystem::path> pathOf(const std::string& name) {
  if (name.find('\0') != std::string::npos) return std::nullopt;
  if (name.empty()) return std::filesystem::path();
  const int size = static_cast<int>(name.size());
  const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS,
                                         name.data(), size, nullptr, 0);
  if (length == 0) return std::nullopt;
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, name.data(), size,
                      wide.data(), length);
  return std::filesystem::path(wide);
}

std::optional<SystemFile> SystemFile::forReading(
    const std::filesystem::path& path) {
  const int descriptor = _wopen(path.c_str(), _O_RDONLY | _O_BINARY);
  if (descriptor < 0) return std::nullopt;
  return SystemFile(descriptor);
}

std::optional<SystemFile> SystemFile::forWriting(
    const std::filesystem::path& path, bool* created) {
  int descriptor =
      _wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_TEXT,
             _S_IREAD | _S_IWRITE);
  *created = descriptor >= 0;
  if (descriptor < 0 && errno == EEXIST) {
    descriptor = _wopen(path.c_str(), _O_WRONLY | _O_TEXT);
  }
  if (descriptor < 0) return std::nullopt;
  return SystemFile(descriptor);
}

std::optional<FileStatus> SystemFile::status() const {
  return statusOf(reinterpret_cast<HANDLE>(_get_osfhandle(descriptor_)));
}

std::optional<size_t> SystemFile::read(char* buffer, size_t size) {
  const unsigned part = size > INT_MAX ? INT_MAX : static_cast<unsigned>(size);
  const int count = _read(descriptor_, buffer, part);
  if (count < 0) return std::nullopt;
  return static_cast<size_t>(count);
}

bool SystemFile::truncate() { return _chsize_s(descriptor_, 0) == 0; }

bool SystemFile::write(std::string_view text) {
  return writeAll(descriptor_, text);
}

bool SystemFile::close() {
  if (descriptor_ < 0) return true;
  const int result = _close(descriptor_);
  descriptor_ = -1;
  return result == 0;
}

bool writeStandardOutputBytes(std::string_view bytes) {
  // Text mode would write "\r\n" as "\r\r\n".
  static const bool binary = _setmode(_fileno(stdout), _O_BINARY) != -1;
  return binary && writeAll(_fileno(stdout), bytes);
}

std::optional<FileStatus> standardOutputStatus() {
  return statusOf(GetStdHandle(STD_OUTPUT_HANDLE));
}

void removeFile(const std::filesystem::path& path) { _wunlink(path.c_str()); }
