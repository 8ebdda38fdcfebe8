// Running a file by its path: programs start directly with the whole path
// as their name, documents go to the shell's "open"; names with blanks and
// shell characters stay one path.
#include "platform/RunFile.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "platform/testing/TempDrive.h"
#include "platform/testing/UiRecorders.h"

namespace {

using namespace platform::testing;

// A name a shell would split into commands and expand.
constexpr const char* kHostile = "a b;rm -rf x $(touch y) `touch z`";

// Waits (bounded) for a file the started program writes.
bool AppearsSoon(const TempDrive& drive, const std::string& relative) {
  for (int i = 0; i < 250 && !drive.Exists(relative); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return drive.Exists(relative);
}

TEST(RunFile, ADocumentGoesToTheShellAsOnePath) {
  TempDrive drive('R');
  drive.MakeDir("x");
  const std::string name = std::string(kHostile) + ".txt";
  drive.WriteFile(name, "text");
  RecordingShell shell;
  EXPECT_EQ(RunFile(nullptr, drive.WinPath(name).c_str(), SW_SHOWNORMAL), SE_DONE);
  ASSERT_EQ(shell.Requests().size(), 1u);
  EXPECT_EQ(shell.Requests()[0].nativePath, drive.Native(name));
  EXPECT_EQ(shell.Requests()[0].verb, "open");
  EXPECT_TRUE(drive.Exists("x"));
}

TEST(RunFile, AnExecutableStartsDirectlyWithItsWholePathAsItsName) {
  TempDrive drive('R');
  drive.MakeDir("x");
  const std::string name = std::string("my tools/") + kHostile;
  // Records its own name and its argument count, then leaves a mark.
  drive.WriteFile(name, "#!/bin/sh\nprintf '%s|%s' \"$0\" \"$#\" > \"" + drive.Native("ran.tmp") +
                            "\"\nmv \"" + drive.Native("ran.tmp") + "\" \"" + drive.Native("ran") +
                            "\"\n");
  drive.Chmod(name, 0755);
  RecordingShell shell;
  EXPECT_EQ(RunFile(nullptr, drive.WinPath(name).c_str(), SW_SHOWNORMAL), SE_DONE);
  ASSERT_TRUE(AppearsSoon(drive, "ran"));
  EXPECT_EQ(drive.ReadFile("ran"), drive.Native(name) + "|0");
  EXPECT_TRUE(shell.Requests().empty());
  EXPECT_TRUE(drive.Exists("x"));
  EXPECT_FALSE(drive.Exists("y"));
  EXPECT_FALSE(drive.Exists("z"));
}

TEST(RunFile, FailuresAreShellCodes) {
  TempDrive drive('R');
  // Executable but no program: a shell would run it as a script, exec does
  // not.
  drive.WriteFile("notes; touch y", "touch y\n");
  drive.Chmod("notes; touch y", 0755);
  RecordingShell shell;
  EXPECT_EQ(RunFile(nullptr, drive.WinPath("notes; touch y").c_str(), SW_SHOWNORMAL),
            SE_ERR_BADFORMAT);
  EXPECT_EQ(RunFile(nullptr, drive.WinPath("gone.exe").c_str(), SW_SHOWNORMAL), SE_ERR_FNF);
  EXPECT_EQ(RunFile(nullptr, drive.WinPath("no folder\\gone.exe").c_str(), SW_SHOWNORMAL),
            SE_ERR_PNF);
  EXPECT_EQ(RunFile(nullptr, "Q:\\unmapped.exe", SW_SHOWNORMAL), SE_ERR_PNF);
  EXPECT_EQ(RunFile(nullptr, "", SW_SHOWNORMAL), SE_ERR_FNF);
  EXPECT_EQ(RunFile(nullptr, nullptr, SW_SHOWNORMAL), SE_ERR_FNF);
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_FALSE(drive.Exists("y"));
  EXPECT_TRUE(shell.Requests().empty());
}

}  // namespace
