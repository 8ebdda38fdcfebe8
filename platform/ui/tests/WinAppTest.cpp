#include "platform/WinApp.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "TestDialog.h"
#include "platform/WindowImage.h"
#include "platform/testing/TempDrive.h"

namespace {

TEST(JoinCommandTail, JoinsTheArgumentsAfterTheProgramName) {
  const char* none[] = {"ombral"};
  const char* one[] = {"ombral", "/home/me/My Pics"};
  const char* many[] = {"ombral", "C:\\Pics", "", "\"quoted\""};
  EXPECT_EQ(platform::JoinCommandTail(1, none), "");
  EXPECT_EQ(platform::JoinCommandTail(2, one), "/home/me/My Pics");
  EXPECT_EQ(platform::JoinCommandTail(4, many), "C:\\Pics  \"quoted\"");
}

TEST(CWinApp, IsTheApplicationWhileItLivesAndOwnsTheMainWindow) {
  EXPECT_EQ(AfxGetApp(), nullptr);
  {
    CWinApp app("Ombral");
    EXPECT_EQ(AfxGetApp(), &app);
    EXPECT_STREQ(platform::GetApplicationTitle(), "Ombral");
    EXPECT_STREQ(app.m_lpCmdLine, "");
    CTestDialog dialog;
    app.m_pMainWnd = &dialog;
    EXPECT_EQ(AfxGetMainWnd(), nullptr);  // no window yet
    ASSERT_TRUE(dialog.Create(kTestDialogId));
    EXPECT_EQ(AfxGetMainWnd(), &dialog);
    EXPECT_NE(app.LoadIcon(kTestIconId), nullptr);
    EXPECT_EQ(app.LoadIcon(1), nullptr);
  }
  EXPECT_EQ(AfxGetApp(), nullptr);
}

TEST(SaveWindowImage, WritesAPictureOfTheWindow) {
  platform::testing::TempDrive drive('W');
  CTestDialog dialog;
  ASSERT_TRUE(dialog.Create(kTestDialogId));
  EXPECT_TRUE(platform::SaveWindowImage(dialog, drive.Native("dialog.png").c_str()));
  EXPECT_EQ(drive.ReadFile("dialog.png").substr(1, 3), "PNG");
  EXPECT_FALSE(platform::SaveWindowImage(dialog, drive.Native("missing/dialog.png").c_str()));
  CWnd none;
  EXPECT_FALSE(platform::SaveWindowImage(none, drive.Native("none.png").c_str()));
}

TEST(WindowSystem, SaysSoOnStandardErrorWhenNoFontIsInstalled) {
  // This test program itself, started again with a font configuration that
  // knows no fonts: its window system start has to warn.
  platform::testing::TempDrive drive('W');
  drive.WriteFile("fonts.conf",
                  "<?xml version=\"1.0\"?>\n<fontconfig><dir>" + drive.Native("none") +
                      "</dir><cachedir>" + drive.Native("cache") + "</cachedir></fontconfig>\n");
  const std::string command = "FONTCONFIG_FILE='" + drive.Native("fonts.conf") +
                              "' QT_QPA_PLATFORM=offscreen '" +
                              std::filesystem::read_symlink("/proc/self/exe").string() +
                              "' --gtest_filter=JoinCommandTail.* >/dev/null 2>'" +
                              drive.Native("stderr.txt") + "'";
  ASSERT_EQ(std::system(command.c_str()), 0);
  EXPECT_NE(drive.ReadFile("stderr.txt").find("no fonts are installed"), std::string::npos);
}

}  // namespace
