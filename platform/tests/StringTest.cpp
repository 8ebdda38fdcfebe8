#include "platform/String.h"

#include <gtest/gtest.h>

#include <string>

TEST(CStringConstruction, CountsAndNullPointers) {
  EXPECT_EQ(CString('x', 3), "xxx");
  EXPECT_TRUE(CString('x', 0).IsEmpty());
  EXPECT_TRUE(CString('x', -4).IsEmpty());
  EXPECT_TRUE(CString(static_cast<const char*>(nullptr)).IsEmpty());
  EXPECT_TRUE(CString(nullptr, 5).IsEmpty());
  EXPECT_TRUE(CString("abc", 0).IsEmpty());
  CString assigned("x");
  assigned = static_cast<const char*>(nullptr);
  EXPECT_TRUE(assigned.IsEmpty());
}

TEST(CStringConstruction, KeepsEmbeddedZeroBytesWhenGivenALength) {
  const CString s("a\0b\0", 4);
  EXPECT_EQ(s.GetLength(), 4);
  EXPECT_EQ(s.Find('b'), 2);
  EXPECT_EQ(s.Find("b"), 2);
  EXPECT_NE(s, CString("a"));
  EXPECT_EQ(std::string(s.GetView()), std::string("a\0b\0", 4));
}

TEST(CStringConstruction, WideTextBecomesUtf8) {
  const unsigned short text[] = {'A', 0x00C4, 0x20AC, 0xD83D, 0xDE00, 0};
  EXPECT_EQ(CString(text), "A\xC3\x84\xE2\x82\xAC\xF0\x9F\x98\x80");
  const unsigned short lone[] = {'a', 0xD800, 'b', 0};
  EXPECT_EQ(CString(lone), "a\xEF\xBF\xBD" "b");
  EXPECT_TRUE(CString(static_cast<const unsigned short*>(nullptr)).IsEmpty());
}

TEST(CStringAssignment, FromItsOwnText) {
  CString s("hello world");
  s = s.GetString() + 6;
  EXPECT_EQ(s, "world");
  s += s.GetString();
  EXPECT_EQ(s, "worldworld");
}

TEST(CStringBuffer, GetBufferKeepsContentAndReleaseSetsLength) {
  CString s("abc");
  char* buffer = s.GetBuffer(10);
  EXPECT_STREQ(buffer, "abc");
  buffer[3] = 'd';
  buffer[4] = '\0';
  s.ReleaseBuffer();
  EXPECT_EQ(s, "abcd");
  s.GetBuffer(2);
  s.ReleaseBuffer(2);
  EXPECT_EQ(s, "ab");
  s.GetBuffer(0);
  s.ReleaseBuffer(99);  // never beyond the buffer
  EXPECT_EQ(s, "ab");
}

TEST(CStringSubstrings, CountsAreClamped) {
  const CString s("abcdef");
  EXPECT_EQ(s.Left(2), "ab");
  EXPECT_EQ(s.Left(-1), "");
  EXPECT_EQ(s.Left(99), "abcdef");
  EXPECT_EQ(s.Right(2), "ef");
  EXPECT_EQ(s.Right(99), "abcdef");
  EXPECT_EQ(s.Mid(2), "cdef");
  EXPECT_EQ(s.Mid(2, 2), "cd");
  EXPECT_EQ(s.Mid(4, 99), "ef");
  EXPECT_EQ(s.Mid(9), "");
  EXPECT_EQ(s.Mid(-3, 2), "ab");
  EXPECT_EQ(s.Mid(1, -1), "");
}

TEST(CStringEdit, CaseTouchesAsciiOnly) {
  CString s("aZ\xC3\xA4-x");
  s.MakeUpper();
  EXPECT_EQ(s, "AZ\xC3\xA4-X");
  s.MakeLower();
  EXPECT_EQ(s, "az\xC3\xA4-x");
  s.MakeReverse();
  EXPECT_EQ(s, "x-\xA4\xC3za");
}

TEST(CStringEdit, TrimForms) {
  CString s(" \t\r\n\v\fabc \t\r\n\v\f");
  s.TrimLeft();
  s.TrimRight();
  EXPECT_EQ(s, "abc");
  CString path("C:\\\\");
  path.TrimRight('\\');
  EXPECT_EQ(path, "C:");
  CString all("\\\\\\");
  all.TrimRight('\\');
  EXPECT_EQ(all, "");
  CString set("xyabcyx");
  set.TrimLeft("xy");
  set.TrimRight("xy");
  EXPECT_EQ(set, "abc");
}

TEST(CStringSearch, FindForms) {
  const CString s("abcabc");
  EXPECT_EQ(s.Find('c'), 2);
  EXPECT_EQ(s.Find('c', 3), 5);
  EXPECT_EQ(s.Find('z'), -1);
  EXPECT_EQ(s.Find("bc", 2), 4);
  EXPECT_EQ(s.Find("", 3), 3);
  EXPECT_EQ(s.Find("a", 7), -1);
  EXPECT_EQ(s.Find("a", -1), -1);
  EXPECT_EQ(s.Find(static_cast<const char*>(nullptr)), -1);
  EXPECT_EQ(s.ReverseFind('a'), 3);
  EXPECT_EQ(s.FindOneOf("xc"), 2);
  EXPECT_EQ(s.FindOneOf(""), -1);
}

TEST(CStringCompare, UnsignedBytesOverTheWholeLength) {
  EXPECT_LT(CString("B"), CString("a"));
  EXPECT_LT(CString("z"), CString("\xC3\xA4"));  // bytes compare unsigned
  EXPECT_EQ(CString("abc").CompareNoCase("ABC"), 0);
  EXPECT_LT(CString("abc").Compare("abd"), 0);
  EXPECT_GT(CString("abc").Compare(nullptr), 0);
  EXPECT_TRUE("abc" == CString("abc"));
}

TEST(CStringFormat, PrintfStyleOfAnyLength) {
  CString s;
  s.Format("%s-%05d-%.1f", "x", 42, 2.25);
  EXPECT_EQ(s, "x-00042-2.2");
  s.Format("%s", std::string(20000, 'y').c_str());
  EXPECT_EQ(s.GetLength(), 20000);
}

TEST(CStringConcat, AllOperandKinds) {
  CString s = CString("a") + "b" + 'c' + CString("d");
  EXPECT_EQ(s, "abcd");
  EXPECT_EQ('x' + s, "xabcd");
  EXPECT_EQ("y" + s, "yabcd");
}
