// CZnTreeCtrl: trees read from Zn INI files and their data files.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "TreeProgress.h"
#include "ZnIniLimits.h"
#include "platform/Drives.h"
#include "platform/FileSystem.h"
#include "znwidgets/ZnTreeCtrl.h"

using znwidgets::detail::TreeProgress;

namespace znwidgets::detail {
namespace {
ZnIniLimits g_limits{ZN_TREE_MAX_FILL_ITEMS, ZN_TREE_MAX_FILL_LINES};
}  // namespace

ZnIniLimits SetZnIniLimits(ZnIniLimits limits) {
  const ZnIniLimits previous = g_limits;
  g_limits = limits;
  return previous;
}

// One call of a recursive filler: what every level shares, and the work
// done so far against the call's limits.
struct ZnIniFill {
  const char* path;
  bool recursive;
  bool dataFile;
  TreeProgress progress;
  std::vector<std::string> keysOnPath;
  long items = 0;
  long lines = 0;
  bool stopped = false;  // a limit was reached: every level ends

  // Counts one more line read; false (and the fill stops) past the limit.
  bool ReadOne() {
    if (++lines > g_limits.lines) stopped = true;
    return !stopped;
  }
  // Counts one more item; false (and the fill stops) past the limit.
  bool InsertOne() {
    if (++items > g_limits.items) stopped = true;
    return !stopped;
  }
};

}  // namespace znwidgets::detail

using znwidgets::detail::ZnIniFill;

namespace {

constexpr const char* kTitle = "Verarbeitung läuft...";
constexpr const char* kStatus = "Daten werden eingelesen...";

// Opens a file for reading; null when it cannot be opened or is a folder.
std::FILE* OpenLines(const char* path) {
  const std::string native = platform::ToNativePath(path ? path : "");
  platform::FileStat stat;
  if (native.empty() || !platform::GetFileStat(native, stat) || stat.isDirectory) return nullptr;
  return std::fopen(native.c_str(), "rb");
}

// The next line, as the original reads it: at most 999 bytes a read (a
// longer line comes in pieces), ending at its first zero byte.
bool ReadLine(std::FILE* file, CZnString& line) {
  char buffer[1000];
  if (!std::fgets(buffer, sizeof buffer, file)) return false;
  line = buffer;
  return true;
}

// The value `line` gives `key`: the line counts when, after leading
// blanks, it begins with the key and its name equals the key (without
// regard to case for data files). Empty values count for nothing.
bool ValueFor(CZnString line, const char* key, bool dataFile, CZnString& value) {
  line.DelLeadChar(' ');
  if (std::strncmp(line, key, std::strlen(key)) != 0) return false;
  CZnString name;
  line.PartString(name, "=", value);
  if (dataFile ? name.CompareNoCase(key) != 0 : name != key) return false;
  value.DelEndChar('\n');
  return !value.IsEmpty();
}

// The values of the lines after the current position whose text and name
// begin with `value`, for the second level of InitTreeWithZnIni.
bool SecondLevelValue(CZnString line, const CZnString& value, CZnString& child) {
  line.DelLeadChar(' ');
  const std::size_t length = static_cast<std::size_t>(value.GetLength());
  if (std::strncmp(line, value, length) != 0) return false;
  CZnString name;
  line.PartString(name, "=", child);
  if (std::strncmp(name, value, length) != 0) return false;
  child.DelEndChar('\n');
  return !child.IsEmpty();
}

}  // namespace

HTREEITEM CZnTreeCtrl::MapParent(HTREEITEM parent) {
  if (parent != TVI_ROOT) return parent;
  HTREEITEM first = GetRootItem();
  return first ? first : TVI_ROOT;
}

HTREEITEM CZnTreeCtrl::Insert(const char* text, HTREEITEM parent, int sorted) {
  return InsertItem(text, parent, sorted ? TVI_SORT : TVI_LAST);
}

// One level of a recursive filler, reading `file` (closed here). A value
// that is already a key on the way down, or one past the depth limit, is
// inserted but not followed: a file describing a cycle would otherwise
// recurse until the stack breaks. A fill past its limits ends on every
// level, keeping what it inserted.
void CZnTreeCtrl::FillZnIniLevel(std::FILE* file, const char* key, HTREEITEM parent, int sorted,
                                 ZnIniFill& fill) {
  if (!file) return;
  fill.keysOnPath.emplace_back(key);
  CZnString line;
  CZnString value;
  while (!fill.stopped && ReadLine(file, line) && fill.ReadOne()) {
    if (fill.dataFile) fill.progress.Step();
    if (!ValueFor(line, key, fill.dataFile, value)) continue;
    if (!fill.dataFile) fill.progress.Step();
    if (!fill.InsertOne()) break;
    HTREEITEM item = Insert(value, parent, sorted);
    if (!fill.recursive || !item) continue;
    const bool onPath = std::find(fill.keysOnPath.begin(), fill.keysOnPath.end(),
                                  std::string(value)) != fill.keysOnPath.end();
    if (!onPath && fill.keysOnPath.size() < static_cast<std::size_t>(ZN_TREE_MAX_DEPTH)) {
      FillZnIniLevel(OpenLines(fill.path), value, item, 1, fill);
    }
  }
  fill.keysOnPath.pop_back();
  std::fclose(file);
}

int CZnTreeCtrl::FillZnIni(const char* path, const char* key, HTREEITEM parent, int clear,
                           int sorted, int recursive, bool dataFile, CZnProgressDlg* dialog) {
  std::FILE* file = OpenLines(path);
  if (!file) return 0;
  ZnIniFill fill{path, recursive != 0, dataFile, TreeProgress(dialog), {}};
  fill.progress.Label(kTitle, kStatus, -1, 100);
  // Cleared before the parent is mapped: mapping first would name an item
  // the clearing deletes.
  if (clear && GetCount() > 0) DeleteAllItems();
  FillZnIniLevel(file, key ? key : "", MapParent(parent), sorted, fill);
  return fill.stopped ? 0 : 1;
}

int CZnTreeCtrl::InitTreeWithRecZnIni(const char* path, const char* key, HTREEITEM parent,
                                      int clear, int sorted, int recursive,
                                      CZnProgressDlg* dialog) {
  m_nTreeType = ZN_TREE_ZNINI;
  return FillZnIni(path, key, parent, clear, sorted, recursive, false, dialog);
}

int CZnTreeCtrl::InitTreeWithZnData(const char* path, const char* key, HTREEITEM parent,
                                    int clear, int sorted, int recursive,
                                    CZnProgressDlg* dialog) {
  m_nTreeType = ZN_TREE_ZNDATA;
  return FillZnIni(path, key, parent, clear, sorted, recursive, true, dialog);
}

int CZnTreeCtrl::InitTreeWithZnIni(const char* path, std::FILE* file, const char* key,
                                   HTREEITEM parent, int clear, int sorted, int twoLevels,
                                   CZnProgressDlg* dialog) {
  m_nTreeType = ZN_TREE_ZNINI;
  if (!file) file = OpenLines(path);
  if (!file) return 0;
  // Each value reads the rest of the file for its second level, so lines
  // read and items inserted grow with the square of the lines (a file of
  // many lines for the key would take hours): the recursive fillers'
  // limits hold here too.
  ZnIniFill fill{path, false, false, TreeProgress(dialog), {}};
  fill.progress.Label(kTitle, kStatus, -1, 100);
  if (clear && GetCount() > 0) DeleteAllItems();
  parent = MapParent(parent);
  if (!key) key = "";
  CZnString line;
  CZnString value;
  CZnString child;
  while (!fill.stopped && ReadLine(file, line) && fill.ReadOne()) {
    if (!ValueFor(line, key, false, value) || !fill.InsertOne()) continue;
    HTREEITEM item = Insert(value, parent, sorted);
    fill.progress.Step();
    // The second level comes from the lines after this one; then the
    // reading goes on after this line. A stream without positions (a
    // pipe) cannot go back, so it gets no second level.
    const long resume = twoLevels ? std::ftell(file) : -1;
    if (resume < 0 || !item) continue;
    while (!fill.stopped && ReadLine(file, line) && fill.ReadOne()) {
      fill.progress.Step();
      if (SecondLevelValue(line, value, child) && fill.InsertOne()) Insert(child, item, sorted);
    }
    std::clearerr(file);
    if (std::fseek(file, resume, SEEK_SET) != 0) break;
  }
  std::fclose(file);
  return fill.stopped ? 0 : 1;
}
