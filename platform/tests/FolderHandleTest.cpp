#include "platform/FolderHandle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include "platform/testing/TempDrive.h"

using platform::EntryInfo;
using platform::EntryKind;
using platform::FolderHandle;
using platform::ReadStatus;
using platform::testing::TempDrive;

namespace {

EntryKind KindOf(const FolderHandle& folder, const char* name, bool follow = false) {
  EntryInfo info;
  folder.Look(name, info, follow);
  return info.kind;
}

}  // namespace

TEST(FolderHandle, StepsByOneNameAndNeverFollowsALinkUnlessAsked) {
  TempDrive drive('T');
  TempDrive outside('U');
  drive.WriteFile("Tree/A/page.html", "x");
  outside.WriteFile("Secret/data.txt", "secret");
  drive.Symlink(outside.Native("Secret"), "Tree/Out");
  drive.Symlink(outside.Native("Secret/data.txt"), "Tree/A/link.html");
  ASSERT_EQ(::mkfifo(drive.Native("Tree/A/pipe.jpg").c_str(), 0644), 0);

  const FolderHandle root = FolderHandle::Open("T:\\Tree");
  ASSERT_TRUE(root.IsOpen());
  const FolderHandle a = root.OpenFolder("A");
  ASSERT_TRUE(a.IsOpen());
  const FolderHandle out = root.OpenFolder("Out");
  EXPECT_FALSE(out.IsOpen());
  EXPECT_EQ(out.Error(), ELOOP);
  EXPECT_TRUE(root.OpenFolder("Out", true).IsOpen());
  EXPECT_EQ(root.OpenFolder("A", true).Identity(), a.Identity());
  EXPECT_EQ(a.OpenFolder("pipe.jpg").Error(), ENOTDIR);  // a pipe never blocks the open
  for (const char* bad : {"", ".", "..", "A/page.html"}) EXPECT_EQ(root.OpenFolder(bad).Error(), EINVAL) << bad;

  EXPECT_EQ(KindOf(a, "page.html"), EntryKind::File);
  EXPECT_EQ(KindOf(a, "link.html"), EntryKind::Link);
  EXPECT_EQ(KindOf(a, "link.html", true), EntryKind::File);
  EXPECT_EQ(KindOf(a, "pipe.jpg"), EntryKind::Special);
  EXPECT_EQ(KindOf(root, "A"), EntryKind::Folder);
  EXPECT_EQ(KindOf(a, "none"), EntryKind::Missing);

  std::vector<platform::FolderName> names;
  ASSERT_TRUE(a.List(names));
  std::vector<std::string> listed;
  for (const auto& name : names) listed.push_back(name.name);
  std::sort(listed.begin(), listed.end());
  EXPECT_EQ(listed, (std::vector<std::string>{"link.html", "page.html", "pipe.jpg"}));
  ASSERT_TRUE(a.List(names));  // a second listing starts from the beginning again
  EXPECT_EQ(names.size(), 3u);
  EXPECT_EQ(a.RealPath(), std::filesystem::canonical(drive.Native("Tree/A")).string());
}

TEST(FolderHandle, ReadsOnlyRegularFilesAndNeverBlocks) {
  TempDrive drive('T');
  TempDrive outside('U');
  drive.WriteFile("Tree/a.txt", "content");
  outside.WriteFile("secret.txt", "secret");
  drive.Symlink(outside.Native("secret.txt"), "Tree/link.txt");
  ASSERT_EQ(::mkfifo(drive.Native("Tree/pipe.jpg").c_str(), 0644), 0);
  drive.MakeDir("Tree/Sub");
  const FolderHandle tree = FolderHandle::Open("T:\\Tree");

  std::string content;
  EntryInfo info;
  EXPECT_EQ(tree.ReadFile("a.txt", 100, content, &info), ReadStatus::Read);
  EXPECT_EQ(content, "content");
  EXPECT_EQ(info.size, 7u);
  EXPECT_EQ(tree.ReadFile("a.txt", 6, content), ReadStatus::TooLarge);
  EXPECT_EQ(tree.ReadFile("link.txt", 100, content), ReadStatus::NotAFile);
  EXPECT_EQ(tree.ReadFile("pipe.jpg", 100, content), ReadStatus::NotAFile);
  EXPECT_EQ(tree.ReadFile("Sub", 100, content), ReadStatus::NotAFile);
  EXPECT_EQ(tree.ReadFile("none", 100, content), ReadStatus::Missing);
  EXPECT_EQ(tree.ReadHead("a.txt", 3, content), ReadStatus::Read);
  EXPECT_EQ(content, "con");
  EXPECT_EQ(tree.ReadHead("pipe.jpg", 3, content), ReadStatus::NotAFile);
}

TEST(FolderHandle, RemovesOnlyWhatIsThereAsExpected) {
  TempDrive drive('T');
  TempDrive outside('U');
  drive.WriteFile("Tree/a.html", "x");
  drive.WriteFile("Tree/b.html", "x");
  outside.WriteFile("theirs.html", "theirs");
  drive.Symlink(outside.Native("theirs.html"), "Tree/link.html");
  drive.MakeDir("Tree/Empty");
  drive.Symlink(drive.Native("Tree/Empty"), "Tree/FolderLink");
  const FolderHandle tree = FolderHandle::Open("T:\\Tree");

  EntryInfo b;
  ASSERT_TRUE(tree.Look("b.html", b));
  const platform::FileIdentity other = {b.device, b.inode + 1000000};
  EXPECT_FALSE(tree.RemoveFile("b.html", &other));
  EXPECT_EQ(errno, ESTALE);
  const platform::FileIdentity same = b.Identity();
  EXPECT_TRUE(tree.RemoveFile("b.html", &same));
  EXPECT_TRUE(tree.RemoveFile("a.html"));
  EXPECT_FALSE(tree.RemoveFile("a.html"));
  EXPECT_EQ(errno, ENOENT);
  EXPECT_FALSE(tree.RemoveFile("link.html"));
  EXPECT_EQ(errno, EPERM);
  EXPECT_TRUE(outside.Exists("theirs.html"));
  EXPECT_FALSE(tree.RemoveFolder("FolderLink"));
  EXPECT_TRUE(drive.Exists("Tree/FolderLink"));
  EXPECT_TRUE(tree.RemoveFolder("Empty"));
  EXPECT_FALSE(drive.Exists("Tree/Empty"));
  EXPECT_TRUE(tree.MakeFolder("New"));
  EXPECT_FALSE(tree.MakeFolder("New"));
  EXPECT_EQ(errno, EEXIST);
}

TEST(FolderHandle, OneLockPerFolderAtATime) {
  TempDrive drive('T');
  drive.MakeDir("Tree");
  const FolderHandle first = FolderHandle::Open("T:\\Tree");
  const FolderHandle second = FolderHandle::Open(drive.Native("Tree"));
  ASSERT_TRUE(first.TryLock());
  EXPECT_FALSE(second.TryLock());
  EXPECT_EQ(errno, EWOULDBLOCK);
  {
    FolderHandle gone = std::move(const_cast<FolderHandle&>(first));
  }
  EXPECT_TRUE(second.TryLock());  // closing the handle gave the lock back
}

TEST(FolderHandle, AHandleKeepsMeaningTheFolderItOpened) {
  // The folder is moved away and a link to somewhere else takes its name:
  // everything done through the handle still happens in the folder itself.
  TempDrive drive('T');
  TempDrive outside('U');
  drive.MakeDir("Tree/A");
  outside.WriteFile("Victim/page.html", "victim's");
  const FolderHandle root = FolderHandle::Open("T:\\Tree");
  const FolderHandle a = root.OpenFolder("A");
  std::filesystem::rename(drive.Native("Tree/A"), drive.Native("Tree/Moved"));
  drive.Symlink(outside.Native("Victim"), "Tree/A");
  drive.WriteFile("Tree/Moved/page.html", "ours");
  EXPECT_TRUE(a.RemoveFile("page.html"));
  EXPECT_EQ(outside.ReadFile("Victim/page.html"), "victim's");
  EXPECT_FALSE(drive.Exists("Tree/Moved/page.html"));
}
