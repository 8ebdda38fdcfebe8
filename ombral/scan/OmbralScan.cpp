// COmbralScan: the run as a whole -- settings, validation, the tree's lock,
// top-level pages and the closing statistics.
#include "ombral/OmbralScan.h"

#include <cerrno>
#include <cstdarg>
#include <cstring>

#include "pages/PageSet.h"
#include "pages/gallery/GalleryTree.h"
#include "ProtocolText.h"
#include "platform/FsStatus.h"
#include "ScanRunState.h"
#include "ombral/HtmlFile.h"
#include "platform/Clock.h"
#include "platform/Crt.h"
#include "platform/FileFind.h"
#include "platform/Drives.h"
#include "platform/FileSystem.h"
#include "platform/ReplacingFile.h"
#include "platform/RunLock.h"

namespace {


std::string FormatText(const char* format, va_list args) {
  CString text;
  text.FormatV(format, args);
  return ombral::EscapeForProtocol(text.GetView());
}

}  // namespace

COmbralScan::COmbralScan()
    : m_strIndexFile("_FileIndex.html"),
      m_strFrameFile("_FileIndexFrame.html"),
      m_strFilter(kDefaultFilter) {
  // The scan's files are written beside their names under this prefix, and
  // an interrupted run's are known by it.
  platform::ReplacingFile::SetTemporaryPrefix(".#ombral.");
}

COmbralScan::~COmbralScan() = default;

COmbralScan::RunState::~RunState() = default;

void COmbralScan::Report(LineKind kind, const char* format, va_list args) {
  m_strMessage = FormatText(format, args).c_str();
  if (kind == LineKind::Error) ++m_nErrors;
  if (kind == LineKind::Warning) ++m_nWarnings;
  AddProtocolLine(m_strMessage);
  if (kind != LineKind::Plain) OnProblem(kind == LineKind::Error, m_strMessage);
}

void COmbralScan::Protocol(const char* format, ...) {
  va_list args;
  va_start(args, format);
  Report(LineKind::Plain, format, args);
  va_end(args);
}

void COmbralScan::Error(const char* format, ...) {
  va_list args;
  va_start(args, format);
  Report(LineKind::Error, format, args);
  va_end(args);
}

void COmbralScan::Warn(const char* format, ...) {
  va_list args;
  va_start(args, format);
  Report(LineKind::Warning, format, args);
  va_end(args);
}

void COmbralScan::Cancel(const char* format, ...) {
  va_list args;
  va_start(args, format);
  m_strMessage = FormatText(format, args).c_str();
  va_end(args);
  ShowWarning(m_strMessage);
  AddProtocolLine(m_strMessage);
  SetStatusText("SCAN CANCELED!");
}

int COmbralScan::MatchesFilter(const char* fileName, const char* filter) {
  std::string ext = platform::SplitPath(fileName ? fileName : "").ext;
  ext.erase(0, ext.find_first_not_of('.') == std::string::npos ? ext.size() : ext.find_first_not_of('.'));
  std::string upperFilter = filter ? filter : "";
  platform::AsciiUpper(ext);
  platform::AsciiUpper(upperFilter);
  // A substring test: "PG" is in "JPG", and "" (no extension) is in any filter.
  return upperFilter.find(ext) != std::string::npos ? 1 : 0;
}

int COmbralScan::IsFilterMatch(const char* fileName, const char* filter) const {
  return MatchesFilter(fileName, filter);
}

std::string COmbralScan::CheckPageName(const char* name, const char* filter, bool frame) {
  const std::string text = name ? name : "";
  const char* what = frame ? "The html frame filename" : "The index filename";
  CString message;
  if (text.find_first_of("\\*?") != std::string::npos) {
    message.Format("%s \"%s\" is not a valid filename (contains invalid characters).", what, text.c_str());
    return std::string(message.GetView());
  }
  // Names the scan writes or keeps for itself in the folders it scans.
  static const std::vector<std::string> ownNames = [] {
    std::vector<std::string> names = PageSet::AllTopFiles();
    names.insert(names.end(), {CPreviewFolder::kFolderName, CPreviewFolder::kRecordName, CPageRecord::kName});
    return names;
  }();
  bool own = false;
  for (const std::string& ownName : ownNames) own = own || text == ownName;
  own = own || gallery::IsTreePieceName(text);
  // A page is written into every folder under this name: it must be one
  // name, and never the name of a file the page lists or the scan keeps.
  // Each reason has its own message.
  const char* reason = nullptr;
  if (text.empty() || text == "." || text == ".." || text.find('/') != std::string::npos)
    reason = "it must be a plain file name";
  else if (MatchesFilter(text.c_str(), filter))
    reason = "the filter matches it";
  else if (own)
    reason = "Ombral uses that name for its own files";
  if (reason) {
    message.Format("%s \"%s\" is not a valid filename (%s).", what, text.c_str(), reason);
    return std::string(message.GetView());
  }
  return {};
}

bool COmbralScan::ValidateSettings() {
  if (m_strPath.IsEmpty()) {
    Cancel("Need a valid path statement to create the index.");
    return false;
  }
  CFileFind finder;
  if (!finder.FindFile(m_strPath + "\\*.*")) {
    // A folder that is there but may not be read says so, and why.
    const int error = errno;
    platform::FileStat stat;
    const bool exists = platform::GetFileStat(m_strPath.GetView(), stat);
    if (exists && stat.isDirectory && error != ENOENT && error != 0)
      Cancel("Path \"%s\" cannot be read: %s.", m_strPath.GetString(), std::strerror(error));
    else if (exists && !stat.isDirectory)
      Cancel("Path \"%s\" is not a folder.", m_strPath.GetString());
    else
      Cancel("Path \"%s\" could not be found.", m_strPath.GetString());
    return false;
  }
  finder.Close();
  for (const bool frame : {false, true}) {
    const std::string problem = CheckPageName(frame ? m_strFrameFile : m_strIndexFile, m_strFilter, frame);
    if (!problem.empty()) {
      Cancel("%s", problem.c_str());
      return false;
    }
  }
  if (m_strIndexFile == m_strFrameFile) {
    Cancel("The html frame filename \"%s\" is not a valid filename (it is the index filename).",
           m_strFrameFile.GetString());
    return false;
  }
  auto root = std::make_shared<platform::FolderHandle>(platform::FolderHandle::Open(m_strPath.GetView()));
  if (!root->IsOpen()) {
    Cancel("Path \"%s\" cannot be read: %s.", m_strPath.GetString(), std::strerror(root->Error()));
    return false;
  }
  if (!m_bOverwrite) {
    for (const CString* name : {&m_strIndexFile, &m_strFrameFile}) {
      platform::EntryInfo info;
      if (root->Look(name->GetView(), info).Ok()) {
        Cancel("The file \"%s\" already exists, please choose \"overwrite\".", name->GetString());
        return false;
      }
    }
  }
  m_run->rootReal = root->RealPath();
  m_run->root = std::move(root);
  return true;
}

bool COmbralScan::LockTree() {
  // One scan per tree: a second one would take the first's temporary files
  // for leftovers and write the same pages. The lock is the scan's user's
  // own, so no reader of the tree can hold it.
  m_run->lock = platform::RunLock::Acquire(*m_run->root, "ombral");
  if (m_run->lock.IsHeld()) return true;
  if (m_run->lock.Error() == EWOULDBLOCK)
    Cancel("Another scan of \"%s\" is running. Try again when it has ended.", m_strPath.GetString());
  else
    Cancel("Cannot lock the scan of \"%s\": %s.", m_strPath.GetString(), platform::ErrorText(m_run->lock.Error()).c_str());
  return false;
}

// The protocol line of a page that could not be opened or written.
std::string PageProblemText(const std::string& path, platform::EntryKind takenBy, bool opening, int error) {
  const char* holder = nullptr;
  switch (takenBy) {
    case platform::EntryKind::Link: holder = "a symbolic link"; break;
    case platform::EntryKind::Folder: holder = "a folder"; break;
    case platform::EntryKind::Special: holder = "a pipe, socket or device"; break;
    default: break;
  }
  CString text;
  if (holder) text.Format("Cannot write file \"%s\": %s holds its name.", path.c_str(), holder);
  else if (opening) return ombral::ProblemText("Cannot open file", path, error, " with write permission");
  else return ombral::ProblemText("Cannot write file", path, error);
  return std::string(text.GetView());
}

void COmbralScan::ReportPageProblem(const CHtmlFile& page, bool opening) {
  Error("%s", PageProblemText(page.GetPath(), page.TakenBy(), opening, page.Error()).c_str());
}

bool COmbralScan::WriteTopLevelPage(const char* name, const std::function<void(CHtmlFile&)>& write) {
  CHtmlFile page;
  const std::string path = std::string(m_strPath.GetView()) + "\\" + name;
  if (!page.Open(m_run->root, name, path, m_bDryRun != 0, PageOptions(0))) {
    ReportPageProblem(page, true);
    return false;
  }
  write(page);
  if (!page.Close([&](const std::string& digest) { m_run->pages->Note(name, digest); })) {
    ReportPageProblem(page, false);
    return false;
  }
  return true;
}

void COmbralScan::ReportStatistics(std::uint64_t totalBytes, int totalImages, int pathCount, int createdFiles) {
  m_summary.createdFiles = m_bDryRun ? 0 : createdFiles;
  m_summary.images = totalImages;
  m_summary.bytes = totalBytes;
  m_summary.paths = pathCount;
  if (m_run) {
    m_summary.previews = m_nPreviewEdge > 0;
    m_summary.previewsMade = m_run->previewsMade;
    m_summary.previewsKept = m_run->previewsKept;
    m_summary.previewsFoundAgain = m_run->previewsFoundAgain;
    m_summary.stale = m_bRemoveStale != 0;
    m_summary.staleFiles = m_run->staleFiles;
  }
  Protocol("%s", "");
  // A dry run writes nothing, whatever pages it went through.
  Protocol("CREATED FILES: %d", m_bDryRun ? 0 : createdFiles);
  // Kilobytes rounded as the main index rounds them.
  Protocol("FOUND IMAGES: %d with %.0f KB", totalImages, static_cast<double>(totalBytes) * (1.0 / 1024));
  Protocol("FOUND PATHS: %d", pathCount);
  if (m_nPreviewEdge > 0 && m_run && m_run->previews.findMoved)
    Protocol("PREVIEWS: %d made, %d unchanged, %d found again by content", m_run->previewsMade, m_run->previewsKept,
             m_run->previewsFoundAgain);
  else if (m_nPreviewEdge > 0 && m_run)
    Protocol("PREVIEWS: %d made, %d unchanged", m_run->previewsMade, m_run->previewsKept);
  if (m_bRemoveStale && m_run) {
    if (m_bDryRun) Protocol("STALE FILES: %d (dry run, nothing removed)", m_run->staleFiles);
    else Protocol("REMOVED FILES: %d", m_run->staleFiles);
  }
}

bool COmbralScan::RunScan() {
  m_stopRequested.store(false);
  m_nErrors = 0;
  m_nWarnings = 0;
  m_summary = Summary();
  SetStatusText("Scanning...");
  ClearProtocol();
  LoadSettings();
  // A root typed relative to the working folder is made absolute once,
  // here, for every front end: its text then starts every path found below
  // it, which the main index's links need. The working folder is left as
  // it is, so the same text scans the same folder again. A POSIX path gets
  // its drive form too, so the paths in pages and messages keep one kind of
  // separator.
  if (const platform::PathForm form = platform::ClassifyPath(m_strPath.GetView());
      form == platform::PathForm::Relative || form == platform::PathForm::Native) {
    const std::string absolute = platform::ToDrivePath(platform::ToNativePath(platform::MakeAbsolute(m_strPath.GetView())));
    if (!absolute.empty()) m_strPath = absolute.c_str();
  }
  m_run = std::make_unique<RunState>(m_bDryRun != 0);
  // The kind of pages, and the previews it shows, chosen once.
  m_run->pageSet = PageSet::For(*this);
  m_run->previews = m_run->pageSet->Previews(m_nPreviewEdge);
  if (m_run->previews.edge > 0) m_nPreviewEdge = m_run->previews.edge;
  if (!ValidateSettings() || !LockTree()) {
    m_run.reset();
    return false;
  }
  // Every page gets its own time stamp, but the time-zone rules are read
  // once for the whole run.
  platform::ScopedLocalZone zone;

  Protocol("PATH: %s", m_strPath.GetString());
  Protocol("%s", "");

  // The walk comes first: the page record's size is judged by the number
  // of folders it can name.
  BuildFolderList(m_bRecurse, !m_bNoLogging);
  m_run->pages = std::make_unique<CPageRecord>(m_run->root);
  if (m_run->pages->Open(m_bDryRun != 0, static_cast<std::size_t>(m_run->tree.Count())) == CPageRecord::State::Foreign)
    Warn("Kept \"%s\\%s\": not written by Ombral.", m_strPath.GetString(), CPageRecord::kName);

  PageSet& pageSet = *m_run->pageSet;
  pageSet.Begin();
  std::uint64_t totalBytes = 0;
  int pathCount = 0;
  int createdFiles = 0;
  const int totalImages = ScanFolders(pageSet.MainIndex(), m_strPath, m_bRecurse, !m_bNoLogging, totalBytes,
                                      pathCount, createdFiles, m_bIgnoreEmptyPaths);
  if (!StopRequested()) pageSet.Finish(totalBytes, totalImages, createdFiles);
  if (StopRequested()) {
    // What is half done keeps its old content: a new main index would miss folders.
    pageSet.Abandon();
    StopPreviews();
    if (!m_bDryRun) (void)m_run->pages->Save();  // the stop is the news; the next run writes it
    m_run.reset();
    SetStatusText("SCAN CANCELED!");
    return false;
  }
  if (m_bRemoveStale) RemoveStaleFiles();
  if (const platform::FsStatus saved = m_bDryRun ? platform::FsStatus() : m_run->pages->Save(); saved.Failed())
    Error("%s", ombral::ProblemText("Cannot write file", std::string(m_strPath.GetView()) + "\\" + CPageRecord::kName,
                                    saved.Error())
                    .c_str());
  ReportStatistics(totalBytes, totalImages, pathCount, createdFiles);
  m_run.reset();
  SetStatusText("SCAN COMPLETED");
  return true;
}
