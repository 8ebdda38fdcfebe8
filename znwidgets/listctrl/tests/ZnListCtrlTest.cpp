// CZnListCtrl's rows, columns, current row and view modes on a real list
// view in a dialog.
#include "znwidgets/ZnListCtrl.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "ListHostDialog.h"
#include "platform/testing/ListViewDriver.h"
#include "platform/testing/UiDriver.h"

namespace {

using namespace platform::testing;
using Texts = std::vector<std::string>;

class ListCtrl : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(m_host.Create(kHostDialogId));
    AddColumns(m_list, {{"A", 60}, {"B", 60}, {"C", 60}});
  }
  int ImageOf(int row) {
    LVITEM item{};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    item.iImage = -7;
    m_list.GetItem(&item);
    return item.iImage;
  }
  CListHost m_host;
  CZnListCtrl& m_list = m_host.m_list;
};

TEST_F(ListCtrl, InsertSplitsTheTextIntoTheColumns) {
  EXPECT_EQ(m_list.Insert("a|b|c", -1, 0, '|', -1), 1);
  EXPECT_EQ(ImageOf(0), 0);  // no image set: the control's default
  AddRows(m_list, {"r1", "r2", "r3"});
  EXPECT_EQ(m_list.Insert("  x|y", 3, 1, '|', 2), 1);
  EXPECT_EQ(ImageOf(3), 2);
  EXPECT_EQ(m_list.Insert(2, ';', "p;q", -1, 0), 1);  // the other argument order, inserting
  EXPECT_EQ(JoinedRows(m_list), (Texts{"a|b|c", "r1||", "p|q|", "r2||", "x|y|"}));
}

TEST_F(ListCtrl, FieldsLoseLeadingBlanksAndLongFieldsAreCut) {
  const std::string longField(300, 'L');
  const std::string fits(249, 'F');
  EXPECT_EQ(m_list.Insert(("   |" + longField + "|" + fits).c_str(), -1, 0, '|', -1), 1);
  const auto cells = ListRows(m_list)[0];
  EXPECT_EQ(cells[0], "");
  EXPECT_EQ(cells[1], std::string(246, 'L') + "...");
  EXPECT_EQ(cells[2], fits);
  // A cut never splits a character: 245 letters and an umlaut (two bytes).
  std::string wide(245, 'u');
  for (int i = 0; i < 10; ++i) wide += "\xC3\xA4";
  m_list.Insert(wide.c_str(), -1, 0, '|', -1);
  EXPECT_EQ(m_list.GetItemText(1, 0), CString((std::string(245, 'u') + "...").c_str()));
}

TEST_F(ListCtrl, FieldsBeyondTheColumnsFailAfterStoringTheOthers) {
  EXPECT_EQ(m_list.Insert("1|2|3|4|5", -1, 0, '|', -1), 0);
  EXPECT_EQ(JoinedRows(m_list), (Texts{"1|2|3"}));
  EXPECT_EQ(m_list.Insert("x|y", 5, 1, '|', -1), 0);  // replacing a row that is not there
  EXPECT_EQ(m_list.GetItemCount(), 1);
}

TEST_F(ListCtrl, InsertAtColSetsOneCellOrAppendsARow) {
  AddRows(m_list, {"r0", "r1"});
  EXPECT_EQ(m_list.InsertAtCol("z", 2, -1), 1);
  EXPECT_EQ(m_list.InsertAtCol("w", 1, 0), 1);
  EXPECT_EQ(m_list.InsertAtCol("no", 4, 0), 0);
  EXPECT_EQ(m_list.InsertAtCol(CString("s"), 2, 1), 1);
  EXPECT_EQ(JoinedRows(m_list), (Texts{"r0|w|", "r1||s", " ||z"}));
  EXPECT_EQ(m_list.Insert("", -1, 0, '|', -1), 1);  // an empty text is an empty first cell
  EXPECT_EQ(JoinedRows(m_list).back(), "||");
  const std::string longText(300, 'k');
  m_list.InsertAtCol(CString(longText.c_str()), 1, 0);
  EXPECT_EQ(m_list.GetItemText(0, 1).GetLength(), 260);
}

TEST_F(ListCtrl, SelectJoinsTheCellsIntoABufferThatMustHoldThem) {
  m_list.DeleteAllColumns();
  AddColumns(m_list, {{"A", 60}, {"B", 60}});
  AddRows(m_list, {"abcd|efgh"});
  char buffer[16];
  std::memset(buffer, 'x', sizeof buffer);
  int image = 5;
  EXPECT_EQ(m_list.Select(buffer, 9, 0, '|', &image), 0);
  EXPECT_STREQ(buffer, "abcd");
  EXPECT_EQ(image, -1);
  EXPECT_EQ(buffer[9], 'x');
  EXPECT_EQ(m_list.Select(0, '|', buffer, 10, nullptr), 1);
  EXPECT_STREQ(buffer, "abcd|efgh");
  EXPECT_EQ(m_list.Select(buffer, 10, 2, '|', nullptr), 0);   // no such row
  EXPECT_EQ(m_list.Select(buffer, 10, -1, '|', nullptr), 0);  // no current row
  m_list.SetCurSel(0);
  EXPECT_EQ(m_list.Select(buffer, 10, -1, ';', nullptr), 1);
  EXPECT_STREQ(buffer, "abcd;efgh");
  CZnString text("old");
  EXPECT_EQ(m_list.Select(text, 0, '|', nullptr), 1);
  EXPECT_EQ(text, "abcd|efgh");
  m_list.DeleteAllColumns();
  EXPECT_EQ(m_list.Select(buffer, 10, 0, '|', nullptr), 1);
  EXPECT_STREQ(buffer, "");
}

TEST_F(ListCtrl, DeleteListContentsCountsRowsAsBeforeTheCall) {
  AddRows(m_list, {"r0", "r1", "r2", "r3", "r4"});
  m_list.DeleteListContents(1, 3);
  EXPECT_EQ(JoinedRows(m_list), (Texts{"r0||", "r3||", "r4||"}));
  m_list.DeleteListContents(0, -1);
  EXPECT_EQ(m_list.GetItemCount(), 0);
}

TEST_F(ListCtrl, ColumnsByHeadingWidthAndVisibility) {
  char heading[8] = "unset";
  EXPECT_STREQ(m_list.GetColumnText(1, heading, sizeof heading), "B");
  EXPECT_STREQ(m_list.GetColumnText(7, heading, sizeof heading), "");
  EXPECT_TRUE(m_list.SetColumnText(1, "Bee"));
  EXPECT_EQ(ListHeadings(m_list), (Texts{"A", "Bee", "C"}));
  m_list.ShowColumn(2, 0, 80);
  EXPECT_EQ(m_list.GetColumnWidth(2), 0);
  m_list.ShowColumn(2, 1, 0x10050);  // only the low 16 bits count
  EXPECT_EQ(m_list.GetColumnWidth(2), 0x50);
  EXPECT_EQ(m_list.InsertCol("First", 0, 20), 1);
  EXPECT_EQ(m_list.InsertCol("Last", 99, 20), 1);
  EXPECT_EQ(ListHeadings(m_list), (Texts{"First", "A", "Bee", "C", "Last"}));
  EXPECT_EQ(m_list.GetColumnCount(), 5);
  EXPECT_EQ(m_list.DeleteAllColumns(), 1);
  EXPECT_EQ(m_list.GetColumnCount(), 0);
  CZnListCtrl detached;
  EXPECT_EQ(detached.InsertCol("x", 0, 10), 0);
}

TEST_F(ListCtrl, ANewColumnWithoutWidthTakesTheRestOfTheWindow) {
  CRect window;
  m_list.GetWindowRect(window);
  m_list.InsertCol("Rest", -1, -1);
  EXPECT_EQ(m_list.GetColumnWidth(3), window.Width() - 3 * 2 - 180);
}

TEST_F(ListCtrl, FindStringLooksAtTheFirstCell) {
  AddRows(m_list, {"Apple|x", "banana|Apple", "apple pie"});
  EXPECT_EQ(m_list.FindString("APPLE", -1, 0, 0), 0);
  EXPECT_EQ(m_list.FindString("apple", 0, 0, 0), -1);
  EXPECT_EQ(m_list.FindString("apple", 0, 0, 1), 2);
  EXPECT_EQ(m_list.FindString("cherry", -1, 0, 1), -1);
}

TEST_F(ListCtrl, SetCurSelMovesTheSelectionAndReturnsThePreviousRow) {
  AddRows(m_list, {"r0", "r1", "r2"});
  EXPECT_EQ(m_list.SetCurSel(1), -1);
  EXPECT_EQ(m_list.GetCurSel(), 1);
  EXPECT_EQ(m_list.SetCurSel(2), 1);
  EXPECT_EQ(m_list.GetItemState(1, LVIS_SELECTED), 0u);
  EXPECT_EQ(m_list.GetItemState(2, LVIS_SELECTED | LVIS_FOCUSED), LVIS_SELECTED | LVIS_FOCUSED);
  EXPECT_EQ(m_list.SetCurSel(-1), 2);
  EXPECT_EQ(m_list.GetCurSel(), -1);
  for (int row = 0; row < 3; ++row) {
    EXPECT_EQ(m_list.GetItemState(row, LVIS_SELECTED), LVIS_SELECTED) << row;
  }
}

TEST_F(ListCtrl, ViewModesSetTheStyleBits) {
  m_list.ModifyStyle(0, LVS_SHOWSELALWAYS | LVS_OWNERDRAWFIXED);
  const int exchanges = m_host.m_exchanges;
  m_list.ChangeListViewMode(1, 1);
  EXPECT_EQ(m_host.m_exchanges, exchanges + 1);  // the dialog saved its data first
  EXPECT_EQ(m_list.m_nViewMode, 0x0401);
  EXPECT_EQ(m_list.GetStyle() & 0x070B, LVS_REPORT | LVS_OWNERDRAWFIXED);
  m_list.ChangeListViewMode(1, 0);
  EXPECT_EQ(m_list.m_nViewMode, 1);
  EXPECT_EQ(m_list.GetStyle() & 0x070B, LVS_REPORT);
  m_list.ChangeListViewMode(LVS_SMALLICON, 0);
  EXPECT_EQ(m_list.m_nViewMode, 0x0102);
  EXPECT_EQ(m_list.GetStyle() & 0x070B, LVS_SMALLICON | LVS_AUTOARRANGE);
  EXPECT_TRUE(m_list.GetStyle() & WS_VISIBLE);
  m_list.SetMyListExtensionStyle(7);
  EXPECT_EQ(m_list.m_nExtensionStyle, 7);
}

TEST_F(ListCtrl, AClickAnywhereInAPlainReportRowSelectsIt) {
  AddRows(m_list, {"r0|a|b", "r1|c|d", "r2|e|f"});
  CRect bounds;
  m_list.GetItemRect(1, bounds, LVIR_BOUNDS);
  ClickListAt(m_list, CPoint(bounds.left + 150, bounds.top + 3));  // in the third column
  EXPECT_EQ(m_list.GetCurSel(), 1);
  EXPECT_EQ(m_list.m_nLastClicked, 1);
  EXPECT_EQ(m_list.GetItemState(1, LVIS_SELECTED | LVIS_FOCUSED), LVIS_SELECTED | LVIS_FOCUSED);
  ClickListAt(m_list, CPoint(bounds.left + 10, bounds.top + 60));  // below the rows
  EXPECT_EQ(m_list.GetCurSel(), 1);
}

TEST_F(ListCtrl, HeadingClicksAndDoubleClicksAreTheControlsOwn) {
  m_list.m_bGroupingOn = 0;
  AddRows(m_list, {"r1|x", "r0|y"});
  m_host.m_notes.clear();
  ClickListHeading(m_list, 0);
  EXPECT_EQ(JoinedRows(m_list), (Texts{"r0|y|", "r1|x|"}));  // the control sorted
  CRect label;
  m_list.GetItemRect(0, label, LVIR_LABEL);
  DoubleClickListAt(m_list, CPoint(label.left + 4, label.top + 3));
  // The dialog hears the click but neither notification the control handles.
  const std::vector<UINT>& notes = m_host.m_notes;
  EXPECT_EQ(std::count(notes.begin(), notes.end(), LVN_COLUMNCLICK), 0);
  EXPECT_EQ(std::count(notes.begin(), notes.end(), NM_DBLCLK), 0);
  EXPECT_GE(std::count(notes.begin(), notes.end(), NM_CLICK), 1);
}

TEST_F(ListCtrl, InOtherModesTheRowUnderTheClickBecomesCurrent) {
  AddRows(m_list, {"r0|a", "r1|c", "r2|e"});
  m_list.ChangeListViewMode(1, 1);
  CRect bounds;
  m_list.GetItemRect(2, bounds, LVIR_BOUNDS);
  ClickListAt(m_list, CPoint(bounds.left + 100, bounds.top + 3));
  EXPECT_EQ(m_list.GetCurSel(), 2);
  EXPECT_EQ(m_list.m_nLastClicked, 2);
  ClickListAt(m_list, CPoint(bounds.left + 10, bounds.bottom + 40));
  EXPECT_EQ(m_list.GetCurSel(), -1);
  EXPECT_EQ(m_list.m_nLastClicked, 2);
}

TEST_F(ListCtrl, IconsGoIntoBothListsOnceTheyExist) {
  EXPECT_EQ(m_list.AddIcon(kHostIconId), -1);
  ASSERT_EQ(m_list.CreateIcons(0, 0), 1);
  EXPECT_EQ(m_list.GetImageList(LVSIL_NORMAL), m_list.m_pImageList);
  EXPECT_EQ(m_list.GetImageList(LVSIL_SMALL), m_list.m_pImageListSmall);
  EXPECT_EQ(m_list.AddIcon(kHostIconId), 0);
  EXPECT_EQ(m_list.AddIcon(0x10000 | kHostIconId), 1);  // the low 16 bits name the icon
  EXPECT_EQ(m_list.AddIcon(4711), -1);
  EXPECT_EQ(m_list.m_pImageList->GetImageCount(), 2);
  int cx = 0, cy = 0;
  m_list.m_pImageListSmall->GetIconSize(cx, cy);
  EXPECT_EQ(cx, 16);
  ASSERT_EQ(m_list.CreateIcons(0, 0), 1);  // again: fresh, empty lists
  EXPECT_EQ(m_list.m_pImageList->GetImageCount(), 0);
}

}  // namespace
