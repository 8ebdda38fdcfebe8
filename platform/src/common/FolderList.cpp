// One folder's names through the backend's listing.
#include "platform/FolderList.h"

#include <cerrno>

#include "Backend.h"
#include "platform/Drives.h"

namespace platform {

bool ListFolder(std::string_view folder, std::vector<FolderEntry>& entries) {
  const std::string native = ToNativePath(folder.empty() ? std::string_view(".") : folder);
  if (native.empty()) {
    errno = ENOENT;
    return false;
  }
  std::vector<backend::RawDirEntry> raw;
  if (!backend::ListDirectory(native, raw)) return false;
  entries.reserve(entries.size() + raw.size());
  using Kind = backend::RawDirEntry::Kind;
  for (backend::RawDirEntry& item : raw) {
    if (item.name == "." || item.name == "..") continue;
    entries.push_back({std::move(item.name), item.kind == Kind::Directory || item.kind == Kind::Other});
  }
  return true;
}

}  // namespace platform
