// CTreeCtrl's members over the tree widget and its model.
#include "platform/TreeCtrl.h"

#include "ControlMakers.h"
#include "Dispatch.h"
#include "TreeWidget.h"
#include "WindowRegistry.h"
#include "platform/ImageList.h"

using platform::ui::TreeItem;
using platform::ui::TreeModel;
using platform::ui::TreeWidget;
using platform::ui::TreeWidgetOf;

namespace {

HTREEITEM HandleOf(const TreeItem* item) { return item ? item->handle : nullptr; }

HTREEITEM FirstChild(TreeModel& model, TreeItem* parent) {
  if (!parent) return nullptr;
  model.Commit(parent);
  return parent->children.empty() ? nullptr : parent->children.front()->handle;
}

// The sibling `step` places away; null past either end.
HTREEITEM Sibling(TreeModel& model, TreeItem* item, int step) {
  if (!item) return nullptr;
  model.Commit(item->parent);
  const auto& siblings = item->parent->children;
  const std::size_t row = model.RowOf(item);
  if (step < 0) return row == 0 ? nullptr : siblings[row - 1]->handle;
  return row + 1 < siblings.size() ? siblings[row + 1]->handle : nullptr;
}

// The item below in the shown order; null for an item that is not shown
// (under a collapsed ancestor), as the original control answers.
HTREEITEM NextVisible(TreeModel& model, TreeItem* item) {
  if (!item) return nullptr;
  for (const TreeItem* above = item->parent; above != model.Root(); above = above->parent) {
    if (!(above->state & TVIS_EXPANDED)) return nullptr;
  }
  if ((item->state & TVIS_EXPANDED) && item->HasChildren()) return FirstChild(model, item);
  for (; item && item != model.Root(); item = item->parent) {
    if (HTREEITEM next = Sibling(model, item, 1)) return next;
  }
  return nullptr;
}

}  // namespace

BOOL CTreeCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  QWidget* parentWidget = parent ? platform::ui::WidgetOf(parent->m_hWnd) : nullptr;
  if (!parentWidget || m_hWnd) return FALSE;
  auto* widget = new TreeWidget(parentWidget, style);
  platform::ui::WindowData& data = platform::ui::RegisterWindow(widget, platform::ui::WindowKind::TreeView);
  data.controlId = static_cast<int>(id);
  data.style = style | WS_CHILD;
  widget->setGeometry(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
  widget->setVisible(style & WS_VISIBLE);
  widget->setEnabled(!(style & WS_DISABLED));
  platform::ui::ConnectTreeView(widget, data, parent->m_hWnd);
  Attach(data.handle);
  m_bOwnsWindow = true;
  return TRUE;
}

// --- Items --------------------------------------------------------------------------------------

HTREEITEM CTreeCtrl::InsertItem(const char* text, HTREEITEM parent, HTREEITEM after) {
  return InsertItem(text, 0, 0, parent, after);
}

HTREEITEM CTreeCtrl::InsertItem(const char* text, int image, int selectedImage, HTREEITEM parent,
                                HTREEITEM after) {
  TreeWidget* tree = TreeWidgetOf(m_hWnd);
  if (!tree) return nullptr;
  TreeModel& model = tree->Model();
  return HandleOf(model.Insert(model.FindParent(parent), after, text, image, selectedImage));
}

BOOL CTreeCtrl::DeleteItem(HTREEITEM item) {
  TreeWidget* tree = TreeWidgetOf(m_hWnd);
  if (!tree) return FALSE;
  TreeModel& model = tree->Model();
  if (!item || item == TVI_ROOT) {
    model.DeleteAll();
    return TRUE;
  }
  TreeItem* found = model.Find(item);
  if (!found) return FALSE;
  model.Delete(found);
  return TRUE;
}

BOOL CTreeCtrl::DeleteAllItems() { return DeleteItem(TVI_ROOT); }

UINT CTreeCtrl::GetCount() const {
  TreeWidget* tree = TreeWidgetOf(m_hWnd);
  return tree ? static_cast<UINT>(tree->Model().Count()) : 0;
}

CString CTreeCtrl::GetItemText(HTREEITEM item) const {
  TreeWidget* tree = TreeWidgetOf(m_hWnd);
  const TreeItem* found = tree ? tree->Model().Find(item) : nullptr;
  return found ? CString(found->text) : CString();
}

BOOL CTreeCtrl::SetItemText(HTREEITEM item, const char* text) {
  TreeWidget* tree = TreeWidgetOf(m_hWnd);
  TreeItem* found = tree ? tree->Model().Find(item) : nullptr;
  if (!found) return FALSE;
  tree->Model().SetText(found, text);
  return TRUE;
}

BOOL CTreeCtrl::GetItemImage(HTREEITEM item, int& image, int& selectedImage) const {
  TreeWidget* tree = TreeWidgetOf(m_hWnd);
  const TreeItem* found = tree ? tree->Model().Find(item) : nullptr;
  if (!found) return FALSE;
  image = found->image;
  selectedImage = found->selectedImage;
  return TRUE;
}

BOOL CTreeCtrl::SetItemImage(HTREEITEM item, int image, int selectedImage) {
  TreeWidget* tree = TreeWidgetOf(m_hWnd);
  TreeItem* found = tree ? tree->Model().Find(item) : nullptr;
  if (!found) return FALSE;
  tree->Model().SetImages(found, image, selectedImage);
  return TRUE;
}

UINT CTreeCtrl::GetItemState(HTREEITEM item, UINT mask) const {
  TreeWidget* tree = TreeWidgetOf(m_hWnd);
  const TreeItem* found = tree ? tree->Model().Find(item) : nullptr;
  if (!found) return 0;
  const UINT state = found->state | (found == tree->Model().Selected() ? TVIS_SELECTED : 0);
  return state & mask;
}

BOOL CTreeCtrl::ItemHasChildren(HTREEITEM item) const {
  TreeWidget* tree = TreeWidgetOf(m_hWnd);
  const TreeItem* found = tree ? tree->Model().Find(item) : nullptr;
  return found && found->HasChildren();
}

// --- Navigation ---------------------------------------------------------------------------------

HTREEITEM CTreeCtrl::GetNextItem(HTREEITEM item, UINT code) const {
  TreeWidget* tree = TreeWidgetOf(m_hWnd);
  if (!tree) return nullptr;
  TreeModel& model = tree->Model();
  switch (code) {
    case TVGN_ROOT:
      return FirstChild(model, model.Root());
    case TVGN_CARET:
      return HandleOf(model.Selected());
    case TVGN_CHILD:
      return FirstChild(model, model.FindParent(item));
    case TVGN_PARENT: {
      const TreeItem* found = model.Find(item);
      return found && found->parent != model.Root() ? found->parent->handle : nullptr;
    }
    case TVGN_NEXT:
      return Sibling(model, model.Find(item), 1);
    case TVGN_PREVIOUS:
      return Sibling(model, model.Find(item), -1);
    case TVGN_NEXTVISIBLE:
      return NextVisible(model, model.Find(item));
    default:
      return nullptr;
  }
}

// --- Expansion and selection ----------------------------------------------------------------------

BOOL CTreeCtrl::Expand(HTREEITEM item, UINT code) {
  TreeWidget* tree = TreeWidgetOf(m_hWnd);
  return tree && tree->Expand(tree->Model().Find(item), code);
}

BOOL CTreeCtrl::SelectItem(HTREEITEM item) {
  TreeWidget* tree = TreeWidgetOf(m_hWnd);
  if (!tree) return FALSE;
  TreeItem* found = tree->Model().Find(item);
  if (item && !found) return FALSE;
  tree->Select(found, TVC_UNKNOWN);
  return TRUE;
}

BOOL CTreeCtrl::EnsureVisible(HTREEITEM item) {
  TreeWidget* tree = TreeWidgetOf(m_hWnd);
  TreeItem* found = tree ? tree->Model().Find(item) : nullptr;
  if (!found) return FALSE;
  tree->EnsureVisible(found);
  return TRUE;
}

// --- Images -----------------------------------------------------------------------------------------

CImageList* CTreeCtrl::SetImageList(CImageList* list, int type) {
  TreeWidget* tree = TreeWidgetOf(m_hWnd);
  if (!tree || type != TVSIL_NORMAL) return nullptr;
  CImageList* previous = CImageList::FromHandle(tree->Model().ImageList());
  tree->SetImageList(list ? list->GetSafeHandle() : nullptr);
  return previous;
}

CImageList* CTreeCtrl::GetImageList(int type) const {
  TreeWidget* tree = TreeWidgetOf(m_hWnd);
  if (!tree || type != TVSIL_NORMAL) return nullptr;
  return CImageList::FromHandle(tree->Model().ImageList());
}

// --- Handlers: the bases pass the notifications on ----------------------------------------------------

void CTreeCtrl::OnTreeClick(NMHDR*, LRESULT*) { platform::ui::PassNotifyOn(); }
void CTreeCtrl::OnTreeRightClick(NMHDR*, LRESULT*) { platform::ui::PassNotifyOn(); }
void CTreeCtrl::OnTreeDoubleClick(NMHDR*, LRESULT*) { platform::ui::PassNotifyOn(); }
void CTreeCtrl::OnTreeSelChange(NMHDR*, LRESULT*) { platform::ui::PassNotifyOn(); }
void CTreeCtrl::OnItemExpanding(NMHDR*, LRESULT*) { platform::ui::PassNotifyOn(); }
void CTreeCtrl::OnItemExpanded(NMHDR*, LRESULT*) { platform::ui::PassNotifyOn(); }
