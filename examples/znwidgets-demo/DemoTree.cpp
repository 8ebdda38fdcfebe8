#include "DemoTree.h"

void CDemoTree::OnTreeSelChange(NMHDR* header, LRESULT* result) {
  CZnTreeCtrl::OnTreeSelChange(header, result);
  if (m_onSelect) m_onSelect(reinterpret_cast<NMTREEVIEW*>(header)->itemNew.hItem);
}
