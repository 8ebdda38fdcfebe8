/// @file
/// CFileFind: searches a folder for the entries that match a file pattern.
#pragma once

#include <memory>

#include "platform/FileSystem.h"
#include "platform/Object.h"
#include "platform/String.h"
#include "platform/WinTypes.h"

/// Searches a folder for the entries that match a file pattern.
///
/// @code
///   CFileFind finder;
///   BOOL more = finder.FindFile("T:\\Pics\\*.*");
///   while (more) {
///     more = finder.FindNextFile();   // steps to the next entry first
///     ... finder.GetFileName() ...    // then use it, also when `more` is 0
///   }
/// @endcode
///
/// FindNextFile reports whether another entry follows the one it steps to, so
/// the last entry is processed after a FALSE answer. The entries come in a
/// fixed order: "." and ".." first (never at the root of a drive), then the
/// others sorted by their upper-cased names, ties by their bytes. Patterns
/// match without regard to case (see Wildcard.h); a name without wildcards is
/// looked up exactly. A symbolic link is reported as what it points to.
///
/// The queries on the current entry never raise. Before the first
/// FindNextFile, after FindNextFile has stepped past the last entry, and
/// without a search, the texts are empty, the numbers 0 and the tests FALSE.
///
/// CFileFind belongs to the platform layer (`platform_core`); ZnCore's
/// CZnFileFind derives from it.
/// @ingroup platform_base
class CFileFind : public CObject {
public:
  /// A finder without a search.
  CFileFind();
  /// Ends the search, as Close does.
  ~CFileFind() override;
  /// Not copyable: a search belongs to one finder.
  CFileFind(const CFileFind&) = delete;
  /// Not copyable: a search belongs to one finder.
  CFileFind& operator=(const CFileFind&) = delete;

  /// Starts a search; null means "*.*" in the current directory. TRUE when
  /// at least one entry matches. Ends any search still running, also when it
  /// answers FALSE: for a pattern that ends in a separator (no name part), a
  /// folder that cannot be read or lies on a drive letter that is not
  /// mapped, and when nothing matches.
  /// The second argument is not used.
  virtual BOOL FindFile(const char* pattern = nullptr, DWORD unused = 0);
  /// Steps to the next entry; TRUE when yet another one follows it, FALSE
  /// at the last entry and without a search. Called again after the last
  /// entry, it steps past the end: the current entry is then none.
  virtual BOOL FindNextFile();
  /// Ends the search (also done by the destructor); the current entry is
  /// then none.
  void Close();

  /// The current entry's name with its extension.
  virtual CString GetFileName() const;
  /// The folder searched, in absolute form (see platform::MakeAbsolute: an
  /// absolute folder keeps the caller's spelling), a backslash, the name.
  virtual CString GetFilePath() const;
  /// The current entry's name without its extension (the text before the
  /// last full stop; a name that starts with its only full stop gives "").
  virtual CString GetFileTitle() const;
  /// "file://" and the path with slashes for separators ("file:///" when the
  /// path does not start with a slash, as "T:/a.jpg" does not).
  virtual CString GetFileURL() const;
  /// The folder searched, in absolute form, ending in a backslash; "" without
  /// a search. Unlike the other queries it needs no current entry.
  virtual CString GetRoot() const;
  /// The current entry's size in bytes; 0 for a folder and when its status
  /// cannot be read.
  ULONGLONG GetLength() const;
  /// TRUE when the current entry has any of the FILE_ATTRIBUTE_* bits in
  /// `mask`. A folder has FILE_ATTRIBUTE_DIRECTORY, anything else
  /// FILE_ATTRIBUTE_ARCHIVE; a file nobody may write has
  /// FILE_ATTRIBUTE_READONLY; a name that starts with a full stop (other
  /// than "." and "..") has FILE_ATTRIBUTE_HIDDEN; an entry whose status
  /// cannot be read and that is not hidden has FILE_ATTRIBUTE_NORMAL only.
  virtual BOOL MatchesMask(DWORD mask) const;
  /// TRUE when the current entry is "." or "..".
  virtual BOOL IsDots() const;
  /// TRUE when the current entry is a folder (or a link to one).
  BOOL IsDirectory() const { return MatchesMask(FILE_ATTRIBUTE_DIRECTORY); }
  /// TRUE when nobody may write the current entry.
  BOOL IsReadOnly() const { return MatchesMask(FILE_ATTRIBUTE_READONLY); }
  /// TRUE when the current entry's name starts with a full stop and is not
  /// "." or "..".
  BOOL IsHidden() const { return MatchesMask(FILE_ATTRIBUTE_HIDDEN); }

  /// Port extension: the full status of the current entry; false, and
  /// `stat` unchanged, when there is none or it vanished.
  bool GetFileStat(platform::FileStat& stat) const;
  /// Port extension: the identity (device, inode) of the current entry;
  /// false, and `identity` unchanged, when there is none or it vanished.
  bool GetFileIdentity(platform::FileIdentity& identity) const;

protected:
  /// Ends the search; Close calls it. A derived class that keeps state of its
  /// own per search overrides it and calls the base.
  virtual void CloseContext();

private:
  struct Impl;
  std::unique_ptr<Impl> m_impl;
};
