// The list view widget's geometry (item rectangles and hit tests in client
// coordinates) and the selection and focus states of its rows.
//
// Report view rows are laid out here, not asked of Qt: every row has the
// same height and the views scroll by pixels, so a row's place is one
// multiplication, whatever the number of rows.
#include <QHeaderView>
#include <QListView>
#include <QScrollBar>
#include <QTreeView>
#include <algorithm>
#include <utility>

#include "ImageListData.h"
#include "ListViewWidget.h"

namespace platform::ui {

QPoint ListViewWidget::ViewportOffset(const QAbstractItemView& view) const {
  return view.viewport()->mapTo(this, QPoint(0, 0));
}

int ListViewWidget::RowHeight() const {
  int height = fontMetrics().height() + 4;
  const int images = std::max(ImageListSize(m_model->ImageList(LVSIL_SMALL)).height(),
                              ImageListSize(m_model->ImageList(LVSIL_STATE)).height());
  return std::max(height, images + 2);
}

QRect ListViewWidget::ItemRect(int row, UINT code) const {
  if (!m_model->ValidRow(row)) return {};
  QAbstractItemView* view = CurrentView();
  const QPoint offset = ViewportOffset(*view);
  if (view != m_report) {
    // Icon views: the picture above (icon) or left of (small icons, list)
    // the label inside the item's rectangle.
    const QRect bounds = view->visualRect(m_model->index(row, 0));
    const QSize icon = static_cast<QListView*>(view)->iconSize();
    const bool large = (Style() & LVS_TYPEMASK) == LVS_ICON;
    QRect part = bounds;
    if (code == LVIR_ICON) {
      part = large ? QRect(bounds.center().x() - icon.width() / 2, bounds.top(), icon.width(),
                           icon.height())
                   : QRect(bounds.left(), bounds.top(), icon.width(), bounds.height());
    } else if (code == LVIR_LABEL) {
      part = large ? QRect(bounds.left(), bounds.top() + icon.height(), bounds.width(),
                           std::max(0, bounds.height() - icon.height()))
                   : QRect(bounds.left() + icon.width(), bounds.top(),
                           std::max(0, bounds.width() - icon.width()), bounds.height());
    }
    return part.translated(offset);
  }
  const int height = RowHeight();
  const int top = row * height - m_report->verticalScrollBar()->value();
  const int left = -m_report->header()->offset();
  int total = 0;
  for (const ListColumn& column : m_model->Columns()) total += column.width;
  const int first = m_model->ColumnCount() > 0 ? m_model->Column(0).width : 0;
  const int stateWidth = ImageListSize(m_model->ImageList(LVSIL_STATE)).width();
  const int iconWidth = ImageListSize(m_model->ImageList(LVSIL_SMALL)).width();
  QRect part;
  switch (code) {
    case LVIR_ICON:
      part = QRect(left + stateWidth, top, iconWidth, height);
      break;
    case LVIR_LABEL:
      part = QRect(left + stateWidth + iconWidth, top,
                   std::max(0, first - stateWidth - iconWidth), height);
      break;
    case LVIR_SELECTBOUNDS:
      part = QRect(left + stateWidth, top, std::max(0, first - stateWidth), height);
      break;
    default:
      part = QRect(left, top, total, height);
      break;
  }
  return part.translated(offset);
}

int ListViewWidget::HitTest(QPoint point, UINT& flags, int& subItem) const {
  flags = LVHT_NOWHERE;
  subItem = -1;
  QAbstractItemView* view = CurrentView();
  const QPoint inView = point - ViewportOffset(*view);
  if (!view->viewport()->rect().contains(inView)) return -1;
  if (view != m_report) {
    const int row = view->indexAt(inView).row();
    if (row < 0) return -1;
    subItem = 0;
    flags = ItemRect(row, LVIR_ICON).contains(point) ? LVHT_ONITEMICON : LVHT_ONITEMLABEL;
    return row;
  }
  const int row = (inView.y() + m_report->verticalScrollBar()->value()) / RowHeight();
  if (row >= m_model->RowCount()) return -1;
  int x = inView.x() + m_report->header()->offset();
  for (int column = 0; column < m_model->ColumnCount(); ++column) {
    const int width = m_model->Column(column).width;
    if (x < width) {
      subItem = column;
      break;
    }
    x -= width;
  }
  if (subItem < 0) return -1;
  if (subItem > 0) {
    // Beyond the first column only owner-drawn rows are hit, as whole rows.
    if (!OwnerDraw()) return -1;
    flags = LVHT_ONITEMLABEL;
    return row;
  }
  const int stateWidth = ImageListSize(m_model->ImageList(LVSIL_STATE)).width();
  const int iconWidth = ImageListSize(m_model->ImageList(LVSIL_SMALL)).width();
  flags = x < stateWidth               ? LVHT_ONITEMSTATEICON
          : x < stateWidth + iconWidth ? LVHT_ONITEMICON
                                       : LVHT_ONITEMLABEL;
  return row;
}

void ListViewWidget::EnsureVisible(int row) {
  if (m_model->ValidRow(row)) CurrentView()->scrollTo(m_model->index(row, 0));
}

// --- States ----------------------------------------------------------------------------------

int ListViewWidget::CurrentRow() const {
  const QModelIndex current = m_selection->currentIndex();
  return current.isValid() ? current.row() : -1;
}

UINT ListViewWidget::ViewState(int row) const {
  UINT state = 0;
  if (m_selection->isSelected(m_model->index(row, 0))) state |= LVIS_SELECTED;
  if (CurrentRow() == row && row >= 0) state |= LVIS_FOCUSED;
  return state;
}

int ListViewWidget::NextSelected(int row) const {
  int next = -1;
  for (const QItemSelectionRange& range : m_selection->selection()) {
    if (range.left() != 0 || range.bottom() <= row) continue;
    const int candidate = std::max(range.top(), row + 1);
    if (next < 0 || candidate < next) next = candidate;
  }
  return next;
}

bool ListViewWidget::SetViewState(int row, UINT state, UINT mask) {
  const int count = m_model->RowCount();
  const bool single = Style() & LVS_SINGLESEL;
  const int lastColumn = m_model->columnCount() - 1;
  if (row == -1) {
    if ((mask & LVIS_SELECTED) && (state & LVIS_SELECTED) && single) return false;
    if (count == 0) return true;
    const bool wasQuiet = std::exchange(m_quiet, true);
    if (mask & LVIS_SELECTED) {
      if (state & LVIS_SELECTED) {
        m_selection->select(QItemSelection(m_model->index(0, 0), m_model->index(count - 1, lastColumn)),
                            QItemSelectionModel::Select);
      } else {
        m_selection->clearSelection();
      }
    }
    // Only one row can have the focus: a focus for all rows is ignored.
    if ((mask & LVIS_FOCUSED) && !(state & LVIS_FOCUSED)) {
      m_selection->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    }
    m_quiet = wasQuiet;
    if (!m_quiet && (mask & (LVIS_SELECTED | LVIS_FOCUSED))) {
      Notify(LVN_ITEMCHANGED, -1, 0, state & mask & (LVIS_SELECTED | LVIS_FOCUSED));
    }
    return true;
  }
  if (!m_model->ValidRow(row)) return false;
  const QModelIndex index = m_model->index(row, 0);
  if (mask & LVIS_FOCUSED) {
    if (state & LVIS_FOCUSED) {
      m_selection->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    } else if (CurrentRow() == row) {
      m_selection->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    }
  }
  if (mask & LVIS_SELECTED) {
    const bool select = state & LVIS_SELECTED;
    const auto command = select ? (single ? QItemSelectionModel::ClearAndSelect
                                          : QItemSelectionModel::Select)
                                : QItemSelectionModel::Deselect;
    m_selection->select(index, command | QItemSelectionModel::Rows);
  }
  return true;
}

}  // namespace platform::ui
