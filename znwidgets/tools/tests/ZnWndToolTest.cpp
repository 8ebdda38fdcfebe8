#include "znwidgets/ZnWndTool.h"

#include <gtest/gtest.h>

#include <cstring>

#include "platform/Dialog.h"
#include "platform/FileSystem.h"
#include "platform/Resource.h"
#include "platform/testing/TempDrive.h"
#include "platform/testing/UiRecorders.h"

namespace {

using namespace platform::testing;

// A dialog with one edit field, the target of the window forms.
constexpr UINT kDialogId = 9501;
constexpr int kEditId = 1000;
constexpr platform::DialogItem kItems[] = {platform::EditText(kEditId, 5, 5, 100, 12)};
constexpr platform::DialogTemplate kDialogs[] = {
    {kDialogId, "Target", WS_POPUP | WS_CAPTION, 0, 0, 0, 120, 30, "MS Sans Serif", 8, kItems}};
constexpr platform::ResourceModule kModule{"znwidgets_tools_tests", kDialogs, {}, {}, {}};
const platform::ResourceRegistration g_resources(kModule);

class Target : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(m_dialog.Create(kDialogId));
    m_edit = m_dialog.GetDlgItem(kEditId);
    m_edit->SetWindowText("before");
  }
  CString EditText() const {
    CString text;
    m_edit->GetWindowText(text);
    return text;
  }
  CDialog m_dialog;
  CWnd* m_edit = nullptr;
  RecordingPickers m_pickers;
};

std::string Pick(RecordingPickers& pickers, const char* answer, int mode,
                 const char* initial = nullptr, int* result = nullptr) {
  pickers.Answer(std::string(answer));
  char buffer[MAX_PATH] = "unchanged";
  const int done = CZnWndTool().GetFileSelection(buffer, nullptr, nullptr, initial, nullptr, mode);
  if (result) *result = done;
  return buffer;
}

TEST(GetFileSelection, EachModeGivesItsPartWithoutTrailingBackslashes) {
  RecordingPickers pickers;
  struct Row {
    const char* chosen;
    int mode;
    const char* initial;
    const char* expected;
  };
  const Row rows[] = {
      {"C:\\pictures\\a.jpg", 1, nullptr, "C:\\pictures\\a.jpg"},
      {"C:\\pictures\\a.jpg", 2, nullptr, "C:\\pictures"},
      {"C:\\a.jpg", 2, nullptr, "C:"},
      {"C:\\pictures\\a.jpg", 0, nullptr, "a.jpg"},
      {"C:\\pictures\\a.jpg", 4, nullptr, "a.jpg"},
      {"C:\\pictures\\a.jpg", -1, nullptr, "a.jpg"},
      {"C:\\pictures\\a.jpg", 3, "c:\\PICTURES", "a.jpg"},
      {"C:\\pictures\\a.jpg", 3, "D:\\other", "C:\\pictures\\a.jpg"},
      {"C:\\pictures\\a.jpg", 3, nullptr, "C:\\pictures\\a.jpg"},
      {"C:\\pictures\\\\", 1, nullptr, "C:\\pictures"},
      {"C:\\", 1, nullptr, "C:"},
  };
  for (const Row& row : rows) {
    int result = 0;
    EXPECT_EQ(Pick(pickers, row.chosen, row.mode, row.initial, &result), row.expected)
        << row.chosen << " mode " << row.mode;
    EXPECT_EQ(result, 1);
  }
}

TEST(GetFileSelection, AnEmptyAnswerIsDoneOnlyInMode2) {
  RecordingPickers pickers;
  int result = -1;
  EXPECT_EQ(Pick(pickers, "", 2, nullptr, &result), "");
  EXPECT_EQ(result, 1);
  for (int mode : {0, 1, 3}) {
    EXPECT_EQ(Pick(pickers, "", mode, nullptr, &result), "unchanged");
    EXPECT_EQ(result, 0) << mode;
  }
}

TEST(GetFileSelection, TheRequestCarriesTitleFolderFiltersAndOptions) {
  TempDrive drive('T');
  drive.MakeDir("Pics");
  ASSERT_TRUE(platform::SetCurrentDirectoryPath(drive.WinPath("Pics")));
  RecordingPickers pickers;
  CZnWndTool tool;
  char buffer[MAX_PATH];
  const HWND owner = reinterpret_cast<HWND>(0x1234);
  tool.GetFileSelection(buffer, owner, nullptr, nullptr, nullptr, 2);
  tool.GetFileSelection(buffer, nullptr, "", "", "", 2);
  tool.GetFileSelection(buffer, nullptr, "Pick one", "T:\\Pics", "Pictures\0*.jpg;*.gif\0Text\0*.txt\0", 2);

  const auto& requests = pickers.FileRequests();
  ASSERT_EQ(requests.size(), 3u);
  const std::vector<platform::FileFilter> all{{"All files (*.*)", "*.*"}};
  EXPECT_EQ(requests[0].owner, owner);
  EXPECT_EQ(requests[0].title, "");
  EXPECT_FALSE(requests[0].initialFolder.has_value());
  EXPECT_EQ(requests[0].filters, all);
  EXPECT_EQ(requests[0].flags, 0x0029000Eu);
  EXPECT_EQ(requests[0].filterIndex, 0);
  EXPECT_EQ(requests[1].title, "");
  EXPECT_EQ(requests[1].initialFolder, "T:\\Pics");  // "" is the current directory
  EXPECT_EQ(requests[1].filters, all);
  EXPECT_EQ(requests[2].title, "Pick one");
  EXPECT_EQ(requests[2].initialFolder, "T:\\Pics");
  EXPECT_EQ(requests[2].filters,
            (std::vector<platform::FileFilter>{{"Pictures", "*.jpg;*.gif"}, {"Text", "*.txt"}}));
}

TEST(GetFileSelection, ACancelledPickerChangesNothing) {
  RecordingPickers pickers;
  pickers.Answer(std::nullopt);
  char buffer[MAX_PATH] = "unchanged";
  EXPECT_EQ(CZnWndTool().GetFileSelection(buffer, nullptr, nullptr, nullptr, nullptr, 1), 0);
  EXPECT_STREQ(buffer, "unchanged");
  CZnString text("unchanged");
  EXPECT_EQ(CZnWndTool().GetFileSelection(text, nullptr, nullptr, nullptr, nullptr, 1), 0);
  EXPECT_EQ(text, "unchanged");
  EXPECT_EQ(CZnWndTool().GetFolderSelection(buffer, nullptr, nullptr, nullptr), 0);
  EXPECT_EQ(CZnWndTool().GetFolderSelection(text, nullptr, nullptr, nullptr), 0);
  EXPECT_STREQ(buffer, "unchanged");
  EXPECT_EQ(text, "unchanged");
}

TEST(GetFileSelection, APathThatDoesNotFitTheBufferIsRefusedNotCut) {
  RecordingPickers pickers;
  const std::string longPath = "C:\\" + std::string(300, 'p') + "\\a.jpg";
  int result = -1;
  EXPECT_EQ(Pick(pickers, longPath.c_str(), 1, nullptr, &result), "unchanged");
  EXPECT_EQ(result, 0);
  const std::string fits = "C:\\" + std::string(250, 'p') + "\\a.jp";  // 259 bytes
  EXPECT_EQ(Pick(pickers, fits.c_str(), 1, nullptr, &result), fits);
  EXPECT_EQ(result, 1);
  // The string form has no such limit.
  pickers.Answer(longPath);
  CZnString text;
  EXPECT_EQ(CZnWndTool().GetFileSelection(text, nullptr, nullptr, nullptr, nullptr, 2), 1);
  EXPECT_EQ(text, ("C:\\" + std::string(300, 'p')).c_str());
}

TEST_F(Target, TheWindowFormsSetTheTextAndTheCopy) {
  m_pickers.Answer(std::string("C:\\pictures\\a.jpg"));
  char copy[MAX_PATH] = "";
  EXPECT_EQ(CZnWndTool().GetFileSelection(m_edit, nullptr, nullptr, nullptr, nullptr, 2, copy), 1);
  EXPECT_EQ(EditText(), "C:\\pictures");
  EXPECT_STREQ(copy, "C:\\pictures");

  m_pickers.Answer(std::string("C:\\album"));
  EXPECT_EQ(CZnWndTool().GetFolderSelection(m_edit, nullptr, "Where?", "ignored", nullptr), 1);
  EXPECT_EQ(EditText(), "C:\\album");
  ASSERT_EQ(m_pickers.FolderRequests().size(), 1u);
  EXPECT_EQ(m_pickers.FolderRequests()[0].title, "Where?");
}

TEST_F(Target, TheWindowFormsChangeNothingWhenNotDone) {
  char copy[MAX_PATH] = "unchanged";
  m_pickers.Answer(std::nullopt);
  EXPECT_EQ(CZnWndTool().GetFileSelection(m_edit, nullptr, nullptr, nullptr, nullptr, 1, copy), 0);
  // A long answer fits the window but not the copy buffer.
  m_pickers.Answer("C:\\" + std::string(300, 'p'));
  EXPECT_EQ(CZnWndTool().GetFolderSelection(m_edit, nullptr, nullptr, nullptr, copy), 0);
  EXPECT_EQ(EditText(), "before");
  EXPECT_STREQ(copy, "unchanged");
  // No window to set: the picker is not even shown.
  CWnd none;
  EXPECT_EQ(CZnWndTool().GetFileSelection(&none, nullptr, nullptr, nullptr, nullptr, 1, copy), 0);
  EXPECT_EQ(CZnWndTool().GetFolderSelection(nullptr, nullptr, nullptr, nullptr, copy), 0);
  EXPECT_TRUE(m_pickers.FileRequests().size() == 1u);
  EXPECT_TRUE(m_pickers.FolderRequests().size() == 1u);
}

// --- ExecuteFile -------------------------------------------------------------------------------

class Execute : public ::testing::Test {
protected:
  void SetUp() override { m_drive.WriteFile("Pics/index.html", "<html>"); }
  // The result of opening an existing page when the shell answers `code`,
  // with the message written into a buffer that starts as "-".
  int Run(int code, std::string& message, std::string reason = {}) {
    m_shell.AnswerWith(code, std::move(reason));
    char buffer[ZN_EXECUTE_MESSAGE_SIZE] = "-";
    const int result = CZnWndTool().ExecuteFile(nullptr, "X:\\Pics\\index.html", buffer);
    message = buffer;
    return result;
  }
  TempDrive m_drive{'X'};
  RecordingShell m_shell;
};

TEST_F(Execute, EveryShellCodeGivesItsResultAndMessage) {
  struct Row {
    int code;
    int result;
    const char* message;
  };
  const Row rows[] = {
      {42, 0, "-"},
      {33, 0, "-"},
      {0, 0, "-"},
      {1, 1, "-"},
      {2, 2, "The specified file X:\\Pics\\index.html was not found."},
      {3, 3, "The specified path X:\\Pics\\index.html was not found."},
      {4, 4, "-"},
      {5, 5, "The operating system denied access to the specified file."},
      {8, 8, "There was not enough memory to complete the operation."},
      {11, 11, "The .exe file is invalid (non-Win32\xC2\xAE .exe or error in .exe image)."},
      {25, 25, "-"},
      {26, 26, "A sharing violation occurred."},
      {27, 27, "The file name association is incomplete or invalid."},
      {28, 28, "The DDE transaction could not be completed because the request timed out."},
      {29, 29, "The DDE transaction failed."},
      {30, 30,
       "The DDE transaction could not be completed because other DDE transactions were being "
       "processed."},
      {31, 31, "There is no application associated with the given file name extension."},
      {32, 32, "The specified dynamic-link library was not found."},
  };
  for (const Row& row : rows) {
    std::string message;
    EXPECT_EQ(Run(row.code, message), row.result) << row.code;
    EXPECT_EQ(message, row.message) << row.code;
  }
  ASSERT_FALSE(m_shell.Requests().empty());
  EXPECT_EQ(m_shell.Requests()[0].verb, "open");
  EXPECT_EQ(m_shell.Requests()[0].file, "X:\\Pics\\index.html");
}

TEST_F(Execute, WhenTheShellSaysWhyTheMessageNamesTheFileAndTheReason) {
  std::string message;
  EXPECT_EQ(Run(27, message, "xdg-open ended with status 4: Running as root without --no-sandbox is not supported."),
            27);  // the code stays the shell's
  EXPECT_EQ(message,
            "The file X:\\Pics\\index.html could not be opened: xdg-open ended with status 4: Running as root "
            "without --no-sandbox is not supported.");
  EXPECT_EQ(Run(31, message, "xdg-open ended with status 3"), 31);
  EXPECT_EQ(message, "The file X:\\Pics\\index.html could not be opened: xdg-open ended with status 3.");
  // Words of an earlier failure do not stick to a later one without them.
  EXPECT_EQ(Run(27, message), 27);
  EXPECT_EQ(message, "The file name association is incomplete or invalid.");
}

TEST_F(Execute, AMissingFileIsReportedWithoutAskingTheDesktop) {
  char message[ZN_EXECUTE_MESSAGE_SIZE] = "";
  EXPECT_EQ(CZnWndTool().ExecuteFile(nullptr, "X:\\Pics\\gone.html", message), 2);
  EXPECT_STREQ(message, "The specified file X:\\Pics\\gone.html was not found.");
  EXPECT_EQ(CZnWndTool().ExecuteFile(nullptr, "X:\\Gone\\index.html", message), 3);
  EXPECT_EQ(CZnWndTool().ExecuteFile(nullptr, nullptr, message), 2);
  EXPECT_STREQ(message, "The specified file  was not found.");
  EXPECT_EQ(CZnWndTool().ExecuteFile(nullptr, "X:\\Pics\\gone.html", nullptr), 2);
  EXPECT_TRUE(m_shell.Requests().empty());
}

TEST_F(Execute, ALongPathsMessageIsCutToTheBuffer) {
  // 480 bytes of path: the message would need 515.
  const std::string path = "X:\\" + std::string(470, 'd') + "\\\xC3\xA4.html";
  char buffer[ZN_EXECUTE_MESSAGE_SIZE + 16];
  std::memset(buffer, '#', sizeof buffer);
  EXPECT_EQ(CZnWndTool().ExecuteFile(nullptr, path.c_str(), buffer), 3);
  const std::string message(buffer);
  EXPECT_LE(message.size(), static_cast<std::size_t>(ZN_EXECUTE_MESSAGE_SIZE - 1));
  EXPECT_EQ(message.rfind("The specified path X:\\ddd", 0), 0u);
  for (std::size_t i = ZN_EXECUTE_MESSAGE_SIZE; i < sizeof buffer; ++i) EXPECT_EQ(buffer[i], '#');
}

}  // namespace
