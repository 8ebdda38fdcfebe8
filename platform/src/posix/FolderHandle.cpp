// FolderHandle over POSIX: an O_DIRECTORY descriptor, and the *at calls
// relative to it. Names are never followed unless asked (AT_SYMLINK_NOFOLLOW,
// O_NOFOLLOW), a file is only opened after its kind was seen to be a regular
// file, and it is opened non-blocking, so a pipe of a picture's name can
// never stop the caller.
#include "platform/FolderHandle.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/syscall.h>
#include <unistd.h>

#include "SysCalls.h"
#include "platform/Drives.h"

namespace platform {
namespace {

using posix::RetryOnEintr;
using posix::Sys;

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY;

EntryKind KindOfMode(mode_t mode) {
  if (S_ISREG(mode)) return EntryKind::File;
  if (S_ISDIR(mode)) return EntryKind::Folder;
  if (S_ISLNK(mode)) return EntryKind::Link;
  return EntryKind::Special;
}

void FillInfo(const struct stat& st, EntryInfo& info) {
  info.kind = KindOfMode(st.st_mode);
  info.size = S_ISDIR(st.st_mode) ? 0 : static_cast<std::uint64_t>(st.st_size);
  info.modifySeconds = st.st_mtim.tv_sec;
  info.modifyNanos = static_cast<std::uint32_t>(st.st_mtim.tv_nsec);
  info.device = st.st_dev;
  info.inode = st.st_ino;
  info.mode = st.st_mode & 07777;
  info.owner = st.st_uid;
  info.group = st.st_gid;
  info.links = st.st_nlink;
}

EntryKind KindOfDirentType(unsigned char type) {
  switch (type) {
    case DT_REG: return EntryKind::File;
    case DT_DIR: return EntryKind::Folder;
    case DT_LNK: return EntryKind::Link;
    case DT_FIFO: case DT_SOCK: case DT_CHR: case DT_BLK: return EntryKind::Special;
    default: return EntryKind::Unknown;
  }
}

// The layout getdents64 fills (not in the C library's headers).
struct LinuxDirent64 {
  ino64_t d_ino;
  off64_t d_off;
  unsigned short d_reclen;
  unsigned char d_type;
  char d_name[];
};

}  // namespace

bool IsPlainName(std::string_view name) {
  return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos &&
         name.find('\0') == std::string_view::npos;
}

bool IsOwnedBySelfOrAdmin(const EntryInfo& info) { return info.owner == ::geteuid() || info.owner == 0; }

FolderHandle::~FolderHandle() {
  if (m_fd >= 0) ::close(m_fd);
}

FolderHandle::FolderHandle(FolderHandle&& other) noexcept
    : m_fd(other.m_fd), m_error(other.m_error), m_listed(other.m_listed) {
  other.m_fd = -1;
}

FolderHandle& FolderHandle::operator=(FolderHandle&& other) noexcept {
  if (this != &other) {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = other.m_fd;
    m_error = other.m_error;
    m_listed = other.m_listed;
    other.m_fd = -1;
  }
  return *this;
}

FolderHandle FolderHandle::Open(std::string_view path) {
  const std::string native = ToNativePath(path);
  if (native.empty()) return FolderHandle(-1, ENOENT);
  const int fd = RetryOnEintr([&] { return Sys().open(native.c_str(), kFolderFlags, 0); });
  return fd >= 0 ? FolderHandle(fd, 0) : FolderHandle(-1, errno);
}

FolderHandle FolderHandle::Reopen() const {
  if (m_fd < 0) return FolderHandle(-1, EBADF);
  const int fd = RetryOnEintr([&] { return ::openat(m_fd, ".", kFolderFlags); });
  return fd >= 0 ? FolderHandle(fd, 0) : FolderHandle(-1, errno);
}

FolderHandle FolderHandle::OpenFolder(std::string_view name, bool followLink) const {
  if (m_fd < 0) return FolderHandle(-1, EBADF);
  if (!IsPlainName(name)) return FolderHandle(-1, EINVAL);
  const std::string text(name);
  const int flags = kFolderFlags | (followLink ? 0 : O_NOFOLLOW);
  const int fd = RetryOnEintr([&] { return ::openat(m_fd, text.c_str(), flags); });
  if (fd >= 0) return FolderHandle(fd, 0);
  int error = errno;
  // With O_DIRECTORY the system answers ENOTDIR for a link as for a file;
  // callers tell a link by ELOOP.
  struct stat st {};
  if (error == ENOTDIR && !followLink && Sys().fstatat(m_fd, text.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 &&
      S_ISLNK(st.st_mode))
    error = ELOOP;
  return FolderHandle(-1, error);
}

FileIdentity FolderHandle::Identity() const {
  struct stat st {};
  if (m_fd < 0 || Sys().fstat(m_fd, &st) != 0) return {};
  return {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}

std::string FolderHandle::RealPath() const {
  if (m_fd < 0) return {};
  const std::string link = "/proc/self/fd/" + std::to_string(m_fd);
  std::string target(4096, '\0');
  for (;;) {
    const ssize_t n = ::readlink(link.c_str(), target.data(), target.size());
    if (n < 0) return {};
    if (static_cast<std::size_t>(n) < target.size()) {
      target.resize(static_cast<std::size_t>(n));
      break;
    }
    target.resize(target.size() * 2);
  }
  // A folder removed while open is shown as "<path> (deleted)": no real path.
  if (target.empty() || target[0] != '/') return {};
  return target;
}

bool FolderHandle::List(std::vector<FolderName>& names) const {
  names.clear();
  if (m_fd < 0) {
    errno = EBADF;
    return false;
  }
  // From the start, whoever listed the folder before.
  if (m_listed && ::lseek(m_fd, 0, SEEK_SET) < 0) return false;
  m_listed = true;
  alignas(LinuxDirent64) char buffer[32 * 1024];
  for (;;) {
    const long n = RetryOnEintr([&] { return ::syscall(SYS_getdents64, m_fd, buffer, sizeof buffer); });
    if (n < 0) return false;
    if (n == 0) return true;
    for (long pos = 0; pos < n;) {
      const auto* entry = reinterpret_cast<const LinuxDirent64*>(buffer + pos);
      pos += entry->d_reclen;
      const std::string_view name(entry->d_name);
      if (name == "." || name == "..") continue;
      names.push_back({std::string(name), KindOfDirentType(entry->d_type)});
    }
  }
}

bool FolderHandle::Look(std::string_view name, EntryInfo& info, bool followLink) const {
  info = EntryInfo{};
  if (m_fd < 0 || !IsPlainName(name)) {
    errno = m_fd < 0 ? EBADF : EINVAL;
    return false;
  }
  const std::string text(name);
  struct stat st {};
  const int flags = followLink ? 0 : AT_SYMLINK_NOFOLLOW;
  if (RetryOnEintr([&] { return Sys().fstatat(m_fd, text.c_str(), &st, flags); }) != 0) return false;
  FillInfo(st, info);
  return true;
}

namespace {

// Opens a regular file of the folder for reading: its kind is looked at
// first, so a pipe or device is never opened at all, and what was opened
// is checked to be the file looked at.
ReadStatus OpenRegular(int dirFd, const std::string& name, int& fd, EntryInfo& info) {
  fd = -1;
  struct stat st {};
  if (RetryOnEintr([&] { return Sys().fstatat(dirFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW); }) != 0)
    return errno == ENOENT || errno == ENOTDIR ? ReadStatus::Missing : ReadStatus::Failed;
  if (!S_ISREG(st.st_mode)) return ReadStatus::NotAFile;
  fd = RetryOnEintr([&] {
    return ::openat(dirFd, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  });
  if (fd < 0) {
    if (errno == ELOOP) return ReadStatus::NotAFile;
    return errno == ENOENT ? ReadStatus::Missing : ReadStatus::Failed;
  }
  struct stat opened {};
  if (Sys().fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode)) {
    const int error = errno;
    ::close(fd);
    fd = -1;
    errno = error;
    return S_ISREG(opened.st_mode) ? ReadStatus::Failed : ReadStatus::NotAFile;
  }
  FillInfo(opened, info);
  return ReadStatus::Read;
}

// Opens the regular file `name` and reads at most `max` bytes of it; a file
// longer than `refuseBeyond` is not read at all (TooLarge).
ReadStatus ReadRegular(int dirFd, std::string_view name, std::uint64_t max, std::uint64_t refuseBeyond,
                       std::string& content, EntryInfo* info) {
  content.clear();
  if (dirFd < 0 || !IsPlainName(name)) {
    errno = dirFd < 0 ? EBADF : EINVAL;
    return ReadStatus::Failed;
  }
  int fd = -1;
  EntryInfo opened;
  const ReadStatus status = OpenRegular(dirFd, std::string(name), fd, opened);
  if (status != ReadStatus::Read) return status;
  if (info) *info = opened;
  if (opened.size > refuseBeyond) {
    ::close(fd);
    return ReadStatus::TooLarge;
  }
  content.reserve(static_cast<std::size_t>(std::min(opened.size, max)));
  char buffer[64 * 1024];
  while (content.size() < max) {
    const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(sizeof buffer, max - content.size()));
    const ssize_t n = RetryOnEintr([&] { return Sys().read(fd, buffer, want); });
    if (n < 0) {
      const int error = errno;
      ::close(fd);
      content.clear();
      errno = error;
      return ReadStatus::Failed;
    }
    if (n == 0) break;
    content.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return ReadStatus::Read;
}

}  // namespace

ReadStatus FolderHandle::ReadFile(std::string_view name, std::uint64_t limit, std::string& content,
                                  EntryInfo* info) const {
  // One byte more than the limit tells a file that grew while it was read.
  const std::uint64_t max = limit == UINT64_MAX ? limit : limit + 1;
  const ReadStatus status = ReadRegular(m_fd, name, max, limit, content, info);
  if (status == ReadStatus::Read && content.size() > limit) {
    content.clear();
    return ReadStatus::TooLarge;
  }
  return status;
}

ReadStatus FolderHandle::ReadHead(std::string_view name, std::size_t count, std::string& content) const {
  return ReadRegular(m_fd, name, count, UINT64_MAX, content, nullptr);
}

bool FolderHandle::MakeFolder(std::string_view name) const {
  if (m_fd < 0 || !IsPlainName(name)) {
    errno = m_fd < 0 ? EBADF : EINVAL;
    return false;
  }
  const std::string text(name);
  return RetryOnEintr([&] { return ::mkdirat(m_fd, text.c_str(), 0777); }) == 0;
}

bool FolderHandle::RemoveFile(std::string_view name, const FileIdentity* expected) const {
  EntryInfo info;
  if (!Look(name, info)) return false;
  if (info.kind != EntryKind::File) {
    errno = EPERM;
    return false;
  }
  if (expected && !(info.Identity() == *expected)) {
    errno = ESTALE;
    return false;
  }
  const std::string text(name);
  return ::unlinkat(m_fd, text.c_str(), 0) == 0;
}

bool FolderHandle::RemoveFolder(std::string_view name) const {
  EntryInfo info;
  if (!Look(name, info)) return false;
  if (info.kind != EntryKind::Folder) {
    errno = ENOTDIR;
    return false;
  }
  const std::string text(name);
  // AT_REMOVEDIR never follows a link: a link swapped in fails with ENOTDIR.
  return ::unlinkat(m_fd, text.c_str(), AT_REMOVEDIR) == 0;
}

bool FolderHandle::TryLock() const {
  if (m_fd < 0) {
    errno = EBADF;
    return false;
  }
  return RetryOnEintr([&] { return ::flock(m_fd, LOCK_EX | LOCK_NB); }) == 0;
}

AppendFile::~AppendFile() { Close(); }

AppendFile::AppendFile(AppendFile&& other) noexcept : m_fd(other.m_fd) { other.m_fd = -1; }

AppendFile& AppendFile::operator=(AppendFile&& other) noexcept {
  if (this != &other) {
    Close();
    m_fd = other.m_fd;
    other.m_fd = -1;
  }
  return *this;
}

void AppendFile::Close() {
  if (m_fd >= 0) ::close(m_fd);
  m_fd = -1;
}

AppendFile AppendFile::Open(const FolderHandle& folder, std::string_view name) {
  AppendFile file;
  if (!folder.IsOpen() || !IsPlainName(name)) {
    errno = folder.IsOpen() ? EINVAL : EBADF;
    return file;
  }
  const std::string text(name);
  struct stat st {};
  if (RetryOnEintr([&] { return Sys().fstatat(folder.NativeHandle(), text.c_str(), &st, AT_SYMLINK_NOFOLLOW); }) != 0)
    return file;
  if (!S_ISREG(st.st_mode)) {
    errno = EPERM;
    return file;
  }
  const int fd = RetryOnEintr([&] {
    return ::openat(folder.NativeHandle(), text.c_str(), O_WRONLY | O_APPEND | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  });
  if (fd < 0) return file;
  struct stat opened {};
  if (Sys().fstat(fd, &opened) != 0 || opened.st_dev != st.st_dev || opened.st_ino != st.st_ino) {
    ::close(fd);
    errno = ESTALE;
    return file;
  }
  file.m_fd = fd;
  return file;
}

bool AppendFile::Append(std::string_view bytes) const {
  if (m_fd < 0) {
    errno = EBADF;
    return false;
  }
  const ssize_t n = RetryOnEintr([&] { return Sys().write(m_fd, bytes.data(), bytes.size()); });
  if (n < 0) return false;
  if (static_cast<std::size_t>(n) != bytes.size()) {
    errno = ENOSPC;
    return false;
  }
  return true;
}

}  // namespace platform
