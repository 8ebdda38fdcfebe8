#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/Drives.h"
#include "platform/testing/TempDrive.h"
#include "zncore/ZnSystem.h"

using platform::testing::TempDrive;

namespace {

// Sets or removes an environment variable for the life of the object.
class ScopedEnv {
public:
  ScopedEnv(const char* name, const char* value) : m_name(name) {
    if (const char* old = std::getenv(name)) m_old = old;
    if (value) ::setenv(name, value, 1);
    else ::unsetenv(name);
  }
  ~ScopedEnv() {
    if (m_old) ::setenv(m_name, m_old->c_str(), 1);
    else ::unsetenv(m_name);
  }

private:
  const char* m_name;
  std::optional<std::string> m_old;
};

}  // namespace

TEST(System, IsNtFollowsTheEnvironment) {
  CZnSystem system;
  {
    ScopedEnv unset("PROCESSOR_LEVEL", nullptr);
    EXPECT_EQ(system.IsNT(), 0);
  }
  ScopedEnv set("PROCESSOR_LEVEL", "");
  EXPECT_EQ(system.IsNT(), 1);
}

TEST(System, ReturnOnTruePicksByEquality) {
  CZnSystem system;
  char x[] = "x", y[] = "y";
  EXPECT_EQ(system.ReturnOnTrue(1, 1, x, y), x);
  EXPECT_EQ(system.ReturnOnTrue(1, 2, x, y), y);
}

TEST(System, ConvertCharDriveAcceptsItsCharacterSet) {
  CZnSystem system;
  const struct {
    const char* text;
    int drive;
  } rows[] = {
      {"c:\\", 3}, {"C:", 3},  {"a", 1},     {"z", 26},   {"Z", 26},   {"@", 0},   {"9", -7},  {"0", -16},
      {"{", 59},   {"}", 61},  {"\x7F", 63}, {"_", 31},   {":", -6},   {"\\", 28}, {"?", -1},  {"!", -31},
      {"#", -29},  {"*", -22}, {",", -20},   {".", -18},  {" ", -1},   {"+", -1},  {";", -1},  {"\"", -1},
      {"/", -1},   {"<", -1},  {"[", -1},    {"`", -1},   {"|", -1},   {"~", -1},  {"\xC3\xA4", -1}, {"", -1},
  };
  for (const auto& row : rows) {
    std::string text = row.text;
    EXPECT_EQ(system.ConvertCharDrive(text.data()), row.drive) << '"' << row.text << '"';
  }
  EXPECT_EQ(system.ConvertCharDrive(nullptr), -1);
}

TEST(System, ConvertIntDriveWithAndWithoutMask) {
  CZnSystem system;
  const struct {
    int drive;
    int mask;
    const char* expected;
  } rows[] = {
      {4, 0, "D:"}, {4, 1, "D:\\*.*"}, {3, 7, "C:\\*.*"}, {1, 0, "A:"}, {0, 0, "@:"}, {-64, 1, ""},
  };
  for (const auto& row : rows) {
    char buffer[10];
    std::memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(system.ConvertIntDrive(row.drive, row.mask, buffer), buffer);
    EXPECT_STREQ(buffer, row.expected) << row.drive;
    EXPECT_EQ(buffer[7], '#');
  }
  EXPECT_EQ(system.ConvertIntDrive(3, 0, nullptr), nullptr);
}

TEST(System, DiskVolumeLabelCutToItsBuffer) {
  TempDrive drive('T');
  CZnSystem system;
  char buffer[270];
  platform::MapDrive('T', drive.Folder(), "HOLIDAY");
  EXPECT_STREQ(system.GetDiskVolume("T:\\", buffer), "HOLIDAY");
  const std::string longLabel(300, 'L');
  platform::MapDrive('T', drive.Folder(), longLabel);
  std::memset(buffer, '#', sizeof buffer);
  system.GetDiskVolume("T:\\", buffer);
  EXPECT_EQ(std::string(buffer), longLabel.substr(0, 259));
  EXPECT_EQ(buffer[260], '#');
  std::strcpy(buffer, "stale");
  EXPECT_STREQ(system.GetDiskVolume("Q:\\", buffer), "");
  platform::MapDrive('T', drive.Folder());
  EXPECT_STREQ(system.GetDiskVolume("T:\\", buffer), "");
}

TEST(System, DiskSpaceInSixtyFourBits) {
  TempDrive drive('T');
  CZnSystem system;
  EXPECT_EQ(system.GetDiskInfo("T:\\", nullptr, nullptr, nullptr), 1);
  unsigned long total = 0, free = 0, used = 0;
  ASSERT_EQ(system.GetDiskInfo("T:\\", &total, &free, &used), 1);
  // The file system's own figure: no wrap at 4 GB, whatever the disk's size.
  EXPECT_EQ(total, std::filesystem::space(drive.Folder()).capacity);
  EXPECT_EQ(used, total - free);
  EXPECT_EQ(system.GetDiskSize("T:\\"), total);
  EXPECT_EQ(system.GetDiskUsed("T:\\") + system.GetDiskFree("T:\\"), total);
  unsigned long untouched = 42;
  EXPECT_EQ(system.GetDiskInfo("Q:\\", &untouched, &untouched, &untouched), 0);
  EXPECT_EQ(untouched, 42u);
  EXPECT_EQ(system.GetDiskSize("Q:\\"), 0u);
  EXPECT_EQ(system.GetDiskFree("Q:\\"), 0u);
  EXPECT_EQ(system.GetDiskUsed("Q:\\"), 0u);
}

TEST(System, ProfileValuesWithTheUnderscoreDefaultRule) {
  TempDrive drive('T');
  drive.WriteFile("app.ini", "[Main]\r\nKey=abc\r\nEmpty=\r\nUnder=_\r\nLong=0123456789\r\n");
  CZnSystem system;
  const struct {
    const char* key;
    const char* file;
    const char* value;
    unsigned long result;
  } rows[] = {
      {"Key", "T:\\app.ini", "abc", 3},     {"Empty", "T:\\app.ini", "dflt", 0},
      {"Missing", "T:\\app.ini", "dflt", 0}, {"Under", "T:\\app.ini", "dflt", 0},
      {"Key", "T:\\none.ini", "dflt", 0},
  };
  for (const auto& row : rows) {
    char buffer[32];
    EXPECT_EQ(system.ReadPrivateProfileString("Main", row.key, "dflt", buffer, sizeof buffer, row.file),
              row.result)
        << row.key;
    EXPECT_STREQ(buffer, row.value) << row.key;
  }
  char buffer[32];
  EXPECT_EQ(system.ReadPrivateProfileString("Main", "Missing", nullptr, buffer, sizeof buffer, "T:\\app.ini"), 0u);
  EXPECT_STREQ(buffer, "");
}

TEST(System, ProfileReadingNeverWritesPastTheStatedSize) {
  TempDrive drive('T');
  drive.WriteFile("app.ini", "[Main]\nLong=0123456789\nEmpty=\n");
  CZnSystem system;
  char buffer[16];
  std::memset(buffer, '#', sizeof buffer);
  EXPECT_EQ(system.ReadPrivateProfileString("Main", "Long", "", buffer, 5, "T:\\app.ini"), 4u);
  EXPECT_EQ(std::string(buffer, 6), std::string("0123\0#", 6));
  std::memset(buffer, '#', sizeof buffer);
  EXPECT_EQ(system.ReadPrivateProfileString("Main", "Empty", "a default too long", buffer, 5, "T:\\app.ini"), 0u);
  EXPECT_EQ(std::string(buffer, 6), std::string("a de\0#", 6));
  std::memset(buffer, '#', sizeof buffer);
  EXPECT_EQ(system.ReadPrivateProfileString("Main", "Missing", "a default too long", buffer, 1, "T:\\app.ini"), 0u);
  EXPECT_EQ(std::string(buffer, 2), std::string("\0#", 2));
  EXPECT_EQ(system.ReadPrivateProfileString("Main", "Long", "d", buffer, 0, "T:\\app.ini"), 0u);
  EXPECT_EQ(buffer[1], '#');
}

TEST(System, SharesFileExistAndEnsurePathWithTheFileClass) {
  TempDrive drive('T');
  drive.WriteFile("data/x.txt");
  CZnSystem system;
  EXPECT_EQ(system.FileExist("x.txt", "T:\\data\\\\"), 1);
  EXPECT_EQ(system.FileExist("y.txt", "T:\\data"), 0);
  EXPECT_EQ(system.EnsurePath("T:\\data\\new\\deeper", 0, 1), 1);
  EXPECT_TRUE(drive.Exists("data/new/deeper"));
  EXPECT_EQ(system.EnsurePath("T:\\data\\x.txt\\below", 0, 1), 0);
}

TEST(System, ReservedMembersChangeNothing) {
  TempDrive drive('T');
  CZnSystem system;
  char path[] = "T:\\";
  EXPECT_EQ(system.ChDir(path), 1);
  EXPECT_EQ(system.SetDayPath("T:\\day"), 1);
  EXPECT_FALSE(drive.Exists("day"));
}
