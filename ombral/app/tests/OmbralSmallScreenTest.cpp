// The dialog on a screen of 1600 x 1000 pixels at two pixels per point (800
// x 500 points), where the template's unfolded window (some 540 points high)
// does not fit: it must still open, unfold and draw inside the screen. CTest
// runs this program with that screen (QT_QPA_PLATFORM names the offscreen
// platform's configuration file small-screen.json).
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <string>

#include "OmbralTestTree.h"
#include "ombral/OmbralDlg.h"
#include "platform/WindowImage.h"
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

bool Inside(const CRect& inner, const CRect& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

// The width and height a PNG file's header gives.
std::pair<std::uint32_t, std::uint32_t> PngSize(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  unsigned char head[24] = {};
  file.read(reinterpret_cast<char*>(head), sizeof head);
  const auto number = [&](int at) {
    return (std::uint32_t{head[at]} << 24) | (std::uint32_t{head[at + 1]} << 16) |
           (std::uint32_t{head[at + 2]} << 8) | std::uint32_t{head[at + 3]};
  };
  return {number(16), number(20)};
}

TEST(OmbralOnASmallScreen, TheDialogOpensUnfoldsAndDrawsInsideTheScreenAtScaleTwo) {
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
  if (area.Height() != 500) GTEST_SKIP() << "needs the screen CTest gives this program (500 points high)";

  const CRect folded = WindowRect(dialog);
  EXPECT_TRUE(Inside(folded, area));
  // The status line and the options beside it show when folded.
  CRect client;
  dialog.GetClientRect(client);
  for (int id : {IDC_STATUS, IDC_PREVIEWS, IDC_PREVIEW_EDGE, IDC_DRY_RUN}) {
    CRect control = WindowRect(*dialog.GetDlgItem(id));
    POINT bottom{control.right, control.bottom};
    dialog.ScreenToClient(&bottom);
    EXPECT_LE(bottom.y, client.bottom) << id;
  }

  Click(dialog, IDC_TOGGLE_PROTOCOL);
  const CRect unfolded = WindowRect(dialog);
  EXPECT_TRUE(Inside(unfolded, area)) << unfolded.top << " " << unfolded.bottom;
  EXPECT_GT(unfolded.Height(), folded.Height() + 200);  // most of the fold
  CWnd* list = dialog.GetDlgItem(IDC_PROTOCOL);
  EXPECT_TRUE(list->IsWindowVisible());
  CRect listRect = WindowRect(*list);
  dialog.GetClientRect(client);
  POINT listBottom{listRect.right, listRect.bottom};
  dialog.ScreenToClient(&listBottom);
  EXPECT_LE(listBottom.y, client.bottom);
  EXPECT_LE(listBottom.x, client.right);

  // The picture of the window has two pixels per point, all of it drawn.
  const std::string picture = drive.Native("dialog.png");
  ASSERT_TRUE(platform::SaveWindowImage(dialog, picture.c_str()));
  const auto [width, height] = PngSize(picture);
  EXPECT_EQ(width, static_cast<std::uint32_t>(2 * (client.Width() + 2)));
  EXPECT_GT(height, static_cast<std::uint32_t>(2 * client.Height()));
}

}  // namespace
