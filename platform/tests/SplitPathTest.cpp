#include <gtest/gtest.h>

#include <string>

#include "platform/Crt.h"
#include "platform/WinTypes.h"

namespace {

struct SplitRow {
  const char* path;
  const char* drive;
  const char* dir;
  const char* fname;
  const char* ext;
};

const SplitRow kRows[] = {
    {"C:\\Pics\\2001\\a.jpg", "C:", "\\Pics\\2001\\", "a", ".jpg"},
    {"C:/Pics/a.b.c", "C:", "/Pics/", "a.b", ".c"},
    {"C:\\Pics\\", "C:", "\\Pics\\", "", ""},
    {"C:", "C:", "", "", ""},
    {"C:name", "C:", "", "name", ""},
    {"\\dir\\file", "", "\\dir\\", "file", ""},
    {"rel\\mixed/file.txt", "", "rel\\mixed/", "file", ".txt"},
    {"archive.tar.gz", "", "", "archive.tar", ".gz"},
    {".bashrc", "", "", "", ".bashrc"},
    {"dir.d\\noext", "", "dir.d\\", "noext", ""},
    {"1:\\x", "1:", "\\", "x", ""},  // any character before the colon is a drive
    {"ab:c", "", "", "ab:c", ""},
    {"", "", "", "", ""},
};

}  // namespace

TEST(SplitPath, WindowsPathsTable) {
  for (const SplitRow& row : kRows) {
    SCOPED_TRACE(row.path);
    char drive[_MAX_DRIVE], dir[_MAX_DIR], fname[_MAX_FNAME], ext[_MAX_EXT];
    _splitpath(row.path, drive, dir, fname, ext);
    EXPECT_STREQ(drive, row.drive);
    EXPECT_STREQ(dir, row.dir);
    EXPECT_STREQ(fname, row.fname);
    EXPECT_STREQ(ext, row.ext);
  }
}

TEST(SplitPath, PartsAreCutAt255BytesAndNullBuffersAreSkipped) {
  const std::string longDir = "C:\\" + std::string(400, 'd') + "\\";
  const std::string path = longDir + std::string(300, 'n') + "." + std::string(300, 'e');
  char dir[_MAX_DIR], fname[_MAX_FNAME], ext[_MAX_EXT];
  _splitpath(path.c_str(), nullptr, dir, fname, ext);
  EXPECT_EQ(std::string(dir).size(), 255u);
  EXPECT_EQ(std::string(fname), std::string(255, 'n'));
  EXPECT_EQ(std::string(ext), "." + std::string(254, 'e'));
  _splitpath(nullptr, nullptr, nullptr, nullptr, nullptr);
}

TEST(CaseAndCompare, CLocaleOnly) {
  char text[] = "abc\xC3\xA4XYZ";
  EXPECT_STREQ(_strupr(text), "ABC\xC3\xA4XYZ");
  EXPECT_STREQ(_strlwr(text), "abc\xC3\xA4xyz");
  EXPECT_LT(_mbscmp(reinterpret_cast<const unsigned char*>("Z"), reinterpret_cast<const unsigned char*>("a")), 0);
  EXPECT_GT(_mbscmp(reinterpret_cast<const unsigned char*>("\xC3"), reinterpret_cast<const unsigned char*>("z")), 0);
  EXPECT_EQ(_stricmp("HeLLo", "hello"), 0);
  EXPECT_LT(_strnicmp("abcX", "ABCy", 4), 0);
  EXPECT_EQ(_strnicmp("abcX", "ABCy", 3), 0);
}
