// COmbralScan: the gallery -- what the walk collects of each folder, and
// the pages written from it after the walk, when the folders below every
// folder are known (its album cards show their covers and counts).
#include "pages/gallery/GalleryPages.h"
#include "ProtocolText.h"
#include "ScanRunState.h"
#include "ombral/HtmlFile.h"
#include "platform/Preview.h"

void COmbralScan::StartGallery() {
  const CScanTree& tree = m_run->tree;
  auto model = std::make_unique<gallery::Model>();
  model->folders.resize(static_cast<std::size_t>(tree.Count()));
  for (int i = 0; i < tree.Count(); ++i) {
    const int node = tree.NodeOf(i);
    const CScanTree::Folder& folder = tree.Node(node);
    gallery::Folder& entry = model->folders[static_cast<std::size_t>(node)];
    entry.parent = folder.parent;
    entry.depth = folder.depth;
    entry.name = node == 0 ? std::string(GetLastPathComponent(m_strPath).GetView()) : folder.name;
    if (node == 0 && entry.name.empty()) entry.name = "Pictures";  // a drive's root
    entry.shared = IsShared(node);
    entry.aliasOf = folder.aliasOf >= 0 ? folder.aliasOf : -1;
    entry.shownInParent =
        folder.parent < 0 || folder.reach.Covers(tree.Node(folder.parent).listing.Written());
    model->order.push_back(node);
  }
  m_run->gallery = std::move(model);
}

bool COmbralScan::CanShowFacts(const PendingFolder& pending, const ListedFile& file) const {
  const CAudience pageReaders = m_run->tree.Node(pending.node).listing.Written();
  // A picture's list can only narrow what its bits give the group and others.
  const platform::AclState acl = (file.info.mode & 0044) != 0 ? pending.handle->LookAcl(file.name.GetView())
                                                               : platform::AclState::None;
  return CAudience::OfReading(file.info, acl).Covers(pageReaders);
}

void COmbralScan::CollectGalleryFolder(const PendingFolder& pending, int logging, Totals& totals) {
  gallery::Folder& folder = m_run->gallery->folders[static_cast<std::size_t>(pending.node)];
  folder.listed = true;
  folder.hadPage = pending.listing.HasFile(std::string(m_strIndexFile.GetView()));
  const std::vector<ListedFile>& files = pending.listing.Files();
  folder.items.reserve(files.size());
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (StopRequested()) return;
    const ListedFile& file = files[i];
    if (logging) Protocol("    adding image link: %s", file.name.GetString());
    ReportPreview(pending, i);
    gallery::Item item;
    item.name = std::string(file.name.GetView());
    item.size = file.size;
    item.modified = file.info.modifySeconds;
    const PicturePreview* preview = i < pending.pictures.size() ? &pending.pictures[i] : nullptr;
    const bool shown = preview && (preview->kind == PicturePreview::Kind::Kept || preview->kind == PicturePreview::Kind::Made);
    // A picture the page's readers may not read gives them nothing of its
    // own: no preview, no size, date or camera.
    if (shown && !CanShowFacts(pending, file)) {
      Protocol("Private picture left out of the shared index: \"%s\\%s\".", pending.folder.GetString(),
               file.name.GetString());
      item.kind = gallery::Kind::Unshown;
    } else if (shown) {
      item.kind = gallery::Kind::Picture;
      item.previewFile = CPreviewFolder::PreviewName(item.name);
      item.renditionFile = CPreviewFolder::RenditionName(item.name);
      item.previewWidth = preview->width;
      item.previewHeight = preview->height;
      if (const CPreviewFolder::Line* line = pending.previews->Find(item.name)) {
        item.width = line->pictureWidth;
        item.height = line->pictureHeight;
        item.taken = line->taken;
        item.camera = line->camera;
        item.rendition = line->HasRendition();
      }
    } else if (IsPreviewable(item.name)) {
      item.kind = gallery::Kind::Unshown;
    } else if (gallery::IsVideoName(item.name)) {
      item.kind = gallery::Kind::Video;
    }
    folder.items.push_back(std::move(item));
    ++totals.images;
    totals.bytes += file.size;
  }
  if (m_bSortByDate) gallery::SortByDateTaken(folder.items);
}

int COmbralScan::WriteGallery() {
  gallery::Model& model = *m_run->gallery;
  model.Summarize();
  gallery::PageSettings settings;
  settings.indexName = std::string(m_strIndexFile.GetView());
  settings.frameName = m_bRecurse ? std::string(m_strFrameFile.GetView()) : std::string();
  settings.byDate = m_bSortByDate != 0;
  const CScanTree& tree = m_run->tree;
  CFolderCursor cursor(tree, m_run->root, m_bFollowLinks != 0);
  int created = 0;
  for (int i = 0; i < tree.Count() && !StopRequested(); ++i) {
    const int node = tree.NodeOf(i);
    const gallery::Folder& folder = model.folders[static_cast<std::size_t>(node)];
    const CString path = tree.Node(node).path + "\\" + m_strIndexFile;
    if (!folder.page) {
      // A page an earlier run left where none is wanted now.
      if (m_bRemoveStale && folder.listed && folder.hadPage)
        m_run->stale.AddPage(node, tree.Node(node).path, settings.indexName, PlaceOf(node, settings.indexName));
      continue;
    }
    int error = 0;
    const platform::SharedFolder handle = cursor.Open(node, error);
    if (!handle) {
      // Changed since the walk listed it: another folder holds its name now.
      Error("%s", ombral::ProblemText("Cannot search path", tree.Node(node).path.GetView(), error).c_str());
      continue;
    }
    CHtmlFile page;
    if (!page.Open(handle, settings.indexName, path.GetString(), m_bDryRun != 0, PageOptions(node))) {
      ReportPageProblem(page, true);
      continue;
    }
    page.Write(gallery::FolderPage(model, node, settings));
    std::string digest;
    if (auto file = page.Release(digest)) {
      CPageRecord* pages = m_run->pages.get();
      m_run->writer->Finish(std::move(file), path.GetString(),
                            [pages, place = PlaceOf(node, settings.indexName), digest] { pages->Note(place, digest); });
    }
    ++created;
    ReportWriterProblems(false);
  }
  ReportWriterProblems(true);
  if (StopRequested()) return created;
  // The files of the top folder: the style sheet and the script that every
  // page names, and with the tree the entry page, the search index and the
  // two pages that send old bookmarks on to the entry page.
  WriteGalleryTopFile(gallery::kStyleName, gallery::StyleSheet());
  WriteGalleryTopFile(gallery::kScriptName, gallery::Script());
  if (m_bRecurse) {
    WriteGalleryTopFile(settings.frameName.c_str(), gallery::EntryPage(model, settings));
    WriteGalleryTopFile(gallery::kSearchName, gallery::SearchIndex(model, settings));
    WriteGalleryTopFiles(gallery::RedirectPage(settings));
  }
  return created;
}

void COmbralScan::WriteGalleryTopFile(const char* name, std::string_view text) {
  WriteTopLevelPage(name, [text](CHtmlFile& file) { file.Write(text); });
}
