// The dialog helpers: centring and the always-on-top band on real windows,
// id list files on real files, and the log list box.
#include "znwidgets/ZnDialog.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/Geometry.h"
#include "platform/Resource.h"
#include "platform/testing/TempDrive.h"
#include "platform/testing/UiDriver.h"

namespace {

using namespace platform::testing;

constexpr UINT kWindowId = 9521;
constexpr UINT kLogId = 9522;
constexpr int kListId = 1000;
constexpr int kEditId = 1001;
constexpr platform::DialogItem kWindowItems[] = {platform::EditText(kEditId, 5, 5, 60, 12)};
constexpr platform::DialogItem kLogItems[] = {platform::ListBox(kListId, 5, 5, 100, 60)};
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_VISIBLE | WS_THICKFRAME;
constexpr platform::DialogTemplate kDialogs[] = {
    {kWindowId, "Window", kStyle, 0, 0, 0, 100, 50, "MS Sans Serif", 8, kWindowItems},
    {kLogId, "Log", kStyle, 0, 0, 0, 110, 70, "MS Sans Serif", 8, kLogItems},
};
constexpr platform::ResourceModule kModule{"znwidgets_dialog_tests", kDialogs, {}, {}, {}};
const platform::ResourceRegistration g_resources(kModule);

CRect RectOf(const CWnd& window) {
  CRect rect;
  window.GetWindowRect(&rect);
  return rect;
}

class Windows : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(m_reference.Create(kWindowId));
    ASSERT_TRUE(m_window.Create(kWindowId));
    m_reference.MoveWindow(100, 100, 400, 300);
    m_window.MoveWindow(0, 0, 200, 100);
  }
  CDialog m_reference;
  CDialog m_window;
  CZnDialog m_helper;
};

TEST_F(Windows, CentringOnAWindowKeepsTheSizeAndHalvesTowardZero) {
  m_helper.CenterTheWindow(m_reference.m_hWnd, m_window.m_hWnd);
  EXPECT_EQ(RectOf(m_window), CRect(200, 200, 400, 300));

  m_window.MoveWindow(0, 0, 201, 101);
  m_helper.CenterTheWindow(m_reference.m_hWnd, m_window.m_hWnd);
  EXPECT_EQ(RectOf(m_window), CRect(199, 199, 400, 300));

  // A window larger than the reference sticks out on both sides.
  m_window.MoveWindow(0, 0, 500, 301);
  m_helper.CenterTheWindow(m_reference.m_hWnd, m_window.m_hWnd);
  EXPECT_EQ(RectOf(m_window), CRect(50, 100, 550, 401));
}

TEST_F(Windows, CentringWithoutAWindowUsesTheScreensFreeArea) {
  const int width = GetSystemMetrics(SM_CXFULLSCREEN);
  const int height = GetSystemMetrics(SM_CYFULLSCREEN);
  ASSERT_GT(width, 200);
  ASSERT_GT(height, 100);
  m_helper.CenterTheWindow(nullptr, m_window.m_hWnd);
  const int left = (width - 200) / 2;
  const int top = (height - 100) / 2;
  EXPECT_EQ(RectOf(m_window), CRect(left, top, left + 200, top + 100));
}

TEST_F(Windows, CentringWithADeadHandleMovesNothing) {
  HWND gone = nullptr;
  {
    CDialog temporary;
    ASSERT_TRUE(temporary.Create(kWindowId));
    gone = temporary.m_hWnd;
  }
  ProcessEvents();
  m_helper.CenterTheWindow(gone, m_window.m_hWnd);
  EXPECT_EQ(RectOf(m_window), CRect(0, 0, 200, 100));
  m_helper.CenterTheWindow(m_reference.m_hWnd, gone);  // nothing to move, no crash
}

TEST_F(Windows, TopMostChangesOnlyTheBand) {
  m_reference.SetFocus();
  CWnd* focus = CWnd::GetFocus();
  m_window.MoveWindow(30, 40, 200, 100);

  m_helper.SetTopMost(m_window.m_hWnd, 1);
  EXPECT_TRUE(m_window.GetExStyle() & WS_EX_TOPMOST);
  EXPECT_EQ(RectOf(m_window), CRect(30, 40, 230, 140));
  EXPECT_TRUE(m_window.IsWindowVisible());
  EXPECT_EQ(CWnd::GetFocus(), focus);

  m_helper.SetTopMost(m_window.m_hWnd, 0);
  EXPECT_FALSE(m_window.GetExStyle() & WS_EX_TOPMOST);
  EXPECT_EQ(RectOf(m_window), CRect(30, 40, 230, 140));
  EXPECT_TRUE(m_window.IsWindowVisible());

  // Taking a window out of the band it is not in changes nothing.
  m_helper.SetTopMost(m_reference.m_hWnd, 0);
  EXPECT_FALSE(m_reference.GetExStyle() & WS_EX_TOPMOST);
  EXPECT_EQ(RectOf(m_reference), CRect(100, 100, 500, 400));
}

// --- Id list files ---------------------------------------------------------------

std::string Record(const std::string& name, std::size_t size = 30) {
  std::string record(size, '\0');
  std::memcpy(record.data(), name.data(), std::min(name.size(), size));
  return record;
}

class IdList : public ::testing::Test {
protected:
  std::string Copy(const std::string& content, unsigned recordSize) {
    m_drive.WriteFile("ids.dat", content);
    char text[256];
    std::memset(text, 'X', sizeof text);
    const std::string path = m_drive.WinPath("ids.dat");
    EXPECT_EQ(m_helper.CopyIdList(path.c_str(), recordSize, text), text);
    return text;
  }
  TempDrive m_drive;
  CZnDialog m_helper;
};

TEST_F(IdList, NamesOfTheNonEmptyRecordsAreJoinedByBars) {
  const std::string file = Record("Alpha") + Record("") + Record("Beta");
  ASSERT_EQ(file.size(), 90u);
  EXPECT_EQ(Copy(file, 30), "Alpha|Beta");
  EXPECT_EQ(Copy(Record("") + Record(""), 30), "");
  // Only the first 30 bytes of a longer record hold its name.
  EXPECT_EQ(Copy(Record("One", 40) + Record("Two", 40).replace(30, 5, "extra"), 40), "One|Two");
  EXPECT_EQ(Copy(Record(std::string(29, 'n')), 30), std::string(29, 'n'));
}

TEST_F(IdList, AFileThatIsNoWholeNumberOfRecordsGivesNothing) {
  EXPECT_EQ(Copy(Record("Alpha") + Record("") + Record("Beta") + "x", 30), "");
}

TEST_F(IdList, AnUnterminatedNameIsCutAtTwentyNineCharacters) {
  EXPECT_EQ(Copy(std::string(30, 'z') + Record("Next"), 30), std::string(29, 'z') + "|Next");
}

TEST_F(IdList, RecordsBelowThirtyBytesOrUnreadableFilesGiveNothing) {
  EXPECT_EQ(Copy(std::string(90, 'a'), 10), "");
  EXPECT_EQ(Copy(Record("Alpha"), 0), "");
  char text[16] = "unchanged";
  EXPECT_STREQ(m_helper.CopyIdList(m_drive.WinPath("missing.dat").c_str(), 30, text), "");
  m_drive.MakeDir("folder");
  std::strcpy(text, "unchanged");
  EXPECT_STREQ(m_helper.CopyIdList(m_drive.WinPath("folder").c_str(), 30, text), "");
}

TEST_F(IdList, TheSizedFormStopsAtTheLastWholeNameThatFits) {
  m_drive.WriteFile("ids.dat", Record("Alpha") + Record("Beta") + Record("Gamma"));
  const std::string path = m_drive.WinPath("ids.dat");
  struct Row {
    std::size_t size;
    const char* expected;
  };
  // Each name needs its bytes, its separator and room for the terminator.
  for (const Row& row : {Row{1, ""}, Row{5, ""}, Row{6, "Alpha"}, Row{10, "Alpha"},
                         Row{11, "Alpha|Beta"}, Row{16, "Alpha|Beta"},
                         Row{17, "Alpha|Beta|Gamma"}}) {
    char text[32];
    std::memset(text, 'X', sizeof text);
    m_helper.CopyIdList(path.c_str(), 30, text, row.size);
    EXPECT_STREQ(text, row.expected) << "buffer of " << row.size;
    for (std::size_t i = row.size; i < sizeof text; ++i) {
      ASSERT_EQ(text[i], 'X') << "written past a buffer of " << row.size;
    }
  }
}

TEST(IdListReserved, TheReservedMembersDoNothing) {
  CZnDialog helper;
  char text[8] = "keep";
  EXPECT_EQ(helper.CopyIdListDec(nullptr, 30, text, nullptr), nullptr);
  EXPECT_EQ(helper.InitIdList(nullptr, nullptr, nullptr, 30, text), 0);
  EXPECT_EQ(helper.InitIdListDec(nullptr, nullptr, nullptr, 30, text, nullptr), 0);
  EXPECT_EQ(helper.InitIdListFromFiles(nullptr, nullptr, nullptr, 30), 0);
  EXPECT_STREQ(text, "keep");
}

// --- The log list box --------------------------------------------------------------

TEST(ZnListBox, ClearsOnceMoreLinesThanAllowedWereAdded) {
  CDialog dialog;
  ASSERT_TRUE(dialog.Create(kLogId));
  CZnListBox log;
  ASSERT_TRUE(log.SubclassDlgItem(kListId, &dialog));
  EXPECT_EQ(log.AddSelString("one", 0, 2), 1);
  EXPECT_EQ(log.AddSelString("two", 0, 2), 2);
  EXPECT_EQ(log.AddSelString("three", 0, 2), 3);
  EXPECT_EQ(ListLines(dialog, kListId), (std::vector<std::string>{"one", "two", "three"}));
  EXPECT_EQ(ListSelection(dialog, kListId), 2);
  EXPECT_EQ(log.AddSelString("four", 0, 2), 1);
  EXPECT_EQ(ListLines(dialog, kListId), (std::vector<std::string>{"four"}));
  EXPECT_EQ(ListSelection(dialog, kListId), 0);
}

}  // namespace
