// CDemoList: the demo's list of files. A heading click sorts by that column
// (a second click on the same heading turns the order round), the heading
// shows the order with its arrow, and only the column whose values repeat
// (the type) is grouped: sorted by a column of unique values, separators
// and blue group starts would mark every row. The list control keeps its
// notifications to itself, so the window hears of a double click and of
// each sort through this class.
#pragma once

#include <functional>

#include "znwidgets/ZnListCtrl.h"

class CDemoList : public CZnListCtrl {
public:
  // The column whose heading click groups the rows; -1 for none.
  void SetGroupColumn(int column) { m_nGroupColumn = column; }
  // Sorts by `column` (as numbers in a column marked with SetNumberColumn,
  // as dates or as text otherwise), groups when it is the group column, and
  // shows the arrow in its heading.
  void SortBy(int column, bool ascending);
  // Sorts new rows the way they were sorted last; nothing when the user
  // has not sorted yet.
  void SortAgain();
  // The column the rows are sorted by, -1 before the first sort.
  int SortedColumn() const { return m_nSortedColumn; }
  bool SortedAscending() const { return m_bAscending; }

  // Called after the list's own handling of a double click on a row.
  std::function<void()> m_onOpen;
  // Called after each sort a heading click asked for.
  std::function<void(int column, bool ascending)> m_onSorted;

protected:
  void OnColumnclick(NMHDR* header, LRESULT* result) override;
  void OnDblclk(NMHDR* header, LRESULT* result) override;

private:
  void Sort(int column, bool ascending, int showProgress);
  void ShowSortArrow();

  int m_nGroupColumn = -1;
  int m_nSortedColumn = -1;
  bool m_bAscending = true;
};
