// POSIX file primitives: descriptors, status with birth times, access tests
// with the effective ids, folder creation, file-system space and kind.
#include "../common/FileBackend.h"

#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#include "SysCalls.h"

namespace platform::backend {
namespace {

using posix::RetryOnEintr;
using posix::Sys;

// One call moves at most this much, well inside ssize_t on every system.
constexpr std::size_t kMaxTransfer = std::size_t{1} << 30;

// The birth time where the file system records it, else the status change
// time: the nearest POSIX has to a creation time.
void FillStatus(const struct stat& st, const struct statx* sx, FileStatusData& status) {
  status.isDirectory = S_ISDIR(st.st_mode);
  status.isReadOnly = (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
  status.size = status.isDirectory ? 0 : static_cast<std::uint64_t>(st.st_size);
  status.modifyTime = st.st_mtime;
  status.accessTime = st.st_atime;
  status.creationTime = st.st_ctime;
  if (sx && (sx->stx_mask & STATX_BTIME)) status.creationTime = sx->stx_btime.tv_sec;
}

// statx for the birth time only; its failure is not an error (older kernels
// and some file systems have none).
bool BirthTime(int dirFd, const char* path, int flags, struct statx& sx) {
  std::memset(&sx, 0, sizeof sx);
  return RetryOnEintr([&] { return Sys().statx(dirFd, path, flags, STATX_BTIME, &sx); }) == 0;
}

struct KnownFileSystem {
  unsigned long magic;
  const char* name;
  FileSystemKind kind;
};

// Magic numbers of statfs (linux/magic.h) for the kinds a drive type can
// name; every other file system counts as a local disk.
constexpr KnownFileSystem kKnownFileSystems[] = {
    {0x6969, "nfs", FileSystemKind::Remote},
    {0x517B, "smb", FileSystemKind::Remote},
    {0xFF534D42, "cifs", FileSystemKind::Remote},
    {0xFE534D42, "smb2", FileSystemKind::Remote},
    {0x73757245, "coda", FileSystemKind::Remote},
    {0x5346414F, "afs", FileSystemKind::Remote},
    {0x00C36400, "ceph", FileSystemKind::Remote},
    {0x01021997, "9p", FileSystemKind::Remote},
    {0x9660, "iso9660", FileSystemKind::CdRom},
    {0x15013346, "udf", FileSystemKind::CdRom},
    {0x01021994, "tmpfs", FileSystemKind::Ram},
    {0x858458F6, "ramfs", FileSystemKind::Ram},
    {0xEF53, "ext4", FileSystemKind::Local},
    {0x58465342, "xfs", FileSystemKind::Local},
    {0x9123683E, "btrfs", FileSystemKind::Local},
    {0x794C7630, "overlay", FileSystemKind::Local},
};

}  // namespace

int OpenFile(const std::string& nativePath, OpenAccess access, bool create, bool truncate) {
  int flags = O_CLOEXEC;
  switch (access) {
    case OpenAccess::Read: flags |= O_RDONLY; break;
    case OpenAccess::Write: flags |= O_WRONLY; break;
    case OpenAccess::ReadWrite: flags |= O_RDWR; break;
  }
  if (create) flags |= O_CREAT;
  if (truncate) flags |= O_TRUNC;
  const int fd = RetryOnEintr([&] { return Sys().open(nativePath.c_str(), flags, 0666); });
  if (fd < 0) return -1;
  // Reading a folder opens on POSIX; the file family treats it as refused.
  struct stat st {};
  if (Sys().fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
    Sys().close(fd);
    errno = EISDIR;
    return -1;
  }
  return fd;
}

std::int64_t ReadSome(int fd, void* buffer, std::size_t count) {
  count = std::min(count, kMaxTransfer);
  return RetryOnEintr([&] { return Sys().read(fd, buffer, count); });
}

std::int64_t WriteSome(int fd, const void* buffer, std::size_t count) {
  count = std::min(count, kMaxTransfer);
  return RetryOnEintr([&] { return Sys().write(fd, buffer, count); });
}

bool CloseFile(int fd) {
  // close is not retried: after EINTR the descriptor is already gone on Linux.
  return Sys().close(fd) == 0;
}

std::int64_t SeekFile(int fd, std::int64_t offset, int whence) {
  const int how = whence == 1 ? SEEK_CUR : (whence == 2 ? SEEK_END : SEEK_SET);
  return Sys().lseek(fd, static_cast<off_t>(offset), how);
}

bool TruncateFile(int fd, std::uint64_t length) {
  return RetryOnEintr([&] { return Sys().ftruncate(fd, static_cast<off_t>(length)); }) == 0;
}

bool FlushFile(int fd) {
  if (RetryOnEintr([&] { return Sys().fsync(fd); }) == 0) return true;
  // Devices and pipes have nothing to write through: not an error.
  return errno == EINVAL || errno == EROFS;
}

bool StatusOfFile(int fd, FileStatusData& status) {
  struct stat st {};
  if (RetryOnEintr([&] { return Sys().fstat(fd, &st); }) != 0) return false;
  struct statx sx;
  const bool haveBirth = BirthTime(fd, "", AT_EMPTY_PATH, sx);
  FillStatus(st, haveBirth ? &sx : nullptr, status);
  return true;
}

bool StatusOfPath(const std::string& nativePath, FileStatusData& status) {
  struct stat st {};
  if (RetryOnEintr([&] { return Sys().stat(nativePath.c_str(), &st); }) != 0) return false;
  struct statx sx;
  const bool haveBirth = BirthTime(AT_FDCWD, nativePath.c_str(), 0, sx);
  FillStatus(st, haveBirth ? &sx : nullptr, status);
  return true;
}

bool Accessible(const std::string& nativePath, int mode) {
  int how = F_OK;
  if (mode & 4) how |= R_OK;
  if (mode & 2) how |= W_OK;
  // AT_EACCESS: the effective ids decide, as they do for a real open.
  return RetryOnEintr([&] { return Sys().faccessat(AT_FDCWD, nativePath.c_str(), how, AT_EACCESS); }) == 0;
}

bool MakeDirectory(const std::string& nativePath) {
  return RetryOnEintr([&] { return Sys().mkdir(nativePath.c_str(), 0777); }) == 0;
}

bool FileSystemOf(const std::string& nativePath, FileSystemData& data) {
  struct statvfs space {};
  if (RetryOnEintr([&] { return Sys().statvfs(nativePath.c_str(), &space); }) != 0) return false;
  data.blockSize = space.f_frsize ? space.f_frsize : space.f_bsize;
  data.totalBlocks = space.f_blocks;
  data.freeBlocks = space.f_bfree;
  data.availableBlocks = space.f_bavail;
  data.id = space.f_fsid;
  data.kind = FileSystemKind::Local;
  data.typeName.clear();
  struct statfs type {};
  if (RetryOnEintr([&] { return Sys().statfs(nativePath.c_str(), &type); }) == 0) {
    const auto magic = static_cast<unsigned long>(static_cast<unsigned int>(type.f_type));
    for (const KnownFileSystem& known : kKnownFileSystems) {
      if (known.magic == magic) {
        data.kind = known.kind;
        data.typeName = known.name;
        break;
      }
    }
  }
  return true;
}

std::string ErrorText(int code) {
  // strerrordesc_np knows whether the code exists; strerror_r gives the text
  // in the user's language.
  if (!strerrordesc_np(code)) return {};
  char buffer[512];
  return strerror_r(code, buffer, sizeof buffer);
}

}  // namespace platform::backend
