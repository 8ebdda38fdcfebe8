// The program's start: the application object runs the dialog with the
// command-line tail and ends when it closes.
#include "ombral/OmbralApp.h"

#include <gtest/gtest.h>

#include "ombral/OmbralResource.h"
#include "platform/Wnd.h"
#include "platform/testing/UiDriver.h"
#include "platform/testing/UiRecorders.h"

namespace {

using namespace platform::testing;

// Runs the application's start-up with a command-line tail; `check` sees
// the dialog, which is then closed with "&Close".
void Start(const char* tail, const std::function<void(CWnd&)>& check) {
  ModalTimeout timeout;
  RecordingMessageBoxes boxes;
  COmbralApp app;
  std::string commandLine = tail;
  app.m_lpCmdLine = commandLine.data();
  bool checked = false;
  Post([&] {
    CWnd* dialog = ActiveModalWindow();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(AfxGetMainWnd(), dialog);
    check(*dialog);
    checked = true;
    Click(*dialog, IDC_CLOSE);
  });
  EXPECT_FALSE(app.InitInstance());  // no event loop after the dialog
  EXPECT_TRUE(checked);
  EXPECT_EQ(AfxGetMainWnd(), nullptr);
  EXPECT_TRUE(boxes.Boxes().empty());  // "&Close" does not ask
}

TEST(OmbralStart, TheCommandLineTailFillsThePathNextToTheDefaults) {
  Start("T:\\Pics 2001", [](CWnd& dialog) {
    CString caption;
    dialog.GetWindowText(caption);
    EXPECT_EQ(caption, "Ombral Windows");
    EXPECT_EQ(ShownText(dialog, IDC_PATH), "T:\\Pics 2001");
    EXPECT_EQ(ShownText(dialog, IDC_INDEX_FILE), "_FileIndex.html");
    EXPECT_EQ(ShownText(dialog, IDC_FRAME_FILE), "_FileIndexFrame.html");
    EXPECT_EQ(ShownText(dialog, IDC_FILTER), "GIF|JPG|JPEG|BMP|CGI|AVI|MPG|MPEG|RAM|SND|WAV|PNG");
    const std::pair<int, UINT> checks[] = {{IDC_OVERWRITE, 1}, {IDC_RECURSE, 1},
                                           {IDC_CLOSE_AFTER_SCAN, 0}, {IDC_NO_LOGGING, 1},
                                           {IDC_IGNORE_EMPTY_PATHS, 0}};
    for (const auto& [id, state] : checks) EXPECT_EQ(dialog.IsDlgButtonChecked(id), state) << id;
    EXPECT_EQ(ShownText(dialog, IDC_TOGGLE_PROTOCOL), "&Protocoll >>");
    EXPECT_EQ(ShownText(dialog, IDC_STATUS), "");
    EXPECT_TRUE(HasFocus(dialog, IDC_PATH));
    const std::vector<std::string> menu = SystemMenuTexts(dialog);
    ASSERT_GE(menu.size(), 2u);
    EXPECT_EQ(menu[menu.size() - 2], "");
    EXPECT_EQ(menu.back(), "Inf&o \xC3\xBC" "ber Ombral...");
    EXPECT_NE(dialog.GetIcon(TRUE), nullptr);
  });
}

TEST(OmbralStart, WithoutATailThePathIsEmpty) {
  Start("", [](CWnd& dialog) { EXPECT_EQ(ShownText(dialog, IDC_PATH), ""); });
}

}  // namespace
