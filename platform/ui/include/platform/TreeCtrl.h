// CTreeCtrl: a tree of text items with optional images, the template's
// "SysTreeView32" control or one made by Create.
//
// Items are addressed by handles (HTREEITEM): numbers that stay valid until
// the item is deleted and are never reused. A member called with the handle
// of a deleted item (or of another tree's item) does nothing and answers as
// for a null item: null, FALSE, 0 or an empty text.
//
// Insertion puts an item as the last child (TVI_LAST), the first child
// (TVI_FIRST), after a given sibling, or at its sorted place (TVI_SORT):
// after every sibling whose text is not greater, compared without regard to
// ASCII case. Finding the sorted place never walks the siblings, so filling
// a folder of 100,000 items stays fast. An item inserted without images
// shows image 0 of the image list, as the original control does.
//
// Expansion goes through one path for the mouse (the button beside an item,
// a double click), the keys (Right, Left, + and - of the keypad) and the
// program (Expand, SelectItem): TVN_ITEMEXPANDING is sent before the
// children show, so a handler may still fill them (replace a placeholder),
// and a non-zero answer stops the expansion; TVN_ITEMEXPANDED follows.
// Collapsing an item that holds the selection selects the item itself.
//
// Notifications go first to the control's own handler (the protected
// virtual members below, which a derived class overrides), then to the
// parent window's OnNotify with the control's id; the record begins with an
// NMHDR (NMTREEVIEW for TVN_*). For NM_DBLCLK and TVN_ITEMEXPANDING a
// non-zero answer from either stops the default action (toggling the
// expansion of a double-clicked item; the expansion). NM_CLICK comes before
// the click changes the selection, so GetSelectedItem still answers the
// item selected before it. A right click does not change the selection.
#pragma once

#include <cstdint>

#include "platform/Wnd.h"

class CImageList;

namespace platform::ui {
struct TreeHooks;
}

struct TREEITEM__;
using HTREEITEM = TREEITEM__*;

// Special "parent" and "insert after" values.
inline const HTREEITEM TVI_ROOT = reinterpret_cast<HTREEITEM>(static_cast<std::intptr_t>(-0x10000));
inline const HTREEITEM TVI_FIRST = reinterpret_cast<HTREEITEM>(static_cast<std::intptr_t>(-0x0FFFF));
inline const HTREEITEM TVI_LAST = reinterpret_cast<HTREEITEM>(static_cast<std::intptr_t>(-0x0FFFE));
inline const HTREEITEM TVI_SORT = reinterpret_cast<HTREEITEM>(static_cast<std::intptr_t>(-0x0FFFD));

// Styles. TVS_LINESATROOT gives top-level items their expand button;
// buttons show beside every deeper item that has children. TVS_HASLINES and
// TVS_SHOWSELALWAYS are accepted (the selection always shows).
inline constexpr DWORD TVS_HASBUTTONS = 0x0001;
inline constexpr DWORD TVS_HASLINES = 0x0002;
inline constexpr DWORD TVS_LINESATROOT = 0x0004;
inline constexpr DWORD TVS_SHOWSELALWAYS = 0x0020;

// GetNextItem codes.
inline constexpr UINT TVGN_ROOT = 0x0000;
inline constexpr UINT TVGN_NEXT = 0x0001;
inline constexpr UINT TVGN_PREVIOUS = 0x0002;
inline constexpr UINT TVGN_PARENT = 0x0003;
inline constexpr UINT TVGN_CHILD = 0x0004;
inline constexpr UINT TVGN_NEXTVISIBLE = 0x0006;
inline constexpr UINT TVGN_CARET = 0x0009;

// Item states.
inline constexpr UINT TVIS_SELECTED = 0x0002;
inline constexpr UINT TVIS_EXPANDED = 0x0020;      // the children show
inline constexpr UINT TVIS_EXPANDEDONCE = 0x0040;  // the item was expanded at least once

// Expand codes (also the action of TVN_ITEMEXPANDING / TVN_ITEMEXPANDED).
inline constexpr UINT TVE_COLLAPSE = 0x0001;
inline constexpr UINT TVE_EXPAND = 0x0002;
inline constexpr UINT TVE_TOGGLE = 0x0003;

// Image list kinds.
inline constexpr int TVSIL_NORMAL = 0;

// How a selection changed (the action of TVN_SELCHANGED).
inline constexpr UINT TVC_UNKNOWN = 0x0000;  // by the program
inline constexpr UINT TVC_BYMOUSE = 0x0001;
inline constexpr UINT TVC_BYKEYBOARD = 0x0002;

// Notification codes of the tree (besides NM_CLICK, NM_RCLICK, NM_DBLCLK
// and NM_RETURN).
inline constexpr UINT TVN_FIRST = static_cast<UINT>(-400);
inline constexpr UINT TVN_SELCHANGED = TVN_FIRST - 2;
inline constexpr UINT TVN_ITEMEXPANDING = TVN_FIRST - 5;
inline constexpr UINT TVN_ITEMEXPANDED = TVN_FIRST - 6;

// Masks of TVITEM.
inline constexpr UINT TVIF_TEXT = 0x0001;
inline constexpr UINT TVIF_IMAGE = 0x0002;
inline constexpr UINT TVIF_STATE = 0x0008;
inline constexpr UINT TVIF_HANDLE = 0x0010;
inline constexpr UINT TVIF_SELECTEDIMAGE = 0x0020;

// An item as notifications describe it. pszText is null in notifications.
struct TVITEM {
  UINT mask;
  HTREEITEM hItem;
  UINT state;
  UINT stateMask;
  char* pszText;
  int cchTextMax;
  int iImage;
  int iSelectedImage;
  int cChildren;
  LPARAM lParam;
};

// The record of TVN_SELCHANGED (itemOld, itemNew: the items before and
// after, either may be null) and TVN_ITEMEXPANDING / TVN_ITEMEXPANDED
// (itemNew: the item; action: TVE_EXPAND or TVE_COLLAPSE).
struct NMTREEVIEW {
  NMHDR hdr;
  UINT action;
  TVITEM itemOld;
  TVITEM itemNew;
  POINT ptDrag;
};
using LPNMTREEVIEW = NMTREEVIEW*;

class CTreeCtrl : public CWnd {
public:
  CTreeCtrl() = default;
  ~CTreeCtrl() override = default;

  // Makes a tree window as control `id` of `parent` at `rect` (pixels of
  // the parent's client area) and attaches this object to it; the window
  // goes with the object. FALSE when the parent has no window or this
  // object already has one.
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

  // --- Items ---------------------------------------------------------------------------
  // Inserts an item under `parent` (TVI_ROOT or null: top level) as `after`
  // says (TVI_LAST, TVI_FIRST, TVI_SORT or a child of `parent`). Its images
  // are 0 in the first form. Null when the parent or `after` is not an item
  // of this tree, or without a window. A null text is "".
  HTREEITEM InsertItem(const char* text, HTREEITEM parent = TVI_ROOT, HTREEITEM after = TVI_LAST);
  HTREEITEM InsertItem(const char* text, int image, int selectedImage,
                       HTREEITEM parent = TVI_ROOT, HTREEITEM after = TVI_LAST);
  // Deletes the item and everything below it (TVI_ROOT or null: all). A
  // deleted selected item leaves the tree without selection.
  BOOL DeleteItem(HTREEITEM item);
  BOOL DeleteAllItems();
  // All items of the tree, at every level.
  UINT GetCount() const;

  CString GetItemText(HTREEITEM item) const;
  BOOL SetItemText(HTREEITEM item, const char* text);
  BOOL GetItemImage(HTREEITEM item, int& image, int& selectedImage) const;
  BOOL SetItemImage(HTREEITEM item, int image, int selectedImage);
  // The item's state bits (TVIS_*) within `mask`.
  UINT GetItemState(HTREEITEM item, UINT mask) const;
  // TRUE when the item has at least one child.
  BOOL ItemHasChildren(HTREEITEM item) const;

  // --- Navigation ----------------------------------------------------------------------
  // The item related to `item` by `code` (TVGN_*); null when there is none.
  // TVGN_ROOT and TVGN_CARET ignore `item`; TVGN_CHILD of TVI_ROOT or null
  // is the first top-level item. TVGN_NEXTVISIBLE is the item below in the
  // shown order: the first child of an expanded item, else the next
  // sibling of the item or of its nearest ancestor that has one; null for
  // an item that is not shown (an ancestor is collapsed).
  HTREEITEM GetNextItem(HTREEITEM item, UINT code) const;
  HTREEITEM GetRootItem() const { return GetNextItem(nullptr, TVGN_ROOT); }
  HTREEITEM GetChildItem(HTREEITEM item) const { return GetNextItem(item, TVGN_CHILD); }
  HTREEITEM GetNextSiblingItem(HTREEITEM item) const { return GetNextItem(item, TVGN_NEXT); }
  HTREEITEM GetPrevSiblingItem(HTREEITEM item) const { return GetNextItem(item, TVGN_PREVIOUS); }
  HTREEITEM GetParentItem(HTREEITEM item) const { return GetNextItem(item, TVGN_PARENT); }
  HTREEITEM GetSelectedItem() const { return GetNextItem(nullptr, TVGN_CARET); }
  HTREEITEM GetNextVisibleItem(HTREEITEM item) const { return GetNextItem(item, TVGN_NEXTVISIBLE); }

  // --- Expansion and selection -----------------------------------------------------------
  // Expands, collapses or toggles (TVE_*) the item, with the notifications
  // described above. FALSE when nothing changed: the item has no children
  // (also after TVN_ITEMEXPANDING), is already in that state, or a handler
  // stopped it.
  BOOL Expand(HTREEITEM item, UINT code);
  // Selects the item (null: none), expanding its collapsed ancestors and
  // scrolling it into view; sends TVN_SELCHANGED (TVC_UNKNOWN) when the
  // selection changes. FALSE for a dead handle.
  BOOL SelectItem(HTREEITEM item);
  // Expands the item's ancestors and scrolls it into view.
  BOOL EnsureVisible(HTREEITEM item);

  // --- Images ----------------------------------------------------------------------------
  // The tree keeps the list's handle: a list deleted later simply shows no
  // images. Returns the previous list (null when none or deleted). Only
  // TVSIL_NORMAL is kept.
  CImageList* SetImageList(CImageList* list, int type);
  CImageList* GetImageList(int type) const;

protected:
  // The control's own handlers of its notifications (NM_CLICK, NM_RCLICK,
  // NM_DBLCLK, TVN_SELCHANGED, TVN_ITEMEXPANDING, TVN_ITEMEXPANDED), run
  // before the parent hears of them. `result` starts at 0; the base
  // versions leave it alone.
  virtual void OnTreeClick(NMHDR* header, LRESULT* result);
  virtual void OnTreeRightClick(NMHDR* header, LRESULT* result);
  virtual void OnTreeDoubleClick(NMHDR* header, LRESULT* result);
  virtual void OnTreeSelChange(NMHDR* header, LRESULT* result);
  virtual void OnItemExpanding(NMHDR* header, LRESULT* result);
  virtual void OnItemExpanded(NMHDR* header, LRESULT* result);

private:
  friend struct platform::ui::TreeHooks;
};
