/// @file
/// CZnListBox: a list box used as a scrolling log.
#pragma once

#include "platform/ListBox.h"

/// A list box used as a scrolling log. AddSelString appends a line and
/// selects it; once the box holds more lines than the caller allows, the next
/// line clears it first.
/// @ingroup znwidgets_tools
class CZnListBox : public CListBox {
public:
  /// A list box object not yet attached to a control.
  CZnListBox() = default;
  /// Detaches from its control, as CWnd's destructor does.
  ~CZnListBox() override = default;

  /// When more than `maxCount` lines were added since the last clearing,
  /// empties the list box first. Then appends `text` (at its sorted place in
  /// a sorting list box), selects the line whose index is the number of
  /// lines added before it, and returns the new number of lines added. The
  /// second argument is not used. The count grows even when the list box
  /// refuses the line (no window, out of space).
  int AddSelString(const char* text, int unused, int maxCount);

protected:
  int m_nCount = 0;  ///< lines added since the last clearing
};
