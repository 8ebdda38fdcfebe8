// FolderHandle: an open folder, and every step inside it taken relative to
// it, for programs that work in a folder tree other users can write to.
//
//   platform::FolderHandle root = platform::FolderHandle::Open("T:\\Pics");
//   platform::FolderHandle sub = root.OpenFolder("2001");   // never follows a link
//   std::vector<platform::FolderName> names;
//   sub.List(names);
//
// A path is resolved once, when the top folder is opened; after that every
// folder is reached by one name from its parent, without following a
// symbolic link unless the caller asks for it, and every look, read,
// removal and new folder goes through the open folder. A folder swapped for
// a link at any moment can then never move a read, a write or a removal to
// another place: the handle keeps meaning the folder that was opened.
//
// Names are single names: never "", ".", "..", and never holding '/'. Such
// a name is refused (errno EINVAL) rather than resolved.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"

namespace platform {

// What a name of a folder stands for, the name itself not followed.
enum class EntryKind {
  File,     // a regular file
  Folder,   // a folder
  Link,     // a symbolic link
  Special,  // a pipe, socket or device
  Missing,  // nothing of that name
  Unknown,  // the listing did not tell (only in FolderName::kind)
};

// The status of one name.
struct EntryInfo {
  EntryKind kind = EntryKind::Missing;
  std::uint64_t size = 0;           // bytes; 0 for a folder
  std::int64_t modifySeconds = 0;   // modification time, seconds since 1970
  std::uint32_t modifyNanos = 0;    // and the nanoseconds within that second
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  std::uint32_t mode = 0;           // permission bits (07777)
  std::uint32_t owner = 0;          // user and group ids
  std::uint32_t group = 0;
  std::uint64_t links = 0;          // hard links to it

  FileIdentity Identity() const { return {device, inode}; }
};

// One name read from a folder, with what the listing already tells of it.
struct FolderName {
  std::string name;
  EntryKind kind = EntryKind::Unknown;  // File, Folder, Link, Special or Unknown
};

// The outcome of reading a file through a folder.
enum class ReadStatus {
  Read,      // the content was read
  Missing,   // nothing of that name
  NotAFile,  // a link, folder, pipe, socket or device: never opened for reading
  TooLarge,  // longer than the limit asked for
  Failed,    // the system refused or the read failed (errno set)
};

class FolderHandle {
public:
  // No folder.
  FolderHandle() = default;
  ~FolderHandle();
  FolderHandle(FolderHandle&& other) noexcept;
  FolderHandle& operator=(FolderHandle&& other) noexcept;
  FolderHandle(const FolderHandle&) = delete;
  FolderHandle& operator=(const FolderHandle&) = delete;

  // Opens the folder a user named, in any spelling the drive table accepts
  // (see Drives.h); links on the way are followed, as the user named them.
  // Not IsOpen() on failure, with Error() telling why.
  static FolderHandle Open(std::string_view path);

  // Opens this folder again, with a position of its own for listing.
  FolderHandle Reopen() const;

  // Opens the folder `name` of this one. A symbolic link is not followed
  // unless `followLink` is true: then Error() is ELOOP for a link and
  // ENOTDIR for anything else that is not a folder. A pipe never blocks.
  FolderHandle OpenFolder(std::string_view name, bool followLink = false) const;

  bool IsOpen() const { return m_fd >= 0; }
  // The errno value of a failed open; 0 when open.
  int Error() const { return m_error; }
  // The identity of the open folder; {0, 0} when none.
  FileIdentity Identity() const;
  // The folder's real native path as the system sees it now ("" when it
  // cannot tell). For checks of where a followed link leads, and messages.
  std::string RealPath() const;

  // Reads every name of the folder except "." and "..", in the order the
  // folder keeps them. False with errno set when it cannot be read.
  bool List(std::vector<FolderName>& names) const;

  // The status of `name`, the name itself not followed unless `followLink`.
  // False with errno set (ENOENT: nothing of that name); `info.kind` is then
  // Missing.
  bool Look(std::string_view name, EntryInfo& info, bool followLink = false) const;

  // Reads the whole regular file `name` (never through a link, never a pipe
  // or device), at most `limit` bytes. `info`, when given, receives the
  // status of what was opened.
  ReadStatus ReadFile(std::string_view name, std::uint64_t limit, std::string& content,
                      EntryInfo* info = nullptr) const;
  // Reads at most the first `count` bytes of the regular file `name`, under
  // the same rules.
  ReadStatus ReadHead(std::string_view name, std::size_t count, std::string& content) const;

  // Creates the folder `name` (permissions 0777 less the process's mask);
  // false with errno set, EEXIST when the name is taken.
  bool MakeFolder(std::string_view name) const;

  // Removes the regular file `name` when what stands there now is a regular
  // file and, when `expected` is given, the very file of that identity.
  // False with errno set otherwise: ENOENT gone, EPERM not a regular file
  // (a link or anything else stays), ESTALE another file took the name.
  bool RemoveFile(std::string_view name, const FileIdentity* expected = nullptr) const;
  // Removes the empty folder `name` (never a link); false with errno set.
  bool RemoveFolder(std::string_view name) const;

  // Takes the advisory lock of this folder for the process without
  // waiting; false (errno EWOULDBLOCK) when another open of it holds the
  // lock. It is given back when the handle closes.
  bool TryLock() const;

  // The descriptor, for the platform's own libraries; -1 when none.
  int NativeHandle() const { return m_fd; }

private:
  FolderHandle(int fd, int error) : m_fd(fd), m_error(error) {}

  int m_fd = -1;
  int m_error = 0;
  mutable bool m_listed = false;  // the position has moved: rewind before the next listing
};

// A regular file of a folder opened to add to its end, for records that
// grow line by line: each Append is one write at the end, so lines added
// from several threads never mix. Closes itself.
class AppendFile {
public:
  AppendFile() = default;
  ~AppendFile();
  AppendFile(AppendFile&& other) noexcept;
  AppendFile& operator=(AppendFile&& other) noexcept;
  AppendFile(const AppendFile&) = delete;
  AppendFile& operator=(const AppendFile&) = delete;

  // Opens the regular file `name` of `folder` (never through a link, never
  // a pipe or device); not IsOpen() on failure, errno set.
  static AppendFile Open(const FolderHandle& folder, std::string_view name);
  bool IsOpen() const { return m_fd >= 0; }
  // Adds `bytes` at the end in one write; false with errno set.
  bool Append(std::string_view bytes) const;
  void Close();

private:
  int m_fd = -1;
};

// A folder handle several owners share (a folder whose page a writer thread
// finishes after the walk has moved on).
using SharedFolder = std::shared_ptr<const FolderHandle>;

// True for a single name as FolderHandle accepts it.
bool IsPlainName(std::string_view name);

// True when the file belongs to the user the process acts as, or to the
// system's administrator: the files whose content the process may trust as
// written by itself or by someone with every right anyway.
bool IsOwnedBySelfOrAdmin(const EntryInfo& info);

}  // namespace platform
