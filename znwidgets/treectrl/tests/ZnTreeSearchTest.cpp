// The searches on real widgets: by whole text, contained text and leading
// part, with selection; and hits in the sections of a real INI file.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "../TreeProgress.h"
#include "TreeTestDialog.h"
#include "platform/testing/TempDrive.h"
#include "platform/testing/TreeViewDriver.h"
#include "platform/testing/UiDriver.h"
#include "znwidgets/ZnProgressDlg.h"

namespace {

using namespace platform::testing;
using Lines = std::vector<std::string>;

class Search : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(m_dialog.Create(kTreeTestDialogId));
    ProcessEvents();
  }
  CTreeTestDialog m_dialog;
  CTestTree& tree = m_dialog.m_tree;
};

TEST_F(Search, WholeAndContainedTexts) {
  HTREEITEM top = tree.InsertItem("Stamm");
  HTREEITEM customers = tree.InsertItem("Kunden", top);
  HTREEITEM inland = tree.InsertItem("Kunden Inland", top);
  // Contained: the first item whose text lies within the search text.
  EXPECT_EQ(tree.FindTreeItem("Kunden Inland", TVI_ROOT, 0, 0, 0, 1, nullptr), customers);
  EXPECT_EQ(tree.FindTreeItem("Kunden Inland", TVI_ROOT, 0, 0, 0, 0, nullptr), inland);
  HTREEITEM upper = tree.InsertItem("KUNDEN");
  EXPECT_EQ(tree.FindTreeItem("kunden", upper, 1, 0, 0, 0, nullptr), upper);
  EXPECT_EQ(tree.FindTreeItem("kunden", upper, 0, 0, 0, 0, nullptr), nullptr);
  EXPECT_EQ(tree.FindTreeItem("die kunden inland", TVI_ROOT, 1, 0, 0, 1, nullptr), customers);
  // By next visible item: under a collapsed item only its first child is
  // searched (nothing else of it shows); expanded, all of it.
  EXPECT_EQ(tree.FindTreeItem("Kunden Inland", TVI_ROOT, 0, 1, 0, 0, nullptr), nullptr);
  tree.Expand(top, TVE_EXPAND);
  EXPECT_EQ(tree.FindTreeItem("Kunden Inland", TVI_ROOT, 0, 1, 0, 0, nullptr), inland);
}

TEST_F(Search, LeadingPartFindsTheItemThatBeginsTheText) {
  HTREEITEM top = tree.InsertItem("Pfade");
  tree.InsertItem("D:\\Bilder", top);
  HTREEITEM pictures = tree.InsertItem("C:\\Bilder", top);
  EXPECT_EQ(tree.FindTreeItemBase("C:\\Bilder\\a.jpg", TVI_ROOT, 0, 0, nullptr), pictures);
  EXPECT_EQ(tree.FindTreeItemBase("c:\\bilder\\a.jpg", TVI_ROOT, 1, 0, nullptr), pictures);
  EXPECT_EQ(tree.FindTreeItemBase("C:\\Bil", TVI_ROOT, 0, 0, nullptr), nullptr);
  HTREEITEM empty = tree.InsertItem("", top);
  EXPECT_EQ(tree.FindTreeItemBase("anything", empty, 0, 0, nullptr), empty);
}

TEST_F(Search, AHitIsSelectedWithItsAncestorsExpanded) {
  HTREEITEM top = tree.InsertItem("Stamm");
  HTREEITEM middle = tree.InsertItem("Kunden", top);
  HTREEITEM deep = tree.InsertItem("Meier", middle);
  tree.SetTreeType(ZN_TREE_ZNINI);
  CZnProgressDlg* dialog = tree.CreateProgressDlg("", "", 1);
  EXPECT_EQ(tree.FindTreeItem("Meier", TVI_ROOT, 0, 0, 1, 0, dialog), deep);
  EXPECT_EQ(ShownText(*dialog, IDC_ZN_PROGRESS_STATUS), "\"Meier\" wird gesucht...");
  tree.DestroyProgressDlg();
  EXPECT_EQ(tree.GetSelectedItem(), deep);
  EXPECT_EQ(TreeLines(tree), (Lines{"- Stamm", "  - Kunden", "      Meier*"}));
  EXPECT_TRUE(HasFocus(m_dialog, kTreeTestTreeId));
}

// Every step reaches the dialog while it lives, so a test sees each position.
class EveryStepShown {
public:
  EveryStepShown() : m_previous(znwidgets::detail::SetTreeProgressInterval(std::chrono::milliseconds(0))) {}
  ~EveryStepShown() { znwidgets::detail::SetTreeProgressInterval(m_previous); }

private:
  std::chrono::milliseconds m_previous;
};

TEST_F(Search, ANestedSearchCountsOnItsOwnAndTheOuterWalkGoesOnFromItsCount) {
  EveryStepShown shown;
  HTREEITEM folder = tree.InsertItem("folder");
  for (int i = 0; i < 60; ++i) tree.InsertItem(("file" + std::to_string(i)).c_str(), folder);
  HTREEITEM wanted = tree.InsertItem("wanted");
  CZnProgressDlg* dialog = tree.CreateProgressDlg("", "", 1);
  ASSERT_NE(dialog, nullptr);
  // The children's search showed 60 of 62; back in the top walk, "wanted"
  // is its second item: 2 of 62.
  EXPECT_EQ(tree.FindTreeItem("wanted", TVI_ROOT, 0, 0, 0, 0, dialog), wanted);
  EXPECT_EQ(ShownText(*dialog, IDC_ZN_PROGRESS_PERCENT), "3%");
  EXPECT_EQ(tree.FindTreeItemBase("wanted", TVI_ROOT, 0, 0, dialog), wanted);
  EXPECT_EQ(ShownText(*dialog, IDC_ZN_PROGRESS_PERCENT), "3%");
  tree.DestroyProgressDlg();
}

TEST_F(Search, NothingFoundLeavesSelectionAndTreeTypeAsTheyWere) {
  HTREEITEM first = tree.InsertItem("first");
  tree.InsertItem("child", first);
  tree.SelectItem(first);
  tree.SetTreeType(ZN_TREE_ZNDATA);
  EXPECT_EQ(tree.FindTreeItem("none", TVI_ROOT, 1, 1, 1, 0, nullptr), nullptr);
  EXPECT_EQ(tree.FindTreeItemBase("none", TVI_ROOT, 1, 1, nullptr), nullptr);
  EXPECT_EQ(tree.GetSelectedItem(), first);
  EXPECT_EQ(tree.GetTreeType(), ZN_TREE_ZNDATA);
  EXPECT_EQ(tree.FindTreeItem("x", nullptr, 0, 0, 1, 0, nullptr), nullptr);  // no start item
}

TEST_F(Search, ManyExpandedFoldersSearchedByVisibleItemsEndSoon) {
  // Each expanded level would double the walk if items were searched again.
  HTREEITEM last = nullptr;
  for (int i = 0; i < 300; ++i) {
    HTREEITEM folder = tree.InsertItem(("folder" + std::to_string(i)).c_str());
    last = tree.InsertItem(("leaf" + std::to_string(i)).c_str(), folder);
    tree.Expand(folder, TVE_EXPAND);
  }
  EXPECT_EQ(tree.FindTreeItem("nothing", TVI_ROOT, 0, 1, 0, 0, nullptr), nullptr);
  EXPECT_EQ(tree.FindTreeItem("leaf299", TVI_ROOT, 0, 1, 0, 0, nullptr), last);
}

TEST_F(Search, SectionHitsBecomeSortedItems) {
  TempDrive drive('T');
  drive.WriteFile("kunden.ini",
                  "[Main]\nName=Meier\nK1Text=Haupt\n"
                  "[K1]\nName=Meier\nOrt=Bonn\nK1Text=Kunde Meier\n"
                  "[K2]\nName=Meier\nName2=Meier\nK2Text=Zweiter\n"
                  "[K3]\nName=Schulz\n");
  const std::string file = drive.WinPath("kunden.ini");
  HTREEITEM parent = tree.InsertItem("Treffer");
  ASSERT_EQ(tree.FindInSection(file.c_str(), "Name", "Meier", parent, "Text", nullptr), 1);
  // Two hits in K2 give two equal items; Main never gives one.
  EXPECT_EQ(ChildTexts(tree, parent),
            (Lines{"Kunde Meier,         K1", "Zweiter,         K2", "Zweiter,         K2"}));
  HTREEITEM none = tree.InsertItem("none");
  ASSERT_EQ(tree.FindInSection(file.c_str(), "Name", "Meier", none, "Gone", nullptr), 1);
  EXPECT_EQ(ChildTexts(tree, none).front(), ",         K1");  // a missing key gives ""
  // Names and entries beyond the search's limits are cut, never overrun:
  // a cut section name names no section; a cut entry is searched as far as
  // it goes.
  const std::string longName(400, 'S');
  const std::string filler(5000, 'x');
  drive.WriteFile("long.ini", "[" + longName + "]\nName=Meier\n[K9]\nName=Meier" + filler +
                                  "\nName=" + filler + "Meier\nK9Text=Lang\n");
  HTREEITEM cut = tree.InsertItem("cut");
  ASSERT_EQ(tree.FindInSection(drive.WinPath("long.ini").c_str(), "Name", "Meier", cut, "Text", nullptr), 1);
  EXPECT_EQ(ChildTexts(tree, cut), (Lines{"Lang,         K9"}));
  drive.WriteFile("empty.ini", "no sections here\n");
  EXPECT_EQ(tree.FindInSection(drive.WinPath("empty.ini").c_str(), "a", "b", parent, "", nullptr), 0);
  EXPECT_EQ(tree.FindInSection(drive.WinPath("gone.ini").c_str(), "a", "b", parent, "", nullptr), 0);
}

}  // namespace
