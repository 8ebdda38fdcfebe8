// The tree view widget: a QTreeView over a TreeModel that takes expansion,
// selection and the mouse and keys into its own hands, so every expansion
// (mouse, keys, program) goes through one path that notifies the control
// before the children show, and clicks are reported in the original
// control's order (the click before the selection it causes).
#pragma once

#include <QTreeView>

#include "TreeModel.h"
#include "platform/TreeCtrl.h"

namespace platform::ui {

class TreeWidget : public QTreeView {
public:
  TreeWidget(QWidget* parent, DWORD style);

  TreeModel& Model() { return *m_model; }
  // The handles notifications are sent with and to.
  void Connect(HWND control, HWND parent);

  // Expands, collapses or toggles with the notifications; true when the
  // state changed.
  bool Expand(TreeItem* item, UINT code);
  // Selects the item (null: none) after expanding its ancestors; sends
  // TVN_SELCHANGED with `action` when the selection changed.
  void Select(TreeItem* item, UINT action);
  // Expands the ancestors and scrolls the item into view.
  void EnsureVisible(TreeItem* item);
  void SetImageList(HIMAGELIST list);

  // Sends a notification to the control's own handler, then to the parent;
  // the first non-zero answer.
  LRESULT Notify(NMHDR& header);

protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) override;

private:
  // True when `position` lies on the expand button of the row at `index`.
  bool OnButton(const QModelIndex& index, const QPoint& position) const;
  void ExpandAncestors(HTREEITEM handle);
  // Shows the model's selection in the view.
  void ShowSelection();
  // Sends the selection change a user's action caused, once the action's
  // own handling is done.
  void SendSelectionChange(HTREEITEM previous, UINT action);
  LRESULT NotifySimple(UINT code);

  TreeModel* m_model;
  HWND m_handle = nullptr;
  HWND m_parent = nullptr;
  bool m_showing = false;       // the view's selection is being set from the model
  UINT m_inputAction = TVC_UNKNOWN;  // while a mouse or key event is handled
  bool m_selectionMoved = false;     // the user's action changed the selection
  HTREEITEM m_selectionBefore = nullptr;
};

// The tree widget of a handle; null for any other window.
TreeWidget* TreeWidgetOf(HWND handle);

}  // namespace platform::ui
