// CZnTreeCtrl: item paths, levels and the texts of base and parent items.
#include <algorithm>
#include <cstring>
#include <string>

#include "znwidgets/ZnTreeCtrl.h"

namespace {

// The text members' shared buffer: one fixed block of a path buffer's size,
// overwritten by the next call of either. It is never reallocated, so a
// pointer it handed out stays valid while a later call rewrites it (a caller
// comparing the results of two calls compares the latest text with itself,
// never freed memory).
char g_sharedText[MAX_PATH];

bool IsDriveText(const CZnString& text) { return text.GetLength() >= 2 && text[1] == ':'; }

// Copies into a 260-byte caller buffer, cut at a UTF-8 character boundary.
void CopyCut(const std::string& text, char* buffer) {
  std::size_t count = std::min<std::size_t>(text.size(), MAX_PATH - 1);
  if (count < text.size()) {
    while (count > 0 && (static_cast<unsigned char>(text[count]) & 0xC0) == 0x80) --count;
  }
  std::memcpy(buffer, text.data(), count);
  buffer[count] = '\0';
}

}  // namespace

CZnString CZnTreeCtrl::GetTreeItemPath(HTREEITEM item, CZnString& path, char separator,
                                       int driveRoot, int trailingSeparator, int keepDrive) {
  CZnString text = item ? CZnString(GetItemText(item)) : CZnString();
  text.DelLeadChar(' ');  // folder items carry a leading blank
  HTREEITEM parent = item ? GetParentItem(item) : nullptr;
  if (driveRoot && (!parent || IsDriveText(text))) {
    text = CZnString(text.Left(2));
    text += separator;
  }
  // Up to the nearest drive (or the top). Paths may be longer than the
  // original's 299 bytes here; they are never cut.
  for (HTREEITEM above = parent; above && !IsDriveText(text); above = GetParentItem(above)) {
    CZnString upper(GetItemText(above));
    upper.DelLeadChar(' ');
    if (driveRoot && (!GetParentItem(above) || IsDriveText(upper))) upper = CZnString(upper.Left(2));
    upper += separator;
    upper += text;
    text = upper;
  }
  if (trailingSeparator && item && ItemHasChildren(item)) {
    text.DelEndChar(separator);
    text += separator;
  }
  // Dropping the drive: what splitting the path into drive, folder, name
  // and extension and joining the last three gives, for paths of any
  // length.
  if (!keepDrive && !text.IsEmpty() && text[0] != separator && IsDriveText(text)) {
    text = CZnString(text.Mid(2));
  }
  path = text;
  return text;
}

char* CZnTreeCtrl::GetTreeItemPath(HTREEITEM item, char* buffer, char separator, int driveRoot,
                                   int trailingSeparator, int keepDrive) {
  if (!buffer) return buffer;
  CZnString path;
  GetTreeItemPath(item, path, separator, driveRoot, trailingSeparator, keepDrive);
  // A cut path would name another file: a path that does not fit is refused.
  if (path.GetLength() >= MAX_PATH) path.Empty();
  std::memcpy(buffer, path.GetString(), static_cast<std::size_t>(path.GetLength()) + 1);
  return buffer;
}

int CZnTreeCtrl::GetItemLevel(HTREEITEM item, char*) {
  CZnString path;
  GetTreeItemPath(item, path, '\\', 0, 0, 0);
  return path.CountChar('\\');
}

HTREEITEM CZnTreeCtrl::GetBaseItem(HTREEITEM item) {
  if (!item) return nullptr;
  while (HTREEITEM parent = GetParentItem(item)) item = parent;
  return item;
}

// Both text members: the text (its first two bytes with `driveOnly`) into
// the shared buffer, and from there into the caller's buffer when there is
// one.
char* CZnTreeCtrl::ShareItemText(HTREEITEM source, char* buffer, int driveOnly) {
  std::string text = source ? std::string(GetItemText(source)) : std::string();
  if (driveOnly) text = text.substr(0, 2);
  CopyCut(text, g_sharedText);
  if (!buffer) return g_sharedText;
  std::memcpy(buffer, g_sharedText, std::strlen(g_sharedText) + 1);
  return buffer;
}

char* CZnTreeCtrl::GetBaseItemText(HTREEITEM item, char* buffer, int driveOnly) {
  return ShareItemText(GetBaseItem(item), buffer, driveOnly);
}

char* CZnTreeCtrl::GetParentItemText(HTREEITEM item, char* buffer, int driveOnly) {
  return ShareItemText(item ? GetParentItem(item) : nullptr, buffer, driveOnly);
}

CString CZnTreeCtrl::GetParentItemTextEx(HTREEITEM item, int driveOnly) {
  HTREEITEM parent = item ? GetParentItem(item) : nullptr;
  CString text = parent ? GetItemText(parent) : CString();
  return driveOnly ? text.Left(2) : text;
}
