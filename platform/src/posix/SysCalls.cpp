// The real system calls behind the seam.
#include "SysCalls.h"

#include <fcntl.h>
#include <unistd.h>

namespace platform::posix {
namespace {

int RealOpen(const char* path, int flags, mode_t mode) { return ::open(path, flags, mode); }
int RealStat(const char* path, struct stat* status) { return ::stat(path, status); }
int RealLstat(const char* path, struct stat* status) { return ::lstat(path, status); }
int RealFstat(int fd, struct stat* status) { return ::fstat(fd, status); }
int RealFstatat(int dirFd, const char* path, struct stat* status, int flags) {
  return ::fstatat(dirFd, path, status, flags);
}
int RealStatvfs(const char* path, struct statvfs* status) { return ::statvfs(path, status); }
int RealStatfs(const char* path, struct statfs* status) { return ::statfs(path, status); }

constexpr SysCallTable kRealCalls = {
    RealOpen, ::read,     ::write,   ::close,    ::lseek, RealFstat, RealStat,
    RealLstat, ::mkdir,   ::opendir, ::readdir,  ::closedir, ::chdir, ::getcwd,
    ::faccessat, ::statx, RealStatvfs, RealStatfs, ::ftruncate, ::fsync, RealFstatat,
};

SysCallTable g_calls = kRealCalls;

}  // namespace

SysCallTable& Sys() { return g_calls; }

void ResetSysCalls() { g_calls = kRealCalls; }

}  // namespace platform::posix
