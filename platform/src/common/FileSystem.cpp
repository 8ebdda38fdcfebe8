// File-system queries and the current directory over the drive table.
#include "platform/FileSystem.h"

#include <cerrno>

#include "Backend.h"
#include "platform/Drives.h"

namespace platform {

std::string GetCurrentDirectoryPath() { return ToDrivePath(backend::GetCurrentDirectory()); }

bool SetCurrentDirectoryPath(std::string_view path) {
  const std::string native = ToNativePath(path);
  if (native.empty()) {
    errno = ENOENT;
    return false;
  }
  return backend::ChangeDirectory(native);
}

bool GetFileStat(std::string_view path, FileStat& stat) {
  const std::string native = ToNativePath(path);
  if (native.empty()) {
    errno = ENOENT;
    return false;
  }
  return backend::Stat(native, stat);
}

bool GetFileIdentity(std::string_view path, FileIdentity& identity) {
  FileStat stat;
  if (!GetFileStat(path, stat)) return false;
  identity = {stat.device, stat.inode};
  return true;
}

}  // namespace platform
