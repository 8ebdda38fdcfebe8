// CZnListCtrl's owner drawing, checked on pictures grabbed from the list:
// the three highlight shapes, the colours of group changes and of the
// hooks, cell alignment, and the look of a selection without the focus.
#include <gtest/gtest.h>

#include "ListHostDialog.h"
#include "platform/Dc.h"
#include "platform/testing/ListViewDriver.h"
#include "platform/testing/UiDriver.h"

namespace {

using namespace platform::testing;

constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr int kInk = 90;  // how far a smoothed text pixel may lie from its colour

class Drawing : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(m_host.Create(kHostDialogId));
    AddColumns(m_list, {{"Name", 70}, {"Group", 70}});
    m_list.ChangeListViewMode(1, 1);
  }
  void Focus(CWnd& window) {
    window.SetFocus();
    ProcessEvents();
  }
  CRect Rect(int row, UINT code) {
    CRect rect;
    m_list.GetItemRect(row, rect, code);
    return rect;
  }
  int Count(const WindowPicture& picture, const CRect& area, COLORREF colour, int tolerance = 0) {
    return picture.CountPixels(area, colour, tolerance);
  }
  CListHost m_host;
  CZnListCtrl& m_list = m_host.m_list;
  const COLORREF m_highlight = GetSysColor(COLOR_HIGHLIGHT);
  const COLORREF m_window = GetSysColor(COLOR_WINDOW);
};

TEST_F(Drawing, EachHighlightTypeHasItsShape) {
  ASSERT_EQ(m_list.CreateIcons(0, 0), 1);
  m_list.AddIcon(kHostIconId);
  AddRows(m_list, {"a|1", "bb|1", "ccc|1"});
  m_list.SetCurSel(1);
  Focus(m_list);
  const CRect bounds = Rect(1, LVIR_BOUNDS);
  const CRect icon = Rect(1, LVIR_ICON);
  const CRect label = Rect(1, LVIR_LABEL);
  CRect client;
  m_list.GetClientRect(client);
  ASSERT_GT(icon.Width(), 0);
  const int y = bounds.top + bounds.Height() / 2;

  EXPECT_EQ(m_list.SetHighlightType(CZnListCtrl::HighlightFullRow), CZnListCtrl::HighlightFullRow);
  WindowPicture picture = GrabWindow(m_list);
  EXPECT_NE(picture.Pixel(icon.left + 3, y), m_highlight);  // the icon is not highlighted
  EXPECT_EQ(picture.Pixel(label.left + 1, y), m_highlight);
  EXPECT_EQ(picture.Pixel(bounds.right + 10, y), m_highlight);
  EXPECT_EQ(picture.Pixel(client.right - 8, y), m_highlight);

  EXPECT_EQ(m_list.SetHighlightType(CZnListCtrl::HighlightAllColumns), CZnListCtrl::HighlightFullRow);
  picture = GrabWindow(m_list);
  EXPECT_EQ(picture.Pixel(label.left + 1, y), m_highlight);
  EXPECT_EQ(picture.Pixel(bounds.right - 2, y), m_highlight);
  EXPECT_EQ(picture.Pixel(bounds.right + 10, y), m_window);

  m_list.SetHighlightType(CZnListCtrl::HighlightLabelOnly);
  picture = GrabWindow(m_list);
  EXPECT_EQ(picture.Pixel(label.left + 1, y), m_highlight);
  EXPECT_EQ(picture.Pixel(label.right - 3, y), m_window);  // "bb" is narrower than its column
  EXPECT_EQ(Count(picture, CRect(label.right, bounds.top, bounds.right, bounds.bottom), m_highlight), 0);
  // Other rows stay plain.
  EXPECT_EQ(Count(picture, Rect(0, LVIR_BOUNDS), m_highlight), 0);
}

TEST_F(Drawing, SetHighlightTypeRefusesUnknownTypes) {
  EXPECT_EQ(m_list.SetHighlightType(static_cast<CZnListCtrl::EHighlight>(3)), 2);
  EXPECT_EQ(m_list.m_nHighlightType, CZnListCtrl::HighlightFullRow);
  EXPECT_EQ(m_list.SetHighlightType(CZnListCtrl::HighlightAllColumns), 2);
  EXPECT_EQ(m_list.SetHighlightType(CZnListCtrl::HighlightLabelOnly), 1);
}

TEST_F(Drawing, TheFirstRowOfEachGroupIsBlueButNeverRowZero) {
  m_list.m_nSortColumn = 1;
  AddRows(m_list, {"zero|Zeta", "one|Alpha1", "two|alpha1x", "three|Beta"});
  WindowPicture picture = GrabWindow(m_list);
  EXPECT_EQ(Count(picture, Rect(0, LVIR_BOUNDS), kBlue, kInk), 0);
  EXPECT_GT(Count(picture, Rect(1, LVIR_BOUNDS), kBlue, kInk), 0);  // Alpha1 after Zeta
  EXPECT_EQ(Count(picture, Rect(2, LVIR_BOUNDS), kBlue, kInk), 0);  // the first 6 letters agree
  EXPECT_GT(Count(picture, Rect(3, LVIR_BOUNDS), kBlue, kInk), 0);
  m_list.m_crGroupChange = 0;
  picture = GrabWindow(m_list);
  EXPECT_EQ(Count(picture, Rect(3, LVIR_BOUNDS), kBlue, kInk), 0);
}

TEST_F(Drawing, ARightAlignedCellEndsOneOffsetBeforeItsColumnsEdge) {
  m_list.InsertCol("Left", -1, 70);
  LVCOLUMN right{};
  right.mask = LVCF_FMT;
  right.fmt = LVCFMT_RIGHT;
  m_list.SetColumn(1, &right);
  AddRows(m_list, {"n|HH|HH"});
  Focus(*m_host.GetDlgItem(kHostButtonId));  // no focus rectangle on the row
  const WindowPicture picture = GrabWindow(m_list);
  const CRect row = Rect(0, LVIR_BOUNDS);
  const COLORREF text = GetSysColor(COLOR_WINDOWTEXT);
  auto columnsInk = [&](int left, int right) {
    std::vector<int> xs;
    for (int x = left; x < right; ++x) {
      if (Count(picture, CRect(x, row.top, x + 1, row.bottom), text, kInk) > 0) xs.push_back(x);
    }
    return xs;
  };
  const int edge = row.left + 70 + 70;  // the right-aligned column's right edge
  const auto ink = columnsInk(row.left + 70, edge);
  const auto leftInk = columnsInk(edge, edge + 70);
  ASSERT_FALSE(ink.empty());
  ASSERT_FALSE(leftInk.empty());
  // The same text, left-aligned, starts one offset after its column's left edge.
  const int leftGap = leftInk.front() - edge;
  const int rightGap = edge - 1 - ink.back();
  EXPECT_GT(rightGap, 3);
  EXPECT_NEAR(rightGap, leftGap, 1);
}

TEST_F(Drawing, ASelectedRowWithoutTheFocusIsDrawnPlain) {
  AddRows(m_list, {"a|1", "b|1"});
  m_list.SetCurSel(1);
  Focus(*m_host.GetDlgItem(kHostButtonId));
  const CRect row = Rect(1, LVIR_BOUNDS);
  EXPECT_EQ(Count(GrabWindow(m_list), row, m_highlight), 0);
  m_list.ModifyStyle(0, LVS_SHOWSELALWAYS);
  EXPECT_GT(Count(GrabWindow(m_list), row, m_highlight), 0);
  m_list.ModifyStyle(LVS_SHOWSELALWAYS, 0);
  Focus(m_list);
  EXPECT_GT(Count(GrabWindow(m_list), row, m_highlight), 0);
}

// A list whose row 1 is special and row 2 inactive.
class CMarkedList : public CZnListCtrl {
public:
  int CheckForSpecialEntry(int row) override { return row == 1; }
  int CheckForInactiveEntry(int row) override { return row == 2; }
};

TEST_F(Drawing, TheHooksColourTheirRows) {
  CMarkedList list;
  ASSERT_TRUE(list.Create(WS_VISIBLE | WS_BORDER | LVS_REPORT, CRect(10, 10, 300, 150), &m_host, 1200));
  AddColumns(list, {{"Name", 80}});
  list.ChangeListViewMode(1, 1);
  list.m_crGroupChange = 0;
  AddRows(list, {"plain", "special", "inactive"});
  const WindowPicture picture = GrabWindow(list);
  CRect rows[3];
  for (int row = 0; row < 3; ++row) list.GetItemRect(row, rows[row], LVIR_BOUNDS);
  EXPECT_EQ(picture.CountPixels(rows[0], kRed, kInk), 0);
  EXPECT_GT(picture.CountPixels(rows[1], kRed, kInk), 0);
  EXPECT_EQ(picture.CountPixels(rows[2], kRed, kInk), 0);
  EXPECT_GT(picture.CountPixels(rows[2], RGB(100, 100, 100), 20), 0);
  const COLORREF text = GetSysColor(COLOR_WINDOWTEXT);
  EXPECT_GT(picture.CountPixels(rows[0], text, 30), 0);
  EXPECT_EQ(picture.CountPixels(rows[2], text, 30), 0);  // grey, not the plain text colour
  list.m_crSpecialEntry = 0;  // a colour of 0 turns the hook off
  EXPECT_EQ(GrabWindow(list).CountPixels(rows[1], kRed, kInk), 0);
}

}  // namespace
