/// @file
/// CFile: unbuffered binary access to one file; CFileException: the error the
/// file family raises; CFileStatus: what a status query reports.
#pragma once

#include <cstdint>
#include <exception>

#include "platform/Object.h"
#include "platform/String.h"
#include "platform/Time.h"
#include "platform/WinTypes.h"

/// The error the file family raises.
///
/// Every failing operation of CFile raises a CFileException by value
/// (`throw CFileException(...)`); callers catch it by reference. It carries
/// the cause (the framework's cause table below), the OS error code (the
/// `errno` value) and the file name as the caller gave it. Nothing has to be
/// released: Delete() exists for callers written for the framework and does
/// nothing.
///
/// CFileException belongs to the platform layer (`platform_core`). ZnCore
/// derives no class from it; CZnFile records its fields.
/// @ingroup platform_base
class CFileException : public CObject, public std::exception {
public:
  /// The framework's cause table; GetErrorCauseMeaning texts elsewhere rely
  /// on these numbers.
  enum {
    none = 0,              ///< no error
    generic = 1,           ///< an error without a cause of its own
    fileNotFound = 2,      ///< the file does not exist
    badPath = 3,           ///< a part of the path is not a folder, too long or a link loop
    tooManyOpenFiles = 4,  ///< the process or the system has no descriptor left
    accessDenied = 5,      ///< no permission, a read-only file system, or a folder
    invalidFile = 6,       ///< no file open, or a descriptor that is not valid
    removeCurrentDir = 7,  ///< the current directory cannot be removed (this port never raises it)
    directoryFull = 8,     ///< no more folder entries (this port never raises it)
    badSeek = 9,           ///< a position before the start, or a file that cannot seek
    hardIO = 10,           ///< an input or output error of the device
    sharingViolation = 11, ///< another process shares the file (this port never raises it)
    lockViolation = 12,    ///< a region is locked (this port never raises it)
    diskFull = 13,         ///< no space left on the device, or the quota is used up
    endOfFile = 14,        ///< the end of the file was reached (this port never raises it)
  };

  /// An error of `cause` with the OS error code `osError` (-1 for none) and
  /// the file name (null gives "").
  explicit CFileException(int cause = none, long osError = -1, const char* fileName = nullptr);

  /// The cause for an `errno` value: ENOENT file not found; ENOTDIR,
  /// ENAMETOOLONG, ELOOP bad path; EACCES, EPERM, EISDIR, EROFS access denied;
  /// EMFILE, ENFILE too many open files; ENOSPC, EDQUOT disk full; EIO hard
  /// I/O; EBADF invalid file; ESPIPE bad seek; 0 none; anything else generic.
  static int OsErrorToException(long osError);
  /// Raises the error of an `errno` value for the file: the cause from
  /// OsErrorToException, the code and the name. `errno` is set to the code
  /// first, so it still names the failure when the error is caught.
  [[noreturn]] static void ThrowOsError(long osError, const char* fileName = nullptr);

  /// Nothing to release: the error travels by value.
  void Delete() noexcept {}
  /// "CFileException::<cause name>", for reports of an error nobody caught;
  /// "CFileException" for a cause outside the table.
  const char* what() const noexcept override;

  int m_cause;              ///< the cause, a value of the table above
  long m_lOsError;          ///< the OS error code (an `errno` value); -1 when there is none
  CString m_strFileName;    ///< the file name as the caller gave it; "" when unknown
};

/// The status of a file or folder, as CFile::GetStatus reports it. On POSIX
/// the creation time is the birth time where the file system records it,
/// else the last status change.
///
/// CFileStatus belongs to the platform layer (`platform_core`). ZnCore
/// derives nothing from it; CZnFile's time, size and comparison members read
/// it.
/// @ingroup platform_base
struct CFileStatus {
  CTime m_ctime;        ///< creation
  CTime m_mtime;        ///< last modification
  CTime m_atime;        ///< last access
  std::int64_t m_size = 0;  ///< bytes; 0 for a folder (64-bit in the port)
  BYTE m_attribute = 0;     ///< CFile::Attribute bits
  CString m_strFullName;    ///< the absolute path (any length in the port)
};

/// Unbuffered binary access to one file through an OS file descriptor.
///
/// Errors: every failing operation raises a CFileException by value (see
/// there); Open is the one member that reports a failure by its result
/// instead. Paths are accepted in every spelling the drive table knows (see
/// Drives.h).
///
/// CFile belongs to the platform layer (`platform_core`); ZnCore's CZnFile
/// derives from it.
/// @ingroup platform_base
class CFile : public CObject {
public:
  /// Open flags. The sharing modes are accepted and ignored: POSIX has no
  /// mandatory sharing locks. A file is never inherited by started programs.
  enum OpenFlags : UINT {
    modeRead = 0x0000,        ///< read only
    modeWrite = 0x0001,       ///< write only
    modeReadWrite = 0x0002,   ///< read and write
    shareCompat = 0x0000,     ///< accepted and ignored
    shareExclusive = 0x0010,  ///< accepted and ignored
    shareDenyWrite = 0x0020,  ///< accepted and ignored
    shareDenyRead = 0x0030,   ///< accepted and ignored
    shareDenyNone = 0x0040,   ///< accepted and ignored
    modeNoInherit = 0x0080,   ///< accepted; every file is kept from started programs anyway
    modeCreate = 0x1000,      ///< create, or empty an existing file...
    modeNoTruncate = 0x2000,  ///< ...unless this is given too
    typeText = 0x4000,        ///< no text translation on POSIX: same as binary
    typeBinary = 0x8000,      ///< binary access, the only kind there is
  };
  /// The attribute bits of CFileStatus::m_attribute.
  enum Attribute : BYTE {
    normal = 0x00,     ///< no other bit
    readOnly = 0x01,   ///< nobody may write it
    hidden = 0x02,     ///< the name starts with a full stop (not "." or "..")
    system = 0x04,     ///< never set on POSIX
    volume = 0x08,     ///< never set on POSIX
    directory = 0x10,  ///< a folder
    archive = 0x20,    ///< anything that is not a folder
  };
  /// Where Seek counts from.
  enum SeekPosition : UINT {
    begin = 0,    ///< the start of the file
    current = 1,  ///< the current position
    end = 2       ///< the end of the file
  };

  /// The handle of an object with no open file (all bits set).
  static constexpr int hFileNull = -1;

  /// An object with no open file and an empty path.
  CFile();
  /// Wraps an open OS file descriptor; the object does not close it when it
  /// is destroyed (Close() does).
  explicit CFile(int hFile);
  /// Opens the file as Open does; raises the file error when it cannot.
  CFile(const char* fileName, UINT openFlags);
  /// Closes a file the object opened; errors at that point are dropped.
  ~CFile() override;
  /// Not copyable: an open file belongs to one object.
  CFile(const CFile&) = delete;
  /// Not copyable: an open file belongs to one object.
  CFile& operator=(const CFile&) = delete;

  /// Opens and stores the path as given (null counts as ""). FALSE on failure,
  /// with the error in `error` when it is not null and `errno` set; raises
  /// nothing. A folder is refused (access denied); an object that already has
  /// a file open is refused (generic), as are open flags with both the write
  /// and the read-write bit (generic); a drive letter that is not mapped
  /// gives file not found.
  virtual BOOL Open(const char* fileName, UINT openFlags, CFileException* error = nullptr);
  /// Reads until `count` bytes are in or the file ends; returns the number
  /// read (fewer only at the end of the file). A count of 0 returns 0. Raises
  /// on failure, also when no file is open (invalid file) and for a null
  /// buffer with a count above 0 (generic).
  virtual UINT Read(void* buffer, UINT count);
  /// Writes all bytes or raises (a full disk gives diskFull, no open file
  /// invalid file, a null buffer with a count above 0 generic). A count of 0
  /// writes nothing.
  virtual void Write(const void* buffer, UINT count);
  /// Closes the file; the handle becomes hFileNull even when closing fails
  /// (then the error is raised). The path is kept. Without an open file it
  /// does nothing.
  virtual void Close();
  /// Closes without raising; without an open file it does nothing.
  virtual void Abort();
  /// Writes the file's data through to the device; raises on failure. A
  /// device or pipe that has nothing to write through is no failure, and
  /// without an open file it does nothing.
  virtual void Flush();
  /// Moves the position by `offset` bytes from `from` (begin, current or end)
  /// and returns the new one. Raises badSeek for a position before the start
  /// and for another `from`, invalid file when no file is open.
  virtual ULONGLONG Seek(std::int64_t offset, UINT from);
  /// Moves to the start of the file; raises as Seek does.
  void SeekToBegin() { Seek(0, begin); }
  /// Moves to the end of the file and returns the new position, which is the
  /// size; raises as Seek does.
  ULONGLONG SeekToEnd() { return Seek(0, end); }
  /// The current position in bytes from the start; raises on failure, also
  /// when no file is open.
  virtual ULONGLONG GetPosition() const;
  /// The size in bytes; raises on failure, also when no file is open.
  virtual ULONGLONG GetLength() const;
  /// Cuts the file to `newLength` bytes or extends it with zero bytes; the
  /// position stays. Raises on failure, also when no file is open.
  virtual void SetLength(ULONGLONG newLength);

  /// The path as it was given to Open or SetFilePath; "" when none was.
  virtual CString GetFilePath() const { return m_strFileName; }
  /// The name after the last separator (backslash or slash; after "X:" when
  /// there is none).
  virtual CString GetFileName() const;
  /// GetFileName without its extension: the text before the last full stop,
  /// unless that stop is the name's first character.
  virtual CString GetFileTitle() const;
  /// Stores `newName` as the path (null gives ""); the open file, if any, is
  /// not touched.
  virtual void SetFilePath(const char* newName) { m_strFileName = newName; }

  /// The status of the open file; FALSE when no file is open or the query
  /// fails (`status` then holds only defaults). The full name is the stored
  /// path in absolute form.
  BOOL GetStatus(CFileStatus& status) const;
  /// The status of a file or folder by name; FALSE when it cannot be had
  /// (`status` then holds only defaults). Null counts as "".
  static BOOL GetStatus(const char* fileName, CFileStatus& status);

  /// The OS file descriptor, or hFileNull when no file is open.
  int m_hFile;

protected:
  /// TRUE when the destructor closes the file: set by Open, cleared by
  /// Close and Abort; FALSE for a wrapped descriptor.
  BOOL m_bCloseOnDelete;
  /// The stored path (GetFilePath).
  CString m_strFileName;
};
