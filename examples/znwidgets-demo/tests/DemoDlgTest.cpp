// The demo window driven as a user would: a folder expanded in the tree and
// selected fills the list with its files, heading clicks sort them (sizes
// as numbers, either way round, grouped only by type), the window is
// resized, the selection stays visible while a button has the focus, the
// long operation is cancelled, the pickers and the launcher report in the
// log.
#include "DemoDlg.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <algorithm>
#include <cctype>
#include <set>

#include "DemoResource.h"
#include "platform/Dc.h"
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

// A size as the list shows it ("1.001.983") as a number.
long long SizeOf(const std::string& cell) {
  std::string digits;
  for (char c : cell) {
    if (std::isdigit(static_cast<unsigned char>(c))) digits += c;
  }
  return digits.empty() ? -1 : std::stoll(digits);
}

CRect RectOf(const CWnd& dialog, int id) {
  CRect rect;
  CWnd* control = dialog.GetDlgItem(id);
  if (!control) return rect;
  control->GetWindowRect(&rect);
  CPoint topLeft(rect.left, rect.top);
  dialog.ScreenToClient(&topLeft);
  return CRect(topLeft.x, topLeft.y, topLeft.x + rect.Width(), topLeft.y + rect.Height());
}

constexpr int kButtons[] = {IDC_DEMO_LONG_RUN,         IDC_DEMO_OPEN_FILE,        IDC_DEMO_PICK_FOLDER,
                            IDC_DEMO_OPEN_DOCUMENT,    IDC_DEMO_HIGHLIGHT_LABEL,  IDC_DEMO_HIGHLIGHT_COLUMNS,
                            IDC_DEMO_HIGHLIGHT_ROW,    IDC_DEMO_SAMPLE_ROWS,      IDCANCEL};

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

TEST_F(Demo, ABigFolderFillsTheListAndItsSizesFitTheirColumn) {
  // More files than the listing takes before it shows its progress, and a
  // file of ten gigabytes (sparse) whose size is the widest text.
  for (int i = 0; i < 2600; ++i) m_drive.WriteFile("Big/f" + std::to_string(i) + ".txt", "x");
  std::filesystem::resize_file(m_drive.Native("Big/f0.txt"), 10'000'000'000ULL);
  const int before = m_dialog.m_list.GetColumnWidth(2);
  CZnTreeCtrl& tree = m_dialog.m_tree;
  HTREEITEM drive = ChildNamed(tree, m_dialog.FilesItem(), "T:");
  ASSERT_NE(drive, nullptr);
  ClickTreeButton(tree, drive);
  HTREEITEM big = ChildNamed(tree, drive, " Big");
  ASSERT_NE(big, nullptr);
  ClickTreeItem(tree, big);
  EXPECT_EQ(m_dialog.m_list.GetItemCount(), 2600);
  EXPECT_EQ(Log().back(), "T:\\Big: 2600 files");
  // "10.000.000.000" is 14 characters: the column grew to hold them.
  RECT needed{0, 0, 14 * 4, 0};
  m_dialog.MapDialogRect(&needed);
  EXPECT_GT(m_dialog.m_list.GetColumnWidth(2), before);
  EXPECT_GE(m_dialog.m_list.GetColumnWidth(2), needed.right);
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

TEST_F(Demo, SizesSortAsNumbersEitherWayRoundWithTheArrowInTheHeading) {
  CDemoList& list = m_dialog.m_list;
  EXPECT_EQ(ListSortArrow(list), -1);  // not sorted yet
  ClickListHeading(list, 2);
  std::vector<long long> sizes;
  for (const std::string& cell : Column(list, 2)) sizes.push_back(SizeOf(cell));
  ASSERT_EQ(sizes.size(), 300u);
  EXPECT_TRUE(std::is_sorted(sizes.begin(), sizes.end()));
  bool up = false;
  EXPECT_EQ(ListSortArrow(list, &up), 2);
  EXPECT_TRUE(up);
  EXPECT_EQ(Log().back(), "Sorted by Größe, ascending");
  // The same heading again: the other way round.
  ClickListHeading(list, 2);
  sizes.clear();
  for (const std::string& cell : Column(list, 2)) sizes.push_back(SizeOf(cell));
  EXPECT_TRUE(std::is_sorted(sizes.rbegin(), sizes.rend()));
  EXPECT_EQ(ListSortArrow(list, &up), 2);
  EXPECT_FALSE(up);
  // Rows that come in later are sorted the same way.
  Click(m_dialog, IDC_DEMO_SAMPLE_ROWS);
  sizes.clear();
  for (const std::string& cell : Column(list, 2)) sizes.push_back(SizeOf(cell));
  EXPECT_TRUE(std::is_sorted(sizes.rbegin(), sizes.rend()));
}

TEST_F(Demo, OnlyTheTypeColumnIsGrouped) {
  CDemoList& list = m_dialog.m_list;
  auto separators = [&] {
    const auto names = Column(list, 0);
    return std::count(names.begin(), names.end(), "");
  };
  ClickListHeading(list, 0);
  EXPECT_EQ(separators(), 0);
  EXPECT_EQ(list.m_crGroupChange, 0u);  // no blue group starts either
  ClickListHeading(list, 3);
  const auto types = Column(list, 3);
  const std::set<std::string> kinds(types.begin(), types.end());
  EXPECT_EQ(separators(), static_cast<long>(kinds.size()) - 2);  // "" is one of the kinds
  EXPECT_NE(list.m_crGroupChange, 0u);
  EXPECT_EQ(Log().back(), "Sorted by Typ, ascending, grouped");
  ClickListHeading(list, 1);
  EXPECT_EQ(separators(), 0);
  EXPECT_EQ(list.GetItemCount(), 300);
}

TEST_F(Demo, TheSelectedRowStaysHighlightedWhileAButtonHasTheFocus) {
  CDemoList& list = m_dialog.m_list;
  list.SetCurSel(1);
  list.SetFocus();
  Click(m_dialog, IDC_DEMO_HIGHLIGHT_ROW);
  ASSERT_TRUE(HasFocus(m_dialog, IDC_DEMO_HIGHLIGHT_ROW));
  CRect row;
  list.GetItemRect(1, row, LVIR_BOUNDS);
  CRect other;
  list.GetItemRect(3, other, LVIR_BOUNDS);
  const WindowPicture picture = GrabWindow(list);
  const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
  EXPECT_GT(picture.CountPixels(row, highlight, 8), row.Width() * row.Height() / 2);
  EXPECT_EQ(picture.CountPixels(other, highlight, 8), 0);
}

TEST_F(Demo, TheWindowCanBeResizedAndItsPartsFollow) {
  CRect window;
  m_dialog.GetWindowRect(&window);
  CRect client;
  m_dialog.GetClientRect(&client);
  const CRect list = RectOf(m_dialog, IDC_DEMO_LIST);
  const CRect close = RectOf(m_dialog, IDCANCEL);
  const CRect log = RectOf(m_dialog, IDC_DEMO_LOG);
  // The parts reach the edges, with the same margins on opposite sides.
  const int margin = client.right - list.right;
  EXPECT_GT(margin, 0);
  EXPECT_EQ(RectOf(m_dialog, IDC_DEMO_TREE).left, margin);
  EXPECT_EQ(client.right - close.right, margin);
  EXPECT_EQ(client.bottom - log.bottom, list.top);

  m_dialog.MoveWindow(window.left, window.top, window.Width() + 300, window.Height() + 200);
  const CRect wider = RectOf(m_dialog, IDC_DEMO_LIST);
  EXPECT_EQ(wider.top, list.top);
  EXPECT_GT(wider.Width(), list.Width());
  EXPECT_EQ(wider.Height(), list.Height() + 200);
  EXPECT_EQ(RectOf(m_dialog, IDC_DEMO_TREE).Height(), list.Height() + 200);
  EXPECT_EQ(RectOf(m_dialog, IDC_DEMO_LOG).Width(), log.Width() + 300);
  const CRect movedClose = RectOf(m_dialog, IDCANCEL);
  EXPECT_EQ(movedClose.Size(), close.Size());  // buttons keep their size
  EXPECT_EQ(movedClose.TopLeft(), CPoint(close.left + 300, close.top + 200));

  // Not smaller than the smallest size: the buttons below the list never
  // run into each other, nor the panes into the buttons.
  m_dialog.MoveWindow(window.left, window.top, 200, 150);
  const CRect highlight = RectOf(m_dialog, IDC_DEMO_HIGHLIGHT_ROW);
  const CRect sample = RectOf(m_dialog, IDC_DEMO_SAMPLE_ROWS);
  EXPECT_LT(highlight.right, sample.left);
  EXPECT_LT(RectOf(m_dialog, IDC_DEMO_LIST).bottom, sample.top);
  EXPECT_LT(RectOf(m_dialog, IDC_DEMO_TREE).right, RectOf(m_dialog, IDC_DEMO_LIST).left);
  EXPECT_LT(RectOf(m_dialog, IDCANCEL).bottom, RectOf(m_dialog, IDC_DEMO_LOG).top);
}

TEST_F(Demo, EveryButtonHasAMnemonicOfItsOwn) {
  std::set<char> keys;
  for (int id : kButtons) {
    CString text;
    m_dialog.GetDlgItem(id)->GetWindowText(text);
    const std::string label(text.GetString());
    const std::size_t mark = label.find('&');
    ASSERT_NE(mark, std::string::npos) << label;
    ASSERT_LT(mark + 1, label.size()) << label;
    EXPECT_TRUE(keys.insert(static_cast<char>(std::tolower(label[mark + 1]))).second) << label;
  }
}

}  // namespace
