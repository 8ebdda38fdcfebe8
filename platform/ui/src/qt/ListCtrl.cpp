// CListCtrl's rows: inserting, deleting, texts, images, states, item data,
// searching.
#include "platform/ListCtrl.h"

#include "../common/UiText.h"
#include "ListViewWidget.h"
#include "platform/Crt.h"

using platform::ui::ListModel;
using platform::ui::ListRow;
using platform::ui::ListViewOf;
using platform::ui::ListViewWidget;

namespace {

// The bits kept per row; selected and focused are the view's.
constexpr UINT kRowBits = ~(LVIS_SELECTED | LVIS_FOCUSED);

}  // namespace

int CListCtrl::GetItemCount() const {
  const ListViewWidget* list = ListViewOf(m_hWnd);
  return list ? list->Model().RowCount() : 0;
}

int CListCtrl::InsertItem(int item, const char* text) {
  LVITEM record{};
  record.mask = LVIF_TEXT;
  record.iItem = item;
  record.pszText = const_cast<char*>(text ? text : "");
  return InsertItem(&record);
}

int CListCtrl::InsertItem(int item, const char* text, int image) {
  LVITEM record{};
  record.mask = LVIF_TEXT | LVIF_IMAGE;
  record.iItem = item;
  record.pszText = const_cast<char*>(text ? text : "");
  record.iImage = image;
  return InsertItem(&record);
}

int CListCtrl::InsertItem(const LVITEM* item) {
  ListViewWidget* list = ListViewOf(m_hWnd);
  if (!list || !item || item->iSubItem != 0 || item->iItem < 0) return -1;
  ListModel& model = list->Model();
  const int position = std::min(item->iItem, model.RowCount());
  ListRow row;
  if ((item->mask & LVIF_TEXT) && item->pszText) row.cells.emplace_back(item->pszText);
  if (item->mask & LVIF_IMAGE) row.image = item->iImage;
  if (item->mask & LVIF_PARAM) row.data = static_cast<DWORD_PTR>(item->lParam);
  if (item->mask & LVIF_STATE) row.state = item->state & item->stateMask & kRowBits;
  model.InsertRow(position, std::move(row));
  if (item->mask & LVIF_STATE) {
    list->SetViewState(position, item->state, item->stateMask & ~kRowBits);
  }
  return position;
}

BOOL CListCtrl::DeleteItem(int item) {
  ListViewWidget* list = ListViewOf(m_hWnd);
  if (!list || !list->Model().ValidRow(item)) return FALSE;
  list->Quietly([&] { list->Model().RemoveRow(item); });
  return TRUE;
}

BOOL CListCtrl::DeleteAllItems() {
  ListViewWidget* list = ListViewOf(m_hWnd);
  if (!list) return FALSE;
  list->Quietly([&] { list->Model().RemoveAllRows(); });
  return TRUE;
}

BOOL CListCtrl::SetItem(const LVITEM* item) {
  ListViewWidget* list = ListViewOf(m_hWnd);
  if (!list || !item) return FALSE;
  ListModel& model = list->Model();
  if (!model.ValidRow(item->iItem) || !model.ShowsSubItem(item->iSubItem)) return FALSE;
  if (item->iSubItem != 0 && (item->mask & ~LVIF_TEXT)) return FALSE;
  ListRow& row = model.Row(item->iItem);
  if (item->mask & LVIF_TEXT) {
    model.SetText(item->iItem, item->iSubItem, item->pszText ? item->pszText : "");
  }
  if (item->mask & LVIF_IMAGE) row.image = item->iImage;
  if (item->mask & LVIF_PARAM) row.data = static_cast<DWORD_PTR>(item->lParam);
  if (item->mask & LVIF_STATE) {
    const UINT bits = item->stateMask & kRowBits;
    row.state = (row.state & ~bits) | (item->state & bits);
    list->SetViewState(item->iItem, item->state, item->stateMask & ~kRowBits);
  }
  if (item->mask & (LVIF_IMAGE | LVIF_STATE)) model.RowChanged(item->iItem);
  return TRUE;
}

BOOL CListCtrl::GetItem(LVITEM* item) const {
  const ListViewWidget* list = ListViewOf(m_hWnd);
  if (!list || !item) return FALSE;
  const ListModel& model = list->Model();
  if (!model.ValidRow(item->iItem) || !model.ShowsSubItem(item->iSubItem)) return FALSE;
  const ListRow& row = model.Row(item->iItem);
  if ((item->mask & LVIF_TEXT) && item->pszText && item->cchTextMax > 0) {
    platform::ui::CopyTextTo(model.Text(item->iItem, item->iSubItem), item->pszText,
                             static_cast<std::size_t>(item->cchTextMax));
  }
  if (item->mask & LVIF_IMAGE) item->iImage = row.image;
  if (item->mask & LVIF_PARAM) item->lParam = static_cast<LPARAM>(row.data);
  if (item->mask & LVIF_STATE) {
    item->state = (row.state | list->ViewState(item->iItem)) & item->stateMask;
  }
  return TRUE;
}

BOOL CListCtrl::SetItemText(int item, int subItem, const char* text) {
  LVITEM record{};
  record.mask = LVIF_TEXT;
  record.iItem = item;
  record.iSubItem = subItem;
  record.pszText = const_cast<char*>(text ? text : "");
  return SetItem(&record);
}

int CListCtrl::GetItemText(int item, int subItem, char* buffer, int length) const {
  const ListViewWidget* list = ListViewOf(m_hWnd);
  if (!buffer || length < 1) return 0;
  buffer[0] = '\0';
  if (!list || !list->Model().ValidRow(item) || !list->Model().ShowsSubItem(subItem)) return 0;
  return static_cast<int>(platform::ui::CopyTextTo(list->Model().Text(item, subItem), buffer,
                                                   static_cast<std::size_t>(length)));
}

CString CListCtrl::GetItemText(int item, int subItem) const {
  const ListViewWidget* list = ListViewOf(m_hWnd);
  if (!list || !list->Model().ValidRow(item) || !list->Model().ShowsSubItem(subItem)) return {};
  return CString(list->Model().Text(item, subItem));
}

UINT CListCtrl::GetItemState(int item, UINT mask) const {
  const ListViewWidget* list = ListViewOf(m_hWnd);
  if (!list || !list->Model().ValidRow(item)) return 0;
  return (list->Model().Row(item).state | list->ViewState(item)) & mask;
}

BOOL CListCtrl::SetItemState(int item, UINT state, UINT mask) {
  ListViewWidget* list = ListViewOf(m_hWnd);
  if (!list) return FALSE;
  ListModel& model = list->Model();
  if (item != -1 && !model.ValidRow(item)) return FALSE;
  const UINT bits = mask & kRowBits;
  if (bits) {
    const int first = item == -1 ? 0 : item;
    const int last = item == -1 ? model.RowCount() - 1 : item;
    for (int row = first; row <= last; ++row) {
      model.Row(row).state = (model.Row(row).state & ~bits) | (state & bits);
    }
    if (item == -1) {
      model.AllRowsChanged();
    } else {
      model.RowChanged(item);
    }
  }
  return list->SetViewState(item, state, mask & ~kRowBits) ? TRUE : FALSE;
}

BOOL CListCtrl::SetItemData(int item, DWORD_PTR data) {
  ListViewWidget* list = ListViewOf(m_hWnd);
  if (!list || !list->Model().ValidRow(item)) return FALSE;
  list->Model().Row(item).data = data;
  return TRUE;
}

DWORD_PTR CListCtrl::GetItemData(int item) const {
  const ListViewWidget* list = ListViewOf(m_hWnd);
  return list && list->Model().ValidRow(item) ? list->Model().Row(item).data : 0;
}

int CListCtrl::GetNextItem(int item, int flags) const {
  const ListViewWidget* list = ListViewOf(m_hWnd);
  if (!list) return -1;
  const int count = list->Model().RowCount();
  const int start = std::max(item, -1);
  if (flags & LVNI_FOCUSED) {
    const int focused = list->CurrentRow();
    if (focused <= start) return -1;
    if ((flags & LVNI_SELECTED) && !(list->ViewState(focused) & LVIS_SELECTED)) return -1;
    return focused;
  }
  if (flags & LVNI_SELECTED) return list->NextSelected(start);
  return start + 1 < count ? start + 1 : -1;
}

int CListCtrl::FindItem(const LVFINDINFO* find, int start) const {
  const ListViewWidget* list = ListViewOf(m_hWnd);
  if (!list || !find) return -1;
  const ListModel& model = list->Model();
  const int count = model.RowCount();
  const bool byText = find->flags & (LVFI_STRING | LVFI_PARTIAL);
  const char* wanted = find->psz ? find->psz : "";
  const std::size_t wantedLength = std::strlen(wanted);
  auto matches = [&](int row) {
    if (find->flags & LVFI_PARAM) return model.Row(row).data == static_cast<DWORD_PTR>(find->lParam);
    if (!byText) return false;
    const std::string& text = model.Text(row, 0);
    if (find->flags & LVFI_PARTIAL) return _strnicmp(text.c_str(), wanted, wantedLength) == 0;
    return _stricmp(text.c_str(), wanted) == 0;
  };
  const int first = std::max(start, -1) + 1;
  for (int row = first; row < count; ++row) {
    if (matches(row)) return row;
  }
  if (find->flags & LVFI_WRAP) {
    for (int row = 0; row < std::min(first, count); ++row) {
      if (matches(row)) return row;
    }
  }
  return -1;
}
