// POSIX primitives for the portable platform code: current directory,
// environment, folder listing and file status.
#include "../common/Backend.h"

#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

#include "SysCalls.h"

namespace platform::backend {

std::string GetCurrentDirectory() {
  std::string buffer(256, '\0');
  for (;;) {
    if (posix::Sys().getcwd(buffer.data(), buffer.size())) {
      buffer.resize(std::char_traits<char>::length(buffer.c_str()));
      return buffer;
    }
    if (errno != ERANGE) return {};
    buffer.resize(buffer.size() * 2);
  }
}

bool ChangeDirectory(const std::string& nativePath) {
  return posix::RetryOnEintr([&] { return posix::Sys().chdir(nativePath.c_str()); }) == 0;
}

std::optional<std::string> GetEnvironment(const char* name) {
  if (const char* value = std::getenv(name)) return std::string(value);
  return std::nullopt;
}

bool ListDirectory(const std::string& nativePath, std::vector<RawDirEntry>& entries) {
  DIR* dir = posix::Sys().opendir(nativePath.c_str());
  if (!dir) return false;
  errno = 0;
  while (struct dirent* entry = posix::Sys().readdir(dir)) {
    RawDirEntry raw;
    raw.name = entry->d_name;
    switch (entry->d_type) {
      case DT_DIR: raw.kind = RawDirEntry::Kind::Directory; break;
      case DT_LNK: raw.kind = RawDirEntry::Kind::Link; break;
      case DT_UNKNOWN: raw.kind = RawDirEntry::Kind::Unknown; break;
      default: raw.kind = RawDirEntry::Kind::Other; break;
    }
    entries.push_back(std::move(raw));
  }
  const int readError = errno;
  posix::Sys().closedir(dir);
  errno = readError;
  return readError == 0;
}

bool Stat(const std::string& nativePath, FileStat& stat) {
  struct stat status {};
  if (posix::RetryOnEintr([&] { return posix::Sys().stat(nativePath.c_str(), &status); }) != 0)
    return false;
  stat.isDirectory = S_ISDIR(status.st_mode);
  stat.isReadOnly = (status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
  stat.size = static_cast<std::uint64_t>(status.st_size);
  stat.modifyTime = status.st_mtime;
  stat.accessTime = status.st_atime;
  stat.changeTime = status.st_ctime;
  stat.device = static_cast<std::uint64_t>(status.st_dev);
  stat.inode = static_cast<std::uint64_t>(status.st_ino);
  return true;
}

}  // namespace platform::backend
