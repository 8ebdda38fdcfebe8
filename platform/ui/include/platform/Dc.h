// CDC: a drawing surface in a window's client coordinates, with the text
// and background colours, the background mode, a clip rectangle and the
// drawing the libraries' owner-drawn controls need: filled rectangles, text
// in a rectangle, text measuring, the focus rectangle (and image lists,
// ImageList.h). CPaintDC names the part of a window being painted. System
// colours come from the desktop's palette.
//
// A surface is lent by the platform for the duration of one call (a
// control's DrawItem); its handle (HDC) is valid for that call only.
// CDC::FromHandle gives the surface of a live handle, null otherwise. A
// surface without drawing target (CPaintDC outside a paint) measures text
// and answers its state; drawing on it does nothing.
#pragma once

#include <memory>

#include "platform/Geometry.h"
#include "platform/Object.h"
#include "platform/String.h"
#include "platform/WinUser.h"

struct HDC__;
using HDC = HDC__*;

class CWnd;

// --- DrawText formats ------------------------------------------------------------------
inline constexpr UINT DT_LEFT = 0x0000;
inline constexpr UINT DT_CENTER = 0x0001;
inline constexpr UINT DT_RIGHT = 0x0002;
inline constexpr UINT DT_VCENTER = 0x0004;   // with DT_SINGLELINE
inline constexpr UINT DT_BOTTOM = 0x0008;    // with DT_SINGLELINE
inline constexpr UINT DT_SINGLELINE = 0x0020;
inline constexpr UINT DT_NOCLIP = 0x0100;    // may draw outside the rectangle
inline constexpr UINT DT_CALCRECT = 0x0400;  // measures only: sets right and bottom
inline constexpr UINT DT_NOPREFIX = 0x0800;  // '&' is shown, not a mnemonic mark
inline constexpr UINT DT_END_ELLIPSIS = 0x8000;  // "..." replaces the end that does not fit

// Background modes: OPAQUE fills the text's cell with the background
// colour before drawing it, TRANSPARENT leaves what is there.
inline constexpr int TRANSPARENT = 1;
inline constexpr int OPAQUE = 2;

// Clip box results (0 is an error).
inline constexpr int NULLREGION = 1;
inline constexpr int SIMPLEREGION = 2;
inline constexpr int COMPLEXREGION = 3;

// --- System colours --------------------------------------------------------------------
inline constexpr int COLOR_WINDOW = 5;
inline constexpr int COLOR_WINDOWTEXT = 8;
inline constexpr int COLOR_HIGHLIGHT = 13;
inline constexpr int COLOR_HIGHLIGHTTEXT = 14;
inline constexpr int COLOR_BTNFACE = 15;
inline constexpr int COLOR_GRAYTEXT = 17;

// The desktop's colour of that kind; black for an unknown index.
COLORREF GetSysColor(int index);

// A solid colour to fill with.
class CBrush : public CObject {
public:
  CBrush() = default;
  explicit CBrush(COLORREF colour) : m_colour(colour), m_bMade(true) {}
  // FALSE when the brush already has a colour.
  BOOL CreateSolidBrush(COLORREF colour);
  COLORREF GetColour() const { return m_colour; }

private:
  COLORREF m_colour = 0;
  bool m_bMade = false;
};

namespace platform::ui {
struct DcAccess;
}

class CDC : public CObject {
public:
  // A surface without drawing target.
  CDC();
  ~CDC() override;
  CDC(const CDC&) = delete;
  CDC& operator=(const CDC&) = delete;

  HDC m_hDC = nullptr;
  HDC GetSafeHdc() const { return m_hDC; }
  static CDC* FromHandle(HDC hDC);

  // Saves colours, background mode and clip; returns the saved level (1,
  // 2, ...). RestoreDC(level) goes back to that level, -1 to the last one;
  // FALSE for a level that was not saved.
  int SaveDC();
  BOOL RestoreDC(int savedLevel);

  // Each returns the previous value.
  COLORREF SetTextColor(COLORREF colour);
  COLORREF GetTextColor() const;
  COLORREF SetBkColor(COLORREF colour);
  COLORREF GetBkColor() const;
  int SetBkMode(int mode);
  int GetBkMode() const;

  void FillRect(LPCRECT rect, CBrush* brush);
  void FillSolidRect(LPCRECT rect, COLORREF colour);
  // Draws `count` bytes of `text` (-1: up to the terminator) into `rect`
  // with the DT_* format in the text colour, over the background colour in
  // OPAQUE mode. Without DT_NOPREFIX "&x" underlines x and "&&" shows "&".
  // Returns the height of the text; with DT_CALCRECT draws nothing and
  // sets the rectangle's right and bottom to the text's extent.
  int DrawText(const char* text, int count, LPRECT rect, UINT format);
  int DrawText(const CString& text, LPRECT rect, UINT format);
  // The width and height of one line of text in the surface's font.
  CSize GetTextExtent(const char* text, int count) const;
  CSize GetTextExtent(const CString& text) const;

  // The smallest rectangle around what may be drawn now: the part being
  // painted, narrowed by IntersectClipRect. Returns NULLREGION when that is
  // empty, SIMPLEREGION otherwise.
  int GetClipBox(LPRECT rect) const;
  // Narrows the clip to the rectangle; returns what GetClipBox would.
  int IntersectClipRect(int left, int top, int right, int bottom);
  int IntersectClipRect(LPCRECT rect);
  // The dotted rectangle that marks the keyboard focus; drawn by inverting
  // the pixels, so drawing it twice removes it.
  void DrawFocusRect(LPCRECT rect);

private:
  friend struct platform::ui::DcAccess;
  struct Impl;
  std::unique_ptr<Impl> m_impl;
};

// The surface of a window's paint: made in the window's OnPaint, its clip
// box is the part being painted (empty outside a paint). It does not draw;
// controls draw their rows in DrawItem.
class CPaintDC : public CDC {
public:
  explicit CPaintDC(CWnd* window);
  ~CPaintDC() override;

  HWND m_hWnd = nullptr;
};
