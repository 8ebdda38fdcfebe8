// The list view control (SysListView32) on Qt: made from a dialog template
// or by CListCtrl::Create, and the bases of CListCtrl's handlers.
#include "ControlMakers.h"
#include "Dispatch.h"
#include "ListViewWidget.h"
#include "WindowRegistry.h"

namespace platform::ui {

QWidget* MakeListView(const DialogItem&, QWidget& dialog) { return new ListViewWidget(&dialog); }

void ConnectListView(QWidget* widget, WindowData& control, HWND dialog) {
  if (auto* list = dynamic_cast<ListViewWidget*>(widget)) list->Connect(control, dialog);
}

}  // namespace platform::ui

using platform::ui::ListViewOf;

CListCtrl::~CListCtrl() = default;

BOOL CListCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  QWidget* parentWidget = parent ? platform::ui::WidgetOf(parent->m_hWnd) : nullptr;
  if (m_hWnd || !parentWidget) return FALSE;
  auto* widget = new platform::ui::ListViewWidget(parentWidget);
  platform::ui::WindowData& data =
      platform::ui::RegisterWindow(widget, platform::ui::WindowKind::ListView);
  data.controlId = static_cast<int>(id);
  data.style = (style | WS_CHILD) & ~(WS_VISIBLE | WS_DISABLED);
  widget->setGeometry(rect.left, rect.top, std::max(0, static_cast<int>(rect.right - rect.left)),
                      std::max(0, static_cast<int>(rect.bottom - rect.top)));
  widget->setEnabled(!(style & WS_DISABLED));
  Attach(data.handle);
  m_bOwnsWindow = true;
  widget->Connect(data, parent->m_hWnd);
  widget->setVisible(style & WS_VISIBLE);
  return TRUE;
}

// --- The bases of the handlers ----------------------------------------------------------

void CListCtrl::DrawItem(LPDRAWITEMSTRUCT) {}

void CListCtrl::OnPaint() {
  if (auto* list = ListViewOf(m_hWnd)) list->RunBasePaint();
}

void CListCtrl::OnSetFocus(CWnd*) {
  if (auto* list = ListViewOf(m_hWnd)) list->RepaintRows();
}

void CListCtrl::OnKillFocus(CWnd*) {
  if (auto* list = ListViewOf(m_hWnd)) list->RepaintRows();
}

void CListCtrl::OnLButtonDown(UINT, CPoint) {
  if (auto* list = ListViewOf(m_hWnd)) list->RunBaseButtonDown();
}

// The bases of the notification handlers pass the notification on to the
// parent: a class that does not handle it lets the parent hear it.
void CListCtrl::OnColumnclick(NMHDR*, LRESULT* result) {
  if (result) *result = 0;
  platform::ui::PassNotifyOn();
}

void CListCtrl::OnDblclk(NMHDR*, LRESULT* result) {
  if (result) *result = 0;
  platform::ui::PassNotifyOn();
}
