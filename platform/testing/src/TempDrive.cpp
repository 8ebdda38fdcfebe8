// Test support: temporary drives, privilege drop and a fixed clock.
#include "platform/testing/TempDrive.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>
#include <stdexcept>
#include <fcntl.h>
#include <cstdio>
#include <csignal>
#include <spawn.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/Clock.h"
#include "platform/Drives.h"
#include "platform/Time.h"

namespace fs = std::filesystem;

namespace platform::testing {
namespace {

std::string Slashes(std::string_view path) {
  std::string result(path);
  std::replace(result.begin(), result.end(), '\\', '/');
  return result;
}

// Makes a tree removable whatever modes a test left on it.
void MakeWritable(const fs::path& root) {
  std::error_code ec;
  fs::permissions(root, fs::perms::owner_all, fs::perm_options::add, ec);
  for (auto it = fs::recursive_directory_iterator(root, fs::directory_options::skip_permission_denied, ec);
       !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    if (!it->is_symlink()) fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
  }
}

}  // namespace

TempDrive::TempDrive(char letter) : m_letter(letter) {
  char cwd[4096];
  if (getcwd(cwd, sizeof cwd)) m_savedCwd = cwd;
  std::string templ = (fs::temp_directory_path() / "zn-test-XXXXXX").string();
  if (!mkdtemp(templ.data())) throw std::runtime_error("cannot create a temporary folder");
  m_folder = templ;
  // Open to every user, so tests that drop privileges can still work in it.
  fs::permissions(m_folder, fs::perms::all);
  platform::MapDrive(letter, m_folder);
}

TempDrive::~TempDrive() {
  if (!m_savedCwd.empty() && chdir(m_savedCwd.c_str()) != 0) {
    // Nothing sensible to do in a destructor; the next test sets its own.
  }
  platform::UnmapDrive(m_letter);
  // Restore any mapping the environment gave this letter.
  platform::ReloadDriveTable();
  std::error_code ec;
  MakeWritable(m_folder);
  fs::remove_all(m_folder, ec);
}

std::string TempDrive::WinPath(std::string_view relative) const {
  std::string result{m_letter, ':', '\\'};
  for (char c : relative) result += (c == '/' ? '\\' : c);
  return result;
}

std::string TempDrive::Native(std::string_view relative) const {
  return relative.empty() ? m_folder : m_folder + "/" + Slashes(relative);
}

void TempDrive::MakeDir(std::string_view relative) const { fs::create_directories(Native(relative)); }

void TempDrive::WriteFile(std::string_view relative, std::string_view content) const {
  const fs::path path = Native(relative);
  fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(content.data(), static_cast<std::streamsize>(content.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

void TempDrive::WriteSizedFile(std::string_view relative, std::uint64_t size) const {
  WriteFile(relative, std::string(static_cast<std::size_t>(size), 'x'));
}

std::string TempDrive::ReadFile(std::string_view relative) const {
  std::ifstream in(Native(relative), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool TempDrive::Exists(std::string_view relative) const {
  std::error_code ec;
  return fs::exists(fs::symlink_status(Native(relative), ec));
}

void TempDrive::Symlink(std::string_view target, std::string_view relative) const {
  fs::create_symlink(Slashes(target), Native(relative));
}

void TempDrive::Chmod(std::string_view relative, unsigned mode) const {
  fs::permissions(Native(relative), static_cast<fs::perms>(mode));
}

bool RunningAsRoot() { return geteuid() == 0; }

ScopedFolderLock::ScopedFolderLock(const std::string& nativeFolder)
    : m_fd(::open(nativeFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
  m_held = m_fd >= 0 && ::flock(m_fd, LOCK_SH | LOCK_NB) == 0;
}

ScopedFolderLock::~ScopedFolderLock() {
  if (m_fd >= 0) ::close(m_fd);
}

bool ChangeOwner(const std::string& nativePath, unsigned owner, unsigned group) {
  return ::lchown(nativePath.c_str(), owner, group) == 0;
}

bool MakeFifo(const std::string& nativePath) { return ::mkfifo(nativePath.c_str(), 0644) == 0; }

bool ExchangeNames(const std::string& nativeA, const std::string& nativeB) {
  return ::renameat2(AT_FDCWD, nativeA.c_str(), AT_FDCWD, nativeB.c_str(), RENAME_EXCHANGE) == 0;
}

bool SetModifyTime(const std::string& nativePath, std::int64_t seconds, long nanos) {
  struct timespec times[2];
  times[0].tv_sec = 0;
  times[0].tv_nsec = UTIME_OMIT;
  times[1].tv_sec = static_cast<time_t>(seconds);
  times[1].tv_nsec = nanos;
  return ::utimensat(AT_FDCWD, nativePath.c_str(), times, AT_SYMLINK_NOFOLLOW) == 0;
}

int PermissionsOf(const std::string& nativePath) {
  struct stat st {};
  if (::lstat(nativePath.c_str(), &st) != 0) return -1;
  return static_cast<int>(st.st_mode & 07777);
}

ScopedSmallDisk::ScopedSmallDisk(const std::string& nativeFolder, std::uint64_t bytes) : m_folder(nativeFolder) {
  std::filesystem::create_directories(m_folder);
  if (geteuid() != 0) return;
  const std::string options = "size=" + std::to_string(bytes) + ",mode=0777";
  m_mounted = ::mount("zn-test", m_folder.c_str(), "tmpfs", 0, options.c_str()) == 0;
}

ScopedSmallDisk::~ScopedSmallDisk() {
  if (m_mounted) ::umount2(m_folder.c_str(), MNT_DETACH);
}

void ScopedSmallDisk::Fill(const std::string& name) const {
  const int fd = ::open((m_folder + "/" + name).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return;
  const std::string block(4096, 'x');
  while (::write(fd, block.data(), block.size()) > 0) {
  }
  // What is left is smaller than a block: fill it byte by byte.
  while (::write(fd, "x", 1) > 0) {
  }
  ::close(fd);
}

ScopedUnprivileged::ScopedUnprivileged() {
  if (geteuid() != 0) {
    m_active = true;
    return;
  }
  // 65534 is "nobody" on the common distributions.
  if (setegid(65534) == 0 && seteuid(65534) == 0) {
    m_switched = true;
    m_active = true;
  }
}

ScopedUnprivileged::~ScopedUnprivileged() {
  if (m_switched) {
    if (seteuid(0) != 0 || setegid(0) != 0) std::abort();  // never go on with the wrong ids
  }
}

namespace {
std::int64_t g_fixedMs = 0;
std::int64_t FixedNow() { return g_fixedMs; }
}  // namespace

FixedClock::FixedClock(int year, int month, int day, int hour, int minute, int second) {
  g_fixedMs = CTime(year, month, day, hour, minute, second).GetTime() * 1000;
  platform::SetClock(FixedNow);
}

FixedClock::~FixedClock() { platform::SetClock(nullptr); }

ScopedTimeZone::ScopedTimeZone(const char* zone) {
  if (const char* old = std::getenv("TZ")) {
    m_hadZone = true;
    m_oldZone = old;
  }
  setenv("TZ", zone, 1);
  tzset();
}

ScopedTimeZone::~ScopedTimeZone() {
  if (m_hadZone) {
    setenv("TZ", m_oldZone.c_str(), 1);
  } else {
    unsetenv("TZ");
  }
  tzset();
}

}  // namespace platform::testing

extern char** environ;

namespace platform::testing {

namespace {

// A FUSE server that answers the status of its top folder and nothing else
// in time: a listing waits an hour.
constexpr const char* kHangingServer = R"(import errno, stat, sys, time
from fusepy import FUSE, Operations
class Hang(Operations):
    def getattr(self, path, fh=None):
        if path == '/':
            return dict(st_mode=stat.S_IFDIR | 0o755, st_nlink=2)
        raise OSError(errno.ENOENT, '')
    def opendir(self, path):
        time.sleep(3600)
        return 0
    def readdir(self, path, fh):
        time.sleep(3600)
        return ['.', '..']
FUSE(Hang(), sys.argv[1], foreground=True, allow_other=True)
)";

bool MountedAt(const std::string& folder) {
  std::ifstream table("/proc/self/mountinfo");
  for (std::string line; std::getline(table, line);)
    if (line.find(" " + folder + " ") != std::string::npos) return true;
  return false;
}

}  // namespace

ScopedForeignFuseMount::ScopedForeignFuseMount(const std::string& nativeFolder) : m_folder(nativeFolder) {
  if (!RunningAsRoot()) {
    m_why = "mounting as another user needs root";
    return;
  }
  if (::access("/dev/fuse", F_OK) != 0 || ::access("/usr/bin/python3", X_OK) != 0 ||
      std::system("/usr/bin/python3 -c 'import fusepy' 2>/dev/null") != 0 || ::access("/usr/bin/setpriv", X_OK) != 0) {
    m_why = "no FUSE device, or no Python with fusepy, or no setpriv";
    return;
  }
  // Another user may use the FUSE device, and mount for others to see.
  struct stat device {};
  ::stat("/dev/fuse", &device);
  m_savedFuseMode = device.st_mode & 07777;
  ::chmod("/dev/fuse", 0666);
  {
    std::ifstream conf("/etc/fuse.conf");
    m_savedConf.assign(std::istreambuf_iterator<char>(conf), std::istreambuf_iterator<char>());
  }
  if (m_savedConf.find("\nuser_allow_other") == std::string::npos && m_savedConf.rfind("user_allow_other", 0) != 0) {
    std::ofstream conf("/etc/fuse.conf", std::ios::app);
    conf << "\nuser_allow_other\n";
    m_confChanged = true;
  }
  m_script = nativeFolder + ".server.py";
  std::ofstream(m_script) << kHangingServer;
  ::chmod(m_script.c_str(), 0644);
  ::chown(nativeFolder.c_str(), kOtherUser, kOtherUser);
  std::vector<std::string> args = {"/usr/bin/setpriv", "--reuid=65534", "--regid=65534", "--clear-groups",
                                   "/usr/bin/python3", m_script, nativeFolder};
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  // The server keeps none of the test's output open (a pipe to a reader
  // that waits for its end would wait for the server).
  posix_spawn_file_actions_t actions;
  ::posix_spawn_file_actions_init(&actions);
  for (int fd = 0; fd <= 2; ++fd) ::posix_spawn_file_actions_addopen(&actions, fd, "/dev/null", fd ? O_WRONLY : O_RDONLY, 0);
  pid_t pid = 0;
  const int spawned = ::posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  ::posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) {
    m_why = "cannot start the FUSE server";
    return;
  }
  m_server = pid;
  for (int i = 0; i < 100 && !m_mounted; ++i) {
    m_mounted = MountedAt(nativeFolder);
    if (!m_mounted) ::usleep(50000);
  }
  if (!m_mounted) m_why = "the FUSE server did not mount";
}

ScopedForeignFuseMount::~ScopedForeignFuseMount() {
  if (m_server > 0) {
    ::kill(m_server, SIGKILL);
    ::waitpid(m_server, nullptr, 0);
  }
  if (m_mounted) ::umount2(m_folder.c_str(), MNT_DETACH);
  if (!m_script.empty()) ::unlink(m_script.c_str());
  if (m_savedFuseMode) ::chmod("/dev/fuse", m_savedFuseMode);
  if (m_confChanged) std::ofstream("/etc/fuse.conf", std::ios::trunc) << m_savedConf;
}

namespace {

// Runs a command line of fixed words and paths the test made; true when it
// ends with status 0. Its output goes nowhere.
bool Quietly(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()) == 0; }

std::string Quoted(const std::string& path) { return "'" + path + "'"; }

}  // namespace

ScopedRemovableDisk::ScopedRemovableDisk(const std::string& nativeFolder, Format format, std::uint64_t bytes)
    : m_folder(nativeFolder), m_image(nativeFolder + ".img"), m_format(format) {
  if (!RunningAsRoot()) {
    m_why = "mounting a disk image needs root";
    return;
  }
  const bool exfat = format == Format::ExFat;
  if (!Quietly(exfat ? "command -v mkfs.exfat && command -v mount.exfat-fuse && command -v losetup"
                     : "command -v mkfs.vfat && command -v fusefat") ||
      ::access("/dev/fuse", F_OK) != 0) {
    m_why = exfat ? "exfat-fuse, exfatprogs or the FUSE device is missing" : "fusefat, dosfstools or the FUSE device is missing";
    return;
  }
  if (::truncate(m_image.c_str(), 0) != 0) std::ofstream(m_image).close();
  if (::truncate(m_image.c_str(), static_cast<off_t>(bytes)) != 0 ||
      !Quietly((exfat ? "mkfs.exfat " : "mkfs.vfat ") + Quoted(m_image))) {
    m_why = "cannot format the disk image";
    return;
  }
  if (exfat) {
    std::FILE* pipe = ::popen(("losetup -f --show " + Quoted(m_image) + " 2>/dev/null").c_str(), "r");
    char line[128] = {};
    if (pipe && std::fgets(line, sizeof line, pipe)) m_loop = line;
    if (pipe) ::pclose(pipe);
    while (!m_loop.empty() && (m_loop.back() == '\n' || m_loop.back() == ' ')) m_loop.pop_back();
    if (m_loop.empty()) {
      m_why = "no loop device for the exFAT image";
      return;
    }
  }
  m_mounted = Mount();
  if (!m_mounted) m_why = "the disk image did not mount";
}

bool ScopedRemovableDisk::Mount() {
  if (m_format == Format::ExFat) return Quietly("mount.exfat-fuse " + Quoted(m_loop) + " " + Quoted(m_folder));
  return Quietly("fusefat -o rw+ " + Quoted(m_image) + " " + Quoted(m_folder));
}

void ScopedRemovableDisk::Unmount() {
  if (!Quietly("fusermount -u " + Quoted(m_folder))) ::umount2(m_folder.c_str(), MNT_DETACH);
}

bool ScopedRemovableDisk::Remount() {
  if (!m_mounted) return false;
  Unmount();
  m_mounted = Mount();
  return m_mounted;
}

ScopedRemovableDisk::~ScopedRemovableDisk() {
  if (m_mounted) Unmount();
  if (!m_loop.empty()) Quietly("losetup -d " + Quoted(m_loop));
  ::unlink(m_image.c_str());
}

}  // namespace platform::testing

