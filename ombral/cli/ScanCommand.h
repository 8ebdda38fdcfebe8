// The `ombral-scan` command: options, the run, and its output.
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "ombral/OmbralScan.h"

namespace ombral {

// What the command line asks for.
struct ScanOptions {
  std::string path;
  std::string indexFile = "_FileIndex.html";
  std::string frameFile = "_FileIndexFrame.html";
  std::string filter = "GIF|JPG|JPEG|BMP|CGI|AVI|MPG|MPEG|RAM|SND|WAV|PNG";
  bool overwrite = true;
  bool recurse = true;
  bool logging = false;
  bool ignoreEmpty = false;
  bool quiet = false;
  bool json = false;            // --json: JSON lines on standard output for scripts
  int thumbnailEdge = 0;  // --thumbnails[=EDGE]: 0 off, else the previews' longer edge
  bool removeStale = false;
  bool dryRun = false;
  bool followLinks = false;
  bool oneFileSystem = false;
  int previewMemoryMiB = 1024;  // --preview-memory=MIB
  bool gallery = false;         // --gallery (brings --thumbnails)
  bool sortByDate = false;      // --sort=date-taken or date-taken-desc
  bool newestFirst = false;     // --sort=date-taken-desc
  int renditionEdge = 2048;     // --renditions=EDGE, 0 for --renditions=off
  bool filterGiven = false;     // --filter was given (else the gallery lists its own kinds)
  bool help = false;
  bool version = false;
};

// A JSON string literal of `text`, as the gallery's data writes them:
// quotes, backslashes, control characters (and '<', '>', '&') escaped, a
// byte that is not part of valid UTF-8 as U+FFFD.
std::string JsonText(std::string_view text);

// Reads the arguments (without the program name). On a mistake returns
// nothing and puts the reason into `error`.
std::optional<ScanOptions> ParseScanOptions(int argc, const char* const* argv, std::string& error);

// The whole command: parses, scans, prints. Returns the exit status: 0 for a
// completed scan (and --help, --version), 1 for a cancelled one, 2 for bad
// arguments, 3 for a scan that completed with errors (a file that could not
// be read or written).
int RunScanCommand(int argc, const char* const* argv, std::FILE* out, std::FILE* err);

// A scan that reports on a console: protocol lines to `out`, warnings to
// `err` (and, with --quiet, the protocol lines that name a problem),
// progress on `err` when it is a terminal. Lines are handed to the system
// a folder at a time (and before any progress or warning), in the order
// they came, not one write each: a tree of a million pictures that cannot
// have previews names each of them on every run.
class CConsoleScan : public COmbralScan {
public:
  CConsoleScan(const ScanOptions& options, std::FILE* out, std::FILE* err);
  ~CConsoleScan() override;
  const std::string& GetStatusText() const { return m_status; }
  // Writes out the lines held back.
  void FlushLines();

protected:
  void AddProtocolLine(const char* text) override;
  void ClearProtocol() override {}
  void SetStatusText(const char* text) override;
  void ShowWarning(const char* text) override;
  void OnFolderScanned(int foldersDone, int foldersTotal) override;
  void OnProblem(bool error, const char* text) override;

private:
  void ClearProgress();
  // Holds `text` back for `stream`; lines for the other stream first write
  // out what is held.
  void PutLine(std::FILE* stream, std::string_view text);

  std::FILE* m_out;
  std::FILE* m_err;
  bool m_quiet;
  bool m_json;
  bool m_showProgress;
  bool m_progressShown = false;
  std::string m_status;
  std::string m_held;              // lines not yet written, all for one stream
  std::FILE* m_heldFor = nullptr;  // that stream
};

}  // namespace ombral
