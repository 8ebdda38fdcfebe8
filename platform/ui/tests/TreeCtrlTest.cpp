// The tree view on real widgets: items and handles, sorted insertion,
// navigation, the one expansion path with its notifications, mouse and
// keys in the original control's order, pictures, and both ways to make a
// tree (template and Create).
#include "platform/TreeCtrl.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "platform/Crt.h"
#include "platform/Dialog.h"
#include "platform/ImageList.h"
#include "platform/Resource.h"
#include "platform/testing/TreeViewDriver.h"
#include "platform/testing/UiDriver.h"

namespace {

using namespace platform::testing;

constexpr UINT kTreeDialogId = 9251;
constexpr UINT kTreeBitmapId = 9252;
constexpr int kTreeId = 301;
constexpr int kMadeTreeId = 302;

// Three images, 4 pixels wide: red, green, blue.
constexpr const char* kBitmap[] = {"12 4 3 1", "r c #FF0000", "g c #00FF00", "b c #0000FF",
                                   "rrrrggggbbbb", "rrrrggggbbbb", "rrrrggggbbbb",
                                   "rrrrggggbbbb"};
constexpr platform::BitmapResource kBitmaps[] = {{kTreeBitmapId, kBitmap}};
constexpr platform::DialogItem kItems[] = {
    platform::Control("", kTreeId, "SysTreeView32",
                      TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | WS_BORDER | WS_TABSTOP, 5,
                      5, 150, 140),
    platform::DefPushButton("OK", IDOK, 165, 5, 50, 14),
};
constexpr platform::DialogTemplate kDialogs[] = {
    {kTreeDialogId, "Trees", WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU, 0, 0, 0, 320, 150,
     "MS Sans Serif", 8, kItems},
};
constexpr platform::ResourceModule kModule{"tree_tests", kDialogs, {}, {}, kBitmaps};
const platform::ResourceRegistration g_resources(kModule);

// One notification as a handler saw it.
struct Heard {
  UINT code;
  UINT_PTR id;
  HTREEITEM item;      // itemNew of a TVN_* record, else null
  HTREEITEM selected;  // the tree's selection at that moment
  bool childrenShown;  // for TVN_ITEMEXPANDING: the item's children were on screen
};

// A tree that records its own (reflected) notifications and may answer
// them or act on them. Its handlers call their bases, so the parent hears
// every notification too, unless `consumed` names the code: that handler
// keeps it.
class CRecordingTree : public CTreeCtrl {
public:
  std::vector<Heard> heard;
  std::function<void(NMTREEVIEW&)> onExpanding;
  LRESULT answerExpanding = 0;
  LRESULT answerDoubleClick = 0;
  std::vector<UINT> consumed;

protected:
  void Record(NMHDR* header) {
    const HTREEITEM item = header->code == TVN_SELCHANGED || header->code == TVN_ITEMEXPANDING ||
                                   header->code == TVN_ITEMEXPANDED
                               ? reinterpret_cast<NMTREEVIEW*>(header)->itemNew.hItem
                               : nullptr;
    bool shown = false;
    if (header->code == TVN_ITEMEXPANDING) {
      for (const std::string& line : TreeLines(*this)) shown = shown || line.find("- ") != std::string::npos;
    }
    heard.push_back({header->code, header->idFrom, item, GetSelectedItem(), shown});
  }
  // False for a code this tree keeps (its handler does not call its base).
  bool PassesOn(const NMHDR* header) const {
    return std::find(consumed.begin(), consumed.end(), header->code) == consumed.end();
  }
  void OnTreeClick(NMHDR* header, LRESULT* result) override {
    Record(header);
    if (PassesOn(header)) CTreeCtrl::OnTreeClick(header, result);
  }
  void OnTreeRightClick(NMHDR* header, LRESULT* result) override {
    Record(header);
    if (PassesOn(header)) CTreeCtrl::OnTreeRightClick(header, result);
  }
  void OnTreeDoubleClick(NMHDR* header, LRESULT* result) override {
    Record(header);
    *result = answerDoubleClick;
    if (PassesOn(header)) CTreeCtrl::OnTreeDoubleClick(header, result);
  }
  void OnTreeSelChange(NMHDR* header, LRESULT* result) override {
    Record(header);
    if (PassesOn(header)) CTreeCtrl::OnTreeSelChange(header, result);
  }
  void OnItemExpanding(NMHDR* header, LRESULT* result) override {
    Record(header);
    if (onExpanding) onExpanding(*reinterpret_cast<NMTREEVIEW*>(header));
    *result = answerExpanding;
    if (PassesOn(header)) CTreeCtrl::OnItemExpanding(header, result);
  }
  void OnItemExpanded(NMHDR* header, LRESULT* result) override {
    Record(header);
    if (PassesOn(header)) CTreeCtrl::OnItemExpanded(header, result);
  }
};

class CTreeDialog : public CDialog {
public:
  CTreeDialog() : CDialog(kTreeDialogId) {}
  CRecordingTree m_tree;
  std::vector<std::pair<UINT_PTR, UINT>> m_notes;  // id, code
  LRESULT m_answerExpanding = 0;

protected:
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    m_tree.SubclassDlgItem(kTreeId, this);
    return TRUE;
  }
  BOOL OnNotify(WPARAM, LPARAM lParam, LRESULT* result) override {
    const auto* header = reinterpret_cast<NMHDR*>(lParam);
    m_notes.emplace_back(header->idFrom, header->code);
    if (header->code == TVN_ITEMEXPANDING) *result = m_answerExpanding;
    return TRUE;
  }
};

class Tree : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(m_dialog.Create(kTreeDialogId));
    ProcessEvents();
  }
  std::vector<std::string> Children(HTREEITEM parent) {
    std::vector<std::string> texts;
    for (HTREEITEM item = tree.GetChildItem(parent); item; item = tree.GetNextSiblingItem(item)) {
      texts.push_back(std::string(tree.GetItemText(item)));
    }
    return texts;
  }
  std::vector<UINT> Codes() {
    std::vector<UINT> codes;
    for (const Heard& h : tree.heard) codes.push_back(h.code);
    return codes;
  }
  CTreeDialog m_dialog;
  CRecordingTree& tree = m_dialog.m_tree;
};

// --- Items and handles ------------------------------------------------------------------

TEST_F(Tree, SortedInsertionMatchesOneByOneInsertionWithoutRegardToCase) {
  std::mt19937 random(7);
  const char* stems[] = {"alpha", "Alpha", "ALPHA", "beta", " Bilder", "b", "B", "", "zeta", "Z"};
  std::vector<std::string> expected;
  HTREEITEM parent = tree.InsertItem("parent");
  tree.Expand(tree.InsertItem("x", parent), TVE_EXPAND);  // the parent is shown
  expected.push_back("x");
  for (int i = 0; i < 3000; ++i) {
    std::string text = stems[random() % 10];
    text += std::to_string(random() % 50);
    const bool last = random() % 7 == 0;
    tree.InsertItem(text.c_str(), parent, last ? TVI_LAST : TVI_SORT);
    // The reference: after every sibling that is not greater.
    auto place = last ? expected.end()
                      : std::upper_bound(expected.begin(), expected.end(), text,
                                         [](const std::string& a, const std::string& b) {
                                           return _stricmp(a.c_str(), b.c_str()) < 0;
                                         });
    expected.insert(place, text);
    if (i % 500 == 0) ProcessEvents();  // the view takes batches in meanwhile
  }
  EXPECT_EQ(Children(parent), expected);
  EXPECT_EQ(tree.GetCount(), 3002u);
}

TEST_F(Tree, FirstAndAfterPlaceItemsWhereAsked) {
  HTREEITEM b = tree.InsertItem("b");
  tree.InsertItem("d");
  tree.InsertItem("a", TVI_ROOT, TVI_FIRST);
  tree.InsertItem("c", TVI_ROOT, b);
  EXPECT_EQ(Children(TVI_ROOT), (std::vector<std::string>{"a", "b", "c", "d"}));
  HTREEITEM other = tree.InsertItem("child", b);
  EXPECT_EQ(tree.InsertItem("x", TVI_ROOT, other), nullptr);  // not a sibling
}

TEST_F(Tree, DeletedHandlesAreDeadAndNeverReused) {
  HTREEITEM folder = tree.InsertItem("folder");
  HTREEITEM file = tree.InsertItem("file", folder);
  ASSERT_TRUE(tree.DeleteItem(folder));
  EXPECT_EQ(tree.GetCount(), 0u);
  EXPECT_EQ(tree.GetItemText(file), "");
  EXPECT_FALSE(tree.SetItemText(file, "x"));
  EXPECT_EQ(tree.InsertItem("orphan", file), nullptr);
  EXPECT_FALSE(tree.DeleteItem(file));
  EXPECT_FALSE(tree.Expand(folder, TVE_EXPAND));
  EXPECT_FALSE(tree.SelectItem(folder));
  EXPECT_EQ(tree.GetNextSiblingItem(folder), nullptr);
  HTREEITEM fresh = tree.InsertItem("fresh");
  EXPECT_NE(fresh, folder);
  EXPECT_NE(fresh, file);
  CTreeCtrl other;
  ASSERT_TRUE(other.Create(WS_VISIBLE, RECT{0, 0, 50, 50}, &m_dialog, kMadeTreeId));
  EXPECT_EQ(other.GetItemText(fresh), "");  // another tree's handle
}

TEST_F(Tree, DeletingFromEitherEndOrTheMiddleKeepsTheOrder) {
  HTREEITEM folder = tree.InsertItem("folder");
  std::vector<std::string> expected;
  for (int i = 0; i < 300; ++i) {
    expected.push_back("item" + std::to_string(1000 + i));
    tree.InsertItem(expected.back().c_str(), folder, TVI_SORT);
  }
  tree.Expand(folder, TVE_EXPAND);
  // From the front, as emptying a folder does (the freed places are given
  // back on the way), then from the end and the middle.
  for (int i = 0; i < 200; ++i) {
    ASSERT_TRUE(tree.DeleteItem(tree.GetChildItem(folder)));
    expected.erase(expected.begin());
  }
  HTREEITEM last = tree.GetChildItem(folder);
  while (HTREEITEM next = tree.GetNextSiblingItem(last)) last = next;
  tree.DeleteItem(last);
  expected.pop_back();
  tree.DeleteItem(tree.GetNextSiblingItem(tree.GetChildItem(folder)));
  expected.erase(expected.begin() + 1);
  EXPECT_EQ(Children(folder), expected);
  EXPECT_EQ(tree.GetPrevSiblingItem(tree.GetNextSiblingItem(tree.GetChildItem(folder))),
            tree.GetChildItem(folder));
  const std::vector<std::string> lines = TreeLines(tree);
  ASSERT_EQ(lines.size(), expected.size() + 1);
  EXPECT_EQ(lines[1], "    " + expected[0]);
  EXPECT_EQ(lines.back(), "    " + expected.back());
  tree.InsertItem("item0000", folder, TVI_SORT);
  EXPECT_EQ(tree.GetItemText(tree.GetChildItem(folder)), "item0000");
}

TEST_F(Tree, NavigationFollowsParentsSiblingsAndTheShownOrder) {
  HTREEITEM a = tree.InsertItem("A");
  HTREEITEM a1 = tree.InsertItem("A1", a);
  HTREEITEM a2 = tree.InsertItem("A2", a);
  HTREEITEM a11 = tree.InsertItem("A11", a1);
  HTREEITEM b = tree.InsertItem("B");
  EXPECT_EQ(tree.GetRootItem(), a);
  EXPECT_EQ(tree.GetChildItem(TVI_ROOT), a);
  EXPECT_EQ(tree.GetChildItem(a), a1);
  EXPECT_EQ(tree.GetNextSiblingItem(a1), a2);
  EXPECT_EQ(tree.GetPrevSiblingItem(a2), a1);
  EXPECT_EQ(tree.GetNextSiblingItem(a2), nullptr);
  EXPECT_EQ(tree.GetParentItem(a11), a1);
  EXPECT_EQ(tree.GetParentItem(a), nullptr);
  EXPECT_TRUE(tree.ItemHasChildren(a1));
  EXPECT_FALSE(tree.ItemHasChildren(a2));
  // Collapsed: the next visible item after A is B.
  EXPECT_EQ(tree.GetNextVisibleItem(a), b);
  tree.Expand(a, TVE_EXPAND);
  EXPECT_EQ(tree.GetNextVisibleItem(a), a1);
  EXPECT_EQ(tree.GetNextVisibleItem(a1), a2);
  tree.Expand(a1, TVE_EXPAND);
  EXPECT_EQ(tree.GetNextVisibleItem(a1), a11);
  EXPECT_EQ(tree.GetNextVisibleItem(a11), a2);
  EXPECT_EQ(tree.GetNextVisibleItem(b), nullptr);
  EXPECT_EQ(tree.GetCount(), 5u);
  EXPECT_TRUE(tree.DeleteItem(a1));
  EXPECT_EQ(tree.GetCount(), 3u);
  EXPECT_TRUE(tree.DeleteAllItems());
  EXPECT_EQ(tree.GetRootItem(), nullptr);
}

// --- Expansion --------------------------------------------------------------------------------

TEST_F(Tree, ExpandingNotifiesBeforeTheChildrenShowSoAHandlerCanFillThem) {
  HTREEITEM folder = tree.InsertItem("folder");
  tree.InsertItem("__placeholder__", folder);
  tree.onExpanding = [&](NMTREEVIEW& record) {
    EXPECT_EQ(record.action, static_cast<UINT>(TVE_EXPAND));
    tree.DeleteItem(tree.GetChildItem(record.itemNew.hItem));
    tree.InsertItem("b.txt", record.itemNew.hItem, TVI_SORT);
    tree.InsertItem("a.txt", record.itemNew.hItem, TVI_SORT);
  };
  EXPECT_EQ(tree.GetItemState(folder, TVIS_EXPANDED | TVIS_EXPANDEDONCE), 0u);
  EXPECT_TRUE(tree.Expand(folder, TVE_EXPAND));
  EXPECT_EQ(TreeLines(tree), (std::vector<std::string>{"- folder", "    a.txt", "    b.txt"}));
  EXPECT_EQ(Codes(), (std::vector<UINT>{TVN_ITEMEXPANDING, TVN_ITEMEXPANDED}));
  EXPECT_FALSE(tree.heard[0].childrenShown);
  EXPECT_EQ(tree.heard[0].item, folder);
  EXPECT_EQ(tree.GetItemState(folder, TVIS_EXPANDED | TVIS_EXPANDEDONCE),
            TVIS_EXPANDED | TVIS_EXPANDEDONCE);
  // The parent hears of both after the control.
  EXPECT_EQ(m_dialog.m_notes, (std::vector<std::pair<UINT_PTR, UINT>>{
                                  {kTreeId, TVN_ITEMEXPANDING}, {kTreeId, TVN_ITEMEXPANDED}}));
  tree.onExpanding = nullptr;
  EXPECT_TRUE(tree.Expand(folder, TVE_COLLAPSE));
  EXPECT_EQ(tree.heard.back().code, TVN_ITEMEXPANDED);
  EXPECT_EQ(tree.GetItemState(folder, TVIS_EXPANDED | TVIS_EXPANDEDONCE), TVIS_EXPANDEDONCE);
  EXPECT_EQ(TreeLines(tree), (std::vector<std::string>{"+ folder"}));
  EXPECT_FALSE(tree.Expand(folder, TVE_COLLAPSE));  // already collapsed
}

TEST_F(Tree, AnExpansionStopsWhenAHandlerSaysSoOrNothingIsLeftToShow) {
  HTREEITEM folder = tree.InsertItem("folder");
  tree.InsertItem("child", folder);
  m_dialog.m_answerExpanding = 1;
  EXPECT_FALSE(tree.Expand(folder, TVE_EXPAND));
  EXPECT_EQ(tree.GetItemState(folder, TVIS_EXPANDED), 0u);
  m_dialog.m_answerExpanding = 0;
  tree.onExpanding = [&](NMTREEVIEW& record) { tree.DeleteItem(tree.GetChildItem(record.itemNew.hItem)); };
  EXPECT_FALSE(tree.Expand(folder, TVE_EXPAND));  // emptied by the handler
  EXPECT_EQ(tree.GetItemState(folder, TVIS_EXPANDED | TVIS_EXPANDEDONCE), TVIS_EXPANDEDONCE);
  HTREEITEM leaf = tree.InsertItem("leaf");
  tree.heard.clear();
  EXPECT_FALSE(tree.Expand(leaf, TVE_EXPAND));
  EXPECT_TRUE(tree.heard.empty());
}

TEST_F(Tree, CollapsingAnItemThatHoldsTheSelectionSelectsTheItem) {
  HTREEITEM folder = tree.InsertItem("folder");
  HTREEITEM file = tree.InsertItem("file", folder);
  ASSERT_TRUE(tree.SelectItem(file));  // expands the folder on the way
  EXPECT_EQ(tree.GetItemState(folder, TVIS_EXPANDED), TVIS_EXPANDED);
  EXPECT_TRUE(tree.Expand(folder, TVE_TOGGLE));
  EXPECT_EQ(tree.GetSelectedItem(), folder);
  EXPECT_EQ(TreeLines(tree), (std::vector<std::string>{"+ folder*"}));
}

// --- Mouse and keys ------------------------------------------------------------------------------

TEST_F(Tree, AClickIsReportedBeforeTheSelectionItCauses) {
  HTREEITEM first = tree.InsertItem("first");
  HTREEITEM second = tree.InsertItem("second");
  tree.SelectItem(first);
  tree.heard.clear();
  m_dialog.m_notes.clear();
  ClickTreeItem(tree, second);
  ASSERT_EQ(Codes(), (std::vector<UINT>{NM_CLICK, TVN_SELCHANGED}));
  EXPECT_EQ(tree.heard[0].selected, first);
  EXPECT_EQ(tree.heard[1].item, second);
  EXPECT_EQ(tree.GetSelectedItem(), second);
  EXPECT_EQ(m_dialog.m_notes, (std::vector<std::pair<UINT_PTR, UINT>>{{kTreeId, NM_CLICK},
                                                                       {kTreeId, TVN_SELCHANGED}}));
  tree.heard.clear();
  RightClickTreeItem(tree, first);
  EXPECT_EQ(Codes(), (std::vector<UINT>{NM_RCLICK}));
  EXPECT_EQ(tree.GetSelectedItem(), second);
}

TEST_F(Tree, TheButtonAndADoubleClickExpandThroughTheSamePath) {
  HTREEITEM folder = tree.InsertItem("folder");
  tree.InsertItem("child", folder);
  ClickTreeButton(tree, folder);
  EXPECT_EQ(TreeLines(tree), (std::vector<std::string>{"- folder", "    child"}));
  EXPECT_EQ(Codes(), (std::vector<UINT>{NM_CLICK, TVN_ITEMEXPANDING, TVN_ITEMEXPANDED}));
  EXPECT_EQ(tree.GetSelectedItem(), nullptr);  // the button does not select
  tree.heard.clear();
  DoubleClickTreeItem(tree, folder);
  EXPECT_EQ(Codes(), (std::vector<UINT>{NM_CLICK, TVN_SELCHANGED, NM_DBLCLK, TVN_ITEMEXPANDING,
                                        TVN_ITEMEXPANDED}));
  EXPECT_EQ(TreeLines(tree), (std::vector<std::string>{"+ folder*"}));
  tree.answerDoubleClick = 1;  // handled: no toggling
  DoubleClickTreeItem(tree, folder);
  EXPECT_EQ(TreeLines(tree), (std::vector<std::string>{"+ folder*"}));
}

TEST_F(Tree, KeysMoveTheSelectionAndExpandAndCollapse) {
  HTREEITEM a = tree.InsertItem("A");
  HTREEITEM child = tree.InsertItem("child", a);
  HTREEITEM b = tree.InsertItem("B");
  tree.SelectItem(a);
  PressTreeKey(tree, TreeKey::Right);
  EXPECT_EQ(tree.GetItemState(a, TVIS_EXPANDED), TVIS_EXPANDED);
  PressTreeKey(tree, TreeKey::Right);
  EXPECT_EQ(tree.GetSelectedItem(), child);
  PressTreeKey(tree, TreeKey::Left);
  EXPECT_EQ(tree.GetSelectedItem(), a);
  PressTreeKey(tree, TreeKey::Minus);
  EXPECT_EQ(tree.GetItemState(a, TVIS_EXPANDED), 0u);
  tree.heard.clear();
  PressTreeKey(tree, TreeKey::Down);
  EXPECT_EQ(tree.GetSelectedItem(), b);
  ASSERT_EQ(Codes(), (std::vector<UINT>{TVN_SELCHANGED}));
}

TEST_F(Tree, ANotificationTheTreesClassHandlesDoesNotReachTheParent) {
  HTREEITEM folder = tree.InsertItem("folder");
  tree.InsertItem("child", folder);
  HTREEITEM other = tree.InsertItem("other");
  tree.consumed = {TVN_SELCHANGED, TVN_ITEMEXPANDING, NM_DBLCLK};
  using Notes = std::vector<std::pair<UINT_PTR, UINT>>;
  ClickTreeItem(tree, other);
  EXPECT_EQ(Codes(), (std::vector<UINT>{NM_CLICK, TVN_SELCHANGED}));
  EXPECT_EQ(m_dialog.m_notes, (Notes{{kTreeId, NM_CLICK}}));
  // The parent is not asked about an expansion the tree handles: its "stop"
  // does not count; the tree's own answer does.
  m_dialog.m_notes.clear();
  m_dialog.m_answerExpanding = 1;
  EXPECT_TRUE(tree.Expand(folder, TVE_EXPAND));
  EXPECT_EQ(m_dialog.m_notes, (Notes{{kTreeId, TVN_ITEMEXPANDED}}));
  tree.answerExpanding = 1;
  EXPECT_FALSE(tree.Expand(folder, TVE_COLLAPSE));
  EXPECT_EQ(tree.GetItemState(folder, TVIS_EXPANDED), TVIS_EXPANDED);
  // Enter has no handler of the tree: the parent always hears it.
  m_dialog.m_notes.clear();
  PressTreeKey(tree, TreeKey::Enter);
  EXPECT_EQ(m_dialog.m_notes, (Notes{{kTreeId, NM_RETURN}}));
}

// --- Pictures and making trees -----------------------------------------------------------------------

TEST_F(Tree, ItemsShowTheirImageAndTheSelectedImageWhileSelected) {
  CImageList images;
  ASSERT_TRUE(images.Create(kTreeBitmapId, 4, 1, CLR_NONE));
  EXPECT_EQ(tree.SetImageList(&images, TVSIL_NORMAL), nullptr);
  EXPECT_EQ(tree.GetImageList(TVSIL_NORMAL), &images);
  HTREEITEM plain = tree.InsertItem("plain");
  HTREEITEM file = tree.InsertItem("file", 1, 2, TVI_ROOT, TVI_LAST);
  HTREEITEM odd = tree.InsertItem("odd", 7, 7, TVI_ROOT, TVI_LAST);
  EXPECT_EQ(ShownTreeImage(tree, plain), 0);  // inserted without images: image 0
  EXPECT_EQ(ShownTreeImage(tree, file), 1);
  EXPECT_EQ(ShownTreeImage(tree, odd), -1);   // the list has no image 7
  tree.SelectItem(file);
  EXPECT_EQ(ShownTreeImage(tree, file), 2);
  EXPECT_EQ(tree.SetImageList(nullptr, TVSIL_NORMAL), &images);
  EXPECT_EQ(ShownTreeImage(tree, file), -1);
}

TEST(TreeCreate, ATreeMadeByCodeReportsToItsParent) {
  CTreeDialog dialog;
  ASSERT_TRUE(dialog.Create(kTreeDialogId));
  CRecordingTree made;
  ASSERT_TRUE(made.Create(WS_VISIBLE | WS_BORDER | TVS_LINESATROOT, RECT{10, 10, 110, 90}, &dialog,
                          kMadeTreeId));
  EXPECT_FALSE(made.Create(WS_VISIBLE, RECT{0, 0, 1, 1}, &dialog, kMadeTreeId));
  EXPECT_EQ(dialog.GetDlgItem(kMadeTreeId), &made);
  HTREEITEM item = made.InsertItem("item");
  made.InsertItem("child", item);
  ProcessEvents();
  ClickTreeButton(made, item);
  EXPECT_EQ(made.GetItemState(item, TVIS_EXPANDED), TVIS_EXPANDED);
  EXPECT_EQ(dialog.m_notes, (std::vector<std::pair<UINT_PTR, UINT>>{
                                {kMadeTreeId, NM_CLICK},
                                {kMadeTreeId, TVN_ITEMEXPANDING},
                                {kMadeTreeId, TVN_ITEMEXPANDED}}));
  CTreeCtrl orphan;
  EXPECT_FALSE(orphan.Create(WS_VISIBLE, RECT{0, 0, 1, 1}, nullptr, 1));
  EXPECT_EQ(orphan.InsertItem("x"), nullptr);
}

TEST(TreeCreate, TheWindowGoesWithTheObjectThatMadeIt) {
  CTreeDialog dialog;
  ASSERT_TRUE(dialog.Create(kTreeDialogId));
  HWND handle = nullptr;
  {
    CTreeCtrl made;
    ASSERT_TRUE(made.Create(WS_VISIBLE, RECT{0, 0, 50, 50}, &dialog, kMadeTreeId));
    handle = made.m_hWnd;
    made.InsertItem("x");
  }
  ProcessEvents();
  EXPECT_EQ(CWnd::FromHandle(handle), nullptr);
  EXPECT_EQ(dialog.GetDlgItem(kMadeTreeId), nullptr);
}

}  // namespace
