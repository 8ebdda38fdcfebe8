// CStaleCleaner: the proofs of ownership and the removals.
#include "StaleCleaner.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "PageTexts.h"
#include "PreviewFolder.h"
#include "platform/Drives.h"
#include "platform/TreeFiles.h"

namespace {

using Report = std::function<void(const CString&)>;

CString Line(const char* format, const CString& path) {
  CString line;
  line.Format(format, path.GetString());
  return line;
}

// Whether the file starts like the scan's pages and ends with a folder
// page's credit line and page end. Only its first and last bytes are read,
// whatever its size.
bool IsOwnFolderPage(const CString& path) {
  const std::string native = platform::ToNativePath(path.GetView());
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(native.empty() ? nullptr : std::fopen(native.c_str(), "rb"),
                                                       &std::fclose);
  if (!file) return false;
  const std::string start = ombral::kPageStart;
  const std::string end = std::string(ombral::kCreditLine) + ombral::kPageEnd;
  std::string head(start.size(), '\0');
  std::string tail(end.size(), '\0');
  if (std::fread(head.data(), 1, head.size(), file.get()) != head.size() || head != start) return false;
  if (std::fseek(file.get(), -static_cast<long>(tail.size()), SEEK_END) != 0) return false;
  return std::fread(tail.data(), 1, tail.size(), file.get()) == tail.size() && tail == end;
}

}  // namespace

int CStaleCleaner::Run(const Report& report) {
  for (const Candidate& candidate : m_candidates) {
    if (candidate.pictures.empty()) RemovePage(candidate.path, report);
    else RemovePreviews(candidate, report);
  }
  m_candidates.clear();
  return m_removed;
}

bool CStaleCleaner::Remove(const CString& path, bool folder, const char* what, const Report& report) {
  // Pages and previews are counted; the record and folder that go with the
  // last preview are housekeeping.
  const bool counted = !folder && std::strcmp(what, "preview record") != 0;
  if (m_dryRun) {
    report(Line((std::string("Would remove stale ") + what + " \"%s\".").c_str(), path));
    if (counted) ++m_removed;
    return true;
  }
  const platform::TreeEntry wanted = folder ? platform::TreeEntry::PlainFolder : platform::TreeEntry::PlainFile;
  const platform::TreeEntry removed = folder ? platform::RemoveTreeFolder(m_root.GetView(), path.GetView())
                                             : platform::RemoveTreeFile(m_root.GetView(), path.GetView());
  if (removed != wanted) {
    report(Line("Cannot remove \"%s\"!", path));
    return false;
  }
  report(Line((std::string("Removed stale ") + what + " \"%s\".").c_str(), path));
  if (counted) ++m_removed;
  return true;
}

void CStaleCleaner::RemovePage(const CString& path, const Report& report) {
  switch (platform::CheckTreeEntry(m_root.GetView(), path.GetView())) {
    case platform::TreeEntry::Missing:
      return;
    case platform::TreeEntry::OutsideTree:
      report(Line("Kept \"%s\": outside the scanned tree.", path));
      return;
    case platform::TreeEntry::PlainFile:
      break;
    case platform::TreeEntry::Unreadable:
      report(Line("Cannot remove \"%s\"!", path));
      return;
    default:  // a link, a folder or a device of that name
      report(Line("Kept \"%s\": not written by Ombral.", path));
      return;
  }
  if (!IsOwnFolderPage(path)) {
    report(Line("Kept \"%s\": not written by Ombral.", path));
    return;
  }
  Remove(path, false, "page", report);
}

void CStaleCleaner::RemovePreviews(const Candidate& candidate, const Report& report) {
  CPreviewFolder folder(m_root, candidate.path);
  if (folder.Open() != CPreviewFolder::State::Ours) return;  // changed since the walk: leave it
  for (const std::string& picture : candidate.pictures) {
    if (!folder.Find(picture)) continue;
    // The picture may have come back since the walk listed its folder.
    const CString picturePath = candidate.path + "\\" + CString(picture);
    if (platform::CheckTreeEntry(m_root.GetView(), picturePath.GetView()) != platform::TreeEntry::Missing) continue;
    const CString preview = folder.PreviewPath(picture);
    const platform::TreeEntry entry = platform::CheckTreeEntry(m_root.GetView(), preview.GetView());
    if (entry == platform::TreeEntry::Missing) {
      if (!m_dryRun) folder.Erase(picture);  // nothing left to remove: forget it
      continue;
    }
    if (!folder.IsOwnPreview(picture)) {
      report(Line(entry == platform::TreeEntry::OutsideTree ? "Kept \"%s\": outside the scanned tree."
                                                              : "Kept \"%s\": not written by Ombral.",
                  preview));
      continue;
    }
    if (Remove(preview, false, "preview", report) && !m_dryRun) folder.Erase(picture);
  }
  if (m_dryRun || !folder.IsChanged()) return;
  if (!folder.Save()) {
    report(Line("Cannot write file \"%s\"!", folder.RecordPath()));
    return;
  }
  // A preview folder with nothing but an empty record goes as well.
  CPreviewFolder emptied(m_root, candidate.path);
  if (emptied.Open() != CPreviewFolder::State::Ours || !emptied.Records().empty() ||
      emptied.FileNames() != std::set<std::string>{CPreviewFolder::kRecordName})
    return;
  if (Remove(emptied.RecordPath(), false, "preview record", report))
    Remove(emptied.FolderPath(), true, "preview folder", report);
}
