#include "ListItemViews.h"

#include <QMouseEvent>
#include <QPaintEvent>

#include "ImageListData.h"
#include "ListViewWidget.h"

namespace platform::ui {

template <typename View>
RoutedView<View>::RoutedView(ListViewWidget& owner) : View(&owner), m_owner(owner) {}

template <typename View>
void RoutedView<View>::paintEvent(QPaintEvent* event) {
  m_owner.PaintViewport(*this, event, [this, event] { View::paintEvent(event); });
}

template <typename View>
void RoutedView<View>::mousePressEvent(QMouseEvent* event) {
  // Qt repeats a double click off the items as a press; the desktop does not.
  if (m_inDoubleClick) return View::mousePressEvent(event);
  m_owner.ButtonDown(*this, event, [this, event] { View::mousePressEvent(event); });
}

template <typename View>
void RoutedView<View>::mouseReleaseEvent(QMouseEvent* event) {
  View::mouseReleaseEvent(event);
  m_owner.ButtonUp(*this, event);
}

template <typename View>
void RoutedView<View>::mouseDoubleClickEvent(QMouseEvent* event) {
  m_inDoubleClick = true;
  View::mouseDoubleClickEvent(event);
  m_inDoubleClick = false;
  m_owner.DoubleClick(*this, event);
}

template class RoutedView<QTreeView>;
template class RoutedView<QListView>;

ListItemDelegate::ListItemDelegate(ListViewWidget& owner, bool largeIcons)
    : QStyledItemDelegate(&owner), m_owner(owner), m_bLarge(largeIcons) {}

QSize ListItemDelegate::sizeHint(const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const {
  QSize size = QStyledItemDelegate::sizeHint(option, index);
  if (!m_bLarge && m_owner.IsReport()) size.setHeight(m_owner.RowHeight());
  return size;
}

void ListItemDelegate::initStyleOption(QStyleOptionViewItem* option,
                                       const QModelIndex& index) const {
  QStyledItemDelegate::initStyleOption(option, index);
  if (m_bLarge && index.column() == 0) {
    const QVariant image = ImageListDecoration(m_owner.Model().ImageList(LVSIL_NORMAL),
                                               m_owner.Model().Row(index.row()).image);
    option->icon = image.metaType() == QMetaType::fromType<QIcon>()
                       ? qvariant_cast<QIcon>(image)
                       : QIcon(qvariant_cast<QPixmap>(image));
    if (image.isValid()) option->features |= QStyleOptionViewItem::HasDecoration;
  }
  if (!(m_owner.Style() & LVS_SHOWSELALWAYS) && !m_owner.HasFocusInside()) {
    option->state &= ~QStyle::State_Selected;
  }
  if (m_owner.Model().Row(index.row()).state & LVIS_DROPHILITED) {
    option->state |= QStyle::State_Selected;
  }
}

}  // namespace platform::ui
