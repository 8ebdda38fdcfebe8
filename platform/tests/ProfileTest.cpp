#include "platform/Profile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/testing/TempDrive.h"

using platform::testing::TempDrive;

namespace {

// A zero-separated list as the texts it holds.
std::vector<std::string> ListOf(const char* buffer, DWORD length) {
  std::vector<std::string> items;
  for (DWORD pos = 0; pos < length;) {
    const std::string item(buffer + pos);
    items.push_back(item);
    pos += static_cast<DWORD>(item.size()) + 1;
  }
  return items;
}

class ProfileTest : public ::testing::Test {
protected:
  void SetUp() override {
    drive.WriteFile("app.ini",
                    "; settings\r\n"
                    "orphan=before any section\r\n"
                    "[Main]\r\n"
                    "  Name =  Meier  \r\n"
                    "name=second\r\n"
                    "Empty=\r\n"
                    "Under=_\r\n"
                    "no equals sign here\r\n"
                    "   ; indented comment=not a key\r\n"
                    "Quoted=\"  padded  \"\r\n"
                    "Path=C:\\a=b\r\n"
                    "\r\n"
                    "[ Other ]\n"
                    "Key=other\n"
                    "[main]\n"
                    "Late=in the second Main\n"
                    "Name=never\n");
  }

  std::string Value(const char* section, const char* key, const char* def = "dflt", DWORD size = 100) {
    char buffer[100];
    const DWORD n = GetPrivateProfileStringA(section, key, def, buffer, size, "T:\\app.ini");
    EXPECT_EQ(n, std::string(buffer).size());
    return buffer;
  }

  TempDrive drive{'T'};
};

}  // namespace

TEST_F(ProfileTest, ValuesByTheUsualRules) {
  const struct {
    const char* section;
    const char* key;
    const char* expected;
  } rows[] = {
      {"Main", "Name", "Meier"},          // blanks around names and values dropped
      {"MAIN", "nAME", "Meier"},          // names match without case; first key wins
      {"Main", "Empty", ""},              // present but empty: not the default
      {"Main", "Under", "_"},
      {"Main", "Quoted", "  padded  "},   // quotes go, what they enclose stays
      {"Main", "Path", "C:\\a=b"},        // the first "=" splits
      {"Other", "Key", "other"},
      {"Main", "Late", "dflt"},           // the second [main] is never searched
      {"Main", "orphan", "dflt"},
      {"Main", "no equals sign here", "dflt"},
      {"Main", "; indented comment", "dflt"},
      {"Nowhere", "Name", "dflt"},
  };
  for (const auto& row : rows) EXPECT_EQ(Value(row.section, row.key), row.expected) << row.section << "/" << row.key;
}

TEST_F(ProfileTest, DefaultsOfMissingKeysAndFiles) {
  EXPECT_EQ(Value("Main", "Missing", "fallback   "), "fallback");  // trailing blanks dropped
  EXPECT_EQ(Value("Main", "Missing", nullptr), "");
  char buffer[16] = "unchanged";
  EXPECT_EQ(GetPrivateProfileStringA("Main", "Name", "d", buffer, sizeof buffer, "T:\\none.ini"), 1u);
  EXPECT_STREQ(buffer, "d");
  EXPECT_EQ(GetPrivateProfileStringA("Main", "Name", "d", buffer, sizeof buffer, nullptr), 1u);
}

TEST_F(ProfileTest, NeverWritesPastTheGivenSize) {
  char buffer[8];
  std::memset(buffer, '#', sizeof buffer);
  EXPECT_EQ(GetPrivateProfileStringA("Main", "Name", "", buffer, 4, "T:\\app.ini"), 3u);
  EXPECT_EQ(std::string(buffer, 5), std::string("Mei\0#", 5));
  EXPECT_EQ(GetPrivateProfileStringA("Main", "Missing", "a long default", buffer, 4, "T:\\app.ini"), 3u);
  EXPECT_EQ(std::string(buffer, 5), std::string("a l\0#", 5));
  EXPECT_EQ(GetPrivateProfileStringA("Main", "Name", "", buffer, 0, "T:\\app.ini"), 0u);
  EXPECT_EQ(buffer[0], 'a');
  EXPECT_EQ(GetPrivateProfileSectionNamesA(buffer, 6, "T:\\app.ini"), 4u);
  EXPECT_EQ(std::string(buffer, 7), std::string("Main\0\0#", 7));
  EXPECT_EQ(GetPrivateProfileSectionNamesA(buffer, 1, "T:\\app.ini"), 0u);
  EXPECT_EQ(buffer[1], 'a');
}

TEST_F(ProfileTest, SectionNamesInFileOrder) {
  char buffer[100];
  const DWORD n = GetPrivateProfileSectionNamesA(buffer, sizeof buffer, "T:\\app.ini");
  EXPECT_EQ(ListOf(buffer, n), (std::vector<std::string>{"Main", "Other", "main"}));
  EXPECT_EQ(buffer[n], '\0');
  EXPECT_EQ(GetPrivateProfileStringA(nullptr, nullptr, "", buffer, sizeof buffer, "T:\\app.ini"), n);
  EXPECT_EQ(GetPrivateProfileSectionNamesA(buffer, sizeof buffer, "T:\\none.ini"), 0u);
  EXPECT_EQ(std::string(buffer, 2), std::string("\0\0", 2));
}

TEST_F(ProfileTest, EntriesAndKeyNamesOfTheFirstSection) {
  char buffer[200];
  DWORD n = GetPrivateProfileSectionA("main", buffer, sizeof buffer, "T:\\app.ini");
  EXPECT_EQ(ListOf(buffer, n), (std::vector<std::string>{"Name=Meier", "name=second", "Empty=", "Under=_",
                                                         "Quoted=\"  padded  \"", "Path=C:\\a=b"}));
  n = GetPrivateProfileStringA("Other", nullptr, "", buffer, sizeof buffer, "T:\\app.ini");
  EXPECT_EQ(ListOf(buffer, n), std::vector<std::string>{"Key"});
  EXPECT_EQ(GetPrivateProfileSectionA("Nowhere", buffer, sizeof buffer, "T:\\app.ini"), 0u);
}

TEST(Profile, HostileFilesAreReadWithoutHarm) {
  TempDrive drive('T');
  using namespace std::string_literals;
  std::string content = "\xEF\xBB\xBF[S]\nA=1\0hidden\nB="s;
  content += std::string(70000, 'x');
  content += "\n[Unclosed\nC=3\n\xFF\xFE=binary";
  drive.WriteFile("odd.ini", content);
  char buffer[16];
  EXPECT_EQ(GetPrivateProfileStringA("S", "A", "", buffer, sizeof buffer, "T:\\odd.ini"), 1u);
  EXPECT_STREQ(buffer, "1");
  EXPECT_EQ(GetPrivateProfileStringA("S", "B", "", buffer, sizeof buffer, "T:\\odd.ini"), 15u);
  EXPECT_EQ(GetPrivateProfileStringA("unclosed", "C", "", buffer, sizeof buffer, "T:\\odd.ini"), 1u);
  EXPECT_EQ(GetPrivateProfileStringA("Unclosed", "\xFF\xFE", "", buffer, sizeof buffer, "T:\\odd.ini"), 6u);
  drive.MakeDir("dir.ini");
  EXPECT_EQ(GetPrivateProfileStringA("S", "A", "d", buffer, sizeof buffer, "T:\\dir.ini"), 1u);
  EXPECT_STREQ(buffer, "d");
}
