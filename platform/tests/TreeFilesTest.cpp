#include "platform/TreeFiles.h"

#include <gtest/gtest.h>

#include "platform/testing/TempDrive.h"

using platform::TreeEntry;
using platform::testing::TempDrive;

TEST(TreeFiles, LooksWithoutFollowingLinks) {
  TempDrive drive('T');
  TempDrive outside('U');
  drive.WriteFile("Tree/A/page.html", "x");
  drive.MakeDir("Tree/B");
  outside.WriteFile("Elsewhere/page.html", "theirs");
  drive.Symlink(outside.Native("Elsewhere/page.html"), "Tree/A/link.html");
  drive.Symlink(outside.Native("Elsewhere"), "Tree/Out");
  drive.Symlink(drive.Native("Tree/A"), "Tree/Alias");
  struct Row {
    const char* path;
    TreeEntry entry;
  };
  const Row rows[] = {
      {"T:\\Tree\\A\\page.html", TreeEntry::PlainFile},  {"T:\\Tree\\B", TreeEntry::PlainFolder},
      {"T:\\Tree\\A\\link.html", TreeEntry::Link},       {"T:\\Tree\\Out", TreeEntry::Link},
      {"T:\\Tree\\Out\\page.html", TreeEntry::OutsideTree}, {"T:\\Tree\\Alias\\page.html", TreeEntry::PlainFile},
      {"T:\\Tree\\A\\none.html", TreeEntry::Missing},    {"T:\\Tree\\Gone\\x", TreeEntry::Missing},
      {"T:\\page.html", TreeEntry::OutsideTree},         {"T:\\Tree", TreeEntry::OutsideTree},
  };
  for (const Row& row : rows) EXPECT_EQ(platform::CheckTreeEntry("T:\\Tree", row.path), row.entry) << row.path;
  platform::FileStat stat;
  ASSERT_EQ(platform::CheckTreeEntry("T:\\Tree", "T:\\Tree\\A\\page.html", &stat), TreeEntry::PlainFile);
  EXPECT_EQ(stat.size, 1u);
}

TEST(TreeFiles, RemovesOnlyPlainEntriesInsideTheTree) {
  TempDrive drive('T');
  TempDrive outside('U');
  drive.WriteFile("Tree/A/page.html", "x");
  drive.WriteFile("Tree/Full/keep.txt", "x");
  drive.MakeDir("Tree/Empty");
  outside.WriteFile("Elsewhere/page.html", "theirs");
  drive.Symlink(outside.Native("Elsewhere/page.html"), "Tree/A/link.html");
  drive.Symlink(outside.Native("Elsewhere"), "Tree/Out");

  EXPECT_EQ(platform::RemoveTreeFile("T:\\Tree", "T:\\Tree\\A\\link.html"), TreeEntry::Link);
  EXPECT_EQ(platform::RemoveTreeFile("T:\\Tree", "T:\\Tree\\Out\\page.html"), TreeEntry::OutsideTree);
  EXPECT_EQ(platform::RemoveTreeFile("T:\\Tree", "T:\\Tree\\Empty"), TreeEntry::PlainFolder);
  EXPECT_TRUE(outside.Exists("Elsewhere/page.html"));
  EXPECT_TRUE(drive.Exists("Tree/A/link.html"));

  EXPECT_EQ(platform::RemoveTreeFile("T:\\Tree", "T:\\Tree\\A\\page.html"), TreeEntry::PlainFile);
  EXPECT_FALSE(drive.Exists("Tree/A/page.html"));
  EXPECT_EQ(platform::RemoveTreeFile("T:\\Tree", "T:\\Tree\\A\\page.html"), TreeEntry::Missing);

  EXPECT_EQ(platform::RemoveTreeFolder("T:\\Tree", "T:\\Tree\\Full"), TreeEntry::Unreadable);  // not empty
  EXPECT_TRUE(drive.Exists("Tree/Full/keep.txt"));
  EXPECT_EQ(platform::RemoveTreeFolder("T:\\Tree", "T:\\Tree\\Empty"), TreeEntry::PlainFolder);
  EXPECT_FALSE(drive.Exists("Tree/Empty"));
}

TEST(TreeFiles, NewFilesNeverWriteThroughALink) {
  TempDrive drive('T');
  TempDrive outside('U');
  outside.WriteFile("theirs.txt", "theirs");
  drive.Symlink(outside.Native("theirs.txt"), "link.txt");
  EXPECT_FALSE(platform::WriteNewFile("T:\\link.txt", "mine"));
  EXPECT_EQ(outside.ReadFile("theirs.txt"), "theirs");
  EXPECT_TRUE(platform::WriteNewFile("T:\\new.txt", "mine"));
  EXPECT_EQ(drive.ReadFile("new.txt"), "mine");
  EXPECT_FALSE(platform::WriteNewFile("T:\\new.txt", "again"));
  EXPECT_EQ(errno, EEXIST);
}

TEST(TreeFiles, MakeFolderAndReplaceFile) {
  TempDrive drive('T');
  EXPECT_TRUE(platform::MakeFolder("T:\\New"));
  EXPECT_FALSE(platform::MakeFolder("T:\\New"));
  EXPECT_EQ(errno, EEXIST);
  drive.WriteFile("New/a.tmp", "new");
  drive.WriteFile("New/a.txt", "old");
  EXPECT_TRUE(platform::ReplaceFile("T:\\New\\a.tmp", "T:\\New\\a.txt"));
  EXPECT_EQ(drive.ReadFile("New/a.txt"), "new");
  EXPECT_FALSE(drive.Exists("New/a.tmp"));
}
