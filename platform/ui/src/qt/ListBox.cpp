#include "platform/ListBox.h"

#include <QListWidget>
#include <algorithm>
#include <climits>
#include <new>

#include "Dispatch.h"
#include "QtText.h"
#include "WindowRegistry.h"
#include "platform/Crt.h"
#include "platform/testing/ListBoxCapacity.h"

using platform::ui::WindowData;

namespace platform::testing {
namespace {
int g_capacity = INT_MAX;
}  // namespace

int SetListBoxCapacity(int lines) {
  const int previous = g_capacity;
  g_capacity = lines < 0 ? INT_MAX : lines;
  return previous;
}
}  // namespace platform::testing

namespace {

QListWidget* ListOf(HWND handle) {
  return qobject_cast<QListWidget*>(platform::ui::WidgetOf(handle));
}

// The list box's parent hears of it before the call returns.
int OutOfSpace(HWND handle) {
  const WindowData* data = platform::ui::FindWindow(handle);
  QWidget* parent = data ? data->widget->parentWidget() : nullptr;
  if (parent) {
    platform::ui::SendCommand(platform::ui::HandleOf(parent), data->controlId, LBN_ERRSPACE,
                              handle);
  }
  return LB_ERRSPACE;
}

// Where a line goes in a sorted list: after every line that is not greater,
// without regard to case.
int SortedPosition(const QListWidget& list, const char* text) {
  int low = 0;
  int high = list.count();
  while (low < high) {
    const int middle = (low + high) / 2;
    const std::string line = platform::ui::FromQt(list.item(middle)->text());
    if (_stricmp(line.c_str(), text) <= 0) low = middle + 1;
    else high = middle;
  }
  return low;
}

}  // namespace

int CListBox::AddString(const char* text) {
  const WindowData* data = platform::ui::FindWindow(m_hWnd);
  QListWidget* list = ListOf(m_hWnd);
  if (!data || !list) return LB_ERR;
  const int index = (data->style & LBS_SORT) ? SortedPosition(*list, text ? text : "") : -1;
  return InsertString(index, text);
}

int CListBox::InsertString(int index, const char* text) {
  QListWidget* list = ListOf(m_hWnd);
  if (!list) return LB_ERR;
  const int count = list->count();
  if (index > count) return LB_ERR;
  if (count >= platform::testing::g_capacity) return OutOfSpace(m_hWnd);
  if (index < 0) index = count;
  try {
    list->insertItem(index, platform::ui::ToQt(text ? text : ""));
  } catch (const std::bad_alloc&) {
    return OutOfSpace(m_hWnd);
  }
  return index;
}

int CListBox::AddStrings(const char* const* texts, int count) {
  const WindowData* data = platform::ui::FindWindow(m_hWnd);
  QListWidget* list = ListOf(m_hWnd);
  if (!data || !list || !texts || count < 0) return LB_ERR;
  if (data->style & LBS_SORT) return 0;
  const int before = list->count();
  const int room = platform::testing::g_capacity - before;
  const int fitting = std::max(0, std::min(count, room));
  QStringList lines;
  lines.reserve(fitting);
  try {
    for (int i = 0; i < fitting; ++i) lines.append(platform::ui::ToQt(texts[i] ? texts[i] : ""));
    list->insertItems(before, lines);
  } catch (const std::bad_alloc&) {
    // Whatever got in stays; the caller learns how much that was.
  }
  return list->count() - before;
}

int CListBox::DeleteString(UINT index) {
  QListWidget* list = ListOf(m_hWnd);
  if (!list || index >= static_cast<UINT>(list->count())) return LB_ERR;
  delete list->takeItem(static_cast<int>(index));
  return list->count();
}

void CListBox::ResetContent() {
  WindowData* data = platform::ui::FindWindow(m_hWnd);
  QListWidget* list = ListOf(m_hWnd);
  if (!data || !list) return;
  data->programmaticChange = true;
  list->clear();
  data->programmaticChange = false;
}

int CListBox::GetCount() const {
  QListWidget* list = ListOf(m_hWnd);
  return list ? list->count() : LB_ERR;
}

int CListBox::SetCurSel(int index) {
  WindowData* data = platform::ui::FindWindow(m_hWnd);
  QListWidget* list = ListOf(m_hWnd);
  if (!data || !list) return LB_ERR;
  data->programmaticChange = true;
  const bool valid = index >= 0 && index < list->count();
  if (valid) {
    list->setCurrentRow(index);
    list->scrollToItem(list->item(index));
  } else {
    list->clearSelection();
    list->setCurrentRow(-1);
  }
  data->programmaticChange = false;
  return valid ? index : LB_ERR;
}

int CListBox::GetCurSel() const {
  QListWidget* list = ListOf(m_hWnd);
  if (!list) return LB_ERR;
  const QList<QListWidgetItem*> selected = list->selectedItems();
  return selected.isEmpty() ? LB_ERR : list->row(selected.first());
}

int CListBox::GetText(int index, CString& text) const {
  QListWidget* list = ListOf(m_hWnd);
  if (!list || index < 0 || index >= list->count()) return LB_ERR;
  text = CString(platform::ui::FromQt(list->item(index)->text()));
  return text.GetLength();
}

int CListBox::GetTextLen(int index) const {
  CString text;
  return GetText(index, text);
}

int CListBox::GetTopIndex() const {
  QListWidget* list = ListOf(m_hWnd);
  if (!list || list->count() == 0) return 0;
  const int row = list->row(list->itemAt(1, 1));
  return row < 0 ? 0 : row;
}

int CListBox::SetTopIndex(int index) {
  QListWidget* list = ListOf(m_hWnd);
  if (!list || index < 0 || index >= list->count()) return LB_ERR;
  list->scrollToItem(list->item(index), QAbstractItemView::PositionAtTop);
  return 0;
}
