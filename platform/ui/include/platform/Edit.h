// CEdit: a single-line edit field of a dialog.
#pragma once

#include "platform/Wnd.h"

class CEdit : public CWnd {
public:
  // The number of characters the user may type; 0 restores the default
  // (30,000). A text set by the program is never cut by the limit.
  void SetLimitText(UINT maxChars);
  void LimitText(int maxChars = 0) { SetLimitText(static_cast<UINT>(maxChars)); }
  UINT GetLimitText() const;
  // Selects characters start..end-1 (byte offsets into the UTF-8 text); a
  // start of 0 and an end of -1 select all, a start of -1 removes the
  // selection.
  void SetSel(int start, int end, BOOL noScroll = FALSE);
  // Replaces the selection (or inserts at the cursor), as typing would.
  void ReplaceSel(const char* text, BOOL canUndo = FALSE);
};
