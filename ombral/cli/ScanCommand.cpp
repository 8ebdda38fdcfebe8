// The `ombral-scan` command.
#include "ScanCommand.h"

#include <atomic>
#include <chrono>
#include <cstring>
#include <string_view>

#include "pages/gallery/GalleryData.h"
#include "platform/Console.h"
#include "platform/Drives.h"
#include "platform/Preview.h"

namespace ombral {
namespace {

constexpr const char* kUsage =
    "Usage: ombral-scan [OPTIONS] PATH\n"
    "Turns the folder tree PATH into browsable HTML index pages: a picture page in\n"
    "every folder with matching files, and in PATH a main index, a frameset page\n"
    "(open it in a browser) and a welcome page. With --gallery, modern pages for\n"
    "any screen under the same names.\n"
    "\n"
    "Options:\n"
    "  --index NAME     file name of every folder page (default _FileIndex.html);\n"
    "                   a plain file name that the filter does not match\n"
    "  --frame NAME     file name of the frameset page (default\n"
    "                   _FileIndexFrame.html), under the same rule\n"
    "  --filter LIST    extensions to list, e.g. \"JPG|PNG\"; a file matches when its\n"
    "                   extension occurs in LIST (default\n"
    "                   GIF|JPG|JPEG|BMP|CGI|AVI|MPG|MPEG|RAM|SND|WAV|PNG)\n"
    "  --no-overwrite   stop when the folder page or the frameset page already\n"
    "                   exists in PATH\n"
    "  --no-recurse     PATH alone: its folder page only, no main index, frameset\n"
    "                   or welcome page\n"
    "  --log            protocol every folder and every file\n"
    "  --ignore-empty   no main-index line for folders without matching files\n"
    "  --thumbnails[=EDGE]\n"
    "                   previews: every JPEG, PNG, GIF, BMP, WebP or TIFF picture on\n"
    "                   a folder page gets a preview whose longer edge is at most\n"
    "                   EDGE pixels (default 240, 16 to 4096) in the folder's\n"
    "                   _xthumbs folder, turned upright and without the picture's\n"
    "                   metadata; the page shows it as a link to the picture. Only\n"
    "                   new and changed pictures are read again\n"
    "  --preview-memory=MIB\n"
    "                   memory all preview threads together may use for decoding\n"
    "                   (default 1024); a picture that needs more is named and\n"
    "                   gets no preview\n"
    "  --remove-stale   after the scan, delete the folder pages of earlier scans in\n"
    "                   folders that no longer get one, and previews whose picture\n"
    "                   is gone; only files whose bytes are what ombral-scan wrote\n"
    "                   at that place go, others are kept and named\n"
    "  --dry-run        with --remove-stale: name what would be deleted, write and\n"
    "                   delete nothing\n"
    "  --gallery        modern pages under the same names: every folder page shows\n"
    "                   a grid of previews and album cards for its sub-folders,\n"
    "                   opens pictures in a viewer (arrow keys, swipes) and plays\n"
    "                   the videos the browser can; the frameset page becomes the\n"
    "                   entry page with the folder tree and a search. Brings\n"
    "                   --thumbnails; HEIC, HEIF and AVIF pictures get previews\n"
    "                   and a JPEG for the viewer, videos a poster and their\n"
    "                   length. Without --filter it lists\n"
    "                   JPG|JPEG|JPE|PNG|GIF|BMP|WEBP|TIF|TIFF|HEIC|HEIF|HIF|AVIF|\n"
    "                   MP4|M4V|MOV|WEBM\n"
    "  --sort=ORDER     with --gallery: name (default; \"2\" before \"10\"),\n"
    "                   date-taken (the EXIF date a photo was taken, the file's\n"
    "                   time where it has none; oldest first) or date-taken-desc\n"
    "                   (newest first)\n"
    "  --renditions=EDGE\n"
    "                   with --gallery: the viewer shows pictures larger than EDGE\n"
    "                   pixels (default 2048, 512 to 8192) as a JPEG of that size\n"
    "                   beside their preview, the original one click away;\n"
    "                   --renditions=off shows the originals (HEIC, HEIF, AVIF and\n"
    "                   TIFF pictures still get one, as browsers cannot show them)\n"
    "  --follow-links   also walk symbolic links to folders outside PATH (links to\n"
    "                   folders inside it are walked once, where they are)\n"
    "  --one-file-system\n"
    "                   stay on PATH's file system: folders of other mounted file\n"
    "                   systems are named and not walked (as find -xdev). File\n"
    "                   systems other users mounted are never walked\n"
    "  --quiet          print the final status line only, and warnings and errors\n"
    "                   on standard error\n"
    "  --json           for scripts: standard output holds one JSON object per\n"
    "                   line, one per problem ({\"type\":\"problem\",\"severity\":\n"
    "                   \"error\"|\"warning\"|\"cancel\",\"text\":...}) and a last one\n"
    "                   with the result ({\"type\":\"summary\",\"status\":\"completed\"|\n"
    "                   \"completed-with-errors\"|\"cancelled\",\"exitCode\",\"path\",\n"
    "                   \"createdFiles\",\"foundImages\",\"foundBytes\",\"foundPaths\",\n"
    "                   \"previews\",\"staleFiles\",\"errors\",\"warnings\",\n"
    "                   \"seconds\"}); problems also go to standard error\n"
    "  --help           show this text\n"
    "  --version        show the version\n"
    "\n"
    "PATH is a POSIX path, or a Windows path on a drive letter mapped with\n"
    "ZN_DRIVES (e.g. ZN_DRIVES='P=/srv/pictures' and P:\\2001). A POSIX path is\n"
    "shown in drive form (/home/me/Pics as C:\\home\\me\\Pics).\n"
    "\n"
    "Files are written beside their names and renamed into place, never through\n"
    "a symbolic link; one scan of a tree runs at a time. Ctrl+C stops the scan at\n"
    "the next file and leaves every page whole (old or new).\n"
    "\n"
    "Exit status: 0 scan completed, 1 scan cancelled, 2 bad arguments, 3 scan\n"
    "completed with errors (a file that could not be read or written).\n";


bool TakesValue(std::string_view option) {
  return option == "--index" || option == "--frame" || option == "--filter";
}

void SetValue(ScanOptions& options, std::string_view option, std::string value) {
  if (option == "--index") options.indexFile = std::move(value);
  else if (option == "--frame") options.frameFile = std::move(value);
  else {
    options.filter = std::move(value);
    options.filterGiven = true;
  }
}

bool SetFlag(ScanOptions& options, std::string_view option) {
  if (option == "--no-overwrite") options.overwrite = false;
  else if (option == "--no-recurse") options.recurse = false;
  else if (option == "--log") options.logging = true;
  else if (option == "--ignore-empty") options.ignoreEmpty = true;
  else if (option == "--quiet") options.quiet = true;
  else if (option == "--json") options.json = true;
  else if (option == "--thumbnails") options.thumbnailEdge = COmbralScan::kDefaultPreviewEdge;
  else if (option == "--remove-stale") options.removeStale = true;
  else if (option == "--dry-run") options.dryRun = true;
  else if (option == "--follow-links") options.followLinks = true;
  else if (option == "--one-file-system") options.oneFileSystem = true;
  else if (option == "--gallery") options.gallery = true;
  else if (option == "--help" || option == "-h") options.help = true;
  else if (option == "--version") options.version = true;
  else return false;
  return true;
}

// The EDGE of --thumbnails=EDGE: digits only, within the range previews allow.
bool ParseEdge(std::string_view text, int& edge) {
  if (text.empty() || text.size() > 4 || text.find_first_not_of("0123456789") != std::string_view::npos) return false;
  edge = std::stoi(std::string(text));
  return edge >= platform::kMinPreviewEdge && edge <= platform::kMaxPreviewEdge;
}

}  // namespace

std::optional<ScanOptions> ParseScanOptions(int argc, const char* const* argv, std::string& error) {
  ScanOptions options;
  bool havePath = false;
  bool optionsEnded = false;
  bool sortGiven = false;
  bool renditionsGiven = false;
  for (int i = 0; i < argc; ++i) {
    const std::string_view arg = argv[i] ? argv[i] : "";
    if (!optionsEnded && arg == "--") {
      optionsEnded = true;
    } else if (!optionsEnded && arg.size() > 1 && arg[0] == '-') {
      const std::size_t equals = arg.find('=');
      const std::string_view name = arg.substr(0, equals);
      if (TakesValue(name)) {
        if (equals != std::string_view::npos) {
          SetValue(options, name, std::string(arg.substr(equals + 1)));
        } else if (i + 1 < argc && argv[i + 1]) {
          SetValue(options, name, argv[++i]);
        } else {
          error = "option " + std::string(name) + " needs a value";
          return std::nullopt;
        }
      } else if (name == "--preview-memory" && equals != std::string_view::npos) {
        const std::string_view text = arg.substr(equals + 1);
        if (text.empty() || text.size() > 7 || text.find_first_not_of("0123456789") != std::string_view::npos ||
            (options.previewMemoryMiB = std::stoi(std::string(text))) < 16) {
          error = "--preview-memory needs a number of MiB, at least 16";
          return std::nullopt;
        }
      } else if (name == "--sort" && equals != std::string_view::npos) {
        const std::string_view order = arg.substr(equals + 1);
        if (order != "name" && order != "date-taken" && order != "date-taken-desc") {
          error = "--sort needs name, date-taken or date-taken-desc";
          return std::nullopt;
        }
        options.sortByDate = order != "name";
        options.newestFirst = order == "date-taken-desc";
        sortGiven = true;
      } else if (name == "--renditions" && equals != std::string_view::npos) {
        const std::string_view text = arg.substr(equals + 1);
        if (text == "off") {
          options.renditionEdge = 0;
        } else if (text.empty() || text.size() > 4 || text.find_first_not_of("0123456789") != std::string_view::npos ||
                   (options.renditionEdge = std::stoi(std::string(text))) < COmbralScan::kSmallestRenditionEdge ||
                   options.renditionEdge > COmbralScan::kLargestRenditionEdge) {
          error = "--renditions needs an edge of " + std::to_string(COmbralScan::kSmallestRenditionEdge) + " to " +
                  std::to_string(COmbralScan::kLargestRenditionEdge) + " pixels, or off";
          return std::nullopt;
        }
        renditionsGiven = true;
      } else if (name == "--thumbnails" && equals != std::string_view::npos) {
        if (!ParseEdge(arg.substr(equals + 1), options.thumbnailEdge)) {
          error = "--thumbnails needs an edge of " + std::to_string(platform::kMinPreviewEdge) + " to " +
                  std::to_string(platform::kMaxPreviewEdge) + " pixels";
          return std::nullopt;
        }
      } else if (equals != std::string_view::npos || !SetFlag(options, arg)) {
        error = "unknown option " + std::string(arg);
        return std::nullopt;
      }
    } else if (havePath) {
      error = "only one PATH may be given (quote a path with blanks)";
      return std::nullopt;
    } else {
      options.path = std::string(arg);
      havePath = true;
    }
  }
  if (!havePath && !options.help && !options.version) {
    error = "no PATH given";
    return std::nullopt;
  }
  if (options.dryRun && !options.removeStale) {
    error = "--dry-run goes with --remove-stale";
    return std::nullopt;
  }
  if (sortGiven && !options.gallery) {
    error = "--sort goes with --gallery";
    return std::nullopt;
  }
  if (renditionsGiven && !options.gallery) {
    error = "--renditions goes with --gallery";
    return std::nullopt;
  }
  if (options.gallery) {
    if (options.thumbnailEdge == 0) options.thumbnailEdge = COmbralScan::kDefaultPreviewEdge;
    if (!options.filterGiven) options.filter = COmbralScan::kGalleryFilter;
  }
  if (!options.help && !options.version) {
    for (const bool frame : {false, true}) {
      const std::string problem =
          COmbralScan::CheckPageName(frame ? options.frameFile.c_str() : options.indexFile.c_str(),
                                     options.filter.c_str(), frame);
      if (!problem.empty()) {
        error = problem;
        return std::nullopt;
      }
    }
    if (options.indexFile == options.frameFile) {
      error = "--index and --frame name the same file";
      return std::nullopt;
    }
  }
  return options;
}

CConsoleScan::CConsoleScan(const ScanOptions& options, std::FILE* out, std::FILE* err)
    : m_out(out),
      m_err(err),
      m_quiet(options.quiet || options.json),
      m_json(options.json),
      m_showProgress(platform::IsTerminal(err)) {
  // A POSIX path (relative or absolute) is handed to the scan in absolute
  // drive form: the root text then occurs in every path found below it (the
  // link targets are the page paths with that text deleted), the pages show
  // one kind of separator, and the root's link text is its folder name.
  // Windows paths are kept as typed.
  const platform::PathForm form = platform::ClassifyPath(options.path);
  const bool posix = form == platform::PathForm::Relative || form == platform::PathForm::Native;
  m_strPath = CString(posix ? platform::ToDrivePath(platform::ToNativePath(platform::MakeAbsolute(options.path)))
                            : options.path);
  m_strIndexFile = options.indexFile.c_str();
  m_strFrameFile = options.frameFile.c_str();
  m_strFilter = options.filter.c_str();
  m_bOverwrite = options.overwrite;
  m_bRecurse = options.recurse;
  m_bNoLogging = !options.logging;
  m_bIgnoreEmptyPaths = options.ignoreEmpty;
  m_nPreviewEdge = options.thumbnailEdge;
  m_bRemoveStale = options.removeStale;
  m_bDryRun = options.dryRun;
  m_bFollowLinks = options.followLinks;
  m_bOneFileSystem = options.oneFileSystem;
  m_nPreviewMemoryMiB = options.previewMemoryMiB;
  m_bGallery = options.gallery;
  m_bSortByDate = options.sortByDate;
  m_bNewestFirst = options.newestFirst;
  m_nRenditionEdge = options.renditionEdge;
}

CConsoleScan::~CConsoleScan() { FlushLines(); }

void CConsoleScan::PutLine(std::FILE* stream, std::string_view text) {
  if (m_heldFor != stream) FlushLines();
  m_heldFor = stream;
  m_held.append(text);
  m_held.push_back('\n');
  if (m_held.size() >= (64u << 10)) FlushLines();
}

void CConsoleScan::FlushLines() {
  if (!m_heldFor) return;
  std::fwrite(m_held.data(), 1, m_held.size(), m_heldFor);
  std::fflush(m_heldFor);
  m_held.clear();
  m_heldFor = nullptr;
}

void CConsoleScan::AddProtocolLine(const char* text) {
  if (m_quiet) return;
  ClearProgress();
  PutLine(m_out, text ? text : "");
}

void CConsoleScan::SetStatusText(const char* text) { m_status = text ? text : ""; }

void CConsoleScan::OnProblem(bool error, const char* text) {
  if (m_json)
    PutLine(m_out, std::string("{\"type\":\"problem\",\"severity\":\"") + (error ? "error" : "warning") +
                       "\",\"text\":" + JsonText(text ? text : "") + "}");
  // Without --quiet the line is in the protocol already.
  if (!m_quiet) return;
  ClearProgress();
  PutLine(m_err, std::string("ombral-scan: ") + (text ? text : ""));
}

void CConsoleScan::ShowWarning(const char* text) {
  FlushLines();
  if (m_json) {
    std::fprintf(m_out, "{\"type\":\"problem\",\"severity\":\"cancel\",\"text\":%s}\n", JsonText(text ? text : "").c_str());
    std::fflush(m_out);
  }
  ClearProgress();
  std::fprintf(m_err, "ombral-scan: %s\n", text);
}

void CConsoleScan::OnFolderScanned(int foldersDone, int foldersTotal) {
  FlushLines();
  if (!m_showProgress) return;
  std::fprintf(m_err, "\r%d of %d folders", foldersDone, foldersTotal);
  std::fflush(m_err);
  m_progressShown = true;
  if (foldersDone == foldersTotal) ClearProgress();
}

void CConsoleScan::ClearProgress() {
  if (!m_progressShown) return;
  FlushLines();
  std::fprintf(m_err, "\r\033[K");
  std::fflush(m_err);
  m_progressShown = false;
}

namespace {

// The last line of --json: the run's result, its counts and its time.
void PrintSummary(const CConsoleScan& scan, int status, double seconds, std::FILE* out) {
  const COmbralScan::Summary& summary = scan.GetSummary();
  const char* state = status == 1 ? "cancelled" : status == 3 ? "completed-with-errors" : "completed";
  std::string previews = "null";
  if (summary.previews)
    previews = "{\"made\":" + std::to_string(summary.previewsMade) + ",\"unchanged\":" +
               std::to_string(summary.previewsKept) + ",\"foundAgain\":" + std::to_string(summary.previewsFoundAgain) + "}";
  std::fprintf(out,
               "{\"type\":\"summary\",\"status\":\"%s\",\"exitCode\":%d,\"path\":%s,\"createdFiles\":%d,"
               "\"foundImages\":%d,\"foundBytes\":%llu,\"foundPaths\":%d,\"previews\":%s,\"staleFiles\":%s,"
               "\"errors\":%d,\"warnings\":%d,\"seconds\":%.3f}\n",
               state, status, JsonText(scan.m_strPath.GetView()).c_str(), summary.createdFiles, summary.images,
               static_cast<unsigned long long>(summary.bytes), summary.paths, previews.c_str(),
               summary.stale ? std::to_string(summary.staleFiles).c_str() : "null", scan.GetErrorCount(),
               scan.GetWarningCount(), seconds);
}

}  // namespace

// The gallery's JSON strings are the same: one escaping for the whole suite.
std::string JsonText(std::string_view text) { return gallery::JsonString(text); }

int RunScanCommand(int argc, const char* const* argv, std::FILE* out, std::FILE* err) {
  std::string error;
  const std::optional<ScanOptions> options = ParseScanOptions(argc, argv, error);
  if (!options) {
    std::fprintf(err, "ombral-scan: %s\n\n%s", error.c_str(), kUsage);
    return 2;
  }
  if (options->help) {
    std::fputs(kUsage, out);
    return 0;
  }
  if (options->version) {
    std::fputs("ombral-scan " OMBRAL_VERSION "\n", out);
    return 0;
  }
  CConsoleScan scan(*options, out, err);
  // Ctrl+C (or a request to end) stops the scan at the next file; the pages
  // written so far stay, and none is left half-written.
  static std::atomic<CConsoleScan*> running{nullptr};
  running = &scan;
  platform::OnInterrupt([] {
    if (CConsoleScan* scan = running.load()) scan->RequestStop();
  });
  const auto started = std::chrono::steady_clock::now();
  const bool completed = scan.RunScan();
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  platform::OnInterrupt(nullptr);
  running = nullptr;
  scan.FlushLines();
  const int status = !completed ? 1 : scan.GetErrorCount() > 0 ? 3 : 0;
  if (options->json) PrintSummary(scan, status, seconds, out);
  else std::fprintf(out, "%s\n", scan.GetStatusText().c_str());
  std::fflush(out);
  if (status == 3)
    std::fprintf(err, "ombral-scan: completed with %d error%s\n", scan.GetErrorCount(),
                 scan.GetErrorCount() == 1 ? "" : "s");
  return status;
}

}  // namespace ombral
