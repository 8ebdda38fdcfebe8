#include "platform/FolderHandle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
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
  (void)folder.Look(name, info, follow);  // Missing on failure
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
  ASSERT_TRUE(a.List(names).Ok());
  std::vector<std::string> listed;
  for (const auto& name : names) listed.push_back(name.name);
  std::sort(listed.begin(), listed.end());
  EXPECT_EQ(listed, (std::vector<std::string>{"link.html", "page.html", "pipe.jpg"}));
  ASSERT_TRUE(a.List(names).Ok());  // a second listing starts from the beginning again
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
  ASSERT_TRUE(tree.Look("b.html", b).Ok());
  const platform::FileIdentity other = {b.device, b.inode + 1000000};
  const platform::FileIdentity same = b.Identity();
  // Each step in order, with what it must answer.
  const struct {
    const char* what;
    std::function<platform::FsStatus()> step;
    int error;
  } steps[] = {
      {"another file's identity", [&] { return tree.RemoveFile("b.html", &other); }, ESTALE},
      {"the same identity", [&] { return tree.RemoveFile("b.html", &same); }, 0},
      {"a plain file", [&] { return tree.RemoveFile("a.html"); }, 0},
      {"a file already gone", [&] { return tree.RemoveFile("a.html"); }, ENOENT},
      {"a link to a file", [&] { return tree.RemoveFile("link.html"); }, EPERM},
      {"a link to a folder", [&] { return tree.RemoveFolder("FolderLink"); }, ENOTDIR},
      {"an empty folder", [&] { return tree.RemoveFolder("Empty"); }, 0},
      {"a new folder", [&] { return tree.MakeFolder("New", 0750); }, 0},
      {"a folder that is there", [&] { return tree.MakeFolder("New", 0750); }, EEXIST},
      {"a rename to a new name", [&] { return tree.RenameNew("New", "Renamed"); }, 0},
  };
  drive.MakeDir("Tree/Other");
  for (const auto& row : steps) EXPECT_EQ(row.step().Error(), row.error) << row.what;
  EXPECT_EQ(tree.RenameNew("Other", "Renamed").Error(), EEXIST);
  EXPECT_TRUE(outside.Exists("theirs.html"));
  EXPECT_TRUE(drive.Exists("Tree/FolderLink"));
  EXPECT_FALSE(drive.Exists("Tree/Empty"));
  // A new folder has exactly the permissions asked for, whatever the mask.
  struct stat st {};
  ASSERT_EQ(::stat(drive.Native("Tree/Renamed").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0750u);
}

TEST(FolderHandle, ErrorsAreValuesWithTheSystemsText) {
  TempDrive drive('T');
  drive.MakeDir("Tree");
  const FolderHandle tree = FolderHandle::Open("T:\\Tree");
  EntryInfo info;
  const platform::FsStatus missing = tree.Look("none", info);
  EXPECT_TRUE(missing.Failed());
  EXPECT_TRUE(missing.Is(ENOENT));
  EXPECT_EQ(missing.Message(), "No such file or directory");
  EXPECT_EQ(info.kind, EntryKind::Missing);
  EXPECT_EQ(tree.Look("..", info).Error(), EINVAL);
  EXPECT_EQ(FolderHandle().Look("a", info).Error(), EBADF);
  EXPECT_TRUE(platform::FsStatus().Ok());
  EXPECT_EQ(platform::FsStatus().Message(), "");
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
  EXPECT_TRUE(a.RemoveFile("page.html").Ok());
  EXPECT_EQ(outside.ReadFile("Victim/page.html"), "victim's");
  EXPECT_FALSE(drive.Exists("Tree/Moved/page.html"));
}

TEST(FolderHandle, TellsWhichNamesCarryAnAccessListWithoutFollowingLinks) {
  if (std::system("command -v setfacl >/dev/null 2>&1") != 0) GTEST_SKIP() << "setfacl is not installed";
  TempDrive drive('T');
  drive.WriteFile("Tree/plain.jpg", "x");
  drive.WriteFile("Tree/listed.jpg", "x");
  drive.Symlink(drive.Native("Tree/listed.jpg"), "Tree/link.jpg");
  const std::string setfacl = "setfacl -m u:65534:r " + drive.Native("Tree/listed.jpg") + " 2>/dev/null";
  if (std::system(setfacl.c_str()) != 0) GTEST_SKIP() << "this file system keeps no access control lists";

  const FolderHandle tree = FolderHandle::Open("T:\\Tree");
  ASSERT_TRUE(tree.IsOpen());
  const struct {
    const char* name;
    platform::AclState expected;
  } cases[] = {
      {"plain.jpg", platform::AclState::None},
      {"listed.jpg", platform::AclState::Extended},
      {"link.jpg", platform::AclState::None},  // the link's own, never its target's
      {"missing.jpg", platform::AclState::Unknown},
      {"../Tree/listed.jpg", platform::AclState::Unknown},  // one name, no path
  };
  for (const auto& c : cases) EXPECT_EQ(tree.LookAcl(c.name), c.expected) << c.name;
  EXPECT_EQ(tree.LookSelfAcl(), platform::AclState::None);
}
