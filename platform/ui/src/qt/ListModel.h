// The item model of a list view: each row's texts by subitem, its image,
// its state bits (all but selected and focused, which are the views'
// selection and current row) and its item data, and the columns with
// heading, format, width and subitem.
//
// Text changes are announced to the views once per turn of the event loop
// (one dataChanged over the rows touched), so rewriting many rows costs one
// repaint instead of one view update per cell.
#pragma once

#include <QAbstractTableModel>
#include <string>
#include <vector>

#include "ListRows.h"
#include "platform/ImageList.h"
#include "platform/ListCtrl.h"

namespace platform::ui {

struct ListRow {
  std::vector<std::string> cells;  // by subitem; missing ones are empty
  int image = 0;
  UINT state = 0;                  // LVIS_* without selected and focused
  DWORD_PTR data = 0;
};

struct ListColumn {
  std::string heading;
  int format = LVCFMT_LEFT;
  int width = 0;
  int subItem = 0;
};

class ListModel : public QAbstractTableModel {
public:
  explicit ListModel(QObject* parent);

  // Qt's side: one view column per list column (at least one, so the icon
  // views always have a column 0 to show).
  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  // --- Rows ----------------------------------------------------------------------
  int RowCount() const { return static_cast<int>(m_rows.size()); }
  bool ValidRow(int row) const { return row >= 0 && row < RowCount(); }
  ListRow& Row(int row) { return m_rows[static_cast<std::size_t>(row)]; }
  const ListRow& Row(int row) const { return m_rows[static_cast<std::size_t>(row)]; }
  void InsertRow(int position, ListRow row);
  void RemoveRow(int row);
  void RemoveAllRows();
  // The text of a cell; empty for a subitem never set.
  const std::string& Text(int row, int subItem) const;
  void SetText(int row, int subItem, std::string text);
  // Announces a change of a row's look (image, state bits).
  void RowChanged(int row);
  // Announces every row's look (an image list changed).
  void AllRowsChanged();

  // --- Columns -------------------------------------------------------------------
  int ColumnCount() const { return static_cast<int>(m_columns.size()); }
  const ListColumn& Column(int column) const { return m_columns[static_cast<std::size_t>(column)]; }
  const std::vector<ListColumn>& Columns() const { return m_columns; }
  // True for subitem 0 and for a subitem that a column shows.
  bool ShowsSubItem(int subItem) const;
  void InsertColumn(int position, ListColumn column);
  void RemoveColumn(int column);
  void SetColumn(int column, ListColumn value);
  // Changes only the stored width (the header shows it).
  void SetColumnWidth(int column, int width);

  // --- Image lists (by LVSIL_* type) ---------------------------------------------------
  HIMAGELIST ImageList(int type) const;
  void SetImageList(int type, HIMAGELIST list);

  // Sends the pending text changes now.
  void Flush();

private:
  void Pending(int first, int last);

  ListRows<ListRow> m_rows;
  std::vector<ListColumn> m_columns;
  HIMAGELIST m_lists[3] = {nullptr, nullptr, nullptr};
  int m_pendingFirst = -1;
  int m_pendingLast = -1;
  bool m_flushScheduled = false;
};

}  // namespace platform::ui
