// CFolderListing: one look at a folder, shared by everything the scan does
// with it.
//
// The folder is searched once; each matching file is looked at once (its
// size and time come from the same status query), and the page's statistics,
// its entries, the previews and the stale-file checks all read from here.
#pragma once

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "platform/String.h"

struct ListedFile {
  CString name;                 // name with extension, no folder
  std::uint64_t size = 0;       // 0 when the file vanished before it was looked at
  std::int64_t modifyTime = 0;  // seconds since 1970; 0 when unknown
};

class CFolderListing {
public:
  // Searches "folder\*.*" and keeps the files for which `matches` is true,
  // in the search's order. False when the search finds nothing at all (the
  // folder is gone or cannot be read). `keepNames` also keeps the names of
  // all other entries, for the checks of stale files.
  bool Read(const CString& folder, const std::function<bool(const char*)>& matches, bool keepNames);

  const CString& Folder() const { return m_folder; }
  const std::vector<ListedFile>& Files() const { return m_files; }
  std::uint64_t Bytes() const { return m_bytes; }
  // Whether the folder holds a file (not a folder) of that name; with
  // keepNames, any file counts, else only the matching ones.
  bool HasFile(const std::string& name) const;
  // Whether the folder holds a folder of that name (with keepNames).
  bool HasFolder(const std::string& name) const { return m_folderNames.count(name) != 0; }

private:
  CString m_folder;
  std::vector<ListedFile> m_files;
  std::uint64_t m_bytes = 0;
  std::set<std::string> m_fileNames;
  std::set<std::string> m_folderNames;
};
