// CWnd's members on Qt widgets: text, state, geometry, focus, style, family,
// icons and message boxes.
#include "platform/Wnd.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

#include "../common/Borrowed.h"
#include "../common/UiText.h"
#include "DialogWidget.h"
#include "IconPixmap.h"
#include "QtText.h"
#include "TextLimit.h"
#include "WindowRegistry.h"
#include "platform/Button.h"
#include "platform/MessageBox.h"

using platform::ui::FindWindow;
using platform::ui::FromQt;
using platform::ui::ToQt;
using platform::ui::WidgetOf;
using platform::ui::WindowData;

namespace {

std::string TextOf(const WindowData& data) {
  QWidget* widget = data.widget;
  if (widget->isWindow()) return FromQt(widget->windowTitle());
  if (auto* edit = qobject_cast<QLineEdit*>(widget)) return FromQt(edit->text());
  if (auto* button = qobject_cast<QAbstractButton*>(widget)) return FromQt(button->text());
  if (auto* box = qobject_cast<QGroupBox*>(widget)) return FromQt(box->title());
  return data.text;
}

void SetTextOf(WindowData& data, std::string_view text) {
  QWidget* widget = data.widget;
  if (widget->isWindow()) {
    widget->setWindowTitle(ToQt(text));
  } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
    platform::ui::SetTextBeyondLimit(*edit, ToQt(text));
  } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
    button->setText(ToQt(text));
  } else if (auto* box = qobject_cast<QGroupBox*>(widget)) {
    box->setTitle(ToQt(text));
  } else if (auto* label = qobject_cast<QLabel*>(widget)) {
    data.text = text;
    label->setText(ToQt((data.style & SS_NOPREFIX) ? data.text
                                                   : platform::ui::StripMnemonics(text)));
  }
}

void SetRect(LPRECT rect, const QRect& r) {
  if (rect) *rect = RECT{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

}  // namespace

// --- Text -----------------------------------------------------------------------------

void CWnd::SetWindowText(const char* text) {
  if (WindowData* data = FindWindow(m_hWnd)) SetTextOf(*data, text ? text : "");
}

void CWnd::GetWindowText(CString& text) const {
  const WindowData* data = FindWindow(m_hWnd);
  text = CString(data ? TextOf(*data) : std::string());
}

int CWnd::GetWindowText(char* buffer, int maxCount) const {
  const WindowData* data = FindWindow(m_hWnd);
  if (maxCount < 1) return 0;
  return static_cast<int>(platform::ui::CopyTextTo(data ? TextOf(*data) : std::string(), buffer,
                                                   static_cast<std::size_t>(maxCount)));
}

int CWnd::GetWindowTextLength() const {
  const WindowData* data = FindWindow(m_hWnd);
  return data ? static_cast<int>(TextOf(*data).size()) : 0;
}

// --- State ---------------------------------------------------------------------------

BOOL CWnd::EnableWindow(BOOL enable) {
  QWidget* widget = WidgetOf(m_hWnd);
  if (!widget) return FALSE;
  const BOOL wasDisabled = widget->testAttribute(Qt::WA_ForceDisabled);
  widget->setEnabled(enable != FALSE);
  if (!enable) platform::ui::KeepOwnedWindowsEnabled(*widget);
  return wasDisabled;
}

BOOL CWnd::IsWindowEnabled() const {
  QWidget* widget = WidgetOf(m_hWnd);
  return widget && !widget->testAttribute(Qt::WA_ForceDisabled);
}

BOOL CWnd::ShowWindow(int command) {
  QWidget* widget = WidgetOf(m_hWnd);
  if (!widget) return FALSE;
  const BOOL wasVisible = !widget->isHidden();
  switch (command) {
    case SW_HIDE:
      widget->hide();
      break;
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
      widget->isWindow() ? widget->showMinimized() : widget->show();
      break;
    case SW_RESTORE:
    case SW_SHOWNORMAL:
      widget->isWindow() ? widget->showNormal() : widget->show();
      break;
    default:
      widget->show();
      break;
  }
  return wasVisible;
}

BOOL CWnd::IsWindowVisible() const {
  QWidget* widget = WidgetOf(m_hWnd);
  return widget && widget->isVisible();
}

BOOL CWnd::IsIconic() const {
  QWidget* widget = WidgetOf(m_hWnd);
  return widget && widget->isWindow() && widget->isMinimized();
}

void CWnd::Invalidate(BOOL) {
  if (QWidget* widget = WidgetOf(m_hWnd)) widget->update();
}

void CWnd::UpdateWindow() {
  QWidget* widget = WidgetOf(m_hWnd);
  if (widget && widget->isVisible()) widget->repaint();
}

// --- Drops ------------------------------------------------------------------------------

void CWnd::DragAcceptFiles(BOOL accept) {
  if (auto* dialog = dynamic_cast<platform::ui::DialogWidget*>(WidgetOf(m_hWnd))) dialog->AcceptFileDrops(accept != FALSE);
}

// --- Geometry ---------------------------------------------------------------------------

void CWnd::MoveWindow(int x, int y, int width, int height, BOOL repaint) {
  QWidget* widget = WidgetOf(m_hWnd);
  if (!widget) return;
  if (!widget->isWindow()) {
    widget->setGeometry(x, y, std::max(0, width), std::max(0, height));
  } else {
    // The rectangle includes the frame, as GetWindowRect's does.
    const QRect frame = widget->frameGeometry();
    const QRect client = widget->geometry();
    const int frameWidth = frame.width() - client.width();
    const int frameHeight = frame.height() - client.height();
    const QSize size(std::max(0, width - frameWidth), std::max(0, height - frameHeight));
    const WindowData* data = FindWindow(m_hWnd);
    if (data && (data->style & WS_THICKFRAME)) {
      // The limits of the dialog's present state, as the resize will meet them.
      if (auto* dialog = dynamic_cast<platform::ui::DialogWidget*>(widget)) dialog->ApplySizeLimits();
      widget->resize(size);
    } else if (widget->minimumSize() == widget->maximumSize()) {
      widget->setFixedSize(size);
    } else {
      widget->resize(size);
    }
    widget->move(x, y);
  }
  if (repaint) widget->update();
}

void CWnd::MoveWindow(LPCRECT rect, BOOL repaint) {
  if (rect) MoveWindow(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top,
                       repaint);
}

void CWnd::GetWindowRect(LPRECT rect) const {
  QWidget* widget = WidgetOf(m_hWnd);
  if (!widget) return SetRect(rect, QRect());
  if (widget->isWindow()) return SetRect(rect, widget->frameGeometry());
  SetRect(rect, QRect(widget->mapToGlobal(QPoint(0, 0)), widget->size()));
}

void CWnd::GetClientRect(LPRECT rect) const {
  QWidget* widget = WidgetOf(m_hWnd);
  SetRect(rect, widget ? QRect(QPoint(0, 0), widget->size()) : QRect());
}

void CWnd::ClientToScreen(LPPOINT point) const {
  QWidget* widget = WidgetOf(m_hWnd);
  if (!widget || !point) return;
  const QPoint global = widget->mapToGlobal(QPoint(point->x, point->y));
  *point = POINT{global.x(), global.y()};
}

void CWnd::ScreenToClient(LPPOINT point) const {
  QWidget* widget = WidgetOf(m_hWnd);
  if (!widget || !point) return;
  const QPoint local = widget->mapFromGlobal(QPoint(point->x, point->y));
  *point = POINT{local.x(), local.y()};
}

// --- Focus --------------------------------------------------------------------------------

CWnd* CWnd::SetFocus() {
  CWnd* previous = GetFocus();
  if (QWidget* widget = WidgetOf(m_hWnd)) {
    widget->window()->activateWindow();
    widget->setFocus(Qt::OtherFocusReason);
  }
  return previous;
}

CWnd* CWnd::GetFocus() {
  return FromHandle(platform::ui::HandleOf(QApplication::focusWidget()));
}

// --- Style --------------------------------------------------------------------------------

DWORD CWnd::GetStyle() const {
  const WindowData* data = FindWindow(m_hWnd);
  if (!data) return 0;
  DWORD style = data->style & ~(WS_VISIBLE | WS_DISABLED);
  if (!data->widget->isHidden()) style |= WS_VISIBLE;
  if (data->widget->testAttribute(Qt::WA_ForceDisabled)) style |= WS_DISABLED;
  return style;
}

DWORD CWnd::GetExStyle() const {
  const WindowData* data = FindWindow(m_hWnd);
  return data ? data->exStyle : 0;
}

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT) {
  WindowData* data = FindWindow(m_hWnd);
  if (!data) return FALSE;
  const DWORD before = GetStyle();
  const DWORD after = (before & ~remove) | add;
  if (after == before) return FALSE;
  data->style = after & ~(WS_VISIBLE | WS_DISABLED);
  if ((after ^ before) & WS_VISIBLE) ShowWindow((after & WS_VISIBLE) ? SW_SHOW : SW_HIDE);
  if ((after ^ before) & WS_DISABLED) EnableWindow(!(after & WS_DISABLED));
  if (data->styleChanged) data->styleChanged(before);
  return TRUE;
}

// --- Family ---------------------------------------------------------------------------------

CWnd* CWnd::GetDlgItem(int id) const {
  QWidget* widget = WidgetOf(m_hWnd);
  if (!widget) return nullptr;
  for (QWidget* child : widget->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    const WindowData* data = FindWindow(child);
    if (data && data->controlId == id) return FromHandle(data->handle);
  }
  return nullptr;
}

int CWnd::GetDlgCtrlID() const {
  const WindowData* data = FindWindow(m_hWnd);
  return data ? data->controlId : 0;
}

void CWnd::SetDlgItemText(int id, const char* text) {
  if (CWnd* control = GetDlgItem(id)) control->SetWindowText(text);
}

int CWnd::GetDlgItemText(int id, CString& text) const {
  CWnd* control = GetDlgItem(id);
  text = "";
  if (control) control->GetWindowText(text);
  return text.GetLength();
}

void CWnd::CheckDlgButton(int id, UINT check) {
  if (CWnd* control = GetDlgItem(id)) {
    platform::ui::Borrowed<CButton>(control->m_hWnd)->SetCheck(static_cast<int>(check));
  }
}

UINT CWnd::IsDlgButtonChecked(int id) const {
  CWnd* control = GetDlgItem(id);
  return control ? static_cast<UINT>(platform::ui::Borrowed<CButton>(control->m_hWnd)->GetCheck())
                 : 0;
}

CWnd* CWnd::GetParent() const {
  QWidget* widget = WidgetOf(m_hWnd);
  return widget ? FromHandle(platform::ui::HandleOf(widget->parentWidget())) : nullptr;
}

CWnd* CWnd::GetTopLevelParent() const {
  QWidget* widget = WidgetOf(m_hWnd);
  return widget ? FromHandle(platform::ui::HandleOf(widget->window())) : nullptr;
}

CWnd* CWnd::GetTopLevelOwner() const {
  QWidget* widget = WidgetOf(m_hWnd);
  if (!widget) return nullptr;
  QWidget* top = widget->window();
  while (top->parentWidget() && platform::ui::HandleOf(top->parentWidget()->window())) {
    top = top->parentWidget()->window();
  }
  return FromHandle(platform::ui::HandleOf(top));
}

// --- Icons and message boxes -------------------------------------------------------------------

HICON CWnd::SetIcon(HICON icon, BOOL bigIcon) {
  WindowData* data = FindWindow(m_hWnd);
  if (!data) return nullptr;
  HICON& slot = bigIcon ? data->bigIcon : data->smallIcon;
  const HICON previous = slot;
  slot = icon;
  data->widget->setWindowIcon(platform::ui::WindowIconOf(data->bigIcon, data->smallIcon));
  return previous;
}

HICON CWnd::GetIcon(BOOL bigIcon) const {
  const WindowData* data = FindWindow(m_hWnd);
  return data ? (bigIcon ? data->bigIcon : data->smallIcon) : nullptr;
}

int CWnd::MessageBox(const char* text, const char* caption, UINT type) {
  return ::MessageBox(m_hWnd, text, caption, type);
}
