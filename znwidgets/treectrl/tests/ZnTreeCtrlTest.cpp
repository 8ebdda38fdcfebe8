// The tree control's core on real widgets and real folders: lazy folder
// reading under "Dateien", item paths and texts, the handlers (clicks,
// double clicks that run files), the progress dialog and the icons.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "TreeTestDialog.h"
#include "platform/ImageList.h"
#include "platform/testing/TempDrive.h"
#include "platform/testing/TreeViewDriver.h"
#include "platform/testing/UiDriver.h"
#include "platform/testing/UiRecorders.h"
#include "znwidgets/ZnProgressDlg.h"

namespace {

using namespace platform::testing;
using Lines = std::vector<std::string>;

class ZnTree : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(m_dialog.Create(kTreeTestDialogId));
    m_drive.WriteFile("Bilder/a.jpg", "jpg");
    m_drive.WriteFile("Bilder/Urlaub/b.jpg", "jpg");
    m_drive.WriteFile("a.txt", "text");
  }
  // Dateien > T: (DATA) > placeholder, as the drive filler makes it.
  HTREEITEM FileTree() {
    HTREEITEM top = tree.InsertItem(ZN_TREE_FILES_ITEM);
    HTREEITEM drive = tree.InsertItem("T: (DATA) (Fixed)", top);
    tree.InsertItem(ZN_TREE_PLACEHOLDER, drive);
    tree.Expand(top, TVE_EXPAND);
    return drive;
  }
  TempDrive m_drive{'T'};
  CTreeTestDialog m_dialog;
  CTestTree& tree = m_dialog.m_tree;
};

// --- Lazy folder reading -------------------------------------------------------------------

TEST_F(ZnTree, ExpandingUnderDateienReadsTheFolderOnceInPlaceOfThePlaceholder) {
  HTREEITEM drive = FileTree();
  ClickTreeButton(tree, drive);
  EXPECT_EQ(tree.GetTreeType(), ZN_TREE_FILES);
  EXPECT_EQ(TreeLines(tree), (Lines{"- Dateien", "  - T: (DATA) (Fixed)", "    +  Bilder",
                                    "      a.txt"}));
  HTREEITEM pictures = ChildNamed(tree, drive, " Bilder");
  EXPECT_EQ(ChildTexts(tree, pictures), (Lines{ZN_TREE_PLACEHOLDER}));
  // Collapsing and expanding again reads nothing more.
  m_drive.WriteFile("new.txt");
  tree.Expand(drive, TVE_COLLAPSE);
  tree.Expand(drive, TVE_EXPAND);
  EXPECT_EQ(ChildTexts(tree, drive), (Lines{" Bilder", "a.txt"}));
  // A refresh reads the folder anew.
  tree.GetSubFileItems(drive, 1, nullptr);
  EXPECT_EQ(ChildTexts(tree, drive), (Lines{" Bilder", "a.txt", "new.txt"}));
  EXPECT_EQ(tree.GetItemText(pictures), "");  // read anew: the old item is gone
  pictures = ChildNamed(tree, drive, " Bilder");
  tree.Expand(pictures, TVE_EXPAND);
  EXPECT_EQ(ChildTexts(tree, pictures), (Lines{" Urlaub", "a.jpg"}));
}

TEST_F(ZnTree, ExpandingUnderAnotherTopItemMakesAPlainTreeAndReadsNothing) {
  HTREEITEM top = tree.InsertItem("Laufwerke");
  HTREEITEM drive = tree.InsertItem("T: (DATA) (Fixed)", top);
  tree.InsertItem(ZN_TREE_PLACEHOLDER, drive);
  tree.SetTreeType(ZN_TREE_FILES);
  tree.Expand(top, TVE_EXPAND);
  tree.Expand(drive, TVE_EXPAND);
  EXPECT_EQ(tree.GetTreeType(), ZN_TREE_PLAIN);
  EXPECT_EQ(ChildTexts(tree, drive), (Lines{ZN_TREE_PLACEHOLDER}));
}

TEST_F(ZnTree, HandlersSwitchedOffReadNothing) {
  HTREEITEM drive = FileTree();
  tree.m_bHandlersOn = 0;
  tree.Expand(drive, TVE_EXPAND);
  EXPECT_EQ(ChildTexts(tree, drive), (Lines{ZN_TREE_PLACEHOLDER}));
}

TEST_F(ZnTree, ExpandAllReadsEveryFolderAndEndsAtALinkBackUp) {
  m_drive.Symlink(m_drive.Folder(), "Bilder/loop");
  HTREEITEM drive = FileTree();
  tree.ExpandAll();
  EXPECT_EQ(TreeLines(tree),
            (Lines{"- Dateien", "  - T: (DATA) (Fixed)", "    -  Bilder", "         loop",
                   "      -  Urlaub", "          b.jpg", "        a.jpg", "      a.txt"}));
  // The link shows, but its folder (the drive's own) is not read again.
  EXPECT_FALSE(tree.ItemHasChildren(ChildNamed(tree, ChildNamed(tree, drive, " Bilder"), " loop")));
  tree.CollapseAll();
  EXPECT_EQ(TreeLines(tree), (Lines{"+ Dateien"}));
}

// --- Handlers -------------------------------------------------------------------------------------

TEST_F(ZnTree, DoubleClickingAFileRunsItsWholePathAndAFolderOnlyExpands) {
  const std::string odd = "a b;rm -rf x $(touch y).txt";
  m_drive.WriteFile(odd, "text");
  m_drive.MakeDir("x");
  HTREEITEM drive = FileTree();
  tree.Expand(drive, TVE_EXPAND);
  RecordingShell shell;
  DoubleClickTreeItem(tree, ChildNamed(tree, drive, odd));
  ASSERT_EQ(shell.Requests().size(), 1u);
  EXPECT_EQ(shell.Requests()[0].nativePath, m_drive.Native(odd));
  EXPECT_EQ(tree.m_hLastItem, ChildNamed(tree, drive, odd));
  EXPECT_TRUE(m_drive.Exists("x"));
  EXPECT_FALSE(m_drive.Exists("y"));
  HTREEITEM pictures = ChildNamed(tree, drive, " Bilder");
  DoubleClickTreeItem(tree, pictures);
  EXPECT_EQ(shell.Requests().size(), 1u);  // a folder runs nothing
  EXPECT_TRUE(tree.IsItemExpanded(pictures));
  EXPECT_EQ(ChildTexts(tree, pictures), (Lines{" Urlaub", "a.jpg"}));
}

TEST_F(ZnTree, DoubleClickingOutsideAFileTreeRunsNothing) {
  HTREEITEM item = tree.InsertItem("a.txt");
  tree.SetTreeType(ZN_TREE_ZNINI);
  RecordingShell shell;
  DoubleClickTreeItem(tree, item);
  EXPECT_TRUE(shell.Requests().empty());
  EXPECT_EQ(tree.m_hLastItem, item);
}

TEST_F(ZnTree, AClickKeepsTheSelectionBeforeItAndASelectionChangeTheNewOne) {
  HTREEITEM first = tree.InsertItem("first");
  HTREEITEM second = tree.InsertItem("second");
  tree.SelectItem(first);
  EXPECT_EQ(tree.m_hLastItem, first);
  tree.m_hLastItem = nullptr;
  tree.m_bHandlersOn = 0;
  ClickTreeItem(tree, second);
  EXPECT_EQ(tree.m_hLastItem, nullptr);
  tree.m_bHandlersOn = 1;
  ClickTreeItem(tree, first);
  EXPECT_EQ(tree.m_hLastItem, first);  // the selection change followed the click
}

// --- Paths and texts ---------------------------------------------------------------------------------

TEST_F(ZnTree, ItemPathsFollowTheDriveAndSeparatorRules) {
  HTREEITEM top = tree.InsertItem(ZN_TREE_FILES_ITEM);
  HTREEITEM c = tree.InsertItem("C: (DATA) (Fixed)", top);
  HTREEITEM pictures = tree.InsertItem(" Bilder", c);
  HTREEITEM jpg = tree.InsertItem("a.jpg", pictures);
  HTREEITEM d = tree.InsertItem("D: (CD) (CDRom)", top);
  CZnString path;
  struct Row {
    HTREEITEM item;
    char separator;
    int driveRoot, trailing, keepDrive;
    const char* expected;
  };
  const Row rows[] = {
      {pictures, '\\', 1, 0, 1, "C:\\Bilder"},
      {c, '\\', 1, 0, 1, "C:\\"},
      {c, '\\', 1, 1, 1, "C:\\"},
      {pictures, '\\', 1, 1, 1, "C:\\Bilder\\"},
      {d, '\\', 1, 0, 1, "D:\\"},
      {jpg, '\\', 1, 0, 0, "\\Bilder\\a.jpg"},
      {jpg, '/', 1, 1, 1, "C:/Bilder/a.jpg"},  // no children: no trailing separator
      {pictures, '\\', 0, 0, 1, "C: (DATA) (Fixed)\\Bilder"},
      {nullptr, '\\', 1, 0, 1, "\\"},
      {nullptr, '\\', 0, 0, 1, ""},
  };
  for (const Row& row : rows) {
    const CZnString result = tree.GetTreeItemPath(row.item, path, row.separator, row.driveRoot,
                                                  row.trailing, row.keepDrive);
    EXPECT_EQ(result, row.expected);
    EXPECT_EQ(path, row.expected);
  }
  char buffer[MAX_PATH];
  EXPECT_STREQ(tree.GetTreeItemPath(jpg, buffer, '\\', 1, 0, 1), "C:\\Bilder\\a.jpg");
  // A path that does not fit the 260-byte buffer is refused, never cut.
  HTREEITEM deep = tree.InsertItem(std::string(300, 'x').c_str(), pictures);
  EXPECT_STREQ(tree.GetTreeItemPath(deep, buffer, '\\', 1, 0, 1), "");
  EXPECT_EQ(tree.GetTreeItemPath(deep, path, '\\', 1, 0, 1).GetLength(), 10 + 300);
}

TEST_F(ZnTree, LevelsAndTheTextsOfBaseAndParentItems) {
  HTREEITEM a = tree.InsertItem("A");
  HTREEITEM b = tree.InsertItem("B", a);
  EXPECT_EQ(tree.GetItemLevel(a, nullptr), 0);
  EXPECT_EQ(tree.GetItemLevel(b, nullptr), 1);
  HTREEITEM c = tree.InsertItem("C: (DATA) (Fixed)");
  HTREEITEM below = tree.InsertItem("file", tree.InsertItem(" Bilder", c));
  char buffer[MAX_PATH];
  EXPECT_STREQ(tree.GetBaseItemText(below, buffer, 1), "C:");
  EXPECT_STREQ(tree.GetBaseItemText(below, nullptr, 0), "C: (DATA) (Fixed)");
  EXPECT_STREQ(tree.GetParentItemText(below, buffer, 0), " Bilder");
  EXPECT_STREQ(tree.GetParentItemText(c, buffer, 0), "");
  EXPECT_STREQ(tree.GetBaseItemText(nullptr, buffer, 0), "");
  EXPECT_EQ(tree.GetBaseItem(below), c);
  EXPECT_EQ(tree.GetBaseItem(nullptr), nullptr);
  EXPECT_EQ(tree.GetParentItemTextEx(below, 1), " B");
  EXPECT_EQ(tree.GetParentItemTextEx(nullptr, 0), "");
  // The shared buffer holds the latest text of either member.
  const char* shared = tree.GetBaseItemText(b, nullptr, 0);
  tree.GetParentItemText(b, nullptr, 1);
  EXPECT_STREQ(shared, "A");
  // A text longer than a path buffer is cut to fit it.
  HTREEITEM longItem = tree.InsertItem(std::string(400, 'z').c_str());
  EXPECT_EQ(std::string(tree.GetBaseItemText(longItem, buffer, 0)), std::string(259, 'z'));
  EXPECT_EQ(tree.IsItemVisible(a), 1);
  EXPECT_EQ(tree.IsItemVisible(b), 0);
}

TEST_F(ZnTree, TheSharedTextOfBothMembersStaysValidAcrossCalls) {
  // The second text is longer than the first: a buffer that grew for it
  // would leave the first pointer dangling.
  const std::string base(100, 'b');
  const std::string parent(200, 'p');
  HTREEITEM child = tree.InsertItem("c", tree.InsertItem(parent.c_str(), tree.InsertItem(base.c_str())));
  const char* first = tree.GetBaseItemText(child, nullptr, 0);
  const char* second = tree.GetParentItemText(child, nullptr, 0);
  // One buffer, holding the latest text of either member.
  EXPECT_EQ(first, second);
  EXPECT_EQ(std::strcmp(first, second), 0);
  EXPECT_EQ(std::string(first), parent);
  EXPECT_STREQ(tree.GetBaseItemText(child, nullptr, 1), "bb");
  EXPECT_EQ(std::string(second), "bb");
}

TEST_F(ZnTree, ItsNotificationsStayWithTheTreeEvenWhenTheDialogWouldStopThem) {
  HTREEITEM drive = FileTree();
  m_dialog.m_notes.clear();
  // A "stop" from the dialog never counts: the dialog is not asked.
  m_dialog.m_answer = 1;
  ClickTreeButton(tree, drive);
  HTREEITEM pictures = ChildNamed(tree, drive, " Bilder");
  ASSERT_NE(pictures, nullptr);
  ClickTreeItem(tree, pictures);
  DoubleClickTreeItem(tree, pictures);
  RightClickTreeItem(tree, pictures);
  EXPECT_EQ(tree.GetItemState(pictures, TVIS_EXPANDED), TVIS_EXPANDED);
  EXPECT_EQ(tree.m_hLastItem, pictures);
  EXPECT_TRUE(m_dialog.m_notes.empty());
  // Enter is not the tree's: the dialog hears it.
  PressTreeKey(tree, TreeKey::Enter);
  EXPECT_EQ(m_dialog.m_notes, (std::vector<UINT>{NM_RETURN}));
}

// --- Progress dialog and icons ----------------------------------------------------------------------

TEST_F(ZnTree, TheProgressDialogLivesUntilDestroyedAndOutlivesTheTree) {
  tree.DestroyProgressDlg();  // none: nothing happens
  EXPECT_EQ(tree.GetProgressDlg(), nullptr);
  CZnProgressDlg* dialog = nullptr;
  {
    CTreeTestDialog other;
    ASSERT_TRUE(other.Create(kTreeTestDialogId));
    dialog = other.m_tree.CreateProgressDlg("Titel", "Status", 0);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(other.m_tree.GetProgressDlg(), dialog);
    EXPECT_FALSE(dialog->IsWindowVisible());
    CString text;
    dialog->GetWindowText(text);
    EXPECT_EQ(text, "Titel");
    EXPECT_EQ(ShownText(*dialog, IDC_ZN_PROGRESS_STATUS), "Status");
  }
  // The tree object is gone; the dialog object is the owner's to end.
  dialog->DestroyWindow();
  delete dialog;
  CZnProgressDlg* shown = tree.CreateProgressDlg("T", "S", 1);
  ASSERT_NE(shown, nullptr);
  EXPECT_TRUE(shown->IsWindowVisible());
  tree.DestroyProgressDlg();
  EXPECT_EQ(tree.GetProgressDlg(), nullptr);
}

TEST_F(ZnTree, IconsShowFolderFileAndSelectedFileImages) {
  EXPECT_EQ(tree.CreateIcons(4242, 4), 0);  // no such bitmap
  ASSERT_EQ(tree.CreateIcons(kTreeTestBitmapId, 4), 1);
  EXPECT_EQ(tree.CreateIcons(kTreeTestBitmapId, 4), 0);
  HTREEITEM drive = FileTree();
  tree.Expand(drive, TVE_EXPAND);
  HTREEITEM file = ChildNamed(tree, drive, "a.txt");
  EXPECT_EQ(ShownTreeImage(tree, ChildNamed(tree, drive, " Bilder")), 0);
  EXPECT_EQ(ShownTreeImage(tree, file), 1);
  tree.SelectItem(file);
  EXPECT_EQ(ShownTreeImage(tree, file), 10);
  EXPECT_EQ(tree.DestroyIcons(), 1);
  EXPECT_EQ(ShownTreeImage(tree, file), -1);
  EXPECT_EQ(tree.CreateIcons(kTreeTestBitmapId, 4), 1);
}

}  // namespace
