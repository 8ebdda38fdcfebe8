#include "platform/Drives.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/FileSystem.h"
#include "platform/testing/TempDrive.h"

using platform::testing::TempDrive;

TEST(DriveTable, DefaultsAndEnvironmentEntries) {
  setenv("ZN_DRIVES", "d=/media/cdrom:CDLABEL;X=/srv//x/;bad;Q=", 1);
  platform::ReloadDriveTable();
  ASSERT_TRUE(platform::FindDrive('C'));
  EXPECT_EQ(platform::FindDrive('c')->folder, "/");
  ASSERT_TRUE(platform::FindDrive('D'));
  EXPECT_EQ(platform::FindDrive('D')->folder, "/media/cdrom");
  EXPECT_EQ(platform::FindDrive('D')->label, "CDLABEL");
  EXPECT_EQ(platform::FindDrive('X')->folder, "/srv/x");
  EXPECT_FALSE(platform::FindDrive('Q'));
  EXPECT_FALSE(platform::FindDrive('E'));
  unsetenv("ZN_DRIVES");
  platform::ReloadDriveTable();
  EXPECT_FALSE(platform::FindDrive('D'));
}

TEST(PathsIn, EveryAcceptedSpelling) {
  TempDrive drive('T');
  const std::string& root = drive.Folder();
  EXPECT_EQ(platform::ToNativePath("T:\\a\\b"), root + "/a/b");
  EXPECT_EQ(platform::ToNativePath("t:/a/b/"), root + "/a/b");
  EXPECT_EQ(platform::ToNativePath("T:"), root);
  EXPECT_EQ(platform::ToNativePath("T:\\"), root);
  EXPECT_EQ(platform::ToNativePath("T:\\a\\.\\b\\..\\c"), root + "/a/c");
  EXPECT_EQ(platform::ToNativePath("T:\\..\\..\\etc"), root + "/etc");  // never above the drive
  EXPECT_EQ(platform::ToNativePath("/usr/lib\\x"), "/usr/lib/x");
  EXPECT_EQ(platform::ToNativePath("rel\\sub/x"), "rel/sub/x");
  EXPECT_EQ(platform::ToNativePath("Z:\\unmapped"), "");
  EXPECT_EQ(platform::ToNativePath(""), "");

  ASSERT_TRUE(platform::SetCurrentDirectoryPath("T:\\"));
  EXPECT_EQ(platform::ToNativePath("\\rooted\\x"), root + "/rooted/x");
}

TEST(PathsOut, LongestDrivePrefixWithBackslashes) {
  TempDrive drive('T');
  EXPECT_EQ(platform::ToDrivePath(drive.Folder() + "/a/b"), "T:\\a\\b");
  EXPECT_EQ(platform::ToDrivePath(drive.Folder()), "T:\\");
  EXPECT_EQ(platform::ToDrivePath("/usr/lib"), "C:\\usr\\lib");
  EXPECT_EQ(platform::ToDrivePath("/"), "C:\\");
  // A prefix must end at a separator: /tmp/zn-test-abc2 is not on T:.
  EXPECT_NE(platform::ToDrivePath(drive.Folder() + "2/x").substr(0, 2), "T:");
}

TEST(PathsOut, CurrentDirectoryIsReportedInDriveForm) {
  TempDrive drive('T');
  drive.MakeDir("Pics/2001");
  ASSERT_TRUE(platform::SetCurrentDirectoryPath("T:\\Pics\\2001"));
  EXPECT_EQ(platform::GetCurrentDirectoryPath(), "T:\\Pics\\2001");
  EXPECT_EQ(platform::GetCurrentDriveLetter(), 'T');
  EXPECT_FALSE(platform::SetCurrentDirectoryPath("T:\\missing"));
  EXPECT_FALSE(platform::SetCurrentDirectoryPath("Z:\\"));
}

TEST(PathsOut, AbsoluteFormKeepsTheCallersSpelling) {
  TempDrive drive('T');
  drive.MakeDir("Pics/2001");
  ASSERT_TRUE(platform::SetCurrentDirectoryPath("T:\\Pics"));
  EXPECT_EQ(platform::MakeAbsolute("T:/Pics\\2001\\\\"), "T:/Pics\\2001");
  EXPECT_EQ(platform::MakeAbsolute("/home/me/Pics/"), "/home/me/Pics");
  EXPECT_EQ(platform::MakeAbsolute("T:\\"), "T:\\");
  EXPECT_EQ(platform::MakeAbsolute("2001"), "T:\\Pics\\2001");
  EXPECT_EQ(platform::MakeAbsolute("..\\Pics\\.\\2001\\"), "T:\\Pics\\2001");
  EXPECT_EQ(platform::MakeAbsolute("\\Other"), "T:\\Other");
  EXPECT_EQ(platform::MakeAbsolute(""), "T:\\Pics");
}

TEST(FileSystem, StatAndIdentityFollowLinks) {
  TempDrive drive('T');
  drive.WriteFile("dir/file.txt", "12345");
  drive.Symlink(drive.Native("dir"), "link");
  platform::FileStat stat;
  ASSERT_TRUE(platform::GetFileStat("T:\\dir\\file.txt", stat));
  EXPECT_EQ(stat.size, 5u);
  EXPECT_FALSE(stat.isDirectory);
  ASSERT_TRUE(platform::GetFileStat("T:\\link", stat));
  EXPECT_TRUE(stat.isDirectory);
  platform::FileIdentity a, b;
  ASSERT_TRUE(platform::GetFileIdentity("T:\\dir", a));
  ASSERT_TRUE(platform::GetFileIdentity(drive.Native("link"), b));
  EXPECT_EQ(a, b);
  EXPECT_FALSE(platform::GetFileStat("T:\\nothing", stat));
  EXPECT_EQ(errno, ENOENT);
}
