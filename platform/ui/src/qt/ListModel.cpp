#include "ListModel.h"

#include <QTimer>
#include <algorithm>

#include "ImageListData.h"
#include "QtText.h"

namespace platform::ui {
namespace {

const std::string kNoText;

Qt::Alignment AlignmentOf(int format) {
  switch (format & LVCFMT_JUSTIFYMASK) {
    case LVCFMT_RIGHT:
      return Qt::AlignRight | Qt::AlignVCenter;
    case LVCFMT_CENTER:
      return Qt::AlignHCenter | Qt::AlignVCenter;
    default:
      return Qt::AlignLeft | Qt::AlignVCenter;
  }
}

}  // namespace

ListModel::ListModel(QObject* parent) : QAbstractTableModel(parent) {}

int ListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : RowCount();
}

int ListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : std::max(1, ColumnCount());
}

QVariant ListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || !ValidRow(index.row())) return {};
  const int column = index.column();
  const int subItem = column < ColumnCount() ? Column(column).subItem : 0;
  switch (role) {
    case Qt::DisplayRole:
      return ToQt(Text(index.row(), subItem));
    case Qt::DecorationRole: {
      if (column != 0) return {};
      return ImageListDecoration(m_lists[LVSIL_SMALL], Row(index.row()).image);
    }
    case Qt::TextAlignmentRole:
      // The first column is always left-aligned, as the original control has it.
      return QVariant::fromValue(column > 0 && column < ColumnCount()
                                     ? AlignmentOf(Column(column).format)
                                     : AlignmentOf(LVCFMT_LEFT));
    default:
      return {};
  }
}

QVariant ListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount()) return {};
  if (role == Qt::DisplayRole) return ToQt(Column(section).heading);
  if (role == Qt::TextAlignmentRole) return QVariant::fromValue(AlignmentOf(Column(section).format));
  return {};
}

Qt::ItemFlags ListModel::flags(const QModelIndex& index) const {
  return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

// --- Rows -----------------------------------------------------------------------------------

void ListModel::InsertRow(int position, ListRow row) {
  Flush();
  beginInsertRows(QModelIndex(), position, position);
  m_rows.insert(static_cast<std::size_t>(position), std::move(row));
  endInsertRows();
}

void ListModel::RemoveRow(int row) {
  Flush();
  beginRemoveRows(QModelIndex(), row, row);
  m_rows.erase(static_cast<std::size_t>(row));
  endRemoveRows();
}

void ListModel::RemoveAllRows() {
  m_pendingFirst = m_pendingLast = -1;
  beginResetModel();
  m_rows.clear();
  endResetModel();
}

const std::string& ListModel::Text(int row, int subItem) const {
  const std::vector<std::string>& cells = Row(row).cells;
  return subItem >= 0 && static_cast<std::size_t>(subItem) < cells.size()
             ? cells[static_cast<std::size_t>(subItem)]
             : kNoText;
}

void ListModel::SetText(int row, int subItem, std::string text) {
  std::vector<std::string>& cells = Row(row).cells;
  if (cells.size() <= static_cast<std::size_t>(subItem)) {
    cells.resize(static_cast<std::size_t>(subItem) + 1);
  }
  cells[static_cast<std::size_t>(subItem)] = std::move(text);
  Pending(row, row);
}

void ListModel::RowChanged(int row) { Pending(row, row); }

void ListModel::AllRowsChanged() {
  if (RowCount() > 0) Pending(0, RowCount() - 1);
}

void ListModel::Pending(int first, int last) {
  m_pendingFirst = m_pendingFirst < 0 ? first : std::min(m_pendingFirst, first);
  m_pendingLast = std::max(m_pendingLast, last);
  if (m_flushScheduled) return;
  m_flushScheduled = true;
  QTimer::singleShot(0, this, [this] {
    m_flushScheduled = false;
    Flush();
  });
}

void ListModel::Flush() {
  if (m_pendingFirst < 0) return;
  const int first = std::min(m_pendingFirst, RowCount() - 1);
  const int last = std::min(m_pendingLast, RowCount() - 1);
  m_pendingFirst = m_pendingLast = -1;
  if (first < 0 || last < first) return;
  emit dataChanged(index(first, 0), index(last, columnCount() - 1));
}

// --- Columns -------------------------------------------------------------------------------

bool ListModel::ShowsSubItem(int subItem) const {
  if (subItem == 0) return true;
  return std::any_of(m_columns.begin(), m_columns.end(),
                     [subItem](const ListColumn& column) { return column.subItem == subItem; });
}

void ListModel::InsertColumn(int position, ListColumn column) {
  Flush();
  // The model always shows at least one column: the first list column
  // takes the place of the empty one.
  const bool structural = !m_columns.empty();
  if (structural) beginInsertColumns(QModelIndex(), position, position);
  m_columns.insert(m_columns.begin() + position, std::move(column));
  if (structural) {
    endInsertColumns();
  } else {
    emit headerDataChanged(Qt::Horizontal, 0, 0);
    AllRowsChanged();
  }
}

void ListModel::RemoveColumn(int column) {
  Flush();
  const bool structural = m_columns.size() > 1;
  if (structural) beginRemoveColumns(QModelIndex(), column, column);
  m_columns.erase(m_columns.begin() + column);
  if (structural) {
    endRemoveColumns();
  } else {
    emit headerDataChanged(Qt::Horizontal, 0, 0);
    AllRowsChanged();
  }
}

void ListModel::SetColumn(int column, ListColumn value) {
  const bool subItemChanged = m_columns[static_cast<std::size_t>(column)].subItem != value.subItem;
  m_columns[static_cast<std::size_t>(column)] = std::move(value);
  emit headerDataChanged(Qt::Horizontal, column, column);
  if (subItemChanged) AllRowsChanged();
}

void ListModel::SetColumnWidth(int column, int width) {
  m_columns[static_cast<std::size_t>(column)].width = width;
}

// --- Image lists ---------------------------------------------------------------------------------

HIMAGELIST ListModel::ImageList(int type) const {
  return type >= 0 && type < 3 ? m_lists[type] : nullptr;
}

void ListModel::SetImageList(int type, HIMAGELIST list) {
  if (type < 0 || type >= 3) return;
  m_lists[type] = list;
  AllRowsChanged();
}

}  // namespace platform::ui
