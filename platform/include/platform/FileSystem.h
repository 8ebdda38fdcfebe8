// File-system queries and the process's current directory, for paths in any
// spelling that the drive table accepts (see Drives.h).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// What the file system reports about one file or folder. A symbolic link is
// reported as what it points to.
struct FileStat {
  bool isDirectory = false;
  bool isReadOnly = false;  // nobody may write it (no write bit set)
  std::uint64_t size = 0;
  std::int64_t modifyTime = 0;  // seconds since 1970-01-01 UTC
  std::int64_t accessTime = 0;
  std::int64_t changeTime = 0;  // status change: the nearest POSIX has to a creation time
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
};

// Fills `stat` and returns true when the path exists; else false with errno set.
bool GetFileStat(std::string_view path, FileStat& stat);

// Same device and inode: the same file or folder, whatever the path says.
struct FileIdentity {
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};
bool GetFileIdentity(std::string_view path, FileIdentity& identity);

// The current directory in drive form ("C:\home\me").
std::string GetCurrentDirectoryPath();
// Makes the folder the current directory; false with errno set on failure.
bool SetCurrentDirectoryPath(std::string_view path);

}  // namespace platform
