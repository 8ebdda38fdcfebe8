/// @file
/// CZnFile: the platform file with an error record, MD5 digests and path and
/// file utilities; MD5Context: the state of a digest in progress.
#pragma once

#include <cstdint>

#include "platform/File.h"
#include "platform/String.h"
#include "platform/Time.h"
#include "zncore/ZnString.h"

/// The state of an MD5 digest in progress, owned by the caller: MD5Init
/// starts it, MD5Update feeds it, MD5Final ends and clears it.
/// @ingroup zncore_files
struct MD5Context {
  unsigned int state[4];     ///< chaining values A, B, C, D
  unsigned int bitCount[2];  ///< bits fed so far, modulo 2^64: low word, high word
  unsigned char block[64];   ///< the input block being filled
};

/// The platform file with a record of the last file error, a sticky
/// end-of-file flag, queries that never raise, the MD5 digest members and a
/// set of path and file utilities.
///
/// Error rule: the platform file raises CFileException (by value, caught by
/// reference). The wrapping members record its cause, OS error code, file
/// name and a fixed operation name ("Read", "Write", "GetFileSize") in the
/// object, then pass the error on (Read, Write) or turn it into an error
/// value (GetFileSize). Each recorded error replaces the whole record; a
/// success does not clear it. The other members inherited from CFile (Open,
/// Seek, Close, ...) behave as there and record nothing.
///
/// Sizes are 64-bit in the port; 0xFFFFFFFF still means "unknown".
/// @ingroup zncore_files
class CZnFile : public CFile {
public:
  /// Fixed result of the size queries when the size cannot be had.
  static constexpr unsigned long kUnknownSize = 0xFFFFFFFFul;

  /// @name Construction
  /// Every form starts with an empty record (cause 0, code 0, empty names)
  /// and the end-of-file flag 0.
  /// @{

  /// An object with no open file and an empty path.
  CZnFile();
  /// Wraps an open OS file descriptor (left open by the destructor).
  explicit CZnFile(int hFile);
  /// Opens nothing: stores the name as the object's path for a later Read or
  /// Write with a null name, and for IsReadable / IsWriteable.
  explicit CZnFile(const char* fileName);
  /// Opens the file; the file error passes to the caller, nothing is recorded.
  CZnFile(const char* fileName, UINT openFlags);
  /// Closes a file the object opened, as CFile's destructor does.
  ~CZnFile() override;
  /// @}

  /// @name Error record
  /// @{

  /// Sets cause, OS error code, file name and operation name. Texts longer
  /// than 259 bytes are cut (never inside a UTF-8 character); null is "".
  void Init(int cause, long osError, const char* fileName, const char* method);
  /// The recorded cause, a CFileException cause (0 when nothing was
  /// recorded).
  int GetLastErrorCause() const { return m_nLastErrorCause; }
  /// The recorded OS error code, an `errno` value (0 when nothing was
  /// recorded).
  long GetLastErrorCode() const { return m_lLastErrorCode; }
  /// The recorded file name ("" when nothing was recorded). The text lives
  /// in the object; the next record overwrites it.
  const char* GetLastErrorFile() const { return m_szLastErrorFile; }
  /// The recorded operation name: "Read", "Write", "GetFileSize", what Init
  /// was given, or "" when nothing was recorded.
  const char* GetLastErrorMethod() const { return m_szLastErrorMethod; }
  /// GetErrorCauseMeaning of the recorded cause.
  const char* GetLastErrorCauseStr() const { return GetErrorCauseMeaning(m_nLastErrorCause); }
  /// The system's text for the thread's current last OS error (not the
  /// recorded code), at most 499 bytes; "" when the system has none. Call it
  /// right after the failure, before other calls change that error. The text
  /// is kept in the object until the next call.
  const char* GetLastErrorCodeStr();
  /// "CFileException::<name> - <meaning>" for causes 0..14, else
  /// "unknown - Error status cannot be retrieved.". The text is static.
  static const char* GetErrorCauseMeaning(int cause);
  /// @}

  /// @name Reading and writing
  /// @{

  /// The platform's Read; records ("Read") and passes on a file error. A read
  /// that delivers fewer bytes than asked sets the end-of-file flag for good.
  UINT Read(void* buffer, UINT count) override;
  /// The platform's Write; records ("Write") and passes on a file error, also
  /// when called through a CFile reference.
  void Write(const void* buffer, UINT count) override;
  /// With no file open: opens `fileName` (null: the stored path) with
  /// `openFlags`, reads, closes. The result of that open is not checked: a
  /// failed open shows as a read error on the unopened file (invalid file,
  /// recorded as "Read" and passed on). A file opened here stays open when
  /// the read fails. With a file open it reads from that file and leaves it
  /// open; name and flags are not used. Sets the end-of-file flag as Read
  /// does; returns the number of bytes read.
  UINT Read(void* buffer, UINT count, const char* fileName, UINT openFlags);
  /// The same for writing, except that a failed open returns at once:
  /// nothing written, recorded or raised.
  void Write(const void* buffer, UINT count, const char* fileName, UINT openFlags);
  /// @}

  /// @name Queries
  /// None of them raises.
  /// @{

  /// 1 when a file is open, else 0.
  int IsOpen() const { return m_hFile != hFileNull ? 1 : 0; }
  /// 1 once a read delivered fewer bytes than asked, else 0. Nothing resets
  /// it, not even Close or Open.
  int IsEof() const { return m_bEof; }
  /// The same as IsEof.
  int Eof() const { return m_bEof; }
  /// 1 when the stored path exists and the process may write it; the file
  /// needn't be open. 0 otherwise.
  int IsWriteable() const;
  /// The same as IsWriteable.
  int CanWrite() const { return IsWriteable(); }
  /// The same as IsWriteable.
  int CanAppend() const { return IsWriteable(); }
  /// The same as IsWriteable.
  int CanUpdate() const { return IsWriteable(); }
  /// 1 when the stored path exists and the process may read it; the file
  /// needn't be open. 0 otherwise.
  int IsReadable() const;
  /// The same as IsReadable.
  int CanRead() const { return IsReadable(); }
  /// Size of the open file; on a file error records "GetFileSize" and gives
  /// kUnknownSize (also when no file is open).
  unsigned long GetFileSize();
  /// The same as GetFileSize().
  unsigned long GetSize() { return GetFileSize(); }
  /// The platform's GetLength, which raises; a const object reaches it.
  using CFile::GetLength;
  /// The same as GetFileSize(): never raises. Called on a const object, the
  /// platform's GetLength is chosen instead.
  unsigned long GetLength() { return GetFileSize(); }
  /// Size of the named file by a status query; kUnknownSize for a missing
  /// file, a folder, a null name or a path that cannot be searched. Touches
  /// neither this object's file nor its record.
  static unsigned long GetFileSize(const char* fileName);
  /// The same as GetFileSize(fileName).
  static unsigned long GetSize(const char* fileName) { return GetFileSize(fileName); }
  /// The same as GetFileSize(fileName).
  static unsigned long GetLength(const char* fileName) { return GetFileSize(fileName); }
  /// @}

  /// @name MD5 digest
  /// RFC 1321. The object only serves as a namespace. A null context makes
  /// each of these members do nothing.
  /// @{

  /// Starts a digest in `context`.
  static void MD5Init(MD5Context* context);
  /// Feeds `length` bytes (0, or null data, changes nothing).
  static void MD5Update(MD5Context* context, const unsigned char* data, unsigned int length);
  /// Writes the 16 digest bytes (state words, least significant byte first;
  /// nothing for a null `digest`) and clears the whole context; MD5Init
  /// before it is used again.
  static void MD5Final(unsigned char digest[16], MD5Context* context);
  /// Reserved: returns 1, touches nothing.
  int GetMD5OnFile(unsigned char* buffer);
  /// Reserved: returns its third argument, touches nothing.
  char* GetMD5OnMessage(unsigned char* message, int length, unsigned char* buffer, int size);
  /// @}

  /// @name Path and file utilities
  /// @{

  /// 1 when the file (joined to `path` unless the path is empty or the file
  /// holds a backslash or starts with "/") is found; folders count, and
  /// wildcards in the name act as wildcards. A name that ends in a separator
  /// is never found.
  static int FileExist(CString file, CString path);
  /// Makes sure the folder of `path` exists (the path names a file when
  /// `namesFile` is non-zero), creating missing levels when `create` is
  /// non-zero. 1 when it exists or was created completely, else 0 (also for
  /// null). Paths of any length; a path that starts with a separator keeps
  /// its root, and a root (a drive, a share) is never created.
  static int EnsurePath(const char* path, int namesFile, int create);

  /// The creation time of the open file as "dd.mm.yyyy hh:mm:ss" (withDate)
  /// or "hh:mm:ss" in local time, into `buffer` (20 bytes); "" when no file
  /// is open or its status cannot be had. Returns `buffer` (null stays
  /// null).
  char* GetCreationTime(char* buffer, int withDate);
  /// The same for the last modification time.
  char* GetModificationTime(char* buffer, int withDate);
  /// The same for the last access time.
  char* GetReadTime(char* buffer, int withDate);
  /// The creation time of the open file; 0 when no file is open or its
  /// status cannot be had.
  CTime GetCreationTime();
  /// The same for the last modification time.
  CTime GetModificationTime();
  /// The same for the last access time.
  CTime GetReadTime();
  /// 1, 0, -1 as the open file's creation time is later (larger), equal,
  /// earlier (smaller) than the named file's; -2 when no file is open or its
  /// status cannot be had, -3 when the named file's cannot (null too).
  int CompareCreationTime(char* fileName);
  /// The same for the last modification time.
  int CompareModificationTime(char* fileName);
  /// The same for the last access time.
  int CompareReadTime(char* fileName);
  /// The same for the size in bytes.
  int CompareSize(char* fileName);
  /// 1 when the drive named by the first character (either case) can be made
  /// the current drive; the current directory is left as it was. 0 for an
  /// empty or null text and a letter that names no mapped drive.
  static int IsDriveAvailable(const char* text);
  /// A copy of `name` with each of ? * | < > " tab line-feed ' `\ : /`
  /// replaced by `replacement` (blanks, '#' and ';' stay). Null gives "".
  static CZnString ReplaceInvalidFilenameChars(const char* name, char replacement);
  /// @}

  /// @name Reserved for later use
  /// Each does nothing and returns the constant it names.
  /// @{

  /// Reserved: returns 1.
  int WipeOutFile(int, int) { return 1; }
  /// Reserved: returns 0.
  int ConnectFile(char*, int) { return 0; }
  /// Reserved: returns 0.
  int ConvertFile(char*, int) { return 0; }
  /// Reserved: returns 0.
  int DivideFile(char*, char*, int, int, char*, int) { return 0; }
  /// Reserved: returns 0.
  int ConvertMime64(char*, int, int, long) { return 0; }
  /// Reserved: returns 0.
  int ReplaceInFile(char*, char*, int, char*) { return 0; }
  /// Reserved: returns 1.
  int CatFile(char*, char*, int, int) { return 1; }
  /// Reserved: returns 1; copies nothing.
  int CopyFileA(const char*, int, int, int) { return 1; }
  /// Reserved: returns 1.
  int MakeFileGenerations(const char*, long, unsigned short, int) { return 1; }
  /// Reserved: returns 1.
  int SplitFile(char*, int, char*) { return 1; }
  /// Reserved: returns 1; appends nothing.
  int AppendData(const char*, void*, unsigned int) { return 1; }
  /// Reserved: returns 0; reads nothing.
  unsigned int FileRead(const char*, void*, unsigned int) { return 0; }
  /// Reserved: returns 0; writes nothing.
  unsigned int FileWrite(const char*, void*, unsigned int) { return 0; }
  /// Reserved: returns 0.
  long CompareFile(const char*, int, int) { return 0; }
  /// Reserved: returns 0.
  int ConvertHexalStandard(char*, int, long) { return 0; }
  /// Reserved: returns -1.
  int FindInFile(const char*, int, int) { return -1; }
  /// @}

protected:
  /// One 64-byte block, as 16 native words, folded into the chaining words.
  static void MD5Transform(unsigned int state[4], const unsigned int block[16]);
  /// Turns `groups` 4-byte little-endian groups into native 32-bit words, in
  /// place (nothing changes on a little-endian machine).
  static void ByteReverse(unsigned char* bytes, unsigned int groups);

private:
  void Record(const CFileException& error, const char* method);
  /// The time of this file's status chosen by `pick`; false when unavailable.
  template <typename Pick>
  bool StatusTime(Pick pick, CTime& time) const;
  template <typename Pick>
  int CompareStatus(const char* fileName, Pick pick) const;

  int m_nLastErrorCause;
  long m_lLastErrorCode;
  char m_szLastErrorText[500];
  char m_szLastErrorFile[260];
  char m_szLastErrorMethod[260];
  int m_bEof;
};
