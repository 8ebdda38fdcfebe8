// The real system calls behind the seam.
#include "SysCalls.h"

#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace platform::posix {
namespace {

int RealOpen(const char* path, int flags, mode_t mode) { return ::open(path, flags, mode); }
int RealOpenat(int dirFd, const char* path, int flags, mode_t mode) { return ::openat(dirFd, path, flags, mode); }
int RealStat(const char* path, struct stat* status) { return ::stat(path, status); }
int RealLstat(const char* path, struct stat* status) { return ::lstat(path, status); }
int RealFstat(int fd, struct stat* status) { return ::fstat(fd, status); }
int RealFstatat(int dirFd, const char* path, struct stat* status, int flags) {
  return ::fstatat(dirFd, path, status, flags);
}
int RealStatvfs(const char* path, struct statvfs* status) { return ::statvfs(path, status); }
int RealStatfs(const char* path, struct statfs* status) { return ::statfs(path, status); }

SysCallTable RealCalls() {
  SysCallTable table{};
  table.open = RealOpen;
  table.openat = RealOpenat;
  table.read = ::read;
  table.write = ::write;
  table.close = ::close;
  table.lseek = ::lseek;
  table.fstat = RealFstat;
  table.stat = RealStat;
  table.lstat = RealLstat;
  table.fstatat = RealFstatat;
  table.mkdir = ::mkdir;
  table.mkdirat = ::mkdirat;
  table.unlinkat = ::unlinkat;
  table.renameat = ::renameat;
  table.readlinkat = ::readlinkat;
  table.fchmod = ::fchmod;
  table.fchown = ::fchown;
  table.flock = ::flock;
  table.opendir = ::opendir;
  table.readdir = ::readdir;
  table.closedir = ::closedir;
  table.chdir = ::chdir;
  table.getcwd = ::getcwd;
  table.faccessat = ::faccessat;
  table.statx = ::statx;
  table.statvfs = RealStatvfs;
  table.statfs = RealStatfs;
  table.ftruncate = ::ftruncate;
  table.fsync = ::fsync;
  table.kill = ::kill;
  FillSystemCalls(table);
  return table;
}

}  // namespace

// Made on first use, so a call from another file's start-up code finds it.
const SysCallTable& RealSysCalls() {
  static const SysCallTable calls = RealCalls();
  return calls;
}

SysCallTable& Sys() {
  static SysCallTable calls = RealSysCalls();
  return calls;
}

void ResetSysCalls() { Sys() = RealSysCalls(); }

}  // namespace platform::posix
