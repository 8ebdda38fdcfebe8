#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "zncore/ZnString.h"

namespace {
CZnString Bytes(std::string bytes) { return CZnString(CString(std::move(bytes))); }
}  // namespace

TEST(ZnStringGetField, EveryFieldOfTheCountEmptyOnesIncluded) {
  struct Row {
    std::string text;
    const char* delimiter;
    std::vector<std::string> fields;
  };
  const Row rows[] = {
      {"a;;b;", ";", {"a", "", "b", ""}},
      {";a", ";", {"", "a"}},
      {"", ";", {""}},
      {"abc", ";", {"abc"}},
      {"a::b", "::", {"a", "b"}},
      {"a:::b", "::", {"a", ":b"}},
      {"x\xC3\xA4y\xC3\xA4z", "\xC3\xA4", {"x", "y", "z"}},
      {std::string("a\0b;c\0", 6), ";", {std::string("a\0b", 3), std::string("c\0", 2)}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text);
    const CZnString s = Bytes(row.text);
    ASSERT_EQ(s.GetFieldCount(row.delimiter), static_cast<int>(row.fields.size()));
    for (std::size_t i = 0; i < row.fields.size(); ++i) {
      EXPECT_EQ(s.GetField(row.delimiter, static_cast<int>(i)), Bytes(row.fields[i])) << i;
    }
    EXPECT_EQ(s.GetField(row.delimiter, static_cast<int>(row.fields.size())), "");
    EXPECT_EQ(s.GetField(row.delimiter, -1), "");
  }
}

TEST(ZnStringGetField, CharacterFormAndEmptyDelimiters) {
  const CZnString s("a;;b;");
  EXPECT_EQ(s.GetFieldCount(';'), 4);
  EXPECT_EQ(s.GetField(';', 2), "b");
  EXPECT_EQ(s.GetField(';', 3), "");
  // An empty delimiter text: one field, and every field is empty.
  EXPECT_EQ(s.GetFieldCount(""), 1);
  EXPECT_EQ(s.GetFieldCount(static_cast<const char*>(nullptr)), 1);
  EXPECT_EQ(s.GetField("", 0), "");
  EXPECT_EQ(s.GetField(static_cast<const char*>(nullptr), 0), "");
  EXPECT_EQ(s.GetField("", 2000000000), "");
  // A delimiter of code 0: the whole string is field 0, zero bytes included.
  const CZnString zeros = Bytes(std::string("a\0b", 3));
  EXPECT_EQ(zeros.GetFieldCount('\0'), 1);
  EXPECT_EQ(zeros.GetField('\0', 0), zeros);
  EXPECT_EQ(zeros.GetField('\0', 1), "");
}

TEST(ZnStringGetDelimitedField, RestartsAtTheOpeningPlusTheClosingLength) {
  struct Row {
    const char* text;
    const char* opening;
    const char* closing;
    int n;
    const char* field;
  };
  const Row rows[] = {
      {"x[1]y[2]", "[", "]", 0, "1"},
      {"x[1]y[2]", "[", "]", 1, "2"},
      {"x[1]y[2]", "[", "]", 2, ""},
      {"x[1]y[2]", "[", "]", -1, ""},
      {"x[1", "[", "]", 0, ""},          // no closing delimiter
      {"|a|b|c|", "|", "|", 0, "a"},     // one delimiter closes and opens
      {"|a|b|c|", "|", "|", 2, "c"},
      {"|a|b|c|", "|", "|", 3, ""},
      // The next opening delimiter is searched from inside the field just
      // read, so an opening delimiter within it starts the next field.
      {"[a[b]]", "[", "]", 0, "a[b"},
      {"[a[b]]", "[", "]", 1, "b"},
      // A closing delimiter longer than the opening one restarts 2 after the
      // "<" at 0 and so skips the "<" at 1.
      {"<<y>>", "<", ">>", 0, "<y"},
      {"<<y>>", "<", ">>", 1, ""},
      {"(a)", "", ")", 0, "(a"},
      {"(a)", "(", "", 5, ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.text) + " #" + std::to_string(row.n));
    EXPECT_EQ(CZnString(row.text).GetDelimitedField(row.opening, row.closing, row.n), row.field);
  }
  EXPECT_EQ(CZnString("(a)").GetDelimitedField(nullptr, nullptr, 3), "");
  // No progress with an empty closing delimiter: stops instead of looping.
  EXPECT_EQ(CZnString("(a)").GetDelimitedField("", "", 2000000000), "");
  EXPECT_EQ(CZnString("[a][b]").GetDelimitedField("[", "]", 2147483647), "");
}

TEST(ZnStringPartString, SplitsAtTheFirstSeparatorUntrimmed) {
  struct Row {
    const char* text;
    const char* separator;
    int found;
    const char* key;
    const char* value;
  };
  const Row rows[] = {
      {"Name=Value", "=", 1, "Name", "Value"},
      {"Name", "=", 0, "Name", ""},
      {"a=b=c", "=", 1, "a", "b=c"},
      {"key = value\n", "=", 1, "key ", " value\n"},
      {"a::b", "::", 1, "a", "b"},
      {"=x", "=", 1, "", "x"},
      {"ab", "", 1, "", "ab"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text);
    CZnString key("old"), value("old");
    EXPECT_EQ(CZnString(row.text).PartString(key, row.separator, value), row.found);
    EXPECT_EQ(key, row.key);
    EXPECT_EQ(value, row.value);
  }
}

TEST(ZnStringPartString, CharacterFormAndOutputsThatAreTheObject) {
  CZnString key, value;
  EXPECT_EQ(CZnString("k:v").PartString(key, ':', value), 1);
  EXPECT_EQ(key, "k");
  EXPECT_EQ(value, "v");
  CZnString self("left=right");
  EXPECT_EQ(self.PartString(self, '=', value), 1);
  EXPECT_EQ(self, "left");
  EXPECT_EQ(value, "right");
  CZnString line("k=v");
  EXPECT_EQ(line.PartString(key, '=', line), 1);
  EXPECT_EQ(key, "k");
  EXPECT_EQ(line, "v");
  CZnString alone("abc");
  EXPECT_EQ(alone.PartString(key, ';', alone), 0);
  EXPECT_EQ(key, "abc");
  EXPECT_EQ(alone, "");
}

TEST(ZnStringIsComment, BlankOrCommentCharacterAfterWhitespace) {
  struct Row {
    const char* text;
    const char* chars;
    int comment;
  };
  const Row rows[] = {
      {"  ; note", ";#", 1}, {"#x", ";#", 1}, {"", ";#", 1},     {" \t\r\n", ";#", 1},
      {"key=1", ";#", 0},    {"key;1", ";#", 0}, {"key", "", 0}, {";x", nullptr, 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text);
    EXPECT_EQ(CZnString(row.text).IsComment(row.chars), row.comment);
  }
  EXPECT_EQ(Bytes(std::string("\0;", 2)).IsComment(";"), 0);  // a zero byte is no comment mark
}

TEST(ZnStringRunsAndAlphabets, ReturnXCharsAndBuildAlphabet) {
  const CZnString any;
  EXPECT_EQ(any.ReturnXChars('-', 3), "---");
  EXPECT_EQ(any.ReturnXChars('-', 0), "");
  EXPECT_EQ(any.ReturnXChars('\0', 2), Bytes(std::string(2, '\0')));
  EXPECT_EQ(any.BuildAlphabet(65, 70), "ABCDE");
  EXPECT_EQ(any.BuildAlphabet(-5, 0), "");
  EXPECT_EQ(any.BuildAlphabet(70, 65), "");
  const CZnString all = any.BuildAlphabet(-100, 1000);
  ASSERT_EQ(all.GetSize(), 256);
  for (int code = 0; code < 256; ++code) EXPECT_EQ(static_cast<unsigned char>(all.GetView()[code]), code);
}

TEST(ZnStringSortChars, UnsignedByteOrderBothWays) {
  EXPECT_EQ(CZnString("dbca").SortChars(1), "abcd");
  EXPECT_EQ(CZnString("dbca").SortChars(0), "dcba");
  EXPECT_EQ(CZnString("").SortChars(1), "");
  // Bytes of 128 and above sort after ASCII, zero bytes first.
  EXPECT_EQ(Bytes(std::string("\xC3\xA4z\0a", 5)).SortChars(1), Bytes(std::string("\0az\xA4\xC3", 5)));
  EXPECT_EQ(Bytes(std::string("\xC3\xA4z\0a", 5)).SortChars(0), Bytes(std::string("\xC3\xA4za\0", 5)));
  CZnString big(CString(std::string(200000, 'b') + std::string(200000, 'a')));
  big.SortChars(1);
  EXPECT_EQ(big.GetView().substr(0, 200000), std::string(200000, 'a'));
  EXPECT_EQ(big.GetView().back(), 'b');
}

TEST(ZnStringCountDigits, PlainAndExtended) {
  EXPECT_EQ(CZnString("1.5,2!").CountDigits(0), 3);
  EXPECT_EQ(CZnString("1.5,2!").CountDigits(1), 6);
  EXPECT_EQ(CZnString("12:30").CountDigits(1), 5);
  EXPECT_EQ(CZnString("").CountDigits(1), 0);
  EXPECT_EQ(CZnString("\xD9\xA3x").CountDigits(1), 0);  // an Arabic-Indic digit is no digit
  EXPECT_EQ(Bytes(std::string("1\0" "2", 3)).CountDigits(0), 2);
}
