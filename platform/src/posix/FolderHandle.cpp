// FolderHandle over POSIX: an O_DIRECTORY descriptor, and the *at calls
// relative to it, every one through the system-call seam. Names are never
// followed unless asked (AT_SYMLINK_NOFOLLOW, O_NOFOLLOW), a file is only
// opened after its kind was seen to be a regular file and is then checked
// to be that file, and it is opened non-blocking, so a pipe of a picture's
// name can never stop the caller.
#include "platform/FolderHandle.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <unistd.h>

#include "EntryStat.h"
#include "SysCalls.h"
#include "UniqueFd.h"
#include "platform/Drives.h"

namespace platform {
namespace {

using posix::CheckName;
using posix::RetryOnEintr;
using posix::Sys;
using posix::UniqueFd;

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY;

FsStatus StatusOf(int result) { return result == 0 ? FsStatus() : FsStatus::Of(errno); }

// Reads at most `max` bytes of the open file `fd` into `content`.
ReadResult ReadOpen(int fd, std::uint64_t max, std::uint64_t sizeHint, std::string& content) {
  content.reserve(static_cast<std::size_t>(std::min(sizeHint, max)));
  char buffer[64 * 1024];
  while (content.size() < max) {
    const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(sizeof buffer, max - content.size()));
    const ssize_t n = RetryOnEintr([&] { return Sys().read(fd, buffer, want); });
    if (n < 0) {
      const int error = errno;
      content.clear();
      return {ReadStatus::Failed, error};
    }
    if (n == 0) break;
    content.append(buffer, static_cast<std::size_t>(n));
  }
  return {ReadStatus::Read, 0};
}

// Opens the regular file `name` and reads at most `max` bytes of it; a file
// longer than `refuseBeyond` is not read at all (TooLarge), nor one `check`
// refuses (Refused).
ReadResult ReadRegular(int dirFd, std::string_view name, std::uint64_t max, std::uint64_t refuseBeyond,
                       std::string& content, EntryInfo* info, const OpenedFileCheck& check) {
  content.clear();
  UniqueFd fd;
  EntryInfo opened;
  const ReadResult result = posix::OpenRegularAt(dirFd, name, O_RDONLY, fd, opened);
  if (result.status != ReadStatus::Read) return result;
  if (info) *info = opened;
  if (check && !check(opened)) return {ReadStatus::Refused, 0};
  if (opened.size > refuseBeyond) return {ReadStatus::TooLarge, 0};
  return ReadOpen(fd.Get(), max, opened.size, content);
}

}  // namespace

bool IsPlainName(std::string_view name) {
  return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos &&
         name.find('\0') == std::string_view::npos;
}

std::uint32_t EffectiveUser() { return static_cast<std::uint32_t>(::geteuid()); }

bool IsOwnedBySelfOrAdmin(const EntryInfo& info) { return info.owner == EffectiveUser() || info.owner == 0; }

FolderHandle::FolderHandle(int fd, int error)
    : m_fd(fd), m_error(error), m_listing(fd >= 0 ? std::make_unique<Listing>() : nullptr) {}

FolderHandle::~FolderHandle() { UniqueFd(std::exchange(m_fd, -1)); }

FolderHandle::FolderHandle(FolderHandle&& other) noexcept
    : m_fd(std::exchange(other.m_fd, -1)), m_error(other.m_error), m_listing(std::move(other.m_listing)) {}

FolderHandle& FolderHandle::operator=(FolderHandle&& other) noexcept {
  if (this != &other) {
    UniqueFd(std::exchange(m_fd, std::exchange(other.m_fd, -1)));
    m_error = other.m_error;
    m_listing = std::move(other.m_listing);
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
  const int fd = RetryOnEintr([&] { return Sys().openat(m_fd, ".", kFolderFlags, 0); });
  return fd >= 0 ? FolderHandle(fd, 0) : FolderHandle(-1, errno);
}

FolderHandle FolderHandle::OpenFolder(std::string_view name, bool followLink) const {
  if (const int error = CheckName(m_fd, name)) return FolderHandle(-1, error);
  const std::string text(name);
  const int flags = kFolderFlags | (followLink ? 0 : O_NOFOLLOW);
  const int fd = RetryOnEintr([&] { return Sys().openat(m_fd, text.c_str(), flags, 0); });
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
  EntryInfo info;
  if (LookSelf(info).Failed()) return {};
  return info.Identity();
}

FsStatus FolderHandle::LookSelf(EntryInfo& info) const {
  info = EntryInfo{};
  if (m_fd < 0) return FsStatus::Of(EBADF);
  struct stat st {};
  if (Sys().fstat(m_fd, &st) != 0) return FsStatus::Of(errno);
  info = posix::ToEntryInfo(st);
  return {};
}

FsStatus FolderHandle::LookSelfAcls(AclState& access, bool& inherited) const {
  access = AclState::Unknown;
  inherited = true;
  if (m_fd < 0) return FsStatus::Of(EBADF);
  return FsStatus::Of(Sys().folderAcls(m_fd, access, inherited));
}

AclState FolderHandle::LookSelfAcl() const { return m_fd < 0 ? AclState::Unknown : Sys().aclOf(m_fd, "."); }

std::string FolderHandle::RealPath() const { return Sys().descriptorPath(m_fd); }

FileSystemTraits FolderHandle::Traits() const { return m_fd < 0 ? FileSystemTraits{} : Sys().traitsOf(m_fd); }

FsStatus FolderHandle::List(std::vector<FolderName>& names) const {
  names.clear();
  if (m_fd < 0) return FsStatus::Of(EBADF);
  std::lock_guard<std::mutex> lock(m_listing->mutex);
  const bool rewind = std::exchange(m_listing->listed, true);
  return FsStatus::Of(Sys().listNames(m_fd, rewind, names));
}

FsStatus FolderHandle::Look(std::string_view name, EntryInfo& info, bool followLink) const {
  info = EntryInfo{};
  if (const int error = CheckName(m_fd, name)) return FsStatus::Of(error);
  const std::string text(name);
  if (const int error = posix::LookAt(m_fd, text.c_str(), followLink, info)) {
    info = EntryInfo{};
    return FsStatus::Of(error);
  }
  return {};
}

AclState FolderHandle::LookAcl(std::string_view name) const {
  if (CheckName(m_fd, name) != 0) return AclState::Unknown;
  return Sys().aclOf(m_fd, std::string(name).c_str());
}

FsStatus FolderHandle::ReadLink(std::string_view name, std::string& target) const {
  target.clear();
  if (const int error = CheckName(m_fd, name)) return FsStatus::Of(error);
  const std::string text(name);
  std::string buffer(4096, '\0');
  const ssize_t n = Sys().readlinkat(m_fd, text.c_str(), buffer.data(), buffer.size());
  if (n < 0) return FsStatus::Of(errno);
  if (static_cast<std::size_t>(n) >= buffer.size()) return FsStatus::Of(ENAMETOOLONG);
  target.assign(buffer.data(), static_cast<std::size_t>(n));
  return {};
}

FsStatus FolderHandle::LookBeneath(std::string_view path, EntryInfo& info, bool folderOnly, AclState* acl) const {
  info = EntryInfo{};
  if (m_fd < 0) return FsStatus::Of(EBADF);
  if (path.empty() || path.find('\0') != std::string_view::npos) return FsStatus::Of(EINVAL);
  const UniqueFd found(Sys().openBeneath(m_fd, std::string(path).c_str(), folderOnly));
  if (!found) return FsStatus::Of(errno);
  struct stat st {};
  if (Sys().fstat(found.Get(), &st) != 0) return FsStatus::Of(errno);
  info = posix::ToEntryInfo(st);
  if (acl) *acl = Sys().aclOf(found.Get(), "");
  return {};
}

ReadResult FolderHandle::ReadFile(std::string_view name, std::uint64_t limit, std::string& content, EntryInfo* info,
                                  const OpenedFileCheck& check) const {
  // One byte more than the limit tells a file that grew while it was read.
  const std::uint64_t max = limit == UINT64_MAX ? limit : limit + 1;
  const ReadResult result = ReadRegular(m_fd, name, max, limit, content, info, check);
  if (result.status == ReadStatus::Read && content.size() > limit) {
    content.clear();
    return {ReadStatus::TooLarge, 0};
  }
  return result;
}

ReadResult FolderHandle::ReadHead(std::string_view name, std::size_t count, std::string& content) const {
  return ReadRegular(m_fd, name, count, UINT64_MAX, content, nullptr, {});
}

FsStatus FolderHandle::MakeFolder(std::string_view name, std::uint32_t mode, std::optional<std::uint32_t> group) const {
  if (const int error = CheckName(m_fd, name)) return FsStatus::Of(error);
  const std::string text(name);
  // Made without any permission for others, then opened (never through a
  // link: the name is new and ours) to lose what it inherited and take its
  // permissions.
  if (RetryOnEintr([&] { return Sys().mkdirat(m_fd, text.c_str(), 0700); }) != 0) return FsStatus::Of(errno);
  UniqueFd made(RetryOnEintr([&] { return Sys().openat(m_fd, text.c_str(), kFolderFlags | O_NOFOLLOW, 0); }));
  int error = made ? Sys().dropAcls(made.Get(), true) : errno;
  if (error == 0 && group &&
      Sys().fchown(made.Get(), static_cast<uid_t>(-1), static_cast<gid_t>(*group)) != 0)
    mode &= ~static_cast<std::uint32_t>(070);
  if (error == 0) error = posix::SetModeOf(made.Get(), mode);
  if (error != 0) {
    Sys().unlinkat(m_fd, text.c_str(), AT_REMOVEDIR);
    return FsStatus::Of(error);
  }
  return {};
}

FsStatus FolderHandle::RenameNew(std::string_view from, std::string_view to) const {
  int error = CheckName(m_fd, from);
  if (error == 0) error = CheckName(m_fd, to);
  if (error != 0) return FsStatus::Of(error);
  const std::string source(from), target(to);
  error = Sys().renameNoReplace(m_fd, source.c_str(), target.c_str());
  if (error != EINVAL && error != ENOSYS && error != ENOTSUP) return FsStatus::Of(error);
  // A file system that cannot refuse to replace (FAT and exFAT through
  // FUSE): the target is looked at first, so only a name taken between
  // the look and the rename can be replaced.
  struct stat st {};
  if (Sys().fstatat(m_fd, target.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) return FsStatus::Of(EEXIST);
  if (errno != ENOENT) return FsStatus::Of(errno);
  return StatusOf(Sys().renameat(m_fd, source.c_str(), m_fd, target.c_str()));
}

FsStatus FolderHandle::DropAcls() const {
  if (m_fd < 0) return FsStatus::Of(EBADF);
  return FsStatus::Of(Sys().dropAcls(m_fd, true));
}

FsStatus FolderHandle::SetMode(std::uint32_t mode) const {
  if (m_fd < 0) return FsStatus::Of(EBADF);
  return FsStatus::Of(posix::SetModeOf(m_fd, mode));
}

FsStatus FolderHandle::RemoveFile(std::string_view name, const FileIdentity* expected) const {
  EntryInfo info;
  if (const FsStatus looked = Look(name, info); looked.Failed()) return looked;
  if (info.kind != EntryKind::File) return FsStatus::Of(EPERM);
  if (expected && !(info.Identity() == *expected)) return FsStatus::Of(ESTALE);
  return StatusOf(Sys().unlinkat(m_fd, std::string(name).c_str(), 0));
}

FsStatus FolderHandle::RemoveFolder(std::string_view name) const {
  EntryInfo info;
  if (const FsStatus looked = Look(name, info); looked.Failed()) return looked;
  if (info.kind != EntryKind::Folder) return FsStatus::Of(ENOTDIR);
  // AT_REMOVEDIR never follows a link: a link swapped in fails with ENOTDIR.
  return StatusOf(Sys().unlinkat(m_fd, std::string(name).c_str(), AT_REMOVEDIR));
}

AppendFile::~AppendFile() { Close(); }

AppendFile::AppendFile(AppendFile&& other) noexcept
    : m_fd(std::exchange(other.m_fd, -1)), m_error(other.m_error) {}

AppendFile& AppendFile::operator=(AppendFile&& other) noexcept {
  if (this != &other) {
    Close();
    m_fd = std::exchange(other.m_fd, -1);
    m_error = other.m_error;
  }
  return *this;
}

void AppendFile::Close() { UniqueFd(std::exchange(m_fd, -1)); }

AppendFile AppendFile::Open(const FolderHandle& folder, std::string_view name, const OpenedFileCheck& check) {
  AppendFile file;
  UniqueFd fd;
  EntryInfo opened;
  const ReadResult result = posix::OpenRegularAt(folder.NativeHandle(), name, O_WRONLY | O_APPEND, fd, opened);
  if (result.status != ReadStatus::Read) {
    file.m_error = result.status == ReadStatus::Failed ? result.error
                   : result.status == ReadStatus::Missing ? ENOENT
                                                          : EPERM;
    return file;
  }
  if (check && !check(opened)) {
    file.m_error = EPERM;
    return file;
  }
  file.m_fd = fd.Release();
  return file;
}

FsStatus AppendFile::Append(std::string_view bytes) const {
  if (m_fd < 0) return FsStatus::Of(EBADF);
  const ssize_t n = RetryOnEintr([&] { return Sys().write(m_fd, bytes.data(), bytes.size()); });
  if (n < 0) return FsStatus::Of(errno);
  if (static_cast<std::size_t>(n) != bytes.size()) return FsStatus::Of(ENOSPC);
  return {};
}

ReadingFile::~ReadingFile() { UniqueFd(std::exchange(m_fd, -1)); }

ReadingFile::ReadingFile(ReadingFile&& other) noexcept
    : m_fd(std::exchange(other.m_fd, -1)), m_error(other.m_error), m_position(other.m_position),
      m_info(other.m_info) {}

ReadingFile& ReadingFile::operator=(ReadingFile&& other) noexcept {
  if (this != &other) {
    UniqueFd(std::exchange(m_fd, std::exchange(other.m_fd, -1)));
    m_error = other.m_error;
    m_position = other.m_position;
    m_info = other.m_info;
  }
  return *this;
}

ReadResult ReadingFile::Open(const FolderHandle& folder, std::string_view name, ReadingFile& file) {
  file = ReadingFile();
  UniqueFd fd;
  const ReadResult result = posix::OpenRegularAt(folder.NativeHandle(), name, O_RDONLY, fd, file.m_info);
  if (result.status == ReadStatus::Read) file.m_fd = fd.Release();
  return result;
}

long long ReadingFile::ReadAt(std::uint64_t offset, void* buffer, std::size_t count) {
  if (m_fd < 0) {
    m_error = EBADF;
    return -1;
  }
  // The position is remembered: a reader that goes on where it stopped,
  // as a demuxer mostly does, costs one read and no seek.
  if (offset != m_position) {
    if (offset > static_cast<std::uint64_t>(INT64_MAX) ||
        Sys().lseek(m_fd, static_cast<off_t>(offset), SEEK_SET) < 0) {
      m_error = offset > static_cast<std::uint64_t>(INT64_MAX) ? EINVAL : errno;
      m_position = UINT64_MAX;  // unknown: the next read seeks
      return -1;
    }
    m_position = offset;
  }
  const ssize_t n = RetryOnEintr([&] { return Sys().read(m_fd, buffer, count); });
  if (n < 0) {
    m_error = errno;
    m_position = UINT64_MAX;
    return -1;
  }
  m_position += static_cast<std::uint64_t>(n);
  return n;
}

}  // namespace platform
