// Drive letters over a POSIX file system, and the translation of the Windows
// paths the libraries work with.
//
// Every drive letter A..Z may map to a POSIX folder. The default table maps C:
// to "/". The environment variable ZN_DRIVES adds or replaces entries:
//   ZN_DRIVES='D=/media/cdrom;T=/tmp/work'        (letter=folder, ';'-separated)
//   ZN_DRIVES='D=/media/cd:CDLABEL'               (an optional ':label' at the end)
//
// Paths in: every call that takes a path accepts the drive form X:\a\b (or
// X:/a/b), the rooted form \a\b (on the current drive), a relative path a\b
// (to the current directory) and a native absolute path /a/b. Backslash and
// slash are both separators.
// Paths out: paths the platform makes up itself are in drive form with
// backslashes, named after the drive whose folder is the longest prefix.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct Drive {
  char letter = 0;     // 'A'..'Z'
  std::string folder;  // absolute POSIX folder, no trailing slash except "/"
  std::string label;   // volume label, "" when none was given
};

// The table, read from the defaults and ZN_DRIVES on first use.
std::vector<Drive> GetDrives();  // sorted by letter
std::optional<Drive> FindDrive(char letter);  // either case
// Maps or unmaps one letter (tests map a letter to a temporary folder).
void MapDrive(char letter, std::string_view folder, std::string_view label = {});
void UnmapDrive(char letter);
// Forgets every change and reads the defaults and ZN_DRIVES again.
void ReloadDriveTable();

enum class PathForm {
  Empty,     // ""
  Drive,     // X:\a, X:/a or X:a
  Rooted,    // \a (on the current drive)
  Native,    // /a
  Relative,  // a\b
};
PathForm ClassifyPath(std::string_view path);

// The POSIX path for any accepted spelling; "" when the path names a drive
// letter that is not mapped, or is empty. In drive and rooted forms "." and
// ".." are resolved by name and never climb above the drive's folder.
std::string ToNativePath(std::string_view path);

// An absolute POSIX path in drive form ("C:\home\me"); a path outside every
// drive comes back unchanged.
std::string ToDrivePath(std::string_view nativeAbsolute);

// The absolute form of a folder as file searches report it: a path given in
// drive form or as a native absolute path keeps the caller's spelling; a
// rooted path gets the current drive in front; a relative path is joined to
// the current directory in drive form. Trailing separators are removed.
std::string MakeAbsolute(std::string_view path);

// The letter of the drive that holds the current directory; 0 when none does.
char GetCurrentDriveLetter();

}  // namespace platform
