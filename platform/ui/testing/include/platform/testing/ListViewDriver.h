// Test support for list view controls and other drawn windows: reads the
// rows and headings a list shows, clicks rows and headings as a user does,
// and grabs what a window draws into a picture whose pixels a test samples.
// Needs the window system the GUI test main starts.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/Geometry.h"
#include "platform/WinUser.h"

class CWnd;

namespace platform::testing {

// The texts of the list's rows as its columns show them (one cell per
// column; one cell per row when the list has no columns).
std::vector<std::vector<std::string>> ListRows(const CWnd& list);
// The column headings.
std::vector<std::string> ListHeadings(const CWnd& list);
// The column whose heading shows a sort arrow, -1 when none does; `up`
// (when not null) tells whether the arrow points up.
int ListSortArrow(const CWnd& list, bool* up = nullptr);

// A left click (or double click) at a point of the list's client area; the
// modifiers are MK_SHIFT and MK_CONTROL.
void ClickListAt(const CWnd& list, CPoint point, UINT modifiers = 0);
void DoubleClickListAt(const CWnd& list, CPoint point);
// A left click in the middle of the column's heading.
void ClickListHeading(const CWnd& list, int column);

// What a window draws, in its client coordinates.
class WindowPicture {
public:
  WindowPicture();
  ~WindowPicture();
  WindowPicture(WindowPicture&&) noexcept;
  WindowPicture& operator=(WindowPicture&&) noexcept;

  int Width() const;
  int Height() const;
  // The colour at a point; 0xFFFFFFFF outside the picture.
  COLORREF Pixel(int x, int y) const;
  // The points of the rectangle (clipped to the picture) in that colour,
  // each channel within `tolerance` of it (text is drawn smoothed: its
  // edges mix with the background).
  int CountPixels(const RECT& area, COLORREF colour, int tolerance = 0) const;
  // Writes a PNG file (to look at a failing test's picture).
  bool Save(const char* path) const;

private:
  friend WindowPicture GrabWindow(const CWnd& window);
  struct Impl;
  std::unique_ptr<Impl> m_impl;
};

// Draws the window and its controls now, as they would show. Pending
// events are processed first.
WindowPicture GrabWindow(const CWnd& window);

// The captions of the top-level windows shown now (to find a dialog that a
// long operation opens while it runs).
std::vector<std::string> ShownWindowCaptions();

}  // namespace platform::testing
