// COmbralScan: the run as a whole -- settings, validation, top-level pages
// and the closing statistics.
#include "ombral/OmbralScan.h"

#include <cstdarg>

#include "ScanRunState.h"
#include "ombral/HtmlFile.h"
#include "platform/Clock.h"
#include "platform/Crt.h"
#include "platform/FileFind.h"
#include "platform/FileSystem.h"

namespace {

constexpr const char* kMainIndexPage = "_xbmidx.html";
constexpr const char* kWelcomePage = "_xidxbase.html";

bool Exists(const CString& path) {
  platform::FileStat stat;
  return platform::GetFileStat(path.GetView(), stat);
}

}  // namespace

COmbralScan::COmbralScan()
    : m_strIndexFile("_FileIndex.html"),
      m_strFrameFile("_FileIndexFrame.html"),
      m_strFilter("GIF|JPG|JPEG|BMP|CGI|AVI|MPG|MPEG|RAM|SND|WAV|PNG") {}

COmbralScan::~COmbralScan() = default;

void COmbralScan::Protocol(const char* format, ...) {
  va_list args;
  va_start(args, format);
  m_strMessage.FormatV(format, args);
  va_end(args);
  AddProtocolLine(m_strMessage);
}

void COmbralScan::Cancel(const char* format, ...) {
  va_list args;
  va_start(args, format);
  m_strMessage.FormatV(format, args);
  va_end(args);
  ShowWarning(m_strMessage);
  AddProtocolLine(m_strMessage);
  SetStatusText("SCAN CANCELED!");
}

bool COmbralScan::ValidateSettings() {
  if (m_strPath.IsEmpty()) {
    Cancel("Need a valid path statement to create the index.");
    return false;
  }
  CFileFind finder;
  if (!finder.FindFile(m_strPath + "\\*.*")) {
    Cancel("Path \"%s\" could not be found.", m_strPath.GetString());
    return false;
  }
  finder.Close();
  if (m_strIndexFile.FindOneOf("\\*?") >= 0) {
    Cancel("The index filename \"%s\" is not a valid filename (contains invalid characters).",
           m_strIndexFile.GetString());
    return false;
  }
  if (m_strFrameFile.FindOneOf("\\*?") >= 0) {
    Cancel("The html frame filename \"%s\" is not a valid filename (contains invalid characters).",
           m_strFrameFile.GetString());
    return false;
  }
  if (!m_bOverwrite) {
    for (const CString* name : {&m_strIndexFile, &m_strFrameFile}) {
      if (Exists(m_strPath + "\\" + *name)) {
        Cancel("The file \"%s\" already exists, please choose \"overwrite\".", name->GetString());
        return false;
      }
    }
  }
  return true;
}

bool COmbralScan::WriteTopLevelPages(CHtmlFile& mainIndex) {
  const CString indexPath = m_strPath + "\\" + kMainIndexPage;
  if (!mainIndex.Open(indexPath)) {
    // Without its main index the run has nothing to link the pages from:
    // stop before anything is written.
    Cancel("Cannot open file \"%s\" with write permission!", indexPath.GetString());
    return false;
  }
  WriteIndexHeader(mainIndex, m_strPath, 1, 0, 0, 0);

  // The frameset and welcome pages are extras: when one cannot be written
  // the run goes on without it.
  CHtmlFile page;
  if (page.Open(m_strPath + "\\" + m_strFrameFile)) {
    WriteFramesetPage(page, kMainIndexPage, kWelcomePage);
    page.Close();
  }
  if (page.Open(m_strPath + "\\" + kWelcomePage)) {
    WriteWelcomePage(page);
    page.Close();
  }
  return true;
}

void COmbralScan::ReportStatistics(std::uint64_t totalBytes, int totalImages, int pathCount, int createdFiles) {
  Protocol("%s", "");
  Protocol("CREATED FILES: %d", createdFiles);
  Protocol("FOUND IMAGES: %d with %llu KB", totalImages, static_cast<unsigned long long>(totalBytes / 1024));
  Protocol("FOUND PATHS: %d", pathCount);
  if (m_nPreviewEdge > 0 && m_run)
    Protocol("PREVIEWS: %d made, %d unchanged", m_run->previewsMade, m_run->previewsKept);
  if (m_bRemoveStale && m_run) {
    if (m_bDryRun) Protocol("STALE FILES: %d (dry run, nothing removed)", m_run->staleFiles);
    else Protocol("REMOVED FILES: %d", m_run->staleFiles);
  }
}

bool COmbralScan::RunScan() {
  SetStatusText("Scanning...");
  ClearProtocol();
  LoadSettings();
  if (!ValidateSettings()) return false;
  // Every page gets its own time stamp, but the time-zone rules are read
  // once for the whole run.
  platform::ScopedLocalZone zone;
  m_run = std::make_unique<RunState>(m_strPath, m_bDryRun != 0);

  platform::SetCurrentDirectoryPath(m_strPath.GetView());
  Protocol("PATH: %s", m_strPath.GetString());
  Protocol("%s", "");

  CHtmlFile mainIndex;
  if (m_bRecurse && !WriteTopLevelPages(mainIndex)) return false;

  std::uint64_t totalBytes = 0;
  int pathCount = 0;
  int createdFiles = 0;
  const int totalImages = ScanFolders(m_bRecurse ? &mainIndex : nullptr, m_strPath, m_bRecurse, !m_bNoLogging,
                                      totalBytes, pathCount, createdFiles, m_bIgnoreEmptyPaths);
  if (m_bRecurse) {
    WriteIndexFooter(mainIndex, totalImages, 1, static_cast<double>(totalBytes));
    if (!mainIndex.Close()) Protocol("Cannot write file \"%s\"!", mainIndex.GetPath().c_str());
  }
  if (m_bRemoveStale) RemoveStaleFiles();
  ReportStatistics(totalBytes, totalImages, pathCount, createdFiles);
  m_run.reset();
  SetStatusText("SCAN COMPLETED");
  return true;
}
