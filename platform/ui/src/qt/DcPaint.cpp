// A window's paint in progress: CPaintDC's clip box, and InvalidateRect,
// which during the window's own OnPaint joins the part being painted
// instead of asking for another paint.
#include <QWidget>
#include <unordered_map>

#include "DcAccess.h"
#include "WindowRegistry.h"
#include "platform/Dc.h"
#include "platform/Wnd.h"

namespace platform::ui {
namespace {

std::unordered_map<HWND, PaintInProgress*>& Paints() {
  static auto* paints = new std::unordered_map<HWND, PaintInProgress*>;
  return *paints;
}

}  // namespace

PaintInProgress* CurrentPaint(HWND window) {
  auto it = Paints().find(window);
  return it == Paints().end() ? nullptr : it->second;
}

ScopedPaint::ScopedPaint(HWND window, const QRegion& region)
    : m_window(window), m_outer(CurrentPaint(window)) {
  m_paint.region = region;
  Paints()[window] = &m_paint;
}

ScopedPaint::~ScopedPaint() {
  if (m_outer) {
    Paints()[m_window] = m_outer;
  } else {
    Paints().erase(m_window);
  }
}

}  // namespace platform::ui

CPaintDC::CPaintDC(CWnd* window) : m_hWnd(window ? window->m_hWnd : nullptr) {
  const platform::ui::PaintInProgress* paint = platform::ui::CurrentPaint(m_hWnd);
  QWidget* widget = platform::ui::WidgetOf(m_hWnd);
  platform::ui::DcAccess::Attach(*this, nullptr, paint ? paint->region.boundingRect() : QRect(),
                                 widget ? widget->font() : QFont());
}

CPaintDC::~CPaintDC() = default;

void CWnd::InvalidateRect(LPCRECT rect, BOOL) {
  QWidget* widget = platform::ui::WidgetOf(m_hWnd);
  if (!widget) return;
  const QRect area = rect ? platform::ui::QRectOf(*rect) : widget->rect();
  platform::ui::PaintInProgress* paint = platform::ui::CurrentPaint(m_hWnd);
  if (paint && !paint->basePainted) {
    paint->added += area;
    return;
  }
  widget->update(area);
}
