// The pieces every step in a folder shares: the status of a file as an
// EntryInfo, the check of a name before it is used, and the safe open of a
// regular file.
#pragma once

#include <string>
#include <string_view>
#include <sys/stat.h>

#include "UniqueFd.h"
#include "platform/FolderHandle.h"

namespace platform::posix {

EntryKind KindOfMode(mode_t mode);
EntryInfo ToEntryInfo(const struct stat& status);

// The status of `name` of the open folder `dirFd` (followed with
// `followLink`), asking the system only for what an EntryInfo keeps (no
// access or change time, no block counts): 0 or the errno value.
int LookAt(int dirFd, const char* name, bool followLink, EntryInfo& info);

// 0 when `name` may be used below the open folder `dirFd`; else EBADF (no
// folder) or EINVAL (not a single plain name).
int CheckName(int dirFd, std::string_view name);

// Opens the regular file `name` of the folder `dirFd` with `flags` (read or
// write access; O_NOFOLLOW, O_NONBLOCK, O_NOCTTY and O_CLOEXEC are always
// added). Its kind is looked at first, so a pipe or device is never opened
// at all; what was opened must then be that very file (same device and
// inode) and still a regular file, else the open is undone. `fd` and
// `info` receive the open file and its status.
// Gives the open file or folder `fd` the permissions `mode`; 0 or the
// errno value. On a file system that stores no permissions (FAT, exFAT)
// a refusal is no failure: there is nothing to keep, and the file is
// still written.
int SetModeOf(int fd, std::uint32_t mode);

ReadResult OpenRegularAt(int dirFd, std::string_view name, int flags, UniqueFd& fd, EntryInfo& info);

}  // namespace platform::posix
