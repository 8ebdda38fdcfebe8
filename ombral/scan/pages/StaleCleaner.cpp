// CStaleCleaner: the proofs of ownership and the removals.
#include "pages/StaleCleaner.h"

#include <cerrno>

#include "Digest.h"
#include "pages/PageRecord.h"
#include "previews/PreviewFolder.h"
#include "ProtocolText.h"
#include "walk/ScanTree.h"

namespace {

// A page of a folder of a million pictures stays below this; a larger file
// of a page's name is not read whole to be proven.
constexpr std::uint64_t kMaxPageBytes = 1u << 30;

CString Line(const char* format, const CString& path) {
  CString line;
  line.Format(format, path.GetString());
  return line;
}

// "Cannot remove" with the system's reason.
CString CannotRemove(const CString& path, const platform::FsStatus& status) {
  return CString(ombral::ProblemText("Cannot remove", path.GetView(), status.Error()));
}

}  // namespace

int CStaleCleaner::Run(CFolderCursor& cursor, CPageRecord* pages, const Report& report) {
  for (const Candidate& candidate : m_candidates) {
    if (candidate.pictures.empty()) RemovePage(candidate, cursor, pages, report);
    else RemovePreviews(candidate, cursor, report);
  }
  m_candidates.clear();
  return m_removed;
}

void CStaleCleaner::RemovePage(const Candidate& candidate, CFolderCursor& cursor, CPageRecord* pages,
                               const Report& report) {
  const CString path = candidate.folderPath + "\\" +
                       (candidate.sub.empty() ? CString(candidate.page) : CString(candidate.sub + "\\" + candidate.page));
  int error = 0;
  const platform::SharedFolder parent = cursor.Open(candidate.node, error);
  platform::SharedFolder folder = parent;
  if (folder && !candidate.sub.empty()) {
    auto sub = std::make_shared<platform::FolderHandle>(folder->OpenFolder(candidate.sub));
    folder = sub->IsOpen() ? std::move(sub) : nullptr;
  }
  if (!folder) return;  // changed since the walk: leave it
  std::string bytes;
  platform::EntryInfo info;
  const platform::ReadResult read = folder->ReadFile(candidate.page, kMaxPageBytes, bytes, &info);
  switch (read.status) {
    case platform::ReadStatus::Missing:
      return;
    case platform::ReadStatus::Read:
      break;
    case platform::ReadStatus::Failed:
      report(CannotRemove(path, platform::FsStatus::Of(read.error)), true);
      return;
    default:  // a link, folder or special file of that name, or a huge file
      report(Line("Kept \"%s\": not written by Ombral.", path), false);
      return;
  }
  if (!pages || !pages->Knows(candidate.place, CDigest::Of(bytes))) {
    report(Line("Kept \"%s\": not written by Ombral.", path), false);
    return;
  }
  if (m_dryRun) {
    report(Line("Would remove stale page \"%s\".", path), false);
    ++m_removed;
    return;
  }
  const platform::FileIdentity identity = info.Identity();
  if (const platform::FsStatus removed = folder->RemoveFile(candidate.page, &identity); removed.Failed()) {
    if (!removed.Is(ENOENT)) report(CannotRemove(path, removed), true);
    return;
  }
  pages->Forget(candidate.place);
  // The scan's own folder of pages goes with its last page: the system
  // removes only an empty folder, and never through a link, so no listing
  // is needed to tell (one each would make many stale pieces cost their
  // square).
  if (!candidate.sub.empty() && parent->RemoveFolder(candidate.sub).Ok())
    report(Line("Removed stale folder \"%s\".", candidate.folderPath + "\\" + CString(candidate.sub)), false);
  report(Line("Removed stale page \"%s\".", path), false);
  ++m_removed;
}

void CStaleCleaner::RemoveBesides(const CPreviewFolder& folder, const std::string& picture, const Report& report) {
  const CPreviewFolder::Line* line = folder.Find(picture);
  if (!line) return;
  struct Beside {
    bool recorded;
    std::string name;
    CString path;
    bool (CPreviewFolder::*own)(const std::string&) const;
  };
  const Beside besides[] = {
      {line->HasRendition(), CPreviewFolder::RenditionName(picture), folder.RenditionPath(picture),
       &CPreviewFolder::IsOwnRenditionContent},
      {line->HasLarge(), CPreviewFolder::LargePreviewName(picture), folder.LargePath(picture),
       &CPreviewFolder::IsOwnLargeContent},
  };
  for (const Beside& beside : besides) {
    platform::EntryInfo info;
    if (!beside.recorded || folder.Handle()->Look(beside.name, info).Failed()) continue;
    if (info.kind != platform::EntryKind::File || !(folder.*beside.own)(picture)) {
      report(Line("Kept \"%s\": not written by Ombral.", beside.path), false);
      continue;
    }
    if (m_dryRun) {
      report(Line("Would remove stale preview \"%s\".", beside.path), false);
      ++m_removed;
      continue;
    }
    const platform::FileIdentity identity = info.Identity();
    if (const platform::FsStatus removed = folder.Handle()->RemoveFile(beside.name, &identity); removed.Failed()) {
      report(CannotRemove(beside.path, removed), true);
      continue;
    }
    report(Line("Removed stale preview \"%s\".", beside.path), false);
    ++m_removed;
  }
}

void CStaleCleaner::RemovePreviews(const Candidate& candidate, CFolderCursor& cursor, const Report& report) {
  int error = 0;
  const platform::SharedFolder pictures = cursor.Open(candidate.node, error);
  if (!pictures) return;
  CPreviewFolder folder(pictures, candidate.folderPath);
  if (folder.Open() != CPreviewFolder::State::Ours) return;  // changed since the walk: leave it
  for (const std::string& picture : candidate.pictures) {
    if (!folder.Find(picture)) continue;
    // The picture may have come back since the walk listed its folder.
    platform::EntryInfo pictureInfo;
    if (!pictures->Look(picture, pictureInfo).Is(ENOENT)) continue;
    RemoveBesides(folder, picture, report);
    const CString preview = folder.PreviewPath(picture);
    platform::EntryInfo info;
    if (!folder.LookPreview(picture, info)) {
      if (!m_dryRun) folder.Erase(picture);  // nothing left to remove: forget it
      continue;
    }
    if (info.kind != platform::EntryKind::File || !folder.IsOwnPreviewContent(picture, false)) {
      report(Line("Kept \"%s\": not written by Ombral.", preview), false);
      continue;
    }
    if (m_dryRun) {
      report(Line("Would remove stale preview \"%s\".", preview), false);
      ++m_removed;
      continue;
    }
    const platform::FileIdentity identity = info.Identity();
    if (const platform::FsStatus removed = folder.Handle()->RemoveFile(CPreviewFolder::PreviewName(picture), &identity);
        removed.Failed()) {
      report(CannotRemove(preview, removed), true);
      continue;
    }
    report(Line("Removed stale preview \"%s\".", preview), false);
    ++m_removed;
    folder.Erase(picture);
  }
  if (m_dryRun || !folder.IsChanged()) return;
  if (const platform::FsStatus saved = folder.Save(); saved.Failed()) {
    report(CString(ombral::ProblemText("Cannot write file", folder.RecordPath().GetView(), saved.Error())), true);
    return;
  }
  // A preview folder with nothing but an empty record goes as well.
  CPreviewFolder emptied(pictures, candidate.folderPath);
  if (emptied.Open() != CPreviewFolder::State::Ours || !emptied.Records().empty() ||
      emptied.FileNames() != std::set<std::string>{CPreviewFolder::kRecordName})
    return;
  if (const platform::FsStatus removed = emptied.Handle()->RemoveFile(CPreviewFolder::kRecordName); removed.Failed()) {
    report(CannotRemove(emptied.RecordPath(), removed), true);
    return;
  }
  report(Line("Removed stale preview record \"%s\".", emptied.RecordPath()), false);
  if (const platform::FsStatus removed = pictures->RemoveFolder(CPreviewFolder::kFolderName); removed.Ok())
    report(Line("Removed stale preview folder \"%s\".", emptied.FolderPath()), false);
  else
    report(CannotRemove(emptied.FolderPath(), removed), true);
}
