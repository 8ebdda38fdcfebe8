// CListCtrl's columns, image lists, rectangles and hit tests.
#include <QFontMetrics>

#include "../common/UiText.h"
#include "ImageListData.h"
#include "ListViewWidget.h"
#include "QtText.h"
#include "platform/ListCtrl.h"

using platform::ui::ListColumn;
using platform::ui::ListModel;
using platform::ui::ListViewOf;
using platform::ui::ListViewWidget;

namespace {

// The width a column gets when none is given: its heading and a margin.
int DefaultWidth(const ListViewWidget& list, const std::string& heading) {
  return QFontMetrics(list.font()).horizontalAdvance(platform::ui::ToQt(heading)) + 12;
}

}  // namespace

int CListCtrl::InsertColumn(int column, const LVCOLUMN* info) {
  ListViewWidget* list = ListViewOf(m_hWnd);
  if (!list || !info || column < 0) return -1;
  ListModel& model = list->Model();
  const int position = std::min(column, model.ColumnCount());
  ListColumn value;
  if ((info->mask & LVCF_TEXT) && info->pszText) value.heading = info->pszText;
  if (info->mask & LVCF_FMT) value.format = info->fmt;
  value.width = (info->mask & LVCF_WIDTH) && info->cx >= 0 ? info->cx
                                                           : DefaultWidth(*list, value.heading);
  value.subItem = (info->mask & LVCF_SUBITEM) ? info->iSubItem : position;
  model.InsertColumn(position, std::move(value));
  list->ShowColumns();
  return position;
}

int CListCtrl::InsertColumn(int column, const char* heading, int format, int width, int subItem) {
  LVCOLUMN info{};
  info.mask = LVCF_TEXT | LVCF_FMT;
  info.pszText = const_cast<char*>(heading ? heading : "");
  info.fmt = format;
  if (width >= 0) {
    info.mask |= LVCF_WIDTH;
    info.cx = width;
  }
  if (subItem >= 0) {
    info.mask |= LVCF_SUBITEM;
    info.iSubItem = subItem;
  }
  return InsertColumn(column, &info);
}

BOOL CListCtrl::DeleteColumn(int column) {
  ListViewWidget* list = ListViewOf(m_hWnd);
  if (!list || column < 0 || column >= list->Model().ColumnCount()) return FALSE;
  list->Model().RemoveColumn(column);
  list->ShowColumns();
  return TRUE;
}

BOOL CListCtrl::GetColumn(int column, LVCOLUMN* info) const {
  const ListViewWidget* list = ListViewOf(m_hWnd);
  if (!list || !info || column < 0 || column >= list->Model().ColumnCount()) return FALSE;
  const ListColumn& value = list->Model().Column(column);
  if (info->mask & LVCF_FMT) info->fmt = value.format;
  if (info->mask & LVCF_WIDTH) info->cx = value.width;
  if (info->mask & LVCF_SUBITEM) info->iSubItem = value.subItem;
  if ((info->mask & LVCF_TEXT) && info->pszText && info->cchTextMax > 0) {
    platform::ui::CopyTextTo(value.heading, info->pszText,
                             static_cast<std::size_t>(info->cchTextMax));
  }
  return TRUE;
}

BOOL CListCtrl::SetColumn(int column, const LVCOLUMN* info) {
  ListViewWidget* list = ListViewOf(m_hWnd);
  if (!list || !info || column < 0 || column >= list->Model().ColumnCount()) return FALSE;
  ListColumn value = list->Model().Column(column);
  if ((info->mask & LVCF_TEXT) && info->pszText) value.heading = info->pszText;
  if (info->mask & LVCF_FMT) value.format = info->fmt;
  if ((info->mask & LVCF_WIDTH) && info->cx >= 0) value.width = info->cx;
  if (info->mask & LVCF_SUBITEM) value.subItem = info->iSubItem;
  list->Model().SetColumn(column, std::move(value));
  list->ShowColumns();
  return TRUE;
}

int CListCtrl::GetColumnWidth(int column) const {
  const ListViewWidget* list = ListViewOf(m_hWnd);
  if (!list || column < 0 || column >= list->Model().ColumnCount()) return 0;
  return list->Model().Column(column).width;
}

BOOL CListCtrl::SetColumnWidth(int column, int width) {
  LVCOLUMN info{};
  info.mask = LVCF_WIDTH;
  info.cx = std::max(0, width);
  return SetColumn(column, &info);
}

// --- Image lists ----------------------------------------------------------------------------

CImageList* CListCtrl::SetImageList(CImageList* imageList, int type) {
  ListViewWidget* list = ListViewOf(m_hWnd);
  if (!list || type < LVSIL_NORMAL || type > LVSIL_STATE) return nullptr;
  CImageList* previous = CImageList::FromHandle(list->Model().ImageList(type));
  list->Model().SetImageList(type, imageList ? imageList->GetSafeHandle() : nullptr);
  list->ImageListsChanged();
  return previous;
}

CImageList* CListCtrl::GetImageList(int type) const {
  const ListViewWidget* list = ListViewOf(m_hWnd);
  return list ? CImageList::FromHandle(list->Model().ImageList(type)) : nullptr;
}

// --- Rectangles and hit tests -------------------------------------------------------------------

BOOL CListCtrl::GetItemRect(int item, LPRECT rect, UINT code) const {
  const ListViewWidget* list = ListViewOf(m_hWnd);
  if (!list || !rect || !list->Model().ValidRow(item)) return FALSE;
  const QRect part = list->ItemRect(item, code);
  *rect = RECT{part.left(), part.top(), part.left() + part.width(), part.top() + part.height()};
  return TRUE;
}

int CListCtrl::HitTest(CPoint point, UINT* flags) const {
  LVHITTESTINFO info{};
  info.pt = point;
  const int row = HitTest(&info);
  if (flags) *flags = info.flags;
  return row;
}

int CListCtrl::HitTest(LVHITTESTINFO* info) const {
  const ListViewWidget* list = ListViewOf(m_hWnd);
  if (!info) return -1;
  info->flags = LVHT_NOWHERE;
  info->iItem = -1;
  info->iSubItem = -1;
  if (!list) return -1;
  info->iItem = list->HitTest(QPoint(info->pt.x, info->pt.y), info->flags, info->iSubItem);
  return info->iItem;
}

BOOL CListCtrl::EnsureVisible(int item, BOOL) {
  ListViewWidget* list = ListViewOf(m_hWnd);
  if (!list || !list->Model().ValidRow(item)) return FALSE;
  list->EnsureVisible(item);
  return TRUE;
}
