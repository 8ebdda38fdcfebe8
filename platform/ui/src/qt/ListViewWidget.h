// The widget of a list view control: one item model and one selection
// shared by a report view (QTreeView, made at once) and an icon view
// (QListView for the icon, small-icon and list styles, made when first
// needed). The widget follows the control's style bits, routes the views'
// paints, clicks, heading clicks and focus changes to the attached
// CListCtrl's handlers and the notifications to the parent, and computes
// item rectangles and hit tests in the control's client coordinates (the
// widget's own).
#pragma once

#include <QItemSelectionModel>
#include <QWidget>
#include <functional>
#include <utility>

#include "ListModel.h"
#include "platform/ListCtrl.h"

class QAbstractItemView;
class QTreeView;
class QListView;
class QPaintEvent;
class QMouseEvent;

namespace platform::ui {

struct WindowData;

class ListViewWidget : public QWidget {
public:
  explicit ListViewWidget(QWidget* parent);
  // Hears nothing more: the views that go with it lose the focus and their
  // selection without telling anyone.
  ~ListViewWidget() override;

  // Ties the widget to its window record (registered, with id and style)
  // and to the window that hears its notifications.
  void Connect(WindowData& data, HWND parent);

  ListModel& Model() { return *m_model; }
  const ListModel& Model() const { return *m_model; }
  HWND Handle() const { return m_handle; }
  DWORD Style() const;
  bool IsReport() const { return (Style() & LVS_TYPEMASK) == LVS_REPORT; }
  bool OwnerDraw() const { return IsReport() && (Style() & LVS_OWNERDRAWFIXED); }
  QAbstractItemView* CurrentView() const;
  // True while the keyboard focus is in the control.
  bool HasFocusInside() const;

  // --- Geometry (client coordinates) -----------------------------------------------
  int RowHeight() const;
  QRect ItemRect(int row, UINT code) const;  // empty for a bad row
  int HitTest(QPoint point, UINT& flags, int& subItem) const;
  void EnsureVisible(int row);
  // Shows the columns' stored widths and hides the heading of a list
  // without columns.
  void ShowColumns();
  // Row heights and pictures follow a changed image list.
  void ImageListsChanged();

  // --- States ------------------------------------------------------------------------
  // LVIS_SELECTED and LVIS_FOCUSED of a row.
  UINT ViewState(int row) const;
  int CurrentRow() const;
  bool SetViewState(int row, UINT state, UINT mask);
  // The next selected row after `row`; -1 when none.
  int NextSelected(int row) const;
  // Runs a change of the rows that the selection follows without
  // LVN_ITEMCHANGED (deleting rows is no state change on the desktop).
  template <typename Change>
  void Quietly(Change change) {
    const bool was = std::exchange(m_quiet, true);
    change();
    m_quiet = was;
  }

  // --- Event routing (from the views and from CListCtrl's base handlers) ---------------
  void PaintViewport(QAbstractItemView& view, QPaintEvent* event,
                     const std::function<void()>& basePaint);
  void ButtonDown(QAbstractItemView& view, QMouseEvent* event, const std::function<void()>& base);
  void ButtonUp(QAbstractItemView& view, QMouseEvent* event);
  void DoubleClick(QAbstractItemView& view, QMouseEvent* event);
  // The base of OnPaint: the paint that the handler runs in, once.
  void RunBasePaint();
  // The base of OnLButtonDown: the view's own handling of the press, once.
  void RunBaseButtonDown();
  // The base of the focus handlers: the selected rows repaint.
  void RepaintRows();

protected:
  void resizeEvent(QResizeEvent* event) override;

private:
  void ApplyStyle();
  QListView& IconView();
  CListCtrl* AttachedList() const;
  void DrawOwnerRows(QWidget& viewport, const QRegion& region);
  void ColumnClicked(int column);
  void FocusChanged(QWidget* old, QWidget* now);
  void SelectionChanged(const QItemSelection& selected, const QItemSelection& deselected);
  void CurrentChanged(const QModelIndex& current, const QModelIndex& previous);
  // Sends an NMLISTVIEW to the parent; returns its answer.
  LRESULT Notify(UINT code, int row, UINT oldState = 0, UINT newState = 0, QPoint point = {});
  NMLISTVIEW Record(UINT code, int row, QPoint point) const;
  QPoint ViewportOffset(const QAbstractItemView& view) const;
  bool Contains(const QWidget* widget) const;

  ListModel* m_model;
  QTreeView* m_report;
  QListView* m_icons = nullptr;
  QItemSelectionModel* m_selection;
  HWND m_handle = nullptr;
  HWND m_parent = nullptr;
  bool m_quiet = false;            // no LVN_ITEMCHANGED per row
  bool m_syncingHeader = false;
  const std::function<void()>* m_basePaint = nullptr;
  const std::function<void()>* m_basePress = nullptr;
};

// The widget of a list view handle; null for another kind or a dead handle.
ListViewWidget* ListViewOf(HWND handle);

}  // namespace platform::ui
