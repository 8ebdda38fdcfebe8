// The one seam through which the POSIX backend makes its system calls. Tests
// replace single entries to produce faults the real system cannot be made to
// produce on demand (EINTR, EIO, a kill at a chosen rename); ResetSysCalls
// puts the real calls back. Every system call of the backend goes through
// here, the ones only one operating system has included: those are filled
// in by that system's folder (src/linux), behind entries that say what they
// do rather than which call does it.
#pragma once

#include <cerrno>
#include <dirent.h>
#include <string>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/types.h>
#include <sys/vfs.h>
#include <vector>

#include "platform/FolderHandle.h"

namespace platform::posix {

struct SysCallTable {
  // Plain POSIX.
  int (*open)(const char* path, int flags, mode_t mode);
  int (*openat)(int dirFd, const char* path, int flags, mode_t mode);
  ssize_t (*read)(int fd, void* buffer, size_t count);
  ssize_t (*write)(int fd, const void* buffer, size_t count);
  int (*close)(int fd);
  off_t (*lseek)(int fd, off_t offset, int whence);
  int (*fstat)(int fd, struct stat* status);
  int (*stat)(const char* path, struct stat* status);
  int (*lstat)(const char* path, struct stat* status);
  // Status of a name relative to an open folder.
  int (*fstatat)(int dirFd, const char* path, struct stat* status, int flags);
  int (*mkdir)(const char* path, mode_t mode);
  int (*mkdirat)(int dirFd, const char* path, mode_t mode);
  int (*unlinkat)(int dirFd, const char* path, int flags);
  int (*renameat)(int fromDir, const char* from, int toDir, const char* to);
  ssize_t (*readlinkat)(int dirFd, const char* path, char* buffer, size_t size);
  int (*fchmod)(int fd, mode_t mode);
  int (*fchown)(int fd, uid_t owner, gid_t group);
  int (*flock)(int fd, int operation);
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
  // Whether a process runs (signal 0 only).
  int (*kill)(pid_t process, int signal);

  // What each operating system does its own way (src/linux). Each returns
  // 0 or an errno value.
  // The names of the open folder `dirFd`, "." and ".." left out; from its
  // start (`rewind`) or from where the descriptor stands, a fresh one's
  // start (the position moves: callers keep one listing at a time per
  // descriptor).
  int (*listNames)(int dirFd, bool rewind, std::vector<FolderName>& names);
  // Swaps the names `a` and `b` of a folder in one step (ENOSYS, EINVAL:
  // the file system cannot).
  int (*exchangeNames)(int dirFd, const char* a, const char* b);
  // Opens `path` (names joined by '/') below the open folder `dirFd` as a
  // handle for looking only (O_PATH), links followed but never out of it:
  // EXDEV for a link or ".." that would leave it. The descriptor, or -1
  // with errno set.
  int (*openBeneath)(int dirFd, const char* path, bool folder);
  // Renames `from` to `to` only when nothing holds `to` (EEXIST).
  int (*renameNoReplace)(int dirFd, const char* from, const char* to);
  // The path the system gives an open descriptor now ("" when none).
  std::string (*descriptorPath)(int fd);
  // The process's file-creation mask, read without changing it.
  mode_t (*processUmask)();
  // Whether `name` of the open folder `dirFd` (not followed; "" for the
  // descriptor's own file) carries an access control list beyond its mode.
  AclState (*aclOf)(int dirFd, const char* name);
  // The access control lists of an open folder: its own (`access`) and the
  // one its new files inherit (`inherited`).
  int (*folderAcls)(int fd, AclState& access, bool& inherited);
  // Takes away the access ACL of an open file or folder, and with `folder`
  // the default ACL its new files would inherit.
  int (*dropAcls)(int fd, bool folder);
  // What the file system of an open descriptor keeps of its files.
  FileSystemTraits (*traitsOf)(int fd);
};

SysCallTable& Sys();
void ResetSysCalls();
// The real calls, whatever Sys() holds now (for a replaced entry that
// passes on to the real one).
const SysCallTable& RealSysCalls();
// The real calls of this operating system (src/<system>).
void FillSystemCalls(SysCallTable& table);

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
