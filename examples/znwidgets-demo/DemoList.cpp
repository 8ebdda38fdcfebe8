#include "DemoList.h"

void CDemoList::SortBy(int column, bool ascending) {
  CWaitCursor wait;
  Sort(column, ascending, 1);
}

void CDemoList::SortAgain() {
  // New rows replace the old ones quietly: no progress dialog for them.
  if (m_nSortedColumn >= 0) Sort(m_nSortedColumn, m_bAscending, 0);
}

void CDemoList::Sort(int column, bool ascending, int showProgress) {
  // Separators and the blue first rows of groups only where values repeat.
  const bool groups = column == m_nGroupColumn;
  m_bGroupingOn = groups ? 1 : 0;
  m_crGroupChange = groups ? RGB(0, 0, 255) : 0;
  SortByColumn(column, ascending ? 1 : 0, showProgress);
  m_nSortedColumn = column;
  m_bAscending = ascending;
  ShowSortArrow();
}

void CDemoList::ShowSortArrow() {
  LVCOLUMN format{};
  format.mask = LVCF_FMT;
  for (int column = 0; GetColumn(column, &format); ++column) {
    format.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
    if (column == m_nSortedColumn) format.fmt |= m_bAscending ? HDF_SORTUP : HDF_SORTDOWN;
    SetColumn(column, &format);
  }
}

void CDemoList::OnColumnclick(NMHDR* header, LRESULT* result) {
  const int column = reinterpret_cast<NMLISTVIEW*>(header)->iSubItem;
  // A second click on the sorted column turns the order round.
  SortBy(column, column == m_nSortedColumn ? !m_bAscending : true);
  if (result) *result = 0;
  if (m_onSorted) m_onSorted(m_nSortedColumn, m_bAscending);
}

void CDemoList::OnDblclk(NMHDR* header, LRESULT* result) {
  CZnListCtrl::OnDblclk(header, result);
  if (m_onOpen && reinterpret_cast<NMLISTVIEW*>(header)->iItem >= 0) m_onOpen();
}
