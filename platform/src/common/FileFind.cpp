// CFileFind: pattern split, folder listing through the backend, matching,
// ordering and the per-entry queries.
#include "platform/FileFind.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "Backend.h"
#include "platform/Crt.h"
#include "platform/Drives.h"
#include "platform/Wildcard.h"

namespace {

struct Entry {
  std::string name;
  std::string sortKey;  // upper-cased name
  platform::backend::RawDirEntry::Kind kind = platform::backend::RawDirEntry::Kind::Unknown;
  mutable std::optional<platform::FileStat> stat;  // read on first use
  mutable bool statFailed = false;
};

bool IsDotName(std::string_view name) { return name == "." || name == ".."; }

}  // namespace

struct CFileFind::Impl {
  std::string root;        // the folder in absolute form, no trailing separator
  std::string nativeRoot;  // the folder as a native path
  std::unique_ptr<platform::backend::OpenFolder> folder;  // open while the search runs
  std::vector<Entry> entries;
  int current = -1;

  const Entry* Current() const {
    if (current < 0 || current >= static_cast<int>(entries.size())) return nullptr;
    return &entries[static_cast<std::size_t>(current)];
  }

  const platform::FileStat* StatOf(const Entry& entry) const {
    if (!entry.stat && !entry.statFailed) {
      platform::FileStat stat;
      if (folder && folder->StatName(entry.name, stat)) {
        entry.stat = stat;
      } else {
        entry.statFailed = true;
      }
    }
    return entry.stat ? &*entry.stat : nullptr;
  }
};

CFileFind::CFileFind() = default;

CFileFind::~CFileFind() { Close(); }

void CFileFind::Close() { CloseContext(); }

void CFileFind::CloseContext() { m_impl.reset(); }

BOOL CFileFind::FindFile(const char* pattern, DWORD) {
  Close();
  std::string_view text = pattern ? pattern : "*.*";
  // The folder is everything up to the last separator; "X:name" has the
  // folder "X:".
  std::string_view folder;
  std::string_view namePattern = text;
  if (const std::size_t sep = text.find_last_of("\\/"); sep != std::string_view::npos) {
    folder = text.substr(0, sep + 1);
    namePattern = text.substr(sep + 1);
  } else if (platform::ClassifyPath(text) == platform::PathForm::Drive) {
    folder = text.substr(0, 2);
    namePattern = text.substr(2);
  }
  if (namePattern.empty()) return FALSE;

  auto impl = std::make_unique<Impl>();
  impl->nativeRoot = platform::ToNativePath(folder.empty() ? std::string_view(".") : folder);
  if (impl->nativeRoot.empty()) return FALSE;
  impl->root = platform::MakeAbsolute(folder);
  while (!impl->root.empty() && (impl->root.back() == '\\' || impl->root.back() == '/'))
    impl->root.pop_back();

  if (!platform::HasWildcards(namePattern)) {
    // An exact name: one entry when it exists, spelled as asked.
    platform::FileStat stat;
    const std::string path = impl->nativeRoot + "/" + std::string(namePattern);
    if (!platform::backend::Stat(path, stat)) return FALSE;
    Entry entry;
    entry.name = std::string(namePattern);
    entry.stat = stat;
    impl->entries.push_back(std::move(entry));
  } else {
    std::vector<platform::backend::RawDirEntry> raw;
    impl->folder = platform::backend::ReadFolder(impl->nativeRoot, raw);
    if (!impl->folder) return FALSE;
    // The root of a drive as the caller names it ("T:\", "\", "/", or a
    // relative path that leads there) has no dot entries. The same folder
    // reached through another drive's tree is an ordinary folder.
    const bool atDriveRoot = impl->root.empty() || (impl->root.size() == 2 && impl->root[1] == ':');
    for (auto& item : raw) {
      if (IsDotName(item.name) && atDriveRoot) continue;
      if (!platform::MatchesWildcard(item.name, namePattern)) continue;
      Entry entry;
      entry.name = std::move(item.name);
      entry.sortKey = entry.name;
      platform::AsciiUpper(entry.sortKey);
      entry.kind = item.kind;
      impl->entries.push_back(std::move(entry));
    }
    // "." and ".." first, then by upper-cased name, ties by bytes: the same
    // order on every run, whatever order the folder keeps its names in.
    std::sort(impl->entries.begin(), impl->entries.end(), [](const Entry& a, const Entry& b) {
      const bool aDots = IsDotName(a.name), bDots = IsDotName(b.name);
      if (aDots != bDots) return aDots;
      if (aDots) return a.name.size() < b.name.size();
      if (int c = a.sortKey.compare(b.sortKey); c != 0) return c < 0;
      return a.name < b.name;
    });
  }
  if (impl->entries.empty()) return FALSE;
  m_impl = std::move(impl);
  return TRUE;
}

BOOL CFileFind::FindNextFile() {
  if (!m_impl) return FALSE;
  const int count = static_cast<int>(m_impl->entries.size());
  if (m_impl->current < count) ++m_impl->current;
  return m_impl->current + 1 < count;
}

CString CFileFind::GetFileName() const {
  const Entry* entry = m_impl ? m_impl->Current() : nullptr;
  return entry ? CString(entry->name) : CString();
}

CString CFileFind::GetFilePath() const {
  const Entry* entry = m_impl ? m_impl->Current() : nullptr;
  return entry ? CString(m_impl->root + "\\" + entry->name) : CString();
}

CString CFileFind::GetFileTitle() const {
  const Entry* entry = m_impl ? m_impl->Current() : nullptr;
  if (!entry) return CString();
  const std::size_t dot = entry->name.rfind('.');
  return CString(dot == std::string::npos ? entry->name : entry->name.substr(0, dot));
}

CString CFileFind::GetFileURL() const {
  const Entry* entry = m_impl ? m_impl->Current() : nullptr;
  if (!entry) return CString();
  std::string path = m_impl->root + "/" + entry->name;
  std::replace(path.begin(), path.end(), '\\', '/');
  return CString(std::string(path[0] == '/' ? "file://" : "file:///") + path);
}

CString CFileFind::GetRoot() const {
  return m_impl ? CString(m_impl->root + "\\") : CString();
}

bool CFileFind::GetFileStat(platform::FileStat& stat) const {
  const Entry* entry = m_impl ? m_impl->Current() : nullptr;
  const platform::FileStat* found = entry ? m_impl->StatOf(*entry) : nullptr;
  if (found) stat = *found;
  return found != nullptr;
}

bool CFileFind::GetFileIdentity(platform::FileIdentity& identity) const {
  platform::FileStat stat;
  if (!GetFileStat(stat)) return false;
  identity = {stat.device, stat.inode};
  return true;
}

ULONGLONG CFileFind::GetLength() const {
  platform::FileStat stat;
  return GetFileStat(stat) && !stat.isDirectory ? stat.size : 0;
}

BOOL CFileFind::IsDots() const {
  const Entry* entry = m_impl ? m_impl->Current() : nullptr;
  return entry && IsDotName(entry->name);
}

BOOL CFileFind::MatchesMask(DWORD mask) const {
  const Entry* entry = m_impl ? m_impl->Current() : nullptr;
  if (!entry) return FALSE;
  using Kind = platform::backend::RawDirEntry::Kind;
  // The listing already tells plain folders from plain files; only links and
  // unknown kinds, or other bits than the folder bit, need a status query.
  if (mask == FILE_ATTRIBUTE_DIRECTORY && (entry->kind == Kind::Directory || entry->kind == Kind::Other))
    return entry->kind == Kind::Directory;
  DWORD attributes = 0;
  platform::FileStat stat;
  if (GetFileStat(stat)) {
    if (stat.isDirectory) attributes |= FILE_ATTRIBUTE_DIRECTORY;
    if (stat.isReadOnly) attributes |= FILE_ATTRIBUTE_READONLY;
    if (!stat.isDirectory) attributes |= FILE_ATTRIBUTE_ARCHIVE;
  }
  if (!entry->name.empty() && entry->name[0] == '.' && !IsDotName(entry->name))
    attributes |= FILE_ATTRIBUTE_HIDDEN;
  if (attributes == 0) attributes = FILE_ATTRIBUTE_NORMAL;
  return (attributes & mask) != 0;
}
