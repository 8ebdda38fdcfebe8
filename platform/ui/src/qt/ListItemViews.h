// The two Qt views of a list view control and their item delegate. Both
// views hand their viewport's paints and mouse buttons to the control's
// widget, which runs the control's handlers around Qt's own handling.
#pragma once

#include <QListView>
#include <QStyledItemDelegate>
#include <QTreeView>

namespace platform::ui {

class ListViewWidget;

template <typename View>
class RoutedView : public View {
public:
  explicit RoutedView(ListViewWidget& owner);
  // Lays the items out again (their size changed).
  void Relayout() { this->scheduleDelayedItemsLayout(); }

protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

  ListViewWidget& m_owner;

private:
  bool m_inDoubleClick = false;
};

using ListReportView = RoutedView<QTreeView>;
using ListIconView = RoutedView<QListView>;

// Rows one line high in report view, large pictures in the icon view, and
// a selection that is shown only while the control has the focus unless
// the control has LVS_SHOWSELALWAYS.
class ListItemDelegate : public QStyledItemDelegate {
public:
  ListItemDelegate(ListViewWidget& owner, bool largeIcons);
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

private:
  ListViewWidget& m_owner;
  bool m_bLarge;
};

}  // namespace platform::ui
