// CPoint, CSize and CRect: the framework's value classes over POINT, SIZE and
// RECT. A rectangle runs from (left, top) to (right, bottom), the right and
// bottom edges excluded, so its width is right - left.
#pragma once

#include "platform/WinUser.h"

class CPoint : public POINT {
public:
  CPoint() noexcept : POINT{0, 0} {}
  CPoint(int x, int y) noexcept : POINT{x, y} {}
  friend bool operator==(const CPoint& a, const CPoint& b) noexcept {
    return a.x == b.x && a.y == b.y;
  }
};

class CSize : public SIZE {
public:
  CSize() noexcept : SIZE{0, 0} {}
  CSize(int cx, int cy) noexcept : SIZE{cx, cy} {}
  friend bool operator==(const CSize& a, const CSize& b) noexcept {
    return a.cx == b.cx && a.cy == b.cy;
  }
};

class CRect : public RECT {
public:
  CRect() noexcept : RECT{0, 0, 0, 0} {}
  CRect(int l, int t, int r, int b) noexcept : RECT{l, t, r, b} {}
  CRect(const RECT& r) noexcept : RECT(r) {}

  int Width() const noexcept { return right - left; }
  int Height() const noexcept { return bottom - top; }
  CSize Size() const noexcept { return CSize(Width(), Height()); }
  CPoint TopLeft() const noexcept { return CPoint(left, top); }
  bool IsRectEmpty() const noexcept { return right <= left || bottom <= top; }
  bool PtInRect(POINT p) const noexcept {
    return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
  }
  void OffsetRect(int dx, int dy) noexcept {
    left += dx;
    right += dx;
    top += dy;
    bottom += dy;
  }
  operator LPRECT() noexcept { return this; }
  operator LPCRECT() const noexcept { return this; }
  friend bool operator==(const CRect& a, const CRect& b) noexcept {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
  }
};
