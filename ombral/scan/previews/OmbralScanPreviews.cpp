// COmbralScan: the previews of a folder's pictures -- which ones are still
// right, which ones the worker pool makes, and what the record keeps.
#include <climits>
#include <cstring>

#include "ProtocolText.h"
#include "pages/PageSet.h"
#include "ScanRunState.h"
#include "platform/Preview.h"
#include "platform/VideoPoster.h"

namespace {

using Kind = PicturePreview::Kind;
using Line = CPreviewFolder::Line;
using Stamp = CPreviewFolder::Stamp;

// The record line of a picture that cannot be made into a preview: it keeps
// the files an earlier run wrote (still the scan's own, and removed as
// such when the picture goes), with no size to show.
Line NoPreviewLine(const Line* old, const platform::EntryInfo& picture, Line::Kind kind, std::uint64_t needed) {
  Line line;
  if (old && !old->legacy) {
    line.preview = old->preview;
    line.digest = old->digest;
    if (old->HasRendition()) {
      line.rendition = old->rendition;
      line.renditionDigest = old->renditionDigest;
      line.renditionWidth = old->renditionWidth;
      line.renditionHeight = old->renditionHeight;
    }
    if (old->HasLarge()) {
      line.large = old->large;
      line.largeDigest = old->largeDigest;
      line.largeWidth = old->largeWidth;
      line.largeHeight = old->largeHeight;
    }
  }
  line.kind = kind;
  line.picture = Stamp::Of(picture);
  line.needed = needed;
  return line;
}

static_assert(COmbralScan::kSmallestPreviewEdge == platform::kMinPreviewEdge &&
              COmbralScan::kLargestPreviewEdge == platform::kMaxPreviewEdge &&
              COmbralScan::kLargestRenditionEdge == platform::kMaxRenditionEdge);

std::uint64_t Mebibytes(std::uint64_t bytes) { return (bytes + (1u << 20) - 1) >> 20; }

// The record line of a picture whose kept preview may still be right, or
// null; marks a picture the record says cannot have a preview.
const Line* KeptLine(const CPreviewFolder& previews, const ListedFile& file, const std::string& name,
                     std::uint64_t budgetLimit, PicturePreview& picture) {
  // A picture the record knows by size, time and inode (where the file
  // system keeps inodes) is not read again: its preview is still right,
  // or it still cannot have one.
  const Line* line = previews.Find(name);
  if (!line || !line->IsOf(Stamp::Of(file.info), previews.Traits().inodesStable)) return nullptr;
  if (line->kind == Line::Kind::Broken) {
    picture.kind = Kind::Broken;
    return nullptr;
  }
  if (line->kind == Line::Kind::OverBudget && line->needed > budgetLimit) {
    picture.kind = Kind::OverBudget;
    return nullptr;
  }
  return line;
}

// The picture's access list, looked at once.
platform::AclState PictureAcl(const platform::FolderHandle& folder, const ListedFile& file, PicturePreview& picture) {
  // A picture's list can only narrow what its bits give the group and
  // others; where they give them nothing, it is not looked at.
  if (!picture.acl)
    picture.acl = (file.info.mode & 0044) != 0 ? folder.LookAcl(file.name.GetView()) : platform::AclState::None;
  return *picture.acl;
}

}  // namespace

void COmbralScan::OpenPreviews(PendingFolder& pending) const {
  const std::vector<ListedFile>& files = pending.listing.Files();
  bool anyPicture = false;
  for (const ListedFile& file : files) anyPicture = anyPicture || IsPreviewable(file.name.GetView());
  if (!anyPicture) return;

  auto previews = std::make_shared<CPreviewFolder>(pending.handle, pending.folder);
  if (m_run->previews.facts) previews->UseThirdForm();
  // The preview folder is for those who may list its picture folder.
  const platform::ReplacingFile::Options access = PageOptions(pending.node);
  previews->LimitAccess(access.modeLimit.value_or(07777), access.group);
  pending.openedState = previews->Open(!m_bDryRun, files.size());
  pending.opened = previews;
  if (pending.openedState != CPreviewFolder::State::Ours) return;
  // What the walk will ask of each picture whose preview may be kept is
  // looked at here, on the walk's threads, ahead of its page: the system
  // calls of a tree of unchanged pictures are most of a re-scan's work.
  pending.pictures.resize(files.size());
  for (std::size_t i = 0; i < files.size(); ++i) {
    const ListedFile& file = files[i];
    if (!file.plain || !IsPreviewable(file.name.GetView())) continue;
    const std::string name(file.name.GetView());
    PicturePreview& picture = pending.pictures[i];
    const Line* line = KeptLine(*previews, file, name, m_run->budget->Limit(), picture);
    if (!line) continue;
    PictureAcl(*pending.handle, file, picture);
    picture.kept = std::make_unique<CPreviewFolder::KeptFiles>(previews->LookKept(name, *line));
  }
}

void COmbralScan::PreparePreviews(PendingFolder& pending, const CString& /*root*/) {
  if (!pending.opened) return;  // no pictures
  const std::vector<ListedFile>& files = pending.listing.Files();
  const std::shared_ptr<CPreviewFolder> previews = std::move(pending.opened);
  const PreviewPolicy& policy = m_run->previews;
  switch (pending.openedState) {
    case CPreviewFolder::State::Absent:
      if (m_bDryRun) return;  // a dry run writes nothing
      if (const platform::FsStatus created = previews->Create(); created.Failed()) {
        pending.previewFolderProblem =
            CString(ombral::ProblemText("Cannot create folder", previews->FolderPath().GetView(), created.Error()));
        pending.previewFolderError = true;
        return;
      }
      break;
    case CPreviewFolder::State::Foreign:
      pending.previewFolderProblem.Format("Kept \"%s\": not written by Ombral.", previews->FolderPath().GetString());
      return;
    case CPreviewFolder::State::Ours:
      break;
  }
  pending.previews = previews;
  pending.pictures.resize(files.size());
  const platform::FileSystemTraits traits = previews->Traits();
  for (std::size_t i = 0; i < files.size(); ++i) {
    const ListedFile& file = files[i];
    PicturePreview& picture = pending.pictures[i];
    const std::string name(file.name.GetView());
    // Only a regular file reached without a link is ever read: a link may
    // lead to a picture its reader may not see, and a pipe would block.
    if (!file.plain || !IsPreviewable(name)) continue;
    // The list is looked at only where a preview is kept or made: a picture
    // the record says cannot have one would pay a system call on every run.
    const auto lookAcl = [&] { return PictureAcl(*pending.handle, file, picture); };
    // What an earlier version made in a folder with a default list may have
    // inherited it: such a file is more readable than its mode says. Only
    // then is the file's name made (by `nameOf`, from the picture's).
    using NameOf = std::string (*)(const std::string&);
    const auto plain = [&](NameOf nameOf) {
      return !previews->MayHoldAcls() || previews->Handle()->LookAcl(nameOf(name)) == platform::AclState::None;
    };
    // What the record says of the picture was found while it was listed:
    // that it still cannot have a preview, or the line whose files were
    // looked at.
    if (picture.kind == Kind::Broken || picture.kind == Kind::OverBudget) continue;
    if (picture.kept) {
      const CPreviewFolder::KeptFiles& kept = *picture.kept;
      const Line* line = kept.line;
      const platform::AclState acl = lookAcl();
      // The gallery's rendition and large preview must still stand beside
      // the preview as the record names them.
      const auto stands = [&](bool recorded, const std::optional<platform::EntryInfo>& info, NameOf nameOf,
                              const Stamp& stamp) {
        return !recorded || (info && info->kind == platform::EntryKind::File &&
                             preview_record::SameFile(Stamp::Of(*info), stamp, traits.inodesStable) &&
                             NoMoreOpenThan(*info, file.info, acl, traits.modesStored) && plain(nameOf));
      };
      // And the picture must have what the run wants of one of its size: a
      // large preview when it is larger than the preview, a rendition when
      // it is larger than the viewer's edge. Where the record does not know
      // its size (a preview made without the gallery), one whose preview
      // fills the edge may be larger: it is made again.
      // A video never gets a rendition: the viewer plays the file.
      const bool video = IsVideo(name);
      const CMovedPictures::Edges edges{policy.edge, policy.largeEdge, video ? 0 : policy.renditionEdge};
      const int shownLonger = std::max(line->width, line->height);
      const int longer = line->HasFacts()                ? std::max(line->pictureWidth, line->pictureHeight)
                         : shownLonger >= policy.edge ? INT_MAX
                                                      : shownLonger;
      const bool hasWhatIsWanted = (line->HasLarge() || !CMovedPictures::WantsLarge(longer, edges)) &&
                                   (line->HasRendition() || !CMovedPictures::WantsRendition(longer, edges));
      const bool besidesStand =
          hasWhatIsWanted &&
          stands(line->HasRendition(), kept.rendition, &CPreviewFolder::RenditionName, line->rendition) &&
          stands(line->HasLarge(), kept.large, &CPreviewFolder::LargePreviewName, line->large);
      // The preview must fit the edge asked for now: not larger than it,
      // and smaller only where the picture is (a preview made for another
      // edge is made again). Where the record does not know the picture's
      // size, its header is read to tell.
      const bool tooLarge = shownLonger > policy.edge;
      const bool madeSmaller = line->HasFacts() && shownLonger < policy.edge && longer > shownLonger;
      const bool sizeUnknown = !line->HasFacts() && shownLonger < policy.edge;
      // Where inodes are made up at each mount, the preview's bytes must
      // have the recorded digest as well.
      if (line->kind == Line::Kind::Preview && !tooLarge && !madeSmaller && kept.preview &&
          kept.preview->kind == platform::EntryKind::File &&
          line->IsPreviewFile(Stamp::Of(*kept.preview), traits.inodesStable) &&
          NoMoreOpenThan(*kept.preview, file.info, acl, traits.modesStored) &&
          plain(&CPreviewFolder::PreviewName) && besidesStand &&
          (traits.inodesStable || previews->IsOwnPreviewContent(name, false))) {
        picture.kind = Kind::Kept;
        picture.width = line->width;
        picture.height = line->height;
        if (sizeUnknown && !policy.facts && !line->legacy && !m_bDryRun) {
          PreviewJob job = JobFor(pending, file, acl, previews);
          job.checkLonger = shownLonger;
          job.keptLine = *line;
          Submit(picture, std::move(job));
          continue;
        }
        if (line->legacy && !m_bDryRun) {
          // A line of the first record form gets the preview's digest and
          // the picture's full stamp once.
          Line upgraded = *line;
          if (previews->Upgrade(name, upgraded)) {
            upgraded.picture = Stamp::Of(file.info);
            previews->Set(name, upgraded);
          }
        }
        // What a preview made without the facts did not keep is read
        // now: the picture's digest and facts, without decoding it.
        if (policy.facts && !line->HasFacts() && !line->legacy && !m_bDryRun) {
          PreviewJob job = JobFor(pending, file, acl, previews);
          job.factsOnly = true;
          job.keptLine = *line;
          if (sizeUnknown) job.checkLonger = shownLonger;
          Submit(picture, std::move(job));
          picture.factsOnly = true;
        }
        continue;
      }
    }
    // A new preview replaces only the scan's own file of that name.
    if (previews->HasFile(CPreviewFolder::PreviewName(name)) && !previews->IsOwnPreviewContent(name, true)) {
      picture.kind = Kind::NameTaken;
      continue;
    }
    if (m_bDryRun) continue;
    PreviewJob job = JobFor(pending, file, lookAcl(), previews);
    if (policy.findMoved) {
      // A picture no record here knows may have moved: the previews of the
      // whole tree are looked up by its digest.
      if (!m_run->moved) {
        m_run->moved = std::make_unique<CMovedPictures>(m_run->tree, m_run->root, m_bFollowLinks != 0);
        m_run->moved->Build([this] { return StopRequested(); });
      }
      job.moved = m_run->moved.get();
    }
    Submit(picture, std::move(job));
  }
}

bool COmbralScan::IsPreviewable(std::string_view name) const {
  return platform::HasPictureExtension(name) ||
         (m_run->previews.phoneFormats && platform::HasPhonePictureExtension(name)) || IsVideo(name);
}

bool COmbralScan::IsVideo(std::string_view name) const {
  return m_run->previews.videoPosters && platform::HasVideoExtension(name);
}

PreviewJob COmbralScan::JobFor(const PendingFolder& pending, const ListedFile& file, platform::AclState acl,
                               const std::shared_ptr<CPreviewFolder>& previews) const {
  PreviewJob job;
  job.pictures = pending.handle;
  job.name = file.name.GetString();
  job.size = file.info.size;
  job.acl = acl;
  job.share = &m_run->share;
  job.previews = previews;
  job.edge = m_run->previews.edge;
  job.budget = m_run->budget.get();
  job.stop = m_run->stop;
  job.gallery = m_run->previews.facts;
  job.renditionEdge = m_run->previews.renditionEdge;
  job.largeEdge = m_run->previews.largeEdge;
  job.video = IsVideo(job.name);
  return job;
}

void COmbralScan::Submit(PicturePreview& picture, PreviewJob job) {
  if (!m_run->pool) m_run->pool = std::make_unique<CWorkerPool>(0, [] { platform::EndPreviewThread(); });
  picture.kind = Kind::Pending;
  picture.result = std::make_shared<PreviewJobResult>();
  picture.done = m_run->pool->Submit([job = std::move(job), result = picture.result] { *result = job.Run(); });
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
    const PreviewJobResult& result = *picture.result;
    if (picture.factsOnly && result.status != PreviewJobResult::Status::Facts &&
        result.status != PreviewJobResult::Status::Made) {
      // The preview stands whatever became of reading the facts: they are
      // read again next time.
      picture.kind = Kind::Kept;
      ++m_run->previewsKept;
      continue;
    }
    switch (result.status) {
      case PreviewJobResult::Status::Made:
        folder.Set(name, result.line);
        picture.kind = Kind::Made;
        picture.width = result.line.width;
        picture.height = result.line.height;
        ++(result.foundAgain ? m_run->previewsFoundAgain : m_run->previewsMade);
        break;
      case PreviewJobResult::Status::StillRight:  // the record stays as it is
      case PreviewJobResult::Status::Facts:
        if (result.status == PreviewJobResult::Status::Facts) folder.Set(name, result.line);
        picture.kind = Kind::Kept;
        picture.width = result.line.width;
        picture.height = result.line.height;
        ++m_run->previewsKept;
        break;
      case PreviewJobResult::Status::Broken:
        folder.Set(name, NoPreviewLine(folder.Find(name), files[i].info, Line::Kind::Broken, 0));
        picture.kind = Kind::Broken;
        break;
      case PreviewJobResult::Status::OverBudget:
        folder.Set(name, NoPreviewLine(folder.Find(name), files[i].info, Line::Kind::OverBudget, result.needed));
        picture.kind = Kind::OverBudget;
        break;
      case PreviewJobResult::Status::Failed:
        picture.kind = Kind::Failed;  // the record stays as it was: tried again next run
        break;
      case PreviewJobResult::Status::WriteFailed:
        picture.kind = result.takenBy == platform::EntryKind::Missing ? Kind::WriteFailed : Kind::NameTaken;
        break;
      case PreviewJobResult::Status::Skipped:
        picture.kind = Kind::None;
        break;
    }
  }
}

void COmbralScan::ReportPreview(const PendingFolder& pending, std::size_t index) {
  if (index >= pending.pictures.size()) return;
  const CString& name = pending.listing.Files()[index].name;
  const PicturePreview& picture = pending.pictures[index];
  // A video's preview is its poster.
  const char* const what = IsVideo(name.GetView()) ? "poster" : "preview";
  switch (picture.kind) {
    case Kind::Broken:
      Warn("Cannot make a %s of \"%s\"!", what, (pending.folder + "\\" + name).GetString());
      break;
    case Kind::OverBudget: {
      const Line* line = pending.previews->Find(name.GetString());
      const std::uint64_t needed = picture.result ? picture.result->needed : (line ? line->needed : 0);
      Warn("Cannot make a %s of \"%s\": it needs %llu MiB of memory, more than the %llu MiB allowed.", what,
           (pending.folder + "\\" + name).GetString(), static_cast<unsigned long long>(Mebibytes(needed)),
           static_cast<unsigned long long>(m_run->budget->Limit() >> 20));
      break;
    }
    case Kind::Failed:
      Error("Cannot make a %s of \"%s\" this time (%s); it is tried again next time.", what,
            (pending.folder + "\\" + name).GetString(),
            picture.result && !picture.result->reason.empty() ? picture.result->reason.c_str() : "unknown reason");
      break;
    case Kind::WriteFailed:
      Error("%s", ombral::ProblemText("Cannot write file", pending.previews->PreviewPath(name.GetString()).GetView(),
                                      picture.result ? picture.result->error : 0)
                      .c_str());
      break;
    case Kind::NameTaken:
      Warn("Kept \"%s\": not written by Ombral.", pending.previews->PreviewPath(name.GetString()).GetString());
      break;
    default:
      break;
  }
}

void COmbralScan::SavePreviewRecord(PendingFolder& pending) {
  if (m_bDryRun || !pending.previews || !pending.previews->IsChanged()) return;
  if (const platform::FsStatus saved = pending.previews->Save(); saved.Failed())
    Error("%s", ombral::ProblemText("Cannot write file", pending.previews->RecordPath().GetView(), saved.Error()).c_str());
}

void COmbralScan::NoteStaleCandidates(const PendingFolder& pending) {
  if (!pending.searched) return;  // nothing is known about it: nothing goes
  const CFolderListing& listing = pending.listing;
  m_run->pageSet->NoteStalePage(pending);
  if (!listing.HasFolder(CPreviewFolder::kFolderName)) return;
  CPreviewFolder previews(pending.handle, pending.folder);
  const CPreviewFolder* folder = pending.previews.get();
  if (!folder) {
    if (previews.Open() != CPreviewFolder::State::Ours) return;
    folder = &previews;
  }
  std::vector<std::string> gone;
  for (const auto& [picture, line] : folder->Records())
    if (!listing.HasFile(picture)) gone.push_back(picture);
  if (!gone.empty()) m_run->stale.AddPreviews(pending.node, pending.folder, std::move(gone));
}

void COmbralScan::RemoveStaleFiles() {
  if (!m_run) return;
  // Files in the top folder this run does not write: removed like a stale
  // page, when the page record proves them ours.
  for (const std::string& place : m_run->pageSet->StaleTopFiles()) {
    const std::size_t slash = place.find('/');
    if (slash == std::string::npos) m_run->stale.AddPage(0, m_strPath, place, place);
    else m_run->stale.AddPage(0, m_strPath, place.substr(slash + 1), place, place.substr(0, slash));
  }
  m_run->staleFiles += m_run->stale.Run(*m_run->cursor, m_run->pages.get(), [this](const CString& line, bool error) {
    if (error) Error("%s", line.GetString());
    else if (line.Find("Kept ") == 0) Warn("%s", line.GetString());
    else Protocol("%s", line.GetString());
  });
}
