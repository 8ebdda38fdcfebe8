#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "platform/FileSystem.h"
#include "platform/testing/TempDrive.h"
#include "zncore/ZnFile.h"

using platform::testing::TempDrive;

namespace {

void SetModificationTime(const std::string& native, const CTime& time) {
  const auto system = std::chrono::system_clock::from_time_t(static_cast<std::time_t>(time.GetTime()));
  std::filesystem::last_write_time(native, std::chrono::file_clock::from_sys(system));
}

class FileUtilitiesTest : public ::testing::Test {
protected:
  TempDrive drive{'T'};
};

}  // namespace

TEST_F(FileUtilitiesTest, FileExistJoinsPathAndFile) {
  drive.WriteFile("data/x.txt");
  drive.WriteFile("y.txt");
  drive.WriteFile("data/a.TXT");
  drive.MakeDir("data/sub");
  ASSERT_TRUE(platform::SetCurrentDirectoryPath("T:\\data"));
  const struct {
    const char* file;
    const char* path;
    int found;
  } rows[] = {
      {"x.txt", "T:\\data\\\\", 1},  // trailing backslashes go before the join
      {"x.txt", "T:\\data", 1},
      {"T:\\y.txt", "T:\\data", 1},  // a file with a backslash ignores the path
      {"x.txt", "", 1},              // empty path: the current directory
      {"y.txt", "", 0},
      {"sub", "T:\\data", 1},        // folders count
      {"*.txt", "T:\\data", 1},      // wildcards act as wildcards, without case
      {"*.gif", "T:\\data", 0},
      {"X.TXT", "T:\\data", 0},      // exact names keep their case
      {"x.txt", "T:\\nowhere", 0},
      {"", "", 0},
  };
  for (const auto& row : rows)
    EXPECT_EQ(CZnFile::FileExist(row.file, row.path), row.found) << row.file << " in " << row.path;
  const std::string native = drive.Native("y.txt");
  EXPECT_EQ(CZnFile::FileExist(native.c_str(), "T:\\data"), 1);  // a native absolute path stands alone
}

TEST_F(FileUtilitiesTest, EnsurePathCreatesTheMissingLevels) {
  drive.MakeDir("a");
  EXPECT_EQ(CZnFile::EnsurePath("T:\\a\\b\\c", 0, 1), 1);
  EXPECT_TRUE(drive.Exists("a/b/c"));
  EXPECT_EQ(CZnFile::EnsurePath("T:\\a\\b\\c\\\\", 0, 0), 1);
  EXPECT_EQ(CZnFile::EnsurePath("T:\\a\\x\\y", 0, 0), 0);
  EXPECT_FALSE(drive.Exists("a/x"));
  EXPECT_EQ(CZnFile::EnsurePath("T:\\a\\f\\x.txt", 1, 1), 1);
  EXPECT_TRUE(drive.Exists("a/f"));
  EXPECT_FALSE(drive.Exists("a/f/x.txt"));
  EXPECT_EQ(CZnFile::EnsurePath("T:\\", 0, 0), 1);
  EXPECT_EQ(CZnFile::EnsurePath("T:", 0, 0), 1);
  EXPECT_EQ(CZnFile::EnsurePath("x.txt", 1, 0), 1);  // a bare name: the current folder
  EXPECT_EQ(CZnFile::EnsurePath(nullptr, 0, 1), 0);
}

TEST_F(FileUtilitiesTest, EnsurePathStopsAtAFileInTheWay) {
  drive.WriteFile("a/b", "plain file");
  EXPECT_EQ(CZnFile::EnsurePath("T:\\a\\b\\c", 0, 1), 0);
  EXPECT_EQ(drive.ReadFile("a/b"), "plain file");
  EXPECT_EQ(CZnFile::EnsurePath("Q:\\a", 0, 1), 0);  // a drive that is not there
}

TEST_F(FileUtilitiesTest, EnsurePathKeepsTheRootOfRootedPaths) {
  drive.MakeDir("cwd");
  ASSERT_TRUE(platform::SetCurrentDirectoryPath("T:\\cwd"));
  EXPECT_EQ(CZnFile::EnsurePath("\\top\\level", 0, 1), 1);
  EXPECT_TRUE(drive.Exists("top/level"));
  EXPECT_FALSE(drive.Exists("cwd/top"));
  EXPECT_EQ(CZnFile::EnsurePath("rel\\dir", 0, 1), 1);
  EXPECT_TRUE(drive.Exists("cwd/rel/dir"));
  const std::string native = drive.Native("native/a/b");
  EXPECT_EQ(CZnFile::EnsurePath(native.c_str(), 0, 1), 1);
  EXPECT_TRUE(drive.Exists("native/a/b"));
  // A network root is never created.
  EXPECT_EQ(CZnFile::EnsurePath("\\\\server\\share\\dir", 0, 1), 0);
  EXPECT_FALSE(drive.Exists("server"));
}

TEST_F(FileUtilitiesTest, EnsurePathHandlesPathsLongerThanItsOldBuffers) {
  std::string relative, path = "T:";
  for (int level = 0; level < 40; ++level) {
    const std::string piece = "level" + std::to_string(100000 + level);
    relative += (level ? "/" : "") + piece;
    path += "\\" + piece;
  }
  ASSERT_GT(path.size(), 400u);
  EXPECT_EQ(CZnFile::EnsurePath((path + "\\file.txt").c_str(), 1, 1), 1);
  EXPECT_TRUE(drive.Exists(relative));
  EXPECT_EQ(CZnFile::EnsurePath(path.c_str(), 0, 0), 1);
}

TEST_F(FileUtilitiesTest, TimeTextsOfTheOpenFile) {
  drive.WriteFile("f.txt", "abc");
  SetModificationTime(drive.Native("f.txt"), CTime(1999, 3, 7, 14, 5, 9));
  CZnFile file("T:\\f.txt", CFile::modeRead);
  char buffer[20];
  EXPECT_STREQ(file.GetModificationTime(buffer, 1), "07.03.1999 14:05:09");
  EXPECT_EQ(file.GetModificationTime(buffer, 0), buffer);
  EXPECT_STREQ(buffer, "14:05:09");
  EXPECT_EQ(file.GetModificationTime(), CTime(1999, 3, 7, 14, 5, 9));
  EXPECT_EQ(std::string(file.GetCreationTime(buffer, 1)).size(), 19u);
  EXPECT_EQ(std::string(file.GetReadTime(buffer, 0)).size(), 8u);
  EXPECT_GT(file.GetCreationTime().GetTime(), 0);
  EXPECT_GT(file.GetReadTime().GetTime(), 0);
}

TEST_F(FileUtilitiesTest, TimesWithoutAnOpenFileAreEmpty) {
  CZnFile file("T:\\f.txt");
  char buffer[20] = "unchanged";
  EXPECT_STREQ(file.GetCreationTime(buffer, 1), "");
  EXPECT_STREQ(file.GetModificationTime(buffer, 0), "");
  EXPECT_EQ(file.GetReadTime(), CTime(0));
  EXPECT_EQ(file.GetCreationTime(nullptr, 1), nullptr);
}

TEST(FileTimes, YearsBeyondFourDigitsStayInsideTheBuffer) {
  // Most disk file systems stop in 2446; tmpfs keeps such times.
  const std::string native = "/dev/shm/zn-year-test-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed());
  const CTime farAway(12000, 1, 2, 3, 4, 5);
  const std::string command = "touch -m -d @" + std::to_string(farAway.GetTime()) + " '" + native + "' 2>/dev/null";
  if (std::system(command.c_str()) != 0) GTEST_SKIP() << "no /dev/shm to hold the file";
  char buffer[24];
  std::memset(buffer, '#', sizeof buffer);
  {
    CZnFile file(native.c_str(), CFile::modeRead);
    if (file.GetModificationTime() != farAway) {
      std::filesystem::remove(native);
      GTEST_SKIP() << "the file system cannot hold the year 12000";
    }
    file.GetModificationTime(buffer, 1);
  }
  std::filesystem::remove(native);
  EXPECT_EQ(std::string(buffer, 20), std::string("02.01.12000 03:04:0\0", 20));
  EXPECT_EQ(buffer[20], '#');
}

TEST_F(FileUtilitiesTest, ComparisonsWithTheirTwoFailureCodes) {
  drive.WriteFile("mine.txt", "12345");
  drive.WriteFile("older.txt", "1234567");
  drive.WriteFile("same.txt", "54321");
  SetModificationTime(drive.Native("mine.txt"), CTime(2001, 5, 5, 12, 0, 0));
  SetModificationTime(drive.Native("older.txt"), CTime(2000, 5, 5, 12, 0, 0));
  SetModificationTime(drive.Native("same.txt"), CTime(2001, 5, 5, 12, 0, 0));
  CZnFile file("T:\\mine.txt", CFile::modeRead);
  char older[] = "T:\\older.txt", same[] = "T:\\same.txt", missing[] = "T:\\missing.txt";
  EXPECT_EQ(file.CompareModificationTime(older), 1);
  EXPECT_EQ(file.CompareModificationTime(same), 0);
  EXPECT_EQ(file.CompareSize(older), -1);
  EXPECT_EQ(file.CompareSize(same), 0);
  EXPECT_EQ(file.CompareSize(missing), -3);
  EXPECT_EQ(file.CompareCreationTime(missing), -3);
  EXPECT_EQ(file.CompareReadTime(nullptr), -3);
  CZnFile closed("T:\\mine.txt");
  for (int result : {closed.CompareSize(older), closed.CompareCreationTime(older),
                     closed.CompareModificationTime(missing), closed.CompareReadTime(older)})
    EXPECT_EQ(result, -2);
}

TEST_F(FileUtilitiesTest, SizesCompareBeyondTwoGigabytes) {
  {
    CFile big("T:\\big", CFile::modeCreate | CFile::modeWrite);
    big.SetLength(3ull << 30);
  }
  drive.WriteFile("small", "x");
  CZnFile file("T:\\big", CFile::modeRead);
  char small[] = "T:\\small";
  EXPECT_EQ(file.CompareSize(small), 1);
}

TEST_F(FileUtilitiesTest, DriveAvailabilityLeavesTheCurrentDirectory) {
  drive.MakeDir("here");
  TempDrive other('U');
  ASSERT_TRUE(platform::SetCurrentDirectoryPath("T:\\here"));
  const struct {
    const char* text;
    int available;
  } rows[] = {{"U", 1}, {"u:\\", 1}, {"T:", 1}, {"Q:\\", 0}, {"@", 0}, {"", 0}, {"1", 0}};
  for (const auto& row : rows) {
    EXPECT_EQ(CZnFile::IsDriveAvailable(row.text), row.available) << row.text;
    EXPECT_EQ(platform::GetCurrentDirectoryPath(), "T:\\here") << row.text;
  }
  EXPECT_EQ(CZnFile::IsDriveAvailable(nullptr), 0);
}

TEST(FileNames, InvalidCharactersAreReplacedOneByOne) {
  const struct {
    const char* name;
    char replacement;
    const char* expected;
  } rows[] = {
      {"a:b/c?.txt", '_', "a_b_c_.txt"},
      {"my file #1; ok.txt", '_', "my file #1; ok.txt"},  // blanks, '#' and ';' stay
      {"<\"|*>'\\\t\n", '-', "---------"},
      {"gr\xC3\xBC\xC3\x9F.txt", '_', "gr\xC3\xBC\xC3\x9F.txt"},
      {"", '_', ""},
  };
  for (const auto& row : rows)
    EXPECT_EQ(CZnFile::ReplaceInvalidFilenameChars(row.name, row.replacement), row.expected) << row.name;
  EXPECT_EQ(CZnFile::ReplaceInvalidFilenameChars(nullptr, '_'), "");
  // A zero replacement keeps the length, as every replacement does.
  EXPECT_EQ(CZnFile::ReplaceInvalidFilenameChars("a?b", '\0').GetLength(), 3);
}

TEST(FileReserved, ReservedMembersReturnTheirConstants) {
  CZnFile file;
  char text[] = "x";
  char data[4] = {};
  EXPECT_EQ(file.WipeOutFile(1, 2), 1);
  EXPECT_EQ(file.ConnectFile(text, 1), 0);
  EXPECT_EQ(file.ConvertFile(text, 1), 0);
  EXPECT_EQ(file.DivideFile(text, text, 1, 2, text, 3), 0);
  EXPECT_EQ(file.ConvertMime64(text, 1, 2, 3), 0);
  EXPECT_EQ(file.ReplaceInFile(text, text, 1, text), 0);
  EXPECT_EQ(file.CatFile(text, text, 1, 2), 1);
  EXPECT_EQ(file.CopyFileA("a", 1, 2, 3), 1);
  EXPECT_EQ(file.MakeFileGenerations("a", 1, 2, 3), 1);
  EXPECT_EQ(file.SplitFile(text, 1, text), 1);
  EXPECT_EQ(file.AppendData("a", data, 4), 1);
  EXPECT_EQ(file.FileRead("a", data, 4), 0u);
  EXPECT_EQ(file.FileWrite("a", data, 4), 0u);
  EXPECT_EQ(file.CompareFile("a", 1, 2), 0);
  EXPECT_EQ(file.ConvertHexalStandard(text, 1, 2), 0);
  EXPECT_EQ(file.FindInFile("a", 1, 2), -1);
  EXPECT_STREQ(text, "x");
}
