// Status conversion, the name guard and the safe open of a regular file.
#include "EntryStat.h"

#include <fcntl.h>
#include <sys/sysmacros.h>

#include "SysCalls.h"

namespace platform::posix {

EntryKind KindOfMode(mode_t mode) {
  if (S_ISREG(mode)) return EntryKind::File;
  if (S_ISDIR(mode)) return EntryKind::Folder;
  if (S_ISLNK(mode)) return EntryKind::Link;
  return EntryKind::Special;
}

EntryInfo ToEntryInfo(const struct stat& st) {
  EntryInfo info;
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
  return info;
}

int LookAt(int dirFd, const char* name, bool followLink, EntryInfo& info) {
  constexpr unsigned kWanted = STATX_TYPE | STATX_MODE | STATX_NLINK | STATX_UID | STATX_GID | STATX_INO |
                               STATX_SIZE | STATX_MTIME;
  struct statx sx {};
  const int flags = followLink ? 0 : AT_SYMLINK_NOFOLLOW;
  if (RetryOnEintr([&] { return Sys().statx(dirFd, name, flags, kWanted, &sx); }) != 0) return errno;
  const mode_t mode = sx.stx_mode;
  info.kind = KindOfMode(mode);
  info.size = S_ISDIR(mode) ? 0 : static_cast<std::uint64_t>(sx.stx_size);
  info.modifySeconds = sx.stx_mtime.tv_sec;
  info.modifyNanos = sx.stx_mtime.tv_nsec;
  info.device = makedev(sx.stx_dev_major, sx.stx_dev_minor);
  info.inode = sx.stx_ino;
  info.mode = mode & 07777;
  info.owner = sx.stx_uid;
  info.group = sx.stx_gid;
  info.links = sx.stx_nlink;
  return 0;
}

int CheckName(int dirFd, std::string_view name) {
  if (dirFd < 0) return EBADF;
  return IsPlainName(name) ? 0 : EINVAL;
}

int SetModeOf(int fd, std::uint32_t mode) {
  if (Sys().fchmod(fd, static_cast<mode_t>(mode & 07777)) == 0) return 0;
  const int error = errno;
  return Sys().traitsOf(fd).modesStored ? error : 0;
}

ReadResult OpenRegularAt(int dirFd, std::string_view name, int flags, UniqueFd& fd, EntryInfo& info) {
  fd.Reset();
  info = EntryInfo{};
  if (const int error = CheckName(dirFd, name)) return {ReadStatus::Failed, error};
  const std::string text(name);
  struct stat looked {};
  if (RetryOnEintr([&] { return Sys().fstatat(dirFd, text.c_str(), &looked, AT_SYMLINK_NOFOLLOW); }) != 0) {
    const int error = errno;
    if (error == ENOENT || error == ENOTDIR) return {ReadStatus::Missing, 0};
    return {ReadStatus::Failed, error};
  }
  if (!S_ISREG(looked.st_mode)) return {ReadStatus::NotAFile, 0};
  fd.Reset(RetryOnEintr([&] {
    return Sys().openat(dirFd, text.c_str(), flags | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0);
  }));
  if (!fd) {
    const int error = errno;
    if (error == ELOOP) return {ReadStatus::NotAFile, 0};  // a link took the name meanwhile
    if (error == ENOENT) return {ReadStatus::Missing, 0};
    return {ReadStatus::Failed, error};
  }
  struct stat opened {};
  if (Sys().fstat(fd.Get(), &opened) != 0) {
    const int error = errno;
    fd.Reset();
    return {ReadStatus::Failed, error};
  }
  // Another file (or no regular file) may have taken the name between the
  // look and the open.
  if (!S_ISREG(opened.st_mode) || opened.st_dev != looked.st_dev || opened.st_ino != looked.st_ino) {
    fd.Reset();
    return {S_ISREG(opened.st_mode) ? ReadStatus::Failed : ReadStatus::NotAFile, S_ISREG(opened.st_mode) ? ESTALE : 0};
  }
  info = ToEntryInfo(opened);
  return {ReadStatus::Read, 0};
}

}  // namespace platform::posix
