// CDC over a QPainter lent by the window layer, CBrush and the system
// colours from the application's palette.
#include "platform/Dc.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPalette>
#include <cstring>
#include <unordered_set>
#include <utility>
#include <vector>

#include "DcAccess.h"
#include "QtText.h"

using platform::ui::ColourOf;
using platform::ui::QRectOf;

namespace {

// The surfaces alive now, so that FromHandle never answers a dead handle.
std::unordered_set<const CDC*>& LiveSurfaces() {
  static auto* surfaces = new std::unordered_set<const CDC*>;
  return *surfaces;
}

QFont DefaultFont() { return qApp ? QApplication::font() : QFont(); }

// The bytes of a DrawText or GetTextExtent argument: `count` bytes, or up
// to the terminator for a negative count.
std::string_view BytesOf(const char* text, int count) {
  if (!text) return {};
  if (count < 0) return text;
  return std::string_view(text, strnlen(text, static_cast<std::size_t>(count)));
}

// The text as shown with mnemonic marks: "&x" shows "x", "&&" shows "&".
QString WithoutMnemonics(const QString& text) {
  QString shown;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] == u'&' && i + 1 < text.size()) ++i;
    shown += text[i];
  }
  return shown;
}

}  // namespace

struct CDC::Impl {
  struct Saved {
    COLORREF text;
    COLORREF background;
    int mode;
    QRect clip;
    bool clipped;
  };

  QPainter* painter = nullptr;
  QRect paintBox;
  QFont font = DefaultFont();
  COLORREF text = 0;
  COLORREF background = 0x00FFFFFF;
  int mode = OPAQUE;
  QRect clip;           // IntersectClipRect's rectangle, logical coordinates
  bool clipped = false;
  std::vector<Saved> saved;

  QRect ClipBox() const {
    QRect box = paintBox;
    if (clipped) box &= clip;
    return box;
  }
  void ApplyClip() {
    if (!painter) return;
    if (clipped) {
      painter->setClipRect(clip, Qt::ReplaceClip);
    } else {
      painter->setClipping(false);
    }
  }
};

namespace platform::ui {

void DcAccess::Attach(CDC& dc, QPainter* painter, const QRect& paintBox, const QFont& font) {
  dc.m_impl->painter = painter;
  dc.m_impl->paintBox = paintBox;
  dc.m_impl->font = font;
  if (painter) painter->setFont(font);
  if (qApp) {
    const QPalette palette = QApplication::palette();
    dc.m_impl->text = ColorRefOf(palette.color(QPalette::Text));
    dc.m_impl->background = ColorRefOf(palette.color(QPalette::Base));
  }
}

QPainter* DcAccess::PainterOf(CDC& dc) { return dc.m_impl->painter; }

}  // namespace platform::ui

// --- Colours and brushes -----------------------------------------------------------------

COLORREF GetSysColor(int index) {
  if (!qApp) {
    switch (index) {
      case COLOR_WINDOW:
      case COLOR_HIGHLIGHTTEXT:
        return RGB(255, 255, 255);
      case COLOR_HIGHLIGHT:
        return RGB(0, 0, 128);
      case COLOR_BTNFACE:
        return RGB(192, 192, 192);
      case COLOR_GRAYTEXT:
        return RGB(128, 128, 128);
      default:
        return 0;
    }
  }
  const QPalette palette = QApplication::palette();
  switch (index) {
    case COLOR_WINDOW:
      return platform::ui::ColorRefOf(palette.color(QPalette::Base));
    case COLOR_WINDOWTEXT:
      return platform::ui::ColorRefOf(palette.color(QPalette::Text));
    case COLOR_HIGHLIGHT:
      return platform::ui::ColorRefOf(palette.color(QPalette::Highlight));
    case COLOR_HIGHLIGHTTEXT:
      return platform::ui::ColorRefOf(palette.color(QPalette::HighlightedText));
    case COLOR_BTNFACE:
      return platform::ui::ColorRefOf(palette.color(QPalette::Button));
    case COLOR_GRAYTEXT:
      return platform::ui::ColorRefOf(palette.color(QPalette::Disabled, QPalette::Text));
    default:
      return 0;
  }
}

BOOL CBrush::CreateSolidBrush(COLORREF colour) {
  if (m_bMade) return FALSE;
  m_colour = colour;
  m_bMade = true;
  return TRUE;
}

// --- The surface -----------------------------------------------------------------------------

CDC::CDC() : m_impl(std::make_unique<Impl>()) {
  m_hDC = reinterpret_cast<HDC>(this);
  LiveSurfaces().insert(this);
}

CDC::~CDC() { LiveSurfaces().erase(this); }

CDC* CDC::FromHandle(HDC hDC) {
  auto* dc = reinterpret_cast<CDC*>(hDC);
  return LiveSurfaces().count(dc) ? dc : nullptr;
}

int CDC::SaveDC() {
  m_impl->saved.push_back({m_impl->text, m_impl->background, m_impl->mode, m_impl->clip,
                           m_impl->clipped});
  return static_cast<int>(m_impl->saved.size());
}

BOOL CDC::RestoreDC(int savedLevel) {
  auto& saved = m_impl->saved;
  if (savedLevel < 0) savedLevel = static_cast<int>(saved.size()) + 1 + savedLevel;
  if (savedLevel < 1 || savedLevel > static_cast<int>(saved.size())) return FALSE;
  const Impl::Saved state = saved[static_cast<std::size_t>(savedLevel - 1)];
  saved.resize(static_cast<std::size_t>(savedLevel - 1));
  m_impl->text = state.text;
  m_impl->background = state.background;
  m_impl->mode = state.mode;
  m_impl->clip = state.clip;
  m_impl->clipped = state.clipped;
  m_impl->ApplyClip();
  return TRUE;
}

COLORREF CDC::SetTextColor(COLORREF colour) { return std::exchange(m_impl->text, colour); }
COLORREF CDC::GetTextColor() const { return m_impl->text; }
COLORREF CDC::SetBkColor(COLORREF colour) { return std::exchange(m_impl->background, colour); }
COLORREF CDC::GetBkColor() const { return m_impl->background; }

int CDC::SetBkMode(int mode) {
  if (mode != TRANSPARENT && mode != OPAQUE) return 0;
  return std::exchange(m_impl->mode, mode);
}

int CDC::GetBkMode() const { return m_impl->mode; }

void CDC::FillRect(LPCRECT rect, CBrush* brush) {
  if (rect && brush) FillSolidRect(rect, brush->GetColour());
}

void CDC::FillSolidRect(LPCRECT rect, COLORREF colour) {
  if (rect && m_impl->painter) m_impl->painter->fillRect(QRectOf(*rect), ColourOf(colour));
}

int CDC::DrawText(const CString& text, LPRECT rect, UINT format) {
  return DrawText(text.GetString(), text.GetLength(), rect, format);
}

int CDC::DrawText(const char* text, int count, LPRECT rect, UINT format) {
  if (!rect) return 0;
  const QFontMetrics metrics(m_impl->font);
  int flags = (format & DT_SINGLELINE) ? Qt::TextSingleLine : Qt::TextWordWrap;
  if (!(format & DT_NOPREFIX)) flags |= Qt::TextShowMnemonic;
  if (format & DT_NOCLIP) flags |= Qt::TextDontClip;
  flags |= (format & DT_RIGHT) ? Qt::AlignRight : (format & DT_CENTER) ? Qt::AlignHCenter : Qt::AlignLeft;
  if (format & DT_SINGLELINE) {
    flags |= (format & DT_VCENTER) ? Qt::AlignVCenter : (format & DT_BOTTOM) ? Qt::AlignBottom : Qt::AlignTop;
  } else {
    flags |= Qt::AlignTop;
  }
  QRect area = QRectOf(*rect);
  QString shown = platform::ui::ToQt(BytesOf(text, count));
  if (format & DT_CALCRECT) {
    QSize extent;
    if (format & DT_SINGLELINE) {
      // The advance of the shown characters, as GetTextExtent measures.
      const QString visible = (flags & Qt::TextShowMnemonic) ? WithoutMnemonics(shown) : shown;
      extent = QSize(metrics.horizontalAdvance(visible), metrics.height());
    } else {
      extent = metrics.boundingRect(QRect(area.left(), area.top(), std::max(1, area.width()), 1 << 20),
                                    flags & ~(Qt::AlignRight | Qt::AlignHCenter), shown).size();
    }
    rect->right = rect->left + extent.width();
    rect->bottom = rect->top + extent.height();
    return extent.height();
  }
  if (format & DT_END_ELLIPSIS) {
    shown = metrics.elidedText(shown, Qt::ElideRight, std::max(0, area.width()),
                               flags & Qt::TextShowMnemonic);
  }
  const QRect extent = metrics.boundingRect(area, flags, shown);
  if (QPainter* painter = m_impl->painter) {
    painter->save();
    if (!(format & DT_NOCLIP)) painter->setClipRect(area, Qt::IntersectClip);
    if (m_impl->mode == OPAQUE) painter->fillRect(extent, ColourOf(m_impl->background));
    painter->setFont(m_impl->font);
    painter->setPen(ColourOf(m_impl->text));
    painter->drawText(area, flags, shown);
    painter->restore();
  }
  return (format & DT_SINGLELINE) ? metrics.height() : extent.height();
}

CSize CDC::GetTextExtent(const char* text, int count) const {
  const QFontMetrics metrics(m_impl->font);
  return CSize(metrics.horizontalAdvance(platform::ui::ToQt(BytesOf(text, count))), metrics.height());
}

CSize CDC::GetTextExtent(const CString& text) const {
  return GetTextExtent(text.GetString(), text.GetLength());
}

int CDC::GetClipBox(LPRECT rect) const {
  const QRect box = m_impl->ClipBox();
  if (rect) *rect = platform::ui::RectOf(box.isValid() ? box : QRect());
  return box.isEmpty() ? NULLREGION : SIMPLEREGION;
}

int CDC::IntersectClipRect(int left, int top, int right, int bottom) {
  const QRect area(left, top, right - left, bottom - top);
  m_impl->clip = m_impl->clipped ? (m_impl->clip & area) : area;
  m_impl->clipped = true;
  m_impl->ApplyClip();
  return GetClipBox(nullptr);
}

int CDC::IntersectClipRect(LPCRECT rect) {
  return rect ? IntersectClipRect(rect->left, rect->top, rect->right, rect->bottom) : GetClipBox(nullptr);
}

void CDC::DrawFocusRect(LPCRECT rect) {
  QPainter* painter = m_impl->painter;
  if (!rect || !painter) return;
  const QRect area = QRectOf(*rect);
  if (area.width() < 1 || area.height() < 1) return;
  painter->save();
  // Every other pixel of the outline inverted, as the desktop draws it.
  painter->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
  painter->setRenderHint(QPainter::Antialiasing, false);
  const QColor white(255, 255, 255);
  for (int x = area.left(); x <= area.right(); x += 2) {
    painter->fillRect(x, area.top(), 1, 1, white);
    if (area.bottom() != area.top()) painter->fillRect(x, area.bottom(), 1, 1, white);
  }
  for (int y = area.top() + 2; y < area.bottom(); y += 2) {
    painter->fillRect(area.left(), y, 1, 1, white);
    if (area.right() != area.left()) painter->fillRect(area.right(), y, 1, 1, white);
  }
  painter->restore();
}
