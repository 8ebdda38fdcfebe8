/// @file
/// CTreeCtrl: the tree view control; its item handles, styles, codes and
/// notification records.
#pragma once

#include <cstdint>

#include "platform/Wnd.h"

class CImageList;

namespace platform::ui {
struct TreeHooks;
}

struct TREEITEM__;
/// An item of a tree: a number that stays valid until the item is deleted
/// and is never reused.
using HTREEITEM = TREEITEM__*;

/// @name Special items
/// The "parent" and "insert after" values of InsertItem.
/// @{

/// The invisible root: as a parent, the top level.
inline const HTREEITEM TVI_ROOT = reinterpret_cast<HTREEITEM>(static_cast<std::intptr_t>(-0x10000));
/// Insert as the first child.
inline const HTREEITEM TVI_FIRST = reinterpret_cast<HTREEITEM>(static_cast<std::intptr_t>(-0x0FFFF));
/// Insert as the last child.
inline const HTREEITEM TVI_LAST = reinterpret_cast<HTREEITEM>(static_cast<std::intptr_t>(-0x0FFFE));
/// Insert at the sorted place: after every sibling whose text is not
/// greater, without regard to ASCII case.
inline const HTREEITEM TVI_SORT = reinterpret_cast<HTREEITEM>(static_cast<std::intptr_t>(-0x0FFFD));
/// @}

/// @name Tree view styles
/// Buttons show beside every item below the top level that has children.
/// @{

inline constexpr DWORD TVS_HASBUTTONS = 0x0001;   ///< accepted (buttons always show)
inline constexpr DWORD TVS_HASLINES = 0x0002;     ///< accepted (lines are the style's)
inline constexpr DWORD TVS_LINESATROOT = 0x0004;  ///< top-level items get their button too
inline constexpr DWORD TVS_SHOWSELALWAYS = 0x0020;  ///< accepted (the selection always shows)
/// @}

/// @name Next-item codes
/// The codes of CTreeCtrl::GetNextItem.
/// @{

inline constexpr UINT TVGN_ROOT = 0x0000;         ///< the first top-level item
inline constexpr UINT TVGN_NEXT = 0x0001;         ///< the next sibling
inline constexpr UINT TVGN_PREVIOUS = 0x0002;     ///< the previous sibling
inline constexpr UINT TVGN_PARENT = 0x0003;       ///< the parent (null at the top)
inline constexpr UINT TVGN_CHILD = 0x0004;        ///< the first child
inline constexpr UINT TVGN_NEXTVISIBLE = 0x0006;  ///< the item below in the shown order
inline constexpr UINT TVGN_CARET = 0x0009;        ///< the selected item
/// @}

/// @name Item states
/// @{

inline constexpr UINT TVIS_SELECTED = 0x0002;      ///< the item is the selected one
inline constexpr UINT TVIS_EXPANDED = 0x0020;      ///< the children show
inline constexpr UINT TVIS_EXPANDEDONCE = 0x0040;  ///< the item was expanded at least once
/// @}

/// @name Expand codes
/// The codes of CTreeCtrl::Expand, also the action of TVN_ITEMEXPANDING and
/// TVN_ITEMEXPANDED.
/// @{

inline constexpr UINT TVE_COLLAPSE = 0x0001;  ///< hide the children
inline constexpr UINT TVE_EXPAND = 0x0002;    ///< show the children
inline constexpr UINT TVE_TOGGLE = 0x0003;    ///< the other of the two
/// @}

/// The normal image list (the only kind a tree keeps).
inline constexpr int TVSIL_NORMAL = 0;

/// @name Selection causes
/// The action of TVN_SELCHANGED.
/// @{

inline constexpr UINT TVC_UNKNOWN = 0x0000;     ///< by the program
inline constexpr UINT TVC_BYMOUSE = 0x0001;     ///< by a click
inline constexpr UINT TVC_BYKEYBOARD = 0x0002;  ///< by a key
/// @}

/// @name Tree notification codes
/// Besides NM_CLICK, NM_RCLICK, NM_DBLCLK and NM_RETURN (NMHDR records).
/// @{

inline constexpr UINT TVN_FIRST = static_cast<UINT>(-400);  ///< the first of the tree's codes
/// The selection changed (NMTREEVIEW: itemOld, itemNew, action TVC_*).
inline constexpr UINT TVN_SELCHANGED = TVN_FIRST - 2;
/// An item is about to expand or collapse, before its children show or go
/// (NMTREEVIEW: itemNew, action TVE_*); a non-zero answer stops it.
inline constexpr UINT TVN_ITEMEXPANDING = TVN_FIRST - 5;
/// An item expanded or collapsed (NMTREEVIEW: itemNew, action TVE_*).
inline constexpr UINT TVN_ITEMEXPANDED = TVN_FIRST - 6;
/// @}

/// @name Item record fields
/// The bits of TVITEM::mask.
/// @{

inline constexpr UINT TVIF_TEXT = 0x0001;           ///< pszText
inline constexpr UINT TVIF_IMAGE = 0x0002;          ///< iImage
inline constexpr UINT TVIF_STATE = 0x0008;          ///< state and stateMask
inline constexpr UINT TVIF_HANDLE = 0x0010;         ///< hItem
inline constexpr UINT TVIF_SELECTEDIMAGE = 0x0020;  ///< iSelectedImage
/// @}

/// An item as notifications describe it.
/// @ingroup platform_base
struct TVITEM {
  UINT mask;            ///< the fields filled in (TVIF_*)
  HTREEITEM hItem;      ///< the item; null for none
  UINT state;           ///< its TVIS_* bits
  UINT stateMask;       ///< the bits of `state` that are given
  char* pszText;        ///< null in notifications (GetItemText gives the text)
  int cchTextMax;       ///< 0 in notifications
  int iImage;           ///< its image
  int iSelectedImage;   ///< its image while selected
  int cChildren;        ///< 1 when it has children, else 0
  LPARAM lParam;        ///< 0
};

/// The record of TVN_SELCHANGED (itemOld, itemNew: the items before and
/// after, either may be null) and of TVN_ITEMEXPANDING and TVN_ITEMEXPANDED
/// (itemNew: the item; action: TVE_EXPAND or TVE_COLLAPSE).
/// @ingroup platform_base
struct NMTREEVIEW {
  NMHDR hdr;        ///< the control, its id and the code
  UINT action;      ///< TVC_* or TVE_*
  TVITEM itemOld;   ///< TVN_SELCHANGED: the item selected before
  TVITEM itemNew;   ///< the item selected now, or the item expanding
  POINT ptDrag;     ///< (0, 0)
};
using LPNMTREEVIEW = NMTREEVIEW*;  ///< a pointer to a tree record

/// A tree of text items with optional images: the template's "SysTreeView32"
/// control, or one made by Create.
///
/// Items are addressed by handles (HTREEITEM): numbers that stay valid until
/// the item is deleted and are never reused. A member called with the handle
/// of a deleted item (or of another tree's item) does nothing and answers as
/// for a null item: null, FALSE, 0 or an empty text.
///
/// Insertion puts an item as the last child (TVI_LAST), the first child
/// (TVI_FIRST), after a given sibling, or at its sorted place (TVI_SORT):
/// after every sibling whose text is not greater, compared without regard to
/// ASCII case. Finding the sorted place never walks the siblings, so filling
/// a folder of 100,000 items stays fast. An item inserted without images
/// shows image 0 of the image list, as the original control does.
///
/// Expansion goes through one path for the mouse (the button beside an item,
/// a double click), the keys (Right, Left, + and - of the keypad) and the
/// program (Expand, SelectItem): TVN_ITEMEXPANDING is sent before the
/// children show, so a handler may still fill them (replace a placeholder),
/// and a non-zero answer stops the expansion; TVN_ITEMEXPANDED follows.
/// Collapsing an item that holds the selection selects the item itself.
///
/// Notifications go first to the control's own handler (the protected
/// virtual members below, which a derived class overrides), then to the
/// parent window's OnNotify with the control's id; the record begins with an
/// NMHDR (NMTREEVIEW for TVN_*). A notification is the control's when its
/// class handles it: the parent hears it only when the handler's base ran
/// (the class does not override the handler, or the override calls its
/// base); NM_RETURN, which has no handler, always reaches the parent. For
/// NM_DBLCLK and TVN_ITEMEXPANDING a non-zero answer from the control, or
/// from the parent where it hears them, stops the default action (toggling
/// the expansion of a double-clicked item; the expansion). NM_CLICK comes before
/// the click changes the selection, so GetSelectedItem still answers the
/// item selected before it. A right click does not change the selection.
/// @ingroup platform_base
class CTreeCtrl : public CWnd {
public:
  /// An object without a window.
  CTreeCtrl() = default;
  /// Detaches from the window; a window made by Create goes with it.
  ~CTreeCtrl() override = default;

  /// Makes a tree window as control `id` of `parent` at `rect` (pixels of
  /// the parent's client area) and attaches this object to it; the window
  /// goes with the object. FALSE when the parent has no window or this
  /// object already has one.
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

  /// @name Items
  /// @{

  /// Inserts an item with images 0 under `parent` (TVI_ROOT or null: the
  /// top level) as `after` says (TVI_LAST, TVI_FIRST, TVI_SORT or a child of
  /// `parent`). Null when the parent or `after` is not an item of this
  /// tree, or without a window. A null text is "".
  HTREEITEM InsertItem(const char* text, HTREEITEM parent = TVI_ROOT, HTREEITEM after = TVI_LAST);
  /// The same with the item's image and its image while selected.
  HTREEITEM InsertItem(const char* text, int image, int selectedImage,
                       HTREEITEM parent = TVI_ROOT, HTREEITEM after = TVI_LAST);
  /// Deletes the item and everything below it (TVI_ROOT or null: all). A
  /// deleted selected item leaves the tree without selection (and sends
  /// nothing). FALSE for a dead handle.
  BOOL DeleteItem(HTREEITEM item);
  /// Deletes every item.
  BOOL DeleteAllItems();
  /// All items of the tree, at every level.
  UINT GetCount() const;
  /// The item's text; "" for a dead handle.
  CString GetItemText(HTREEITEM item) const;
  /// Sets the item's text (null: ""); FALSE for a dead handle.
  BOOL SetItemText(HTREEITEM item, const char* text);
  /// The item's image and selected image; FALSE (nothing written) for a
  /// dead handle.
  BOOL GetItemImage(HTREEITEM item, int& image, int& selectedImage) const;
  /// Sets the item's image and selected image; FALSE for a dead handle.
  BOOL SetItemImage(HTREEITEM item, int image, int selectedImage);
  /// The item's state bits (TVIS_*) within `mask`.
  UINT GetItemState(HTREEITEM item, UINT mask) const;
  /// TRUE when the item has at least one child.
  BOOL ItemHasChildren(HTREEITEM item) const;
  /// @}

  /// @name Navigation
  /// @{

  /// The item related to `item` by `code` (TVGN_*); null when there is none.
  /// TVGN_ROOT and TVGN_CARET ignore `item`; TVGN_CHILD of TVI_ROOT or null
  /// is the first top-level item. TVGN_NEXTVISIBLE is the item below in the
  /// shown order: the first child of an expanded item, else the next
  /// sibling of the item or of its nearest ancestor that has one; null for
  /// an item that is not shown (an ancestor is collapsed).
  HTREEITEM GetNextItem(HTREEITEM item, UINT code) const;
  /// The first top-level item.
  HTREEITEM GetRootItem() const { return GetNextItem(nullptr, TVGN_ROOT); }
  /// The first child (TVI_ROOT: the first top-level item).
  HTREEITEM GetChildItem(HTREEITEM item) const { return GetNextItem(item, TVGN_CHILD); }
  /// The next sibling.
  HTREEITEM GetNextSiblingItem(HTREEITEM item) const { return GetNextItem(item, TVGN_NEXT); }
  /// The previous sibling.
  HTREEITEM GetPrevSiblingItem(HTREEITEM item) const { return GetNextItem(item, TVGN_PREVIOUS); }
  /// The parent; null for a top-level item.
  HTREEITEM GetParentItem(HTREEITEM item) const { return GetNextItem(item, TVGN_PARENT); }
  /// The selected item; null when none is.
  HTREEITEM GetSelectedItem() const { return GetNextItem(nullptr, TVGN_CARET); }
  /// The item below in the shown order (see GetNextItem).
  HTREEITEM GetNextVisibleItem(HTREEITEM item) const { return GetNextItem(item, TVGN_NEXTVISIBLE); }
  /// @}

  /// @name Expansion and selection
  /// @{

  /// Expands, collapses or toggles (TVE_*) the item, with the notifications
  /// described above. FALSE when nothing changed: the item has no children
  /// (also after TVN_ITEMEXPANDING), is already in that state, or a handler
  /// stopped it.
  BOOL Expand(HTREEITEM item, UINT code);
  /// Selects the item (null: none), expanding its collapsed ancestors and
  /// scrolling it into view; sends TVN_SELCHANGED (TVC_UNKNOWN) when the
  /// selection changes. FALSE for a dead handle.
  BOOL SelectItem(HTREEITEM item);
  /// Expands the item's ancestors and scrolls it into view.
  BOOL EnsureVisible(HTREEITEM item);
  /// @}

  /// @name Images
  /// @{

  /// Gives the tree an image list (null: none). The tree keeps the list's
  /// handle: a list deleted later simply shows no images. Returns the
  /// previous list (null when none or deleted). Only TVSIL_NORMAL is kept.
  CImageList* SetImageList(CImageList* list, int type);
  /// The tree's image list; null when none or deleted.
  CImageList* GetImageList(int type) const;
  /// @}

protected:
  /// @name Handlers
  /// The control's own handlers of its notifications, run before the parent
  /// hears of them. `result` starts at 0; the base versions leave it alone
  /// and pass the notification on to the parent, which hears nothing that
  /// an override handles without calling its base.
  /// @{

  /// NM_CLICK: a left click, before the selection it causes.
  virtual void OnTreeClick(NMHDR* header, LRESULT* result);
  /// NM_RCLICK: a right click.
  virtual void OnTreeRightClick(NMHDR* header, LRESULT* result);
  /// NM_DBLCLK: a double click; a non-zero answer keeps the item's
  /// expansion as it is.
  virtual void OnTreeDoubleClick(NMHDR* header, LRESULT* result);
  /// TVN_SELCHANGED (NMTREEVIEW).
  virtual void OnTreeSelChange(NMHDR* header, LRESULT* result);
  /// TVN_ITEMEXPANDING (NMTREEVIEW); a non-zero answer stops the expansion.
  virtual void OnItemExpanding(NMHDR* header, LRESULT* result);
  /// TVN_ITEMEXPANDED (NMTREEVIEW).
  virtual void OnItemExpanded(NMHDR* header, LRESULT* result);
  /// @}

private:
  friend struct platform::ui::TreeHooks;
};
