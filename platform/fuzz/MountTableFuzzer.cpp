// Feeds random tables to the reader of /proc/self/mountinfo. Its mount
// points carry names others choose (a volume's label, a FUSE mount of
// another user), escaped by the kernel; whatever the text, every mount read
// must be found again by its place and by its device, and a mount below a
// folder lies below it. A broken rule aborts the run.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Mounts.h"
#include "platform/testing/FuzzInput.h"

using platform::testing::FuzzCheck;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  platform::testing::FuzzInput input(data, size);
  const std::string folder = input.Text(15);
  const platform::MountTable table = platform::MountTable::Parse(input.Rest());
  for (const platform::MountPoint& mount : table.Mounts()) {
    const platform::MountPoint* at = table.At(mount.path);
    FuzzCheck(at != nullptr && at->path == mount.path, "a mount not found at its place");
    const platform::MountPoint* of = table.OfDevice(mount.device);
    FuzzCheck(of != nullptr && of->device == mount.device, "a mount not found by its device");
  }
  for (const platform::MountPoint* below : table.Below(folder))
    FuzzCheck(below->path.size() > folder.size() && below->path.compare(0, folder.size(), folder) == 0,
              "a mount below a folder outside it");
  return 0;
}
