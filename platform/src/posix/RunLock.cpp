// RunLock over POSIX: flock on a lock file in a folder of the user's own.
#include "platform/RunLock.h"

#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <unistd.h>

#include "EntryStat.h"
#include "SysCalls.h"
#include "UniqueFd.h"

namespace platform {
namespace {

using posix::RetryOnEintr;
using posix::Sys;
using posix::UniqueFd;

// A folder of the running user's own that nobody else may write into,
// opened without following a link; made (mode 0700) when `create` and it
// is missing.
UniqueFd OwnFolder(const std::string& path, bool create) {
  if (path.empty() || path[0] != '/') return UniqueFd();
  const int flags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
  UniqueFd folder(RetryOnEintr([&] { return Sys().open(path.c_str(), flags, 0); }));
  if (!folder && errno == ENOENT && create && Sys().mkdir(path.c_str(), 0700) == 0)
    folder.Reset(RetryOnEintr([&] { return Sys().open(path.c_str(), flags, 0); }));
  struct stat st {};
  if (!folder || Sys().fstat(folder.Get(), &st) != 0 || st.st_uid != ::geteuid() || (st.st_mode & 022) != 0)
    return UniqueFd();
  return folder;
}

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// The folder the lock files of `program` go into, by preference.
UniqueFd LockFolder(const std::string& program) {
  const std::string runtime = Environment("XDG_RUNTIME_DIR");
  if (!runtime.empty() && OwnFolder(runtime, false))
    if (UniqueFd folder = OwnFolder(runtime + "/" + program, true)) return folder;
  if (::geteuid() == 0)
    if (UniqueFd folder = OwnFolder("/run/" + program, true)) return folder;
  const std::string home = Environment("HOME");
  if (!home.empty() && OwnFolder(home, false) && OwnFolder(home + "/.cache", true))
    if (UniqueFd folder = OwnFolder(home + "/.cache/" + program, true)) return folder;
  return OwnFolder("/tmp/" + program + "-" + std::to_string(::geteuid()), true);
}

}  // namespace

RunLock::~RunLock() { UniqueFd(std::exchange(m_fd, -1)); }

RunLock::RunLock(RunLock&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)), m_error(other.m_error) {}

RunLock& RunLock::operator=(RunLock&& other) noexcept {
  if (this != &other) {
    UniqueFd(std::exchange(m_fd, std::exchange(other.m_fd, -1)));
    m_error = other.m_error;
  }
  return *this;
}

RunLock RunLock::Acquire(const FolderHandle& top, std::string_view program) {
  RunLock lock;
  EntryInfo info;
  if (const FsStatus looked = top.LookSelf(info); looked.Failed()) {
    lock.m_error = looked.Error();
    return lock;
  }
  const UniqueFd folder = LockFolder(std::string(program));
  if (!folder) {
    lock.m_error = EACCES;
    return lock;
  }
  const std::string name = "tree-" + std::to_string(info.device) + "-" + std::to_string(info.inode) + ".lock";
  UniqueFd file(RetryOnEintr([&] {
    return Sys().openat(folder.Get(), name.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
  }));
  struct stat st {};
  if (!file || Sys().fstat(file.Get(), &st) != 0) {
    lock.m_error = errno;
    return lock;
  }
  if (!S_ISREG(st.st_mode) || st.st_uid != ::geteuid() || st.st_nlink != 1) {
    lock.m_error = EPERM;
    return lock;
  }
  if (RetryOnEintr([&] { return Sys().flock(file.Get(), LOCK_EX | LOCK_NB); }) != 0) {
    lock.m_error = errno;
    return lock;
  }
  lock.m_fd = file.Release();
  return lock;
}

}  // namespace platform
