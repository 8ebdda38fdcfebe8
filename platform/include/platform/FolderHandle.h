// FolderHandle: an open folder, and every step inside it taken relative to
// it, for programs that work in a folder tree other users can write to.
//
//   platform::FolderHandle root = platform::FolderHandle::Open("T:\\Pics");
//   platform::FolderHandle sub = root.OpenFolder("2001");   // never follows a link
//   std::vector<platform::FolderName> names;
//   if (const platform::FsStatus status = sub.List(names); status.Failed()) ...
//
// A path is resolved once, when the top folder is opened; after that every
// folder is reached by one name from its parent, without following a
// symbolic link unless the caller asks for it, and every look, read,
// removal and new folder goes through the open folder. A folder swapped for
// a link at any moment can then never move a read, a write or a removal to
// another place: the handle keeps meaning the folder that was opened.
//
// Names are single names: never "", ".", "..", and never holding '/' or a
// zero byte. Such a name is refused (EINVAL) rather than resolved.
//
// Errors are values: each step returns an FsStatus (or a ReadResult, or a
// handle whose Error() tells why it is not open); errno is never part of
// the interface.
//
// Threads: a handle may be used by several threads at once. Every step is
// one system call relative to the held descriptor; listings, which move the
// descriptor's position, take the handle's lock, so two never mix.
//
// What this layer creates (folders here, files through ReplacingFile)
// carries the permissions asked for and no access control list inherited
// from the folder it is made in: its mode alone says who may read it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/FsStatus.h"

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
  Refused,   // the caller's check of the opened file said no; nothing was read
  Failed,    // the system refused or the read failed (error tells why)
};

struct ReadResult {
  ReadStatus status = ReadStatus::Failed;
  int error = 0;  // the errno value when Failed; 0 otherwise

  friend bool operator==(const ReadResult& result, ReadStatus status) { return result.status == status; }
};

// Whether a file or folder carries an access control list beyond what its
// mode bits say.
enum class AclState {
  None,      // its mode bits are all
  Extended,  // named users or groups, or a mask: the mode's group bits are not the group's rights
  Unknown,   // it could not be told (the caller should assume Extended)
};

// What the file system under a folder keeps of its files.
struct FileSystemTraits {
  // Permission bits are stored per file (not so on FAT and exFAT, whose
  // driver shows one mode for every file and may refuse to change it).
  bool modesStored = true;
  // A file keeps its inode number across mounts (not so on FAT and exFAT).
  bool inodesStable = true;
};

// A check of a file that was opened, made before any byte of it is read:
// false refuses it (ReadStatus::Refused).
using OpenedFileCheck = std::function<bool(const EntryInfo& opened)>;

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

  // Opens the folder `name` of this one. A symbolic link is not followed
  // unless `followLink` is true: then Error() is ELOOP for a link and
  // ENOTDIR for anything else that is not a folder. A pipe never blocks.
  FolderHandle OpenFolder(std::string_view name, bool followLink = false) const;
  // Opens this folder again (for a walk that keeps handles of its own).
  FolderHandle Reopen() const;

  bool IsOpen() const { return m_fd >= 0; }
  // The errno value of a failed open; 0 when open.
  int Error() const { return m_error; }
  // The identity of the open folder; {0, 0} when none.
  FileIdentity Identity() const;
  // The status of the open folder itself, and whether it carries an
  // access control list.
  FsStatus LookSelf(EntryInfo& info) const;
  AclState LookSelfAcl() const;
  // Both access control lists of the open folder in one look: whether it
  // carries one, and whether new files made in it inherit one.
  FsStatus LookSelfAcls(AclState& access, bool& inherited) const;
  // The folder's real native path as the system sees it now ("" when it
  // cannot tell). For checks of where a followed link leads, and messages.
  std::string RealPath() const;
  // What the folder's file system keeps of its files.
  FileSystemTraits Traits() const;

  // Reads every name of the folder except "." and "..", in the order the
  // folder keeps them.
  FsStatus List(std::vector<FolderName>& names) const;

  // The status of `name`, the name itself not followed unless `followLink`
  // (ENOENT: nothing of that name; `info.kind` is then Missing).
  FsStatus Look(std::string_view name, EntryInfo& info, bool followLink = false) const;
  // Whether `name` (not followed) carries an access control list.
  AclState LookAcl(std::string_view name) const;
  // The text of the symbolic link `name` (where it points, as written).
  FsStatus ReadLink(std::string_view name, std::string& target) const;
  // The status of what `path` (names joined by '/', ".." allowed) leads to
  // below this folder, links followed but never out of it: EXDEV when a
  // link or ".." would leave it. Nothing is opened for reading, so a pipe
  // never blocks. With `folderOnly`, ENOTDIR unless it is a folder; `acl`,
  // when given, tells whether it carries an access control list.
  FsStatus LookBeneath(std::string_view path, EntryInfo& info, bool folderOnly = false,
                       AclState* acl = nullptr) const;

  // Reads the whole regular file `name` (never through a link, never a pipe
  // or device), at most `limit` bytes; a longer file is TooLarge and not
  // read. `info`, when given, receives the status of what was opened;
  // `check`, when given, sees that status before any byte is read.
  ReadResult ReadFile(std::string_view name, std::uint64_t limit, std::string& content, EntryInfo* info = nullptr,
                      const OpenedFileCheck& check = {}) const;
  // Reads at most the first `count` bytes of the regular file `name`, under
  // the same rules.
  ReadResult ReadHead(std::string_view name, std::size_t count, std::string& content) const;

  // Creates the folder `name` with exactly the permissions `mode` (the
  // process's mask does not apply, no inherited ACL stays) and, when asked,
  // the group `group` (when it cannot have it, its group bits are
  // cleared); EEXIST when the name is taken.
  FsStatus MakeFolder(std::string_view name, std::uint32_t mode,
                      std::optional<std::uint32_t> group = std::nullopt) const;
  // Renames the file or folder `from` of this folder to `to`, only when
  // nothing holds `to` (EEXIST otherwise). Neither name is followed.
  FsStatus RenameNew(std::string_view from, std::string_view to) const;
  // Takes away the access control lists of the open folder itself (its
  // own and the one its new files would inherit), so its mode alone tells
  // who may use it.
  FsStatus DropAcls() const;
  // Gives the open folder the permissions `mode`.
  FsStatus SetMode(std::uint32_t mode) const;

  // Removes the regular file `name` when what stands there now is a regular
  // file and, when `expected` is given, the very file of that identity:
  // ENOENT gone, EPERM not a regular file (a link or anything else stays),
  // ESTALE another file took the name.
  FsStatus RemoveFile(std::string_view name, const FileIdentity* expected = nullptr) const;
  // Removes the empty folder `name` (never a link).
  FsStatus RemoveFolder(std::string_view name) const;

  // The descriptor, for the platform's own libraries; -1 when none.
  int NativeHandle() const { return m_fd; }

private:
  FolderHandle(int fd, int error);

  int m_fd = -1;
  int m_error = 0;
  // One listing at a time on the descriptor; a listing after the first
  // starts by going back to the start.
  struct Listing {
    std::mutex mutex;
    bool listed = false;
  };
  std::unique_ptr<Listing> m_listing;
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
  // a pipe or device); `check`, when given, must accept the opened file.
  // Not IsOpen() on failure, with Error() telling why (EPERM: not a plain
  // file or refused by the check).
  static AppendFile Open(const FolderHandle& folder, std::string_view name, const OpenedFileCheck& check = {});
  bool IsOpen() const { return m_fd >= 0; }
  int Error() const { return m_error; }
  // Adds `bytes` at the end in one write.
  FsStatus Append(std::string_view bytes) const;
  void Close();

private:
  int m_fd = -1;
  int m_error = 0;
};

// A regular file of a folder opened for reading piece by piece at any
// position, for content too large to read whole (a video's container).
// Opened as ReadFile opens a file: never through a link, never a pipe or
// device, checked to be the very regular file the name stood for. One
// thread at a time; closes itself.
class ReadingFile {
public:
  ReadingFile() = default;
  ~ReadingFile();
  ReadingFile(ReadingFile&& other) noexcept;
  ReadingFile& operator=(ReadingFile&& other) noexcept;
  ReadingFile(const ReadingFile&) = delete;
  ReadingFile& operator=(const ReadingFile&) = delete;

  // Opens the regular file `name` of `folder`: Read, or why not (Missing,
  // NotAFile, Failed with the errno value).
  static ReadResult Open(const FolderHandle& folder, std::string_view name, ReadingFile& file);
  bool IsOpen() const { return m_fd >= 0; }
  // The status of the file as it was opened.
  const EntryInfo& Info() const { return m_info; }
  // Reads up to `count` bytes from `offset`: the bytes read, 0 at the end,
  // -1 on failure (with Error() telling why).
  long long ReadAt(std::uint64_t offset, void* buffer, std::size_t count);
  int Error() const { return m_error; }

private:
  int m_fd = -1;
  int m_error = 0;
  std::uint64_t m_position = 0;
  EntryInfo m_info;
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
// The user the process acts as.
std::uint32_t EffectiveUser();

}  // namespace platform
