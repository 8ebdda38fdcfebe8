// CZnListCtrl's sorting and grouping: the order, date and text mode by the
// heading's first cell, separator rows, the progress dialog from 50 rows
// on, and the failure to get working memory. Rows keep their cells whole.
#include <gtest/gtest.h>

#include <random>

#include "../ListSortMemory.h"
#include "ListHostDialog.h"
#include "platform/Crt.h"
#include "platform/testing/ListViewDriver.h"
#include "platform/testing/UiDriver.h"
#include "platform/testing/UiRecorders.h"
#include "zncore/ZnTime.h"

namespace {

using namespace platform::testing;
using Texts = std::vector<std::string>;

constexpr const char* kProgressCaption = "Verarbeitung läuft...";

class Sorting : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(m_host.Create(kHostDialogId));
    AddColumns(m_list, {{"Key", 80}, {"Value", 80}});
  }
  // The rows after a heading click on `column`.
  Texts ClickHeading(int column) {
    ClickListHeading(m_list, column);
    return JoinedRows(m_list);
  }
  // True when a progress dialog showed while `work` ran.
  template <typename Work>
  bool ProgressShownDuring(Work work) {
    bool shown = false;
    Post([&] {
      for (const std::string& caption : ShownWindowCaptions()) shown = shown || caption == kProgressCaption;
    });
    work();
    ProcessEvents();
    return shown;
  }
  CListHost m_host;
  CZnListCtrl& m_list = m_host.m_list;
};

TEST_F(Sorting, TextModeIgnoresCaseInEitherDirection) {
  m_list.m_bGroupingOn = 0;
  AddRows(m_list, {"b|1", "A|2", "c|3"});
  EXPECT_EQ(m_list.SortTextItems(0, 1, 0, -1, 1, 0), 1);
  EXPECT_EQ(JoinedRows(m_list), (Texts{"A|2", "b|1", "c|3"}));
  EXPECT_EQ(m_list.SortTextItems(0, 0, 0, -1, 1, 0), 1);
  EXPECT_EQ(JoinedRows(m_list), (Texts{"c|3", "b|1", "A|2"}));
}

TEST_F(Sorting, KeysEqualInTheirFirst34BytesKeepTheirOrder) {
  m_list.m_bGroupingOn = 0;
  const std::string prefix(34, 'k');
  AddRows(m_list, {prefix + "Z|first", "a|0", prefix + "A|second", "KKK|1"});
  m_list.SortTextItems(0, 1, 0, -1, 1, 0);
  EXPECT_EQ(JoinedRows(m_list), (Texts{"a|0", "KKK|1", prefix + "Z|first", prefix + "A|second"}));
}

// The order that swapping out-of-order neighbours gives, pass after pass.
Texts ReferenceOrder(Texts rows, int column, bool ascending, bool dates) {
  auto key = [&](const std::string& row) {
    const std::string cell = column == 0 ? row.substr(0, row.find('|')) : row.substr(row.find('|') + 1);
    return cell.substr(0, 34);
  };
  auto before = [&](const std::string& a, const std::string& b) {
    if (dates) {
      const CZnTime x(key(a).c_str()), y(key(b).c_str());
      return ascending ? x < y : y < x;
    }
    const int compared = _stricmp(key(a).c_str(), key(b).c_str());
    return ascending ? compared < 0 : compared > 0;
  };
  for (std::size_t pos = 0; pos < rows.size(); ++pos) {
    for (std::size_t k = pos; k >= 1; --k) {
      if (before(rows[k], rows[k - 1])) std::swap(rows[k], rows[k - 1]);
    }
  }
  return rows;
}

TEST_F(Sorting, TheOrderIsThatOfSwappingNeighbours) {
  m_list.m_bGroupingOn = 0;
  std::mt19937 random(7);
  const char* keys[] = {"x", "X", "y", "2026-01-01 10:00:00", "01.01.2026", "bad", "", "2025-12-31 23:59:59",
                        "Y", "a"};
  Texts rows;
  for (int i = 0; i < 120; ++i) {
    rows.push_back("r" + std::to_string(i) + "|" + keys[random() % std::size(keys)]);
  }
  for (const bool dates : {false, true}) {
    for (const bool ascending : {true, false}) {
      m_list.DeleteListContents(0, -1);
      AddRows(m_list, rows);
      m_list.m_nSortColumn = 1;
      m_list.SortTextItems(0, ascending, 0, -1, dates ? 0 : 1, 0);
      EXPECT_EQ(JoinedRows(m_list), ReferenceOrder(rows, 1, ascending, dates))
          << (dates ? "dates" : "text") << (ascending ? " ascending" : " descending");
    }
  }
}

TEST_F(Sorting, RowsWithAnEmptyFirstCellAreRemoved) {
  m_list.m_bGroupingOn = 0;
  AddRows(m_list, {"b|1", "|gone", "a|2", ""});
  m_list.SortTextItems(0, 1, 0, -1, 1, 0);
  EXPECT_EQ(JoinedRows(m_list), (Texts{"a|2", "b|1"}));
}

TEST_F(Sorting, AListWithoutColumnsSortsItsRowTexts) {
  m_list.m_bGroupingOn = 0;
  ASSERT_EQ(m_list.DeleteAllColumns(), 1);
  for (const char* text : {"pear", "Apple", "fig"}) m_list.InsertItem(m_list.GetItemCount(), text);
  EXPECT_EQ(m_list.SortTextItems(0, 1, 0, -1, 1, 0), 1);
  EXPECT_EQ(JoinedRows(m_list), (Texts{"Apple", "fig", "pear"}));
  EXPECT_EQ(m_list.SortTextItems(0, 0, 0, -1, 1, 0), 1);
  EXPECT_EQ(JoinedRows(m_list), (Texts{"pear", "fig", "Apple"}));
}

TEST_F(Sorting, CellsWithTheSeparatorStayWhole) {
  m_list.m_bGroupingOn = 0;
  m_list.InsertCol("Third", -1, 60);
  m_list.InsertItem(0, "b");
  m_list.SetItemText(0, 1, "left|right");
  m_list.SetItemText(0, 2, "end");
  m_list.InsertItem(1, "a");
  m_list.SortTextItems(0, 1, 0, -1, 1, 0);
  EXPECT_EQ(ListRows(m_list),
            (std::vector<Texts>{{"a", "", ""}, {"b", "left|right", "end"}}));
}

TEST_F(Sorting, LongRowsAndLeadingBlanksMoveUnchanged) {
  m_list.m_bGroupingOn = 0;
  const std::string big(1200, 'v');
  for (int i = 0; i < 4; ++i) m_list.InsertCol("More", -1, 30);
  m_list.InsertItem(0, "z");
  for (int column = 1; column < 6; ++column) m_list.SetItemText(0, column, (big + char('0' + column)).c_str());
  m_list.InsertItem(1, "  y");
  m_list.SortTextItems(0, 1, 0, -1, 1, 0);
  const auto rows = ListRows(m_list);
  EXPECT_EQ(rows[0][0], "  y");
  ASSERT_EQ(rows[1].size(), 6u);
  for (int column = 1; column < 6; ++column) EXPECT_EQ(rows[1][column], big + char('0' + column));
}

TEST_F(Sorting, ImagesStatesAndItemDataStayInPlace) {
  m_list.m_bGroupingOn = 0;
  AddRows(m_list, {"b|1", "a|2"});
  m_list.SetItemData(0, 100);
  LVITEM image{};
  image.mask = LVIF_IMAGE;
  image.iItem = 0;
  image.iImage = 3;
  m_list.SetItem(&image);
  m_list.SortTextItems(0, 1, 0, -1, 1, 0);
  EXPECT_EQ(JoinedRows(m_list), (Texts{"a|2", "b|1"}));
  EXPECT_EQ(m_list.GetItemData(0), 100u);
  image.iImage = -1;
  m_list.GetItem(&image);
  EXPECT_EQ(image.iImage, 3);
}

TEST_F(Sorting, AHeadingClickSortsAscendingAndGroups) {
  AddRows(m_list, {"3|y", "1|x", "2|x"});
  EXPECT_EQ(ClickHeading(1), (Texts{"1|x", "2|x", "|", "3|y"}));
  EXPECT_EQ(m_list.m_nSortColumn, 1);
  // A second click sorts the same way again; the separator goes first.
  EXPECT_EQ(ClickHeading(1), (Texts{"1|x", "2|x", "|", "3|y"}));
}

TEST_F(Sorting, AHeadingClickSortsDatesWhenTheFirstCellIsOne) {
  m_list.m_bGroupingOn = 0;
  AddRows(m_list, {"06.12.2026|late", "01.01.2025|early", "15.03.2026|middle"});
  EXPECT_EQ(ClickHeading(0), (Texts{"01.01.2025|early", "15.03.2026|middle", "06.12.2026|late"}));
  // Row 0's cell decides: a text that is no date sorts the column as text.
  m_list.DeleteListContents(0, -1);
  AddRows(m_list, {"day|06.12.2026", "x|15.03.2026", "y|01.01.2025"});
  EXPECT_EQ(ClickHeading(0), (Texts{"day|06.12.2026", "x|15.03.2026", "y|01.01.2025"}));
  EXPECT_EQ(ClickHeading(1), (Texts{"y|01.01.2025", "x|15.03.2026", "day|06.12.2026"}));
}

TEST_F(Sorting, ANumberColumnSortsByValueEvenWhenItsFirstCellReadsLikeADate) {
  m_list.m_bGroupingOn = 0;
  m_list.SetNumberColumn(1, 1);
  EXPECT_EQ(m_list.IsNumberColumn(1), 1);
  EXPECT_EQ(m_list.IsNumberColumn(0), 0);
  EXPECT_EQ(m_list.IsNumberColumn(7), 0);
  const Texts rows{"a|1.010.452", "b|37.884", "c|", "d|1.001.983", "e|736", "f|-5", "g|0,5", "h|1.896"};
  AddRows(m_list, rows);
  const Texts ascending{"c|", "f|-5", "g|0,5", "e|736", "h|1.896", "b|37.884", "d|1.001.983", "a|1.010.452"};
  EXPECT_EQ(ClickHeading(1), ascending);
  EXPECT_EQ(m_list.m_nSortColumn, 1);
  EXPECT_EQ(m_list.SortByColumn(1, 0, 0), 1);
  EXPECT_EQ(JoinedRows(m_list), Texts(ascending.rbegin(), ascending.rend()));
  // Unmarked, the column sorts as before: its first cell reads as a date.
  m_list.SetNumberColumn(1, 0);
  m_list.DeleteListContents(0, -1);
  AddRows(m_list, rows);
  ClickHeading(1);
  EXPECT_NE(JoinedRows(m_list), ascending);
}

TEST_F(Sorting, NumbersKeepTheRulesOfTheSort) {
  // Equal values keep their order, rows without a first cell go, grouping
  // follows, and a long list shows the progress dialog.
  AddRows(m_list, {"x|1.000", "|gone", "y|1000", "z|5"});
  m_list.m_nSortColumn = 1;
  EXPECT_EQ(m_list.SortNumberItems(1, 0), 1);
  EXPECT_EQ(JoinedRows(m_list), (Texts{"z|5", "|", "x|1.000", "|", "y|1000"}));
  m_list.m_bGroupingOn = 0;
  Texts many;
  for (int i = 0; i < 60; ++i) many.push_back("r|" + std::to_string(i * 37 % 60));
  m_list.DeleteListContents(0, -1);
  AddRows(m_list, many);
  EXPECT_TRUE(ProgressShownDuring([&] { m_list.SortNumberItems(0, 1); }));
  EXPECT_EQ(ListRows(m_list).front()[1], "59");
  EXPECT_EQ(ListRows(m_list).back()[1], "0");
}

TEST_F(Sorting, GroupingSeparatesGroupsAndUngroupingRemovesTheSeparators) {
  AddRows(m_list, {"1|A", "2|a", "3|B", "4|B", "5|C"});
  m_list.GroupListItems(1, 1, 0);
  EXPECT_EQ(JoinedRows(m_list), (Texts{"1|A", "2|a", "|", "3|B", "4|B", "|", "5|C"}));
  m_list.GroupListItems(0, 1, 0);
  EXPECT_EQ(JoinedRows(m_list), (Texts{"1|A", "2|a", "3|B", "4|B", "5|C"}));
  // The row that moves up into a deleted row's place is not looked at.
  m_list.DeleteListContents(0, -1);
  AddRows(m_list, {"1|A", "2|", "3|", "4|B"});
  m_list.m_nSortColumn = 1;
  m_list.GroupListItems(0, -1, 0);
  EXPECT_EQ(JoinedRows(m_list), (Texts{"1|A", "3|", "4|B"}));
}

TEST_F(Sorting, AProgressDialogShowsFrom50RowsOn) {
  m_list.m_bGroupingOn = 0;
  Texts rows;
  for (int i = 0; i < 50; ++i) rows.push_back(std::to_string(99 - i) + "|v");
  AddRows(m_list, Texts(rows.begin(), rows.begin() + 49));
  EXPECT_FALSE(ProgressShownDuring([&] { m_list.SortTextItems(0, 1, 0, -1, 1, 1); }));
  AddRows(m_list, {rows[49]});
  EXPECT_TRUE(ProgressShownDuring([&] { m_list.SortTextItems(0, 1, 0, -1, 1, 1); }));
  EXPECT_FALSE(ProgressShownDuring([&] { m_list.SortTextItems(0, 1, 0, -1, 1, 0); }));
  // Grouping moves its dialog on as it inserts separators.
  for (int row = 0; row < 50; ++row) m_list.SetItemText(row, 1, row % 2 ? "odd" : "even");
  EXPECT_TRUE(ProgressShownDuring([&] { m_list.GroupListItems(1, 1, 1); }));
  EXPECT_EQ(m_list.GetItemCount(), 99);
  // Gone afterwards, and the owner works again.
  for (const std::string& caption : ShownWindowCaptions()) EXPECT_NE(caption, kProgressCaption);
  EXPECT_TRUE(m_host.IsWindowEnabled());
}

// Records the message box and the windows shown when it came.
class BoxesAndWindows : public RecordingMessageBoxes {
public:
  int Show(HWND owner, const char* text, const char* caption, UINT type) override {
    m_shown = ShownWindowCaptions();
    return RecordingMessageBoxes::Show(owner, text, caption, type);
  }
  std::vector<std::string> m_shown;
};

TEST_F(Sorting, WithoutWorkingMemoryTheSortTellsAndChangesNothing) {
  Texts rows;
  for (int i = 0; i < 60; ++i) rows.push_back(i % 7 ? std::to_string(i % 5) + "|v" : "|separator");
  AddRows(m_list, rows);
  BoxesAndWindows boxes;
  znwidgets::listctrl::SetSortMemoryFails(true);
  const int result = m_list.SortTextItems(0, 1, 0, -1, 1, 1);
  znwidgets::listctrl::SetSortMemoryFails(false);
  EXPECT_EQ(result, 0);
  ASSERT_EQ(boxes.Boxes().size(), 1u);
  const auto& box = boxes.Boxes()[0];
  EXPECT_EQ(box.text,
            "Speicher für die Sortierfunktion kann NICHT allokiert werden. "
            "Die Sortierung kann nicht durchgeführt werden.");
  EXPECT_EQ(box.caption, "FEHLER");
  EXPECT_EQ(box.type, MB_ICONEXCLAMATION | MB_OK);
  EXPECT_EQ(box.owner, m_list.m_hWnd);
  for (const std::string& caption : boxes.m_shown) EXPECT_NE(caption, kProgressCaption);
  EXPECT_EQ(JoinedRows(m_list), rows);  // not sorted, no row removed, no separator added
}

}  // namespace
