// The demo window driven as a user would: a folder expanded in the tree and
// selected fills the list with its files, a heading click sorts them, the
// long operation is cancelled, the pickers and the launcher report in the
// log.
#include "DemoDlg.h"

#include <gtest/gtest.h>

#include "DemoResource.h"
#include "platform/testing/ListViewDriver.h"
#include "platform/testing/TempDrive.h"
#include "platform/testing/TreeViewDriver.h"
#include "platform/testing/UiDriver.h"
#include "platform/testing/UiRecorders.h"

namespace {

using namespace platform::testing;

HTREEITEM ChildNamed(const CZnTreeCtrl& tree, HTREEITEM parent, const std::string& prefix) {
  for (HTREEITEM item = tree.GetChildItem(parent); item; item = tree.GetNextSiblingItem(item)) {
    if (std::string(tree.GetItemText(item).GetString()).rfind(prefix, 0) == 0) return item;
  }
  return nullptr;
}

std::vector<std::string> Column(const CWnd& list, std::size_t column) {
  std::vector<std::string> cells;
  for (const auto& row : ListRows(list)) cells.push_back(column < row.size() ? row[column] : "");
  return cells;
}

class Demo : public ::testing::Test {
protected:
  void SetUp() override {
    m_drive.WriteFile("Pics/zebra.jpg", "zz");
    m_drive.WriteFile("Pics/Alpha.png", "a");
    m_drive.WriteFile("Pics/notes.txt", "notes");
    m_drive.MakeDir("Pics/Sub");
    ASSERT_TRUE(m_dialog.Create(IDD_ZN_DEMO));
    m_dialog.ShowWindow(SW_SHOW);
  }
  std::vector<std::string> Log() { return ListLines(m_dialog, IDC_DEMO_LOG); }

  TempDrive m_drive{'T'};
  CDemoDlg m_dialog;
};

TEST_F(Demo, OpensWithTheDrivesAndGeneratedRows) {
  EXPECT_NE(ChildNamed(m_dialog.m_tree, m_dialog.FilesItem(), "T:"), nullptr);
  EXPECT_EQ(ListHeadings(m_dialog.m_list),
            (std::vector<std::string>{"Name", "Geändert", "Größe", "Typ"}));
  EXPECT_EQ(m_dialog.m_list.GetItemCount(), 300);
  EXPECT_EQ(m_dialog.ShownFolder(), "");
}

TEST_F(Demo, AFolderExpandedAndSelectedFillsTheListWhichSortsOnAHeadingClick) {
  CZnTreeCtrl& tree = m_dialog.m_tree;
  HTREEITEM drive = ChildNamed(tree, m_dialog.FilesItem(), "T:");
  ASSERT_NE(drive, nullptr);
  ClickTreeButton(tree, drive);  // read lazily on expansion
  HTREEITEM pics = ChildNamed(tree, drive, " Pics");
  ASSERT_NE(pics, nullptr);
  ClickTreeItem(tree, pics);
  EXPECT_EQ(m_dialog.ShownFolder(), "T:\\Pics");
  EXPECT_EQ(Column(m_dialog.m_list, 0),
            (std::vector<std::string>{"Alpha.png", "notes.txt", "zebra.jpg"}));
  EXPECT_EQ(Column(m_dialog.m_list, 3),
            (std::vector<std::string>{"PNG-Bild", "Textdokument", "JPEG-Bild"}));
  EXPECT_EQ(Log().back(), "T:\\Pics: 3 files");

  // By type, grouped: a separator row between the different types.
  ClickListHeading(m_dialog.m_list, 3);
  EXPECT_EQ(Column(m_dialog.m_list, 3),
            (std::vector<std::string>{"JPEG-Bild", "", "PNG-Bild", "", "Textdokument"}));
}

TEST_F(Demo, TheLongOperationStopsWhenCancelled) {
  Post([&] {
    ASSERT_NE(m_dialog.CurrentProgress(), nullptr);
    EXPECT_FALSE(m_dialog.IsWindowEnabled());
    Click(*m_dialog.CurrentProgress(), IDCANCEL);
  });
  const int done = m_dialog.RunLongOperation(100000);
  EXPECT_LT(done, 100000);
  EXPECT_EQ(m_dialog.CurrentProgress(), nullptr);
  EXPECT_TRUE(m_dialog.IsWindowEnabled());
  EXPECT_EQ(Log().back().rfind("Long operation cancelled after", 0), 0u) << Log().back();
}

TEST_F(Demo, PickersAndTheLauncherReportInTheLog) {
  RecordingPickers pickers;
  RecordingShell shell;
  pickers.Answer(std::string("T:\\Pics\\zebra.jpg"));
  Click(m_dialog, IDC_DEMO_OPEN_FILE);
  EXPECT_EQ(Log().back(), "File picked: T:\\Pics\\zebra.jpg");
  pickers.Answer(m_drive.WinPath("Pics"));
  Click(m_dialog, IDC_DEMO_PICK_FOLDER);
  EXPECT_EQ(m_dialog.ShownFolder(), "T:\\Pics");
  m_dialog.m_list.SetCurSel(2);
  Click(m_dialog, IDC_DEMO_OPEN_DOCUMENT);
  ASSERT_EQ(shell.Requests().size(), 1u);
  EXPECT_EQ(shell.Requests()[0].file, "T:\\Pics\\zebra.jpg");
  EXPECT_EQ(Log().back(), "Opened T:\\Pics\\zebra.jpg");
}

TEST_F(Demo, TheHighlightButtonsChooseTheShape) {
  Click(m_dialog, IDC_DEMO_HIGHLIGHT_LABEL);
  EXPECT_EQ(m_dialog.m_list.SetHighlightType(CZnListCtrl::HighlightFullRow),
            CZnListCtrl::HighlightLabelOnly);
  EXPECT_EQ(Log().back(), "Highlight: label only");
}

}  // namespace
