#include "platform/FileFind.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/Drives.h"
#include "platform/FileSystem.h"
#include "platform/testing/TempDrive.h"
#include "posix/SysCalls.h"

using platform::testing::TempDrive;

namespace {

// Every entry of a search, as the documented loop visits them.
std::vector<std::string> Names(const char* pattern) {
  std::vector<std::string> names;
  CFileFind finder;
  BOOL more = finder.FindFile(pattern);
  while (more) {
    more = finder.FindNextFile();
    names.emplace_back(finder.GetFileName().GetString());
  }
  return names;
}

}  // namespace

TEST(FileFind, DotsFirstThenUpperCasedNameOrder) {
  TempDrive drive('T');
  for (const char* name : {"b.txt", "A.txt", "a.txt", "_x", "C", "\xC3\xA4.jpg", "B.TXT"})
    drive.WriteFile(std::string("Pics/") + name);
  const std::vector<std::string> expected = {".", "..", "A.txt", "a.txt", "B.TXT", "b.txt", "C", "_x",
                                             "\xC3\xA4.jpg"};
  EXPECT_EQ(Names("T:\\Pics\\*.*"), expected);
  EXPECT_EQ(Names("T:/Pics/*"), expected);
}

TEST(FileFind, NoDotEntriesAtADriveRoot) {
  TempDrive drive('T');
  drive.WriteFile("x.jpg");
  const std::vector<std::string> rootOnly{"x.jpg"};
  EXPECT_EQ(Names("T:\\*.*"), rootOnly);
  EXPECT_EQ(Names("t:*.*"), rootOnly);
  ASSERT_TRUE(platform::SetCurrentDirectoryPath("T:\\"));
  EXPECT_EQ(Names("*.*"), rootOnly);
  EXPECT_EQ(Names("\\*.*"), rootOnly);
  // The same folder reached as an ordinary folder of another drive has them.
  EXPECT_EQ(Names((drive.Folder() + "/*.*").c_str()), (std::vector<std::string>{".", "..", "x.jpg"}));
}

TEST(FileFind, PatternsMatchWithoutCaseExactNamesWithCase) {
  TempDrive drive('T');
  drive.WriteFile("d/one.JPG");
  drive.WriteFile("d/two.jpg");
  drive.WriteFile("d/three.png");
  EXPECT_EQ(Names("T:\\d\\*.jpg"), (std::vector<std::string>{"one.JPG", "two.jpg"}));
  EXPECT_EQ(Names("T:\\d\\two.jpg"), std::vector<std::string>{"two.jpg"});
  EXPECT_TRUE(Names("T:\\d\\TWO.jpg").empty());
  EXPECT_TRUE(Names("T:\\d\\*.gif").empty());
}

TEST(FileFind, FindNextFileTellsWhetherAnotherEntryFollows) {
  TempDrive drive('T');
  drive.WriteFile("only.txt");
  CFileFind finder;
  ASSERT_TRUE(finder.FindFile("T:\\*.*"));
  EXPECT_EQ(finder.GetFileName(), "");  // nothing current before the first step
  EXPECT_FALSE(finder.FindNextFile());   // the one entry is also the last
  EXPECT_EQ(finder.GetFileName(), "only.txt");
  EXPECT_FALSE(finder.FindNextFile());
  finder.Close();
  EXPECT_EQ(finder.GetFileName(), "");
}

TEST(FileFind, FilePathKeepsTheCallersSpellingOfAnAbsoluteFolder) {
  TempDrive drive('T');
  drive.WriteFile("Pics/2001/a.jpg");
  CFileFind finder;
  ASSERT_TRUE(finder.FindFile((drive.Folder() + "/Pics\\*.*").c_str()));
  while (finder.FindNextFile() && finder.IsDots()) {
  }
  EXPECT_EQ(finder.GetFilePath(), CString(drive.Folder() + "/Pics\\2001"));

  ASSERT_TRUE(finder.FindFile("t:/Pics/2001\\\\*.*"));
  finder.FindNextFile();
  finder.FindNextFile();
  finder.FindNextFile();
  EXPECT_EQ(finder.GetFilePath(), "t:/Pics/2001\\a.jpg");
  EXPECT_EQ(finder.GetRoot(), "t:/Pics/2001\\");
  EXPECT_EQ(finder.GetFileTitle(), "a");

  ASSERT_TRUE(finder.FindFile("T:\\*.*"));
  finder.FindNextFile();
  EXPECT_EQ(finder.GetFilePath(), "T:\\Pics");
}

TEST(FileFind, RelativeFolderIsReportedInDriveForm) {
  TempDrive drive('T');
  drive.WriteFile("Pics/2001/a.jpg");
  ASSERT_TRUE(platform::SetCurrentDirectoryPath("T:\\Pics"));
  CFileFind finder;
  ASSERT_TRUE(finder.FindFile("2001\\*.jpg"));
  finder.FindNextFile();
  EXPECT_EQ(finder.GetFilePath(), "T:\\Pics\\2001\\a.jpg");
  ASSERT_TRUE(finder.FindFile());  // "*.*" here
  finder.FindNextFile();
  EXPECT_EQ(finder.GetFilePath(), "T:\\Pics\\.");
}

TEST(FileFind, AttributesSizesAndLinks) {
  TempDrive drive('T');
  drive.WriteSizedFile("d/big.bin", 5000);
  drive.MakeDir("d/sub");
  drive.WriteFile("d/.hidden");
  drive.Symlink(drive.Native("d/sub"), "d/tosub");
  drive.Symlink(drive.Native("nowhere"), "d/broken");
  CFileFind finder;
  BOOL more = finder.FindFile("T:\\d\\*.*");
  ASSERT_TRUE(more);
  int seen = 0;
  while (more) {
    more = finder.FindNextFile();
    const std::string name = finder.GetFileName().GetString();
    if (name == "big.bin") {
      EXPECT_EQ(finder.GetLength(), 5000u);
      EXPECT_FALSE(finder.IsDirectory());
      EXPECT_FALSE(finder.IsHidden());
      ++seen;
    } else if (name == "sub" || name == "tosub") {
      EXPECT_TRUE(finder.IsDirectory()) << name;
      EXPECT_TRUE(finder.MatchesMask(FILE_ATTRIBUTE_DIRECTORY));
      EXPECT_FALSE(finder.IsDots());
      ++seen;
    } else if (name == ".hidden") {
      EXPECT_TRUE(finder.IsHidden());
      ++seen;
    } else if (name == "broken") {
      EXPECT_FALSE(finder.IsDirectory());
      EXPECT_EQ(finder.GetLength(), 0u);
      ++seen;
    } else {
      EXPECT_TRUE(finder.IsDots()) << name;
      EXPECT_TRUE(finder.IsDirectory());
    }
  }
  EXPECT_EQ(seen, 5);
}

TEST(FileFind, MissingUnmappedAndUnreadableFoldersFindNothing) {
  TempDrive drive('T');
  drive.WriteFile("locked/x.jpg");
  EXPECT_TRUE(Names("T:\\missing\\*.*").empty());
  EXPECT_TRUE(Names("Q:\\*.*").empty());
  EXPECT_TRUE(Names("T:\\locked\\").empty());  // no name to look for
  drive.Chmod("locked", 0);
  platform::testing::ScopedUnprivileged user;
  if (!user.Active()) GTEST_SKIP() << "cannot drop root privileges to test an unreadable folder";
  EXPECT_TRUE(Names("T:\\locked\\*.*").empty());
}

TEST(FileFind, ReadErrorInTheMiddleOfAListingFindsNothing) {
  TempDrive drive('T');
  drive.WriteFile("d/a");
  drive.WriteFile("d/b");
  static int calls;
  calls = 0;
  platform::posix::Sys().readdir = [](DIR* dir) -> struct dirent* {
    if (++calls == 2) {
      errno = EIO;
      return nullptr;
    }
    return ::readdir(dir);
  };
  const bool found = CFileFind().FindFile("T:\\d\\*.*");
  platform::posix::ResetSysCalls();
  EXPECT_FALSE(found);
}

TEST(FileFind, ManySearchesOpenAtOnceAllAnswer) {
  // More searches than folders are kept open: the later ones look their
  // entries up by path, with the same answers.
  TempDrive drive('T');
  constexpr int kSearches = 300;
  for (int i = 0; i < kSearches; ++i) drive.WriteSizedFile("d" + std::to_string(i) + "/f.bin", i);
  std::vector<std::unique_ptr<CFileFind>> finders;
  for (int i = 0; i < kSearches; ++i) {
    finders.push_back(std::make_unique<CFileFind>());
    ASSERT_TRUE(finders.back()->FindFile(("T:\\d" + std::to_string(i) + "\\*.bin").c_str()));
  }
  for (int i = 0; i < kSearches; ++i) {
    finders[static_cast<std::size_t>(i)]->FindNextFile();
    EXPECT_EQ(finders[static_cast<std::size_t>(i)]->GetLength(), static_cast<ULONGLONG>(i));
  }
}
