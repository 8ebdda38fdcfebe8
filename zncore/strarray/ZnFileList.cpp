// CZnStringArray::FileList: the recursive folder lister.
#include <string>
#include <vector>

#include "SortedOrder.h"
#include "platform/Crt.h"
#include "platform/FileSystem.h"
#include "zncore/ZnStringArray.h"

namespace {

// One run of the lister. It collects the paths in the order the walk finds
// them and hands them to the array at the end, where sorted insertion can be
// done as one merge instead of one linear walk per path.
class FileListWalk {
public:
  FileListWalk(std::string filter, bool recurse, bool foldersOnly)
      : m_filter(std::move(filter)), m_recurse(recurse), m_foldersOnly(foldersOnly) {}

  // Lists one folder; true when an entry of the folder itself was taken.
  bool ListFolder(const std::string& folder) {
    CZnFileFind finder;
    BOOL more = finder.FindFile((folder + "\\*.*").c_str());
    bool found = false;
    while (more) {
      more = finder.FindNextFile();
      if (finder.IsDirectory()) {
        if (!m_recurse || finder.IsDots()) continue;
        EnterFolder(finder);
      } else if (m_foldersOnly) {
        continue;
      }
      if (!m_filter.empty()) {
        const CZnString ext = finder.GetExtension(1);
        if (ext.IsEmpty() || m_filter.find(ext.GetView()) == std::string::npos) continue;
      }
      found = true;
      m_paths.push_back(finder.GetFilePath());
    }
    return found;
  }

  // Guards the walk against symbolic-link cycles: a folder already on the
  // way down from the root is not entered a second time.
  void PushRoot(const std::string& folder) {
    platform::FileIdentity identity;
    if (platform::GetFileIdentity(folder, identity)) m_trail.push_back(identity);
  }

  std::vector<CString>& Paths() { return m_paths; }

private:
  void EnterFolder(const CZnFileFind& finder) {
    platform::FileIdentity identity;
    const bool known = finder.GetFileIdentity(identity);
    if (known) {
      for (const platform::FileIdentity& seen : m_trail)
        if (seen == identity) return;
      m_trail.push_back(identity);
    }
    ListFolder(std::string(finder.GetFilePath().GetView()));
    if (known) m_trail.pop_back();
  }

  std::string m_filter;
  bool m_recurse;
  bool m_foldersOnly;
  std::vector<platform::FileIdentity> m_trail;
  std::vector<CString> m_paths;
};

}  // namespace

int CZnStringArray::FileList(const char* path, const char* filter, int sorted, int recurse, int noCase,
                             int foldersOnly, int clear) {
  CString folder(path);
  folder.TrimRight('\\');
  if (clear) SetSize(0);
  std::string prepared;
  if (filter && *filter && std::string_view(filter) != "*.*") {
    prepared = filter;
    platform::AsciiUpper(prepared);
  }
  return GetFileList(folder, prepared.c_str(), sorted, recurse, noCase, foldersOnly);
}

int CZnStringArray::GetFileList(const char* path, const char* filter, int sorted, int recurse, int noCase,
                                int foldersOnly) {
  const std::string folder = path ? path : "";
  FileListWalk walk(filter ? filter : "", recurse != 0, foldersOnly != 0);
  walk.PushRoot(folder);
  const bool found = walk.ListFolder(folder);

  std::vector<CString>& paths = walk.Paths();
  if (!sorted) {
    for (CString& item : paths) CStringArray::Add(item);
  } else if (GetOrderTag() == zncore::detail::TagFor(noCase) || zncore::detail::IsInOrder(*this, noCase)) {
    zncore::detail::MergeInOrder(*this, std::move(paths), noCase != 0);
  } else {
    // Content out of order: only the linear rule itself gives its result.
    for (CString& item : paths) Add(item, 1, noCase);
  }
  return found ? 1 : 0;
}
