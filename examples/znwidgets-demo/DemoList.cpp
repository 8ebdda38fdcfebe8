#include "DemoList.h"

void CDemoList::OnDblclk(NMHDR* header, LRESULT* result) {
  CZnListCtrl::OnDblclk(header, result);
  if (m_onOpen && reinterpret_cast<NMLISTVIEW*>(header)->iItem >= 0) m_onOpen();
}
