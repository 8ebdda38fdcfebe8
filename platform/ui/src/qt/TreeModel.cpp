#include "TreeModel.h"

#include <algorithm>
#include <iterator>

#include "ImageListData.h"
#include "QtText.h"
#include "platform/Crt.h"

namespace platform::ui {
namespace {

// Handles count up for the life of the process, across all trees, far
// below the TVI_* values.
std::uintptr_t g_nextHandle = 0x100000;

// How long a batch may wait after the last insertion before the view gets
// it: short enough to look immediate, long enough that a filler pumping
// events for every item does not lay out the view for every item.
constexpr int kCommitDelayMs = 60;

bool TextLess(const std::unique_ptr<TreeItem>& a, const std::unique_ptr<TreeItem>& b) {
  return CompareItemTexts(a->text, b->text) < 0;
}

// The first place whose text is greater: after every item that is not.
template <typename Items>
std::size_t SortedPlace(const Items& items, const std::string& text) {
  const auto place = std::upper_bound(
      items.begin(), items.end(), text,
      [](const std::string& t, const std::unique_ptr<TreeItem>& item) {
        return CompareItemTexts(t, item->text) < 0;
      });
  return static_cast<std::size_t>(place - items.begin());
}

void MarkInModel(TreeItem& item) {
  item.inModel = true;
  for (auto& child : item.children) MarkInModel(*child);
}

// True when `item` is `ancestor` or below it.
bool IsWithin(const TreeItem* item, const TreeItem* ancestor) {
  for (; item; item = item->parent) {
    if (item == ancestor) return true;
  }
  return false;
}

}  // namespace

int CompareItemTexts(const std::string& a, const std::string& b) {
  return _stricmp(a.c_str(), b.c_str());
}

TreeModel::TreeModel(QObject* parent) : QAbstractItemModel(parent) {
  m_root.handle = TVI_ROOT;
  m_root.inModel = true;
  m_commitTimer.setSingleShot(true);
  m_commitTimer.setInterval(kCommitDelayMs);
  QObject::connect(&m_commitTimer, &QTimer::timeout, this, [this] { CommitAll(); });
}

TreeModel::~TreeModel() = default;

TreeItem* TreeModel::Find(HTREEITEM handle) const {
  if (!handle) return nullptr;
  const auto it = m_items.find(handle);
  return it == m_items.end() ? nullptr : it->second;
}

TreeItem* TreeModel::FindParent(HTREEITEM handle) {
  return !handle || handle == TVI_ROOT ? &m_root : Find(handle);
}

// --- Inserting -------------------------------------------------------------------------

std::unique_ptr<TreeItem> TreeModel::MakeItem(TreeItem* parent, const char* text, int image,
                                              int selectedImage) {
  auto item = std::make_unique<TreeItem>();
  item->handle = reinterpret_cast<HTREEITEM>(g_nextHandle++);
  item->text = text ? text : "";
  item->image = image;
  item->selectedImage = selectedImage;
  item->parent = parent;
  m_items.emplace(item->handle, item.get());
  return item;
}

TreeItem* TreeModel::Insert(TreeItem* parent, HTREEITEM after, const char* text, int image,
                            int selectedImage) {
  if (!parent) return nullptr;
  TreeItem* sibling = nullptr;
  if (after != TVI_LAST && after != TVI_SORT && after != TVI_FIRST) {
    sibling = Find(after);
    if (!sibling || sibling->parent != parent) return nullptr;
  }
  std::unique_ptr<TreeItem> item = MakeItem(parent, text, image, selectedImage);
  TreeItem* inserted = item.get();
  if (parent->inModel && (after == TVI_LAST || after == TVI_SORT)) {
    AddToBatch(parent, after == TVI_LAST ? TreeItem::Batch::Last : TreeItem::Batch::Sorted,
               std::move(item));
    return inserted;
  }
  // Under an item the view does not know yet nothing needs to wait.
  Commit(parent);
  std::size_t row = 0;
  if (after == TVI_LAST) {
    row = parent->children.size();
  } else if (after == TVI_SORT) {
    row = SortedPlace(parent->children, inserted->text);
  } else if (sibling) {
    row = RowOf(sibling) + 1;
  }
  InsertNow(parent, row, std::move(item));
  return inserted;
}

void TreeModel::AddToBatch(TreeItem* parent, TreeItem::Batch batch,
                           std::unique_ptr<TreeItem> item) {
  if (!parent->pending.empty() && parent->batch != batch) Commit(parent);
  if (parent->pending.empty()) {
    parent->batch = batch;
    m_waiting.push_back(parent->handle);
    if (!m_commitTimer.isActive()) m_commitTimer.start();
  }
  parent->pending.push_back(std::move(item));
}

void TreeModel::InsertNow(TreeItem* parent, std::size_t row, std::unique_ptr<TreeItem> item) {
  auto& children = parent->children;
  if (parent->childrenSorted) {
    const bool afterPrevious = row == 0 || CompareItemTexts(children[row - 1]->text, item->text) <= 0;
    const bool beforeNext = row == children.size() || CompareItemTexts(item->text, children[row]->text) <= 0;
    parent->childrenSorted = afterPrevious && beforeNext;
  }
  std::vector<std::unique_ptr<TreeItem>> one;
  one.push_back(std::move(item));
  InsertRun(parent, row, one.begin(), one.end());
}

// Inserts the items [first, last) at `row`, telling the view when it knows
// the parent.
void TreeModel::InsertRun(TreeItem* parent, std::size_t row,
                          std::vector<std::unique_ptr<TreeItem>>::iterator first,
                          std::vector<std::unique_ptr<TreeItem>>::iterator last) {
  const auto count = static_cast<int>(last - first);
  if (count == 0) return;
  const bool shown = parent->inModel;
  if (shown) {
    ++m_changing;
    beginInsertRows(IndexOf(parent), static_cast<int>(row), static_cast<int>(row) + count - 1);
  }
  auto& children = parent->children;
  if (children.insert(row, first, last)) parent->rowsValid = false;
  if (shown) {
    for (std::size_t i = row; i < row + static_cast<std::size_t>(count); ++i) MarkInModel(*children[i]);
    endInsertRows();
    --m_changing;
  }
}

// --- Taking batches in -------------------------------------------------------------------

void TreeModel::Commit(TreeItem* parent) {
  if (!parent || parent->pending.empty()) return;
  if (parent->batch == TreeItem::Batch::Sorted) {
    CommitSorted(parent);
  } else {
    auto& children = parent->children;
    auto& batch = parent->pending;
    if (parent->childrenSorted) {
      const bool joins = children.empty() || CompareItemTexts(children.back()->text, batch.front()->text) <= 0;
      parent->childrenSorted = joins && std::is_sorted(batch.begin(), batch.end(), TextLess);
    }
    std::vector<std::unique_ptr<TreeItem>> items = std::move(batch);
    batch.clear();
    InsertRun(parent, children.size(), items.begin(), items.end());
  }
}

void TreeModel::CommitSorted(TreeItem* parent) {
  auto& children = parent->children;
  std::vector<std::unique_ptr<TreeItem>> batch = std::move(parent->pending);
  parent->pending.clear();
  if (!parent->childrenSorted) {
    parent->childrenSorted = std::is_sorted(children.begin(), children.end(), TextLess);
  }
  if (!parent->childrenSorted) {
    // One binary search per item in the order given, as single insertions
    // into an unsorted list would do.
    for (auto& item : batch) {
      const std::size_t row = SortedPlace(children, item->text);
      std::vector<std::unique_ptr<TreeItem>> one;
      one.push_back(std::move(item));
      InsertRun(parent, row, one.begin(), one.end());
    }
    return;
  }
  // Sorted children: a stable sort of the batch and a merge that keeps the
  // older of equal texts first gives the order of one insertion after the
  // other. The runs go in from the back, so earlier rows stay put.
  std::stable_sort(batch.begin(), batch.end(), TextLess);
  std::vector<std::size_t> places(batch.size());
  for (std::size_t i = 0; i < batch.size(); ++i) places[i] = SortedPlace(children, batch[i]->text);
  std::size_t end = batch.size();
  while (end > 0) {
    std::size_t begin = end - 1;
    while (begin > 0 && places[begin - 1] == places[end - 1]) --begin;
    InsertRun(parent, places[begin], batch.begin() + static_cast<std::ptrdiff_t>(begin),
              batch.begin() + static_cast<std::ptrdiff_t>(end));
    end = begin;
  }
}

void TreeModel::CommitAll() {
  std::vector<HTREEITEM> waiting;
  waiting.swap(m_waiting);
  for (HTREEITEM handle : waiting) Commit(FindParent(handle));
}

void TreeModel::CommitPath(TreeItem* item) {
  if (!item || !item->parent) return;
  CommitPath(item->parent);
  Commit(item->parent);
}

// --- Deleting and changing ---------------------------------------------------------------

void TreeModel::Forget(TreeItem* item) {
  m_items.erase(item->handle);
  for (auto& child : item->children) Forget(child.get());
  for (auto& child : item->pending) Forget(child.get());
}

void TreeModel::Delete(TreeItem* item) {
  if (!item || item == &m_root) return DeleteAll();
  TreeItem* parent = item->parent;
  Commit(parent);  // the item may still wait in a batch
  if (IsWithin(m_selected, item)) m_selected = nullptr;
  Forget(item);
  const std::size_t row = RowOf(item);
  auto& children = parent->children;
  if (parent->inModel) {
    ++m_changing;
    beginRemoveRows(IndexOf(parent), static_cast<int>(row), static_cast<int>(row));
  }
  if (children.erase(row)) parent->rowsValid = false;
  if (parent->inModel) {
    endRemoveRows();
    --m_changing;
  }
}

void TreeModel::DeleteAll() {
  ++m_changing;
  beginResetModel();
  m_root.children.clear();
  m_root.pending.clear();
  m_root.childrenSorted = true;
  m_root.rowsValid = true;
  m_items.clear();
  m_waiting.clear();
  m_selected = nullptr;
  endResetModel();
  --m_changing;
}

void TreeModel::SetText(TreeItem* item, const char* text) {
  TreeItem* parent = item->parent;
  Commit(parent);
  item->text = text ? text : "";
  if (parent->childrenSorted) {
    const std::size_t row = RowOf(item);
    const auto& children = parent->children;
    const bool afterPrevious = row == 0 || CompareItemTexts(children[row - 1]->text, item->text) <= 0;
    const bool beforeNext = row + 1 == children.size() || CompareItemTexts(item->text, children[row + 1]->text) <= 0;
    parent->childrenSorted = afterPrevious && beforeNext;
  }
  RowChanged(item);
}

void TreeModel::SetImages(TreeItem* item, int image, int selectedImage) {
  item->image = image;
  item->selectedImage = selectedImage;
  RowChanged(item);
}

void TreeModel::SetSelected(TreeItem* item) {
  TreeItem* previous = m_selected;
  m_selected = item;
  // The selected image shows while an item is selected.
  if (previous) RowChanged(previous);
  if (item) RowChanged(item);
}

void TreeModel::SetImageList(HIMAGELIST list) {
  m_imageList = list;
  RefreshAll();
}

void TreeModel::RefreshAll() {
  ++m_changing;
  emit layoutAboutToBeChanged();
  emit layoutChanged();
  --m_changing;
}

void TreeModel::RowChanged(TreeItem* item) {
  if (!item->inModel || !item->parent || !item->parent->inModel) return;
  const QModelIndex index = IndexOf(item);
  if (index.isValid()) emit dataChanged(index, index);
}

// --- Rows and indexes ----------------------------------------------------------------------

std::size_t TreeModel::RowOf(const TreeItem* item) const {
  TreeItem* parent = item->parent;
  if (!parent->rowsValid) {
    parent->children.Renumber();
    parent->rowsValid = true;
  }
  return parent->children.RowOfSlot(item->row);
}

QModelIndex TreeModel::IndexOf(const TreeItem* item) const {
  if (!item || item == &m_root || !item->inModel) return {};
  return createIndex(static_cast<int>(RowOf(item)), 0, const_cast<TreeItem*>(item));
}

TreeItem* TreeModel::ItemOf(const QModelIndex& index) const {
  return index.isValid() ? static_cast<TreeItem*>(index.internalPointer()) : nullptr;
}

QModelIndex TreeModel::index(int row, int column, const QModelIndex& parent) const {
  const TreeItem* item = parent.isValid() ? ItemOf(parent) : &m_root;
  if (column != 0 || row < 0 || static_cast<std::size_t>(row) >= item->children.size()) return {};
  return createIndex(row, 0, item->children[static_cast<std::size_t>(row)].get());
}

QModelIndex TreeModel::parent(const QModelIndex& child) const {
  const TreeItem* item = ItemOf(child);
  return item ? IndexOf(item->parent) : QModelIndex();
}

int TreeModel::rowCount(const QModelIndex& parent) const {
  if (parent.column() > 0) return 0;
  const TreeItem* item = parent.isValid() ? ItemOf(parent) : &m_root;
  return static_cast<int>(item->children.size());
}

int TreeModel::columnCount(const QModelIndex&) const { return 1; }

QVariant TreeModel::data(const QModelIndex& index, int role) const {
  const TreeItem* item = ItemOf(index);
  if (!item) return {};
  if (role == Qt::DisplayRole) return ToQt(item->text);
  if (role == Qt::DecorationRole) {
    const QSize size = ImageListSize(m_imageList);
    if (size.isEmpty()) return {};
    const QVariant picture =
        ImageListDecoration(m_imageList, item == m_selected ? item->selectedImage : item->image);
    if (picture.isValid()) return picture;
    // An image the list lacks leaves its place empty, so texts line up.
    QPixmap empty(size);
    empty.fill(Qt::transparent);
    return empty;
  }
  return {};
}

Qt::ItemFlags TreeModel::flags(const QModelIndex& index) const {
  return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

}  // namespace platform::ui
