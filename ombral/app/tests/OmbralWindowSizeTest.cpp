// The dialog's size as a user changes it: the fields and the protocol follow
// the window, the folded protocol stays out of the way, and the window keeps
// to the screen.
#include <gtest/gtest.h>

#include <string>

#include "OmbralTestTree.h"
#include "ombral/OmbralDlg.h"
#include "platform/testing/TempDrive.h"
#include "platform/testing/UiDriver.h"
#include "platform/testing/UiRecorders.h"

namespace {

using namespace platform::testing;

CRect WindowRect(const CWnd& window) {
  CRect rect;
  window.GetWindowRect(rect);
  return rect;
}

// A control's rectangle in its dialog's client area.
CRect PlaceOf(const CWnd& dialog, int id) {
  CRect rect = WindowRect(*dialog.GetDlgItem(id));
  POINT corner{rect.left, rect.top};
  dialog.ScreenToClient(&corner);
  return CRect(corner.x, corner.y, corner.x + rect.Width(), corner.y + rect.Height());
}

CRect FreeArea(const CWnd& window) {
  MONITORINFO screen{};
  screen.cbSize = sizeof screen;
  EXPECT_TRUE(GetMonitorInfo(MonitorFromWindow(window.m_hWnd, MONITOR_DEFAULTTONEAREST), &screen));
  return CRect(screen.rcWork.left, screen.rcWork.top, screen.rcWork.right, screen.rcWork.bottom);
}

class OmbralWindowSize : public ::testing::Test {
protected:
  void SetUp() override {
    MakePictureTree(m_drive);
    m_dialog.m_strPath = "T:\\Pics";
    ASSERT_TRUE(m_dialog.Create(COmbralDlg::IDD));
    ProcessEvents();
  }
  void Resize(int width, int height) {
    const CRect now = WindowRect(m_dialog);
    m_dialog.MoveWindow(now.left, now.top, width, height);
    ProcessEvents();
  }

  TempDrive m_drive{'T'};
  RecordingMessageBoxes m_boxes;
  COmbralDlg m_dialog;
};

TEST_F(OmbralWindowSize, TheFieldsAndTheProtocolFollowTheWindow) {
  Click(m_dialog, IDC_TOGGLE_PROTOCOL);
  const CRect window = WindowRect(m_dialog);
  const CRect path = PlaceOf(m_dialog, IDC_PATH);
  const CRect scan = PlaceOf(m_dialog, IDOK);
  const CRect list = PlaceOf(m_dialog, IDC_PROTOCOL);
  const CRect label = PlaceOf(m_dialog, IDC_PREVIEWS);

  Resize(window.Width() + 120, window.Height() + 80);
  EXPECT_EQ(WindowRect(m_dialog).Width(), window.Width() + 120);
  EXPECT_EQ(PlaceOf(m_dialog, IDC_PATH), CRect(path.left, path.top, path.right + 120, path.bottom));
  EXPECT_EQ(PlaceOf(m_dialog, IDOK), CRect(scan.left + 120, scan.top, scan.right + 120, scan.bottom));
  EXPECT_EQ(PlaceOf(m_dialog, IDC_PREVIEWS), CRect(label.left + 120, label.top, label.right + 120, label.bottom));
  EXPECT_EQ(PlaceOf(m_dialog, IDC_PROTOCOL), CRect(list.left, list.top, list.right + 120, list.bottom + 80));

  // A little narrower than the template at most, and the protocol keeps
  // some lines.
  Resize(100, 100);
  EXPECT_LT(WindowRect(m_dialog).Width(), window.Width());
  EXPECT_GT(WindowRect(m_dialog).Width(), window.Width() * 8 / 10);
  const CRect smallest = PlaceOf(m_dialog, IDC_PROTOCOL);
  EXPECT_GT(smallest.Height(), 40);
  EXPECT_LT(smallest.Height(), list.Height());
  CRect client;
  m_dialog.GetClientRect(client);
  EXPECT_LE(smallest.bottom, client.bottom);
}

TEST_F(OmbralWindowSize, FoldedOnlyTheWidthChangesAndUnfoldingGivesBackTheHeight) {
  const CRect folded = WindowRect(m_dialog);
  Resize(folded.Width() + 50, folded.Height() + 200);
  EXPECT_EQ(WindowRect(m_dialog).Height(), folded.Height());
  EXPECT_EQ(WindowRect(m_dialog).Width(), folded.Width() + 50);

  Click(m_dialog, IDC_TOGGLE_PROTOCOL);
  EXPECT_EQ(WindowRect(m_dialog).Height(), folded.Height() + 350);
  Resize(folded.Width() + 50, folded.Height() + 300);
  Click(m_dialog, IDC_TOGGLE_PROTOCOL);
  EXPECT_EQ(WindowRect(m_dialog).Height(), folded.Height());
  Click(m_dialog, IDC_TOGGLE_PROTOCOL);
  EXPECT_EQ(WindowRect(m_dialog).Height(), folded.Height() + 300);
}

TEST_F(OmbralWindowSize, TheFoldedProtocolIsNoTabStop) {
  m_dialog.AddProtocolLine("a line");
  const auto reached = [&] {
    bool list = false;
    m_dialog.GetDlgItem(IDC_PATH)->SetFocus();
    for (int step = 0; step < 40; ++step) {
      Press(m_dialog, Key::Tab);
      ASSERT_FALSE(HasFocus(m_dialog, IDC_PROTOCOL) && !m_dialog.m_bProtocolShown) << "step " << step;
      list = list || HasFocus(m_dialog, IDC_PROTOCOL);
    }
    EXPECT_EQ(list, m_dialog.m_bProtocolShown != 0);
  };
  EXPECT_FALSE(m_dialog.GetDlgItem(IDC_PROTOCOL)->IsWindowVisible());
  reached();
  Click(m_dialog, IDC_TOGGLE_PROTOCOL);
  EXPECT_TRUE(m_dialog.GetDlgItem(IDC_PROTOCOL)->IsWindowVisible());
  reached();
}

TEST_F(OmbralWindowSize, UnfoldingNearTheScreensBottomStaysOnTheScreen) {
  const CRect area = FreeArea(m_dialog);
  const CRect folded = WindowRect(m_dialog);
  // Folded at the bottom: unfolding moves the window up instead of past it.
  m_dialog.MoveWindow(folded.left, area.bottom - folded.Height(), folded.Width(), folded.Height());
  Click(m_dialog, IDC_TOGGLE_PROTOCOL);
  const CRect unfolded = WindowRect(m_dialog);
  EXPECT_EQ(unfolded.Height(), folded.Height() + 350);
  EXPECT_LE(unfolded.bottom, area.bottom);
  EXPECT_GE(unfolded.top, area.top);
}

}  // namespace
