// COmbralScan: the previews of a folder's pictures -- which ones are still
// right, which ones the worker pool makes, and what the record keeps.
#include "ScanRunState.h"
#include "platform/Preview.h"

namespace {

using Kind = PicturePreview::Kind;

// The record line of a picture that could not be read: it keeps the
// preview an earlier run wrote (still the scan's own file), with no size to
// show.
CPreviewFolder::Record BrokenRecord(const CPreviewFolder::Record* old, const ListedFile& file) {
  CPreviewFolder::Record record = old ? *old : CPreviewFolder::Record{};
  record.broken = true;
  record.pictureSize = file.size;
  record.pictureTime = file.modifyTime;
  record.width = record.height = 0;
  return record;
}

}  // namespace

void COmbralScan::PreparePreviews(PendingFolder& pending, const CString& root) {
  const std::vector<ListedFile>& files = pending.listing.Files();
  bool anyPicture = false;
  for (const ListedFile& file : files) anyPicture = anyPicture || platform::HasPictureExtension(file.name.GetView());
  if (!anyPicture) return;

  auto previews = std::make_unique<CPreviewFolder>(root, pending.folder);
  switch (previews->Open()) {
    case CPreviewFolder::State::Absent:
      if (!previews->Create()) {
        pending.previewFolderProblem.Format("Cannot create folder \"%s\"!", previews->FolderPath().GetString());
        return;
      }
      break;
    case CPreviewFolder::State::Foreign:
      pending.previewFolderProblem.Format("Kept \"%s\": not written by Ombral.", previews->FolderPath().GetString());
      return;
    case CPreviewFolder::State::Ours:
      break;
  }
  pending.previews = std::move(previews);
  const CPreviewFolder& folder = *pending.previews;
  pending.pictures.resize(files.size());
  for (std::size_t i = 0; i < files.size(); ++i) {
    const ListedFile& file = files[i];
    PicturePreview& picture = pending.pictures[i];
    const std::string name(file.name.GetView());
    if (!platform::HasPictureExtension(name)) continue;
    // A picture of the size and time the record gives is not read again:
    // its preview is still right, or it is still broken.
    const CPreviewFolder::Record* record = folder.Find(name);
    if (record && record->pictureSize == file.size && record->pictureTime == file.modifyTime) {
      if (record->broken) {
        picture.kind = Kind::Broken;
        continue;
      }
      if (folder.HasFile(CPreviewFolder::PreviewName(name))) {
        picture.kind = Kind::Kept;
        picture.width = record->width;
        picture.height = record->height;
        continue;
      }
    }
    // A new preview replaces only the scan's own file of that name.
    if (folder.HasFile(CPreviewFolder::PreviewName(name)) && !folder.IsOwnPreview(name)) {
      picture.kind = Kind::NameTaken;
      continue;
    }
    if (!m_run->pool) m_run->pool = std::make_unique<CWorkerPool>(0, [] { platform::EndPreviewThread(); });
    picture.kind = Kind::Pending;
    picture.result = std::make_shared<platform::PreviewResult>();
    const std::string source(pending.folder + "\\" + file.name);
    const std::string target(folder.PreviewPath(name));
    picture.done = m_run->pool->Submit([source, target, edge = m_nPreviewEdge, result = picture.result] {
      try {
        *result = platform::MakePreview(source, target, edge);
      } catch (...) {  // out of memory: that picture gets no preview
        result->status = platform::PreviewStatus::Broken;
      }
    });
  }
}

void COmbralScan::CollectPreviews(PendingFolder& pending) {
  if (!pending.previews) return;
  CPreviewFolder& folder = *pending.previews;
  const std::vector<ListedFile>& files = pending.listing.Files();
  for (std::size_t i = 0; i < pending.pictures.size(); ++i) {
    PicturePreview& picture = pending.pictures[i];
    if (picture.kind == Kind::Kept) ++m_run->previewsKept;
    if (picture.kind != Kind::Pending) continue;
    picture.done.wait();
    const std::string name(files[i].name.GetView());
    const platform::PreviewResult& result = *picture.result;
    switch (result.status) {
      case platform::PreviewStatus::Made: {
        CPreviewFolder::Record record;
        record.pictureSize = files[i].size;
        record.pictureTime = files[i].modifyTime;
        record.previewSize = result.fileSize;
        record.previewTime = result.modifyTime;
        record.width = picture.width = result.width;
        record.height = picture.height = result.height;
        folder.Set(name, record);
        picture.kind = Kind::Made;
        ++m_run->previewsMade;
        break;
      }
      case platform::PreviewStatus::WriteFailed:
        picture.kind = Kind::WriteFailed;
        break;
      default:
        folder.Set(name, BrokenRecord(folder.Find(name), files[i]));
        picture.kind = Kind::Broken;
        break;
    }
  }
}

void COmbralScan::ReportPreview(const PendingFolder& pending, std::size_t index) {
  if (index >= pending.pictures.size()) return;
  const CString& name = pending.listing.Files()[index].name;
  switch (pending.pictures[index].kind) {
    case Kind::Broken:
      Protocol("Cannot make a preview of \"%s\"!", (pending.folder + "\\" + name).GetString());
      break;
    case Kind::WriteFailed:
      Protocol("Cannot write file \"%s\"!", pending.previews->PreviewPath(name.GetString()).GetString());
      break;
    case Kind::NameTaken:
      Protocol("Kept \"%s\": not written by Ombral.", pending.previews->PreviewPath(name.GetString()).GetString());
      break;
    default:
      break;
  }
}

void COmbralScan::SavePreviewRecord(PendingFolder& pending) {
  if (pending.previews && pending.previews->IsChanged() && !pending.previews->Save())
    Protocol("Cannot write file \"%s\"!", pending.previews->RecordPath().GetString());
}

void COmbralScan::NoteStaleCandidates(const PendingFolder& pending) {
  if (!pending.searched) return;  // nothing is known about it: nothing goes
  const CFolderListing& listing = pending.listing;
  // A page only where no page was wanted: a page that could not be
  // written this time is not stale.
  if (listing.Files().empty() && listing.HasFile(m_strIndexFile.GetString()))
    m_run->stale.AddPage(pending.folder + "\\" + m_strIndexFile);
  if (!listing.HasFolder(CPreviewFolder::kFolderName)) return;
  CPreviewFolder previews(m_strPath, pending.folder);
  const CPreviewFolder* folder = pending.previews.get();
  if (!folder) {
    if (previews.Open() != CPreviewFolder::State::Ours) return;
    folder = &previews;
  }
  std::vector<std::string> gone;
  for (const auto& [picture, record] : folder->Records())
    if (!listing.HasFile(picture)) gone.push_back(picture);
  if (!gone.empty()) m_run->stale.AddPreviews(pending.folder, std::move(gone));
}

void COmbralScan::RemoveStaleFiles() {
  if (!m_run) return;
  m_run->staleFiles += m_run->stale.Run([this](const CString& line) { Protocol("%s", line.GetString()); });
}
