// The one seam through which the POSIX backend makes its system calls. Tests
// replace single entries to produce faults the real system cannot be made to
// produce on demand (EINTR, EIO); ResetSysCalls puts the real calls back.
#pragma once

#include <cerrno>
#include <dirent.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/types.h>
#include <sys/vfs.h>

namespace platform::posix {

struct SysCallTable {
  int (*open)(const char* path, int flags, mode_t mode);
  ssize_t (*read)(int fd, void* buffer, size_t count);
  ssize_t (*write)(int fd, const void* buffer, size_t count);
  int (*close)(int fd);
  off_t (*lseek)(int fd, off_t offset, int whence);
  int (*fstat)(int fd, struct stat* status);
  int (*stat)(const char* path, struct stat* status);
  int (*lstat)(const char* path, struct stat* status);
  int (*mkdir)(const char* path, mode_t mode);
  DIR* (*opendir)(const char* path);
  struct dirent* (*readdir)(DIR* dir);
  int (*closedir)(DIR* dir);
  int (*chdir)(const char* path);
  char* (*getcwd)(char* buffer, size_t size);
  // Files, access tests, creation times and file-system space and type.
  int (*faccessat)(int dirFd, const char* path, int mode, int flags);
  int (*statx)(int dirFd, const char* path, int flags, unsigned int mask, struct statx* status);
  int (*statvfs)(const char* path, struct statvfs* status);
  int (*statfs)(const char* path, struct statfs* status);
  int (*ftruncate)(int fd, off_t length);
  int (*fsync)(int fd);
  // Status of a name relative to an open folder.
  int (*fstatat)(int dirFd, const char* path, struct stat* status, int flags);
};

SysCallTable& Sys();
void ResetSysCalls();

// Repeats a call that returns -1 for failure while it fails with EINTR.
template <typename Call>
auto RetryOnEintr(Call call) {
  for (;;) {
    auto result = call();
    if (result == -1 && errno == EINTR) continue;
    return result;
  }
}

}  // namespace platform::posix
