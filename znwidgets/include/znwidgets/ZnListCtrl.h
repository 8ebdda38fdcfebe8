/// @file
/// CZnListCtrl: a list view for tables of text rows, owner drawn, sorted and
/// grouped by column.
#pragma once

#include <vector>

#include "platform/ListCtrl.h"
#include "zncore/ZnString.h"

/// A list view for tables of text rows in report view. A row passes in and
/// out as one text whose fields, separated by a character the caller
/// chooses, fill the columns from left to right. The control draws its rows
/// itself when owner drawing is on (ChangeListViewMode(1, 1)), with one of
/// three highlight shapes and text colours that mark the first row of each
/// group, and sorts (as text, as dates, or as numbers in a column marked
/// with SetNumberColumn) and groups its rows when a column heading is
/// clicked.
///
/// Rows and columns are numbered from 0; members that return a row answer
/// -1 for "none", and most others answer 1 when done and 0 when not. Nothing
/// shows a message except a sort whose working memory cannot be had.
///
/// The control is a list view of a dialog template ("SysListView32"),
/// attached with DDX_Control or SubclassDlgItem, or made by CListCtrl's
/// Create. The current row (GetCurSel) is this class's own record, set by
/// SetCurSel and by clicks; keys, and rows inserted or deleted, do not move
/// it.
/// @ingroup znwidgets_list
class CZnListCtrl : public CListCtrl {
public:
  /// The shape of a selected row's highlight (owner drawing).
  enum EHighlight {
    /// The first cell's text plus two blank widths, from the label's left
    /// edge (at most the label's width).
    HighlightLabelOnly = 0,
    HighlightAllColumns = 1,  ///< the row's bounds from the label's left edge
    HighlightFullRow = 2,     ///< as 1, out to the right edge of the client area
  };

  /// An object without a window; the data members start as their comments
  /// say (the full-row highlight, grouping on, sort column 0).
  CZnListCtrl();
  /// Deletes the image lists made by CreateIcons (a control that outlives
  /// the object then shows no images).
  ~CZnListCtrl() override;

  /// @name Columns
  /// @{

  /// Inserts a left-aligned column with `heading` (null counts as "")
  /// before `column` (appends when `column` is negative or beyond the
  /// last). The new column shows the subitem of the number it gets, so a
  /// column inserted before others shows the same subitem as the one it
  /// pushes to the right. A negative width gives the new column the rest of
  /// the window: the window's width minus 2 per existing column
  /// minus their widths, at least 0. 1 whenever the control has a window, 0
  /// without.
  int InsertCol(const char* heading, int column, int width);
  /// Deletes column 0 while there is one; 1 when every deletion succeeded,
  /// 0 when one failed (the columns left stay).
  int DeleteAllColumns();
  /// Sets the column's width to LOWORD(width) when `show` is non-zero, else
  /// to 0 (a hidden column). Nothing for a bad column.
  void ShowColumn(int column, int show, int width);
  /// The number of columns; 0 without a window.
  int GetColumnCount();
  /// Copies the heading into `buffer` of `size` bytes (cut to fit, never
  /// inside a UTF-8 character); empty when the column does not exist.
  /// Returns `buffer`; a null buffer or a size of 0 is left alone.
  char* GetColumnText(int column, char* buffer, unsigned long size);
  /// Sets the heading (null counts as ""); non-zero when it was set, 0 for a
  /// bad column.
  int SetColumnText(int column, const char* heading);
  /// @}

  /// @name Rows
  /// @{

  /// Splits `text` at `separator` and stores the fields in a row, field k
  /// as the text of subitem k. Blanks at the start of a field are dropped;
  /// a field longer than 249 bytes keeps its first 246 (fewer rather than
  /// split a UTF-8 character) followed by "...".
  ///
  /// With `replace` zero, a negative `row` or row 0 of an empty list, the
  /// fields go into a new row at `row` (appended when `row` is outside
  /// 0..count); otherwise they go over the cells of the existing row `row`,
  /// and a row that does not exist gives 0 with nothing stored. An `image`
  /// of 0 or more is set as the row's image.
  ///
  /// Returns 0 when a field has no column left or a cell cannot be set (the
  /// fields before stay stored), else 1. Without a window nothing is
  /// stored, yet a text of one field answers 1. An empty or null text is
  /// passed to InsertAtCol("", 0, row) instead, whatever `replace` says: it
  /// empties the first cell of the existing row `row` or appends a row (see
  /// there).
  int Insert(const char* text, int row, int replace, char separator, int image);
  /// The same with the arguments in another order.
  int Insert(int row, char separator, const char* text, int image, int replace);
  /// Sets the text of subitem `column` in row `row` (null counts as ""). A
  /// negative `row`, or one beyond the number of rows, first gets a new row
  /// at the end whose first cell is a blank; `row` equal to the number of
  /// rows gets none and sets nothing. 1 when the cell was set; 0 when
  /// `column` is beyond the number of columns (nothing changes) and when the
  /// cell cannot be set (a row appended for it stays).
  int InsertAtCol(const char* text, int column, int row);
  /// The same with at most the first 260 bytes of `text` (fewer rather than
  /// split a UTF-8 character).
  int InsertAtCol(CString text, int column, int row);
  /// Reads row `row` (negative: the current row, GetCurSel) as its cells
  /// joined by `separator` into `buffer` of `size` bytes; each cell counts
  /// with at most 299 bytes (never a partial UTF-8 character). 1 when every
  /// cell fit; 0 when the next cell does not fit (the buffer keeps the cells
  /// joined so far). 0 with the buffer unchanged for a row beyond the
  /// number of rows, a negative row without a current row, a null buffer
  /// or a size of 0; but `row` equal to the number of rows, and a current
  /// row that is gone, read as a row of empty cells. `*image` (when not
  /// null) is set to -1 once a cell is read: the row's image is not
  /// reported.
  int Select(char* buffer, unsigned int size, int row, char separator, int* image);
  /// The same with the arguments in another order.
  int Select(int row, char separator, char* buffer, unsigned int size, int* image);
  /// The same into a string, for a row of up to 63,999 bytes; the string
  /// gets what was read even when the read returns 0. 0, with the string
  /// unchanged, when the 64,000 bytes of working memory cannot be had.
  int Select(CZnString& text, int row, char separator, int* image);
  /// (0, -1) deletes every row; otherwise the rows from `from` up to but not
  /// including `to`, numbered as before the call (rows beyond the end are
  /// skipped). Sends no LVN_ITEMCHANGED; the current row stays as it was.
  void DeleteListContents(int from, int to);
  /// The first row after `start` (-1: from the top) whose first cell equals
  /// `text` (or begins with it when `partial` is non-zero), without regard
  /// to ASCII case; -1 when none. The third argument is not used.
  int FindString(CString text, int start, int ignored, int partial);
  /// @}

  /// @name Selection and view
  /// @{

  /// The current row (m_nCurSel): set by SetCurSel and by clicks, -1 when
  /// none. It may name a row that has moved or is gone.
  int GetCurSel();
  /// Deselects the current row, then selects and focuses `row` and makes it
  /// current; other selected rows stay selected (without LVS_SINGLESEL),
  /// and nothing scrolls. -1
  /// selects every row instead (none in a list with LVS_SINGLESEL) and
  /// leaves no current row; a row that does not exist becomes current all
  /// the same, with nothing selected. For -1 and a row that does not exist
  /// the focus stays on the previous current row. Returns the previous
  /// current row.
  int SetCurSel(int row);
  /// Switches the view: mode 1 is report view, with owner-drawn rows
  /// (LVS_OWNERDRAWFIXED, drawn by DrawItem) when `ownerDraw` is non-zero;
  /// any other mode is added as view-type bits (LVS_ICON, LVS_SMALLICON,
  /// LVS_LIST) with LVS_AUTOARRANGE. LVS_SHOWSELALWAYS is removed, and
  /// LVS_OWNERDRAWFIXED too when `ownerDraw` is zero; the other style bits
  /// stay. The new bits are kept in m_nViewMode. When the parent is a
  /// dialog, it saves its data first (UpdateData(TRUE), whatever the
  /// outcome).
  void ChangeListViewMode(int mode, int ownerDraw);
  /// Stores `style` in m_nExtensionStyle; nothing reads or applies it.
  void SetMyListExtensionStyle(int style);
  /// Makes a 32x32 and a 16x16 image list (masked, room for 30, growing by
  /// 30) and gives them to the control as its LVSIL_NORMAL and LVSIL_SMALL
  /// lists; the lists of an earlier call are deleted first. 1 on success; 0
  /// when a list cannot be made. Both arguments are ignored.
  int CreateIcons(int, int);
  /// Appends the icon resource LOWORD(iconId) to both lists; the index in
  /// the small list, -1 without lists (CreateIcons) or without such an icon.
  int AddIcon(unsigned int iconId);
  /// @}

  /// @name Drawing
  /// @{

  /// Sets the highlight shape for a type from 0 to 2 and repaints; other
  /// values change nothing. Returns the previous type always.
  int SetHighlightType(EHighlight type);
  /// Repaints at once the focused row and (without LVS_SHOWSELALWAYS) the
  /// selected rows, each from its label's left edge to the end of the
  /// columns.
  void RepaintSelectedItems();
  /// Hook of the drawing: a row it answers non-zero for has its text drawn
  /// in m_crSpecialEntry, unless the row is highlighted or that colour is
  /// 0; it wins over CheckForInactiveEntry. The base answers 0.
  virtual int CheckForSpecialEntry(int row);
  /// Hook of the drawing: a row it answers non-zero for has its text drawn
  /// in m_crInactiveEntry, unless the row is highlighted or that colour is
  /// 0. The base answers 0.
  virtual int CheckForInactiveEntry(int row);
  /// @}

  /// @name Sorting and grouping
  /// @{

  /// Sorts the rows by the sort column (m_nSortColumn): as text without
  /// regard to ASCII case (`textMode` non-zero) or as dates; ascending when
  /// `ascending` is non-zero; equal keys keep their order. Keys are the
  /// first 34 bytes of the cells. Rows whose first cell is empty are
  /// deleted first. The cells move as whole rows (every column's cell);
  /// images, states and item data stay at their row numbers. With 50 rows
  /// or more and `showProgress` non-zero a progress dialog shows. Then,
  /// when grouping is on (m_bGroupingOn), GroupListItems groups by the sort
  /// column, with its progress dialog for 50 rows or more whatever
  /// `showProgress` says. 1 when done; 0 (after a message box, with the
  /// control unchanged) when the working memory cannot be had. The first,
  /// third and fourth arguments are not used.
  int SortTextItems(int, int ascending, int, int, int textMode, int showProgress);
  /// Sorts the rows by the sort column (m_nSortColumn) as numbers,
  /// ascending when `ascending` is non-zero; equal numbers keep their
  /// order. A cell's number is the one it begins with, read whole (not cut
  /// to a key length) and compared by value at any length: blanks first,
  /// an optional sign, then digits, where a full stop, a blank or an
  /// apostrophe between two digits only groups them ("1.001.983", as
  /// CZnString::FormatLong writes numbers), and a comma followed by digits
  /// begins the fraction ("0,5"); what follows the number (a unit such as
  /// " KB") does not count. A cell without a number there (empty, or
  /// text) sorts before every number when ascending, after them when
  /// descending. Everything else is as SortTextItems does it: rows whose
  /// first cell is empty are deleted first, whole rows move, a progress
  /// dialog shows for 50 rows or more with `showProgress`, grouping follows
  /// when it is on, and the result is 1, or 0 when the working memory
  /// cannot be had.
  int SortNumberItems(int ascending, int showProgress);
  /// Marks `column` (`numbers` non-zero) as a column of numbers, or unmarks
  /// it: a heading click (SortByColumn) sorts a marked column with
  /// SortNumberItems. Columns are unmarked at first; a mark stays with the
  /// column number when columns are inserted or deleted. A negative column
  /// is ignored.
  void SetNumberColumn(int column, int numbers);
  /// 1 when SetNumberColumn marked the column, else 0.
  int IsNumberColumn(int column) const;
  /// Sorts by `column`, which becomes the sort column, the way a heading
  /// click chooses: as numbers for a column marked with SetNumberColumn,
  /// else as dates when row 0's cell there (its first 10 bytes) is a valid
  /// date-time text (CZnTime::IsValidTimeStr), else as text; ascending when
  /// `ascending` is non-zero, with a progress dialog for 50 rows or more
  /// when `showProgress` is non-zero, and grouping after it when it is on.
  /// The result of the sort (1, or 0 without working memory).
  int SortByColumn(int column, int ascending, int showProgress);
  /// Goes down the rows from row 1 and inserts an empty separator row
  /// between neighbouring rows whose cells in `column` (negative: the sort
  /// column) are both non-empty and differ without regard to ASCII case
  /// (first 34 bytes). With `group` zero a row whose cell there is empty is
  /// deleted instead (row 0 excepted; the row that moves up into a deleted
  /// row's place is not looked at), and separators still go in where two
  /// neighbours differ: on a grouped list that removes the separators, on a
  /// list without them it groups. Shows a progress dialog for 50 rows or more when
  /// `showProgress` is non-zero.
  void GroupListItems(int group, int column, int showProgress);
  /// @}

  /// @name Handlers
  /// @{

  /// Draws one row in owner-drawn report view. A selected row is
  /// highlighted while the control has the focus or with
  /// LVS_SHOWSELALWAYS, a drop-highlighted row always: in the highlight
  /// colours, over the shape of m_nHighlightType (never the icon). A row
  /// that is not highlighted has the window colours, with its text in blue
  /// when it begins a group (m_crGroupChange non-zero; the first 6 bytes of
  /// its cell in the sort column differ from the row above's without regard
  /// to ASCII case; never row 0), or in the colours of the hooks. With the
  /// label-only shape the cells after the first are always drawn plain.
  /// Drawn are the state image (number n is image n - 1 of the LVSIL_STATE
  /// list), the small image with the row's overlay (blended when
  /// highlighted), the first cell's text and the other cells aligned as
  /// their columns say, each cut with "..." to fit; and the focus rectangle
  /// around the highlight shape of the focused row while the control has
  /// the focus.
  void DrawItem(LPDRAWITEMSTRUCT drawItem) override;
  /// With the full-row highlight in report view, the part right of the
  /// columns (out to the client area's right edge) is painted along with
  /// the rows, so that the highlight reaches it; then the base paints.
  void OnPaint() override;
  /// After the base, repaints the selected rows at once in report view
  /// (their look depends on the focus), unless `other` is a child of this
  /// control.
  void OnSetFocus(CWnd* other) override;
  /// After the base, repaints the selected rows at once in report view, as
  /// OnSetFocus does.
  void OnKillFocus(CWnd* other) override;
  /// Sorts by the clicked column, which becomes the sort column, ascending,
  /// under the wait cursor and, for 50 rows or more, a progress dialog
  /// (SortByColumn): as numbers in a column marked with SetNumberColumn,
  /// else as dates when row 0's cell there (its first 10 bytes) is a valid
  /// date-time text (CZnTime::IsValidTimeStr), else as text. Grouping
  /// follows when it is on. `result` becomes 0. The click is the control's:
  /// the parent does not get LVN_COLUMNCLICK.
  void OnColumnclick(NMHDR* header, LRESULT* result) override;
  /// Sets `result` to 0 and does nothing else. The double click is the
  /// control's: the parent does not get NM_DBLCLK (a derived class that
  /// wants to act on it overrides this handler).
  void OnDblclk(NMHDR* header, LRESULT* result) override;
  /// After the view's own handling (the base): in plain report view
  /// (m_nViewMode LVS_REPORT, without owner drawing) a click anywhere across
  /// a row selects and focuses it and makes it current (and m_nLastClicked);
  /// the row is looked for at the left edge of the client area, so this
  /// holds while the first column is scrolled into view, and a click below
  /// the rows leaves the current row as it is. In other modes the row under
  /// the click becomes current (-1 when none) and, when there is one,
  /// m_nLastClicked.
  void OnLButtonDown(UINT flags, CPoint point) override;
  /// @}

  /// @name State
  /// @{

  /// The row of the last click on a row (OnLButtonDown); -1 at first.
  /// Nothing in the class reads it.
  int m_nLastClicked = -1;
  /// The current row that GetCurSel reports and Select reads for a
  /// negative row; -1 at first.
  int m_nCurSel = -1;
  /// The view bits ChangeListViewMode applied last; LVS_REPORT until it is
  /// first called, whatever the control's style. OnLButtonDown reads it.
  int m_nViewMode = LVS_REPORT;
  /// Stored by SetMyListExtensionStyle; 1 at first. Nothing reads it.
  int m_nExtensionStyle = 1;
  /// The column that sorts and groups, and whose cells mark the first rows
  /// of groups in the drawing; set by a heading click, 0 at first.
  int m_nSortColumn = 0;
  /// Non-zero: a sort ends with GroupListItems on the sort column; 1 at
  /// first.
  int m_bGroupingOn = 1;
  /// Non-zero: the first row of each group is drawn in blue (always blue:
  /// the value only switches the marking on). Blue at first.
  COLORREF m_crGroupChange = RGB(0, 0, 255);
  /// The text colour of rows that CheckForSpecialEntry marks; 0 turns it
  /// off. Red at first.
  COLORREF m_crSpecialEntry = RGB(255, 0, 0);
  /// The text colour of rows that CheckForInactiveEntry marks; 0 turns it
  /// off. Grey at first.
  COLORREF m_crInactiveEntry = RGB(100, 100, 100);
  /// The shape of a selected row's highlight (SetHighlightType); the full
  /// row at first.
  EHighlight m_nHighlightType = HighlightFullRow;
  /// The 32x32 list made by CreateIcons, the control's LVSIL_NORMAL list;
  /// owned (deleted with the object). Null at first.
  CImageList* m_pImageList = nullptr;
  /// The 16x16 list made by CreateIcons, the control's LVSIL_SMALL list;
  /// owned (deleted with the object). Null at first.
  CImageList* m_pImageListSmall = nullptr;
  /// @}

private:
  void FocusChanged(CWnd* other);
  int SortRows(int ascending, int how, int showProgress);

  std::vector<bool> m_numberColumns;  // marked by SetNumberColumn, by column
};
