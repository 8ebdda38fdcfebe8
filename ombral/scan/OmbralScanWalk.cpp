// COmbralScan: the walk over the folder list, the statistics pass and the
// filter test.
#include <deque>
#include <set>
#include <string>

#include "ScanRunState.h"
#include "ombral/HtmlFile.h"
#include "ombral/OmbralScan.h"
#include "platform/Crt.h"
#include "platform/FileFind.h"
#include "zncore/ZnStringArray.h"

namespace {

// How many folders the walk looks at ahead of the page it writes, at most:
// enough to keep the previews' threads busy past folders without pictures.
constexpr std::size_t kMaxFoldersAhead = 64;

}  // namespace

struct COmbralScan::Totals {
  std::uint64_t bytes = 0;
  int images = 0;
  int createdFiles = 0;
};

int COmbralScan::IsFilterMatch(const char* fileName, const char* filter) const {
  std::string ext = platform::SplitPath(fileName ? fileName : "").ext;
  ext.erase(0, ext.find_first_not_of('.') == std::string::npos ? ext.size() : ext.find_first_not_of('.'));
  std::string upperFilter = filter ? filter : "";
  platform::AsciiUpper(ext);
  platform::AsciiUpper(upperFilter);
  // A substring test: "PG" is in "JPG", and "" (no extension) is in any filter.
  return upperFilter.find(ext) != std::string::npos ? 1 : 0;
}

int COmbralScan::GetPathStatistics(const char* folder, int logging, std::uint64_t& bytes, int& count) {
  if (logging) Protocol("Get path statistics on path %s...", folder);
  CFileFind finder;
  if (!finder.FindFile((std::string(folder) + "\\*.*").c_str())) return 0;
  std::uint64_t sum = 0;
  int found = 0;
  BOOL more = TRUE;
  while (more) {
    more = finder.FindNextFile();
    if (finder.IsDots() || finder.IsDirectory()) continue;
    if (!IsFilterMatch(finder.GetFileName(), m_strFilter)) continue;
    ++found;
    sum += finder.GetLength();
  }
  bytes = sum;
  count = found;
  return found;
}

void COmbralScan::LeaveOutPreviewFolders(CZnStringArray& folders, const CString& root) const {
  // Preview folders are the scan's own output, never folders of the tree.
  // A folder is left out when it is a preview folder with its record, or
  // lies below one; the root itself is scanned whatever its name.
  const std::string mark = std::string("\\") + CPreviewFolder::kFolderName;
  const std::string_view rootText = root.GetView();
  std::set<std::string> hidden;
  std::vector<int> leftOut;
  for (int i = 0; i < folders.GetCount(); ++i) {
    const CString folder = folders.GetAt(i);
    const std::string path(folder.GetView());
    bool leaveOut = false;
    if (i > 0) {
      const std::size_t start = path.compare(0, rootText.size(), rootText) == 0 ? rootText.size() : 0;
      for (std::size_t pos = path.find(mark, start); pos != std::string::npos && !leaveOut;
           pos = path.find(mark, pos + 1)) {
        const std::size_t end = pos + mark.size();
        if (end == path.size()) {
          leaveOut = CPreviewFolder::IsPreviewFolder(folder);
          if (leaveOut) hidden.insert(path);
        } else if (path[end] == '\\') {
          // The list is sorted by path, so a preview folder comes before
          // the folders below it.
          leaveOut = hidden.count(path.substr(0, end)) != 0;
        }
      }
    }
    if (leaveOut) leftOut.push_back(i);
  }
  for (auto it = leftOut.rbegin(); it != leftOut.rend(); ++it) folders.RemoveAt(*it);
}

std::unique_ptr<COmbralScan::PendingFolder> COmbralScan::PrepareFolder(const CString& root, const CString& folder) {
  auto pending = std::make_unique<PendingFolder>();
  pending->folder = folder;
  pending->searched = pending->listing.Read(
      folder, [this](const char* name) { return IsFilterMatch(name, m_strFilter) != 0; }, m_bRemoveStale != 0);
  if (pending->searched && m_nPreviewEdge > 0) PreparePreviews(*pending, root);
  return pending;
}

void COmbralScan::FinishFolder(PendingFolder& pending, CHtmlFile* mainIndex, const CString& root, int recurse,
                               int logging, int ignoreEmpty, Totals& totals) {
  const CString& folder = pending.folder;
  if (logging) Protocol("Search path: %s", folder.GetString());
  if (!pending.searched) {
    // A folder that vanished or cannot be read is reported and passed over;
    // the rest of the tree is still scanned.
    Protocol("Cannot search path \"%s\"!", folder.GetString());
    if (!ignoreEmpty && mainIndex) WriteMainIndexLine(*mainIndex, root, folder, nullptr);
    return;
  }
  CollectPreviews(pending);
  if (!pending.previewFolderProblem.IsEmpty()) Protocol("%s", pending.previewFolderProblem.GetString());

  const CString pagePath = folder + "\\" + m_strIndexFile;
  const std::vector<ListedFile>& files = pending.listing.Files();
  CHtmlFile page;
  int folderImages = 0;
  std::uint64_t folderBytes = 0;
  for (std::size_t i = 0; i < files.size(); ++i) {
    const ListedFile& file = files[i];
    if (!page.IsOpen()) {
      if (!page.Open(pagePath)) {
        // The next matching file of this folder tries again.
        Protocol("Cannot open file \"%s\" with write permission!", pagePath.GetString());
        ReportPreview(pending, i);
        continue;
      }
      ++totals.createdFiles;
      // The statistics come from the same look at the folder as the
      // entries, so the head and the footer always agree.
      if (logging) Protocol("Get path statistics on path %s...", folder.GetString());
      WriteIndexHeader(page, folder, 0, recurse, pending.listing.Bytes(), static_cast<int>(files.size()));
    }
    if (logging) Protocol("    adding image link: %s", file.name.GetString());
    const PicturePreview* preview = i < pending.pictures.size() ? &pending.pictures[i] : nullptr;
    if (preview && (preview->kind == PicturePreview::Kind::Kept || preview->kind == PicturePreview::Kind::Made)) {
      const std::string link = pending.previews->PreviewLink(file.name.GetString());
      WritePreviewEntry(page, folderImages, file.name, file.size, link.c_str(), preview->width, preview->height);
    } else {
      WriteImageEntry(page, folderImages, file.name, file.size);
    }
    ReportPreview(pending, i);
    ++folderImages;
    folderBytes += file.size;
    totals.bytes += file.size;
  }

  if (page.IsOpen()) {
    WriteIndexFooter(page, folderImages, 0, static_cast<double>(folderBytes));
    if (!page.Close()) Protocol("Cannot write file \"%s\"!", pagePath.GetString());
    if (mainIndex) WriteMainIndexLine(*mainIndex, root, folder, pagePath);
  } else if (!ignoreEmpty && mainIndex) {
    WriteMainIndexLine(*mainIndex, root, folder, nullptr);
  }
  totals.images += folderImages;
  SavePreviewRecord(pending);
  if (m_bRemoveStale) NoteStaleCandidates(pending);
}

int COmbralScan::ScanFolders(CHtmlFile* mainIndex, const char* root, int recurse, int logging,
                             std::uint64_t& totalBytes, int& pathCount, int& createdFiles, int ignoreEmpty) {
  if (logging) Protocol("Create and sort directory list...");
  const CString rootText(root);
  CZnStringArray folders;
  folders.FileList(root, nullptr, 1, recurse, 1, 1, 0);
  folders.InsertAt(0, root);
  LeaveOutPreviewFolders(folders, rootText);
  if (logging) {
    Protocol("%d paths to scan...", folders.GetCount());
    Protocol("%s", "");
  }
  if (!m_run) m_run = std::make_unique<RunState>(rootText, m_bDryRun != 0);
  Totals totals;
  const int count = folders.GetCount();
  // While previews are made on other threads, the walk looks at the next
  // folders and queues their previews, up to a few jobs per thread (and
  // kMaxFoldersAhead folders) ahead;
  // without previews every folder is ready at once, so each is looked at
  // just before its page is written.
  std::deque<std::unique_ptr<PendingFolder>> pending;
  int next = 0;
  for (int done = 0; done < count;) {
    while (next < count &&
           (pending.empty() ||
            (!pending.front()->IsReady() && m_run->pool && pending.size() < kMaxFoldersAhead &&
             m_run->pool->Pending() < static_cast<int>(4 * m_run->pool->ThreadCount())))) {
      pending.push_back(PrepareFolder(rootText, folders.GetAt(next++)));
    }
    FinishFolder(*pending.front(), mainIndex, rootText, recurse, logging, ignoreEmpty, totals);
    pending.pop_front();
    OnFolderScanned(++done, count);
  }
  totalBytes = totals.bytes;
  pathCount = count;
  createdFiles = totals.createdFiles;
  return totals.images;
}
