// The list view control on real widgets: rows, columns, states, searching,
// rectangles and hit tests, the user's clicks and the notifications they
// send, views by style, and a control made by code.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "ListTestDialog.h"
#include "platform/testing/ListViewDriver.h"
#include "platform/testing/UiDriver.h"

namespace {

using namespace platform::testing;
using Rows = std::vector<std::vector<std::string>>;

class ListView : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(m_dialog.Create(kListDialogId)); }
  CListHostDialog m_dialog;
  CRecordingList& m_list = m_dialog.m_list;
};

TEST_F(ListView, RowsKeepTheirCellsByColumn) {
  FillList(m_list, 2, 3);
  EXPECT_EQ(m_list.InsertItem(99, "last"), 2);  // beyond the end appends
  EXPECT_EQ(m_list.InsertItem(0, "first"), 0);
  EXPECT_TRUE(m_list.SetItemText(1, 2, "changed"));
  EXPECT_FALSE(m_list.SetItemText(1, 3, "no column"));
  EXPECT_FALSE(m_list.SetItemText(7, 0, "no row"));
  EXPECT_EQ(ListRows(m_list), (Rows{{"first", "", ""},
                                    {"r0c0", "r0c1", "changed"},
                                    {"r1c0", "r1c1", "r1c2"},
                                    {"last", "", ""}}));
  EXPECT_TRUE(m_list.DeleteItem(0));
  EXPECT_FALSE(m_list.DeleteItem(3));
  EXPECT_EQ(m_list.GetItemCount(), 3);
  EXPECT_EQ(m_list.GetItemText(0, 1), "r0c1");
  EXPECT_TRUE(m_list.DeleteAllItems());
  EXPECT_EQ(m_list.GetItemCount(), 0);
}

TEST_F(ListView, CellTextIntoABufferNeverOverrunsOrSplitsACharacter) {
  FillList(m_list, 1, 1);
  m_list.SetItemText(0, 0, "abc\xC3\xA4z");  // "abcäz"
  char buffer[8];
  std::memset(buffer, 'x', sizeof buffer);
  EXPECT_EQ(m_list.GetItemText(0, 0, buffer, 5), 3);  // ä would need bytes 4 and 5
  EXPECT_STREQ(buffer, "abc");
  EXPECT_EQ(buffer[5], 'x');
  EXPECT_EQ(m_list.GetItemText(0, 0, buffer, 8), 6);
  EXPECT_STREQ(buffer, "abc\xC3\xA4z");
  EXPECT_EQ(m_list.GetItemText(5, 0, buffer, 8), 0);
  EXPECT_STREQ(buffer, "");
}

TEST_F(ListView, ItemsCarryImageDataAndTheirOwnStateBits) {
  FillList(m_list, 2, 1);
  LVITEM item{};
  item.mask = LVIF_IMAGE | LVIF_PARAM | LVIF_STATE;
  item.iItem = 1;
  item.iImage = 4;
  item.lParam = 77;
  item.state = INDEXTOSTATEIMAGEMASK(2) | INDEXTOOVERLAYMASK(1) | LVIS_SELECTED;
  item.stateMask = LVIS_STATEIMAGEMASK | LVIS_OVERLAYMASK | LVIS_SELECTED;
  ASSERT_TRUE(m_list.SetItem(&item));
  LVITEM read{};
  read.mask = LVIF_IMAGE | LVIF_PARAM | LVIF_STATE;
  read.iItem = 1;
  read.stateMask = 0xFFFF;
  ASSERT_TRUE(m_list.GetItem(&read));
  EXPECT_EQ(read.iImage, 4);
  EXPECT_EQ(read.lParam, 77);
  EXPECT_EQ(read.state, INDEXTOSTATEIMAGEMASK(2) | INDEXTOOVERLAYMASK(1) | LVIS_SELECTED);
  EXPECT_EQ(m_list.GetItemData(1), 77u);
  EXPECT_EQ(m_list.GetItemState(0, 0xFFFF), 0u);
}

TEST_F(ListView, ColumnsInsertShowChangeAndGo) {
  EXPECT_EQ(m_list.InsertColumn(0, "Name", LVCFMT_LEFT, 80), 0);
  EXPECT_EQ(m_list.InsertColumn(9, "Size", LVCFMT_RIGHT, 50), 1);
  EXPECT_EQ(m_list.InsertColumn(-1, "bad"), -1);
  EXPECT_EQ(ListHeadings(m_list), (std::vector<std::string>{"Name", "Size"}));
  char heading[3];
  LVCOLUMN column{};
  column.mask = LVCF_TEXT | LVCF_FMT | LVCF_WIDTH;
  column.pszText = heading;
  column.cchTextMax = sizeof heading;
  ASSERT_TRUE(m_list.GetColumn(1, &column));
  EXPECT_STREQ(heading, "Si");
  EXPECT_EQ(column.fmt, LVCFMT_RIGHT);
  EXPECT_EQ(column.cx, 50);
  EXPECT_FALSE(m_list.GetColumn(2, &column));
  EXPECT_TRUE(m_list.SetColumnWidth(1, 0));
  EXPECT_EQ(m_list.GetColumnWidth(1), 0);
  EXPECT_TRUE(m_list.DeleteColumn(0));
  EXPECT_EQ(ListHeadings(m_list), (std::vector<std::string>{"Size"}));
  EXPECT_TRUE(m_list.DeleteColumn(0));
  EXPECT_FALSE(m_list.DeleteColumn(0));
  EXPECT_TRUE(ListHeadings(m_list).empty());
}

TEST_F(ListView, StateChangesOfRowMinusOneReachEveryRowButNotTheFocus) {
  FillList(m_list, 4, 1);
  ASSERT_TRUE(m_list.SetItemState(2, LVIS_FOCUSED, LVIS_FOCUSED));
  m_dialog.m_heard.clear();
  ASSERT_TRUE(m_list.SetItemState(-1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED));
  for (int row = 0; row < 4; ++row) {
    EXPECT_EQ(m_list.GetItemState(row, LVIS_SELECTED), LVIS_SELECTED) << row;
  }
  EXPECT_EQ(m_list.GetNextItem(-1, LVNI_FOCUSED), 2);
  // One notification for all rows instead of one per row.
  const auto changed = m_dialog.HeardOf(LVN_ITEMCHANGED);
  ASSERT_EQ(changed.size(), 1u);
  EXPECT_EQ(changed[0].item, -1);
  ASSERT_TRUE(m_list.SetItemState(-1, 0, LVIS_SELECTED));
  EXPECT_EQ(m_list.GetNextItem(-1, LVNI_SELECTED), -1);
}

TEST_F(ListView, NextItemWalksSelectedRowsAndFindsTheFocus) {
  FillList(m_list, 6, 1);
  m_list.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
  m_list.SetItemState(4, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  std::vector<int> selected;
  for (int row = -1; (row = m_list.GetNextItem(row, LVNI_SELECTED)) >= 0;) selected.push_back(row);
  EXPECT_EQ(selected, (std::vector<int>{1, 4}));
  EXPECT_EQ(m_list.GetNextItem(-1, LVNI_FOCUSED | LVNI_SELECTED), 4);
  EXPECT_EQ(m_list.GetNextItem(4, LVNI_FOCUSED), -1);
  EXPECT_EQ(m_list.GetNextItem(4, LVNI_ALL), 5);
  EXPECT_EQ(m_list.GetNextItem(5, LVNI_ALL), -1);
  m_list.SetItemState(4, 0, LVIS_FOCUSED);
  EXPECT_EQ(m_list.GetNextItem(-1, LVNI_FOCUSED), -1);
}

TEST_F(ListView, ProgramChangesOfSelectionAndFocusAreNotifiedPerRow) {
  FillList(m_list, 3, 1);
  m_dialog.m_heard.clear();
  m_list.SetItemState(1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  m_list.SetItemState(1, 0, LVIS_SELECTED);
  const auto changed = m_dialog.HeardOf(LVN_ITEMCHANGED);
  ASSERT_EQ(changed.size(), 3u);
  EXPECT_EQ(changed[0].item, 1);
  EXPECT_EQ(changed[0].newState, LVIS_FOCUSED);  // the focus first, then the selection
  EXPECT_EQ(changed[1].newState, LVIS_FOCUSED | LVIS_SELECTED);
  EXPECT_EQ(changed[2].oldState, LVIS_FOCUSED | LVIS_SELECTED);
  EXPECT_EQ(changed[2].newState, LVIS_FOCUSED);
}

TEST_F(ListView, DeletingSelectedRowsIsNoStateChange) {
  FillList(m_list, 4, 1);
  m_list.SetItemState(-1, LVIS_SELECTED, LVIS_SELECTED);
  m_list.SetItemState(1, LVIS_FOCUSED, LVIS_FOCUSED);
  m_dialog.m_heard.clear();
  m_list.DeleteItem(1);
  m_list.DeleteAllItems();
  EXPECT_TRUE(m_dialog.HeardOf(LVN_ITEMCHANGED).empty());
}

TEST_F(ListView, SingleSelectionKeepsOneRowSelected) {
  m_list.ModifyStyle(0, LVS_SINGLESEL);
  FillList(m_list, 3, 1);
  m_list.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
  m_list.SetItemState(2, LVIS_SELECTED, LVIS_SELECTED);
  EXPECT_EQ(m_list.GetItemState(0, LVIS_SELECTED), 0u);
  EXPECT_EQ(m_list.GetNextItem(-1, LVNI_SELECTED), 2);
  EXPECT_FALSE(m_list.SetItemState(-1, LVIS_SELECTED, LVIS_SELECTED));
}

TEST_F(ListView, FindItemComparesTheFirstCellWithoutRegardToCase) {
  FillList(m_list, 0, 1);
  for (const char* text : {"Alpha", "beta", "alphabet", "Beta"}) {
    m_list.InsertItem(m_list.GetItemCount(), text);
  }
  LVFINDINFO find{LVFI_STRING, "BETA", 0};
  EXPECT_EQ(m_list.FindItem(&find), 1);
  EXPECT_EQ(m_list.FindItem(&find, 1), 3);  // the search starts after `start`
  EXPECT_EQ(m_list.FindItem(&find, 3), -1);
  find.flags |= LVFI_WRAP;
  EXPECT_EQ(m_list.FindItem(&find, 3), 1);
  LVFINDINFO partial{LVFI_STRING | LVFI_PARTIAL, "alpha", 0};
  EXPECT_EQ(m_list.FindItem(&partial, 0), 2);
  LVFINDINFO whole{LVFI_STRING, "alph", 0};
  EXPECT_EQ(m_list.FindItem(&whole), -1);
}

TEST_F(ListView, RectanglesAndHitTestsAgree) {
  FillList(m_list, 3, 2, 70);
  CRect bounds, icon, label;
  ASSERT_TRUE(m_list.GetItemRect(1, bounds, LVIR_BOUNDS));
  ASSERT_TRUE(m_list.GetItemRect(1, icon, LVIR_ICON));
  ASSERT_TRUE(m_list.GetItemRect(1, label, LVIR_LABEL));
  EXPECT_FALSE(m_list.GetItemRect(3, bounds, LVIR_BOUNDS));
  EXPECT_EQ(bounds.Width(), 140);
  EXPECT_EQ(label.right, bounds.left + 70);  // the label ends with the first column
  EXPECT_EQ(label.left, icon.right);
  CRect row0;
  m_list.GetItemRect(0, row0, LVIR_BOUNDS);
  EXPECT_EQ(bounds.top, row0.bottom);
  UINT flags = 0;
  EXPECT_EQ(m_list.HitTest(CPoint(label.left + 3, label.top + 2), &flags), 1);
  EXPECT_EQ(flags, LVHT_ONITEMLABEL);
  // The second column is no part of a plain row; an owner-drawn row is hit
  // across its bounds.
  EXPECT_EQ(m_list.HitTest(CPoint(label.right + 5, label.top + 2), &flags), -1);
  EXPECT_EQ(flags, LVHT_NOWHERE);
  m_list.ModifyStyle(0, LVS_OWNERDRAWFIXED);
  LVHITTESTINFO info{};
  info.pt = POINT{label.right + 5, label.top + 2};
  EXPECT_EQ(m_list.HitTest(&info), 1);
  EXPECT_EQ(info.iSubItem, 1);
  EXPECT_EQ(m_list.HitTest(CPoint(label.left, bounds.bottom + 3 * bounds.Height())), -1);
}

TEST_F(ListView, AClickRunsTheHandlerThenSelectsAndTellsTheDialog) {
  FillList(m_list, 3, 2);
  CRect label;
  m_list.GetItemRect(2, label, LVIR_LABEL);
  m_dialog.m_heard.clear();
  ClickListAt(m_list, CPoint(label.left + 4, label.top + 3));
  ASSERT_FALSE(m_list.m_calls.empty());
  EXPECT_EQ(m_list.m_calls.back(),
            "down " + std::to_string(label.left + 4) + "," + std::to_string(label.top + 3));
  EXPECT_EQ(m_list.GetItemState(2, LVIS_SELECTED | LVIS_FOCUSED), LVIS_SELECTED | LVIS_FOCUSED);
  const auto clicks = m_dialog.HeardOf(NM_CLICK);
  ASSERT_EQ(clicks.size(), 1u);
  EXPECT_EQ(clicks[0].item, 2);
  EXPECT_FALSE(m_dialog.HeardOf(LVN_ITEMCHANGED).empty());
}

TEST_F(ListView, AHandlerThatSkipsItsBaseKeepsTheSelection) {
  FillList(m_list, 3, 1);
  m_list.m_bCallBase = false;
  CRect label;
  m_list.GetItemRect(1, label, LVIR_LABEL);
  ClickListAt(m_list, CPoint(label.left + 4, label.top + 3));
  EXPECT_EQ(m_list.GetNextItem(-1, LVNI_SELECTED), -1);
}

TEST_F(ListView, DoubleClicksAndHeadingClicksReachTheControlFirstThenTheDialog) {
  FillList(m_list, 3, 3);
  CRect label;
  m_list.GetItemRect(1, label, LVIR_LABEL);
  m_list.m_calls.clear();
  DoubleClickListAt(m_list, CPoint(label.left + 4, label.top + 3));
  ClickListHeading(m_list, 2);
  const std::vector<std::string> reflected = {m_list.m_calls.end() - 2, m_list.m_calls.end()};
  EXPECT_EQ(reflected, (std::vector<std::string>{"dblclk 1", "column 2"}));
  const auto doubles = m_dialog.HeardOf(NM_DBLCLK);
  ASSERT_EQ(doubles.size(), 1u);
  EXPECT_EQ(doubles[0].item, 1);
  const auto headings = m_dialog.HeardOf(LVN_COLUMNCLICK);
  ASSERT_EQ(headings.size(), 1u);
  EXPECT_EQ(headings[0].subItem, 2);
  EXPECT_EQ(headings[0].item, -1);
}

TEST_F(ListView, AHandlerThatSkipsItsBaseKeepsItsNotificationFromTheDialog) {
  FillList(m_list, 3, 3);
  m_list.m_bCallBase = false;
  CRect label;
  m_list.GetItemRect(1, label, LVIR_LABEL);
  DoubleClickListAt(m_list, CPoint(label.left + 4, label.top + 3));
  ClickListHeading(m_list, 2);
  const std::vector<std::string> reflected = {m_list.m_calls.end() - 2, m_list.m_calls.end()};
  EXPECT_EQ(reflected, (std::vector<std::string>{"dblclk 1", "column 2"}));
  EXPECT_TRUE(m_dialog.HeardOf(NM_DBLCLK).empty());
  EXPECT_TRUE(m_dialog.HeardOf(LVN_COLUMNCLICK).empty());
  // Notifications without a handler of the control still reach it.
  EXPECT_FALSE(m_dialog.HeardOf(NM_CLICK).empty());
}

TEST_F(ListView, TheHeadingShowsTheSortArrowThatAColumnsFormatAsksFor) {
  FillList(m_list, 2, 3);
  EXPECT_EQ(ListSortArrow(m_list), -1);
  LVCOLUMN column{};
  column.mask = LVCF_FMT;
  column.fmt = LVCFMT_RIGHT | HDF_SORTUP;
  ASSERT_TRUE(m_list.SetColumn(1, &column));
  bool up = false;
  EXPECT_EQ(ListSortArrow(m_list, &up), 1);
  EXPECT_TRUE(up);
  // The first column that asks for an arrow shows it; the alignment stays.
  column.fmt = HDF_SORTUP;
  m_list.SetColumn(2, &column);
  column.fmt = LVCFMT_RIGHT | HDF_SORTDOWN;
  m_list.SetColumn(1, &column);
  EXPECT_EQ(ListSortArrow(m_list, &up), 1);
  EXPECT_FALSE(up);
  EXPECT_EQ(m_list.GetColumnWidth(1), 60);
  LVCOLUMN read{};
  read.mask = LVCF_FMT;
  m_list.GetColumn(1, &read);
  EXPECT_EQ(read.fmt, LVCFMT_RIGHT | HDF_SORTDOWN);
  column.fmt = LVCFMT_RIGHT;
  m_list.SetColumn(1, &column);
  column.fmt = LVCFMT_LEFT;
  m_list.SetColumn(2, &column);
  EXPECT_EQ(ListSortArrow(m_list), -1);
}

TEST_F(ListView, FocusChangesReachTheControlWithTheOtherWindow) {
  FillList(m_list, 2, 1);
  CWnd* button = m_dialog.GetDlgItem(kListButtonId);
  button->SetFocus();
  ProcessEvents();
  m_list.SetFocus();
  ProcessEvents();
  EXPECT_EQ(m_list.m_lastOther, button);
  button->SetFocus();
  ProcessEvents();
  EXPECT_EQ(std::count(m_list.m_calls.begin(), m_list.m_calls.end(), "setfocus"), 1);
  EXPECT_EQ(std::count(m_list.m_calls.begin(), m_list.m_calls.end(), "killfocus"), 1);
  EXPECT_EQ(m_list.m_lastOther, button);
  EXPECT_EQ(m_dialog.HeardOf(NM_SETFOCUS).size(), 1u);
  EXPECT_EQ(m_dialog.HeardOf(NM_KILLFOCUS).size(), 1u);
}

TEST_F(ListView, AnotherViewStyleKeepsRowsAndSelection) {
  FillList(m_list, 5, 2);
  m_list.SetItemState(3, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  for (DWORD view : {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT}) {
    m_list.ModifyStyle(LVS_TYPEMASK, view);
    EXPECT_EQ(m_list.GetStyle() & LVS_TYPEMASK, view);
    EXPECT_EQ(ListRows(m_list).size(), 5u) << view;
    EXPECT_EQ(m_list.GetNextItem(-1, LVNI_SELECTED), 3) << view;
    CRect bounds;
    ASSERT_TRUE(m_list.GetItemRect(3, bounds, LVIR_BOUNDS));
    EXPECT_EQ(m_list.HitTest(CPoint(bounds.left + 2, bounds.top + bounds.Height() / 2)), 3) << view;
  }
}

TEST(ListViewByCode, CreateMakesAWorkingControlInTheParent) {
  CListHostDialog dialog;
  ASSERT_TRUE(dialog.Create(kListDialogId));
  CRecordingList list;
  ASSERT_TRUE(list.Create(WS_VISIBLE | WS_BORDER | LVS_REPORT, CRect(10, 10, 210, 110), &dialog, 400));
  EXPECT_FALSE(list.Create(LVS_REPORT, CRect(0, 0, 10, 10), &dialog, 401));
  EXPECT_EQ(dialog.GetDlgItem(400), &list);
  EXPECT_TRUE(list.IsWindowVisible());
  FillList(list, 2, 2);
  ClickListHeading(list, 1);
  EXPECT_EQ(list.m_calls.back(), "column 1");
  CListCtrl orphan;
  EXPECT_FALSE(orphan.Create(LVS_REPORT, CRect(0, 0, 10, 10), nullptr, 1));
  EXPECT_EQ(orphan.GetItemCount(), 0);
  EXPECT_EQ(orphan.InsertItem(0, "x"), -1);
}

}  // namespace
