#include "platform/Io.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>

#include "platform/FileSystem.h"
#include "platform/SystemError.h"
#include "platform/testing/TempDrive.h"

using platform::testing::ScopedUnprivileged;
using platform::testing::TempDrive;

TEST(Access, ExistenceReadAndWriteOfTheEffectiveUser) {
  TempDrive drive('T');
  drive.WriteFile("open.txt");
  drive.Chmod("open.txt", 0666);
  drive.WriteFile("readonly.txt");
  drive.Chmod("readonly.txt", 0444);
  drive.WriteFile("none.txt");
  drive.Chmod("none.txt", 0);
  ScopedUnprivileged user;
  if (!user.Active()) GTEST_SKIP() << "cannot act as an unprivileged user";
  const struct {
    const char* path;
    int mode;
    int result;
  } rows[] = {
      {"T:\\open.txt", 0, 0},     {"T:\\open.txt", 2, 0},     {"T:\\open.txt", 4, 0},
      {"T:\\open.txt", 6, 0},     {"T:\\readonly.txt", 4, 0}, {"T:\\readonly.txt", 2, -1},
      {"T:\\readonly.txt", 6, -1}, {"T:\\none.txt", 0, 0},     {"T:\\none.txt", 4, -1},
      {"T:\\missing", 0, -1},     {"Q:\\unmapped", 0, -1},    {"", 0, -1},
  };
  for (const auto& row : rows) EXPECT_EQ(_access(row.path, row.mode), row.result) << row.path << " " << row.mode;
}

TEST(MakeDir, CreatesOneLevelAndReportsTakenNames) {
  TempDrive drive('T');
  EXPECT_EQ(_mkdir("T:\\new"), 0);
  EXPECT_TRUE(drive.Exists("new"));
  EXPECT_EQ(_mkdir("T:\\new"), -1);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(EEXIST));
  EXPECT_EQ(_mkdir("T:\\a\\b"), -1);
  EXPECT_EQ(errno, ENOENT);
  EXPECT_EQ(_mkdir(nullptr), -1);
}

TEST(CurrentDrive, EachDriveKeepsTheFolderLastUsedOnIt) {
  TempDrive t('T');
  TempDrive u('U');
  t.MakeDir("work/deep");
  u.MakeDir("other");
  ASSERT_TRUE(platform::SetCurrentDirectoryPath("T:\\work\\deep"));
  EXPECT_EQ(_getdrive(), 'T' - 'A' + 1);
  EXPECT_EQ(_chdrive('U' - 'A' + 1), 0);
  EXPECT_EQ(platform::GetCurrentDirectoryPath(), "U:\\");
  ASSERT_TRUE(platform::SetCurrentDirectoryPath("U:\\other"));
  EXPECT_EQ(_chdrive('T' - 'A' + 1), 0);
  EXPECT_EQ(platform::GetCurrentDirectoryPath(), "T:\\work\\deep");
  EXPECT_EQ(_chdrive('U' - 'A' + 1), 0);
  EXPECT_EQ(platform::GetCurrentDirectoryPath(), "U:\\other");
  EXPECT_EQ(_chdrive('U' - 'A' + 1), 0);  // already current: stays put
  EXPECT_EQ(platform::GetCurrentDirectoryPath(), "U:\\other");
}

TEST(CurrentDrive, UnknownDrivesFailAndChangeNothing) {
  TempDrive drive('T');
  ASSERT_TRUE(platform::SetCurrentDirectoryPath("T:\\"));
  for (int number : {0, -1, 27, 'Q' - 'A' + 1}) EXPECT_EQ(_chdrive(number), -1) << number;
  EXPECT_EQ(platform::GetCurrentDirectoryPath(), "T:\\");
}

TEST(SystemError, LastErrorAndItsText) {
  SetLastError(ENOENT);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ENOENT));
  EXPECT_FALSE(platform::SystemErrorText(ENOENT).empty());
  EXPECT_NE(platform::SystemErrorText(ENOENT), platform::SystemErrorText(EACCES));
  EXPECT_EQ(platform::SystemErrorText(999999), "");
  EXPECT_EQ(platform::SystemErrorText(0xFFFFFFFFu), "");
}
