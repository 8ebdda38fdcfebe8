// The names in one folder, read once, for callers that test many names
// against a folder: a membership test in memory instead of one status query
// per name.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct FolderEntry {
  std::string name;
  // True for a plain file or folder, which exists as listed. False for a
  // symbolic link or an entry of unknown kind: only a status query can tell
  // whether the name leads anywhere (a dangling link does not).
  bool certain = false;
};

// Every entry of the folder (any spelling the drive table accepts; "" is the
// current folder) except "." and "..", in the folder's own order. False,
// with errno set, when the folder cannot be read.
bool ListFolder(std::string_view folder, std::vector<FolderEntry>& entries);

}  // namespace platform
