#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/testing/TempDrive.h"
#include "zncore/ZnStringArray.h"

using platform::testing::TempDrive;

namespace {

std::vector<std::string> Contents(const CZnStringArray& array) {
  std::vector<std::string> result;
  for (int i = 0; i < array.GetCount(); ++i) result.emplace_back(array.GetAt(i).GetString());
  return result;
}

class FileListTest : public ::testing::Test {
protected:
  TempDrive drive{'T'};
};

}  // namespace

TEST_F(FileListTest, FoldersSortedWithAndWithoutCase) {
  for (const char* name : {"A", "b", "C"}) drive.MakeDir(std::string("root/") + name);
  drive.WriteFile("root/file.jpg");
  CZnStringArray array;
  EXPECT_EQ(array.FileList("T:\\root", nullptr, 1, 1, 1, 1, 1), 1);
  EXPECT_EQ(Contents(array), (std::vector<std::string>{"T:\\root\\A", "T:\\root\\b", "T:\\root\\C"}));
  EXPECT_EQ(array.FileList("T:\\root\\\\", nullptr, 1, 1, 0, 1, 1), 1);
  EXPECT_EQ(Contents(array), (std::vector<std::string>{"T:\\root\\A", "T:\\root\\C", "T:\\root\\b"}));
}

TEST_F(FileListTest, UnsortedListsSubfoldersBeforeTheirFolder) {
  drive.MakeDir("r/a/x");
  drive.MakeDir("r/a/y");
  drive.MakeDir("r/b");
  CZnStringArray array;
  array.FileList("T:\\r", "", 0, 1, 0, 1, 1);
  EXPECT_EQ(Contents(array), (std::vector<std::string>{"T:\\r\\a\\x", "T:\\r\\a\\y", "T:\\r\\a", "T:\\r\\b"}));
}

TEST_F(FileListTest, SortedUpperCasedOrderOfADeepTree) {
  drive.MakeDir("r/a b");
  drive.MakeDir("r/A/z");
  drive.MakeDir("r/a_c/D");
  CZnStringArray array;
  array.FileList("T:\\r", "", 1, 1, 1, 1, 1);
  // ' ' < '\' < '_' once upper-cased: the order of the full paths, not of the walk.
  EXPECT_EQ(Contents(array), (std::vector<std::string>{"T:\\r\\A", "T:\\r\\a b", "T:\\r\\A\\z",
                                                       "T:\\r\\a_c", "T:\\r\\a_c\\D"}));
}

TEST_F(FileListTest, WithoutRecursionFoldersAreSkipped) {
  drive.WriteFile("r/one.jpg");
  drive.WriteFile("r/two.JPG");
  drive.WriteFile("r/three.Jpg");
  drive.WriteFile("r/four.png");
  drive.WriteFile("r/sub/five.jpg");
  CZnStringArray array;
  EXPECT_EQ(array.FileList("T:\\r", nullptr, 0, 0, 0, 1, 1), 0);
  EXPECT_EQ(array.GetCount(), 0);
  EXPECT_EQ(array.FileList("T:\\r", "jpg", 1, 0, 0, 0, 1), 1);
  EXPECT_EQ(Contents(array), (std::vector<std::string>{"T:\\r\\one.jpg", "T:\\r\\three.Jpg", "T:\\r\\two.JPG"}));
}

TEST_F(FileListTest, NoFilterMeansEverything) {
  drive.WriteFile("r/a.txt");
  drive.WriteFile("r/noext");
  drive.MakeDir("r/sub");
  for (const char* filter : {static_cast<const char*>(nullptr), "", "*.*"}) {
    CZnStringArray array;
    array.FileList("T:\\r", filter, 1, 1, 0, 0, 1);
    EXPECT_EQ(array.GetCount(), 3) << (filter ? filter : "null");
  }
}

TEST_F(FileListTest, FilterIsASubstringTestOnEveryEntry) {
  drive.WriteFile("r/x.pg");
  drive.WriteFile("r/noext");
  drive.WriteFile("r/y.gif");
  drive.MakeDir("r/holiday.jpg");
  drive.WriteFile("r/plain/inner.jpg");
  CZnStringArray array;
  EXPECT_EQ(array.FileList("T:\\r", "JPG", 1, 1, 1, 0, 1), 1);
  // The folder "plain" does not pass, but its content is still visited.
  EXPECT_EQ(Contents(array), (std::vector<std::string>{"T:\\r\\holiday.jpg", "T:\\r\\plain\\inner.jpg",
                                                       "T:\\r\\x.pg"}));
}

TEST_F(FileListTest, ResultCountsOnlyTheFolderItself) {
  drive.WriteFile("r/sub/deep.jpg");
  CZnStringArray array;
  EXPECT_EQ(array.FileList("T:\\r", "JPG", 1, 1, 0, 0, 1), 0);
  EXPECT_EQ(Contents(array), std::vector<std::string>{"T:\\r\\sub\\deep.jpg"});
  EXPECT_EQ(array.FileList("T:\\missing", nullptr, 1, 1, 0, 0, 1), 0);
  EXPECT_EQ(array.GetCount(), 0);
}

TEST_F(FileListTest, AddsToExistingContentAsSortedInsertsWould) {
  drive.MakeDir("r/b");
  drive.MakeDir("r/d");
  // In order: merged, an equal path after the one already there.
  CZnStringArray ordered;
  ordered.Add("T:\\r\\b");
  ordered.Add("T:\\r\\c");
  ordered.FileList("T:\\r", nullptr, 1, 1, 0, 1, 0);
  EXPECT_EQ(Contents(ordered), (std::vector<std::string>{"T:\\r\\b", "T:\\r\\b", "T:\\r\\c", "T:\\r\\d"}));
  // Out of order: the linear rule decides each insertion.
  CZnStringArray unordered;
  unordered.Add("z");
  unordered.Add("T:\\r\\c");
  unordered.FileList("T:\\r", nullptr, 1, 1, 0, 1, 0);
  EXPECT_EQ(Contents(unordered), (std::vector<std::string>{"T:\\r\\b", "T:\\r\\d", "z", "T:\\r\\c"}));
}

TEST_F(FileListTest, SymbolicLinkLoopsAreListedButNotEntered) {
  drive.MakeDir("r/a/b");
  drive.Symlink(drive.Native("r"), "r/a/b/up");
  drive.Symlink(drive.Native("r/a"), "r/a/self");
  CZnStringArray array;
  array.FileList("T:\\r", nullptr, 1, 1, 0, 1, 1);
  EXPECT_EQ(Contents(array), (std::vector<std::string>{"T:\\r\\a", "T:\\r\\a\\b", "T:\\r\\a\\b\\up",
                                                       "T:\\r\\a\\self"}));
}

TEST_F(FileListTest, PathsLongerThanTheOldBuffers) {
  std::string relative = "r";
  for (int i = 0; i < 12; ++i) relative += "/" + std::string(40, char('a' + i));
  drive.WriteFile(relative + "/pic.jpg");
  CZnStringArray array;
  array.FileList("T:\\r", "JPG", 1, 1, 0, 0, 1);
  ASSERT_EQ(array.GetCount(), 1);
  EXPECT_GT(array.GetAt(0).GetLength(), 500);
  EXPECT_EQ(array.GetAt(0), CString(drive.WinPath(relative + "/pic.jpg")));
}

TEST_F(FileListTest, UnreadableSubfolderIsSkipped) {
  drive.MakeDir("r/open/inner");
  drive.MakeDir("r/shut/inner");
  drive.Chmod("r/shut", 0);
  platform::testing::ScopedUnprivileged user;
  if (!user.Active()) GTEST_SKIP() << "cannot drop root privileges to test an unreadable folder";
  CZnStringArray array;
  array.FileList("T:\\r", nullptr, 1, 1, 0, 1, 1);
  EXPECT_EQ(Contents(array), (std::vector<std::string>{"T:\\r\\open", "T:\\r\\open\\inner", "T:\\r\\shut"}));
}
