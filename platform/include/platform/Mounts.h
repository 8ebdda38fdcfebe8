// MountTable: the file systems mounted in this process's view, for walks
// that must know where one ends before they step into it (a mount of
// another user whose server never answers would stop any look inside).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct MountPoint {
  std::string path;        // native path of the mount point
  std::string type;        // "ext4", "tmpfs", "fuseblk", "fuse.sshfs", ...
  std::string source;      // what is mounted ("/dev/sda1", "server:/export", ...)
  std::uint64_t device = 0;  // the device number the files below it have
  // For a FUSE mount: the user who mounted it (its "user_id" option).
  std::optional<std::uint32_t> fuseOwner;

  bool IsFuse() const { return type == "fuse" || type == "fuseblk" || type.rfind("fuse.", 0) == 0; }
};

class MountTable {
public:
  // The mounts as they are now; empty when they cannot be read.
  static MountTable Read();
  // The mounts as an earlier call of this process read them, read again
  // when `device` (unless 0) is not among them. Safe from several threads.
  static const MountTable& Current(std::uint64_t device = 0);

  const std::vector<MountPoint>& Mounts() const { return m_mounts; }
  // The mount whose mount point is exactly `nativePath` (the last one
  // mounted there, which hides the others); null when none.
  const MountPoint* At(std::string_view nativePath) const;
  // The mount whose files have this device number; null when none.
  const MountPoint* OfDevice(std::uint64_t device) const;
  // The mounts whose mount points lie strictly below `nativeFolder`.
  std::vector<const MountPoint*> Below(std::string_view nativeFolder) const;

  // Parses the text of /proc/self/mountinfo (exposed for tests).
  static MountTable Parse(std::string_view text);

private:
  std::vector<MountPoint> m_mounts;
};

}  // namespace platform
