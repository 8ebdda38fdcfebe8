// The items of a tree view and the Qt model its view reads them from.
//
// Items live in our own structure; handles are numbers from a counter that
// is never reset, looked up in a table, so a deleted item's handle finds
// nothing. Insertions at the end or at the sorted place under an item the
// view already shows are collected in a batch and made part of the
// children in one step (one stable sort of the batch and one merge, with
// one row insertion for the view per run of new rows), which gives exactly
// the order that inserting them one by one would give. A batch is taken in
// before anything reads the children's order, when another kind of
// insertion comes, and shortly after the filling stops (a timer), so the
// view never sees a half-done step and never lays out a row at a time.
#pragma once

#include <QAbstractItemModel>
#include <QPixmap>
#include <QTimer>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "TreeChildren.h"
#include "platform/ImageList.h"
#include "platform/TreeCtrl.h"

namespace platform::ui {

struct TreeItem {
  enum class Batch { Last, Sorted };

  HTREEITEM handle = nullptr;
  std::string text;
  int image = 0;
  int selectedImage = 0;
  UINT state = 0;  // TVIS_EXPANDED, TVIS_EXPANDEDONCE
  TreeItem* parent = nullptr;
  TreeChildren children;  // in the shown order
  std::vector<std::unique_ptr<TreeItem>> pending;   // inserted, not yet taken in
  Batch batch = Batch::Last;
  std::size_t row = 0;         // the place among the siblings' slots, while the parent's rows are valid
  bool rowsValid = true;       // the children's `row` fields are current
  bool childrenSorted = true;  // the children are known to be in sorted order
  bool inModel = false;        // the view knows the item (and may ask for its children)

  bool HasChildren() const { return !children.empty() || !pending.empty(); }
};

class TreeModel : public QAbstractItemModel {
public:
  explicit TreeModel(QObject* parent);
  ~TreeModel() override;

  TreeItem* Root() { return &m_root; }
  // The live item of a handle; null for null, TVI_ROOT and dead handles.
  TreeItem* Find(HTREEITEM handle) const;
  // Like Find, but TVI_ROOT and null give the invisible root.
  TreeItem* FindParent(HTREEITEM handle);
  std::size_t Count() const { return m_items.size(); }

  // Inserts as TVI_LAST, TVI_FIRST, TVI_SORT or after a child of `parent`;
  // null when `after` is not a child of `parent`.
  TreeItem* Insert(TreeItem* parent, HTREEITEM after, const char* text, int image,
                   int selectedImage);
  // Deletes the item with everything below it; the selection goes when it
  // was among them.
  void Delete(TreeItem* item);
  void DeleteAll();
  void SetText(TreeItem* item, const char* text);
  void SetImages(TreeItem* item, int image, int selectedImage);

  // Takes the batch waiting under `parent` into its children.
  void Commit(TreeItem* parent);
  void CommitAll();
  // Takes in the batches on the way from the root, so the item has a row.
  void CommitPath(TreeItem* item);

  std::size_t RowOf(const TreeItem* item) const;
  // The model index of an item the view knows; invalid for the root.
  QModelIndex IndexOf(const TreeItem* item) const;
  TreeItem* ItemOf(const QModelIndex& index) const;

  TreeItem* Selected() const { return m_selected; }
  void SetSelected(TreeItem* item);
  HIMAGELIST ImageList() const { return m_imageList; }
  void SetImageList(HIMAGELIST list);
  // Repaints every row (after the image list changed).
  void RefreshAll();

  // True while the model itself changes rows; the view's reactions to the
  // change are no user actions then.
  bool Changing() const { return m_changing > 0; }

  QModelIndex index(int row, int column, const QModelIndex& parent) const override;
  QModelIndex parent(const QModelIndex& child) const override;
  int rowCount(const QModelIndex& parent) const override;
  int columnCount(const QModelIndex& parent) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
  std::unique_ptr<TreeItem> MakeItem(TreeItem* parent, const char* text, int image,
                                     int selectedImage);
  void InsertNow(TreeItem* parent, std::size_t row, std::unique_ptr<TreeItem> item);
  void InsertRun(TreeItem* parent, std::size_t row,
                 std::vector<std::unique_ptr<TreeItem>>::iterator first,
                 std::vector<std::unique_ptr<TreeItem>>::iterator last);
  void CommitSorted(TreeItem* parent);
  void AddToBatch(TreeItem* parent, TreeItem::Batch batch, std::unique_ptr<TreeItem> item);
  void Forget(TreeItem* item);
  void RowChanged(TreeItem* item);

  TreeItem m_root;
  std::unordered_map<HTREEITEM, TreeItem*> m_items;
  std::vector<HTREEITEM> m_waiting;  // parents with a batch (TVI_ROOT for the root)
  QTimer m_commitTimer;
  TreeItem* m_selected = nullptr;
  HIMAGELIST m_imageList = nullptr;
  int m_changing = 0;
};

// Compares item texts as sorted insertion does: without regard to ASCII
// case.
int CompareItemTexts(const std::string& a, const std::string& b);

}  // namespace platform::ui
