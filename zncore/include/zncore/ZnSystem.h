/// @file
/// CZnSystem: small system functions without state: the operating-system
/// family, drive letters and numbers, volume label and disk space, INI values
/// with a default, a pick between two texts, and numbered file names that are
/// not taken yet. FileExist and EnsurePath are CZnFile's, exported here too.
///
/// Drive numbers count from 1 (A = 1). Disk sizes are computed in 64 bits
/// (unsigned long), so disks of 4 GB and more report their real sizes.
#pragma once

#include "platform/Object.h"
#include "platform/String.h"

class CZnSystem : public CObject {
public:
  CZnSystem() = default;
  ~CZnSystem() override = default;

  /// 1 when the environment variable PROCESSOR_LEVEL is set (any value).
  int IsNT();
  /// x when a equals b, else y.
  char* ReturnOnTrue(int a, int b, char* x, char* y);

  /// The drive number of the first character: a..z give 1..26; the other
  /// accepted characters (! # $ % & ' ( ) * , - . 0-9 @ A-Z { } DEL _ : \ ?)
  /// give their code minus 64 (A = 1, @ = 0, 9 = -7, { = 59). Anything else,
  /// an empty text and null give -1.
  int ConvertCharDrive(char* text);
  /// The character of code drive + 64 followed by ":" (withMask 0) or by
  /// ":\*.*" into `buffer` (7 bytes suffice); returns the buffer.
  char* ConvertIntDrive(int drive, int withMask, char* buffer);

  /// The volume label of the drive of `root` into `buffer` (260 bytes, the
  /// label cut to 259); "" when it cannot be read. Returns the buffer.
  const char* GetDiskVolume(const char* root, char* buffer);
  /// Total, free and used bytes of the drive (bytes per cluster times
  /// clusters); each pointer may be null. 1, or 0 with nothing written.
  int GetDiskInfo(const char* root, unsigned long* total, unsigned long* free, unsigned long* used);
  /// One value of GetDiskInfo; 0 on failure.
  unsigned long GetDiskSize(const char* root);
  unsigned long GetDiskFree(const char* root);
  unsigned long GetDiskUsed(const char* root);

  /// The value of `key` in `section` of the INI `file` into `buffer` (at most
  /// `size` bytes with the terminator). The default (null: "") stands in for a
  /// missing key or file, an empty value and the value "_"; then the result
  /// is 0, else the length of the value copied.
  unsigned long ReadPrivateProfileString(const char* section, const char* key, const char* defaultValue,
                                         char* buffer, unsigned long size, const char* file);

  /// As CZnFile::FileExist and CZnFile::EnsurePath.
  int FileExist(CString file, CString path);
  int EnsurePath(const char* path, int namesFile, int create);

  /// The first free name "<directory>\NNNNNNN.<extension>" for the numbers 0
  /// to 9,999,997 into `result`: the full path (fullPath non-zero) or the bare
  /// name. Trailing backslashes of the directory and leading dots of the
  /// extension are removed in the caller's buffers. 1 when found; 0 with
  /// "all names (00000000.xxx->99999999.x) used" in `result`. A name that a
  /// file or folder takes, or that wildcards in the extension match, is
  /// taken. The result is cut to 1,023 bytes with its terminator.
  int GetUnusedFileName(char* directory, char* extension, char* result, int fullPath);
  /// The same for "<directory>\<title>.NNN", numbers 0 to 997: the name is cut
  /// to its file title in the caller's buffer (leading backslashes, trailing
  /// dots, folder and extension go). 0 with "all names (*.000->*.999) used".
  int GetUnusedFileNameSuffix(char* directory, char* name, char* result, int fullPath);

  /// Reserved: do nothing, return 1.
  int ChDir(char*) { return 1; }
  int SetDayPath(const char*) { return 1; }
};
