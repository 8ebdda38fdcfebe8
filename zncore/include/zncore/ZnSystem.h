/// @file
/// CZnSystem: small system functions without state.
#pragma once

#include "platform/Object.h"
#include "platform/String.h"

/// Small system functions without state: the operating-system family, drive
/// letters and numbers, volume label and disk space, INI values with a
/// default, a pick between two texts, and numbered file names that are not
/// taken yet. FileExist and EnsurePath are CZnFile's, exported here too.
///
/// Drive numbers count from 1 (A = 1). Disk sizes are computed in 64 bits
/// (unsigned long), so disks of 4 GB and more report their real sizes. A
/// drive root is given as `X:\` (or `X:`, `X:/`); null means the current
/// drive.
/// @ingroup zncore_system
class CZnSystem : public CObject {
public:
  /// An object; it holds no state.
  CZnSystem() = default;
  /// Nothing to free.
  ~CZnSystem() override = default;

  /// 1 when the environment variable PROCESSOR_LEVEL is set (any value),
  /// else 0.
  int IsNT();
  /// x when a equals b, else y.
  char* ReturnOnTrue(int a, int b, char* x, char* y);

  /// The drive number of the first character: a..z give 1..26; the other
  /// accepted characters (! # $ % & ' ( ) * , - . 0-9 @ A-Z { } DEL _ : \\ ?)
  /// give their code minus 64 (A = 1, @ = 0, 9 = -7, { = 59). Anything else,
  /// an empty text and null give -1.
  int ConvertCharDrive(char* text);
  /// Writes the text of a drive number into `buffer`. The text is the
  /// character of code drive + 64 followed by ":" (withMask 0) or by `:\*.*`
  /// (7 bytes suffice); a drive number whose character has code 0 writes "".
  /// Returns the buffer (null stays null).
  char* ConvertIntDrive(int drive, int withMask, char* buffer);

  /// The volume label of the drive of `root` into `buffer` (260 bytes, the
  /// label cut to 259); "" when it cannot be read. Returns the buffer (null
  /// stays null).
  const char* GetDiskVolume(const char* root, char* buffer);
  /// Total, free and used bytes of the drive (bytes per cluster times
  /// clusters; free is what an unprivileged user may still use, used is
  /// total minus free); each pointer may be null. 1, or 0 with nothing
  /// written when the drive's file system cannot be asked.
  int GetDiskInfo(const char* root, unsigned long* total, unsigned long* free, unsigned long* used);
  /// The total bytes of GetDiskInfo; 0 on failure.
  unsigned long GetDiskSize(const char* root);
  /// The free bytes of GetDiskInfo; 0 on failure.
  unsigned long GetDiskFree(const char* root);
  /// The used bytes of GetDiskInfo; 0 on failure.
  unsigned long GetDiskUsed(const char* root);

  /// The value of `key` in `section` of the INI `file` into `buffer` (at most
  /// `size` bytes with the terminator). The default (null: "") stands in for a
  /// missing key or file, an empty value and the value "_"; then the result
  /// is 0, else the length of the value copied. A null buffer or a size of 0
  /// gives 0 with nothing written.
  unsigned long ReadPrivateProfileString(const char* section, const char* key, const char* defaultValue,
                                         char* buffer, unsigned long size, const char* file);

  /// As CZnFile::FileExist.
  int FileExist(CString file, CString path);
  /// As CZnFile::EnsurePath.
  int EnsurePath(const char* path, int namesFile, int create);

  /// Finds the first numbered file name that is not taken yet. The name is
  /// `<directory>\NNNNNNN.<extension>` (seven digits) for the numbers 0 to
  /// 9,999,997, written into `result` as the full path (fullPath non-zero) or
  /// the bare name. Trailing backslashes of the directory, and
  /// leading dots and whitespace of the extension, are removed in the
  /// caller's buffers. 1 when found; 0 with
  /// "all names (00000000.xxx->99999999.x) used" in `result`. A name that a
  /// file or folder takes, or that wildcards in the extension match, is
  /// taken. The result is cut to 1,023 bytes with its terminator. A null
  /// argument gives 0 with nothing written.
  int GetUnusedFileName(char* directory, char* extension, char* result, int fullPath);
  /// The same for `<directory>\<title>.NNN`, numbers 0 to 997: the name is
  /// cut to its file title in the caller's buffer (leading backslashes and
  /// whitespace, trailing dots, folder and extension go). 0 with
  /// "all names (*.000->*.999) used".
  int GetUnusedFileNameSuffix(char* directory, char* name, char* result, int fullPath);

  /// Reserved: does nothing and returns 1.
  int ChDir(char*) { return 1; }
  /// Reserved: does nothing and returns 1.
  int SetDayPath(const char*) { return 1; }
};
