// CZnListBox: the scrolling log list box.
#include "znwidgets/ZnListBox.h"

int CZnListBox::AddSelString(const char* text, int, int maxCount) {
  if (m_nCount > maxCount) {
    ResetContent();
    m_nCount = 0;
  }
  AddString(text);
  SetCurSel(m_nCount);
  return ++m_nCount;
}
