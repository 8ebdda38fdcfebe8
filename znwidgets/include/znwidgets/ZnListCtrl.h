/// @file
/// CZnListCtrl: a list view for tables of text rows in report view. A row
/// passes in and out as one text whose fields, separated by a character the
/// caller chooses, fill the columns from left to right. The control draws
/// its rows itself when owner drawing is on (ChangeListViewMode(1, 1)),
/// with one of three highlight shapes and text colours that mark the first
/// row of each group, and sorts (as text or as dates) and groups its rows
/// when a column heading is clicked.
///
/// Rows and columns are numbered from 0; members that return a row answer
/// -1 for "none", the others 1 when done and 0 when not. Nothing shows a
/// message except a sort whose working memory cannot be had.
///
/// The control is a list view of a dialog template ("SysListView32"),
/// attached with DDX_Control or SubclassDlgItem, or made by CListCtrl's
/// Create.
#pragma once

#include "platform/ListCtrl.h"
#include "zncore/ZnString.h"

class CZnListCtrl : public CListCtrl {
public:
  /// The shape of a selected row's highlight.
  enum EHighlight {
    HighlightLabelOnly = 0,   // the first cell's text plus two blank widths
    HighlightAllColumns = 1,  // the row's bounds from the label's left edge
    HighlightFullRow = 2,     // as 1, out to the right edge of the client area
  };

  CZnListCtrl();
  /// Deletes the image lists made by CreateIcons.
  ~CZnListCtrl() override;

  // --- Columns --------------------------------------------------------------------
  /// Inserts a left-aligned column before `column` (appends when `column` is
  /// negative or beyond the last). A negative width gives the new column the
  /// rest of the window: its width minus 2 per existing column minus their
  /// widths. 1 whenever the control has a window, 0 without.
  int InsertCol(const char* heading, int column, int width);
  /// Deletes column 0 while there is one; 1 when every deletion succeeded.
  int DeleteAllColumns();
  /// Width LOWORD(width) when `show` is non-zero, else 0 (a hidden column).
  void ShowColumn(int column, int show, int width);
  int GetColumnCount();
  /// The heading into `buffer` of `size` bytes (cut to fit); empty when the
  /// column does not exist. Returns `buffer`.
  char* GetColumnText(int column, char* buffer, unsigned long size);
  /// Non-zero when the heading was set.
  int SetColumnText(int column, const char* heading);

  // --- Rows -----------------------------------------------------------------------
  /// Splits `text` at `separator` and stores the fields in a new row (at
  /// `row`, or appended when `row` is outside 0..count) or, with `replace`
  /// non-zero and a row `row` that exists, over that row's cells. Blanks at
  /// the start of a field are dropped; a field longer than 249 bytes keeps
  /// its first 246 and "...". An image >= 0 is set as the row's image. An
  /// empty text stores an empty first cell (InsertAtCol). Returns 0 when a
  /// field has no column left or a cell cannot be set (the fields before
  /// stay stored), else 1.
  int Insert(const char* text, int row, int replace, char separator, int image);
  int Insert(int row, char separator, const char* text, int image, int replace);
  /// Sets cell (row, column); a row outside 0..count gets a new row at the
  /// end whose first cell is a blank. 0 when there is no such column.
  int InsertAtCol(const char* text, int column, int row);
  /// The same with at most 260 bytes of `text`.
  int InsertAtCol(CString text, int column, int row);
  /// Reads a row (row -1: the current row) as its cells joined by
  /// `separator` into `buffer` of `size` bytes; each cell counts with at
  /// most 299 bytes. 0 when the row does not exist or the next cell does
  /// not fit (the buffer keeps the cells joined so far); `*image` (when not
  /// null) becomes -1.
  int Select(char* buffer, unsigned int size, int row, char separator, int* image);
  int Select(int row, char separator, char* buffer, unsigned int size, int* image);
  /// The same into a string (a row of up to 64,000 bytes); the string gets
  /// what was read even when the read returns 0.
  int Select(CZnString& text, int row, char separator, int* image);
  /// (0, -1) deletes every row; otherwise the rows from `from` up to but not
  /// including `to`, numbered as before the call.
  void DeleteListContents(int from, int to);
  /// The first row after `start` (-1: from the top) whose first cell equals
  /// `text` (or begins with it when `partial` is non-zero), without regard
  /// to case; -1 when none. The third argument is not used.
  int FindString(CString text, int start, int ignored, int partial);

  // --- Selection and view ------------------------------------------------------------
  /// The current row (set by SetCurSel and by clicks); -1 when none.
  int GetCurSel();
  /// Leaves the previous current row focused but not selected, then selects
  /// and focuses `row` (-1: selects every row) and makes it current.
  /// Returns the previous current row.
  int SetCurSel(int row);
  /// Mode 1 is report view (with owner-drawn rows when `ownerDraw` is
  /// non-zero); any other mode is a view style (LVS_ICON, LVS_SMALLICON,
  /// LVS_LIST) that gets LVS_AUTOARRANGE. The dialog saves its data first.
  void ChangeListViewMode(int mode, int ownerDraw);
  void SetMyListExtensionStyle(int style);
  /// Makes a 32x32 and a 16x16 image list (masked, room for 30, growing by
  /// 30) and gives them to the control as its normal and small lists. 1 on
  /// success; 0 when a list cannot be made. Both arguments are ignored.
  int CreateIcons(int, int);
  /// Appends the icon resource LOWORD(iconId) to both lists; the index in
  /// the small list, -1 without lists or icon.
  int AddIcon(unsigned int iconId);

  // --- Drawing ------------------------------------------------------------------------
  /// Stores a type up to 2 and repaints; returns the previous type always.
  int SetHighlightType(EHighlight type);
  /// Repaints the focused row and (without LVS_SHOWSELALWAYS) the selected
  /// rows from their label on, at once.
  void RepaintSelectedItems();
  /// Hooks of the drawing: a row they answer non-zero for is drawn in the
  /// special (inactive) colour. The bases answer 0.
  virtual int CheckForSpecialEntry(int row);
  virtual int CheckForInactiveEntry(int row);

  // --- Sorting and grouping -------------------------------------------------------------
  /// Sorts the rows by the sort column: as text without regard to case
  /// (`textMode` non-zero) or as dates; ascending when `ascending` is
  /// non-zero; equal keys keep their order. Keys are the first 34 bytes of
  /// the cells. Rows whose first cell is empty are deleted first. A row's
  /// cells, image, state and item data are never changed: whole rows of
  /// cells move, images, states and item data stay in place. With 50 rows or
  /// more and `showProgress` non-zero a progress dialog shows. Then groups
  /// (GroupListItems) when grouping is on. 1 when done; 0 (after a message
  /// box, with the control unchanged) when the working memory cannot be
  /// had. The first, third and fourth arguments are not used.
  int SortTextItems(int, int ascending, int, int, int textMode, int showProgress);
  /// With `group` non-zero inserts an empty separator row between
  /// neighbouring rows whose cells in `column` (negative: the sort column)
  /// are both non-empty and differ without regard to case (first 34 bytes);
  /// with `group` zero deletes rows whose cell there is empty (the row that
  /// moves up into a deleted row's place is not looked at). Shows a progress
  /// dialog for 50 rows or more when `showProgress` is non-zero.
  void GroupListItems(int group, int column, int showProgress);

  // --- Handlers ---------------------------------------------------------------------------
  void DrawItem(LPDRAWITEMSTRUCT drawItem) override;
  /// With the full-row highlight in report view, the part right of the rows
  /// is painted with them.
  void OnPaint() override;
  /// Both repaint the selected rows in report view (their look depends on
  /// the focus) unless the other window is a child of this one.
  void OnSetFocus(CWnd* other) override;
  void OnKillFocus(CWnd* other) override;
  /// Sorts by the clicked column: as dates when row 0's cell there (its
  /// first 10 bytes) is a valid date-time text, else as text; ascending.
  void OnColumnclick(NMHDR* header, LRESULT* result) override;
  void OnDblclk(NMHDR* header, LRESULT* result) override;
  /// After the view's own handling: in plain report view (view mode 1) a
  /// click anywhere in a row's width selects and focuses it and makes it
  /// current; in other modes the row under the click becomes current (-1
  /// when none).
  void OnLButtonDown(UINT flags, CPoint point) override;

  // --- State ----------------------------------------------------------------------------------
  int m_nLastClicked = -1;           ///< set by clicks, read by nothing here
  int m_nCurSel = -1;                ///< what GetCurSel reports
  int m_nViewMode = LVS_REPORT;      ///< the style bits ChangeListViewMode applied
  int m_nExtensionStyle = 1;         ///< stored by SetMyListExtensionStyle
  int m_nSortColumn = 0;             ///< set by a heading click
  int m_bGroupingOn = 1;             ///< sorting ends with GroupListItems
  COLORREF m_crGroupChange = RGB(0, 0, 255);  ///< non-zero: first rows of groups in blue
  COLORREF m_crSpecialEntry = RGB(255, 0, 0);
  COLORREF m_crInactiveEntry = RGB(100, 100, 100);
  EHighlight m_nHighlightType = HighlightFullRow;
  CImageList* m_pImageList = nullptr;       ///< 32x32, owned
  CImageList* m_pImageListSmall = nullptr;  ///< 16x16, owned

private:
  void FocusChanged(CWnd* other);
};
