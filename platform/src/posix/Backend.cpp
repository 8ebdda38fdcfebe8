// POSIX primitives for the portable platform code: current directory,
// environment, folder listing and file status.
#include "../common/Backend.h"

#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

#include "SysCalls.h"

namespace platform::backend {

std::string GetCurrentDirectory() {
  std::string buffer(256, '\0');
  for (;;) {
    if (posix::Sys().getcwd(buffer.data(), buffer.size())) {
      buffer.resize(std::char_traits<char>::length(buffer.c_str()));
      return buffer;
    }
    if (errno != ERANGE) return {};
    buffer.resize(buffer.size() * 2);
  }
}

bool ChangeDirectory(const std::string& nativePath) {
  return posix::RetryOnEintr([&] { return posix::Sys().chdir(nativePath.c_str()); }) == 0;
}

std::optional<std::string> GetEnvironment(const char* name) {
  if (const char* value = std::getenv(name)) return std::string(value);
  return std::nullopt;
}

namespace {

// Reads the names of an open folder; false with errno set on a read error.
bool ReadNames(DIR* dir, std::vector<RawDirEntry>& entries) {
  errno = 0;
  while (struct dirent* entry = posix::Sys().readdir(dir)) {
    RawDirEntry raw;
    raw.name = entry->d_name;
    switch (entry->d_type) {
      case DT_DIR: raw.kind = RawDirEntry::Kind::Directory; break;
      case DT_LNK: raw.kind = RawDirEntry::Kind::Link; break;
      case DT_UNKNOWN: raw.kind = RawDirEntry::Kind::Unknown; break;
      default: raw.kind = RawDirEntry::Kind::Other; break;
    }
    entries.push_back(std::move(raw));
  }
  return errno == 0;
}

void FillStat(const struct stat& status, FileStat& stat) {
  stat.isDirectory = S_ISDIR(status.st_mode);
  stat.isReadOnly = (status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
  stat.size = static_cast<std::uint64_t>(status.st_size);
  stat.modifyTime = status.st_mtime;
  stat.accessTime = status.st_atime;
  stat.changeTime = status.st_ctime;
  stat.device = static_cast<std::uint64_t>(status.st_dev);
  stat.inode = static_cast<std::uint64_t>(status.st_ino);
}

// Folders kept open at one time. Nested searches (a recursive walk) each
// keep theirs; beyond this many a folder is closed after reading and its
// names are looked up by full path, so a deep tree never runs out of file
// descriptors.
constexpr int kMaxOpenFolders = 256;
int g_openFolders = 0;

class PosixOpenFolder : public OpenFolder {
public:
  PosixOpenFolder(std::string path, DIR* dir) : m_path(std::move(path)), m_dir(dir) {
    if (m_dir) ++g_openFolders;
  }
  ~PosixOpenFolder() override {
    if (m_dir) {
      posix::Sys().closedir(m_dir);
      --g_openFolders;
    }
  }

  bool StatName(const std::string& name, FileStat& stat) const override {
    if (!m_dir) return Stat(m_path == "/" ? "/" + name : m_path + "/" + name, stat);
    struct stat status {};
    const int fd = dirfd(m_dir);
    if (posix::RetryOnEintr([&] { return posix::Sys().fstatat(fd, name.c_str(), &status, 0); }) != 0) return false;
    FillStat(status, stat);
    return true;
  }

private:
  std::string m_path;
  DIR* m_dir;  // null when closed after reading
};

}  // namespace

std::unique_ptr<OpenFolder> ReadFolder(const std::string& nativePath, std::vector<RawDirEntry>& entries) {
  DIR* dir = posix::Sys().opendir(nativePath.c_str());
  if (!dir) return nullptr;
  if (!ReadNames(dir, entries)) {
    const int readError = errno;
    posix::Sys().closedir(dir);
    errno = readError;
    return nullptr;
  }
  if (g_openFolders >= kMaxOpenFolders) {
    posix::Sys().closedir(dir);
    dir = nullptr;
  }
  return std::make_unique<PosixOpenFolder>(nativePath, dir);
}

bool ListDirectory(const std::string& nativePath, std::vector<RawDirEntry>& entries) {
  return ReadFolder(nativePath, entries) != nullptr;
}

bool Stat(const std::string& nativePath, FileStat& stat) {
  struct stat status {};
  if (posix::RetryOnEintr([&] { return posix::Sys().stat(nativePath.c_str(), &status); }) != 0)
    return false;
  FillStat(status, stat);
  return true;
}

}  // namespace platform::backend
