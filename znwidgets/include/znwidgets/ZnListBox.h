// CZnListBox: a list box used as a scrolling log. AddSelString appends a
// line and selects it; once the box holds more lines than the caller
// allows, the next line clears it first.
#pragma once

#include "platform/ListBox.h"

class CZnListBox : public CListBox {
public:
  CZnListBox() = default;
  ~CZnListBox() override = default;

  // When more than `maxCount` lines were added since the last clearing,
  // empties the list box first. Then appends `text` (at its sorted place in
  // a sorting list box), selects the line whose index is the number of
  // lines added before it, and returns the new number of lines added. The
  // second argument is not used.
  int AddSelString(const char* text, int unused, int maxCount);

protected:
  int m_nCount = 0;  // lines added since the last clearing
};
