#include "TreeWidget.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <vector>

#include "Dispatch.h"
#include "ImageListData.h"
#include "WindowRegistry.h"

namespace platform::ui {

// The platform's way to the control's protected notification handlers.
// False for a code that has no handler of the control.
struct TreeHooks {
  static bool Reflect(CTreeCtrl& tree, NMHDR& header, LRESULT* result) {
    switch (header.code) {
      case NM_CLICK:
        tree.OnTreeClick(&header, result);
        return true;
      case NM_RCLICK:
        tree.OnTreeRightClick(&header, result);
        return true;
      case NM_DBLCLK:
        tree.OnTreeDoubleClick(&header, result);
        return true;
      case TVN_SELCHANGED:
        tree.OnTreeSelChange(&header, result);
        return true;
      case TVN_ITEMEXPANDING:
        tree.OnItemExpanding(&header, result);
        return true;
      case TVN_ITEMEXPANDED:
        tree.OnItemExpanded(&header, result);
        return true;
      default:
        return false;
    }
  }
};

namespace {

TVITEM Describe(const TreeModel& model, const TreeItem* item) {
  TVITEM record{};
  if (!item) return record;
  record.mask = TVIF_HANDLE | TVIF_STATE | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  record.hItem = item->handle;
  record.state = item->state | (item == model.Selected() ? TVIS_SELECTED : 0);
  record.stateMask = TVIS_SELECTED | TVIS_EXPANDED | TVIS_EXPANDEDONCE;
  record.iImage = item->image;
  record.iSelectedImage = item->selectedImage;
  record.cChildren = item->HasChildren() ? 1 : 0;
  return record;
}

}  // namespace

TreeWidget::TreeWidget(QWidget* parent, DWORD style)
    : QTreeView(parent), m_model(new TreeModel(this)) {
  setModel(m_model);
  setHeaderHidden(true);
  setUniformRowHeights(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  // Expansion runs through Expand only (see mouse and key handlers).
  setItemsExpandable(false);
  setExpandsOnDoubleClick(false);
  setAnimated(false);
  setRootIsDecorated(style & TVS_LINESATROOT);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  header()->setStretchLastSection(false);
}

void TreeWidget::Connect(HWND control, HWND parent) {
  m_handle = control;
  m_parent = parent;
}

TreeWidget* TreeWidgetOf(HWND handle) { return dynamic_cast<TreeWidget*>(WidgetOf(handle)); }

// --- Notifications --------------------------------------------------------------------------

LRESULT TreeWidget::Notify(NMHDR& header) {
  const WindowData* data = FindWindow(m_handle);
  if (!data) return 0;
  header.hwndFrom = m_handle;
  header.idFrom = static_cast<UINT_PTR>(data->controlId);
  LRESULT own = 0;
  const bool handled = ReflectNotify(m_handle, [&](CWnd& window) {
    auto* tree = dynamic_cast<CTreeCtrl*>(&window);
    if (!tree || !TreeHooks::Reflect(*tree, header, &own)) PassNotifyOn();
  });
  // A notification the control's class handles is its own; the parent
  // hears the others.
  if (handled) return own;
  const LRESULT fromParent = m_parent ? SendNotify(m_parent, header) : 0;
  return own ? own : fromParent;
}

LRESULT TreeWidget::NotifySimple(UINT code) {
  NMHDR header{};
  header.code = code;
  return Notify(header);
}

// --- Expansion ------------------------------------------------------------------------------

bool TreeWidget::Expand(TreeItem* item, UINT code) {
  if (!item || item == m_model->Root()) return false;
  const bool expanded = item->state & TVIS_EXPANDED;
  if (code == TVE_TOGGLE) code = expanded ? TVE_COLLAPSE : TVE_EXPAND;
  if (code == TVE_EXPAND ? (expanded || !item->HasChildren()) : (code != TVE_COLLAPSE || !expanded)) {
    return false;
  }
  const HTREEITEM handle = item->handle;
  QPointer<TreeWidget> self(this);
  NMTREEVIEW record{};
  record.hdr.code = TVN_ITEMEXPANDING;
  record.action = code;
  record.itemNew = Describe(*m_model, item);
  const LRESULT stop = Notify(record.hdr);
  // The handler may have filled, emptied or deleted the item, or closed
  // the window.
  if (!self || stop) return false;
  item = m_model->Find(handle);
  if (!item) return false;
  if (code == TVE_EXPAND) {
    item->state |= TVIS_EXPANDEDONCE;
    if (!item->HasChildren()) return false;
    item->state |= TVIS_EXPANDED;
    m_model->CommitPath(item);
    m_model->Commit(item);
    QTreeView::expand(m_model->IndexOf(item));
  } else {
    item->state &= ~TVIS_EXPANDED;
    m_model->CommitPath(item);
    QTreeView::collapse(m_model->IndexOf(item));
    TreeItem* selected = m_model->Selected();
    bool inside = false;
    for (TreeItem* above = selected ? selected->parent : nullptr; above; above = above->parent) {
      inside = inside || above == item;
    }
    if (inside) {
      Select(item, TVC_UNKNOWN);
      if (!self) return true;
      item = m_model->Find(handle);
      if (!item) return true;
    }
  }
  record = NMTREEVIEW{};
  record.hdr.code = TVN_ITEMEXPANDED;
  record.action = code;
  record.itemNew = Describe(*m_model, item);
  Notify(record.hdr);
  return true;
}

void TreeWidget::ExpandAncestors(HTREEITEM handle) {
  TreeItem* item = m_model->Find(handle);
  std::vector<HTREEITEM> above;
  for (TreeItem* parent = item ? item->parent : nullptr; parent && parent != m_model->Root();
       parent = parent->parent) {
    above.push_back(parent->handle);
  }
  QPointer<TreeWidget> self(this);
  for (auto it = above.rbegin(); it != above.rend() && self; ++it) {
    TreeItem* parent = m_model->Find(*it);
    if (parent && !(parent->state & TVIS_EXPANDED)) Expand(parent, TVE_EXPAND);
  }
}

void TreeWidget::EnsureVisible(TreeItem* item) {
  if (!item) return;
  const HTREEITEM handle = item->handle;
  QPointer<TreeWidget> self(this);
  ExpandAncestors(handle);
  if (!self) return;
  if (TreeItem* still = m_model->Find(handle)) {
    m_model->CommitPath(still);
    scrollTo(m_model->IndexOf(still));
  }
}

// --- Selection --------------------------------------------------------------------------------

void TreeWidget::Select(TreeItem* item, UINT action) {
  const HTREEITEM previous = m_model->Selected() ? m_model->Selected()->handle : nullptr;
  const HTREEITEM wanted = item ? item->handle : nullptr;
  QPointer<TreeWidget> self(this);
  if (wanted) {
    ExpandAncestors(wanted);
    if (!self) return;
    item = m_model->Find(wanted);
    if (!item) return;
  }
  const bool changed = m_model->Selected() != item;
  m_model->SetSelected(item);
  ShowSelection();
  if (changed) SendSelectionChange(previous, action);
}

void TreeWidget::ShowSelection() {
  TreeItem* item = m_model->Selected();
  m_showing = true;
  if (item) {
    m_model->CommitPath(item);
    const QModelIndex index = m_model->IndexOf(item);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    scrollTo(index);
  } else {
    selectionModel()->clearSelection();
  }
  m_showing = false;
}

void TreeWidget::SendSelectionChange(HTREEITEM previous, UINT action) {
  NMTREEVIEW record{};
  record.hdr.code = TVN_SELCHANGED;
  record.action = action;
  record.itemOld = Describe(*m_model, m_model->Find(previous));
  record.itemOld.hItem = previous;  // also when that item has gone meanwhile
  record.itemNew = Describe(*m_model, m_model->Selected());
  Notify(record.hdr);
}

void TreeWidget::selectionChanged(const QItemSelection& selected,
                                  const QItemSelection& deselected) {
  QTreeView::selectionChanged(selected, deselected);
  if (m_showing || m_model->Changing()) return;
  const QModelIndexList now = selectionModel()->selectedIndexes();
  TreeItem* item = now.isEmpty() ? nullptr : m_model->ItemOf(now.first());
  if (!item) {
    // The original control cannot lose its selection to a click.
    ShowSelection();
    return;
  }
  if (item == m_model->Selected()) return;
  const HTREEITEM previous = m_model->Selected() ? m_model->Selected()->handle : nullptr;
  m_model->SetSelected(item);
  if (m_inputAction != TVC_UNKNOWN) {
    // Reported once the mouse or key event is handled, outside the view's
    // own bookkeeping.
    if (!m_selectionMoved) m_selectionBefore = previous;
    m_selectionMoved = true;
  } else {
    SendSelectionChange(previous, TVC_UNKNOWN);
  }
}

// --- Mouse and keys ------------------------------------------------------------------------------

bool TreeWidget::OnButton(const QModelIndex& index, const QPoint& position) const {
  TreeItem* item = m_model->ItemOf(index);
  if (!item || !item->HasChildren()) return false;
  if (!rootIsDecorated() && item->parent == m_model->Root()) return false;
  const QRect rect = visualRect(index);
  const QRect button(rect.left() - indentation(), rect.top(), indentation(), rect.height());
  return button.contains(position);
}

void TreeWidget::mousePressEvent(QMouseEvent* event) {
  QPointer<TreeWidget> self(this);
  const QPoint position = event->position().toPoint();
  event->accept();
  if (event->button() == Qt::RightButton) {
    NotifySimple(NM_RCLICK);
    return;
  }
  if (event->button() != Qt::LeftButton) return;
  NotifySimple(NM_CLICK);
  if (!self) return;
  const QModelIndex index = indexAt(position);  // after the handler: rows may have changed
  if (!index.isValid()) return;
  if (OnButton(index, position)) {
    Expand(m_model->ItemOf(index), TVE_TOGGLE);
    return;
  }
  m_inputAction = TVC_BYMOUSE;
  m_selectionMoved = false;
  QTreeView::mousePressEvent(event);
  m_inputAction = TVC_UNKNOWN;
  if (m_selectionMoved) {
    m_selectionMoved = false;
    SendSelectionChange(m_selectionBefore, TVC_BYMOUSE);
  }
}

void TreeWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  event->accept();
  if (event->button() != Qt::LeftButton) return;
  const QPoint position = event->position().toPoint();
  QModelIndex index = indexAt(position);
  if (index.isValid() && OnButton(index, position)) {
    // A quick second click on the button toggles once more.
    Expand(m_model->ItemOf(index), TVE_TOGGLE);
    return;
  }
  QPointer<TreeWidget> self(this);
  const HTREEITEM handle = index.isValid() ? m_model->ItemOf(index)->handle : nullptr;
  const LRESULT handled = NotifySimple(NM_DBLCLK);
  if (!self || handled || !handle) return;
  Expand(m_model->Find(handle), TVE_TOGGLE);
}

void TreeWidget::mouseMoveEvent(QMouseEvent* event) {
  // Dragging does not move the selection, as in the original control.
  event->accept();
}

void TreeWidget::keyPressEvent(QKeyEvent* event) {
  TreeItem* current = m_model->Selected();
  const int key = event->key();
  const bool right = key == Qt::Key_Right || key == Qt::Key_Plus;
  const bool left = key == Qt::Key_Left || key == Qt::Key_Minus;
  if (key == Qt::Key_Return || key == Qt::Key_Enter) {
    event->accept();
    NotifySimple(NM_RETURN);
    return;
  }
  if (right || left) {
    event->accept();
    if (!current) return;
    const bool expanded = current->state & TVIS_EXPANDED;
    if (right && current->HasChildren() && !expanded) {
      Expand(current, TVE_EXPAND);
    } else if (right && expanded && key == Qt::Key_Right) {
      m_model->Commit(current);
      if (!current->children.empty()) Select(current->children.front().get(), TVC_BYKEYBOARD);
    } else if (left && expanded) {
      Expand(current, TVE_COLLAPSE);
    } else if (left && key == Qt::Key_Left && current->parent != m_model->Root()) {
      Select(current->parent, TVC_BYKEYBOARD);
    }
    return;
  }
  m_inputAction = TVC_BYKEYBOARD;
  m_selectionMoved = false;
  QTreeView::keyPressEvent(event);
  m_inputAction = TVC_UNKNOWN;
  if (m_selectionMoved) {
    m_selectionMoved = false;
    SendSelectionChange(m_selectionBefore, TVC_BYKEYBOARD);
  }
}

void TreeWidget::SetImageList(HIMAGELIST list) {
  const QSize size = ImageListSize(list);
  if (!size.isEmpty()) setIconSize(size);
  m_model->SetImageList(list);
}

}  // namespace platform::ui
