// The window order and the screen's metrics: the always-on-top band, the
// safe owner of a dialog, the screens and the size of the screen's free area.
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

#include "WindowRegistry.h"
#include "platform/WinApp.h"
#include "platform/Wnd.h"

using platform::ui::FindWindow;
using platform::ui::WindowData;

namespace {

// Changes the stays-on-top hint. Qt hides a window whose flags change, so a
// visible window is shown again, in its place and without activation.
void SetStaysOnTop(WindowData& data, bool topMost) {
  QWidget* widget = data.widget;
  if (widget->windowFlags().testFlag(Qt::WindowStaysOnTopHint) == topMost) return;
  const bool visible = widget->isVisible();
  const QRect geometry = widget->geometry();
  const bool noActivation = widget->testAttribute(Qt::WA_ShowWithoutActivating);
  widget->setWindowFlag(Qt::WindowStaysOnTopHint, topMost);
  widget->setGeometry(geometry);
  if (visible) {
    widget->setAttribute(Qt::WA_ShowWithoutActivating, true);
    widget->show();
    widget->setAttribute(Qt::WA_ShowWithoutActivating, noActivation);
  }
  data.exStyle = topMost ? (data.exStyle | WS_EX_TOPMOST) : (data.exStyle & ~WS_EX_TOPMOST);
}

}  // namespace

BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
  WindowData* data = FindWindow(window);
  if (!data) return FALSE;
  if (!(flags & SWP_NOZORDER) && data->widget->isWindow()) {
    if (insertAfter == HWND_TOPMOST) SetStaysOnTop(*data, true);
    if (insertAfter == HWND_NOTOPMOST) SetStaysOnTop(*data, false);
  }
  if ((flags & (SWP_NOMOVE | SWP_NOSIZE)) != (SWP_NOMOVE | SWP_NOSIZE)) {
    CWnd* target = CWnd::FromHandle(window);
    RECT rect{};
    target->GetWindowRect(&rect);
    if (!data->widget->isWindow()) {
      // A control's rectangle is relative to its parent.
      POINT corner{rect.left, rect.top};
      if (CWnd* parent = target->GetParent()) parent->ScreenToClient(&corner);
      rect = RECT{corner.x, corner.y, corner.x + rect.right - rect.left,
                  corner.y + rect.bottom - rect.top};
    }
    const int left = (flags & SWP_NOMOVE) ? rect.left : x;
    const int top = (flags & SWP_NOMOVE) ? rect.top : y;
    const int width = (flags & SWP_NOSIZE) ? rect.right - rect.left : cx;
    const int height = (flags & SWP_NOSIZE) ? rect.bottom - rect.top : cy;
    target->MoveWindow(left, top, width, height, TRUE);
  }
  return TRUE;
}

HMONITOR MonitorFromWindow(HWND window, DWORD flags) {
  if (!qGuiApp) return nullptr;
  QWidget* widget = platform::ui::WidgetOf(window);
  QScreen* found = nullptr;
  if (widget) {
    // The screen that holds the largest part of the window.
    const QRect frame = widget->window()->frameGeometry();
    qint64 most = 0;
    for (QScreen* screen : QGuiApplication::screens()) {
      const QRect common = screen->geometry().intersected(frame);
      const qint64 area = static_cast<qint64>(common.width()) * common.height();
      if (!common.isEmpty() && area > most) {
        most = area;
        found = screen;
      }
    }
    if (!found && flags == MONITOR_DEFAULTTONEAREST) {
      const QPoint centre = frame.center();
      qint64 nearest = -1;
      for (QScreen* screen : QGuiApplication::screens()) {
        const QRect area = screen->geometry();
        const qint64 dx = std::max({area.left() - centre.x(), 0, centre.x() - area.right()});
        const qint64 dy = std::max({area.top() - centre.y(), 0, centre.y() - area.bottom()});
        if (nearest < 0 || dx * dx + dy * dy < nearest) {
          nearest = dx * dx + dy * dy;
          found = screen;
        }
      }
    }
  }
  if (!found && flags != MONITOR_DEFAULTTONULL) found = QGuiApplication::primaryScreen();
  return reinterpret_cast<HMONITOR>(found);
}

BOOL GetMonitorInfo(HMONITOR monitor, MONITORINFO* info) {
  if (!monitor || !info || !qGuiApp) return FALSE;
  auto* screen = reinterpret_cast<QScreen*>(monitor);
  if (!QGuiApplication::screens().contains(screen)) return FALSE;
  const auto toRect = [](const QRect& rect) {
    return RECT{rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()};
  };
  info->rcMonitor = toRect(screen->geometry());
  info->rcWork = toRect(screen->availableGeometry());
  info->dwFlags = screen == QGuiApplication::primaryScreen() ? MONITORINFOF_PRIMARY : 0;
  return TRUE;
}

int GetSystemMetrics(int index) {
  QScreen* screen = qGuiApp ? QGuiApplication::primaryScreen() : nullptr;
  if (!screen) return 0;
  switch (index) {
    case SM_CXSCREEN:
      return screen->geometry().width();
    case SM_CYSCREEN:
      return screen->geometry().height();
    case SM_CXFULLSCREEN:
      return screen->availableGeometry().width();
    case SM_CYFULLSCREEN:
      return screen->availableGeometry().height();
    default:
      return 0;
  }
}

CWnd* CWnd::GetSafeOwner(CWnd* parent, HWND* topLevel) {
  CWnd* owner = parent ? parent->GetTopLevelOwner() : AfxGetMainWnd();
  if (owner && !owner->m_hWnd) owner = nullptr;
  if (topLevel) *topLevel = owner ? owner->m_hWnd : nullptr;
  return owner;
}
