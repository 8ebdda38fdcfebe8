// The classic pages: written folder by folder while the walk goes, the main
// index naming each folder as it comes.
#include "pages/classic/ClassicPageSet.h"

#include "pages/PageRecord.h"
#include "pages/gallery/GalleryPageSet.h"
#include "pages/gallery/GalleryTree.h"

PreviewPolicy COmbralScan::ClassicPageSet::Previews(int askedEdge) const {
  PreviewPolicy policy;
  policy.edge = askedEdge > 0 ? askedEdge : 0;
  return policy;
}

std::vector<std::string> COmbralScan::ClassicPageSet::StaleTopFiles() const {
  // A gallery's files, from a run that wrote one here: the pieces of its
  // folder tree and of its search index as its record names them.
  std::vector<std::string> stale;
  for (const char* name : GalleryPageSet::kTopFiles)
    if (std::string_view(name) != gallery::kSearchFolderName) stale.push_back(name);
  for (std::string& piece : scan.m_run->pages->TopPlaces(gallery::IsTreePieceName)) stale.push_back(std::move(piece));
  for (std::string& piece : scan.m_run->pages->PlacesIn(gallery::kSearchFolderName)) stale.push_back(std::move(piece));
  return stale;
}

void COmbralScan::ClassicPageSet::Begin() {
  if (!scan.m_bRecurse) return;
  const std::string indexPath = std::string(scan.m_strPath.GetView()) + "\\" + kMainIndexName;
  if (m_mainIndex.Open(scan.m_run->root, kMainIndexName, indexPath, scan.m_bDryRun != 0, scan.PageOptions(0))) {
    scan.WriteIndexHeader(m_mainIndex, scan.m_strPath, 1, 0, 0, 0);
  } else {
    // A link or a file of somebody else's in its place must not stop the
    // whole tree from getting its pages: the run goes on without a main
    // index, and says so.
    scan.ReportPageProblem(m_mainIndex, true);
  }
  // The frameset and welcome pages are extras: when one cannot be written
  // the run goes on without it, and says so.
  scan.WriteTopLevelPage(scan.m_strFrameFile.GetString(),
                         [this](CHtmlFile& page) { scan.WriteFramesetPage(page, kMainIndexName, kWelcomeName); });
  scan.WriteTopLevelPage(kWelcomeName, [this](CHtmlFile& page) { scan.WriteWelcomePage(page); });
}

void COmbralScan::ClassicPageSet::Alias(const PendingFolder& pending, const WalkContext& walk) {
  // The main index names the link where it stands, and links to the page of
  // the folder it leads to, when that folder gets one.
  const CScanTree& tree = scan.m_run->tree;
  const int target = tree.Node(pending.node).aliasOf;
  if (!walk.mainIndex || target < 0 || !scan.IsShared(pending.node) || !scan.IsShared(target)) return;
  int error = 0;
  const platform::SharedFolder handle = scan.m_run->cursor->Open(target, error);
  CFolderListing listing;
  CFolderListing::Rules rules;
  rules.matches = [this](const char* name) { return scan.IsFilterMatch(name, scan.m_strFilter) != 0; };
  if (!handle || listing.Read(*handle, rules).Failed() || listing.Files().empty()) return;
  const CString page = tree.Node(target).path + "\\" + scan.m_strIndexFile;
  scan.WriteMainIndexAlias(*walk.mainIndex, walk.root, pending.folder, page);
}

void COmbralScan::ClassicPageSet::Unreadable(const PendingFolder& pending, const WalkContext& walk) {
  if (!walk.ignoreEmpty && walk.mainIndex && scan.IsShared(pending.node))
    scan.WriteMainIndexLine(*walk.mainIndex, walk.root, pending.folder, nullptr);
}

bool COmbralScan::ClassicPageSet::OpenFolderPage(PendingFolder& pending, const WalkContext& walk, Totals& totals) {
  if (!m_page) m_page = std::make_unique<CHtmlFile>();
  if (m_page->IsOpen()) return true;
  const CString pagePath = pending.folder + "\\" + scan.m_strIndexFile;
  if (!m_page->Open(pending.handle, scan.m_strIndexFile.GetString(), pagePath.GetString(), scan.m_bDryRun != 0,
                    scan.PageOptions(pending.node))) {
    // The next matching file of this folder tries again.
    scan.ReportPageProblem(*m_page, true);
    return false;
  }
  ++totals.createdFiles;
  m_images = 0;
  m_bytes = 0;
  // The statistics come from the same look at the folder as the entries,
  // so the head and the footer always agree.
  if (walk.logging) scan.Protocol("Get path statistics on path %s...", pending.folder.GetString());
  scan.WriteIndexHeader(*m_page, pending.folder, 0, walk.recurse, pending.listing.Bytes(),
                        static_cast<int>(pending.listing.Files().size()));
  return true;
}

void COmbralScan::ClassicPageSet::Entry(PendingFolder& pending, std::size_t index) {
  const ListedFile& file = pending.listing.Files()[index];
  const PicturePreview* preview = index < pending.pictures.size() ? &pending.pictures[index] : nullptr;
  if (preview && preview->IsShown()) {
    const std::string link = pending.previews->PreviewLink(file.name.GetString());
    scan.WritePreviewEntry(*m_page, m_images, file.name, file.size, link.c_str(), preview->width, preview->height);
  } else {
    scan.WriteImageEntry(*m_page, m_images, file.name, file.size);
  }
  ++m_images;
  m_bytes += file.size;
}

void COmbralScan::ClassicPageSet::EndFolder(PendingFolder& pending, const WalkContext& walk, Totals& /*totals*/) {
  const CString pagePath = pending.folder + "\\" + scan.m_strIndexFile;
  const std::unique_ptr<CHtmlFile> page = std::move(m_page);
  if (page && page->IsOpen()) {
    scan.WriteIndexFooter(*page, m_images, 0, static_cast<double>(m_bytes));
    scan.HandToWriter(*page, pagePath, pending.node);
    if (walk.mainIndex && scan.IsShared(pending.node))
      scan.WriteMainIndexLine(*walk.mainIndex, walk.root, pending.folder, pagePath);
  } else if (!walk.ignoreEmpty && walk.mainIndex && scan.IsShared(pending.node)) {
    scan.WriteMainIndexLine(*walk.mainIndex, walk.root, pending.folder, nullptr);
  }
}

void COmbralScan::ClassicPageSet::NoteStalePage(const PendingFolder& pending) {
  // A page only where no page was wanted: a page that could not be
  // written this time is not stale.
  const CFolderListing& listing = pending.listing;
  const std::string pageName(scan.m_strIndexFile.GetView());
  if (listing.Files().empty() && listing.HasFile(pageName))
    scan.m_run->stale.AddPage(pending.node, pending.folder, pageName, scan.PlaceOf(pending.node, pageName));
}

void COmbralScan::ClassicPageSet::Finish(std::uint64_t totalBytes, int totalImages, int& /*createdFiles*/) {
  if (!m_mainIndex.IsOpen()) return;
  scan.WriteIndexFooter(m_mainIndex, totalImages, 1, static_cast<double>(totalBytes));
  if (!m_mainIndex.Close([this](const std::string& digest) { scan.m_run->pages->Note(kMainIndexName, digest); }))
    scan.ReportPageProblem(m_mainIndex, false);
}
