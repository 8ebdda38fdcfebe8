/// @file
/// CFileFind: searches a folder for the entries that match a file pattern.
///
///   CFileFind finder;
///   BOOL more = finder.FindFile("T:\\Pics\\*.*");
///   while (more) {
///     more = finder.FindNextFile();   // steps to the next entry first
///     ... finder.GetFileName() ...    // then use it, also when `more` is 0
///   }
///
/// FindNextFile reports whether another entry follows the one it steps to, so
/// the last entry is processed after a FALSE answer. The entries come in a
/// fixed order: "." and ".." first (never at the root of a drive), then the
/// others sorted by their upper-cased names, ties by their bytes. Patterns
/// match without regard to case (see Wildcard.h); a name without wildcards is
/// looked up exactly. A symbolic link is reported as what it points to.
#pragma once

#include <memory>

#include "platform/FileSystem.h"
#include "platform/Object.h"
#include "platform/String.h"
#include "platform/WinTypes.h"

class CFileFind : public CObject {
public:
  CFileFind();
  ~CFileFind() override;
  CFileFind(const CFileFind&) = delete;
  CFileFind& operator=(const CFileFind&) = delete;

  /// Starts a search; null means "*.*" in the current directory. TRUE when
  /// at least one entry matches. Ends any search still running.
  virtual BOOL FindFile(const char* pattern = nullptr, DWORD unused = 0);
  /// Steps to the next entry; TRUE when yet another one follows it.
  virtual BOOL FindNextFile();
  /// Ends the search (also done by the destructor).
  void Close();

  /// The current entry. Before the first FindNextFile, or without a search,
  /// the texts are empty and the tests answer FALSE.
  virtual CString GetFileName() const;   ///< name with extension
  /// The folder searched, in absolute form (see platform::MakeAbsolute: an
  /// absolute folder keeps the caller's spelling), a backslash, the name.
  virtual CString GetFilePath() const;
  virtual CString GetFileTitle() const;  ///< name without its extension
  virtual CString GetFileURL() const;    // "file://" and the path with slashes
  virtual CString GetRoot() const;       ///< the folder searched, ending in a backslash
  ULONGLONG GetLength() const;           ///< size in bytes; 0 for a folder
  /// TRUE when the entry has any of the FILE_ATTRIBUTE_* bits in `mask`.
  virtual BOOL MatchesMask(DWORD mask) const;
  virtual BOOL IsDots() const;           // "." or ".."
  BOOL IsDirectory() const { return MatchesMask(FILE_ATTRIBUTE_DIRECTORY); }
  BOOL IsReadOnly() const { return MatchesMask(FILE_ATTRIBUTE_READONLY); }
  BOOL IsHidden() const { return MatchesMask(FILE_ATTRIBUTE_HIDDEN); }

  /// Port extensions: the full status and the identity (device, inode) of the
  /// current entry; false when there is none or it vanished.
  bool GetFileStat(platform::FileStat& stat) const;
  bool GetFileIdentity(platform::FileIdentity& identity) const;

protected:
  virtual void CloseContext();

private:
  struct Impl;
  std::unique_ptr<Impl> m_impl;
};
