/// @file
/// CListBox: a list of text lines in a dialog.
#pragma once

#include "platform/Wnd.h"

/// A list of text lines in a dialog. Indexes are 0-based.
///
/// A list box may run out of space (when the memory for another line cannot
/// be had): the call then returns LB_ERRSPACE and the dialog gets the
/// LBN_ERRSPACE notification, before the call returns. Every member called on
/// an object without a live list box window returns LB_ERR (or, for those
/// without a result, does nothing); GetTopIndex returns 0 then.
///
/// CListBox belongs to the platform layer (`platform_ui`); ZnWidgets'
/// CZnListBox derives from it.
/// @ingroup platform_base
class CListBox : public CWnd {
public:
  /// Appends a line (with LBS_SORT at its sorted place: after every line that
  /// is not greater without regard to ASCII case); null counts as "". Returns
  /// its index, LB_ERRSPACE when out of space, LB_ERR without a window.
  int AddString(const char* text);
  /// Inserts a line before `index` (a negative index appends; the list is not
  /// sorted); null counts as "". Returns the new line's index; LB_ERR for an
  /// index beyond the number of lines or without a window, LB_ERRSPACE when
  /// out of space.
  int InsertString(int index, const char* text);
  /// Appends `count` lines in one step, for a list that takes many lines at
  /// a time (a protocol): one change of the list and one layout instead of
  /// one per line. The list must not be sorted (LBS_SORT): a sorted list box
  /// appends nothing. Returns how many lines were appended: fewer than
  /// `count` when the list ran out of space, which this call does not
  /// report (adding the first line that did not fit with AddString does).
  /// LB_ERR without a window, a null array or a negative count.
  int AddStrings(const char* const* texts, int count);
  /// Removes a line; returns the number of lines left, LB_ERR for a bad index.
  int DeleteString(UINT index);
  /// Removes every line; sends no LBN_SELCHANGE.
  void ResetContent();
  /// The number of lines; LB_ERR without a window.
  int GetCount() const;
  /// Selects a line and scrolls it into view; -1 removes the selection.
  /// Returns `index`, or LB_ERR when it is out of range, -1 included (the
  /// selection is removed then). Sends no notification.
  int SetCurSel(int index);
  /// The index of the selected line; LB_ERR when nothing is selected.
  int GetCurSel() const;
  /// Copies the line's text into `text`; returns its length in bytes, LB_ERR
  /// (with `text` unchanged) for a bad index.
  int GetText(int index, CString& text) const;
  /// The length in bytes of the line's text; LB_ERR for a bad index.
  int GetTextLen(int index) const;
  /// The index of the first visible line; 0 for an empty list box.
  int GetTopIndex() const;
  /// Scrolls so that the line `index` is the first visible one; returns 0,
  /// LB_ERR for a bad index.
  int SetTopIndex(int index);
};
