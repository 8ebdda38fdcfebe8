/// @file
/// CListCtrl: the list view of a dialog ("SysListView32" in a template) or
/// one made by code (Create): rows of items with one text per column, an
/// image and state bits, shown as a table with headings (report view), as
/// large icons, small icons or a list.
///
/// Rows and columns are numbered from 0. A row's texts are addressed by
/// subitem: subitem 0 is the row's own text (the first column), subitem k
/// the text shown in column k. Every member called without a window does
/// nothing and returns 0, FALSE, -1 for a row number or an empty text.
///
/// States (LVIS_*): selected and focused are the view's selection and its
/// current row (at most one row is focused); the drop-highlight and cut bits,
/// the overlay image (bits 8 to 11) and the state image (bits 12 to 15) are
/// kept per row for the owner's drawing. A state change addressed to row -1
/// applies to every row; the focus, which only one row can have, is then
/// left where it was.
///
/// Events reach the control's own virtual handlers first and then the
/// parent's OnNotify (Wnd.h) with an NMLISTVIEW record:
///   heading click     OnColumnclick, then LVN_COLUMNCLICK (iSubItem = column)
///   double click      OnDblclk, then NM_DBLCLK (iItem = row hit or -1)
///   left button down  OnLButtonDown (its base selects as the view does);
///                     NM_CLICK follows when the button is released
///   selection, focus  LVN_ITEMCHANGED per row (uChanged LVIF_STATE, the old
///                     and new LVIS_SELECTED / LVIS_FOCUSED bits); iItem -1
///                     when a change addressed to row -1 touched every row
///   focus in / out    OnSetFocus / OnKillFocus, then NM_SETFOCUS / NM_KILLFOCUS
///   painting          OnPaint (its base paints the control)
/// With LVS_OWNERDRAWFIXED in report view every row is drawn by DrawItem
/// (Dc.h gives the drawing surface).
#pragma once

#include "platform/Dc.h"
#include "platform/Geometry.h"
#include "platform/ImageList.h"
#include "platform/Wnd.h"

// --- Styles ------------------------------------------------------------------------
inline constexpr DWORD LVS_ICON = 0x0000;
inline constexpr DWORD LVS_REPORT = 0x0001;
inline constexpr DWORD LVS_SMALLICON = 0x0002;
inline constexpr DWORD LVS_LIST = 0x0003;
inline constexpr DWORD LVS_TYPEMASK = 0x0003;
inline constexpr DWORD LVS_SINGLESEL = 0x0004;
inline constexpr DWORD LVS_SHOWSELALWAYS = 0x0008;  ///< selection shown without the focus
inline constexpr DWORD LVS_AUTOARRANGE = 0x0100;
inline constexpr DWORD LVS_OWNERDRAWFIXED = 0x0400;  ///< report rows drawn by DrawItem
inline constexpr DWORD LVS_NOCOLUMNHEADER = 0x4000;
inline constexpr DWORD LVS_NOSORTHEADER = 0x8000;   ///< headings are not buttons

// --- Items -----------------------------------------------------------------------------
inline constexpr UINT LVIF_TEXT = 0x0001;
inline constexpr UINT LVIF_IMAGE = 0x0002;
inline constexpr UINT LVIF_PARAM = 0x0004;
inline constexpr UINT LVIF_STATE = 0x0008;

inline constexpr UINT LVIS_FOCUSED = 0x0001;
inline constexpr UINT LVIS_SELECTED = 0x0002;
inline constexpr UINT LVIS_CUT = 0x0004;
inline constexpr UINT LVIS_DROPHILITED = 0x0008;
inline constexpr UINT LVIS_OVERLAYMASK = 0x0F00;
inline constexpr UINT LVIS_STATEIMAGEMASK = 0xF000;
inline constexpr UINT INDEXTOOVERLAYMASK(UINT index) { return (index & 0xF) << 8; }
inline constexpr UINT INDEXTOSTATEIMAGEMASK(UINT index) { return (index & 0xF) << 12; }

struct LVITEM {
  UINT mask;        ///< LVIF_* fields that count
  int iItem;
  int iSubItem;
  UINT state;
  UINT stateMask;   ///< the LVIS_* bits of `state` that count
  char* pszText;    ///< in: the text; out: a buffer of cchTextMax bytes
  int cchTextMax;
  int iImage;
  LPARAM lParam;    ///< the row's item data
};
using LPLVITEM = LVITEM*;

// --- Columns ---------------------------------------------------------------------------
inline constexpr UINT LVCF_FMT = 0x0001;
inline constexpr UINT LVCF_WIDTH = 0x0002;
inline constexpr UINT LVCF_TEXT = 0x0004;
inline constexpr UINT LVCF_SUBITEM = 0x0008;

inline constexpr int LVCFMT_LEFT = 0x0000;
inline constexpr int LVCFMT_RIGHT = 0x0001;
inline constexpr int LVCFMT_CENTER = 0x0002;
inline constexpr int LVCFMT_JUSTIFYMASK = 0x0003;

struct LVCOLUMN {
  UINT mask;       ///< LVCF_* fields that count
  int fmt;         ///< LVCFMT_*
  int cx;          ///< width in pixels
  char* pszText;   ///< in: the heading; out: a buffer of cchTextMax bytes
  int cchTextMax;
  int iSubItem;    ///< the subitem the column shows
};
using LPLVCOLUMN = LVCOLUMN*;

// --- Searching, rectangles, hit tests ------------------------------------------------------
inline constexpr UINT LVFI_PARAM = 0x0001;    ///< by item data
inline constexpr UINT LVFI_STRING = 0x0002;   ///< by the row's text, without regard to case
inline constexpr UINT LVFI_PARTIAL = 0x0008;  ///< the row's text begins with the string
inline constexpr UINT LVFI_WRAP = 0x0020;     ///< go on from the top after the last row

struct LVFINDINFO {
  UINT flags;
  const char* psz;
  LPARAM lParam;
};

inline constexpr int LVNI_ALL = 0x0000;
inline constexpr int LVNI_FOCUSED = 0x0001;
inline constexpr int LVNI_SELECTED = 0x0002;

inline constexpr UINT LVIR_BOUNDS = 0;  ///< the whole row (icon, label, every column)
inline constexpr UINT LVIR_ICON = 1;    ///< the icon
inline constexpr UINT LVIR_LABEL = 2;   ///< the row's text in the first column
inline constexpr UINT LVIR_SELECTBOUNDS = 3;

inline constexpr UINT LVHT_NOWHERE = 0x0001;
inline constexpr UINT LVHT_ONITEMICON = 0x0002;
inline constexpr UINT LVHT_ONITEMLABEL = 0x0004;
inline constexpr UINT LVHT_ONITEMSTATEICON = 0x0008;
inline constexpr UINT LVHT_ONITEM = LVHT_ONITEMICON | LVHT_ONITEMLABEL | LVHT_ONITEMSTATEICON;

struct LVHITTESTINFO {
  POINT pt;      ///< in: client coordinates
  UINT flags;    ///< out: LVHT_*
  int iItem;     ///< out: the row, -1 for none
  int iSubItem;  ///< out: the column under the point, -1 outside the columns
};

/// Image lists of SetImageList / GetImageList.
inline constexpr int LVSIL_NORMAL = 0;  ///< large icons
inline constexpr int LVSIL_SMALL = 1;   ///< small icons (report, small-icon and list views)
inline constexpr int LVSIL_STATE = 2;   ///< state images (bits 12 to 15 of a row's state)

// --- Notifications ---------------------------------------------------------------------------
inline constexpr UINT LVN_FIRST = static_cast<UINT>(-100);
inline constexpr UINT LVN_ITEMCHANGED = LVN_FIRST - 1;
inline constexpr UINT LVN_COLUMNCLICK = LVN_FIRST - 8;

struct NMLISTVIEW {
  NMHDR hdr;
  int iItem;        ///< the row, -1 for none or all
  int iSubItem;     ///< the column of a heading click
  UINT uNewState;
  UINT uOldState;
  UINT uChanged;    ///< LVIF_STATE for a state change
  POINT ptAction;   ///< client coordinates of a click
  LPARAM lParam;    ///< the row's item data
};
using LPNMLISTVIEW = NMLISTVIEW*;

// --- Owner drawing -----------------------------------------------------------------------------
inline constexpr UINT ODT_LISTVIEW = 102;
inline constexpr UINT ODA_DRAWENTIRE = 0x0001;
inline constexpr UINT ODS_SELECTED = 0x0001;
inline constexpr UINT ODS_FOCUS = 0x0010;

/// The request of one row's drawing. hDC names a surface valid for the call
/// only (CDC::FromHandle); rcItem is the row's bounds in client coordinates.
/// Drawing is clipped to the part of the control being painted, not to the
/// row.
struct DRAWITEMSTRUCT {
  UINT CtlType;     ///< ODT_LISTVIEW
  UINT CtlID;
  UINT itemID;      ///< the row
  UINT itemAction;  ///< ODA_DRAWENTIRE
  UINT itemState;   ///< ODS_SELECTED, ODS_FOCUS
  HWND hwndItem;
  HDC hDC;
  RECT rcItem;
  DWORD_PTR itemData;
};
using LPDRAWITEMSTRUCT = DRAWITEMSTRUCT*;

class CListCtrl : public CWnd {
public:
  CListCtrl() = default;
  ~CListCtrl() override;

  /// Makes the control inside `parent` (a dialog) with the style (WS_* and
  /// LVS_* bits; WS_CHILD is implied), the rectangle in the parent's client
  /// coordinates and the control id; events go to the parent. FALSE when
  /// the object already has a window or there is no parent window.
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

  // --- Rows ------------------------------------------------------------------------------
  int GetItemCount() const;
  /// Inserts a row before `item` (a number beyond the end appends) with the
  /// text as subitem 0; the new row's number, -1 on failure.
  int InsertItem(int item, const char* text);
  int InsertItem(int item, const char* text, int image);
  /// The fields of `item` named by its mask (LVIF_TEXT, LVIF_IMAGE,
  /// LVIF_PARAM, LVIF_STATE); iSubItem must be 0.
  int InsertItem(const LVITEM* item);
  BOOL DeleteItem(int item);
  BOOL DeleteAllItems();

  /// The fields named by the mask of one row (LVIF_TEXT for any subitem,
  /// the others for subitem 0). FALSE for a bad row or a subitem that no
  /// column shows.
  BOOL SetItem(const LVITEM* item);
  BOOL GetItem(LVITEM* item) const;
  /// FALSE for a bad row or a subitem other than 0 that no column shows.
  BOOL SetItemText(int item, int subItem, const char* text);
  /// Copies at most length - 1 bytes of the text (never a partial UTF-8
  /// character) and a terminator; the bytes copied, 0 for a bad cell.
  int GetItemText(int item, int subItem, char* buffer, int length) const;
  CString GetItemText(int item, int subItem) const;

  /// The state bits of `mask`; 0 for a bad row.
  UINT GetItemState(int item, UINT mask) const;
  /// Sets the bits of `mask` to those of `state`; row -1 means every row
  /// (see the banner).
  BOOL SetItemState(int item, UINT state, UINT mask);
  BOOL SetItemData(int item, DWORD_PTR data);
  DWORD_PTR GetItemData(int item) const;

  /// The next row after `item` (-1: from the top) with the LVNI_* flags
  /// (LVNI_ALL: any row); -1 when there is none.
  int GetNextItem(int item, int flags) const;
  /// The first row after `start` (-1: from the top) matching `find`; -1 when
  /// there is none.
  int FindItem(const LVFINDINFO* find, int start = -1) const;

  /// The row's rectangle (LVIR_*) in client coordinates, scrolled as shown;
  /// FALSE for a bad row.
  BOOL GetItemRect(int item, LPRECT rect, UINT code) const;
  /// The row at a client point, -1 for none; `flags` receives LVHT_*. In
  /// report view a row is hit on its icon or label in the first column, or
  /// anywhere in its bounds when the rows are owner drawn.
  int HitTest(CPoint point, UINT* flags = nullptr) const;
  int HitTest(LVHITTESTINFO* info) const;
  /// Scrolls the row into view.
  BOOL EnsureVisible(int item, BOOL partialOk);

  // --- Columns -------------------------------------------------------------------------------
  /// Inserts before `column` (a number beyond the end appends); the new
  /// column's number, -1 on failure. A negative width gives a default width.
  int InsertColumn(int column, const LVCOLUMN* info);
  int InsertColumn(int column, const char* heading, int format = LVCFMT_LEFT, int width = -1,
                   int subItem = -1);
  BOOL DeleteColumn(int column);
  /// The fields named by the mask; FALSE when there is no such column.
  BOOL GetColumn(int column, LVCOLUMN* info) const;
  BOOL SetColumn(int column, const LVCOLUMN* info);
  int GetColumnWidth(int column) const;  ///< 0 for a bad column
  BOOL SetColumnWidth(int column, int width);

  // --- Image lists -------------------------------------------------------------------------------
  /// Sets the LVSIL_* list (null removes it); returns the previous one. The
  /// control does not own the list.
  CImageList* SetImageList(CImageList* list, int type);
  CImageList* GetImageList(int type) const;

  // --- Handlers -----------------------------------------------------------------------------------
  /// Each base does the control's own handling; a derived class that
  /// overrides one calls its base where the control should still do it.
  ///
  /// Owner drawing of one row (LVS_OWNERDRAWFIXED in report view). The base
  /// draws nothing.
  virtual void DrawItem(LPDRAWITEMSTRUCT drawItem);
  /// Paints the control (rows, headings, background). A paint runs one
  /// OnPaint; CPaintDC (Dc.h) gives the part being painted, and an
  /// InvalidateRect during OnPaint adds to what the base then paints.
  virtual void OnPaint();
  /// The control got the focus from `other` (may be null). The base
  /// repaints the selection's look.
  virtual void OnSetFocus(CWnd* other);
  /// The control lost the focus to `other` (may be null).
  virtual void OnKillFocus(CWnd* other);
  /// The left button went down at a client point (MK_* flags). The base
  /// selects and focuses the row hit, as the view does for a click.
  virtual void OnLButtonDown(UINT flags, CPoint point);
  /// A heading was clicked: `header` is an NMLISTVIEW with the column in
  /// iSubItem. The base does nothing; `result` starts at 0.
  virtual void OnColumnclick(NMHDR* header, LRESULT* result);
  /// A double click: `header` is an NMLISTVIEW with the row hit. The base
  /// does nothing; `result` starts at 0.
  virtual void OnDblclk(NMHDR* header, LRESULT* result);
};

/// Mouse flags of OnLButtonDown.
inline constexpr UINT MK_LBUTTON = 0x0001;
inline constexpr UINT MK_RBUTTON = 0x0002;
inline constexpr UINT MK_SHIFT = 0x0004;
inline constexpr UINT MK_CONTROL = 0x0008;
