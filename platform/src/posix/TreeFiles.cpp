// Tree files over POSIX: the folder holding an entry is resolved to its real
// path and opened without following a link, and every look and removal is
// made relative to that open folder, so a link swapped in on the way cannot
// redirect it.
#include "platform/TreeFiles.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "SysCalls.h"
#include "platform/Drives.h"

namespace platform {
namespace {

using posix::RetryOnEintr;

// The real path of a folder (links resolved), or nothing with errno set.
std::optional<std::string> RealPath(const std::string& native) {
  std::unique_ptr<char, decltype(&std::free)> real(realpath(native.c_str(), nullptr), &std::free);
  if (!real) return std::nullopt;
  return std::string(real.get());
}

bool IsSameOrBelow(const std::string& folder, const std::string& root) {
  if (folder == root) return true;
  if (folder.compare(0, root.size(), root) != 0) return false;
  return root == "/" || folder[root.size()] == '/';
}

TreeEntry FromErrno() {
  return errno == ENOENT || errno == ENOTDIR ? TreeEntry::Missing : TreeEntry::Unreadable;
}

// The folder holding an entry, opened (O_PATH, no link followed) after its
// real path was found inside the tree; closes itself.
class HoldingFolder {
public:
  HoldingFolder(std::string_view root, std::string_view path) {
    std::string native = ToNativePath(path);
    while (native.size() > 1 && native.back() == '/') native.pop_back();
    const std::size_t slash = native.rfind('/');
    const std::string nativeRoot = ToNativePath(root);
    if (native.empty() || nativeRoot.empty() || slash == std::string::npos) {
      m_result = TreeEntry::Missing;
      return;
    }
    m_name = native.substr(slash + 1);
    if (m_name.empty() || m_name == "." || m_name == "..") {
      m_result = TreeEntry::Other;
      return;
    }
    const std::optional<std::string> realRoot = RealPath(nativeRoot);
    const std::optional<std::string> realFolder = RealPath(slash == 0 ? "/" : native.substr(0, slash));
    if (!realRoot || !realFolder) {
      m_result = FromErrno();
      return;
    }
    if (!IsSameOrBelow(*realFolder, *realRoot)) {
      m_result = TreeEntry::OutsideTree;
      return;
    }
    m_fd = RetryOnEintr([&] { return ::open(realFolder->c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC); });
    if (m_fd < 0) m_result = FromErrno();
  }
  ~HoldingFolder() {
    if (m_fd >= 0) ::close(m_fd);
  }
  HoldingFolder(const HoldingFolder&) = delete;
  HoldingFolder& operator=(const HoldingFolder&) = delete;

  // What stands there now, the name not followed.
  TreeEntry Look(FileStat* stat) const {
    if (m_fd < 0) return m_result;
    struct stat st {};
    if (RetryOnEintr([&] { return ::fstatat(m_fd, m_name.c_str(), &st, AT_SYMLINK_NOFOLLOW); }) != 0)
      return FromErrno();
    if (S_ISLNK(st.st_mode)) return TreeEntry::Link;
    if (!S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode)) return TreeEntry::Other;
    if (stat) {
      stat->isDirectory = S_ISDIR(st.st_mode);
      stat->isReadOnly = (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
      stat->size = stat->isDirectory ? 0 : static_cast<std::uint64_t>(st.st_size);
      stat->modifyTime = st.st_mtime;
      stat->accessTime = st.st_atime;
      stat->changeTime = st.st_ctime;
      stat->device = st.st_dev;
      stat->inode = st.st_ino;
    }
    return S_ISDIR(st.st_mode) ? TreeEntry::PlainFolder : TreeEntry::PlainFile;
  }

  // Removes the entry when it is of the kind wanted.
  TreeEntry Remove(TreeEntry wanted) const {
    const TreeEntry found = Look(nullptr);
    if (found != wanted) return found;
    const int flags = wanted == TreeEntry::PlainFolder ? AT_REMOVEDIR : 0;
    if (::unlinkat(m_fd, m_name.c_str(), flags) != 0) return errno == ENOENT ? TreeEntry::Missing : TreeEntry::Unreadable;
    return wanted;
  }

private:
  int m_fd = -1;
  std::string m_name;
  TreeEntry m_result = TreeEntry::Unreadable;
};

}  // namespace

bool MakeFolder(std::string_view path) {
  const std::string native = ToNativePath(path);
  if (native.empty()) {
    errno = ENOENT;
    return false;
  }
  return RetryOnEintr([&] { return ::mkdir(native.c_str(), 0777); }) == 0;
}

bool WriteNewFile(std::string_view path, std::string_view content) {
  const std::string native = ToNativePath(path);
  if (native.empty()) {
    errno = ENOENT;
    return false;
  }
  const int fd = RetryOnEintr(
      [&] { return ::open(native.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666); });
  if (fd < 0) return false;
  int error = 0;
  for (std::size_t done = 0; done < content.size() && error == 0;) {
    const ssize_t n = RetryOnEintr([&] { return ::write(fd, content.data() + done, content.size() - done); });
    if (n <= 0) error = n < 0 ? errno : ENOSPC;
    else done += static_cast<std::size_t>(n);
  }
  if (::close(fd) != 0 && error == 0) error = errno;
  if (error != 0) {
    ::unlink(native.c_str());
    errno = error;
    return false;
  }
  return true;
}

bool ReplaceFile(std::string_view from, std::string_view to) {
  const std::string nativeFrom = ToNativePath(from);
  const std::string nativeTo = ToNativePath(to);
  if (nativeFrom.empty() || nativeTo.empty()) {
    errno = ENOENT;
    return false;
  }
  return ::rename(nativeFrom.c_str(), nativeTo.c_str()) == 0;
}

TreeEntry CheckTreeEntry(std::string_view root, std::string_view path, FileStat* stat) {
  return HoldingFolder(root, path).Look(stat);
}

TreeEntry RemoveTreeFile(std::string_view root, std::string_view path) {
  return HoldingFolder(root, path).Remove(TreeEntry::PlainFile);
}

TreeEntry RemoveTreeFolder(std::string_view root, std::string_view path) {
  return HoldingFolder(root, path).Remove(TreeEntry::PlainFolder);
}

}  // namespace platform
