// File primitives each operating-system backend supplies: open, read, write,
// status, access tests, folder creation, file-system space and kind, and the
// system's message text of an error code. Paths are native paths; failures
// return -1 or false with errno set. Everything Windows-shaped (open flags,
// causes, drive letters) is decided by the portable code above.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform::backend {

enum class OpenAccess { Read, Write, ReadWrite };

// A descriptor, or -1. A folder is refused with EISDIR.
int OpenFile(const std::string& nativePath, OpenAccess access, bool create, bool truncate);
// One read or write (EINTR retried): the byte count, or -1.
std::int64_t ReadSome(int fd, void* buffer, std::size_t count);
std::int64_t WriteSome(int fd, const void* buffer, std::size_t count);
bool CloseFile(int fd);
// `whence` 0 begin, 1 current, 2 end. The new position, or -1.
std::int64_t SeekFile(int fd, std::int64_t offset, int whence);
bool TruncateFile(int fd, std::uint64_t length);
bool FlushFile(int fd);

struct FileStatusData {
  bool isDirectory = false;
  bool isReadOnly = false;  // nobody may write it
  std::uint64_t size = 0;
  std::int64_t creationTime = 0;  // birth time, or the status change time
  std::int64_t modifyTime = 0;
  std::int64_t accessTime = 0;
};
bool StatusOfFile(int fd, FileStatusData& status);
bool StatusOfPath(const std::string& nativePath, FileStatusData& status);

// Whether the process (its effective ids) may read (mode 4), write (2) or
// both (6); mode 0 asks whether the path exists.
bool Accessible(const std::string& nativePath, int mode);
bool MakeDirectory(const std::string& nativePath);

// What kind of file system holds a folder, as far as the system can tell.
enum class FileSystemKind { Local, Remote, CdRom, Ram };
struct FileSystemData {
  std::uint64_t blockSize = 0;
  std::uint64_t totalBlocks = 0;
  std::uint64_t freeBlocks = 0;       // free in all
  std::uint64_t availableBlocks = 0;  // free for an unprivileged user
  std::uint64_t id = 0;               // the file-system id, as a serial number
  FileSystemKind kind = FileSystemKind::Local;
  std::string typeName;               // "ext4", "nfs", ... or "" when unknown
};
bool FileSystemOf(const std::string& nativePath, FileSystemData& data);

// The system's text for an error code in the user's language; "" when the
// system knows no such code.
std::string ErrorText(int code);

}  // namespace platform::backend
