// MountTable from /proc/self/mountinfo: one line per mount, fields split by
// blanks, with blanks, tabs, newlines and backslashes in paths written as
// three-digit octal escapes.
#include "platform/Mounts.h"

#include <charconv>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <sys/sysmacros.h>

#include "../posix/SysCalls.h"
#include "../posix/UniqueFd.h"

namespace platform {
namespace {

using posix::RetryOnEintr;
using posix::Sys;

std::string Unescape(std::string_view field) {
  std::string out;
  out.reserve(field.size());
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && field.size() - i >= 4) {
      const std::string_view digits = field.substr(i + 1, 3);
      unsigned value = 0;
      const auto [end, error] = std::from_chars(digits.data(), digits.data() + 3, value, 8);
      if (error == std::errc() && end == digits.data() + 3 && value < 256) {
        out += static_cast<char>(value);
        i += 3;
        continue;
      }
    }
    out += field[i];
  }
  return out;
}

std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  while (!line.empty()) {
    const std::size_t blank = line.find(' ');
    if (blank != 0) fields.push_back(line.substr(0, blank));
    if (blank == std::string_view::npos) break;
    line.remove_prefix(blank + 1);
  }
  return fields;
}

std::string ReadMountInfo() {
  std::string text;
  posix::UniqueFd fd(RetryOnEintr([] { return Sys().open("/proc/self/mountinfo", O_RDONLY | O_CLOEXEC, 0); }));
  if (!fd) return text;
  char buffer[16 * 1024];
  for (;;) {
    const ssize_t n = RetryOnEintr([&] { return Sys().read(fd.Get(), buffer, sizeof buffer); });
    if (n <= 0) break;
    text.append(buffer, static_cast<std::size_t>(n));
    if (text.size() > (64u << 20)) break;  // no real table is this large
  }
  return text;
}

}  // namespace

MountTable MountTable::Parse(std::string_view text) {
  MountTable table;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    const std::vector<std::string_view> fields = Fields(line);
    // id parent major:minor root mount-point options [optional...] - type source super-options
    std::size_t dash = 6;
    while (dash < fields.size() && fields[dash] != "-") ++dash;
    if (fields.size() < 7 || dash + 2 >= fields.size()) continue;
    MountPoint mount;
    const std::string_view numbers = fields[2];
    const std::size_t colon = numbers.find(':');
    unsigned major = 0, minor = 0;
    if (colon == std::string_view::npos ||
        std::from_chars(numbers.data(), numbers.data() + colon, major).ec != std::errc() ||
        std::from_chars(numbers.data() + colon + 1, numbers.data() + numbers.size(), minor).ec != std::errc())
      continue;
    mount.device = makedev(major, minor);
    mount.path = Unescape(fields[4]);
    mount.type = Unescape(fields[dash + 1]);
    mount.source = Unescape(fields[dash + 2]);
    if (dash + 3 < fields.size()) {
      std::string_view options = fields[dash + 3];
      while (!options.empty()) {
        const std::size_t comma = options.find(',');
        const std::string_view option = options.substr(0, comma);
        options.remove_prefix(comma == std::string_view::npos ? options.size() : comma + 1);
        if (option.rfind("user_id=", 0) == 0) {
          std::uint32_t user = 0;
          const std::string_view digits = option.substr(8);
          const auto [at, error] = std::from_chars(digits.data(), digits.data() + digits.size(), user);
          if (error == std::errc() && at == digits.data() + digits.size()) mount.fuseOwner = user;
        }
      }
    }
    table.m_mounts.push_back(std::move(mount));
  }
  return table;
}

MountTable MountTable::Read() { return Parse(ReadMountInfo()); }

const MountTable& MountTable::Current(std::uint64_t device) {
  // Tables are kept, never freed, so a reference handed out stays valid
  // when another thread reads the mounts again; a new table is read only
  // for a device mounted since the last one.
  static std::mutex mutex;
  static std::vector<std::unique_ptr<MountTable>> tables;
  std::lock_guard<std::mutex> lock(mutex);
  if (tables.empty() || (device != 0 && !tables.back()->OfDevice(device) && tables.size() < 64))
    tables.push_back(std::make_unique<MountTable>(Read()));
  return *tables.back();
}

const MountPoint* MountTable::At(std::string_view nativePath) const {
  for (auto mount = m_mounts.rbegin(); mount != m_mounts.rend(); ++mount)
    if (mount->path == nativePath) return &*mount;
  return nullptr;
}

const MountPoint* MountTable::OfDevice(std::uint64_t device) const {
  for (auto mount = m_mounts.rbegin(); mount != m_mounts.rend(); ++mount)
    if (mount->device == device) return &*mount;
  return nullptr;
}

std::vector<const MountPoint*> MountTable::Below(std::string_view nativeFolder) const {
  std::vector<const MountPoint*> below;
  std::string prefix(nativeFolder);
  if (prefix.empty() || prefix.back() != '/') prefix += '/';
  for (const MountPoint& mount : m_mounts)
    if (mount.path.size() > prefix.size() && mount.path.compare(0, prefix.size(), prefix) == 0) below.push_back(&mount);
  return below;
}

}  // namespace platform
