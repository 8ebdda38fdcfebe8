#include <gtest/gtest.h>

#include <map>
#include <string>

#include "platform/testing/TempDrive.h"
#include "zncore/ZnStringArray.h"

using platform::testing::TempDrive;

namespace {

// Runs `check` on the entry called `name` of the folder's search.
template <typename Check>
void OnEntry(const std::string& pattern, const std::string& name, Check check) {
  CZnFileFind finder;
  BOOL more = finder.FindFile(pattern.c_str());
  while (more) {
    more = finder.FindNextFile();
    if (finder.GetFileName() == name.c_str()) {
      check(finder);
      return;
    }
  }
  ADD_FAILURE() << name << " not found";
}

}  // namespace

TEST(ZnFileFind, ExtensionTests) {
  TempDrive drive('T');
  for (const char* name : {"photo.Jpeg", "archive.tar.gz", "noext", "x.pg", ".profile"})
    drive.WriteFile(std::string("d/") + name);
  struct Row {
    const char* name;
    const char* ext;
    const char* upper;
    int matchesGifJpg;
  };
  const Row rows[] = {
      {"photo.Jpeg", "Jpeg", "JPEG", 1},
      {"archive.tar.gz", "gz", "GZ", 0},
      {"noext", "", "", 0},
      {"x.pg", "pg", "PG", 1},  // a substring of the filter is enough
      {".profile", "profile", "PROFILE", 0},
  };
  for (const Row& row : rows) {
    OnEntry("T:\\d\\*.*", row.name, [&](CZnFileFind& finder) {
      SCOPED_TRACE(row.name);
      EXPECT_EQ(finder.GetExtension(0), row.ext);
      EXPECT_EQ(finder.GetExtension(1), row.upper);
      EXPECT_EQ(finder.IsMultiFilterMatch("GIF|JPG|JPEG"), row.matchesGifJpg);
      EXPECT_EQ(finder.IsMultiFilterMatch(""), 1);
      EXPECT_EQ(finder.IsMultiFilterMatch(nullptr), 1);
      EXPECT_EQ(finder.IsMultiFilterMatch("gif|jpeg|pg"), 0);  // the filter is not upper-cased
    });
  }
}

TEST(ZnFileFind, PathSizeAndFolderTests) {
  TempDrive drive('T');
  drive.WriteSizedFile("Pics/2001/a.jpg", 2048);
  OnEntry("T:\\Pics\\2001\\*.*", "a.jpg", [](CZnFileFind& finder) {
    EXPECT_EQ(finder.GetPath(0), "T:\\Pics\\2001\\");
    EXPECT_EQ(finder.GetSize(), 2048u);
    EXPECT_EQ(finder.GetFileSize(), 2048u);
    EXPECT_EQ(finder.IsRealDirectory(), 0);
  });
  OnEntry("t:\\Pics\\*.*", "2001", [](CZnFileFind& finder) {
    EXPECT_EQ(finder.GetPath(1), "T:\\PICS\\");
    EXPECT_EQ(finder.IsRealDirectory(), 1);
  });
  OnEntry("T:\\Pics\\*.*", "..", [](CZnFileFind& finder) { EXPECT_EQ(finder.IsRealDirectory(), 0); });
}
