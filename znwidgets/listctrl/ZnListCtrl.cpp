// CZnListCtrl: construction, columns and rows in their joined-text form.
#include "znwidgets/ZnListCtrl.h"

#include <cstring>
#include <new>
#include <string_view>
#include <vector>

namespace {

constexpr std::size_t kFieldMax = 249;  // a longer field is cut
constexpr std::size_t kFieldKept = 246; // ... to this, followed by "..."
constexpr int kCellMax = 300;           // a cell read by Select, with its terminator
constexpr unsigned int kSelectScratch = 64000;

// The length of the longest prefix of at most `max` bytes that does not end
// inside a UTF-8 sequence.
std::size_t CharacterPrefix(std::string_view text, std::size_t max) {
  if (text.size() <= max) return text.size();
  std::size_t length = max;
  while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) --length;
  return length;
}

// One field as a row stores it: leading blanks dropped, a long field cut
// (at a character boundary) and marked with "...".
std::string StoredField(std::string_view field) {
  const std::size_t first = field.find_first_not_of(' ');
  field = first == std::string_view::npos ? std::string_view() : field.substr(first);
  if (field.size() <= kFieldMax) return std::string(field);
  return std::string(field.substr(0, CharacterPrefix(field, kFieldKept))) + "...";
}

}  // namespace

CZnListCtrl::CZnListCtrl() = default;

CZnListCtrl::~CZnListCtrl() {
  delete m_pImageList;
  delete m_pImageListSmall;
}

// --- Columns -----------------------------------------------------------------------

int CZnListCtrl::InsertCol(const char* heading, int column, int width) {
  if (!m_hWnd) return 0;
  const int count = GetColumnCount();
  const int position = column < 0 || column > count ? count : column;
  if (width < 0) {
    CRect window;
    GetWindowRect(window);
    width = window.Width() - 2 * count;
    for (int existing = 0; existing < count; ++existing) width -= GetColumnWidth(existing);
    if (width < 0) width = 0;
  }
  InsertColumn(position, heading ? heading : "", LVCFMT_LEFT, width, position);
  return 1;
}

int CZnListCtrl::DeleteAllColumns() {
  LVCOLUMN column{};
  column.mask = LVCF_WIDTH;
  while (GetColumn(0, &column)) {
    if (!DeleteColumn(0)) return 0;
  }
  return 1;
}

void CZnListCtrl::ShowColumn(int column, int show, int width) {
  SetColumnWidth(column, show ? LOWORD(static_cast<unsigned>(width)) : 0);
}

int CZnListCtrl::GetColumnCount() {
  LVCOLUMN column{};
  column.mask = LVCF_WIDTH;
  int count = 0;
  while (GetColumn(count, &column)) ++count;
  return count;
}

char* CZnListCtrl::GetColumnText(int column, char* buffer, unsigned long size) {
  if (!buffer || size == 0) return buffer;
  LVCOLUMN info{};
  info.mask = LVCF_TEXT;
  info.pszText = buffer;
  info.cchTextMax = static_cast<int>(std::min<unsigned long>(size, 0x7FFFFFFF));
  if (!GetColumn(column, &info)) buffer[0] = '\0';
  return buffer;
}

int CZnListCtrl::SetColumnText(int column, const char* heading) {
  LVCOLUMN info{};
  info.mask = LVCF_TEXT;
  info.pszText = const_cast<char*>(heading ? heading : "");
  return SetColumn(column, &info);
}

// --- Rows ---------------------------------------------------------------------------

int CZnListCtrl::Insert(int row, char separator, const char* text, int image, int replace) {
  return Insert(text, row, replace, separator, image);
}

int CZnListCtrl::Insert(const char* text, int row, int replace, char separator, int image) {
  const int count = GetItemCount();
  const int target = row >= 0 && row <= count ? row : count;
  if (!text || !*text) return InsertAtCol("", 0, row);
  const int fields = CZnString(text).CountChar(separator) + 1;
  const int columns = GetColumnCount();
  std::string_view rest(text);
  int item = row;
  for (int k = 0; k < fields; ++k) {
    const std::size_t end = std::min(rest.find(separator), rest.size());
    const std::string field = StoredField(rest.substr(0, end));
    rest = rest.substr(std::min(end + 1, rest.size()));
    if (k == 0) {
      if (row < 0 || replace == 0 || (row == 0 && count == 0)) {
        item = image >= 0 ? InsertItem(target, field.c_str(), image)
                          : InsertItem(target, field.c_str());
      } else {
        if (!SetItemText(row, 0, field.c_str())) return 0;
        if (image >= 0) {
          LVITEM picture{};
          picture.mask = LVIF_IMAGE;
          picture.iItem = row;
          picture.iImage = image;
          SetItem(&picture);
        }
      }
      continue;
    }
    if (k > columns) return 0;
    if (!SetItemText(item, k, field.c_str())) return 0;
  }
  return 1;
}

int CZnListCtrl::InsertAtCol(const char* text, int column, int row) {
  if (GetColumnCount() < column) return 0;
  int item = row;
  if (row < 0 || row > GetItemCount()) item = InsertItem(GetItemCount(), " ");
  return SetItemText(item, column, text ? text : "") ? 1 : 0;
}

int CZnListCtrl::InsertAtCol(CString text, int column, int row) {
  const std::string_view whole = text.GetView();
  const std::string copy(whole.substr(0, CharacterPrefix(whole, 260)));
  return InsertAtCol(copy.c_str(), column, row);
}

int CZnListCtrl::Select(int row, char separator, char* buffer, unsigned int size, int* image) {
  return Select(buffer, size, row, separator, image);
}

int CZnListCtrl::Select(char* buffer, unsigned int size, int row, char separator, int* image) {
  if (row > GetItemCount()) return 0;
  if (row < 0) {
    row = m_nCurSel;
    if (row < 0) return 0;
  }
  if (!buffer || size == 0) return 0;
  buffer[0] = '\0';
  const int columns = GetColumnCount();
  std::size_t used = 0;
  for (int column = 0; column < columns; ++column) {
    char cell[kCellMax];
    GetItemText(row, column, cell, kCellMax);
    if (image) *image = -1;
    const std::size_t length = std::strlen(cell);
    const std::size_t joint = column > 0 ? 1 : 0;
    if (used + joint + length + 1 > size) return 0;
    if (joint) buffer[used++] = separator;
    std::memcpy(buffer + used, cell, length + 1);
    used += length;
  }
  return 1;
}

int CZnListCtrl::Select(CZnString& text, int row, char separator, int* image) {
  std::vector<char> scratch;
  try {
    scratch.assign(kSelectScratch, '\0');
  } catch (const std::bad_alloc&) {
    return 0;
  }
  const int result = Select(scratch.data(), kSelectScratch, row, separator, image);
  text = scratch.data();
  return result;
}

void CZnListCtrl::DeleteListContents(int from, int to) {
  if (from == 0 && to == -1) {
    DeleteAllItems();
    return;
  }
  for (int i = from; i < to; ++i) DeleteItem(from);
}

int CZnListCtrl::FindString(CString text, int start, int, int partial) {
  LVFINDINFO find{};
  find.flags = partial ? LVFI_STRING | LVFI_PARTIAL : LVFI_STRING;
  find.psz = text.GetString();
  return FindItem(&find, start);
}
