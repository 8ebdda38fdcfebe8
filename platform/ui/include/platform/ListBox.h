// CListBox: a list of text lines in a dialog. Indexes are 0-based.
//
// A list box may run out of space (when the memory for another line cannot
// be had): the call then returns LB_ERRSPACE and the dialog gets the
// LBN_ERRSPACE notification, before the call returns.
#pragma once

#include "platform/Wnd.h"

class CListBox : public CWnd {
public:
  // Appends a line (at its sorted place with LBS_SORT); returns its index,
  // LB_ERRSPACE when out of space, LB_ERR without a window.
  int AddString(const char* text);
  // Inserts before `index` (-1 appends); the new line's index.
  int InsertString(int index, const char* text);
  // Removes a line; the lines left, LB_ERR for a bad index.
  int DeleteString(UINT index);
  void ResetContent();
  int GetCount() const;
  // Selects a line and scrolls it into view; -1 removes the selection.
  // LB_ERR when the index is out of range (the selection is removed then).
  // Sends no notification.
  int SetCurSel(int index);
  int GetCurSel() const;  // LB_ERR when nothing is selected
  // The line's text; its length, LB_ERR for a bad index.
  int GetText(int index, CString& text) const;
  int GetTextLen(int index) const;
  int GetTopIndex() const;
  int SetTopIndex(int index);
};
