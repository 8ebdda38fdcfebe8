// COmbralScan: the walk over the folder list, the statistics pass and the
// filter test.
#include <string>

#include "ombral/HtmlFile.h"
#include "ombral/OmbralScan.h"
#include "platform/Crt.h"
#include "zncore/ZnStringArray.h"

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

void COmbralScan::ScanOneFolder(CHtmlFile* mainIndex, const CString& root, const CString& folder, int recurse,
                                int logging, int ignoreEmpty, Totals& totals) {
  if (logging) Protocol("Search path: %s", folder.GetString());
  const CString pagePath = folder + "\\" + m_strIndexFile;
  CFileFind finder;
  if (!finder.FindFile(folder + "\\*.*")) {
    // A folder that vanished or cannot be read is reported and passed over;
    // the rest of the tree is still scanned.
    Protocol("Cannot search path \"%s\"!", folder.GetString());
    if (!ignoreEmpty && mainIndex) WriteMainIndexLine(*mainIndex, root, folder, nullptr);
    return;
  }
  CHtmlFile page;
  int folderImages = 0;
  std::uint64_t folderBytes = 0;
  BOOL more = TRUE;
  while (more) {
    more = finder.FindNextFile();
    if (finder.IsDots() || finder.IsDirectory()) continue;
    const CString name = finder.GetFileName();
    if (!IsFilterMatch(name, m_strFilter)) continue;
    if (!page.IsOpen()) {
      if (!page.Open(pagePath)) {
        // The next matching file of this folder tries again.
        Protocol("Cannot open file \"%s\" with write permission!", pagePath.GetString());
        continue;
      }
      ++totals.createdFiles;
      std::uint64_t statBytes = 0;
      int statCount = 0;
      GetPathStatistics(folder, logging, statBytes, statCount);
      WriteIndexHeader(page, folder, 0, recurse, statBytes, statCount);
    }
    if (logging) Protocol("    adding image link: %s", name.GetString());
    const std::uint64_t size = finder.GetLength();
    WriteImageEntry(page, folderImages, name, size);
    ++folderImages;
    folderBytes += size;
    totals.bytes += size;
  }
  finder.Close();

  if (page.IsOpen()) {
    WriteIndexFooter(page, folderImages, 0, static_cast<double>(folderBytes));
    if (!page.Close()) Protocol("Cannot write file \"%s\"!", pagePath.GetString());
    if (mainIndex) WriteMainIndexLine(*mainIndex, root, folder, pagePath);
  } else if (!ignoreEmpty && mainIndex) {
    WriteMainIndexLine(*mainIndex, root, folder, nullptr);
  }
  totals.images += folderImages;
}

int COmbralScan::ScanFolders(CHtmlFile* mainIndex, const char* root, int recurse, int logging,
                             std::uint64_t& totalBytes, int& pathCount, int& createdFiles, int ignoreEmpty) {
  if (logging) Protocol("Create and sort directory list...");
  CZnStringArray folders;
  folders.FileList(root, nullptr, 1, recurse, 1, 1, 0);
  folders.InsertAt(0, root);
  if (logging) {
    Protocol("%d paths to scan...", folders.GetCount());
    Protocol("%s", "");
  }
  const CString rootText(root);
  Totals totals;
  const int count = folders.GetCount();
  for (int i = 0; i < count; ++i) {
    ScanOneFolder(mainIndex, rootText, folders.GetAt(i), recurse, logging, ignoreEmpty, totals);
    OnFolderScanned(i + 1, count);
  }
  totalBytes = totals.bytes;
  pathCount = count;
  createdFiles = totals.createdFiles;
  return totals.images;
}
