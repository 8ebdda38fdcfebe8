// CFolderListing: the names of a folder and one status query per matching
// file, through the folder's handle.
#include "walk/FolderListing.h"

#include <algorithm>

#include "platform/Crt.h"
#include "platform/ReplacingFile.h"

namespace {

using platform::EntryKind;

struct Named {
  platform::FolderName entry;
  std::string key;  // upper-cased name
};

}  // namespace

platform::FsStatus CFolderListing::Read(const platform::FolderHandle& folder, const Rules& rules) {
  m_files.clear();
  m_bytes = 0;
  m_fileNames.clear();
  m_folderNames.clear();
  m_notices.clear();
  std::vector<platform::FolderName> names;
  if (const platform::FsStatus listed = folder.List(names); listed.Failed()) return listed;
  std::vector<Named> sorted;
  sorted.reserve(names.size());
  for (platform::FolderName& entry : names) {
    Named named{std::move(entry), {}};
    named.key = named.entry.name;
    platform::AsciiUpper(named.key);
    sorted.push_back(std::move(named));
  }
  std::sort(sorted.begin(), sorted.end(), [](const Named& a, const Named& b) {
    if (const int c = a.key.compare(b.key); c != 0) return c < 0;
    return a.entry.name < b.entry.name;
  });

  for (const Named& named : sorted) {
    const std::string& name = named.entry.name;
    EntryKind kind = named.entry.kind;
    // The scan's own temporary files: an interrupted run's go, and none is
    // ever listed.
    if (platform::ReplacingFile::IsTemporaryName(name)) {
      if (rules.removeLeftovers && platform::ReplacingFile::RemoveLeftover(folder, name))
        m_notices.push_back({Notice::Kind::Leftover, name});
      continue;
    }
    if (rules.hidden.count(name) || (rules.hiddenIf && rules.hiddenIf(name))) continue;
    if (kind == EntryKind::Folder) {
      if (rules.keepNames) m_folderNames.insert(name);
      continue;
    }
    const bool matches = rules.matches(name.c_str());
    if (!matches && !rules.keepNames) continue;
    // A name kept only for the stale checks needs no look when the listing
    // already tells it is no folder.
    if (!matches && (kind == EntryKind::File || kind == EntryKind::Special)) {
      m_fileNames.insert(name);
      continue;
    }
    platform::EntryInfo info;
    const bool looked = folder.Look(name, info).Ok();
    if (looked) kind = info.kind;
    if (kind == EntryKind::Link) {
      platform::EntryInfo target;
      const platform::FsStatus through =
          rules.lookThrough ? rules.lookThrough(name, target) : folder.Look(name, target, true);
      if (through.Ok()) {
        if (target.kind == EntryKind::Folder) {
          if (rules.keepNames) m_folderNames.insert(name);
          continue;
        }
        info = target;
      } else {
        // A link to nothing, or to what may not be looked at, is listed like
        // a file that vanished: nothing of its target shows. Only whether it
        // leads to a folder is told (such a link is no entry of a page).
        platform::EntryInfo kindOnly;
        if (rules.lookThrough && folder.Look(name, kindOnly, true).Ok() && kindOnly.kind == EntryKind::Folder) {
          if (rules.keepNames) m_folderNames.insert(name);
          continue;
        }
        info.size = 0;
        info.modifySeconds = 0;
        info.modifyNanos = 0;
      }
    } else if (kind == EntryKind::Folder) {
      if (rules.keepNames) m_folderNames.insert(name);
      continue;
    }
    if (rules.keepNames) m_fileNames.insert(name);
    if (!matches) continue;
    // A path text could not tell such a name from a folder and a file.
    if (name.find('\\') != std::string::npos) {
      m_notices.push_back({Notice::Kind::Backslash, name});
      continue;
    }
    ListedFile file;
    file.name = CString(name);
    file.info = info;
    file.size = looked ? info.size : 0;
    file.plain = looked && kind == EntryKind::File;
    m_bytes += file.size;
    m_files.push_back(std::move(file));
  }
  if (!rules.keepNames)
    for (const ListedFile& file : m_files) m_fileNames.insert(file.name.GetString());
  return {};
}
