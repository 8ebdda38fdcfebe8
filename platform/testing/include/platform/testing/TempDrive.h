// Test support: a fresh temporary folder mapped to a drive letter, so tests
// use Windows paths literally ("T:\\Pics\\2001") and never touch the user's
// own folders. The current directory is restored and the folder removed
// when the object goes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace platform::testing {

class TempDrive {
public:
  explicit TempDrive(char letter = 'T');
  ~TempDrive();
  TempDrive(const TempDrive&) = delete;
  TempDrive& operator=(const TempDrive&) = delete;

  char Letter() const { return m_letter; }
  // The mapped folder as a native path.
  const std::string& Folder() const { return m_folder; }
  // "T:\" followed by `relative` with its slashes turned into backslashes.
  std::string WinPath(std::string_view relative = {}) const;
  // The native path of `relative` (slashes or backslashes) below the folder.
  std::string Native(std::string_view relative = {}) const;

  // Creates a folder with its parents.
  void MakeDir(std::string_view relative) const;
  // Creates a file (and its folders) holding `content`.
  void WriteFile(std::string_view relative, std::string_view content = {}) const;
  // Creates a file of `size` bytes.
  void WriteSizedFile(std::string_view relative, std::uint64_t size) const;
  std::string ReadFile(std::string_view relative) const;
  bool Exists(std::string_view relative) const;
  void Symlink(std::string_view target, std::string_view relative) const;
  void Chmod(std::string_view relative, unsigned mode) const;

private:
  char m_letter;
  std::string m_folder;
  std::string m_savedCwd;
};

// True when the process runs as root: permission bits do not stop it.
bool RunningAsRoot();

// While it lives, the process acts as an unprivileged user (effective user
// id 65534) when it runs as root, so permission faults are real; without
// root it changes nothing. Active() tells whether permissions now apply.
class ScopedUnprivileged {
public:
  ScopedUnprivileged();
  ~ScopedUnprivileged();
  ScopedUnprivileged(const ScopedUnprivileged&) = delete;
  ScopedUnprivileged& operator=(const ScopedUnprivileged&) = delete;
  bool Active() const { return m_active; }

private:
  bool m_switched = false;
  bool m_active = false;
};

// While it lives, a shared lock (flock) on a folder, as any user who may
// read the folder can take one.
class ScopedFolderLock {
public:
  explicit ScopedFolderLock(const std::string& nativeFolder);
  ~ScopedFolderLock();
  ScopedFolderLock(const ScopedFolderLock&) = delete;
  ScopedFolderLock& operator=(const ScopedFolderLock&) = delete;
  bool Held() const { return m_held; }

private:
  int m_fd = -1;
  bool m_held = false;
};

// Gives a file (not followed) another owner and group, as another user's
// file would be; only root may (false otherwise).
bool ChangeOwner(const std::string& nativePath, unsigned owner, unsigned group);

// The id of the unprivileged user tests play another user with ("nobody").
inline constexpr unsigned kOtherUser = 65534;

// Makes a named pipe at a native path; false when it cannot.
bool MakeFifo(const std::string& nativePath);
// Swaps two names of one file system in one step (whatever they are: a
// folder and a symbolic link, say); false when the system refuses.
bool ExchangeNames(const std::string& nativeA, const std::string& nativeB);
// Sets a file's modification time to the second and nanosecond given.
bool SetModifyTime(const std::string& nativePath, std::int64_t seconds, long nanos);
// The permission bits of a file (not followed), or -1.
int PermissionsOf(const std::string& nativePath);

// While it lives, a small file system of its own (tmpfs, `bytes` in size)
// is mounted on an empty folder, so a test can fill a disk for real. Only
// root may mount: Mounted() is false otherwise, and the test skips.
class ScopedSmallDisk {
public:
  ScopedSmallDisk(const std::string& nativeFolder, std::uint64_t bytes);
  ~ScopedSmallDisk();
  ScopedSmallDisk(const ScopedSmallDisk&) = delete;
  ScopedSmallDisk& operator=(const ScopedSmallDisk&) = delete;
  bool Mounted() const { return m_mounted; }
  // Writes a file `name` into the folder until the disk is full.
  void Fill(const std::string& name) const;

private:
  std::string m_folder;
  bool m_mounted = false;
};

// While it lives, a FUSE file system mounted on an empty folder by another
// user (kOtherUser), whose server answers the status of its top folder but
// never a request to read it: what a hostile user can mount into a tree it
// may write. Needs root, /dev/fuse, and the system's Python with fusepy;
// Mounted() is false otherwise, and the test skips. The mount goes (lazily
// detached) with the object.
class ScopedForeignFuseMount {
public:
  explicit ScopedForeignFuseMount(const std::string& nativeFolder);
  ~ScopedForeignFuseMount();
  ScopedForeignFuseMount(const ScopedForeignFuseMount&) = delete;
  ScopedForeignFuseMount& operator=(const ScopedForeignFuseMount&) = delete;
  bool Mounted() const { return m_mounted; }
  // Why it could not be mounted.
  const std::string& Why() const { return m_why; }

private:
  std::string m_folder;
  std::string m_script;
  int m_server = -1;  // the server's process
  bool m_mounted = false;
  std::string m_why;
  std::string m_savedConf;
  bool m_confChanged = false;
  unsigned m_savedFuseMode = 0;
};

// While it lives, a disk formatted as a camera card or a USB stick is (exFAT
// or FAT, read by their FUSE drivers: no permissions kept, inode numbers made
// up by the driver) mounted on an empty folder, from an image file beside
// it. Needs root and the drivers and formatting tools; Mounted() is false
// otherwise (Why() tells), and the test skips.
class ScopedRemovableDisk {
public:
  enum class Format { ExFat, Fat };
  ScopedRemovableDisk(const std::string& nativeFolder, Format format, std::uint64_t bytes = 32u << 20);
  ~ScopedRemovableDisk();
  ScopedRemovableDisk(const ScopedRemovableDisk&) = delete;
  ScopedRemovableDisk& operator=(const ScopedRemovableDisk&) = delete;
  bool Mounted() const { return m_mounted; }
  const std::string& Why() const { return m_why; }
  // Unmounts the disk and mounts it again, as when it is plugged in anew.
  bool Remount();

private:
  bool Mount();
  void Unmount();
  std::string m_folder;
  std::string m_image;
  std::string m_loop;  // the loop device of an exFAT image
  Format m_format;
  bool m_mounted = false;
  std::string m_why;
};

// While it lives, the platform clock stands still at the given local time
// (interpreted in the current TZ).
class FixedClock {
public:
  FixedClock(int year, int month, int day, int hour, int minute, int second);
  ~FixedClock();
  FixedClock(const FixedClock&) = delete;
  FixedClock& operator=(const FixedClock&) = delete;
};

// While it lives, TZ names the given zone; the previous setting comes back
// afterwards.
class ScopedTimeZone {
public:
  explicit ScopedTimeZone(const char* zone);
  ~ScopedTimeZone();
  ScopedTimeZone(const ScopedTimeZone&) = delete;
  ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;

private:
  bool m_hadZone = false;
  std::string m_oldZone;
};

// Eastern and Central European time with their summer rules, written out so
// that no time-zone database is needed.
inline constexpr const char* kNewYorkZone = "EST5EDT,M3.2.0,M11.1.0";
inline constexpr const char* kBerlinZone = "CET-1CEST,M3.5.0,M10.5.0/3";

}  // namespace platform::testing
