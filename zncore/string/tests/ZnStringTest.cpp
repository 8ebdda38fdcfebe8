#include "zncore/ZnString.h"

#include <gtest/gtest.h>

#include <string>

namespace {
CZnString Bytes(const char* bytes, int count) { return CZnString(bytes, count); }
}  // namespace

TEST(ZnStringConstruction, FormsAndNullPointers) {
  EXPECT_EQ(CZnString('-', 3), "---");
  EXPECT_TRUE(CZnString('-', 0).IsEmpty());
  EXPECT_EQ(Bytes("a\0b", 3).GetSize(), 3);
  EXPECT_TRUE(CZnString(static_cast<const char*>(nullptr)).IsEmpty());
  EXPECT_TRUE(CZnString(static_cast<const unsigned char*>(nullptr)).IsEmpty());
  EXPECT_EQ(CZnString(reinterpret_cast<const unsigned char*>("xy")), "xy");
  const unsigned short wide[] = {0x00DC, 'b', 0};
  EXPECT_EQ(CZnString(wide), "\xC3\x9C" "b");
  CZnString copy = CString("base");
  EXPECT_EQ(copy, "base");
  copy = "text";
  EXPECT_EQ(copy, "text");
}

TEST(ZnStringGetAt, TerminatorAndTildeOutside) {
  const CZnString s("ab");
  EXPECT_EQ(s.GetAt(0), 'a');
  EXPECT_EQ(s.GetAt(2), '\0');
  EXPECT_EQ(s.GetAt(3), '~');
  EXPECT_EQ(s.GetAt(-1), '~');
  EXPECT_EQ(CZnString().GetAt(0), '\0');
}

TEST(ZnStringEdit, InsertPadsWithBlanksBeyondTheEnd) {
  EXPECT_EQ(CZnString("ab").Insert(5, "X"), "ab   X");
  EXPECT_EQ(CZnString("ab").Insert(1, "XY"), "aXYb");
  EXPECT_EQ(CZnString("ab").Insert(2, 'c'), "abc");
  EXPECT_EQ(CZnString("ab").Insert(0, '\0'), "ab");
  EXPECT_EQ(CZnString("ab").Insert(-1, "X"), "ab");
  EXPECT_EQ(CZnString("ab").Insert(1, static_cast<const char*>(nullptr)), "ab");
}

TEST(ZnStringEdit, DeleteAndReplace) {
  EXPECT_EQ(CZnString("abcdef").Delete(2, 2), "abef");
  EXPECT_EQ(CZnString("abcdef").Delete(2, -1), "ab");
  EXPECT_EQ(CZnString("abcdef").Delete(2, 99), "ab");
  EXPECT_EQ(CZnString("abcdef").Delete(6, 1), "abcdef");
  EXPECT_EQ(CZnString("abcdef").Delete(-1, 1), "abcdef");
  EXPECT_EQ(CZnString("abcdef").Replace(1, 3, "XY"), "aXYef");
  EXPECT_EQ(CZnString("ab").Replace(4, 1, "Z"), "ab  Z");
  EXPECT_EQ(Bytes("a\0b\0c", 5).Delete(1, 2), Bytes("a\0c", 3));
}

TEST(ZnStringFind, StartIndexRulesAndCase) {
  const CZnString s("xAbab");
  EXPECT_EQ(s.Find('b', 3), 4);
  EXPECT_EQ(s.Find('b', 5), -1);
  EXPECT_EQ(s.Find('b', 6), -1);
  EXPECT_EQ(s.Find('b', -1), -1);
  EXPECT_EQ(s.Find("ab"), 3);
  EXPECT_EQ(s.Find("", 5), 5);
  EXPECT_EQ(s.FindNoCase('a'), 1);   // whichever case comes first
  EXPECT_EQ(s.FindNoCase('A', 2), 3);
  EXPECT_EQ(s.FindNoCase('z'), -1);
  EXPECT_EQ(s.FindNoCase("AB"), 1);
  EXPECT_EQ(s.FindNoCase("AB", 2), 3);
  EXPECT_EQ(s.FindNoCase("AB", 9), -1);
}

TEST(ZnStringReverseFind, LastOccurrenceAtOrBeforeTheStart) {
  const CZnString s("abcabc");
  EXPECT_EQ(s.ReverseFind('c'), 5);
  EXPECT_EQ(s.ReverseFind("abc", -1), 3);
  EXPECT_EQ(s.ReverseFind("abc", 2), 0);
  EXPECT_EQ(s.ReverseFind("abc", 99), 3);
  EXPECT_EQ(s.ReverseFind("bc", 5), 4);
  EXPECT_EQ(s.ReverseFind("abc", -2), -1);
  EXPECT_EQ(s.ReverseFind("", -1), -1);
  EXPECT_EQ(s.ReverseFind("abcabcx", -1), -1);  // would run past the end
  EXPECT_EQ(CZnString("ab").ReverseFind("ab", -1), 0);
  EXPECT_EQ(CZnString("AB").ReverseFindNoCase("ab", -1), 0);
  EXPECT_EQ(s.ReverseFindNoCase("ABC", 4), 3);
  EXPECT_EQ(s.ReverseFindNoCase('B', -1), 4);
  EXPECT_EQ(s.ReverseFindNoCase('\0', -1), -1);
  EXPECT_EQ(CZnString().ReverseFind("a", -1), -1);
}

TEST(ZnStringFindReplace, ResumesAfterTheInsertedText) {
  CZnString s("aaa");
  EXPECT_EQ(s.FindReplace("a", "aa", 1), 3);
  EXPECT_EQ(s, "aaaaaa");
  CZnString first("aaa");
  EXPECT_EQ(first.FindReplace("a", "aa", 0), 1);
  EXPECT_EQ(first, "aaaa");
  CZnString pairs("aaaa");
  EXPECT_EQ(pairs.FindReplace("aa", "b", 1), 2);
  EXPECT_EQ(pairs, "bb");
}

TEST(ZnStringFindReplace, PathSlashesAndDeletion) {
  CZnString path("T:\\Pics\\2001\\_FileIndex.html");
  EXPECT_EQ(path.FindReplace("T:\\Pics", "", 1), 1);
  EXPECT_EQ(path.FindReplace('\\', '/', 1), 2);
  EXPECT_EQ(path, "/2001/_FileIndex.html");
  CZnString s("a-b-c");
  EXPECT_EQ(s.FindReplace("-", '\0', 1), 2);
  EXPECT_EQ(s, "abc");
  EXPECT_EQ(s.FindReplace('\0', 'x', 1), 0);
  EXPECT_EQ(s.FindReplace('b', "BB", 1), 1);
  EXPECT_EQ(s, "aBBc");
}

TEST(ZnStringFindReplace, NothingToDoLeavesTheStringAlone) {
  CZnString s("AB");
  EXPECT_EQ(s.FindReplace("ab", "x", 1), 0);  // case-sensitive
  EXPECT_EQ(s.FindReplace("", "x", 1), 0);
  EXPECT_EQ(s.FindReplace(static_cast<const char*>(nullptr), "x", 1), 0);
  EXPECT_EQ(s.FindReplace("A", static_cast<const char*>(nullptr), 1), 0);
  EXPECT_EQ(s, "AB");
}

TEST(ZnStringFindReplace, NoLengthCeiling) {
  CZnString s(CString(std::string(40000, 'x')));
  EXPECT_EQ(s.FindReplace("x", "yy", 1), 40000);
  EXPECT_EQ(s.GetSize(), 80000);
  EXPECT_EQ(s.CountChar('y'), 80000);
}

TEST(ZnStringFindReplace, EmbeddedZeroBytesAreText) {
  CZnString s = Bytes("a\0a\0", 4);
  EXPECT_EQ(s.FindReplace("a", "bc", 1), 2);
  EXPECT_EQ(s, Bytes("bc\0bc\0", 6));
}

TEST(ZnStringFindReplaceNoCase, MatchesAnyCaseInsertsAsGiven) {
  CZnString s("AB ab Ab");
  EXPECT_EQ(s.FindReplaceNoCase("ab", "xY", 1), 3);
  EXPECT_EQ(s, "xY xY xY");
  CZnString once("AbAB");
  EXPECT_EQ(once.FindReplaceNoCase("ab", static_cast<const char*>(nullptr), 0), 1);
  EXPECT_EQ(once, "AB");
  CZnString chars("aAa");
  EXPECT_EQ(chars.FindReplaceNoCase('A', 'b', 1), 3);
  EXPECT_EQ(chars, "bbb");
  EXPECT_EQ(chars.FindReplaceNoCase("", "x", 1), 0);
  CZnString grow("aAa");
  EXPECT_EQ(grow.FindReplaceNoCase("a", "aa", 1), 3);
  EXPECT_EQ(grow, "aaaaaa");
}

TEST(ZnStringRuns, CountAndDelChar) {
  EXPECT_EQ(CZnString("a/b/c").CountChar('/'), 2);
  EXPECT_EQ(CZnString().CountChar('/'), 0);
  EXPECT_EQ(CZnString("a,b,c").DelChar(',', 1), "ab,c");
  EXPECT_EQ(CZnString("a,b,c").DelChar(',', -5), "abc");
  EXPECT_EQ(CZnString("a,b,c").DelChar(',', 9), "a,b,c");
  EXPECT_EQ(CZnString("a,b").DelChar('\0', 0), "a,b");
}

TEST(ZnStringRuns, DelEndChar) {
  EXPECT_EQ(CZnString("a...").DelEndChar('.'), "a");
  EXPECT_EQ(CZnString("....").DelEndChar('.'), "");
  EXPECT_EQ(CZnString("a. .").DelEndChar('.'), "a. ");
  EXPECT_EQ(CZnString("a \t\r\n").DelEndChar(' '), "a");  // all whitespace for a blank
  EXPECT_EQ(CZnString("a\r\r").DelEndChar('\r'), "a");
  EXPECT_EQ(CZnString().DelEndChar('.'), "");
  EXPECT_EQ(CZnString("x..").TrimRightChar('.'), "x");
}

TEST(ZnStringRuns, DelLeadChar) {
  EXPECT_EQ(CZnString("..txt").DelLeadChar('.'), "txt");
  EXPECT_EQ(CZnString(".txt").DelLeadChar('.'), "txt");
  EXPECT_EQ(CZnString(".. \ttxt").DelLeadChar('.'), "txt");     // whitespace after the run goes too
  EXPECT_EQ(CZnString(" ..txt").DelLeadChar('.'), "..txt");      // a blank in front protects the run
  EXPECT_EQ(CZnString("\r\rx").DelLeadChar('\r'), "x");
  EXPECT_EQ(CZnString(" \n\tx").DelLeadChar('\t'), "x");
  EXPECT_EQ(CZnString("--x").TrimLeftChar('-'), "x");
}

TEST(ZnStringRuns, DoubleAndOneChar) {
  CZnString s("it's 'x'");
  EXPECT_EQ(s.DoubleChar('\'', '\0'), "it''s ''x''");
  EXPECT_EQ(s.OneChar('\'', '\0'), "it's 'x'");
  EXPECT_EQ(CZnString("a-b").DoubleChar('-', '+'), "a++b");
  EXPECT_EQ(CZnString("aaaa").OneChar('a', '\0'), "aa");
  EXPECT_EQ(CZnString("aaa").OneChar('a', '\0'), "aa");
  EXPECT_EQ(CZnString("xx").OneChar('x', 'y'), "y");
}
