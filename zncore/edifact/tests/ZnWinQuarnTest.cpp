#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/testing/TempDrive.h"
#include "zncore/ZnWinQuarn.h"

using platform::testing::ScopedUnprivileged;
using platform::testing::TempDrive;

namespace {

const char* const kLineEnds[] = {"", "\n", "\r\n"};

// The segments joined by `lineEnd`, which also follows the last one.
std::string Join(const std::vector<std::string>& segments, const std::string& lineEnd) {
  std::string text;
  for (const std::string& segment : segments) text += segment + lineEnd;
  return text;
}

const std::vector<std::string> kOrder = {
    "UNB+UNOA:3+SENDER:14+RECEIVER:14+200101:1200+REF1'",
    "UNH+1+ORDERS:D:96A:UN'",
    "BGM+220+PO123+9'",
    "DTM+137:20200101:102'",
    "UNT+4+1'",
    "UNZ+1+REF1'",
};

std::vector<std::string> WithAdvice(const char* advice, std::vector<std::string> segments) {
  segments.insert(segments.begin(), advice);
  return segments;
}

struct Search {
  int result;
  std::string segment;
};

// Searches with a buffer of exactly maxLength + 1 bytes, so a write past it
// is caught by the address sanitizer, and checks that it ends up terminated.
Search Find(const std::string& path, const char* tag, unsigned maxLength = 200) {
  std::vector<char> buffer(maxLength + 1, '#');
  const int result = CZnWinQuarn().GetFirstEdifactSegment(path.c_str(), tag, buffer.data(), maxLength);
  const auto end = std::find(buffer.begin(), buffer.end(), '\0');
  EXPECT_NE(end, buffer.end()) << "segment buffer not terminated";
  return {result, std::string(buffer.begin(), end)};
}

struct Element {
  int result;
  std::string text;
};

Element GetElement(const char* segment, const char* advice, unsigned index, unsigned maxLength) {
  std::vector<char> buffer(maxLength + 2, '#');
  const int result = CZnWinQuarn().GetEdifactElement(segment, advice, index, buffer.data(), maxLength);
  const auto end = std::find(buffer.begin(), buffer.end(), '\0');
  EXPECT_NE(end, buffer.end()) << "element buffer not terminated";
  return {result, std::string(buffer.begin(), end)};
}

Element GetQualifier(const std::string& path, unsigned position, const char* suffix) {
  std::vector<char> buffer((suffix ? std::strlen(suffix) : 0) + 2, '#');
  const int result = CZnWinQuarn().GetLanguageQualifier(path.c_str(), position, suffix, buffer.data());
  return {result, std::string(buffer.data())};
}

}  // namespace

TEST(EdifactAdvice, TakenOnlyFromACompleteUnaAtTheStart) {
  TempDrive drive('T');
  struct Row {
    std::string content;
    int result;
    const char* advice;
  };
  const Row rows[] = {
      {Join(WithAdvice("UNA:+.? '", kOrder), "\r\n"), 1, "UNA:+.? '"},
      {"UNA>*,! ~UNB*UNOA:3~", 1, "UNA>*,! ~"},
      {"UNA:+.? '", 1, "UNA:+.? '"},
      {Join(kOrder, "\n"), 0, "UNA:+.? '"},
      {"UNA:*.?", 0, "UNA:+.? '"},  // ends within the advice
      {"", 0, "UNA:+.? '"},
      {" UNA:*.? ~", 0, "UNA:+.? '"},
      {std::string("\xff\0UNA:*.? ~", 11), 0, "UNA:+.? '"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.content);
    drive.WriteFile("a.edi", row.content);
    char advice[10] = "xxxxxxxxx";
    EXPECT_EQ(CZnWinQuarn().GetEdifactUNASegment(drive.WinPath("a.edi").c_str(), advice), row.result);
    EXPECT_STREQ(advice, row.advice);
  }
}

TEST(EdifactSearch, NumbersSegmentsFromUnbWithAnyLineEnds) {
  TempDrive drive('T');
  for (const char* lineEnd : kLineEnds) {
    for (bool advice : {false, true}) {
      SCOPED_TRACE(testing::Message() << "line end " << std::strlen(lineEnd) << ", UNA " << advice);
      drive.WriteFile("a.edi", Join(advice ? WithAdvice("UNA:+.? '", kOrder) : kOrder, lineEnd));
      const std::string path = drive.WinPath("a.edi");
      for (std::size_t i = 0; i < kOrder.size(); ++i) {
        const Search found = Find(path, kOrder[i].substr(0, 3).c_str());
        EXPECT_EQ(found.result, static_cast<int>(i + 1));
        EXPECT_EQ(found.segment, kOrder[i]);
      }
      EXPECT_EQ(Find(path, "DTMX").result, 4);  // only three characters count
      EXPECT_EQ(Find(path, "XYZ").result, 0);
      EXPECT_EQ(Find(path, "XYZ").segment, "");
      EXPECT_EQ(CZnWinQuarn().IsEdifactMessage(path.c_str()), 1);
      EXPECT_EQ(GetQualifier(path, 1, "").text, "U");
    }
  }
}

TEST(EdifactSearch, CutsAtTheTerminatorTheAdviceDeclares) {
  TempDrive drive('T');
  for (const char* lineEnd : kLineEnds) {
    drive.WriteFile("a.edi", Join({"UNA>*,! ~", "UNB*UNOA>3*S*R~", "FTX*it's+ok~", "UNZ*1*R~"}, lineEnd));
    const std::string path = drive.WinPath("a.edi");
    EXPECT_EQ(Find(path, "FTX").result, 2);
    EXPECT_EQ(Find(path, "FTX").segment, "FTX*it's+ok~");
    EXPECT_EQ(Find(path, "UNZ").result, 3);
    EXPECT_EQ(CZnWinQuarn().IsEdifactMessage(path.c_str()), 1);
  }
  // A terminator that is itself a line end makes an empty line a segment.
  drive.WriteFile("lf.edi", "UNA:+.? \nUNB+x\n\nUNZ+1\n");
  EXPECT_EQ(Find(drive.WinPath("lf.edi"), "UNZ").result, 3);
}

TEST(EdifactSearch, TagUnaAlwaysAnswersZeroWithTheFirstCharacters) {
  TempDrive drive('T');
  drive.WriteFile("una.edi", Join(WithAdvice("UNA:+.? '", kOrder), "\n"));
  drive.WriteFile("plain.edi", Join(kOrder, "\n"));
  drive.WriteFile("short.edi", "UNA:");
  EXPECT_EQ(Find(drive.WinPath("una.edi"), "UNA").result, 0);
  EXPECT_EQ(Find(drive.WinPath("una.edi"), "UNA").segment, "UNA:+.? '");
  EXPECT_EQ(Find(drive.WinPath("plain.edi"), "UNA").segment, "UNB+UNOA:");
  EXPECT_EQ(Find(drive.WinPath("short.edi"), "UNA").segment, "UNA:");
}

TEST(EdifactSearch, FileThatDoesNotContinueWithUnb) {
  TempDrive drive('T');
  const std::string rows[] = {
      "Dear reader,\r\nthis is no interchange.\r\n",
      "",
      " \r\n\t\n",
      "UN",
      "UN'UNB+x'",
      "unb+x'",
      "UNA:+.? '",
      "UNA:+.? 'UNH+1'UNB+x'",
      "UNA:+.?",
      "\nUNA:+.? 'UNB+x'",
      "\xef\xbb\xbfUNB+x'",
      std::string("\0\xff\xfe UNB", 7),
  };
  for (const std::string& content : rows) {
    SCOPED_TRACE(content);
    drive.WriteFile("a.edi", content);
    const std::string path = drive.WinPath("a.edi");
    EXPECT_EQ(Find(path, "UNB").result, -2);
    EXPECT_EQ(CZnWinQuarn().IsEdifactMessage(path.c_str()), 0);
  }
}

TEST(EdifactSearch, ShortFilesAndShortSegments) {
  TempDrive drive('T');
  struct Row {
    const char* content;
    const char* tag;
    int result;
    const char* segment;
  };
  const Row rows[] = {
      {"UNB", "UNB", 0, ""},  // cut short before its terminator
      {"UNB'", "UNB", 1, "UNB'"},
      {"UNA:+.? 'UNB'", "UNB", 1, "UNB'"},
      {"UNB'UNH'UNZ'", "UNZ", 3, "UNZ'"},  // segments within the first characters count too
      {"UNB+x'UNZ+1+REF1", "UNZ", 0, ""},
      {"UNA:+.? '\n\n\n\n\n\n\n\n\n\n\nUNB+x'", "UNB", 1, "UNB+x'"},
      {"UNB+x'\n   \t\r\nUN'", "UN'", 2, "UN'"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.content);
    drive.WriteFile("a.edi", row.content);
    const Search found = Find(drive.WinPath("a.edi"), row.tag);
    EXPECT_EQ(found.result, row.result);
    EXPECT_EQ(found.segment, row.segment);
  }
  drive.WriteFile("a.edi", "UNB+x'UNZ+1+REF1");
  EXPECT_EQ(CZnWinQuarn().IsEdifactMessage(drive.WinPath("a.edi").c_str()), 0);
}

TEST(EdifactSearch, SegmentLongerThanTheMaximum) {
  TempDrive drive('T');
  const std::string unb = "UNB+" + std::string(16, 'u') + "'";  // 21 characters
  const std::string bgm = "BGM+" + std::string(25, 'b') + "'";  // 30 characters
  for (const char* lineEnd : kLineEnds) {
    SCOPED_TRACE(std::strlen(lineEnd));
    drive.WriteFile("a.edi", Join({"UNA:+.? '", unb, bgm, "UNZ+1'"}, lineEnd));
    const std::string path = drive.WinPath("a.edi");
    EXPECT_EQ(Find(path, "BGM", 30).result, 2);  // the terminator counts, line ends do not
    EXPECT_EQ(Find(path, "BGM", 30).segment, bgm);
    EXPECT_EQ(Find(path, "BGM", 29).result, -3);
    EXPECT_EQ(Find(path, "BGM", 29).segment, bgm.substr(0, 29));
    EXPECT_EQ(Find(path, "UNZ", 29).result, -3);  // a long segment on the way stops the search
    EXPECT_EQ(Find(path, "UNB", 20).result, -3);
    EXPECT_EQ(Find(path, "UNB", 21).result, 1);
  }
  // Precedence: a wrong first segment is reported as such, however long.
  drive.WriteFile("b.edi", std::string(500, 'x') + "'");
  EXPECT_EQ(Find(drive.WinPath("b.edi"), "UNB", 9).result, -2);
}

TEST(EdifactSearch, RejectsArgumentsOutsideTheRules) {
  TempDrive drive('T');
  drive.WriteFile("a.edi", Join(kOrder, "\n"));
  const std::string path = drive.WinPath("a.edi");
  EXPECT_EQ(Find(path, "UN").result, -4);
  EXPECT_EQ(Find(path, "").result, -4);
  EXPECT_EQ(Find(path, nullptr).result, -4);
  EXPECT_EQ(Find(path, "UNB", 8).result, -4);
  EXPECT_EQ(Find(path, "UNB", 0).result, -4);
  drive.WriteFile("short.edi", "UNB+x'UNH+1'");
  EXPECT_EQ(Find(drive.WinPath("short.edi"), "UNH", 9).result, 2);  // 9 is the smallest maximum
  EXPECT_EQ(CZnWinQuarn().GetFirstEdifactSegment(path.c_str(), "UNB", nullptr, 200), -4);
}

TEST(EdifactSearch, FilesThatCannotBeRead) {
  TempDrive drive('T');
  drive.MakeDir("folder");
  drive.WriteFile("locked.edi", Join(kOrder, "\n"));
  drive.Chmod("locked.edi", 0);
  const auto expectUnreadable = [](const std::string& path) {
    SCOPED_TRACE(path);
    EXPECT_EQ(Find(path, "UNB").result, -1);
    EXPECT_EQ(Find(path, "UNA").result, -1);
    EXPECT_EQ(CZnWinQuarn().IsEdifactMessage(path.c_str()), 0);
    char advice[10] = "xxxxxxxxx";
    EXPECT_EQ(CZnWinQuarn().GetEdifactUNASegment(path.c_str(), advice), 0);
    EXPECT_STREQ(advice, CZnWinQuarn::kDefaultAdvice);
    EXPECT_EQ(GetQualifier(path, 1, "x").result, 0);
    EXPECT_EQ(GetQualifier(path, 1, "x").text, "");
  };
  // A folder opens as a file here; its first read fails.
  for (const std::string& path : {drive.WinPath("missing.edi"), drive.WinPath("folder"),
                                  std::string("Q:\\unmapped.edi"), std::string()})
    expectUnreadable(path);
  char segment[10];
  EXPECT_EQ(CZnWinQuarn().GetFirstEdifactSegment(nullptr, "UNB", segment, 9), -1);
  EXPECT_EQ(CZnWinQuarn().IsEdifactMessage(nullptr), 0);
  ScopedUnprivileged unprivileged;
  if (!unprivileged.Active()) GTEST_SKIP() << "permissions do not apply to this user";
  expectUnreadable(drive.WinPath("locked.edi"));
}

TEST(EdifactSearch, KeepsBinaryBytesInsideSegments) {
  TempDrive drive('T');
  const std::string unb("UNB+\0\xff\r\n'", 9);
  drive.WriteFile("a.edi", unb + "UNZ+1'");
  char segment[20];
  EXPECT_EQ(CZnWinQuarn().GetFirstEdifactSegment(drive.WinPath("a.edi").c_str(), "UNB", segment, 19), 1);
  EXPECT_EQ(std::string(segment, unb.size() + 1), unb + '\0');
  EXPECT_EQ(Find(drive.WinPath("a.edi"), "UNZ").result, 2);
}

// The file is read in blocks: segments, blank runs and a long segment that
// straddle block boundaries must read as in a small file.
TEST(EdifactSearch, LargeFilesReadAcrossBlocks) {
  TempDrive drive('T');
  std::vector<std::string> segments = {"UNB+UNOA:3+S+R+REF'"};
  std::vector<std::string> tags;
  for (int i = 0; i < 6000; ++i) {
    std::string tag = {char('A' + i / 676 % 26), char('A' + i / 26 % 26), char('A' + i % 26)};
    tags.push_back(tag);
    segments.push_back(tag + "+" + std::string(i * 7919 % 397, char('a' + i % 26)) + "'");
  }
  segments.push_back(std::string(300000, '\n') + "ZZZ+" + std::string(300000, 'x') + "'");
  segments.push_back("UNZ+6001+REF'");
  for (const char* lineEnd : kLineEnds) {
    SCOPED_TRACE(std::strlen(lineEnd));
    drive.WriteFile("big.edi", Join(segments, lineEnd));
    const std::string path = drive.WinPath("big.edi");
    for (int i = 0; i < 6000; i += 599) {
      const Search found = Find(path, tags[i].c_str(), 420);
      EXPECT_EQ(found.result, i + 2);
      EXPECT_EQ(found.segment, segments[i + 1]);
    }
    EXPECT_EQ(Find(path, "ZZZ", 420).result, -3);
    EXPECT_TRUE(Find(path, "ZZZ", 300005).segment == segments[6001].substr(300000));
    EXPECT_EQ(Find(path, "UNZ", 300005).result, 6003);
  }
}

TEST(EdifactElement, SplitsAtTheDataElementSeparator) {
  struct Row {
    const char* segment;
    const char* advice;
    unsigned index;
    int result;
    const char* element;
  };
  const Row rows[] = {
      {"UNH+1+ORDERS:D:96A:UN'", "UNA:+.? '", 0, 0, "UNH"},
      {"UNH+1+ORDERS:D:96A:UN'", "UNA:+.? '", 1, 1, "1"},
      {"UNH+1+ORDERS:D:96A:UN'", "UNA:+.? '", 2, 2, "ORDERS:D:96A:UN"},
      {"UNH+1+ORDERS:D:96A:UN'", "UNA:+.? '", 3, -2, ""},
      {"UNH+1+ORDERS:D:96A:UN'", "UNA:+.? '", 4000000000u, -2, ""},
      {"FTX+AAA+++a?+b'", "UNA:+.? '", 4, 4, "a?"},  // the release character is not honoured
      {"FTX+AAA+++a?+b'", "UNA:+.? '", 3, 3, ""},
      {"BGM+220+PO123", "UNA:+.? '", 2, 2, "PO123"},
      {"BGM+220+PO123'''", "UNA:+.? '", 2, 2, "PO123"},
      {"UNH*1*ORDERS+X~", "UNA>*,! ~", 2, 2, "ORDERS+X"},
      {"UNH+1+X'", nullptr, 2, 2, "X"},
      {"UNH*1*X~", "UNA:*", 2, 2, "X~"},  // a short advice: the rest is the default
      {"NAD+ab \t\r\n", "UNA:+.?  ", 1, 1, "ab"},
      {"", "UNA:+.? '", 0, 0, ""},
      {nullptr, "UNA:+.? '", 0, 0, ""},
      {nullptr, "UNA:+.? '", 1, -2, ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << (row.segment ? row.segment : "(null)") << " #" << row.index);
    const Element element = GetElement(row.segment, row.advice, row.index, 35);
    EXPECT_EQ(element.result, row.result);
    EXPECT_EQ(element.text, row.element);
  }
}

TEST(EdifactElement, AnElementMayHoldOneCharacterMoreThanTheMaximum) {
  struct Row {
    const char* segment;
    unsigned index;
    unsigned maxLength;
    int result;
    const char* element;
  };
  const Row rows[] = {
      {"X+12345+Y'", 1, 4, 1, "12345"},
      {"X+12345+Y'", 1, 3, -3, "1234"},
      {"X+12345'", 1, 5, 1, "12345"},  // the last element's terminator passes through too
      {"X+12345'", 1, 4, -3, "12345"},
      {"X+123456789+Y'", 2, 3, -3, "1234"},  // every element on the way must fit
      {"X+1'", 1, 0, -3, "1"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << row.segment << " max " << row.maxLength);
    const Element element = GetElement(row.segment, "UNA:+.? '", row.index, row.maxLength);
    EXPECT_EQ(element.result, row.result);
    EXPECT_EQ(element.text, row.element);
  }
  EXPECT_EQ(CZnWinQuarn().GetEdifactElement("X+1'", nullptr, 1, nullptr, 10), -3);
}

TEST(EdifactLanguageQualifier, CharacterOfTheFirstLineAndSuffix) {
  TempDrive drive('T');
  struct Row {
    std::string content;
    unsigned position;
    const char* suffix;
    int result;
    const char* qualifier;
  };
  const std::string longLine = std::string(298, 'a') + "Zb";
  const Row rows[] = {
      {"UNA:+.? '\r\nUNB'", 1, "", 1, "U"},
      {"UNA:+.? '\r\nUNB'", 4, "_lang", 1, ":_lang"},
      {"UNA:+.? '\r\nUNB'", 1, nullptr, 1, "U"},
      {"UNA:+.? '\r\nUNB'", 0, "x", 0, ""},
      {"DE\r\nxx", 2, "", 1, "E"},
      {"DE\r\nxx", 3, "", 0, ""},  // the line end is not part of the line
      {"DE\nxx", 3, "", 0, ""},
      {"DE", 3, "", 0, ""},
      {"\nDE", 1, "", 0, ""},
      {"", 1, "", 0, ""},
      {longLine, 299, "", 1, "Z"},
      {longLine, 300, "", 0, ""},  // beyond the 299 characters read
      {longLine, 4000000000u, "", 0, ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << row.content.substr(0, 12) << " @" << row.position);
    drive.WriteFile("a.edi", row.content);
    const Element qualifier = GetQualifier(drive.WinPath("a.edi"), row.position, row.suffix);
    EXPECT_EQ(qualifier.result, row.result);
    EXPECT_EQ(qualifier.text, row.qualifier);
  }
}
