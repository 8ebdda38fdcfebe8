// COmbralScan: the walk over the folder list, the statistics pass and the
// filter test.
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <deque>
#include <string>
#include <thread>
#include <vector>

#include "pages/PageSet.h"
#include "ProtocolText.h"
#include "ScanRunState.h"
#include "walk/OrderedPrefetch.h"
#include "ombral/HtmlFile.h"
#include "ombral/OmbralScan.h"

namespace {

// How many folders the walk looks at ahead of the page it writes, at most:
// enough to keep the previews' threads busy past folders without pictures.
constexpr std::size_t kMaxFoldersAhead = 64;
// The most threads that list folders ahead, and how many a run takes when
// it is not told (one per core up to that): past a few, the file system's
// own locks, not the threads, set the pace.
constexpr int kMaxWalkThreads = 8;
constexpr unsigned kDefaultMaxWalkThreads = 4;
// How many folders each of them may list ahead of the page being written.
constexpr int kFoldersAheadPerThread = 4;

}  // namespace

int COmbralScan::GetPathStatistics(const char* folder, int logging, std::uint64_t& bytes, int& count) {
  if (logging) Protocol("Get path statistics on path %s...", folder);
  const platform::FolderHandle handle = platform::FolderHandle::Open(folder ? folder : "");
  CFolderListing listing;
  CFolderListing::Rules rules;
  rules.matches = [this](const char* name) { return IsFilterMatch(name, m_strFilter) != 0; };
  if (!handle.IsOpen() || listing.Read(handle, rules).Failed()) return 0;
  bytes = listing.Bytes();
  count = static_cast<int>(listing.Files().size());
  return count;
}

platform::ReplacingFile::Options COmbralScan::PageOptions(int node) const {
  platform::ReplacingFile::Options options;
  if (!m_run) return options;
  options.mayInheritAcl = m_run->tree.Node(node).inheritsAcl;
  const CAudience& listing = m_run->tree.Node(node).listing;
  // For everyone: as pages always were (the old page's permissions, or the
  // process's mask for a new one).
  if (listing.GetKind() == CAudience::Kind::Everyone) return options;
  options.modeLimit = listing.ModeLimit();
  options.group = listing.FileGroup();
  return options;
}

platform::FsStatus COmbralScan::LookThroughLink(int node, const platform::FolderHandle& folder, const std::string& name,
                                                platform::EntryInfo& target) const {
  // Where the link points, as a path from the top: resolved below the top
  // folder, never out of it.
  const CScanTree& tree = m_run->tree;
  std::string text;
  if (const platform::FsStatus read = folder.ReadLink(name, text); read.Failed()) return read;
  std::string path;
  if (!text.empty() && text[0] == '/') {
    const std::string& top = m_run->rootReal;
    if (top.empty() || text.compare(0, top.size(), top) != 0 || (text.size() > top.size() && text[top.size()] != '/'))
      return platform::FsStatus::Of(EXDEV);
    path = text.size() > top.size() + 1 ? text.substr(top.size() + 1) : ".";
  } else {
    path = PlaceOf(node, text);
  }
  platform::AclState acl = platform::AclState::Unknown;
  if (const platform::FsStatus found = m_run->root->LookBeneath(path, target, false, &acl); found.Failed()) return found;
  if (target.kind == platform::EntryKind::Folder) return {};
  // Its size and time go on the page of the link's folder: only when the
  // readers of that page could look at the file themselves (pass to its
  // folder and read it).
  const std::size_t slash = path.rfind('/');
  platform::EntryInfo holder;
  if (m_run->root->LookBeneath(slash == std::string::npos ? "." : path.substr(0, slash), holder, true).Failed())
    return platform::FsStatus::Of(EACCES);
  const int holderNode = tree.NodeOfIdentity(holder.Identity());
  const CAudience readers = tree.Node(node).listing.Written();
  if (holderNode < 0 || !tree.Node(holderNode).through.And(CAudience::OfReading(target, acl)).Covers(readers))
    return platform::FsStatus::Of(EACCES);
  return {};
}

bool COmbralScan::IsShared(int node) const {
  return m_run->tree.Node(node).reach.Covers(m_run->topReaders);
}

void COmbralScan::ReportLeftOut(int node) {
  if (node == 0 || IsShared(node)) return;
  const int parent = m_run->tree.Node(node).parent;
  if (parent > 0 && !IsShared(parent)) return;  // named with the folder above it
  Protocol("Private folder left out of the shared index: \"%s\".", m_run->tree.Node(node).path.GetString());
}

void COmbralScan::WarnBackslashName(const std::string& name, const CString& folder) {
  Warn("Skipped \"%s\" in \"%s\": a name with a backslash cannot be shown in a path.", name.c_str(),
       folder.GetString());
}

std::string COmbralScan::PlaceOf(int node, const std::string& fileName) const {
  std::string place = fileName;
  for (int at = node; at > 0; at = m_run->tree.Node(at).parent) place = m_run->tree.Node(at).name + "/" + place;
  return place;
}

void COmbralScan::BuildFolderList(int recurse, int logging) {
  if (logging) Protocol("Create and sort directory list...");
  const auto notice = [this](CScanTree::Notice kind, const CString& parent, const std::string& name) {
    switch (kind) {
      case CScanTree::Notice::LinkOutside:
        Warn("Not followed: \"%s\\%s\" is a link to a folder outside the scanned tree.", parent.GetString(),
             name.c_str());
        break;
      case CScanTree::Notice::Backslash:
        WarnBackslashName(name, parent);
        break;
      case CScanTree::Notice::OthersMount:
        Warn("Not entered: \"%s\\%s\" is a file system another user mounted.", parent.GetString(), name.c_str());
        break;
      case CScanTree::Notice::OtherFileSystem:
        Warn("Not entered: \"%s\\%s\" is on another file system.", parent.GetString(), name.c_str());
        break;
      case CScanTree::Notice::TooDeep:
        Warn("Not entered: the folders below \"%s\" lie deeper than %d levels.", parent.GetString(),
             CScanTree::kMaxDepth);
        break;
      default:
        break;
    }
  };
  // The page set's own folders at the top (the gallery's search pieces)
  // are no folders of the tree, as its own files there are no pictures.
  const std::vector<std::string> own = m_run->pageSet->HiddenTopFiles();
  m_run->tree.HideAtTop({own.begin(), own.end()});
  m_run->tree.Build(*m_run->root, m_strPath, recurse != 0, m_bFollowLinks != 0, notice,
                    [this] { return StopRequested(); }, m_bOneFileSystem != 0, WalkThreads());
  m_run->topReaders = m_run->tree.Node(0).reach.Written();
  m_run->cursor = std::make_unique<CFolderCursor>(m_run->tree, m_run->root, m_bFollowLinks != 0);
}

std::unique_ptr<COmbralScan::PendingFolder> COmbralScan::ListFolder(int node, const CString& folder,
                                                                    CFolderCursor& cursor) const {
  auto pending = std::make_unique<PendingFolder>();
  pending->node = node;
  pending->folder = folder;
  pending->alias = m_run->tree.Node(node).aliasOf != -1;
  if (pending->alias) return pending;
  pending->handle = cursor.Open(pending->node, pending->openError);
  if (!pending->handle) return pending;
  CFolderListing::Rules rules;
  rules.matches = [this](const char* name) { return IsFilterMatch(name, m_strFilter) != 0; };
  rules.keepNames = m_bRemoveStale != 0;
  rules.removeLeftovers = !m_bDryRun;
  if (pending->node == 0) rules.hidden = m_run->hiddenAtTop;
  if (!m_bFollowLinks)
    rules.lookThrough = [this, node, folder = pending->handle](const std::string& name, platform::EntryInfo& target) {
      return LookThroughLink(node, *folder, name, target);
    };
  // The page set's numbered files in the top folder are none of its pictures either.
  if (pending->node == 0)
    rules.hiddenIf = [pageSet = m_run->pageSet.get()](const std::string& name) { return pageSet->HidesTopFile(name); };
  const platform::FsStatus searched = pending->listing.Read(*pending->handle, rules);
  pending->searched = searched.Ok();
  if (searched.Failed()) pending->openError = searched.Error();
  if (pending->searched && m_run->previews.edge > 0) OpenPreviews(*pending);
  return pending;
}

std::unique_ptr<COmbralScan::PendingFolder> COmbralScan::PrepareFolder(const CString& root,
                                                                       std::unique_ptr<PendingFolder> listed) {
  PreparePreviews(*listed, root);
  return listed;
}

int COmbralScan::WalkThreads() const {
  if (m_nWalkThreads > 0) return std::min(m_nWalkThreads, kMaxWalkThreads);
  return static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, kDefaultMaxWalkThreads));
}

void COmbralScan::FinishFolder(PendingFolder& pending, const WalkContext& walk, Totals& totals) {
  PageSet& pageSet = *m_run->pageSet;
  const CString& folder = pending.folder;
  if (pending.alias) {
    pageSet.Alias(pending, walk);
    return;
  }
  if (walk.logging) Protocol("Search path: %s", folder.GetString());
  if (!pending.searched) {
    // A folder that vanished or cannot be read is reported and passed over;
    // the rest of the tree is still scanned.
    Error("%s", ombral::ProblemText("Cannot search path", folder.GetView(), pending.openError).c_str());
    pageSet.Unreadable(pending, walk);
    return;
  }
  if (walk.recurse) ReportLeftOut(pending.node);
  for (const CFolderListing::Notice& notice : pending.listing.Notices()) {
    if (notice.kind == CFolderListing::Notice::Kind::Leftover)
      Protocol("Removed \"%s\\%s\": left behind by an interrupted scan.", folder.GetString(), notice.name.c_str());
    else
      WarnBackslashName(notice.name, folder);
  }
  CollectPreviews(pending);
  if (!pending.previewFolderProblem.IsEmpty()) {
    if (pending.previewFolderError) Error("%s", pending.previewFolderProblem.GetString());
    else Warn("%s", pending.previewFolderProblem.GetString());
  }

  const std::vector<ListedFile>& files = pending.listing.Files();
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (StopRequested()) {
      pageSet.AbandonFolder();
      return;
    }
    // A picture is found whether or not its page can be written.
    ++totals.images;
    totals.bytes += files[i].size;
    if (!pageSet.OpenFolderPage(pending, walk, totals)) {
      ReportPreview(pending, i);
      continue;
    }
    if (walk.logging) Protocol("    adding image link: %s", files[i].name.GetString());
    pageSet.Entry(pending, i);
    ReportPreview(pending, i);
  }
  pageSet.EndFolder(pending, walk, totals);
  SavePreviewRecord(pending);
  if (m_bRemoveStale) NoteStaleCandidates(pending);
}

void COmbralScan::HandToWriter(CHtmlFile& page, const CString& path, int node) {
  std::string digest;
  if (auto file = page.Release(digest)) {
    CPageRecord* pages = m_run->pages.get();
    m_run->writer->Finish(std::move(file), path.GetString(),
                          [pages, place = PlaceOf(node, m_strIndexFile.GetString()), digest] { pages->Note(place, digest); });
  }
}

int COmbralScan::ScanFolders(CHtmlFile* mainIndex, const char* root, int recurse, int logging,
                             std::uint64_t& totalBytes, int& pathCount, int& createdFiles, int ignoreEmpty) {
  const CString rootText(root);
  if (!m_run->cursor) BuildFolderList(recurse, logging);
  const CScanTree& tree = m_run->tree;
  const int count = tree.Count();
  if (logging) {
    Protocol("%d paths to scan...", count);
    Protocol("%s", "");
  }
  if (!m_run->writer) m_run->writer = std::make_unique<CPageWriter>();
  if (m_run->previews.edge > 0 && !m_run->budget)
    m_run->budget = std::make_unique<platform::PreviewBudget>(static_cast<std::uint64_t>(m_nPreviewMemoryMiB) << 20);
  WalkContext walk;
  walk.mainIndex = mainIndex;
  walk.root = rootText;
  walk.recurse = recurse;
  walk.logging = logging;
  walk.ignoreEmpty = ignoreEmpty;
  Totals totals;
  // While previews are made on other threads, the walk looks at the next
  // folders and queues their previews, up to a few jobs per thread (and
  // kMaxFoldersAhead folders) ahead; without previews every folder is ready
  // at once, so each is looked at just before its page is written.
  // The folders are listed and their files looked at ahead on the walk's
  // threads (each opens them through a cursor of its own), in the order of
  // the list; with one thread, each just when it is due, through the run's
  // cursor.
  m_run->hiddenAtTop.clear();
  if (m_run->pages->GetState() == CPageRecord::State::Ours) m_run->hiddenAtTop.insert(CPageRecord::kName);
  for (const std::string& name : m_run->pageSet->HiddenTopFiles()) m_run->hiddenAtTop.insert(name);
  const int threads = WalkThreads();
  std::vector<std::unique_ptr<CFolderCursor>> cursors;
  for (int i = 0; i < threads && threads > 1; ++i)
    cursors.push_back(std::make_unique<CFolderCursor>(tree, m_run->root, m_bFollowLinks != 0));
  COrderedPrefetch<std::unique_ptr<PendingFolder>> listings(
      threads > 1 ? threads : 0, count, threads * kFoldersAheadPerThread, [&](int index, int worker) {
        CFolderCursor& cursor = cursors.empty() ? *m_run->cursor : *cursors[static_cast<std::size_t>(worker)];
        return ListFolder(tree.NodeOf(index), tree.At(index).path, cursor);
      });
  std::deque<std::unique_ptr<PendingFolder>> pending;
  int next = 0;
  for (int done = 0; done < count && !StopRequested();) {
    while (next < count &&
           (pending.empty() ||
            (!pending.front()->IsReady() && m_run->pool && pending.size() < kMaxFoldersAhead &&
             m_run->pool->Pending() < static_cast<int>(4 * m_run->pool->ThreadCount())))) {
      const int index = next++;
      pending.push_back(PrepareFolder(rootText, listings.Take(index)));
    }
    FinishFolder(*pending.front(), walk, totals);
    pending.pop_front();
    ReportWriterProblems(false);
    OnFolderScanned(++done, count);
  }
  if (StopRequested()) StopPreviews();
  // Every page is whole before the main index names it or a page is
  // proven stale.
  ReportWriterProblems(true);
  totalBytes = totals.bytes;
  pathCount = count - tree.AliasCount();  // each folder once, however many links name it
  createdFiles = totals.createdFiles;
  return totals.images;
}

void COmbralScan::ReportWriterProblems(bool wait) {
  if (!m_run || !m_run->writer) return;
  if (wait) m_run->writer->Drain();
  for (const CPageWriter::Problem& problem : m_run->writer->TakeProblems())
    Error("%s", PageProblemText(problem.path, problem.takenBy, false, problem.error).c_str());
}

void COmbralScan::StopPreviews() {
  if (!m_run) return;
  m_run->stop->store(true);
  // Jobs that already run finish (their previews are noted in the records
  // before they take their names); queued ones do nothing.
  m_run->pool.reset();
}
