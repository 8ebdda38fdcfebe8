// The fillers on real files and folders: Zn INI trees (recursive, two
// levels, data files), hostile files, cycles and deep chains, folders and
// files, and drives (one of them a stand-in for a dead network mount).
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

#include "../ZnIniLimits.h"
#include "TreeTestDialog.h"
#include "platform/Drives.h"
#include "platform/VolumeQuery.h"
#include "platform/testing/TempDrive.h"
#include "platform/testing/TreeViewDriver.h"
#include "platform/testing/UiDriver.h"
#include "znwidgets/ZnProgressDlg.h"

namespace {

using namespace platform::testing;
using Lines = std::vector<std::string>;

class Fillers : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(m_dialog.Create(kTreeTestDialogId)); }
  std::string Ini(const std::string& content) {
    m_drive.WriteFile("tree.ini", content);
    return m_drive.WinPath("tree.ini");
  }
  TempDrive m_drive{'T'};
  CTreeTestDialog m_dialog;
  CTestTree& tree = m_dialog.m_tree;
};

constexpr const char* kCustomers =
    "Main=Kunden\n"
    "Main=Artikel\n"
    "Kunden=Inland\n"
    "Kunden=Ausland\n";

// --- Zn INI files -----------------------------------------------------------------------------

TEST_F(Fillers, RecursiveReadingFollowsValuesAndSortsTheDeeperLevels) {
  const std::string path = Ini(kCustomers);
  HTREEITEM parent = tree.InsertItem("Stamm");
  ASSERT_EQ(tree.InitTreeWithRecZnIni(path.c_str(), "Main", parent, 0, 0, 1, nullptr), 1);
  EXPECT_EQ(tree.GetTreeType(), ZN_TREE_ZNINI);
  EXPECT_EQ(ChildTexts(tree, parent), (Lines{"Kunden", "Artikel"}));
  EXPECT_EQ(ChildTexts(tree, ChildNamed(tree, parent, "Kunden")), (Lines{"Ausland", "Inland"}));
  EXPECT_FALSE(tree.ItemHasChildren(ChildNamed(tree, parent, "Artikel")));
  // Sorted, cleared first, and TVI_ROOT on an empty tree: the top level.
  ASSERT_EQ(tree.InitTreeWithRecZnIni(path.c_str(), "Main", TVI_ROOT, 1, 1, 0, nullptr), 1);
  EXPECT_EQ(ChildTexts(tree, TVI_ROOT), (Lines{"Artikel", "Kunden"}));
  // TVI_ROOT on a filled tree: under its first top-level item.
  tree.InitTreeWithRecZnIni(path.c_str(), "Kunden", TVI_ROOT, 0, 0, 0, nullptr);
  EXPECT_EQ(ChildTexts(tree, tree.GetRootItem()), (Lines{"Inland", "Ausland"}));
  EXPECT_EQ(tree.InitTreeWithRecZnIni(m_drive.WinPath("missing.ini").c_str(), "Main", TVI_ROOT,
                                      0, 0, 1, nullptr),
            0);
  EXPECT_EQ(tree.InitTreeWithRecZnIni(m_drive.WinPath().c_str(), "Main", TVI_ROOT, 0, 0, 1, nullptr),
            0);  // a folder is no file
}

TEST_F(Fillers, WhichLinesCountForAKey) {
  const std::string path = Ini(
      "  Main=Kunden\n"     // leading blanks go
      "Mainx=Lager\n"       // another name
      "Main=\n"             // an empty value is skipped
      "Main\n"              // no value at all
      "main=klein\n"        // names are compared byte for byte
      "Main=Artikel   \r\n" // trailing blanks and line ends go
      "Main=a=b\n");        // the value is everything after the first "="
  ASSERT_EQ(tree.InitTreeWithRecZnIni(path.c_str(), "Main", TVI_ROOT, 0, 0, 0, nullptr), 1);
  EXPECT_EQ(ChildTexts(tree, TVI_ROOT), (Lines{"Kunden", "Artikel", "a=b"}));
}

TEST_F(Fillers, ACycleOrAVeryDeepChainEndsAtTheDepthLimit) {
  HTREEITEM cycle = tree.InsertItem("cycle");
  ASSERT_EQ(tree.InitTreeWithRecZnIni(Ini("Main=Kunden\nKunden=Main\n").c_str(), "Main", cycle, 0,
                                      0, 1, nullptr),
            1);
  // Main is on the way down already: shown, not followed.
  HTREEITEM customers = ChildNamed(tree, cycle, "Kunden");
  ASSERT_NE(customers, nullptr);
  HTREEITEM again = ChildNamed(tree, customers, "Main");
  ASSERT_NE(again, nullptr);
  EXPECT_FALSE(tree.ItemHasChildren(again));
  HTREEITEM self = tree.InsertItem("self");
  tree.InitTreeWithZnData(Ini("A=A\n").c_str(), "A", self, 0, 0, 1, nullptr);
  EXPECT_EQ(DepthBelow(tree, self), 1);

  std::string chain;
  for (int i = 0; i < 1000; ++i) chain += "K" + std::to_string(i) + "=K" + std::to_string(i + 1) + "\n";
  HTREEITEM deep = tree.InsertItem("deep");
  ASSERT_EQ(tree.InitTreeWithRecZnIni(Ini(chain).c_str(), "K0", deep, 0, 0, 1, nullptr), 1);
  EXPECT_EQ(DepthBelow(tree, deep), ZN_TREE_MAX_DEPTH);
}

// The fillers' limits, lowered while it lives.
class Limits {
public:
  Limits(long items, long lines) : m_previous(znwidgets::detail::SetZnIniLimits({items, lines})) {}
  ~Limits() { znwidgets::detail::SetZnIniLimits(m_previous); }

private:
  znwidgets::detail::ZnIniLimits m_previous;
};

TEST_F(Fillers, KeysThatNameTheNextKeyTwiceStopAtTheItemLimit) {
  // Each key names the next one twice: 36 lines describe 2^19 - 1 items.
  std::string doubling;
  for (int i = 0; i < 18; ++i) {
    std::string line("K");
    line += std::to_string(i) + "=K" + std::to_string(i + 1) + "\n";
    doubling += line + line;
  }
  const std::string path = Ini(doubling);
  Limits limits(1000, ZN_TREE_MAX_FILL_LINES);
  HTREEITEM top = tree.InsertItem("top");
  EXPECT_EQ(tree.InitTreeWithRecZnIni(path.c_str(), "K0", top, 0, 0, 1, nullptr), 0);
  // What was inserted stays: as many items as the limit allows, the first
  // branch all the way down.
  EXPECT_EQ(tree.GetCount(), 1001u);
  EXPECT_EQ(DepthBelow(tree, top), 18);
  // Data files keep the same limit; a fill within it answers 1.
  ASSERT_EQ(tree.InitTreeWithZnData(path.c_str(), "K0", TVI_ROOT, 1, 0, 1, nullptr), 0);
  EXPECT_EQ(tree.GetCount(), 1000u);
  EXPECT_EQ(tree.InitTreeWithRecZnIni(path.c_str(), "K10", TVI_ROOT, 1, 0, 1, nullptr), 1);
  EXPECT_EQ(tree.GetCount(), 510u);  // 2^9 - 2 items below K10
}

TEST_F(Fillers, ALongFileReadAgainForEveryItemStopsAtTheLineLimit) {
  // Every item reads the whole file again for its own children.
  std::string lines;
  for (int i = 0; i < 100; ++i) lines += "Main=V" + std::to_string(i) + "\n";
  const std::string path = Ini(lines);
  {
    Limits limits(ZN_TREE_MAX_FILL_ITEMS, 2550);
    EXPECT_EQ(tree.InitTreeWithRecZnIni(path.c_str(), "Main", TVI_ROOT, 1, 0, 1, nullptr), 0);
    // Each item costs 101 lines (its own, then the whole file again): the
    // 26th item's reading runs past the limit.
    EXPECT_EQ(tree.GetCount(), 26u);
  }
  {
    Limits limits(ZN_TREE_MAX_FILL_ITEMS, 10100);
    EXPECT_EQ(tree.InitTreeWithRecZnIni(path.c_str(), "Main", TVI_ROOT, 1, 0, 1, nullptr), 1);
    EXPECT_EQ(tree.GetCount(), 100u);
  }
}

TEST_F(Fillers, TwoLevelsKeepTheSameLimits) {
  // 100 values, each with the same 100 lines after it: 200 lines describe
  // 10,100 items, and every value reads the rest of the file again.
  std::string lines;
  for (int i = 0; i < 100; ++i) lines += "Main=A\n";
  for (int i = 0; i < 100; ++i) lines += "A=x" + std::to_string(i) + "\n";
  const std::string path = Ini(lines);
  struct Row {
    long items, lines;
    int answer;
    UINT count;
  };
  for (const Row& row : {Row{1000, ZN_TREE_MAX_FILL_LINES, 0, 1000u}, Row{ZN_TREE_MAX_FILL_ITEMS, 500, 0, 0u},
                         Row{ZN_TREE_MAX_FILL_ITEMS, ZN_TREE_MAX_FILL_LINES, 1, 10100u}}) {
    Limits limits(row.items, row.lines);
    EXPECT_EQ(tree.InitTreeWithZnIni(path.c_str(), nullptr, "Main", TVI_ROOT, 1, 0, 1, nullptr), row.answer);
    if (row.count) EXPECT_EQ(tree.GetCount(), row.count) << row.items << " items, " << row.lines << " lines";
    else EXPECT_LT(tree.GetCount(), 500u) << row.lines << " lines";
  }
}

TEST_F(Fillers, TwoLevelsReadTheLinesAfterTheValuesOwnLine) {
  const std::string path = Ini(
      "Kunden=Vorher\n"
      "Main=Kunden\n"
      "Kunden=Inland\n"
      "KundenAlt=Ausland\n"
      "Main=Artikel\n"
      "Kunden=Danach\n");
  ASSERT_EQ(tree.InitTreeWithZnIni(path.c_str(), nullptr, "Main", TVI_ROOT, 0, 0, 1, nullptr), 1);
  EXPECT_EQ(ChildTexts(tree, TVI_ROOT), (Lines{"Kunden", "Artikel"}));
  EXPECT_EQ(ChildTexts(tree, ChildNamed(tree, TVI_ROOT, "Kunden")),
            (Lines{"Inland", "Ausland", "Danach"}));
  // A file handed in is read from where it stands, and closed.
  std::FILE* file = std::fopen(m_drive.Native("tree.ini").c_str(), "rb");
  ASSERT_NE(file, nullptr);
  char skipped[100];
  ASSERT_NE(std::fgets(skipped, sizeof skipped, file), nullptr);
  ASSERT_NE(std::fgets(skipped, sizeof skipped, file), nullptr);
  ASSERT_EQ(tree.InitTreeWithZnIni(nullptr, file, "Main", TVI_ROOT, 1, 1, 0, nullptr), 1);
  EXPECT_EQ(ChildTexts(tree, TVI_ROOT), (Lines{"Artikel"}));
  EXPECT_EQ(tree.InitTreeWithZnIni(m_drive.WinPath("gone.ini").c_str(), nullptr, "Main", TVI_ROOT,
                                   0, 0, 1, nullptr),
            0);
}

TEST_F(Fillers, DataFilesNeedTheKeyAtTheLineStartByteForByte) {
  const std::string path = Ini("Main=x\n");
  ASSERT_EQ(tree.InitTreeWithZnData(path.c_str(), "main", TVI_ROOT, 0, 0, 1, nullptr), 1);
  EXPECT_EQ(tree.GetTreeType(), ZN_TREE_ZNDATA);
  EXPECT_EQ(tree.GetCount(), 0u);
  ASSERT_EQ(tree.InitTreeWithZnData(path.c_str(), "Main", TVI_ROOT, 0, 0, 1, nullptr), 1);
  EXPECT_EQ(ChildTexts(tree, TVI_ROOT), (Lines{"x"}));
}

TEST_F(Fillers, HostileFilesGiveWhatTheyHoldAndNothingElse) {
  std::string garbage;
  for (int i = 0; i < 20000; ++i) garbage += static_cast<char>((i * 7919) % 256);
  const std::string longValue(5000, 'v');
  const std::string content = garbage + "\nMain=" + longValue + "\nMain=nul" + std::string(1, '\0') +
                              "hidden\nMain=last";  // no line end at the very end
  const std::string path = Ini(content);
  HTREEITEM recursive = tree.InsertItem("recursive");
  HTREEITEM twoLevels = tree.InsertItem("two levels");
  ASSERT_EQ(tree.InitTreeWithRecZnIni(path.c_str(), "Main", recursive, 0, 0, 1, nullptr), 1);
  ASSERT_EQ(tree.InitTreeWithZnIni(path.c_str(), nullptr, "Main", twoLevels, 0, 0, 1, nullptr), 1);
  // A long line comes in pieces of 999 bytes; a zero byte ends a line.
  const Lines expected{std::string(994, 'v'), "nul", "last"};
  EXPECT_EQ(ChildTexts(tree, recursive), expected);
  EXPECT_EQ(ChildTexts(tree, twoLevels), expected);
  EXPECT_EQ(tree.GetCount(), 8u);
  ASSERT_EQ(tree.InitTreeWithZnIni(Ini("").c_str(), nullptr, "Main", TVI_ROOT, 1, 0, 1, nullptr), 1);
  EXPECT_EQ(tree.GetCount(), 0u);
}

// --- Folders and files ----------------------------------------------------------------------------

TEST_F(Fillers, FoldersComeFirstWithAPlaceholderAndFilesAfterThem) {
  m_drive.WriteFile("Daten/a.txt");
  m_drive.MakeDir("Daten/Bilder");
  HTREEITEM parent = tree.InsertItem("Daten");
  ASSERT_EQ(tree.InitTreeWithFiles("T:\\Daten\\", "*.*", parent, 0, 1, 1, 0, 3, 4, nullptr), 1);
  EXPECT_EQ(tree.GetTreeType(), ZN_TREE_FILES);
  EXPECT_EQ(ChildTexts(tree, parent), (Lines{" Bilder", "a.txt"}));
  HTREEITEM folder = ChildNamed(tree, parent, " Bilder");
  EXPECT_EQ(ChildTexts(tree, folder), (Lines{ZN_TREE_PLACEHOLDER}));
  int image = -1, selected = -1;
  tree.GetItemImage(ChildNamed(tree, parent, "a.txt"), image, selected);
  EXPECT_EQ(image, 3);
  EXPECT_EQ(selected, 4);
  tree.GetItemImage(folder, image, selected);
  EXPECT_EQ(image, 0);  // folder image 0: none given
  // Clearing empties the parent only; without placeholders folders stay
  // leaves; a mask that matches nothing gives 0.
  HTREEITEM other = tree.InsertItem("other");
  ASSERT_EQ(tree.InitTreeWithFiles("T:\\Daten", "*.txt", parent, 1, 0, 0, 0, 0, 0, nullptr), 1);
  EXPECT_EQ(ChildTexts(tree, parent), (Lines{"a.txt"}));
  EXPECT_NE(tree.GetItemText(other), "");
  EXPECT_EQ(tree.InitTreeWithFiles("T:\\Daten", "*.none", parent, 0, 1, 1, 0, 1, 1, nullptr), 0);
  EXPECT_EQ(tree.InitTreeWithFiles("T:\\Gone", "*.*", parent, 0, 1, 1, 0, 1, 1, nullptr), 0);
}

TEST_F(Fillers, AnUnreadableFolderGivesNothing) {
  m_drive.WriteFile("Secret/a.txt");
  m_drive.Chmod("Secret", 0);
  ScopedUnprivileged user;
  if (!user.Active()) GTEST_SKIP() << "permissions cannot be tested as root without a user switch";
  EXPECT_EQ(tree.InitTreeWithFiles("T:\\Secret", "*.*", TVI_ROOT, 0, 1, 1, 0, 1, 1, nullptr), 0);
  EXPECT_EQ(tree.GetCount(), 0u);
}

TEST_F(Fillers, AFolderFillReportsProgressInTheDialog) {
  for (int i = 0; i < 50; ++i) m_drive.WriteFile("Many/f" + std::to_string(i) + ".txt");
  CZnProgressDlg* dialog = tree.CreateProgressDlg("Titel", "", 1);
  ASSERT_NE(dialog, nullptr);
  ASSERT_EQ(tree.InitTreeWithFiles("T:\\Many", "*.*", TVI_ROOT, 0, 1, 1, 0, 1, 1, dialog), 1);
  EXPECT_EQ(ShownText(*dialog, IDC_ZN_PROGRESS_STATUS), "Dateien und Verzeichnisse werden eingelesen...");
  EXPECT_EQ(ShownText(*dialog, IDC_ZN_PROGRESS_ITEM).substr(0, 1), "f");
  EXPECT_EQ(tree.GetCount(), 50u);
  tree.DestroyProgressDlg();
}

// --- Drives -----------------------------------------------------------------------------------------

// Answers at once for every drive but N:, which hangs until released.
class DeadMount : public platform::VolumeProber {
public:
  DeadMount() : m_previous(platform::SetVolumeProber(this)), m_limit(platform::SetVolumeQueryLimit(300)) {}
  ~DeadMount() override {
    platform::SetVolumeProber(m_previous);
    platform::SetVolumeQueryLimit(m_limit);
    std::unique_lock<std::mutex> lock(m_mutex);
    m_released = true;
    m_changed.notify_all();
    m_changed.wait(lock, [&] { return m_inside == 0; });
  }
  platform::VolumeFacts Probe(const std::string& root) override {
    std::unique_lock<std::mutex> lock(m_mutex);
    ++m_inside;
    if (root[0] == 'N') m_changed.wait(lock, [&] { return m_released; });
    --m_inside;
    m_changed.notify_all();
    return {true, DRIVE_FIXED, root[0] == 'N' ? "NET" : "DATA"};
  }

private:
  platform::VolumeProber* m_previous;
  int m_limit;
  std::mutex m_mutex;
  std::condition_variable m_changed;
  bool m_released = false;
  int m_inside = 0;
};

TEST_F(Fillers, DrivesShowLabelAndKindWithAPlaceholder) {
  platform::MapDrive('T', m_drive.Folder(), "DATA");
  ASSERT_EQ(tree.InitTreeWithDrives(TVI_ROOT, 1, 1, 1, 1, 1, 0, 0, nullptr), 1);
  EXPECT_EQ(tree.GetTreeType(), ZN_TREE_FILES);
  const UINT kind = GetDriveTypeA("T:\\");
  const std::string expected = std::string("T: (DATA) (") + (kind == DRIVE_RAMDISK ? "RAM" : "Fixed") + ")";
  HTREEITEM drive = ChildNamed(tree, TVI_ROOT, expected);
  ASSERT_NE(drive, nullptr);
  EXPECT_EQ(ChildTexts(tree, drive), (Lines{ZN_TREE_PLACEHOLDER}));
  ASSERT_EQ(tree.InitTreeWithDrives(TVI_ROOT, 1, 1, 0, 0, 0, 0, 0, nullptr), 1);
  EXPECT_NE(ChildNamed(tree, TVI_ROOT, "T:"), nullptr);
  EXPECT_NE(ChildNamed(tree, TVI_ROOT, "C:"), nullptr);
}

TEST_F(Fillers, FloppiesOnlyOnRequest) {
  TempDrive floppy('A');
  tree.InitTreeWithDrives(TVI_ROOT, 0, 1, 0, 0, 0, 0, 0, nullptr);
  EXPECT_EQ(ChildNamed(tree, TVI_ROOT, "A:"), nullptr);
  tree.InitTreeWithDrives(TVI_ROOT, 1, 1, 0, 0, 0, 0, 0, nullptr);
  EXPECT_NE(ChildNamed(tree, TVI_ROOT, "A:"), nullptr);
}

TEST_F(Fillers, ADriveThatNeverAnswersIsShownWithoutLabelAfterTheLimit) {
  TempDrive dead('N');
  DeadMount mount;
  CZnProgressDlg* dialog = tree.CreateProgressDlg("Laufwerke", "", 1);
  const auto start = std::chrono::steady_clock::now();
  ASSERT_EQ(tree.InitTreeWithDrives(TVI_ROOT, 1, 1, 1, 1, 1, 2, 3, dialog), 1);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
  EXPECT_NE(ChildNamed(tree, TVI_ROOT, "N: () (UNDEF)"), nullptr);
  EXPECT_NE(ChildNamed(tree, TVI_ROOT, "T: (DATA) (Fixed)"), nullptr);
  int image = 0, selected = 0;
  tree.GetItemImage(ChildNamed(tree, TVI_ROOT, "T: (DATA) (Fixed)"), image, selected);
  EXPECT_EQ(image, 2);
  EXPECT_EQ(selected, 3);
  tree.DestroyProgressDlg();
}

}  // namespace
