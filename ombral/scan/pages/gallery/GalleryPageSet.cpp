// The gallery's page set: the model filled folder by folder during the
// walk, the pages and the top folder's files written from it afterwards.
#include "pages/gallery/GalleryPageSet.h"

#include <algorithm>
#include <cerrno>
#include <future>
#include <set>

#include "ProtocolText.h"
#include "ombral/HtmlFile.h"
#include "pages/PageRecord.h"
#include "pages/classic/ClassicPageSet.h"
#include "pages/gallery/GalleryTree.h"
#include "platform/Preview.h"

PreviewPolicy COmbralScan::GalleryPageSet::Previews(int askedEdge) const {
  // The gallery shows previews: it brings them when they were not asked for.
  PreviewPolicy policy;
  policy.edge = askedEdge > 0 ? askedEdge : kDefaultPreviewEdge;
  policy.phoneFormats = true;
  policy.facts = true;
  policy.findMoved = true;
  policy.renditionEdge = scan.m_nRenditionEdge;
  policy.largeEdge = 2 * policy.edge;
  policy.videoPosters = true;
  return policy;
}

std::vector<std::string> COmbralScan::GalleryPageSet::HiddenTopFiles() const {
  return {std::begin(kTopFiles), std::end(kTopFiles)};
}

bool COmbralScan::GalleryPageSet::HidesTopFile(const std::string& name) const { return gallery::IsTreePieceName(name); }

std::vector<std::string> COmbralScan::GalleryPageSet::StaleTopFiles() const {
  // The folder tree's pieces an earlier run wrote beyond this run's.
  std::vector<std::string> stale = scan.m_run->pages->TopPlaces([this](const std::string& name) {
    const int number = gallery::TreePieceNumber(name);
    return number >= 0 && static_cast<std::size_t>(number) >= m_pieces;
  });
  // Without the tree there is no entry page to search from.
  if (!scan.m_bRecurse) stale.push_back(gallery::kSearchName);
  return stale;
}

void COmbralScan::GalleryPageSet::Begin() {
  const CScanTree& tree = scan.m_run->tree;
  m_model.folders.resize(static_cast<std::size_t>(tree.Count()));
  for (int i = 0; i < tree.Count(); ++i) {
    const int node = tree.NodeOf(i);
    const CScanTree::Folder& folder = tree.Node(node);
    gallery::Folder& entry = m_model.folders[static_cast<std::size_t>(node)];
    entry.parent = folder.parent;
    entry.depth = folder.depth;
    entry.name = node == 0 ? std::string(scan.GetLastPathComponent(scan.m_strPath).GetView()) : folder.name;
    if (node == 0 && entry.name.empty()) entry.name = "Pictures";  // a drive's root
    entry.shared = scan.IsShared(node);
    entry.aliasOf = folder.aliasOf >= 0 ? folder.aliasOf : -1;
    entry.shownInParent = folder.parent < 0 || folder.reach.Covers(tree.Node(folder.parent).listing.Written());
    m_model.order.push_back(node);
  }
}

bool COmbralScan::GalleryPageSet::CanShowFacts(const PendingFolder& pending, const ListedFile& file,
                                               const PicturePreview& preview) const {
  const CAudience pageReaders = scan.m_run->tree.Node(pending.node).listing.Written();
  // A picture's list can only narrow what its bits give the group and
  // others. Its preview was made or kept by the look taken then.
  const platform::AclState acl =
      preview.acl                  ? *preview.acl
      : (file.info.mode & 0044) != 0 ? pending.handle->LookAcl(file.name.GetView())
                                     : platform::AclState::None;
  return CAudience::OfReading(file.info, acl).Covers(pageReaders);
}

void COmbralScan::GalleryPageSet::Entry(PendingFolder& pending, std::size_t index) {
  const ListedFile& file = pending.listing.Files()[index];
  // An item is a dozen fields, strings among them: room for the folder's
  // files at once spares moving them each time the list grows.
  std::vector<gallery::Item>& items = FolderOf(pending).items;
  if (items.empty()) items.reserve(pending.listing.Files().size() - index);
  gallery::Item item;
  item.name = std::string(file.name.GetView());
  item.size = file.size;
  item.modified = file.info.modifySeconds;
  const PicturePreview* preview = index < pending.pictures.size() ? &pending.pictures[index] : nullptr;
  const bool shown = preview && preview->IsShown();
  // A picture the page's readers may not read gives them nothing of its
  // own: no preview, no size, date or camera.
  const bool video = gallery::IsVideoName(item.name);
  if (shown && !CanShowFacts(pending, file, *preview)) {
    scan.Protocol("Private %s left out of the shared index: \"%s\\%s\".", video ? "video" : "picture",
                  pending.folder.GetString(), file.name.GetString());
    item.kind = video ? gallery::Kind::Video : gallery::Kind::Unshown;
  } else if (shown) {
    // A video's poster is shown as a picture's preview is, without a rendition.
    item.kind = video ? gallery::Kind::Video : gallery::Kind::Picture;
    item.previewFile = CPreviewFolder::PreviewName(item.name);
    item.renditionFile = CPreviewFolder::RenditionName(item.name);
    item.previewWidth = preview->width;
    item.previewHeight = preview->height;
    if (const CPreviewFolder::Line* line = pending.previews->Find(item.name)) {
      item.width = line->pictureWidth;
      item.height = line->pictureHeight;
      item.taken = line->taken;
      item.camera = line->camera;
      item.durationMillis = line->durationMillis;
      // With renditions of large pictures off, the viewer shows the
      // originals browsers can show, also where an earlier run made a
      // rendition of one (it stays, and goes with its picture).
      item.rendition = !video && line->HasRendition() &&
                       (scan.m_run->previews.renditionEdge > 0 || platform::HasUnshownPictureExtension(item.name));
      item.renditionWidth = line->renditionWidth;
      item.renditionHeight = line->renditionHeight;
      if (line->HasLarge()) {
        item.largeFile = CPreviewFolder::LargePreviewName(item.name);
        item.largeWidth = line->largeWidth;
        item.largeHeight = line->largeHeight;
      }
    }
  } else if (video) {
    // Without a poster (the library cannot read it, or it is not readable
    // this time) a video keeps its plain tile.
    item.kind = gallery::Kind::Video;
  } else if (scan.IsPreviewable(item.name)) {
    item.kind = gallery::Kind::Unshown;
  }
  items.push_back(std::move(item));
}

void COmbralScan::GalleryPageSet::EndFolder(PendingFolder& pending, const WalkContext& /*walk*/, Totals& /*totals*/) {
  gallery::Folder& folder = FolderOf(pending);
  folder.listed = true;
  folder.hadPage = pending.listing.HasFile(std::string(scan.m_strIndexFile.GetView()));
  if (scan.m_bSortByDate) gallery::SortByDateTaken(folder.items, scan.m_bNewestFirst != 0);
  else gallery::SortByName(folder.items);
}

void COmbralScan::GalleryPageSet::Finish(std::uint64_t /*totalBytes*/, int /*totalImages*/, int& createdFiles) {
  m_model.Summarize();
  gallery::PageSettings settings;
  settings.indexName = std::string(scan.m_strIndexFile.GetView());
  settings.frameName = scan.m_bRecurse ? std::string(scan.m_strFrameFile.GetView()) : std::string();
  settings.byDate = scan.m_bSortByDate != 0;
  // The search index is made from the finished model on a thread of its
  // own while the folder pages are written: neither changes the model, and
  // on a big archive each takes about as long as the other.
  std::future<gallery::SearchFiles> search;
  if (scan.m_bRecurse)
    search = std::async(std::launch::async, [this, &settings] { return gallery::SearchIndex(m_model, settings); });
  const CScanTree& tree = scan.m_run->tree;
  CFolderCursor cursor(tree, scan.m_run->root, scan.m_bFollowLinks != 0);
  createdFiles = 0;
  for (int i = 0; i < tree.Count() && !scan.StopRequested(); ++i) {
    const int node = tree.NodeOf(i);
    const gallery::Folder& folder = m_model.folders[static_cast<std::size_t>(node)];
    const CString path = tree.Node(node).path + "\\" + scan.m_strIndexFile;
    if (!folder.page) {
      // A page an earlier run left where none is wanted now.
      if (scan.m_bRemoveStale && folder.listed && folder.hadPage)
        scan.m_run->stale.AddPage(node, tree.Node(node).path, settings.indexName,
                                  scan.PlaceOf(node, settings.indexName));
      continue;
    }
    int error = 0;
    const platform::SharedFolder handle = cursor.Open(node, error);
    if (!handle) {
      // Changed since the walk listed it: another folder holds its name now.
      scan.Error("%s", ombral::ProblemText("Cannot search path", tree.Node(node).path.GetView(), error).c_str());
      continue;
    }
    CHtmlFile page;
    if (!page.Open(handle, settings.indexName, path.GetString(), scan.m_bDryRun != 0, scan.PageOptions(node))) {
      scan.ReportPageProblem(page, true);
      continue;
    }
    page.Write(gallery::FolderPage(m_model, node, settings));
    scan.HandToWriter(page, path, node);
    ++createdFiles;
    scan.ReportWriterProblems(false);
  }
  scan.ReportWriterProblems(true);
  if (scan.StopRequested()) return;
  // The files of the top folder: the style sheet and the script that every
  // page names, and with the tree the entry page, the search index and the
  // two pages that send old bookmarks on to the entry page.
  WriteTopFile(gallery::kStyleName, gallery::StyleSheet());
  WriteTopFile(gallery::kScriptName, gallery::Script());
  if (!scan.m_bRecurse) {
    WriteSearchIndex(nullptr);
    return;
  }
  const gallery::FolderTree folders = gallery::BuildFolderTree(m_model, settings);
  // The pieces first: the entry page that names them comes after them.
  for (std::size_t n = 0; n < folders.pieces.size() && !scan.StopRequested(); ++n)
    WriteTopFile(gallery::TreePieceName(static_cast<int>(n)).c_str(), folders.pieces[n]);
  m_pieces = folders.pieces.size();
  WriteTopFile(settings.frameName.c_str(), gallery::EntryPage(m_model, settings, folders.html));
  const gallery::SearchFiles index = search.get();
  WriteSearchIndex(&index);
  const std::string redirect = gallery::RedirectPage(settings);
  for (const char* name : ClassicPageSet::kTopFiles) WriteTopFile(name, redirect);
}

void COmbralScan::GalleryPageSet::WriteTopFile(const char* name, std::string_view text) {
  scan.WriteTopLevelPage(name, [text](CHtmlFile& file) { file.Write(text); });
}

void COmbralScan::GalleryPageSet::WriteSearchIndex(const gallery::SearchFiles* index) {
  const platform::SharedFolder& root = scan.m_run->root;
  const std::string folderName = gallery::kSearchFolderName;
  const CString folderPath = scan.m_strPath + "\\" + folderName.c_str();
  std::set<std::string> written;
  if (index) {
    WriteTopFile(gallery::kSearchName, index->manifest);
    const platform::ReplacingFile::Options options = scan.PageOptions(0);
    platform::FsStatus made;
    if (!scan.m_bDryRun) made = root->MakeFolder(folderName, 0755 & options.modeLimit.value_or(0777), options.group);
    if (made.Failed() && !made.Is(EEXIST)) {
      scan.Error("%s", ombral::ProblemText("Cannot create folder", folderPath.GetView(), made.Error()).c_str());
      return;
    }
    // Opened by its name, never through a link: a link there is refused.
    auto folder = std::make_shared<platform::FolderHandle>(root->OpenFolder(folderName));
    if (!folder->IsOpen() && !scan.m_bDryRun) {
      scan.Error("%s", ombral::ProblemText("Cannot open folder", folderPath.GetView(), folder->Error()).c_str());
      return;
    }
    const platform::SharedFolder pieces = std::move(folder);
    for (const auto& [name, text] : index->pieces) {
      if (scan.StopRequested()) return;
      written.insert(name);
      if (!pieces->IsOpen()) continue;  // a dry run before the folder exists
      CHtmlFile file;
      const std::string path = std::string(folderPath.GetView()) + "\\" + name;
      const std::string place = folderName + "/" + name;
      if (!file.Open(pieces, name, path, scan.m_bDryRun != 0, options)) {
        scan.ReportPageProblem(file, true);
        continue;
      }
      file.Write(text);
      if (!file.Close([&](const std::string& digest) { scan.m_run->pages->Note(place, digest); }))
        scan.ReportPageProblem(file, false);
    }
  }
  // What an interrupted run left goes; with --remove-stale, so do the
  // pieces an earlier run wrote that this one did not, each one the page
  // record proves ours.
  const platform::FolderHandle pieces = root->OpenFolder(folderName);
  std::vector<platform::FolderName> names;
  if (!pieces.IsOpen() || pieces.List(names).Failed()) return;
  std::sort(names.begin(), names.end(), [](const platform::FolderName& a, const platform::FolderName& b) { return a.name < b.name; });
  for (const platform::FolderName& entry : names) {
    if (platform::ReplacingFile::IsTemporaryName(entry.name)) {
      if (!scan.m_bDryRun) platform::ReplacingFile::RemoveLeftover(pieces, entry.name);
    } else if (scan.m_bRemoveStale && !written.count(entry.name)) {
      scan.m_run->stale.AddPage(0, scan.m_strPath, entry.name, folderName + "/" + entry.name, folderName);
    }
  }
}
