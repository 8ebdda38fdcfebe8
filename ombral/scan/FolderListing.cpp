// CFolderListing: the folder search and one status query per matching file.
#include "FolderListing.h"

#include "platform/FileFind.h"

bool CFolderListing::Read(const CString& folder, const std::function<bool(const char*)>& matches, bool keepNames) {
  m_folder = folder;
  m_files.clear();
  m_bytes = 0;
  m_fileNames.clear();
  m_folderNames.clear();
  CFileFind finder;
  if (!finder.FindFile(folder + "\\*.*")) return false;
  BOOL more = TRUE;
  while (more) {
    more = finder.FindNextFile();
    if (finder.IsDots()) continue;
    const CString name = finder.GetFileName();
    if (finder.IsDirectory()) {
      if (keepNames) m_folderNames.insert(name.GetString());
      continue;
    }
    if (keepNames) m_fileNames.insert(name.GetString());
    if (!matches(name)) continue;
    ListedFile file;
    file.name = name;
    platform::FileStat stat;
    if (finder.GetFileStat(stat)) {
      file.size = stat.size;
      file.modifyTime = stat.modifyTime;
    }
    m_bytes += file.size;
    m_files.push_back(std::move(file));
  }
  if (!keepNames)
    for (const ListedFile& file : m_files) m_fileNames.insert(file.name.GetString());
  return true;
}

bool CFolderListing::HasFile(const std::string& name) const { return m_fileNames.count(name) != 0; }
