// The shell's "open": the checks every handler shares, and the desktop
// handler running a real opener program.
#include "platform/Shell.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <optional>

#include "platform/WinApp.h"
#include "platform/testing/TempDrive.h"
#include "platform/testing/UiRecorders.h"

namespace {

using namespace platform::testing;

TEST(ShellExecute, MissingOrUnreadableDocumentsNeverReachTheHandler) {
  TempDrive drive('S');
  drive.WriteFile("Pics/index.html", "<html>");
  drive.WriteFile("Pics/secret.html", "<html>");
  drive.Chmod("Pics/secret.html", 0);
  RecordingShell shell;
  struct Row {
    const char* verb;
    std::string file;
    int code;
  };
  const Row rows[] = {
      {"open", drive.WinPath("Pics\\gone.html"), SE_ERR_FNF},
      {"open", drive.WinPath("Gone\\index.html"), SE_ERR_PNF},
      {"open", drive.WinPath("Pics\\index.html\\x"), SE_ERR_PNF},
      {"open", "", SE_ERR_FNF},
      {"open", "Q:\\unmapped.html", SE_ERR_PNF},
      {"print", drive.WinPath("Pics\\index.html"), SE_ERR_NOASSOC},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(ShellExecute(nullptr, row.verb, row.file.c_str(), nullptr, nullptr, SW_SHOWNORMAL),
              row.code)
        << row.file;
  }
  {
    ScopedUnprivileged user;
    if (user.Active()) {
      EXPECT_EQ(ShellExecute(nullptr, "open", drive.WinPath("Pics\\secret.html").c_str(), nullptr,
                             nullptr, SW_SHOWNORMAL),
                SE_ERR_ACCESSDENIED);
    }
  }
  EXPECT_TRUE(shell.Requests().empty());
}

TEST(ShellExecute, AnExistingDocumentGoesToTheHandlerWithItsNativePath) {
  TempDrive drive('S');
  drive.WriteFile("Pics/index.html", "<html>");
  RecordingShell shell;
  shell.AnswerWith(SE_ERR_NOASSOC);
  EXPECT_EQ(ShellExecute(nullptr, nullptr, "S:\\Pics\\index.html", nullptr, nullptr, SW_SHOWNORMAL),
            SE_ERR_NOASSOC);
  ASSERT_EQ(shell.Requests().size(), 1u);
  EXPECT_EQ(shell.Requests()[0].verb, "open");
  EXPECT_EQ(shell.Requests()[0].file, "S:\\Pics\\index.html");
  EXPECT_EQ(shell.Requests()[0].nativePath, drive.Native("Pics/index.html"));
}

TEST(ShellExecute, WithoutAHandlerNothingOpens) {
  TempDrive drive('S');
  drive.WriteFile("index.html");
  EXPECT_EQ(ShellExecute(nullptr, "open", "S:\\index.html", nullptr, nullptr, SW_SHOWNORMAL),
            SE_ERR_NOASSOC);
}

TEST(ShellCodeFromOpenerExit, MapsTheOpenersStatusToShellCodes) {
  EXPECT_EQ(platform::ShellCodeFromOpenerExit(0), SE_DONE);
  EXPECT_EQ(platform::ShellCodeFromOpenerExit(1), SE_ERR_ASSOCINCOMPLETE);
  EXPECT_EQ(platform::ShellCodeFromOpenerExit(2), SE_ERR_FNF);
  EXPECT_EQ(platform::ShellCodeFromOpenerExit(3), SE_ERR_NOASSOC);
  EXPECT_EQ(platform::ShellCodeFromOpenerExit(4), SE_ERR_ASSOCINCOMPLETE);
  EXPECT_EQ(platform::ShellCodeFromOpenerExit(77), SE_ERR_NOASSOC);
}

// The desktop handler with a stand-in opener: a script named xdg-open first
// on PATH, which records its arguments and exits as told.
class DesktopOpener : public ::testing::Test {
protected:
  void SetUp() override {
    m_savedPath = std::getenv("PATH") ? std::getenv("PATH") : "";
    setenv("PATH", (m_bin.Native("bin") + ":" + m_savedPath).c_str(), 1);
    m_docs.WriteFile("My Pics/index.html", "<html>");
    m_handlers.emplace();
  }
  void TearDown() override {
    setenv("PATH", m_savedPath.c_str(), 1);
    platform::SetOpenerWaitLimit(5000);
    m_handlers.reset();
  }
  void Opener(const std::string& body) {
    m_bin.WriteFile("bin/xdg-open", "#!/bin/sh\nprintf '%s\\n' \"$@\" > " + m_bin.Native("args") +
                                        "\n" + body + "\n");
    m_bin.Chmod("bin/xdg-open", 0755);
  }
  int Open() {
    return ShellExecute(nullptr, "open", "D:\\My Pics\\index.html", nullptr, nullptr,
                        SW_SHOWNORMAL);
  }
  TempDrive m_bin{'B'};
  TempDrive m_docs{'D'};
  std::string m_savedPath;
  std::optional<platform::testing::ScopedDesktopHandlers> m_handlers;
};

TEST_F(DesktopOpener, RunsTheOpenerWithThePathAsItsOneArgument) {
  Opener("exit 0");
  EXPECT_EQ(Open(), SE_DONE);
  EXPECT_EQ(m_bin.ReadFile("args"), m_docs.Native("My Pics/index.html") + "\n");
}

TEST_F(DesktopOpener, TheOpenersFailuresBecomeShellCodes) {
  for (int status : {1, 2, 3, 4}) {
    Opener("exit " + std::to_string(status));
    EXPECT_EQ(Open(), platform::ShellCodeFromOpenerExit(status)) << status;
  }
  Opener("kill -9 $$");
  EXPECT_EQ(Open(), SE_ERR_ASSOCINCOMPLETE);
}

TEST_F(DesktopOpener, AFailedOpeningSaysWhyInTheOpenersWords) {
  // As a browser run as root says it, behind its log prefix, after noise.
  Opener("echo 'some noise' >&2\n"
         "echo '[10135:10135:1208/031857.124153:ERROR:zygote_host_impl_linux.cc(103)] Running as root "
         "without --no-sandbox is not supported.' >&2\n"
         "echo >&2\nexit 4");
  EXPECT_EQ(Open(), SE_ERR_ASSOCINCOMPLETE);
  EXPECT_EQ(platform::ShellFailureReason(),
            "xdg-open ended with status 4: Running as root without --no-sandbox is not supported.");
  Opener("exit 3");
  EXPECT_EQ(Open(), SE_ERR_NOASSOC);
  EXPECT_EQ(platform::ShellFailureReason(), "xdg-open ended with status 3");
  Opener("kill -9 $$");
  EXPECT_EQ(Open(), SE_ERR_ASSOCINCOMPLETE);
  EXPECT_EQ(platform::ShellFailureReason(), "xdg-open stopped abnormally");
  Opener("echo 'said on success' >&2\nexit 0");
  EXPECT_EQ(Open(), SE_DONE);
  EXPECT_EQ(platform::ShellFailureReason(), "");
  setenv("PATH", m_bin.Native("nothing").c_str(), 1);
  EXPECT_EQ(Open(), SE_ERR_NOASSOC);
  EXPECT_EQ(platform::ShellFailureReason(), "xdg-open, which opens documents, is not installed");
  // The checks before the opener give their codes without words.
  EXPECT_EQ(ShellExecute(nullptr, "open", "D:\\gone.html", nullptr, nullptr, SW_SHOWNORMAL), SE_ERR_FNF);
  EXPECT_EQ(platform::ShellFailureReason(), "");
}

TEST_F(DesktopOpener, AnOpenerThatStaysIsTakenAsDone) {
  Opener("exec sleep 3");
  platform::SetOpenerWaitLimit(300);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(Open(), SE_DONE);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

TEST_F(DesktopOpener, NoOpenerMeansNoAssociation) {
  setenv("PATH", m_bin.Native("bin").c_str(), 1);  // empty: no xdg-open at all
  EXPECT_EQ(Open(), SE_ERR_NOASSOC);
}

}  // namespace
