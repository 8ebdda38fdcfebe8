// Changing files inside a folder tree that a program manages: folders made,
// files put in place under their final name, and files removed only where
// they provably lie inside the tree.
//
// Paths are in any spelling the drive table accepts (see Drives.h). "Inside
// the tree" means: the real folder that holds the entry (every symbolic link
// on the way resolved) is the real folder of `root` or lies below it. The
// entry itself is never followed: a symbolic link is reported as a link and
// never removed, so nothing outside the tree is ever touched through one.
#pragma once

#include <string_view>

#include "platform/FileSystem.h"

namespace platform {

// Creates one folder (its parent must exist); false with errno set, EEXIST
// when something of that name is already there.
bool MakeFolder(std::string_view path);

// Creates the file `path` with `content`; refuses (false, errno EEXIST)
// when anything of that name exists, a symbolic link included, so it never
// writes through a link. False with errno set on any failure; a file that
// could not be written whole is removed again.
bool WriteNewFile(std::string_view path, std::string_view content);

// Gives the file `from` the name `to` in one step, replacing a file (or a
// link, never what it points to) of that name. Both must be on one file
// system; false with errno set.
bool ReplaceFile(std::string_view from, std::string_view to);

// What stands at a path of the tree, the last component not followed.
enum class TreeEntry {
  PlainFile,    // a regular file
  PlainFolder,  // a folder
  Link,         // a symbolic link (never followed)
  Other,        // a device, pipe or socket
  Missing,      // nothing of that name (or the folder holding it is gone)
  OutsideTree,  // the folder holding it is not inside the tree
  Unreadable,   // the system refused to tell (access denied, I/O error)
};

// Looks at `path` without following a link in its last component. `stat`,
// when given, receives the entry's own status for a plain file or folder.
TreeEntry CheckTreeEntry(std::string_view root, std::string_view path, FileStat* stat = nullptr);

// Removes the regular file `path` when CheckTreeEntry calls it a plain file
// inside the tree, checking again at the moment of removal. Returns what
// stood there: PlainFile when it was removed; anything else means nothing
// was removed (Unreadable also when the removal itself failed, errno set).
TreeEntry RemoveTreeFile(std::string_view root, std::string_view path);

// Removes the empty folder `path` under the same rules; PlainFolder when it
// was removed.
TreeEntry RemoveTreeFolder(std::string_view root, std::string_view path);

}  // namespace platform
