// The window layer's side of CDC: lends a Qt painter to a surface for one
// call, and keeps the record of a window's paint in progress (what CPaintDC
// reports and what InvalidateRect adds to during OnPaint).
#pragma once

#include <QPainter>
#include <QRegion>

#include "platform/Dc.h"

namespace platform::ui {

struct DcAccess {
  // Lends `painter` (its logical coordinates are the window's client
  // coordinates) with `paintBox`, the part being painted, and `font`.
  static void Attach(CDC& dc, QPainter* painter, const QRect& paintBox, const QFont& font);
  static QPainter* PainterOf(CDC& dc);
};

// What a window paints now, in its client coordinates: the region of the
// paint and what OnPaint added to it.
struct PaintInProgress {
  QRegion region;
  QRegion added;
  bool basePainted = false;
};

// The paint in progress of the window; null when it paints nothing now.
PaintInProgress* CurrentPaint(HWND window);

// Records a window's paint for as long as it lives.
class ScopedPaint {
public:
  ScopedPaint(HWND window, const QRegion& region);
  ~ScopedPaint();
  ScopedPaint(const ScopedPaint&) = delete;
  ScopedPaint& operator=(const ScopedPaint&) = delete;
  PaintInProgress& Paint() { return m_paint; }

private:
  HWND m_window;
  PaintInProgress m_paint;
  PaintInProgress* m_outer;
};

inline QColor ColourOf(COLORREF colour) {
  return QColor(GetRValue(colour), GetGValue(colour), GetBValue(colour));
}

inline COLORREF ColorRefOf(const QColor& colour) {
  return RGB(static_cast<BYTE>(colour.red()), static_cast<BYTE>(colour.green()),
             static_cast<BYTE>(colour.blue()));
}

inline QRect QRectOf(const RECT& rect) {
  return QRect(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
}

inline RECT RectOf(const QRect& rect) {
  return RECT{rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()};
}

}  // namespace platform::ui
