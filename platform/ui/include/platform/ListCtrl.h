/// @file
/// CListCtrl: the list view control; its styles, records, notification codes
/// and the record of owner drawing.
#pragma once

#include "platform/Dc.h"
#include "platform/Geometry.h"
#include "platform/ImageList.h"
#include "platform/Wnd.h"

/// @name List view styles
/// The LVS_* bits of a list view's style, beside the WS_* bits (CWnd::GetStyle,
/// CWnd::ModifyStyle). The view type is the value of the bits LVS_TYPEMASK.
/// @{

/// View type: large icons (LVSIL_NORMAL) with their labels below, left to
/// right in wrapping rows.
inline constexpr DWORD LVS_ICON = 0x0000;
/// View type: a table with a heading per column (report view).
inline constexpr DWORD LVS_REPORT = 0x0001;
/// View type: small icons (LVSIL_SMALL) with their labels beside, left to
/// right in wrapping rows.
inline constexpr DWORD LVS_SMALLICON = 0x0002;
/// View type: small icons with their labels beside, top to bottom in
/// columns.
inline constexpr DWORD LVS_LIST = 0x0003;
inline constexpr DWORD LVS_TYPEMASK = 0x0003;  ///< the bits of the view type
inline constexpr DWORD LVS_SINGLESEL = 0x0004;  ///< at most one row is selected
/// The selection is shown also while the control does not have the focus
/// (without it, the base painting draws selected rows plain then).
inline constexpr DWORD LVS_SHOWSELALWAYS = 0x0008;
/// Kept in the style; the icon views always keep their items arranged to
/// the control's width, with or without it.
inline constexpr DWORD LVS_AUTOARRANGE = 0x0100;
/// Report view only: every row is drawn by DrawItem instead of the base
/// painting. The other views ignore it.
inline constexpr DWORD LVS_OWNERDRAWFIXED = 0x0400;
inline constexpr DWORD LVS_NOCOLUMNHEADER = 0x4000;  ///< report view without the headings
/// The headings are not buttons: clicking one reports nothing.
inline constexpr DWORD LVS_NOSORTHEADER = 0x8000;
/// @}

/// @name Item fields
/// The LVIF_* bits of LVITEM::mask: which fields of the record count.
/// @{

inline constexpr UINT LVIF_TEXT = 0x0001;   ///< pszText (and cchTextMax when reading)
inline constexpr UINT LVIF_IMAGE = 0x0002;  ///< iImage
inline constexpr UINT LVIF_PARAM = 0x0004;  ///< lParam
inline constexpr UINT LVIF_STATE = 0x0008;  ///< state, with stateMask
/// @}

/// @name Item states
/// The LVIS_* bits of a row's state. Selected and focused are the view's
/// selection and its current row; the other bits are kept per row. The base
/// painting shows a drop-highlighted row as selected; the cut bit, the
/// overlay image and the state image it does not show: they are kept for
/// the owner's drawing (LVS_OWNERDRAWFIXED).
/// @{

inline constexpr UINT LVIS_FOCUSED = 0x0001;   ///< the current row (at most one row has it)
inline constexpr UINT LVIS_SELECTED = 0x0002;  ///< the row is selected
inline constexpr UINT LVIS_CUT = 0x0004;       ///< marked as cut; not shown by the base painting
/// Drop target: the base painting shows the row as selected.
inline constexpr UINT LVIS_DROPHILITED = 0x0008;
/// The number of the row's overlay image (bits 8 to 11; 0: none).
inline constexpr UINT LVIS_OVERLAYMASK = 0x0F00;
/// The number of the row's state image (bits 12 to 15; 0: none).
inline constexpr UINT LVIS_STATEIMAGEMASK = 0xF000;
/// @}

/// The state bits of overlay image number `index` (its low four bits, 0
/// for none) in LVIS_OVERLAYMASK. Drawn with those bits, an image list
/// puts the overlay image of that number (CImageList::SetOverlayImage) on
/// top.
inline constexpr UINT INDEXTOOVERLAYMASK(UINT index) { return (index & 0xF) << 8; }
/// The state bits of state image number `index` (its low four bits) in
/// LVIS_STATEIMAGEMASK; what the number shows is up to the owner's drawing.
inline constexpr UINT INDEXTOSTATEIMAGEMASK(UINT index) { return (index & 0xF) << 12; }

/// A row's fields as InsertItem, SetItem and GetItem pass them; `mask`
/// names the fields that count.
struct LVITEM {
  UINT mask;        ///< LVIF_* fields that count
  int iItem;        ///< the row
  int iSubItem;     ///< the subitem of the text: 0 for the row's own text
  UINT state;       ///< LVIS_* bits: in, the values to set; out, the row's bits within stateMask
  UINT stateMask;   ///< the LVIS_* bits of `state` that count
  char* pszText;    ///< in: the text; out: a buffer of cchTextMax bytes
  int cchTextMax;   ///< out: the size of pszText's buffer in bytes, terminator included
  int iImage;       ///< the index of the row's image in the image lists
  LPARAM lParam;    ///< the row's item data
};
/// A pointer to an LVITEM.
using LPLVITEM = LVITEM*;

/// @name Column fields
/// The LVCF_* bits of LVCOLUMN::mask: which fields of the record count.
/// @{

inline constexpr UINT LVCF_FMT = 0x0001;      ///< fmt
inline constexpr UINT LVCF_WIDTH = 0x0002;    ///< cx
inline constexpr UINT LVCF_TEXT = 0x0004;     ///< pszText (and cchTextMax when reading)
inline constexpr UINT LVCF_SUBITEM = 0x0008;  ///< iSubItem
/// @}

/// @name Column formats
/// The LVCFMT_* alignment of a column's heading and cells. The cells of
/// the first column are always shown left-aligned; its heading follows the
/// format.
/// @{

inline constexpr int LVCFMT_LEFT = 0x0000;         ///< left-aligned
inline constexpr int LVCFMT_RIGHT = 0x0001;        ///< right-aligned
inline constexpr int LVCFMT_CENTER = 0x0002;       ///< centred
inline constexpr int LVCFMT_JUSTIFYMASK = 0x0003;  ///< the bits of the alignment
/// @}

/// @name Sort arrows
/// Bits of a column's format beside its alignment (the heading's sort
/// arrow, which the list's headings take in the column's format): the
/// heading shows an arrow for rows sorted by that column, upwards for
/// ascending, downwards for descending. The list itself sorts nothing; the
/// program sets the bit of the column it sorted by (and clears the
/// others). Only the first column with either bit shows an arrow.
/// @{

inline constexpr int HDF_SORTDOWN = 0x0200;  ///< descending: an arrow pointing down
inline constexpr int HDF_SORTUP = 0x0400;    ///< ascending: an arrow pointing up
/// @}

/// A column's fields as InsertColumn, SetColumn and GetColumn pass them;
/// `mask` names the fields that count.
struct LVCOLUMN {
  UINT mask;       ///< LVCF_* fields that count
  int fmt;         ///< LVCFMT_*, with HDF_SORTUP or HDF_SORTDOWN for a sort arrow
  int cx;          ///< width in pixels
  char* pszText;   ///< in: the heading; out: a buffer of cchTextMax bytes
  int cchTextMax;  ///< out: the size of pszText's buffer in bytes, terminator included
  int iSubItem;    ///< the subitem the column shows
};
/// A pointer to an LVCOLUMN.
using LPLVCOLUMN = LVCOLUMN*;

/// @name Search flags
/// The LVFI_* bits of LVFINDINFO::flags (FindItem).
/// @{

/// By item data (`lParam`); the text flags do not count then.
inline constexpr UINT LVFI_PARAM = 0x0001;
/// By the row's text (subitem 0): equal to the string without regard to
/// ASCII case.
inline constexpr UINT LVFI_STRING = 0x0002;
/// The row's text begins with the string, without regard to ASCII case
/// (with or without LVFI_STRING).
inline constexpr UINT LVFI_PARTIAL = 0x0008;
/// After the last row, go on from the top up to and including the start
/// row.
inline constexpr UINT LVFI_WRAP = 0x0020;
/// @}

/// What FindItem looks for.
struct LVFINDINFO {
  UINT flags;       ///< LVFI_*
  const char* psz;  ///< the text of LVFI_STRING and LVFI_PARTIAL; null counts as ""
  LPARAM lParam;    ///< the item data of LVFI_PARAM
};

/// @name Next-item flags
/// The LVNI_* flags of GetNextItem.
/// @{

inline constexpr int LVNI_ALL = 0x0000;       ///< any row
inline constexpr int LVNI_FOCUSED = 0x0001;   ///< the focused row
inline constexpr int LVNI_SELECTED = 0x0002;  ///< a selected row
/// @}

/// @name Item rectangles
/// The LVIR_* parts of a row that GetItemRect gives. In report view the
/// state image (as wide as the LVSIL_STATE images) and the icon (as wide as
/// the LVSIL_SMALL images) lie at the left of the first column, in that
/// order; in the other views the item's picture lies above (large icons)
/// or left of (small icons, list) its label.
/// @{

/// The whole row: in report view across every column, from the left edge
/// of the first; in the other views the item.
inline constexpr UINT LVIR_BOUNDS = 0;
inline constexpr UINT LVIR_ICON = 1;   ///< the icon
/// The label: in report view the rest of the first column after the state
/// image and the icon.
inline constexpr UINT LVIR_LABEL = 2;
/// In report view the first column without the state image; in the other
/// views the item, as LVIR_BOUNDS.
inline constexpr UINT LVIR_SELECTBOUNDS = 3;
/// @}

/// @name Hit-test flags
/// The LVHT_* answers of HitTest: where the point lies.
/// @{

inline constexpr UINT LVHT_NOWHERE = 0x0001;          ///< on no row
inline constexpr UINT LVHT_ONITEMICON = 0x0002;       ///< on the row's icon
/// On the row's label; in owner-drawn report view also beyond the first
/// column.
inline constexpr UINT LVHT_ONITEMLABEL = 0x0004;
/// On the row's state image (report view).
inline constexpr UINT LVHT_ONITEMSTATEICON = 0x0008;
/// On the row: any of the three above.
inline constexpr UINT LVHT_ONITEM = LVHT_ONITEMICON | LVHT_ONITEMLABEL | LVHT_ONITEMSTATEICON;
/// @}

/// The point and the answers of a hit test (HitTest).
struct LVHITTESTINFO {
  POINT pt;      ///< in: client coordinates
  UINT flags;    ///< out: LVHT_*
  int iItem;     ///< out: the row, -1 for none
  /// out: in report view the column under the point, in the other views 0
  /// on an item; -1 outside the rows' area, below the last row, beyond the
  /// columns and on no item. In report view without owner drawing it names
  /// the column also where no row is hit (beyond the first column).
  int iSubItem;
};

/// @name Image list types
/// The image lists of SetImageList / GetImageList.
/// @{

/// Large icons: the rows' images in the large-icon view.
inline constexpr int LVSIL_NORMAL = 0;
/// Small icons: the rows' images in report, small-icon and list views. In
/// report view their height counts for the rows' height.
inline constexpr int LVSIL_SMALL = 1;
/// State images (bits 12 to 15 of a row's state), for the owner's drawing:
/// the base painting does not show them. In report view their width is
/// room before the icon in rectangles and hit tests, and their height
/// counts for the rows' height.
inline constexpr int LVSIL_STATE = 2;
/// @}

/// @name Notification codes
/// The list view's own codes in NMHDR::code (beside NM_CLICK, NM_DBLCLK,
/// NM_SETFOCUS and NM_KILLFOCUS); each comes with an NMLISTVIEW.
/// @{

inline constexpr UINT LVN_FIRST = static_cast<UINT>(-100);  ///< the base of the LVN_* codes
/// A row's selection or focus changed (by the user or the program).
inline constexpr UINT LVN_ITEMCHANGED = LVN_FIRST - 1;
inline constexpr UINT LVN_COLUMNCLICK = LVN_FIRST - 8;  ///< a heading was clicked
/// @}

/// The record of a list view's notifications (LVN_*, NM_*), as the
/// parent's OnNotify and the control's own handlers get it.
struct NMLISTVIEW {
  NMHDR hdr;        ///< the control's handle and id, and the code
  /// The row: of a state change, or hit by a click or double click; -1 for
  /// none, and for a state change addressed to every row (row -1).
  int iItem;
  /// The column of a heading click; of a double click, the column under
  /// the point as LVHITTESTINFO::iSubItem gives it; 0 otherwise.
  int iSubItem;
  /// LVN_ITEMCHANGED: the row's LVIS_SELECTED and LVIS_FOCUSED bits after
  /// the change (for iItem -1: those bits of the change's state within its
  /// mask, as asked); 0 otherwise.
  UINT uNewState;
  /// LVN_ITEMCHANGED: the row's LVIS_SELECTED and LVIS_FOCUSED bits before
  /// the change (0 for iItem -1); 0 otherwise.
  UINT uOldState;
  UINT uChanged;    ///< LVIF_STATE for LVN_ITEMCHANGED, 0 otherwise
  POINT ptAction;   ///< client coordinates of a click or double click; (0, 0) otherwise
  LPARAM lParam;    ///< the row's item data; 0 when iItem is no row
};
/// A pointer to an NMLISTVIEW.
using LPNMLISTVIEW = NMLISTVIEW*;

/// @name Owner drawing
/// The codes of DRAWITEMSTRUCT.
/// @{

inline constexpr UINT ODT_LISTVIEW = 102;      ///< CtlType: a list view's row
inline constexpr UINT ODA_DRAWENTIRE = 0x0001; ///< itemAction: the whole row is to be drawn
inline constexpr UINT ODS_SELECTED = 0x0001;   ///< itemState: the row is selected
/// itemState: the row is focused and the control has the keyboard focus.
inline constexpr UINT ODS_FOCUS = 0x0010;
/// @}

/// The request of one row's drawing (DrawItem). hDC names a surface valid
/// for the call only (CDC::FromHandle); rcItem is the row's bounds in client
/// coordinates. Drawing is clipped to the part of the control being painted,
/// not to the row.
struct DRAWITEMSTRUCT {
  UINT CtlType;     ///< ODT_LISTVIEW
  UINT CtlID;       ///< the control's id
  UINT itemID;      ///< the row
  UINT itemAction;  ///< ODA_DRAWENTIRE
  UINT itemState;   ///< ODS_SELECTED, ODS_FOCUS
  HWND hwndItem;    ///< the control's handle
  HDC hDC;          ///< the drawing surface, for this call only
  RECT rcItem;      ///< the row's bounds (LVIR_BOUNDS) in client coordinates
  DWORD_PTR itemData;  ///< the row's item data
};
/// A pointer to a DRAWITEMSTRUCT.
using LPDRAWITEMSTRUCT = DRAWITEMSTRUCT*;

/// The list view of a dialog ("SysListView32" in a template, attached with
/// DDX_Control or SubclassDlgItem) or one made by code (Create): rows of
/// items with one text per column, an image and state bits, shown as a table
/// with headings (report view), as large icons, small icons or a list.
///
/// Rows and columns are numbered from 0. A row's texts are addressed by
/// subitem: subitem 0 is the row's own text (the first column), subitem k
/// the text shown by the column whose subitem is k (a column inserted
/// without one shows the subitem of the number it was inserted at). Unless its comment says otherwise, a
/// member called without a window does nothing and returns 0, FALSE, null,
/// -1 for a row or column number, or an empty text. The user may change the
/// columns' widths by dragging the headings' edges; the widths the members
/// report follow.
///
/// States (LVIS_*): selected and focused are the view's selection and its
/// current row (at most one row is focused); the other bits are kept per row
/// (see LVIS_FOCUSED and the others). A state change addressed to row -1
/// applies to every row, except that setting the focus then leaves it where
/// it was (only one row can have it); clearing it takes it from its row.
/// The selection shows only while the control has the
/// focus, unless the style has LVS_SHOWSELALWAYS.
///
/// Events reach the control's own virtual handlers first (when an object is
/// attached) and then the parent's OnNotify (Wnd.h) with an NMLISTVIEW
/// record:
/// - a heading click (report view, without LVS_NOSORTHEADER): OnColumnclick,
///   then LVN_COLUMNCLICK (iSubItem = column) unless the control's class
///   handles it (see below);
/// - a double click: OnDblclk, then NM_DBLCLK (iItem = row hit or -1)
///   unless the control's class handles it;
/// - the left button going down: OnLButtonDown (its base selects as the
///   view does); NM_CLICK (iItem = row hit or -1) follows when the button is
///   released;
/// - a change of selection or focus, by the user or the program:
///   LVN_ITEMCHANGED per row (uChanged LVIF_STATE, the old and new
///   LVIS_SELECTED / LVIS_FOCUSED bits); iItem -1 when a change addressed to
///   row -1 touched every row. Deleting rows sends none;
/// - the focus coming in or going out: OnSetFocus / OnKillFocus, then
///   NM_SETFOCUS / NM_KILLFOCUS;
/// - painting: OnPaint (its base paints the rows).
///
/// A notification that has a handler of the control (OnColumnclick,
/// OnDblclk) is the control's when its class handles it: the parent hears
/// it only when the base ran, that is when the class does not override the
/// handler or the override calls its base. The parent's notification is
/// not sent either when the control's handler destroyed the control. With LVS_OWNERDRAWFIXED in report view every row
/// is drawn by DrawItem (Dc.h gives the drawing surface).
///
/// CListCtrl belongs to the platform layer (`platform_ui`); ZnWidgets'
/// CZnListCtrl derives from it.
/// @ingroup platform_base
class CListCtrl : public CWnd {
public:
  /// An object without a window: Create makes a control, DDX_Control or
  /// SubclassDlgItem attaches one of a dialog template.
  CListCtrl() = default;
  /// Destroys the control when Create made it; a control of a dialog
  /// template stays.
  ~CListCtrl() override;

  /// Makes the control inside `parent` (a dialog) with the style (WS_* and
  /// LVS_* bits; WS_CHILD is implied; shown with WS_VISIBLE, disabled with
  /// WS_DISABLED), the rectangle in the parent's client coordinates and the
  /// control id; events go to the parent, and the control goes with this
  /// object. FALSE when the object already has a window or `parent` is null
  /// or has no window.
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

  /// @name Rows
  /// @{

  /// The number of rows.
  int GetItemCount() const;
  /// Inserts a row before `item` (a number beyond the end appends) with the
  /// text as subitem 0 (null counts as ""); the new row's number, -1 for a
  /// negative number.
  int InsertItem(int item, const char* text);
  /// The same with `image` as the row's image.
  int InsertItem(int item, const char* text, int image);
  /// Inserts a row (before iItem, as above) with the fields of `item` named
  /// by its mask (LVIF_TEXT, LVIF_IMAGE, LVIF_PARAM, LVIF_STATE); the others
  /// are empty or 0. Selected and focused bits go to the view and send
  /// LVN_ITEMCHANGED as they change it. The new row's number; -1 for a null `item`, an
  /// iSubItem other than 0 or a negative iItem.
  int InsertItem(const LVITEM* item);
  /// Removes the row; FALSE for a bad row. Sends no LVN_ITEMCHANGED, also
  /// when the row was selected or focused.
  BOOL DeleteItem(int item);
  /// Removes every row; TRUE with a window. Sends no LVN_ITEMCHANGED.
  BOOL DeleteAllItems();

  /// Sets the fields named by the mask of row iItem: LVIF_TEXT for any
  /// subitem (a null text counts as ""), the others for subitem 0 only.
  /// Selected and focused bits go to the view and send LVN_ITEMCHANGED as
  /// they change it. FALSE, with nothing set, for a null `item`, a bad row, a subitem that
  /// no column shows, or a mask with more than LVIF_TEXT for a subitem
  /// other than 0.
  BOOL SetItem(const LVITEM* item);
  /// Fills the fields named by the mask from row iItem: LVIF_TEXT copies the
  /// subitem's text into pszText as GetItemText does (nothing when pszText
  /// is null or cchTextMax below 1); the image, the item data and the
  /// state bits within stateMask are the row's whatever the subitem. FALSE
  /// for a null `item`, a bad row or a subitem that no column shows.
  BOOL GetItem(LVITEM* item) const;
  /// Sets the text of a cell (null counts as ""). FALSE for a bad row or a
  /// subitem other than 0 that no column shows.
  BOOL SetItemText(int item, int subItem, const char* text);
  /// Copies at most length - 1 bytes of the text (never a partial UTF-8
  /// character) and a terminator; the bytes copied. 0, with `buffer` made
  /// empty, for a bad cell; 0 with nothing written when `buffer` is null or
  /// `length` below 1.
  int GetItemText(int item, int subItem, char* buffer, int length) const;
  /// The text of a cell; empty for a bad cell (a bad row, or a subitem other
  /// than 0 that no column shows) and for a cell never set.
  CString GetItemText(int item, int subItem) const;

  /// The row's state bits within `mask`; 0 for a bad row.
  UINT GetItemState(int item, UINT mask) const;
  /// Sets the bits of `mask` to those of `state`; row -1 means every row
  /// (see the class comment). Selected and focused changes send
  /// LVN_ITEMCHANGED: for one row, one per row and bit that changed (the
  /// focus first); for row -1, a single one with iItem -1 (none for an empty
  /// list). FALSE for a bad row other than -1, and for
  /// selecting every row of a list with LVS_SINGLESEL (the bits other than
  /// selected and focused are set all the same).
  BOOL SetItemState(int item, UINT state, UINT mask);
  /// Sets the row's item data; FALSE for a bad row.
  BOOL SetItemData(int item, DWORD_PTR data);
  /// The row's item data; 0 for a bad row.
  DWORD_PTR GetItemData(int item) const;

  /// The next row after `item` (-1 or less: from the top) with the LVNI_*
  /// flags: LVNI_ALL any row, LVNI_SELECTED the next selected row,
  /// LVNI_FOCUSED the focused row when it lies after `item` (with
  /// LVNI_SELECTED too, only when it is selected). -1 when there is none.
  int GetNextItem(int item, int flags) const;
  /// The first row after `start` (-1 or less: from the top) matching `find`
  /// (LVFI_*); with LVFI_WRAP the search goes on from the top up to and
  /// including `start`. -1 when there is none, for a null `find` and for
  /// flags without LVFI_PARAM, LVFI_STRING or LVFI_PARTIAL.
  int FindItem(const LVFINDINFO* find, int start = -1) const;

  /// Puts the row's rectangle (LVIR_*; any other code gives LVIR_BOUNDS) in
  /// client coordinates, scrolled as shown, into `rect`. FALSE for a bad row
  /// or a null `rect`.
  BOOL GetItemRect(int item, LPRECT rect, UINT code) const;
  /// The row at a client point, -1 for none; `flags` (when not null)
  /// receives LVHT_*. In report view a row is hit on its state image, icon
  /// or label in the first column, or anywhere across the columns when the
  /// rows are owner drawn; a point on the headings or beyond the last row
  /// or column hits nothing.
  int HitTest(CPoint point, UINT* flags = nullptr) const;
  /// The same for info->pt, filling flags, iItem and iSubItem
  /// (LVHITTESTINFO); returns iItem. -1 for a null `info`.
  int HitTest(LVHITTESTINFO* info) const;
  /// Scrolls the row into view; `partialOk` is not used. FALSE for a bad
  /// row.
  BOOL EnsureVisible(int item, BOOL partialOk);
  /// @}

  /// @name Columns
  /// @{

  /// Inserts a column before `column` (a number beyond the end appends)
  /// with the fields of `info` named by its mask; the new column's number.
  /// Without LVCF_WIDTH, or with a negative width, the column gets a default
  /// width (its heading and a margin); without LVCF_SUBITEM it shows the
  /// subitem of its own number. -1 for a negative `column` or a null `info`.
  int InsertColumn(int column, const LVCOLUMN* info);
  /// The same with a heading (null counts as ""), an LVCFMT_* format, a
  /// width (negative: the default width) and a subitem (negative: the
  /// subitem of the column's own number).
  int InsertColumn(int column, const char* heading, int format = LVCFMT_LEFT, int width = -1,
                   int subItem = -1);
  /// Removes the column; the rows keep the texts of its subitem. FALSE for a
  /// bad column.
  BOOL DeleteColumn(int column);
  /// Fills the fields named by the mask; LVCF_TEXT copies the heading into
  /// pszText as GetItemText does (nothing when pszText is null or
  /// cchTextMax below 1). FALSE for a bad column or a null `info`.
  BOOL GetColumn(int column, LVCOLUMN* info) const;
  /// Sets the fields named by the mask; a null heading and a negative width
  /// are left out. FALSE for a bad column or a null `info`.
  BOOL SetColumn(int column, const LVCOLUMN* info);
  /// The column's width in pixels; 0 for a bad column.
  int GetColumnWidth(int column) const;
  /// Sets the column's width in pixels (a negative width counts as 0);
  /// FALSE for a bad column.
  BOOL SetColumnWidth(int column, int width);
  /// @}

  /// @name Image lists
  /// @{

  /// Sets the LVSIL_* list (null removes it); returns the previous one, null
  /// when there was none (or it was deleted). The control does not own the
  /// list; a list deleted while the control holds it simply shows no
  /// images. Null, with nothing changed, for another type.
  CImageList* SetImageList(CImageList* list, int type);
  /// The LVSIL_* list; null when there is none and for another type.
  CImageList* GetImageList(int type) const;
  /// @}

  /// @name Handlers
  /// Each base does the control's own handling; a derived class that
  /// overrides one calls its base where the control should still do it.
  /// @{

  /// Owner drawing of one row (LVS_OWNERDRAWFIXED in report view), called
  /// for every row in the part being painted. The base draws nothing.
  virtual void DrawItem(LPDRAWITEMSTRUCT drawItem);
  /// Paints the part of the rows' area that needs it (rows and background;
  /// the headings paint on their own). A paint runs one OnPaint, and the
  /// base paints at most once in it; an override that does not call the
  /// base paints the rows itself. CPaintDC (Dc.h) gives the part being
  /// painted, and an InvalidateRect before the base adds to the paint (see
  /// CWnd::InvalidateRect).
  virtual void OnPaint();
  /// The control got the focus from `other` (null when no window of the
  /// program had it). The base repaints the rows, whose selection looks
  /// different with the focus.
  virtual void OnSetFocus(CWnd* other);
  /// The control lost the focus to `other` (null when no window of the
  /// program gets it). The base repaints the rows, as OnSetFocus.
  virtual void OnKillFocus(CWnd* other);
  /// The left button went down at a client point; `flags` holds MK_* bits.
  /// The base does the view's own handling of the press (selecting and
  /// focusing the row hit, with Shift and Ctrl as the view has them), at
  /// most once per press.
  virtual void OnLButtonDown(UINT flags, CPoint point);
  /// A heading was clicked: `header` is an NMLISTVIEW with the column in
  /// iSubItem. The base sets `result` to 0 (nothing reads it) and passes
  /// the notification on: LVN_COLUMNCLICK reaches the parent only when the
  /// base runs.
  virtual void OnColumnclick(NMHDR* header, LRESULT* result);
  /// A double click: `header` is an NMLISTVIEW with the row hit (-1 for
  /// none), the column and the point. The base sets `result` to 0 (nothing
  /// reads it) and passes the notification on: NM_DBLCLK reaches the parent
  /// only when the base runs.
  virtual void OnDblclk(NMHDR* header, LRESULT* result);
  /// @}
};

/// @name Mouse flags
/// The MK_* bits of OnLButtonDown: the buttons and keys held down.
/// @{

inline constexpr UINT MK_LBUTTON = 0x0001;  ///< the left button (always, in OnLButtonDown)
inline constexpr UINT MK_RBUTTON = 0x0002;  ///< the right button
inline constexpr UINT MK_SHIFT = 0x0004;    ///< the Shift key
inline constexpr UINT MK_CONTROL = 0x0008;  ///< the Ctrl key
/// @}
