/// @file
/// CFile: unbuffered binary access to one file; CFileException: the error the
/// file family raises; CFileStatus: what a status query reports.
///
/// Errors: every failing operation of CFile raises a CFileException by value
/// (`throw CFileException(...)`); callers catch it by reference. It carries
/// the cause (the framework's cause table below), the OS error code (the
/// `errno` value) and the file name as the caller gave it. Nothing has to be
/// released: Delete() exists for callers written for the framework and does
/// nothing.
///
/// Paths are accepted in every spelling the drive table knows (see Drives.h).
#pragma once

#include <cstdint>
#include <exception>

#include "platform/Object.h"
#include "platform/String.h"
#include "platform/Time.h"
#include "platform/WinTypes.h"

class CFileException : public CObject, public std::exception {
public:
  /// The framework's cause table; GetErrorCauseMeaning texts elsewhere rely
  /// on these numbers.
  enum {
    none = 0,
    generic = 1,
    fileNotFound = 2,
    badPath = 3,
    tooManyOpenFiles = 4,
    accessDenied = 5,
    invalidFile = 6,
    removeCurrentDir = 7,
    directoryFull = 8,
    badSeek = 9,
    hardIO = 10,
    sharingViolation = 11,
    lockViolation = 12,
    diskFull = 13,
    endOfFile = 14,
  };

  explicit CFileException(int cause = none, long osError = -1, const char* fileName = nullptr);

  /// The cause for an `errno` value: ENOENT file not found; ENOTDIR,
  /// ENAMETOOLONG, ELOOP bad path; EACCES, EPERM, EISDIR, EROFS access denied;
  /// EMFILE, ENFILE too many open files; ENOSPC, EDQUOT disk full; EIO hard
  /// I/O; EBADF invalid file; ESPIPE bad seek; 0 none; anything else generic.
  static int OsErrorToException(long osError);
  /// Raises the error of an `errno` value for the file.
  [[noreturn]] static void ThrowOsError(long osError, const char* fileName = nullptr);

  /// Nothing to release: the error travels by value.
  void Delete() noexcept {}
  /// "CFileException::<cause name>", for reports of an error nobody caught.
  const char* what() const noexcept override;

  int m_cause;
  long m_lOsError;
  CString m_strFileName;
};

/// The status of a file or folder. On POSIX the creation time is the birth
/// time where the file system records it, else the last status change.
struct CFileStatus {
  CTime m_ctime;        ///< creation
  CTime m_mtime;        ///< last modification
  CTime m_atime;        ///< last access
  std::int64_t m_size = 0;  ///< bytes; 0 for a folder (64-bit in the port)
  BYTE m_attribute = 0;     ///< CFile::Attribute bits
  CString m_strFullName;    ///< the absolute path (any length in the port)
};

class CFile : public CObject {
public:
  /// Open flags. The sharing modes are accepted and ignored: POSIX has no
  /// mandatory sharing locks. A file is never inherited by started programs.
  enum OpenFlags : UINT {
    modeRead = 0x0000,
    modeWrite = 0x0001,
    modeReadWrite = 0x0002,
    shareCompat = 0x0000,
    shareExclusive = 0x0010,
    shareDenyWrite = 0x0020,
    shareDenyRead = 0x0030,
    shareDenyNone = 0x0040,
    modeNoInherit = 0x0080,
    modeCreate = 0x1000,    // create, or empty an existing file...
    modeNoTruncate = 0x2000,  // ...unless this is given too
    typeText = 0x4000,      // no text translation on POSIX: same as binary
    typeBinary = 0x8000,
  };
  enum Attribute : BYTE {
    normal = 0x00,
    readOnly = 0x01,
    hidden = 0x02,
    system = 0x04,
    volume = 0x08,
    directory = 0x10,
    archive = 0x20,
  };
  enum SeekPosition : UINT { begin = 0, current = 1, end = 2 };

  /// The handle of an object with no open file (all bits set).
  static constexpr int hFileNull = -1;

  CFile();
  /// Wraps an open OS file descriptor; the object does not close it when it
  /// is destroyed (Close() does).
  explicit CFile(int hFile);
  /// Opens the file; raises the file error when it cannot.
  CFile(const char* fileName, UINT openFlags);
  /// Closes a file the object opened; errors at that point are dropped.
  ~CFile() override;
  CFile(const CFile&) = delete;
  CFile& operator=(const CFile&) = delete;

  /// Opens and stores the path as given. FALSE on failure, with the error in
  /// `error` when it is not null; raises nothing. A folder is refused
  /// (access denied), as is an object that already has a file open.
  virtual BOOL Open(const char* fileName, UINT openFlags, CFileException* error = nullptr);
  /// Reads until `count` bytes are in or the file ends; returns the number
  /// read (fewer only at the end of the file). Raises on failure, also when
  /// no file is open.
  virtual UINT Read(void* buffer, UINT count);
  /// Writes all bytes or raises (a full disk gives diskFull).
  virtual void Write(const void* buffer, UINT count);
  /// Closes the file; the handle becomes hFileNull even when closing fails
  /// (then the error is raised). The path is kept.
  virtual void Close();
  /// Closes without raising.
  virtual void Abort();
  /// Writes the file's data through to the device.
  virtual void Flush();
  /// Moves the position; returns the new one. `from` is begin, current or end.
  virtual ULONGLONG Seek(std::int64_t offset, UINT from);
  void SeekToBegin() { Seek(0, begin); }
  ULONGLONG SeekToEnd() { return Seek(0, end); }
  virtual ULONGLONG GetPosition() const;
  /// The size in bytes; raises on failure, also when no file is open.
  virtual ULONGLONG GetLength() const;
  virtual void SetLength(ULONGLONG newLength);

  virtual CString GetFilePath() const { return m_strFileName; }
  /// The name after the last separator, and that name without its extension.
  virtual CString GetFileName() const;
  virtual CString GetFileTitle() const;
  virtual void SetFilePath(const char* newName) { m_strFileName = newName; }

  /// The status of the open file; FALSE when no file is open or the query
  /// fails. The full name is the stored path in absolute form.
  BOOL GetStatus(CFileStatus& status) const;
  /// The status of a file or folder by name; FALSE when it cannot be had.
  static BOOL GetStatus(const char* fileName, CFileStatus& status);

  int m_hFile;

protected:
  BOOL m_bCloseOnDelete;
  CString m_strFileName;
};
