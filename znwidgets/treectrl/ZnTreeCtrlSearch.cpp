// CZnTreeCtrl: finding items by their text, and hits in INI sections.
#include <cstring>
#include <new>
#include <string>
#include <unordered_set>
#include <vector>

#include "TreeProgress.h"
#include "platform/Crt.h"
#include "platform/Profile.h"
#include "znwidgets/ZnTreeCtrl.h"

using znwidgets::detail::TreeProgress;

namespace {

constexpr const char* kSearchTitle = "Suche läuft...";
constexpr DWORD kWorkSize = 64000;

// The text cut to `limit` bytes at a character boundary, as the fixed
// buffers of the search keep their texts.
std::string Cut(std::string text, std::size_t limit) {
  if (text.size() <= limit) return text;
  std::size_t count = limit;
  while (count > 0 && (static_cast<unsigned char>(text[count]) & 0xC0) == 0x80) --count;
  text.resize(count);
  return text;
}

std::string Upper(const char* text) {
  std::string upper = text;
  platform::AsciiUpper(upper);
  return upper;
}

bool Matches(const char* itemText, const char* text, int ignoreCase, int contained,
             bool leadingPart) {
  if (leadingPart) {
    // The item's text is the beginning of the search text.
    const std::size_t length = std::strlen(itemText);
    return ignoreCase ? _strnicmp(itemText, text, length) == 0
                      : std::strncmp(itemText, text, length) == 0;
  }
  if (contained) {
    // The reverse of the usual test: the item's text lies within the
    // search text.
    if (!ignoreCase) return std::strstr(text, itemText) != nullptr;
    return Upper(text).find(Upper(itemText)) != std::string::npos;
  }
  return ignoreCase ? _stricmp(itemText, text) == 0 : std::strcmp(itemText, text) == 0;
}

}  // namespace

// The walk: each item, then its children (a search of their own, with the
// dialog labelled anew and its own count from 0), then the next sibling or
// next visible item, counting on from where the walk stood before its
// children. The nested searches are kept on a list instead of the call
// stack, so a tree of any depth or breadth cannot exhaust the stack.
//
// By next visible item, a search of an item's children walks on past them
// through the rest of the shown tree, and the walk it came from later
// walks the same items again: every expanded level doubles the work, so a
// tree of a few dozen expanded folders would never finish. A walk that
// reaches an item already searched ends instead: everything after that
// item has been searched from it, without a match, so the item found is
// the same.
HTREEITEM CZnTreeCtrl::FindItem(const char* text, HTREEITEM start, int ignoreCase,
                                int nextVisible, int contained, bool leadingPart,
                                CZnProgressDlg* dialog) {
  TreeProgress progress(dialog);
  CString status;
  status.Format("\"%s\" wird gesucht...", text);
  progress.Label(kSearchTitle, status, -1, GetCount());
  const bool byVisible = nextVisible && !leadingPart;
  auto next = [&](HTREEITEM item) {
    return byVisible ? GetNextVisibleItem(item) : GetNextSiblingItem(item);
  };
  struct Walk {
    HTREEITEM item;         // the item this search is at
    unsigned int position;  // its count, kept while a nested search runs
  };
  std::vector<Walk> walks{{start == TVI_ROOT ? GetRootItem() : start, 0}};
  std::unordered_set<HTREEITEM> searched;
  while (!walks.empty()) {
    HTREEITEM item = walks.back().item;
    if (!item || !searched.insert(item).second) {
      // This search found nothing: its caller goes on after its item.
      walks.pop_back();
      if (!walks.empty()) {
        progress.Resume(walks.back().position);
        walks.back().item = next(walks.back().item);
      }
      continue;
    }
    progress.Step();
    if (Matches(GetItemText(item), text, ignoreCase, contained, leadingPart)) return item;
    if (ItemHasChildren(item)) {
      walks.back().position = progress.Position();
      progress.Label(kSearchTitle, status, -1, GetCount());
      walks.push_back({GetChildItem(item), 0});
    } else {
      walks.back().item = next(item);
    }
  }
  return nullptr;
}

HTREEITEM CZnTreeCtrl::FindTreeItem(const char* text, HTREEITEM start, int ignoreCase,
                                    int nextVisible, int select, int contained,
                                    CZnProgressDlg* dialog) {
  const unsigned long type = m_nTreeType;
  m_nTreeType = ZN_TREE_NONE;
  HTREEITEM found = FindItem(text ? text : "", start, ignoreCase, nextVisible, contained, false, dialog);
  m_nTreeType = type;
  if (found && select) {
    SelectItem(found);
    SetFocus();
  }
  return found;
}

HTREEITEM CZnTreeCtrl::FindTreeItemBase(const char* text, HTREEITEM start, int ignoreCase,
                                        int select, CZnProgressDlg* dialog) {
  const unsigned long type = m_nTreeType;
  m_nTreeType = ZN_TREE_NONE;
  HTREEITEM found = FindItem(text ? text : "", start, ignoreCase, 0, 0, true, dialog);
  m_nTreeType = type;
  if (found && select) {
    SelectItem(found);
    SetFocus();
  }
  return found;
}

int CZnTreeCtrl::FindInSection(const char* iniFile, const char* pattern1, const char* pattern2,
                               HTREEITEM parent, const char* keySuffix, CZnProgressDlg* dialog) {
  std::vector<char> names;
  std::vector<char> entries;
  try {
    names.resize(kWorkSize);
    entries.resize(kWorkSize);
  } catch (const std::bad_alloc&) {
    return 0;
  }
  if (!pattern1) pattern1 = "";
  if (!pattern2) pattern2 = "";
  if (GetPrivateProfileSectionNamesA(names.data(), kWorkSize, iniFile) <= 2) return 0;
  TreeProgress progress(dialog);
  CString status;
  status.Format("\"%s=*%s*\" wird gesucht...", pattern1, pattern2);
  progress.Label(kSearchTitle, status, 0, 100);
  for (const char* section = names.data(); *section; section += std::strlen(section) + 1) {
    const std::string name = Cut(section, 299);
    GetPrivateProfileSectionA(name.c_str(), entries.data(), kWorkSize, iniFile);
    for (const char* entry = entries.data(); *entry; entry += std::strlen(entry) + 1) {
      progress.Step();
      if (name == "Main") continue;
      const std::string text = Cut(entry, 2999);
      if (!std::strstr(text.c_str(), pattern1) || !std::strstr(text.c_str(), pattern2)) continue;
      const std::string key = Cut(name + (keySuffix ? keySuffix : ""), 299);
      char value[3000] = "";
      GetPrivateProfileStringA(name.c_str(), key.c_str(), "", value, sizeof value, iniFile);
      const std::string itemText = std::string(value) + ",         " + name;
      progress.ShowItem(itemText.c_str());
      InsertItem(itemText.c_str(), parent, TVI_SORT);
    }
  }
  return 1;
}
