// What Linux does its own way, behind the system-call seam: listing a
// folder with getdents64, swapping and no-replace renames (renameat2), the
// path of a descriptor and the process's mask from /proc, access control
// lists as extended attributes, and the file system a descriptor lies on.
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <linux/magic.h>
#include <linux/openat2.h>
#include <string_view>
#include <sys/statfs.h>
#include <sys/syscall.h>
#include <sys/xattr.h>
#include <unistd.h>

#include "platform/Mounts.h"
#include "../posix/SysCalls.h"
#include "../posix/UniqueFd.h"

namespace platform::posix {
namespace {

#ifndef EXFAT_SUPER_MAGIC
#define EXFAT_SUPER_MAGIC 0x2011BAB0
#endif

constexpr const char* kAccessAcl = "system.posix_acl_access";
constexpr const char* kDefaultAcl = "system.posix_acl_default";

// The layout getdents64 fills (not in the C library's headers).
struct LinuxDirent64 {
  ino64_t d_ino;
  off64_t d_off;
  unsigned short d_reclen;
  unsigned char d_type;
  char d_name[];
};

EntryKind KindOfDirentType(unsigned char type) {
  switch (type) {
    case DT_REG: return EntryKind::File;
    case DT_DIR: return EntryKind::Folder;
    case DT_LNK: return EntryKind::Link;
    case DT_FIFO: case DT_SOCK: case DT_CHR: case DT_BLK: return EntryKind::Special;
    default: return EntryKind::Unknown;
  }
}

int ListNames(int dirFd, bool rewind, std::vector<FolderName>& names) {
  names.clear();
  if (rewind && Sys().lseek(dirFd, 0, SEEK_SET) < 0) return errno;
  alignas(LinuxDirent64) char buffer[32 * 1024];
  for (;;) {
    const long n = RetryOnEintr([&] { return ::syscall(SYS_getdents64, dirFd, buffer, sizeof buffer); });
    if (n < 0) return errno;
    if (n == 0) return 0;
    for (long pos = 0; pos < n;) {
      const auto* entry = reinterpret_cast<const LinuxDirent64*>(buffer + pos);
      pos += entry->d_reclen;
      const std::string_view name(entry->d_name);
      if (name == "." || name == "..") continue;
      names.push_back({std::string(name), KindOfDirentType(entry->d_type)});
    }
  }
}

int OpenBeneath(int dirFd, const char* path, bool folder) {
  open_how how{};
  how.flags = O_PATH | O_CLOEXEC | (folder ? O_DIRECTORY : 0);  // O_PATH takes no other flags
  how.resolve = RESOLVE_BENEATH | RESOLVE_NO_MAGICLINKS;
  return static_cast<int>(RetryOnEintr([&] { return ::syscall(SYS_openat2, dirFd, path, &how, sizeof how); }));
}

int Renameat2(int dirFd, const char* from, const char* to, unsigned flags) {
  return ::renameat2(dirFd, from, dirFd, to, flags) == 0 ? 0 : errno;
}

int ExchangeNames(int dirFd, const char* a, const char* b) { return Renameat2(dirFd, a, b, RENAME_EXCHANGE); }

int RenameNoReplace(int dirFd, const char* from, const char* to) {
  return Renameat2(dirFd, from, to, RENAME_NOREPLACE);
}

std::string DescriptorPath(int fd) {
  if (fd < 0) return {};
  const std::string link = "/proc/self/fd/" + std::to_string(fd);
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

mode_t ProcessUmask() {
  // Changing the mask to read it, even for a moment, would race with other
  // threads creating files; /proc tells it as it is.
  static const mode_t mask = [] {
    if (std::FILE* status = std::fopen("/proc/self/status", "re")) {
      char line[256];
      while (std::fgets(line, sizeof line, status)) {
        unsigned value = 0;
        if (std::sscanf(line, "Umask: %o", &value) == 1) {
          std::fclose(status);
          return static_cast<mode_t>(value & 0777);
        }
      }
      std::fclose(status);
    }
    const mode_t old = ::umask(022);
    ::umask(old);
    return old;
  }();
  return mask;
}

// getxattrat (Linux 6.13): an attribute of a name below a folder
// descriptor, not following a link, in one step. The C library does not
// wrap it yet; its number is the same on every architecture.
#ifndef SYS_getxattrat
#define SYS_getxattrat 464
#endif
struct XattrArgs {
  std::uint64_t value;
  std::uint32_t size;
  std::uint32_t flags;
};
std::atomic<bool> g_noGetxattrat{false};

// The size of `attribute` of `name` below `dirFd` (not followed), or -1
// with errno; ENOSYS when the kernel (or a filter in front of it) has no
// getxattrat.
ssize_t GetxattratSize(int dirFd, const char* name, const char* attribute) {
  if (g_noGetxattrat.load(std::memory_order_relaxed)) {
    errno = ENOSYS;
    return -1;
  }
  XattrArgs args{0, 0, 0};
  const long size = ::syscall(SYS_getxattrat, dirFd, name, AT_SYMLINK_NOFOLLOW, attribute, &args, sizeof args);
  if (size < 0 && (errno == ENOSYS || errno == EPERM)) {
    g_noGetxattrat.store(true, std::memory_order_relaxed);
    errno = ENOSYS;
  }
  return static_cast<ssize_t>(size);
}

AclState AclOf(int dirFd, const char* name) {
  // The name is looked up below the held folder and not followed; an empty
  // name asks for the descriptor's own file. Without getxattrat the path
  // goes through the folder's /proc entry (the folder itself, wherever it
  // has moved), which costs the kernel a longer lookup each time.
  ssize_t size = *name ? GetxattratSize(dirFd, name, kAccessAcl) : ::fgetxattr(dirFd, kAccessAcl, nullptr, 0);
  if (const int error = errno; size < 0 && (error == ENOSYS || (!*name && error == EBADF))) {
    const std::string self = "/proc/self/fd/" + std::to_string(dirFd);
    if (error == ENOSYS) size = ::lgetxattr((self + "/" + name).c_str(), kAccessAcl, nullptr, 0);
    else size = ::getxattr(self.c_str(), kAccessAcl, nullptr, 0);  // a descriptor opened only as a path
  }
  if (size >= 0) return AclState::Extended;  // an ACL equal to the mode is never stored
  return errno == ENODATA || errno == ENOTSUP || errno == EOPNOTSUPP ? AclState::None : AclState::Unknown;
}

bool IgnorableXattrError(int error) { return error == ENODATA || error == ENOTSUP || error == EOPNOTSUPP; }

int FolderAcls(int fd, AclState& access, bool& inherited) {
  // Both lists in one call: the names of the folder's extended attributes.
  access = AclState::None;
  inherited = false;
  char names[4096];
  const ssize_t size = ::flistxattr(fd, names, sizeof names);
  if (size < 0) {
    if (errno == ENOTSUP || errno == EOPNOTSUPP) return 0;
    access = AclState::Unknown;
    inherited = true;
    return errno == ERANGE ? 0 : errno;
  }
  for (std::string_view rest(names, static_cast<std::size_t>(size)); !rest.empty();) {
    const std::string_view name = rest.substr(0, rest.find('\0'));
    if (name == kAccessAcl) access = AclState::Extended;
    if (name == kDefaultAcl) inherited = true;
    rest.remove_prefix(std::min(rest.size(), name.size() + 1));
  }
  return 0;
}

int DropAcls(int fd, bool folder) {
  if (::fremovexattr(fd, kAccessAcl) != 0 && !IgnorableXattrError(errno)) return errno;
  if (folder && ::fremovexattr(fd, kDefaultAcl) != 0 && !IgnorableXattrError(errno)) return errno;
  return 0;
}

// File systems that show one made-up mode for every file and number their
// files anew at each mount: the FAT family, whether the kernel or a FUSE
// driver reads it (a FUSE block-device mount is exFAT or NTFS; both are
// taken as such, which costs a little speed on NTFS, never safety).
bool IsFatLike(std::string_view type) {
  for (std::string_view fat : {"vfat", "msdos", "exfat", "fuseblk", "fuse.exfat", "fuse.exfat-fuse", "fuse.fusefat",
                               "fuse.vfat", "fuse.msdos"})
    if (type == fat) return true;
  return false;
}

FileSystemTraits TraitsOf(int fd) {
  FileSystemTraits traits;
  struct statfs fs {};
  if (::fstatfs(fd, &fs) != 0) return traits;
  bool fat = fs.f_type == MSDOS_SUPER_MAGIC || fs.f_type == EXFAT_SUPER_MAGIC;
  if (!fat && fs.f_type == FUSE_SUPER_MAGIC) {
    struct stat st {};
    if (Sys().fstat(fd, &st) == 0)
      if (const MountPoint* mount = MountTable::Current(st.st_dev).OfDevice(st.st_dev)) fat = IsFatLike(mount->type);
  }
  if (fat) traits.modesStored = traits.inodesStable = false;
  return traits;
}

}  // namespace

void FillSystemCalls(SysCallTable& table) {
  table.listNames = ListNames;
  table.exchangeNames = ExchangeNames;
  table.renameNoReplace = RenameNoReplace;
  table.openBeneath = OpenBeneath;
  table.descriptorPath = DescriptorPath;
  table.processUmask = ProcessUmask;
  table.aclOf = AclOf;
  table.dropAcls = DropAcls;
  table.folderAcls = FolderAcls;
  table.traitsOf = TraitsOf;
}

}  // namespace platform::posix
