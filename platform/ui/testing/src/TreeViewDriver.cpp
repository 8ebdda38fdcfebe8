#include "platform/testing/TreeViewDriver.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPixmap>
#include <QTest>

#include "../../src/qt/ImageListData.h"
#include "../../src/qt/TreeWidget.h"

namespace platform::testing {
namespace {

using ui::TreeItem;
using ui::TreeWidget;

TreeWidget* WidgetOf(const CTreeCtrl& tree) {
  TreeWidget* widget = ui::TreeWidgetOf(tree.m_hWnd);
  if (!widget) ADD_FAILURE() << "The object is not attached to a tree view";
  return widget;
}

// The item's row in the view, scrolled into view and laid out.
QModelIndex ShownIndex(TreeWidget& widget, HTREEITEM handle) {
  TreeItem* item = widget.Model().Find(handle);
  if (!item) {
    ADD_FAILURE() << "The tree has no such item";
    return {};
  }
  widget.Model().CommitPath(item);
  const QModelIndex index = widget.Model().IndexOf(item);
  widget.scrollTo(index);
  QApplication::processEvents();
  if (widget.visualRect(index).isEmpty()) ADD_FAILURE() << "The item is not shown: " << item->text;
  return index;
}

QPoint TextPoint(TreeWidget& widget, const QModelIndex& index) {
  const QRect rect = widget.visualRect(index);
  // Past the picture, on the text.
  return QPoint(rect.left() + widget.iconSize().width() + 8, rect.center().y());
}

void AddRows(TreeWidget& widget, const QModelIndex& parent, int level, std::vector<TreeRow>& rows) {
  ui::TreeModel& model = widget.Model();
  for (int row = 0; row < model.rowCount(parent); ++row) {
    const QModelIndex index = model.index(row, 0, parent);
    const TreeItem* item = model.ItemOf(index);
    TreeRow shown;
    shown.level = level;
    shown.text = item->text;
    shown.expanded = widget.isExpanded(index) && model.rowCount(index) > 0;
    shown.hasButton = model.rowCount(index) > 0 && (level > 0 || widget.rootIsDecorated());
    shown.selected = widget.selectionModel()->isSelected(index);
    rows.push_back(shown);
    if (shown.expanded) AddRows(widget, index, level + 1, rows);
  }
}

}  // namespace

std::vector<TreeRow> TreeRows(const CTreeCtrl& tree) {
  std::vector<TreeRow> rows;
  TreeWidget* widget = WidgetOf(tree);
  if (!widget) return rows;
  QApplication::processEvents();  // pending insertions reach the view
  widget->Model().CommitAll();
  AddRows(*widget, QModelIndex(), 0, rows);
  return rows;
}

std::vector<std::string> TreeLines(const CTreeCtrl& tree) {
  std::vector<std::string> lines;
  for (const TreeRow& row : TreeRows(tree)) {
    std::string line(static_cast<std::size_t>(row.level) * 2, ' ');
    line += !row.hasButton ? "  " : row.expanded ? "- " : "+ ";
    line += row.text;
    if (row.selected) line += "*";
    lines.push_back(line);
  }
  return lines;
}

void ClickTreeItem(const CTreeCtrl& tree, HTREEITEM item) {
  TreeWidget* widget = WidgetOf(tree);
  if (!widget) return;
  const QModelIndex index = ShownIndex(*widget, item);
  QTest::mouseClick(widget->viewport(), Qt::LeftButton, Qt::NoModifier, TextPoint(*widget, index));
}

void RightClickTreeItem(const CTreeCtrl& tree, HTREEITEM item) {
  TreeWidget* widget = WidgetOf(tree);
  if (!widget) return;
  const QModelIndex index = ShownIndex(*widget, item);
  QTest::mouseClick(widget->viewport(), Qt::RightButton, Qt::NoModifier, TextPoint(*widget, index));
}

void DoubleClickTreeItem(const CTreeCtrl& tree, HTREEITEM item) {
  TreeWidget* widget = WidgetOf(tree);
  if (!widget) return;
  const QModelIndex index = ShownIndex(*widget, item);
  const QPoint point = TextPoint(*widget, index);
  // A double click arrives as a press and release, then a double click.
  QTest::mouseClick(widget->viewport(), Qt::LeftButton, Qt::NoModifier, point);
  QTest::mouseDClick(widget->viewport(), Qt::LeftButton, Qt::NoModifier, point);
}

void ClickTreeButton(const CTreeCtrl& tree, HTREEITEM item) {
  TreeWidget* widget = WidgetOf(tree);
  if (!widget) return;
  const QModelIndex index = ShownIndex(*widget, item);
  const QRect rect = widget->visualRect(index);
  const QPoint point(rect.left() - widget->indentation() / 2, rect.center().y());
  QTest::mouseClick(widget->viewport(), Qt::LeftButton, Qt::NoModifier, point);
}

void PressTreeKey(const CTreeCtrl& tree, TreeKey key) {
  TreeWidget* widget = WidgetOf(tree);
  if (!widget) return;
  widget->setFocus(Qt::OtherFocusReason);
  Qt::Key code = Qt::Key_Down;
  switch (key) {
    case TreeKey::Up: code = Qt::Key_Up; break;
    case TreeKey::Down: code = Qt::Key_Down; break;
    case TreeKey::Left: code = Qt::Key_Left; break;
    case TreeKey::Right: code = Qt::Key_Right; break;
    case TreeKey::Plus: code = Qt::Key_Plus; break;
    case TreeKey::Minus: code = Qt::Key_Minus; break;
    case TreeKey::Enter: code = Qt::Key_Return; break;
  }
  QTest::keyClick(widget, code);
}

int ShownTreeImage(const CTreeCtrl& tree, HTREEITEM item) {
  TreeWidget* widget = WidgetOf(tree);
  if (!widget) return -1;
  ui::TreeModel& model = widget->Model();
  TreeItem* found = model.Find(item);
  if (!found) return -1;
  model.CommitPath(found);
  const QVariant shown = model.data(model.IndexOf(found), Qt::DecorationRole);
  if (!shown.canConvert<QPixmap>()) return -1;
  const QImage picture = shown.value<QPixmap>().toImage();
  const HIMAGELIST list = model.ImageList();
  const ui::ImageListData* data = ui::FindImageList(list);
  for (std::size_t i = 0; data && i < data->images.size(); ++i) {
    if (data->images[i].toImage() == picture) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace platform::testing
