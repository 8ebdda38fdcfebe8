// CFolderListing: one look at a folder, shared by everything the scan does
// with it.
//
// The folder is read once through its open handle; each matching file is
// looked at once, without following its name unless it is a link (a link
// to a file the caller allows to be looked through is listed with its
// target's size, as it always was; any other link, like one that leads
// nowhere, with size 0; a pipe, socket or device with its own). The page's
// statistics, its entries, the previews and the stale-file checks all read
// from here.
#pragma once

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "platform/FolderHandle.h"
#include "platform/String.h"

struct ListedFile {
  CString name;                 // name with extension, no folder
  std::uint64_t size = 0;       // 0 when the file vanished before it was looked at
  platform::EntryInfo info;     // its own status (the target's for a link to a file)
  bool plain = false;           // a regular file reached without a link: the only kind read
};

class CFolderListing {
public:
  // What the listing passed over, for the protocol.
  struct Notice {
    enum class Kind { Backslash, Leftover } kind;
    std::string name;
  };

  struct Rules {
    std::function<bool(const char*)> matches;  // the filter
    bool keepNames = false;                    // keep the names of all entries (stale checks)
    bool removeLeftovers = false;              // remove temporary files an interrupted run left
    std::set<std::string> hidden;              // names of the scan's own files, never listed
    std::function<bool(const std::string&)> hiddenIf;  // and those of its numbered files; unset: none
    // Looks at what a link leads to; fails for a link that may not be
    // looked through. Unset: every link is followed.
    std::function<platform::FsStatus(const std::string& name, platform::EntryInfo& target)> lookThrough;
  };

  // Reads the folder and keeps the files for which `matches` is true, in
  // the order of a folder search (by upper-cased name, ties by bytes).
  // Fails when the folder cannot be read.
  platform::FsStatus Read(const platform::FolderHandle& folder, const Rules& rules);

  const std::vector<ListedFile>& Files() const { return m_files; }
  std::uint64_t Bytes() const { return m_bytes; }
  const std::vector<Notice>& Notices() const { return m_notices; }
  // Whether the folder holds a file (not a folder) of that name; with
  // keepNames, any file counts, else only the matching ones.
  bool HasFile(const std::string& name) const { return m_fileNames.count(name) != 0; }
  // Whether the folder holds a folder of that name (with keepNames).
  bool HasFolder(const std::string& name) const { return m_folderNames.count(name) != 0; }

private:
  std::vector<ListedFile> m_files;
  std::uint64_t m_bytes = 0;
  std::set<std::string> m_fileNames;
  std::set<std::string> m_folderNames;
  std::vector<Notice> m_notices;
};
