// COmbralScan: Ombral's scan run, free of any window.
//
// It holds the scan settings under the names the dialog binds to its
// controls, checks them, writes the top-level pages into the folder to scan,
// walks the folder tree and writes a picture page into every folder that
// holds a matching file, and reports what it does through the small
// interface of pure virtual members below. The dialog program implements
// that interface with its protocol list, status line and message boxes; the
// command-line program with standard output and standard error.
#pragma once

#include <atomic>
#include <cstdarg>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/FolderHandle.h"
#include "platform/ReplacingFile.h"
#include "platform/String.h"

class CHtmlFile;
class CFolderCursor;
class CPreviewFolder;
struct PicturePreview;
struct PreviewJob;
struct ListedFile;

class COmbralScan {
public:
  COmbralScan();
  virtual ~COmbralScan();
  COmbralScan(const COmbralScan&) = delete;
  COmbralScan& operator=(const COmbralScan&) = delete;

  // --- Settings (the dialog's defaults) ---------------------------------------
  CString m_strPath;            // folder to scan; empty
  CString m_strIndexFile;       // every folder page: "_FileIndex.html"
  CString m_strFrameFile;       // the frameset page: "_FileIndexFrame.html"
  CString m_strFilter;          // kDefaultFilter
  static constexpr const char* kDefaultFilter = "GIF|JPG|JPEG|BMP|CGI|AVI|MPG|MPEG|RAM|SND|WAV|PNG";
  int m_bOverwrite = 1;         // existing top-level pages may be replaced
  int m_bRecurse = 1;           // walk the whole tree, write index, frameset and welcome page
  int m_bNoLogging = 1;         // no per-folder and per-file protocol lines
  int m_bIgnoreEmptyPaths = 0;  // folders without page get no line in the main index
  int m_bCloseAfterScan = 0;    // the dialog closes after a completed run
  CString m_strMessage;         // the last message or protocol text

  // --- Further options, all off unless asked for ---------------------------------
  // The dialog offers the previews and the removal of stale files; the
  // command-line program offers them all.
  // Previews: above 0, every picture of a folder page gets a preview whose
  // longer edge is at most this many pixels, in the folder's "_xthumbs",
  // and the page shows it as a link to the picture.
  int m_nPreviewEdge = 0;
  // The edge a front end offers first, and the edges previews may have.
  static constexpr int kDefaultPreviewEdge = 240;
  static constexpr int kSmallestPreviewEdge = 16;
  static constexpr int kLargestPreviewEdge = 4096;
  // After the run, delete the folder pages of earlier runs in folders that no
  // longer get one, and previews whose picture is gone.
  int m_bRemoveStale = 0;
  int m_bDryRun = 0;            // with m_bRemoveStale: report what would go; write and delete nothing
  // Follow symbolic links to folders outside the scanned tree (links to
  // folders inside it are always followed, once).
  int m_bFollowLinks = 0;
  // Stay on the file system of the folder to scan: no folder on another
  // mounted file system is walked (as find -xdev). File systems another
  // user mounted with FUSE are never walked, whatever this says.
  int m_bOneFileSystem = 0;
  // The memory all preview threads together may use for decoding, in MiB.
  int m_nPreviewMemoryMiB = 1024;
  // The gallery: HTML5 pages under the same names (the frame page becomes
  // the entry page with the folder tree and a search), a viewer, the
  // phones' pictures and videos; needs previews (m_nPreviewEdge above 0).
  int m_bGallery = 0;
  // The filter of a gallery the user gave none for: every picture format
  // the previews read (the phones' formats included) and the videos the
  // viewer plays.
  // The longer edge of the gallery's renditions (what its viewer shows of
  // a picture larger than that); 0 for none but those of the formats
  // browsers cannot show.
  int m_nRenditionEdge = 2048;
  static constexpr int kSmallestRenditionEdge = 512;
  static constexpr int kLargestRenditionEdge = 8192;
  static constexpr const char* kGalleryFilter = "JPG|JPEG|JPE|PNG|GIF|BMP|WEBP|TIF|TIFF|HEIC|HEIF|HIF|AVIF|MP4|M4V|MOV|WEBM";
  // With the gallery: pictures in the order of the dates they were taken
  // (a picture without one by its file's time) instead of by name.
  int m_bSortByDate = 0;
  int m_bNewestFirst = 0;  // with m_bSortByDate: the newest picture first
  // How many threads list the folders and look at their files ahead of the
  // page being written; 0 for one per core (at most 4), 1 for none besides
  // the walk's own. Pages, protocol and counts are the same with any number.
  int m_nWalkThreads = 0;

  // The run: settings loaded, validated, pages written, statistics reported.
  // True when it ends with the status "SCAN COMPLETED", false when it was
  // cancelled ("SCAN CANCELED!") by a failed check or a stop request.
  bool RunScan();

  // Asks a running scan to stop at the next file (from any thread, or a
  // signal handler): pages finished so far stay, the page being written and
  // the main index keep their old content, and the run ends "SCAN
  // CANCELED!". A request made before RunScan starts is forgotten by it.
  void RequestStop() { m_stopRequested.store(true); }
  bool StopRequested() const { return m_stopRequested.load(); }

  // Problems of the last run: files that could not be read or written
  // (errors), and what was named and passed over (warnings).
  int GetErrorCount() const { return m_nErrors; }
  int GetWarningCount() const { return m_nWarnings; }

  // What the last run counted, as its closing lines tell it; all 0 for a
  // run that did not get to them (cancelled).
  struct Summary {
    int createdFiles = 0;
    int images = 0;
    std::uint64_t bytes = 0;
    int paths = 0;
    bool previews = false;       // the run made previews: the three counts below
    int previewsMade = 0;
    int previewsKept = 0;
    int previewsFoundAgain = 0;
    bool stale = false;          // the run looked for stale files: staleFiles
    int staleFiles = 0;          // removed, or found by a dry run
  };
  const Summary& GetSummary() const { return m_summary; }

  // Why `name` cannot name the scan's pages with `filter` ("" when it can):
  // a page name is a plain file name (no '/' or '\\', not "." or ".."), not
  // one the filter lists, and not a name the scan uses for its own files.
  // `frame` selects the frame page's message.
  static std::string CheckPageName(const char* name, const char* filter, bool frame);
  // The filter test of a file name (see IsFilterMatch).
  static int MatchesFilter(const char* fileName, const char* filter);

protected:
  // --- Reporting, implemented by the front end --------------------------------
  virtual void AddProtocolLine(const char* text) = 0;
  virtual void ClearProtocol() = 0;                  // empties the protocol
  virtual void SetStatusText(const char* text) = 0;  // the status line
  virtual void ShowWarning(const char* text) = 0;    // a warning message box
  // Copies the settings from where the user edits them into the members
  // (the dialog's data exchange); the default does nothing.
  virtual void LoadSettings() {}
  // Called after each folder of the walk; the default does nothing.
  virtual void OnFolderScanned(int /*foldersDone*/, int /*foldersTotal*/) {}
  // A protocol line that names a problem, right after it was added to the
  // protocol: `error` for a file that could not be read or written, else a
  // warning (something named and passed over). The default does nothing.
  virtual void OnProblem(bool /*error*/, const char* /*text*/) {}

  // --- The walk ------------------------------------------------------------------
  // Walks the root (and with `recurse` every folder below it), writes the
  // folder pages and, when `mainIndex` is given, one line per folder into it.
  // Returns the number of images; the three counters are written at the end.
  int ScanFolders(CHtmlFile* mainIndex, const char* root, int recurse, int logging,
                  std::uint64_t& totalBytes, int& pathCount, int& createdFiles, int ignoreEmpty);
  // Count and bytes of the matching files of one folder; 0 and the counters
  // unchanged when it cannot be listed.
  int GetPathStatistics(const char* folder, int logging, std::uint64_t& bytes, int& count);
  // 1 when the name's extension (without its dots, upper-cased) occurs in the
  // upper-cased filter as a substring; a name without extension always does.
  int IsFilterMatch(const char* fileName, const char* filter) const;

  // --- Page texts --------------------------------------------------------------------
  // The head of the main index (main) or of a folder page (centred or plain
  // form, with the folder's statistics), stamped with the current local time.
  void WriteIndexHeader(CHtmlFile& file, const char* path, int main, int centred,
                        std::uint64_t bytes, int count);
  // The end of the main index or of a folder page; `bytes` in bytes.
  void WriteIndexFooter(CHtmlFile& file, int images, int main, double bytes);
  void WriteImageEntry(CHtmlFile& file, int number, const char* name, std::uint64_t size);
  // An image entry that shows the preview (its link relative to the page and
  // its size in pixels) as a link to the picture.
  void WritePreviewEntry(CHtmlFile& file, int number, const char* name, std::uint64_t size,
                         const char* previewLink, int width, int height);
  void WriteFramesetPage(CHtmlFile& file, const char* indexPage, const char* welcomePage);
  void WriteWelcomePage(CHtmlFile& file);
  // One line of the main index: a link to the folder's page, or (page null)
  // the folder's name alone.
  void WriteMainIndexLine(CHtmlFile& file, const char* root, const char* folder, const char* page);
  // The text after the last backslash of a path ("" when it ends with one);
  // the whole path when it has none.
  CString GetLastPathComponent(const char* path) const;

private:
  struct Totals;
  struct PendingFolder;
  struct RunState;
  // The kinds of pages (pages/PageSet.h): one is chosen for a run.
  struct WalkContext;
  struct PageSet;
  class ClassicPageSet;
  class GalleryPageSet;
  bool ValidateSettings();
  bool LockTree();
  bool WriteTopLevelPage(const char* name, const std::function<void(CHtmlFile&)>& write);
  void BuildFolderList(int recurse, int logging);
  // The protocol line of a file or folder left out for a backslash in its name.
  void WarnBackslashName(const std::string& name, const CString& folder);
  // The place of a file of a folder in the page record: names from the
  // root joined by '/'.
  std::string PlaceOf(int node, const std::string& fileName) const;
  // Reports a page that could not be opened or written.
  void ReportPageProblem(const CHtmlFile& page, bool opening);
  // Hands a folder page, written up to its end, to the writer thread, which
  // lets it take its name and notes it in the page record.
  void HandToWriter(CHtmlFile& page, const CString& path, int node);
  // Who may read the files the scan writes about folder `node` (its page,
  // its preview folder), as options of the page's file.
  platform::ReplacingFile::Options PageOptions(int node) const;
  // Whether the files at the top, which name folders of the whole tree,
  // may name folder `node`: everyone who may read them may list it.
  bool IsShared(int node) const;
  // Looks at what the link `name` of folder `node` leads to, when that lies
  // inside the tree and the readers of the folder's page could look at it
  // themselves; fails otherwise (EXDEV outside the tree, EACCES hidden).
  platform::FsStatus LookThroughLink(int node, const platform::FolderHandle& folder, const std::string& name,
                                     platform::EntryInfo& target) const;
  // Names a folder left out of the top's shared files, once for the
  // highest such folder of a branch.
  void ReportLeftOut(int node);
  void StopPreviews();
  // Reports the pages the writer thread could not write; `wait` first
  // waits for all pages handed to it.
  void ReportWriterProblems(bool wait);
  void ReportStatistics(std::uint64_t totalBytes, int totalImages, int pathCount, int createdFiles);
  // The walk looks at a folder (and starts its previews) ahead of writing
  // its page; pages and protocol lines still come in folder order.
  std::unique_ptr<PendingFolder> PrepareFolder(const CString& root, std::unique_ptr<PendingFolder> listed);
  // Opens folder `node` through `cursor` and reads its listing: what may
  // run on the walk's threads, several folders at once.
  std::unique_ptr<PendingFolder> ListFolder(int node, const CString& folder, CFolderCursor& cursor) const;
  // The number of threads that list folders ahead (m_nWalkThreads).
  int WalkThreads() const;
  void FinishFolder(PendingFolder& pending, const WalkContext& walk, Totals& totals);
  // The main index's line of such a link: its own name, where it stands,
  // with the link of the page it leads to.
  void WriteMainIndexAlias(CHtmlFile& file, const char* root, const char* link, const char* targetPage);
  // Opens the preview folder of a listed folder and looks at the files
  // kept for its pictures: what may run on the walk's threads.
  void OpenPreviews(PendingFolder& pending) const;
  // Decides which previews stay and queues the ones to make.
  void PreparePreviews(PendingFolder& pending, const CString& root);
  // Collects the finished previews of a folder; the protocol lines about
  // them come with their entries.
  void CollectPreviews(PendingFolder& pending);
  void ReportPreview(const PendingFolder& pending, std::size_t index);
  void SavePreviewRecord(PendingFolder& pending);
  void NoteStaleCandidates(const PendingFolder& pending);
  // Whether a file of this name gets a preview (the phones' formats and
  // videos' posters too, when the run's previews take them).
  bool IsPreviewable(std::string_view name) const;
  bool IsVideo(std::string_view name) const;  // a video whose poster this run makes
  // A preview job for `name`, as the run's preview policy asks.
  PreviewJob JobFor(const PendingFolder& pending, const ListedFile& file, platform::AclState acl,
                    const std::shared_ptr<CPreviewFolder>& previews) const;
  void Submit(PicturePreview& picture, PreviewJob job);
  void RemoveStaleFiles();

  std::unique_ptr<RunState> m_run;  // what one run keeps besides its counters
  std::atomic<bool> m_stopRequested{false};
  int m_nErrors = 0;
  int m_nWarnings = 0;
  Summary m_summary;
  // Formats into m_strMessage and adds it to the protocol (control
  // characters of names show as escapes); counts errors and warnings and
  // tells the front end of them.
  enum class LineKind { Plain, Warning, Error };
  void Report(LineKind kind, const char* format, va_list args);
  // A plain protocol line.
  void Protocol(const char* format, ...) __attribute__((format(printf, 2, 3)));
  // A protocol line about a file that could not be read or written.
  void Error(const char* format, ...) __attribute__((format(printf, 2, 3)));
  // A protocol line about something named and passed over.
  void Warn(const char* format, ...) __attribute__((format(printf, 2, 3)));
  // Formats into m_strMessage, shows it, adds it to the protocol, cancels.
  void Cancel(const char* format, ...) __attribute__((format(printf, 2, 3)));
};
