// Primitives each operating-system backend supplies to the portable code of
// the platform layer. Paths here are native paths; everything Windows-shaped
// (drive letters, separators, wildcards, order) is handled above them.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace platform::backend {

// The current directory as a native absolute path; "" on failure.
std::string GetCurrentDirectory();
bool ChangeDirectory(const std::string& nativePath);

std::optional<std::string> GetEnvironment(const char* name);

// One name read from a folder, with what the folder listing already tells
// about it (saves a status query for plain files and folders).
struct RawDirEntry {
  enum class Kind { Unknown, Directory, Other, Link };
  std::string name;
  Kind kind = Kind::Unknown;
};
// All names of a folder, "." and ".." included when the system lists them.
// False with errno set when the folder cannot be read.
bool ListDirectory(const std::string& nativePath, std::vector<RawDirEntry>& entries);

// Status of a path, following symbolic links. False with errno set.
bool Stat(const std::string& nativePath, FileStat& stat);

// A folder whose names have been read and which stays open while they are
// examined: a status query by name relative to it spares the system the walk
// along the whole path.
class OpenFolder {
public:
  virtual ~OpenFolder() = default;
  // Status of one name of the folder, following symbolic links; false with
  // errno set.
  virtual bool StatName(const std::string& name, FileStat& stat) const = 0;
};
// Reads every name of the folder ("." and ".." included) and keeps it open;
// null with errno set when it cannot be read.
std::unique_ptr<OpenFolder> ReadFolder(const std::string& nativePath, std::vector<RawDirEntry>& entries);

}  // namespace platform::backend
