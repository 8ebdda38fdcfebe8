#include <gtest/gtest.h>

#include <string>

#include "platform/FileSystem.h"
#include "platform/testing/TempDrive.h"
#include "zncore/ZnString.h"

namespace {
CZnString Bytes(std::string bytes) { return CZnString(CString(std::move(bytes))); }

// While it lives, the current directory is the root of a fresh drive T:.
class OnTestDrive {
public:
  OnTestDrive() { EXPECT_TRUE(platform::SetCurrentDirectoryPath(m_drive.WinPath())); }

private:
  platform::testing::TempDrive m_drive{'T'};
};
}  // namespace

TEST(ZnStringPathParts, SplitLikeTheRuntimeSplitter) {
  struct Row {
    const char* path;
    const char* drive;      // GetDrive(0)
    const char* letter;     // GetDrive(1)
    const char* folder;     // GetPath
    const char* filename;   // GetFilename
    const char* title;      // GetFiletitle
    const char* extension;  // GetExtension
  };
  const Row rows[] = {
      {"C:\\pics\\a.jpg", "C:", "C", "C:\\pics", "a.jpg", "a", ".jpg"},
      {"C:\\a.jpg", "C:", "C", "C:", "a.jpg", "a", ".jpg"},
      {"a.jpg", "", "", "", "a.jpg", "a", ".jpg"},
      {"D:\\x", "D:", "D", "D:", "x", "x", ""},
      {"C:\\pics\\2000\\photo.tar.gz", "C:", "C", "C:\\pics\\2000", "photo.tar.gz", "photo.tar", ".gz"},
      {".profile", "", "", "", ".profile", "", ".profile"},
      {"C:\\dir.d\\name", "C:", "C", "C:\\dir.d", "name", "name", ""},
      {"C:/web/x/", "C:", "C", "C:/web/x/", "", "", ""},  // only backslashes are trimmed
      {"\\\\server\\share\\", "", "", "\\\\server\\share", "", "", ""},
      {"x.", "", "", "", "x.", "x", "."},
      {"", "", "", "", "", "", ""},
      {"C:\\M\xC3\xBC" "ll\\\xC3\xA4.txt", "C:", "C", "C:\\M\xC3\xBC" "ll", "\xC3\xA4.txt", "\xC3\xA4", ".txt"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.path);
    const CZnString s(row.path);
    EXPECT_EQ(s.GetDrive(0), row.drive);
    EXPECT_EQ(s.GetDrive(1), row.letter);
    EXPECT_EQ(s.GetPath(), row.folder);
    EXPECT_EQ(s.GetFilename(), row.filename);
    EXPECT_EQ(s.GetFiletitle(), row.title);
    EXPECT_EQ(s.GetExtension(), row.extension);
    EXPECT_EQ(s, row.path);  // unchanged
  }
}

TEST(ZnStringPathParts, PartsAreCutAfter255Bytes) {
  const std::string longName(300, 'n');
  const std::string longDir = "C:\\" + std::string(400, 'd') + "\\";
  const CZnString s((longDir + longName + "." + std::string(300, 'e')).c_str());
  EXPECT_EQ(s.GetFiletitle(), std::string(255, 'n').c_str());
  EXPECT_EQ(s.GetExtension(), ("." + std::string(254, 'e')).c_str());
  EXPECT_EQ(s.GetPath(), ("C:\\" + std::string(254, 'd')).c_str());
  EXPECT_EQ(s.GetDrive(0), "C:");
  // Zero bytes are part of the name, not its end.
  EXPECT_EQ(Bytes(std::string("C:\\a\0b.t\0t", 10)).GetFilename(), Bytes(std::string("a\0b.t\0t", 7)));
}

TEST(ZnStringSetFileExtension, KeepsOrForcesUpToFourCharacters) {
  struct Row {
    const char* path;
    const char* extension;
    int force;
    const char* result;
  };
  const Row rows[] = {
      {"page", "htm", 0, "page.htm"},
      {"page.txt", "htm", 0, "page.txt"},
      {"page.txt", "htm", 1, "page.htm"},
      {"page.txt", ".htm", 1, "page.htm"},
      {"page.", "htm", 0, "page.htm"},         // a lone full stop is replaced
      {"page.txt", ".html", 1, "page.txt"},    // 5 characters: refused
      {"page.txt", "html", 1, "page.html"},
      {"C:\\a.b\\page", "jpg", 0, "C:\\a.b\\page.jpg"},
      {"C:\\x\\f.tar.gz", "z", 1, "C:\\x\\f.tar.z"},
      {"page.txt", "", 1, "page."},
      {"page.txt", nullptr, 0, "page.txt"},
      {"", "htm", 1, ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.path) + " " + (row.extension ? row.extension : "(null)"));
    const CZnString s(row.path);
    EXPECT_EQ(s.SetFileExtension(row.extension, row.force), row.result);
    EXPECT_EQ(s, row.path);
  }
}

TEST(ZnStringAbsolutePath, JoinsWithoutNormalising) {
  OnTestDrive drive;
  struct Row {
    const char* path;
    const char* base;
    const char* result;
  };
  const Row rows[] = {
      {"img\\a.jpg", "D:\\web\\", "D:\\web\\img\\a.jpg"},
      {"img\\a.jpg", "D:\\web\\\\", "D:\\web\\img\\a.jpg"},
      {"img\\a.jpg", "D:\\web", "D:\\web\\img\\a.jpg"},
      {"..\\a.jpg", "D:\\web", "D:\\web\\..\\a.jpg"},
      {"C:\\x\\a.jpg", "D:\\web", "C:\\x\\a.jpg"},
      {"C:a.jpg", "D:\\web", "C:a.jpg"},
      {"\\x\\a.jpg", "D:\\web", "T:\\x\\a.jpg"},   // the current directory's drive
      {"a.jpg", "\\web\\", "T:\\web\\a.jpg"},
      {"a.jpg", "", "\\a.jpg"},
      {"a.jpg", nullptr, "\\a.jpg"},
      {"/native/a.jpg", "D:\\web", "/native/a.jpg"},  // a native absolute path
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.path);
    EXPECT_EQ(CZnString(row.path).AbsolutePath(row.base), row.result);
  }
}

TEST(ZnStringAbsolutePath, NoLengthLimit) {
  OnTestDrive drive;
  const std::string base = "D:\\" + std::string(500, 'b');
  const std::string name = std::string(600, 'n') + ".jpg";
  EXPECT_EQ(CZnString(name.c_str()).AbsolutePath(base.c_str()), (base + "\\" + name).c_str());
  const std::string rooted = "\\" + std::string(700, 'r');
  EXPECT_EQ(CZnString(rooted.c_str()).AbsolutePath(nullptr), ("T:" + rooted).c_str());
}

TEST(ZnStringRelativePath, FolderBelowTheBaseWithoutCase) {
  struct Row {
    const char* path;
    const char* base;
    const char* result;
  };
  const Row rows[] = {
      {"C:\\pics\\2000\\a.jpg", "C:\\pics", "\\2000"},
      {"C:\\PICS\\2000\\a.jpg", "c:\\pics", "\\2000"},
      {"C:\\pics\\2000\\x\\a.jpg", "C:\\pics", "\\2000\\x"},
      {"C:\\pics\\2000", "C:\\pics", ""},                // the last name counts as a file
      {"C:\\pics\\2000\\", "C:\\pics", "\\2000"},
      {"D:\\other\\a.jpg", "C:\\pics", "\\other"},       // base absent: the drive goes
      {"X:\\top\\C:\\pics\\b\\f", "C:\\pics", "\\top\\\\b"},  // the base need not stand at the front
      {"\\rooted\\a.jpg", "C:\\pics", "\\rooted\\a.jpg"},
      {"C:\\pics\\2000\\a.jpg", nullptr, "\\pics\\2000"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.path);
    EXPECT_EQ(CZnString(row.path).RelativePath(row.base), row.result);
  }
}

TEST(ZnStringFirstLastPath, FolderNamesOfTheDirPart) {
  struct Row {
    const char* path;
    const char* first;
    const char* last;
  };
  const Row rows[] = {
      {"C:\\pics\\2000\\a.jpg", "pics", "2000"},
      {"a.jpg", "", ""},
      {"C:\\a.jpg", "", ""},
      {"\\\\srv\\\\share\\\\x", "srv", "share"},
      {"C:\\a/b\\c/d.txt", "a/b", "c/"},  // a slash ends the dir but does not cut
      {"rel\\only\\", "rel", "only"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.path);
    EXPECT_EQ(CZnString(row.path).GetFirstPath(), row.first);
    EXPECT_EQ(CZnString(row.path).GetLastPath(), row.last);
  }
}

TEST(ZnStringGetFileNameByWildcard, AsteriskTakesTheFilePartWhole) {
  struct Row {
    const char* file;
    const char* pattern;
    const char* result;
  };
  const Row rows[] = {
      {"C:\\pics\\a.jpg", "*.htm", "C:\\pics\\a.htm"},
      {"C:\\pics\\a.jpg", "*.*", "C:\\pics\\a.jpg"},
      {"C:\\pics\\a.jpg", "small_*.jpg", "C:\\pics\\a.jpg"},
      {"C:\\pics\\a.jpg", "D:\\out\\*", "D:\\out\\a"},          // no extension in the pattern
      {"C:\\pics\\a.jpg", "\\out\\b.*", "C:\\out\\b.jpg"},
      {"C:\\pics\\a.jpg", ".txt", "C:\\pics\\a.txt"},          // an empty fname counts as "*"
      {"C:\\pics\\a.jpg", "", "C:\\pics\\a"},
      {"C:\\pics\\a.jpg", nullptr, "C:\\pics\\a"},
      {"C:\\pics\\*.jpg", "x.htm", "C:\\pics\\*.jpg"},          // the file has a wildcard itself
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.file) + " " + (row.pattern ? row.pattern : "(null)"));
    EXPECT_EQ(CZnString(row.file).GetFileNameByWildcard(row.pattern), row.result);
  }
}

TEST(ZnStringIsValidFileName, CharacterSetsAndLength) {
  struct Row {
    std::string name;
    int asName;  // IsValidFileName(0)
    int asPath;  // IsValidFileName(1)
  };
  const Row rows[] = {
      {"a:b", 0, 1},
      {"C:\\a\\b.txt", 0, 1},
      {"a/b", 0, 1},
      {"plain name.txt", 1, 1},
      {"", 1, 1},
      {"a?b", 0, 0},   {"a*b", 0, 0}, {"a|b", 0, 0}, {"a<b", 0, 0},  {"a>b", 0, 0},
      {"a\"b", 0, 0},  {"a\tb", 0, 0}, {"a\nb", 0, 0}, {"it's", 0, 0},
      {"#;x y", 1, 1},                           // allowed here, replaced by ReplaceInvalidFilenameChars
      {"Gr\xC3\xB6\xC3\x9F" "e.txt", 1, 1},
      {std::string(260, 'a'), 1, 1},
      {std::string(261, 'a'), 0, 0},
      {std::string("a\0b", 3), 0, 0},            // a zero byte cannot be in a name
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name.substr(0, 20));
    const CZnString s = Bytes(row.name);
    EXPECT_EQ(s.IsValidFileName(0), row.asName);
    EXPECT_EQ(s.IsValidFileName(1), row.asPath);
  }
}

TEST(ZnStringFindReplaceCharset, OverwritesInPlaceKeepingTheLength) {
  CZnString s("my file#1.txt");
  EXPECT_EQ(s.ReplaceInvalidFilenameChars('_'), "my_file_1.txt");
  EXPECT_EQ(s, "my_file_1.txt");
  CZnString all("?*|<>\"\t\n' #;\\:/x");
  EXPECT_EQ(all.ReplaceInvalidFilenameChars('-'), "---------------x");
  CZnString set("a-b+c");
  EXPECT_EQ(set.FindReplaceCharset("-+", '.'), "a.b.c");
  EXPECT_EQ(set.FindReplaceCharset(nullptr, '.'), "a.b.c");
  EXPECT_EQ(set.FindReplaceCharset("", '.'), "a.b.c");
  // A zero replacement keeps the length: the bytes become zero bytes.
  CZnString zero("a:b");
  EXPECT_EQ(zero.FindReplaceCharset(":", '\0'), Bytes(std::string("a\0b", 3)));
  EXPECT_EQ(zero.GetSize(), 3);
  // UTF-8 text outside the set is left alone, zero bytes in the text too.
  CZnString text = Bytes(std::string("\xC3\xA4 \0/", 5));
  EXPECT_EQ(text.ReplaceInvalidFilenameChars('_'), Bytes(std::string("\xC3\xA4_\0_", 5)));
}

TEST(ZnStringConvertANSI, SevenLettersByWindowsCode) {
  struct Row {
    std::string in;
    std::string out;
  };
  const Row rows[] = {
      {"Gr\xF6\xDF" "e", "Groesse"},
      {"\xC4\xD6\xDC\xDF\xE4\xF6\xFC", "AeOeUessaeoeue"},
      {"caf\xE9", "caf\xE9"},                                  // other accented letters stay
      {"Gr\xC3\xB6\xC3\x9F" "e", "Gr\xC3\xB6\xC3\x9F" "e"},   // UTF-8 text has none of the codes
      {"\xC4\x80", "Ae\x80"},                                   // a UTF-8 lead byte of code 196
      {"", ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.in);
    EXPECT_EQ(CZnString("ignored").ConvertANSI(row.in.c_str()), row.out.c_str());
    EXPECT_EQ(Bytes(row.in).ConvertANSI(nullptr), Bytes(row.out));
  }
  // The object's own content is read whole, zero bytes included.
  EXPECT_EQ(Bytes(std::string("\xE4\0\xFC", 3)).ConvertANSI(nullptr), Bytes(std::string("ae\0ue", 5)));
  const CZnString own("\xDF");
  own.ConvertANSI(nullptr);
  EXPECT_EQ(own, "\xDF");
}
