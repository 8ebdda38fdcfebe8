// The dialog on the screens of small laptops at their usual scale factors
// (1366 x 768 pixels at two pixels per point, 1280 x 720 at one and a
// half): it opens inside the screen, and its smallest size, folded and
// unfolded, fits the screen's free area. CTest runs this program once per
// screen (QT_QPA_PLATFORM names the offscreen platform's configuration).
#include <gtest/gtest.h>

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

TEST(OmbralOnALaptopScreen, TheSmallestDialogFitsTheScreen) {
  TempDrive drive('T');
  MakePictureTree(drive);
  RecordingMessageBoxes boxes;
  COmbralDlg dialog;
  dialog.m_strPath = "T:\\Pics";
  ASSERT_TRUE(dialog.Create(COmbralDlg::IDD));
  ProcessEvents();
  MONITORINFO screen{};
  screen.cbSize = sizeof screen;
  ASSERT_TRUE(GetMonitorInfo(MonitorFromWindow(dialog.m_hWnd, MONITOR_DEFAULTTONEAREST), &screen));
  const CRect area(screen.rcWork.left, screen.rcWork.top, screen.rcWork.right, screen.rcWork.bottom);
  if (area.Width() > 900) GTEST_SKIP() << "needs a laptop screen from CTest";
  RecordProperty("screen", std::to_string(area.Width()) + "x" + std::to_string(area.Height()));

  const auto smallest = [&] {
    const CRect now = WindowRect(dialog);
    dialog.MoveWindow(now.left, now.top, 100, 100);
    ProcessEvents();
    return WindowRect(dialog);
  };
  EXPECT_LE(WindowRect(dialog).Width(), area.Width());  // as it opens
  const CRect folded = smallest();
  RecordProperty("smallest_folded", std::to_string(folded.Width()) + "x" + std::to_string(folded.Height()));
  EXPECT_LE(folded.Width(), area.Width());
  EXPECT_LE(folded.Height(), area.Height());
  Click(dialog, IDC_TOGGLE_PROTOCOL);
  const CRect unfolded = smallest();
  RecordProperty("smallest_unfolded", std::to_string(unfolded.Width()) + "x" + std::to_string(unfolded.Height()));
  EXPECT_LE(unfolded.Width(), area.Width());
  EXPECT_LE(unfolded.Height(), area.Height());
  // Every button stays inside the window at its smallest.
  CRect client;
  dialog.GetClientRect(client);
  for (const int id : {IDOK, IDC_CLOSE, IDC_TOGGLE_PROTOCOL, IDC_DRY_RUN}) {
    CRect place;
    dialog.GetDlgItem(id)->GetWindowRect(place);
    POINT corner{place.right, place.bottom};
    dialog.ScreenToClient(&corner);
    EXPECT_LE(corner.x, client.right) << id;
  }
}

}  // namespace
