/// @file
/// CZnFile: the platform file with a record of the last file error, a sticky
/// end-of-file flag, queries that never raise, the MD5 digest members and a
/// set of path and file utilities.
///
/// Error rule: the platform file raises CFileException (by value, caught by
/// reference). The wrapping members record its cause, OS error code, file
/// name and a fixed operation name ("Read", "Write", "GetFileSize") in the
/// object, then pass the error on (Read, Write) or turn it into an error
/// value (GetFileSize). Each recorded error replaces the whole record; a
/// success does not clear it.
///
/// Sizes are 64-bit in the port; 0xFFFFFFFF still means "unknown".
#pragma once

#include <cstdint>

#include "platform/File.h"
#include "platform/String.h"
#include "platform/Time.h"
#include "zncore/ZnString.h"

/// The state of a digest in progress, owned by the caller.
struct MD5Context {
  unsigned int state[4];     ///< chaining values A, B, C, D
  unsigned int bitCount[2];  ///< bits fed so far, modulo 2^64: low word, high word
  unsigned char block[64];   ///< the input block being filled
};

class CZnFile : public CFile {
public:
  /// Fixed result of the size queries when the size cannot be had.
  static constexpr unsigned long kUnknownSize = 0xFFFFFFFFul;

  // --- Construction: every form starts with an empty record, Eof 0 ----------
  CZnFile();
  /// Wraps an open OS file descriptor (left open by the destructor).
  explicit CZnFile(int hFile);
  /// Opens nothing: stores the name as the object's path for a later Read or
  /// Write with a null name, and for IsReadable / IsWriteable.
  explicit CZnFile(const char* fileName);
  /// Opens the file; the file error passes to the caller, nothing is recorded.
  CZnFile(const char* fileName, UINT openFlags);
  ~CZnFile() override;

  // --- Error record ----------------------------------------------------------------
  /// Sets cause, OS error code, file name and operation name. Texts longer
  /// than 259 bytes are cut (never inside a UTF-8 character); null is "".
  void Init(int cause, long osError, const char* fileName, const char* method);
  int GetLastErrorCause() const { return m_nLastErrorCause; }
  long GetLastErrorCode() const { return m_lLastErrorCode; }
  const char* GetLastErrorFile() const { return m_szLastErrorFile; }
  const char* GetLastErrorMethod() const { return m_szLastErrorMethod; }
  const char* GetLastErrorCauseStr() const { return GetErrorCauseMeaning(m_nLastErrorCause); }
  /// The system's text for the thread's current last OS error (not the
  /// recorded code), at most 499 bytes; "" when the system has none. Call it
  /// right after the failure, before other calls change that error.
  const char* GetLastErrorCodeStr();
  /// "CFileException::<name> - <meaning>" for causes 0..14, else
  /// "unknown - Error status cannot be retrieved.".
  static const char* GetErrorCauseMeaning(int cause);

  // --- Reading and writing ------------------------------------------------------
  /// The platform's Read; records ("Read") and passes on a file error. A read
  /// that delivers fewer bytes than asked sets the end-of-file flag for good.
  UINT Read(void* buffer, UINT count) override;
  /// The platform's Write; records ("Write") and passes on a file error, also
  /// when called through a CFile reference.
  void Write(const void* buffer, UINT count) override;
  /// With no file open: opens `fileName` (null: the stored path) with
  /// `openFlags`, reads, closes. The result of that open is not checked: a
  /// failed open shows as a read error on the unopened file. A file opened
  /// here stays open when the read fails.
  UINT Read(void* buffer, UINT count, const char* fileName, UINT openFlags);
  /// The same for writing, except that a failed open returns at once:
  /// nothing written, recorded or raised.
  void Write(const void* buffer, UINT count, const char* fileName, UINT openFlags);

  // --- Queries (none raises) ------------------------------------------------------
  int IsOpen() const { return m_hFile != hFileNull ? 1 : 0; }
  int IsEof() const { return m_bEof; }
  int Eof() const { return m_bEof; }
  /// 1 when the stored path may be written (read): the file needn't be open.
  int IsWriteable() const;
  int CanWrite() const { return IsWriteable(); }
  int CanAppend() const { return IsWriteable(); }
  int CanUpdate() const { return IsWriteable(); }
  int IsReadable() const;
  int CanRead() const { return IsReadable(); }
  /// Size of the open file; on a file error records "GetFileSize" and gives
  /// kUnknownSize (also when no file is open).
  unsigned long GetFileSize();
  unsigned long GetSize() { return GetFileSize(); }
  using CFile::GetLength;
  unsigned long GetLength() { return GetFileSize(); }
  /// Size of the named file by a status query; kUnknownSize for a missing
  /// file, a folder or a path that cannot be searched. Touches neither this
  /// object's file nor its record.
  static unsigned long GetFileSize(const char* fileName);
  static unsigned long GetSize(const char* fileName) { return GetFileSize(fileName); }
  static unsigned long GetLength(const char* fileName) { return GetFileSize(fileName); }

  // --- MD5 digest (RFC 1321); the object only serves as a namespace ----------
  static void MD5Init(MD5Context* context);
  /// Feeds `length` bytes (0 changes nothing).
  static void MD5Update(MD5Context* context, const unsigned char* data, unsigned int length);
  /// Writes the 16 digest bytes (state words, least significant byte first)
  /// and clears the whole context; MD5Init before it is used again.
  static void MD5Final(unsigned char digest[16], MD5Context* context);
  /// Reserved: returns 1, touches nothing.
  int GetMD5OnFile(unsigned char* buffer);
  /// Reserved: returns its third argument, touches nothing.
  char* GetMD5OnMessage(unsigned char* message, int length, unsigned char* buffer, int size);

  // --- Path and file utilities ----------------------------------------------------
  /// 1 when the file (joined to `path` unless the path is empty or the file
  /// holds a backslash or starts with "/") is found; folders count, and
  /// wildcards in the name act as wildcards.
  static int FileExist(CString file, CString path);
  /// Makes sure the folder of `path` exists (the path names a file when
  /// `namesFile` is non-zero), creating missing levels when `create` is
  /// non-zero. 1 when it exists or was created completely, else 0. Paths of
  /// any length; a path that starts with a separator keeps its root.
  static int EnsurePath(const char* path, int namesFile, int create);

  /// This file's times as "dd.mm.yyyy hh:mm:ss" (withDate) or "hh:mm:ss" in
  /// local time, into `buffer` (20 bytes); "" when the status cannot be had.
  char* GetCreationTime(char* buffer, int withDate);
  char* GetModificationTime(char* buffer, int withDate);
  char* GetReadTime(char* buffer, int withDate);
  /// The same as time values; 0 when the status cannot be had.
  CTime GetCreationTime();
  CTime GetModificationTime();
  CTime GetReadTime();
  /// 1, 0, -1 as this file's value is later (larger), equal, earlier
  /// (smaller) than the named file's; -2 when this file's status cannot be
  /// had, -3 when the named file's cannot.
  int CompareCreationTime(char* fileName);
  int CompareModificationTime(char* fileName);
  int CompareReadTime(char* fileName);
  int CompareSize(char* fileName);
  /// 1 when the drive named by the first character (either case) can be made
  /// the current drive; the current directory is left as it was.
  static int IsDriveAvailable(const char* text);
  /// A copy of `name` with each of ? * | < > " tab line-feed ' \ : / replaced
  /// by `replacement` (blanks, '#' and ';' stay). Null gives "".
  static CZnString ReplaceInvalidFilenameChars(const char* name, char replacement);

  // --- Reserved for later use: do nothing, return a constant -------------------
  int WipeOutFile(int, int) { return 1; }
  int ConnectFile(char*, int) { return 0; }
  int ConvertFile(char*, int) { return 0; }
  int DivideFile(char*, char*, int, int, char*, int) { return 0; }
  int ConvertMime64(char*, int, int, long) { return 0; }
  int ReplaceInFile(char*, char*, int, char*) { return 0; }
  int CatFile(char*, char*, int, int) { return 1; }
  int CopyFileA(const char*, int, int, int) { return 1; }
  int MakeFileGenerations(const char*, long, unsigned short, int) { return 1; }
  int SplitFile(char*, int, char*) { return 1; }
  int AppendData(const char*, void*, unsigned int) { return 1; }
  unsigned int FileRead(const char*, void*, unsigned int) { return 0; }
  unsigned int FileWrite(const char*, void*, unsigned int) { return 0; }
  long CompareFile(const char*, int, int) { return 0; }
  int ConvertHexalStandard(char*, int, long) { return 0; }
  int FindInFile(const char*, int, int) { return -1; }

protected:
  /// One 64-byte block, as 16 native words, folded into the chaining words.
  static void MD5Transform(unsigned int state[4], const unsigned int block[16]);
  /// Turns `groups` 4-byte little-endian groups into native 32-bit words.
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
