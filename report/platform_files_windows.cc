#include <windows.h>

#include "report/platform_files.h"

// The C library's stat() gives every file the inode 0 here; a file is told
// by its volume serial number and file index instead.

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

std::optional<FileIdentity> identifyFile(const std::filesystem::path& path) {
  // No access is asked for, so a file that others hold open can be looked
  // at too; the flag lets a directory be opened.
  const HANDLE handle = CreateFileW(
      path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return std::nullopt;
  const std::optional<FileIdentity> identity = identityOf(handle);
  CloseHandle(handle);
  return identity;
}

std::optional<FileIdentity> identifyStandardOutput() {
  const HANDLE handle = GetStdHandle(STD_OUTPUT_HANDLE);
  if (handle == INVALID_HANDLE_VALUE || handle == nullptr ||
      GetFileType(handle) != FILE_TYPE_DISK) {
    return std::nullopt;
  }
  return identityOf(handle);
}

bool isDirectory(const std::filesystem::path& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES &&
         (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}
