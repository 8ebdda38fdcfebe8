// Owners and owned windows, the always-on-top band, the screen's metrics,
// the message pump and the wait cursor.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>

#include "TestDialog.h"
#include "platform/MessagePump.h"
#include "platform/WinApp.h"
#include "platform/testing/UiDriver.h"

namespace {

using namespace platform::testing;

CRect RectOf(const CWnd& window) {
  CRect rect;
  window.GetWindowRect(&rect);
  return rect;
}

// A dialog and a second dialog it owns.
class OwnedWindows : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(owner.Create(kTestDialogId));
    ASSERT_TRUE(owned.Create(kTestDialogId, &owner));
  }
  CTestDialog owner;
  CTestDialog owned{&owner};
};

TEST_F(OwnedWindows, StayUsableWhileTheirOwnerIsDisabled) {
  owner.EnableWindow(FALSE);
  EXPECT_FALSE(owner.IsWindowEnabled());
  EXPECT_TRUE(owned.IsWindowEnabled());
  owned.m_commands.clear();
  Click(owned, kActionId);
  EXPECT_EQ(owned.CommandsWith(BN_CLICKED), std::vector<int>{kActionId});
  // The owner's own controls go with it.
  owner.m_commands.clear();
  Click(owner, kActionId);
  EXPECT_TRUE(owner.CommandsWith(BN_CLICKED).empty());
}

TEST_F(OwnedWindows, KeepTheirOwnDisabledStateAcrossTheOwners) {
  owned.EnableWindow(FALSE);
  owner.EnableWindow(FALSE);
  owner.EnableWindow(TRUE);
  EXPECT_FALSE(owned.IsWindowEnabled());
  owned.m_commands.clear();
  Click(owned, kActionId);
  EXPECT_TRUE(owned.CommandsWith(BN_CLICKED).empty());
}

TEST(SafeOwner, IsTheTopLevelWindowOfTheParentOrTheMainWindow) {
  CTestDialog dialog;
  ASSERT_TRUE(dialog.Create(kTestDialogId));
  HWND top = nullptr;
  EXPECT_EQ(CWnd::GetSafeOwner(dialog.GetDlgItem(kEditId), &top), &dialog);
  EXPECT_EQ(top, dialog.m_hWnd);
  EXPECT_EQ(CWnd::GetSafeOwner(nullptr, &top), nullptr);
  EXPECT_EQ(top, nullptr);
  CWinApp app("owner test");
  app.m_pMainWnd = &dialog;
  EXPECT_EQ(CWnd::GetSafeOwner(), &dialog);
  app.m_pMainWnd = nullptr;
}

TEST(SetWindowPos, TheTopMostBandNeitherMovesNorHidesTheWindow) {
  CTestDialog dialog;
  ASSERT_TRUE(dialog.Create(kTestDialogId));
  dialog.MoveWindow(20, 30, 300, 200);
  const UINT keep = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
  EXPECT_TRUE(SetWindowPos(dialog.m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, keep));
  EXPECT_TRUE(dialog.GetExStyle() & WS_EX_TOPMOST);
  EXPECT_EQ(RectOf(dialog), CRect(20, 30, 320, 230));
  EXPECT_TRUE(dialog.IsWindowVisible());
  EXPECT_TRUE(SetWindowPos(dialog.m_hWnd, HWND_NOTOPMOST, 0, 0, 0, 0, keep));
  EXPECT_FALSE(dialog.GetExStyle() & WS_EX_TOPMOST);
  EXPECT_EQ(RectOf(dialog), CRect(20, 30, 320, 230));
  EXPECT_TRUE(dialog.IsWindowVisible());
  // Moving and sizing without a band change.
  EXPECT_TRUE(SetWindowPos(dialog.m_hWnd, nullptr, 5, 6, 250, 150, SWP_NOZORDER));
  EXPECT_EQ(RectOf(dialog), CRect(5, 6, 255, 156));
  EXPECT_FALSE(SetWindowPos(nullptr, HWND_TOPMOST, 0, 0, 0, 0, keep));
}

TEST(SystemMetrics, TheFreeAreaLiesWithinTheScreen) {
  EXPECT_GT(GetSystemMetrics(SM_CXFULLSCREEN), 0);
  EXPECT_GT(GetSystemMetrics(SM_CYFULLSCREEN), 0);
  EXPECT_LE(GetSystemMetrics(SM_CXFULLSCREEN), GetSystemMetrics(SM_CXSCREEN));
  EXPECT_LE(GetSystemMetrics(SM_CYFULLSCREEN), GetSystemMetrics(SM_CYSCREEN));
  EXPECT_EQ(GetSystemMetrics(12345), 0);
}

TEST(Screens, AWindowsScreenAndItsFreeArea) {
  CTestDialog dialog;
  ASSERT_TRUE(dialog.Create(kTestDialogId));
  const HMONITOR screen = MonitorFromWindow(dialog.m_hWnd, MONITOR_DEFAULTTONULL);
  ASSERT_NE(screen, nullptr);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  ASSERT_TRUE(GetMonitorInfo(screen, &info));
  EXPECT_EQ(CRect(info.rcMonitor), CRect(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)));
  EXPECT_EQ(info.rcWork.right - info.rcWork.left, GetSystemMetrics(SM_CXFULLSCREEN));
  EXPECT_EQ(info.rcWork.bottom - info.rcWork.top, GetSystemMetrics(SM_CYFULLSCREEN));
  EXPECT_EQ(info.dwFlags, MONITORINFOF_PRIMARY);

  // A window far off every screen: none, or the nearest (the only) one.
  dialog.MoveWindow(50000, 50000, 100, 100);
  EXPECT_EQ(MonitorFromWindow(dialog.m_hWnd, MONITOR_DEFAULTTONULL), nullptr);
  EXPECT_EQ(MonitorFromWindow(dialog.m_hWnd, MONITOR_DEFAULTTONEAREST), screen);
  EXPECT_EQ(MonitorFromWindow(nullptr, MONITOR_DEFAULTTOPRIMARY), screen);
  EXPECT_EQ(MonitorFromWindow(nullptr, MONITOR_DEFAULTTONULL), nullptr);
  EXPECT_FALSE(GetMonitorInfo(nullptr, &info));
}

TEST(MessagePump, HandlesWhatIsWaitingAndReturnsWhenNothingIs) {
  int ran = 0;
  Post([&] { ++ran; });
  Post([&] { ++ran; });
  platform::PumpWaitingMessages();
  EXPECT_EQ(ran, 2);
  platform::PumpWaitingMessages();  // nothing waits: returns at once
  EXPECT_EQ(ran, 2);
}

TEST(MessagePump, DeliversDialogKeysToTheFocusedDialog) {
  CTestDialog dialog;
  ASSERT_TRUE(dialog.Create(kTestDialogId));
  Post([&] { Press(dialog, Key::Escape); });
  platform::PumpWaitingMessages();
  EXPECT_EQ(dialog.m_cancelCalls, 1);
}

TEST(WaitCursor, ShowsWhileItLivesAndNests) {
  {
    CWaitCursor outer;
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    CWnd window;
    window.BeginWaitCursor();
    window.EndWaitCursor();
    EXPECT_NE(QApplication::overrideCursor(), nullptr);
  }
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

}  // namespace
