// The dialog on small screens. On 1600 x 1000 pixels at two pixels per
// point (800 x 500 points), where the template's unfolded window (some 540
// points high) does not fit, it must still open, unfold and draw inside the
// screen; on the screens of small laptops at their usual scale factors
// (1366 x 768 pixels at 2, 1280 x 720 at 1.5) its smallest size, folded and
// unfolded, fits the screen's free area. CTest runs this program once per
// screen (QT_QPA_PLATFORM names the offscreen platform's configuration
// file); each test skips on the screens that are not its own.
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

// The dialog open on T:\\Pics, and the free area of the screen it is on.
class OnScreen : public ::testing::Test {
protected:
  void SetUp() override {
    MakePictureTree(drive);
    dialog.m_strPath = "T:\\Pics";
    ASSERT_TRUE(dialog.Create(COmbralDlg::IDD));
    ProcessEvents();
    MONITORINFO screen{};
    screen.cbSize = sizeof screen;
    ASSERT_TRUE(GetMonitorInfo(MonitorFromWindow(dialog.m_hWnd, MONITOR_DEFAULTTONEAREST), &screen));
    area = CRect(screen.rcWork.left, screen.rcWork.top, screen.rcWork.right, screen.rcWork.bottom);
  }
  TempDrive drive{'T'};
  RecordingMessageBoxes boxes;
  COmbralDlg dialog;
  CRect area;
};
using OmbralOnASmallScreen = OnScreen;
using OmbralOnALaptopScreen = OnScreen;

TEST_F(OmbralOnASmallScreen, TheDialogOpensUnfoldsAndDrawsInsideTheScreenAtScaleTwo) {
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

TEST_F(OmbralOnALaptopScreen, TheSmallestDialogFitsTheScreen) {
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
