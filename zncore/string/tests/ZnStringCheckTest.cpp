#include <gtest/gtest.h>

#include <string>

#include "platform/testing/TempDrive.h"
#include "zncore/ZnString.h"

namespace {
CZnString Bytes(std::string bytes) { return CZnString(CString(std::move(bytes))); }

bool InRandomRange(unsigned char c) { return (c >= 33 && c <= 64) || (c >= 92 && c <= 96); }

int SetBits(unsigned char c) {
  int bits = 0;
  for (; c; c >>= 1) bits += c & 1;
  return bits;
}
}  // namespace

TEST(ZnStringChecks, IdentifiersAndPasswords) {
  EXPECT_EQ(CZnString(std::string(30, 'a').c_str()).IsValidID(""), 1);
  EXPECT_EQ(CZnString(std::string(31, 'a').c_str()).IsValidID(""), 0);
  EXPECT_EQ(CZnString("a.b").IsValidID(" ."), 0);
  EXPECT_EQ(CZnString("ab").IsValidID(" ."), 1);
  EXPECT_EQ(CZnString("a b").IsValidID(nullptr), 1);
  EXPECT_EQ(CZnString("").IsValidID(" ."), 1);

  struct Row {
    const char* text;
    int length, minLength, maxLength, minDigits, maxDigits;
    int valid;
  };
  const Row rows[] = {
      {"abcdef", 0, 6, 8, 1, 8, 0},    // no digit
      {"abcde1", 0, 6, 8, 1, 8, 1},
      {"abcde!", 0, 6, 8, 1, 8, 1},    // '!' counts as a digit
      {"abcd1", 0, 6, 8, 1, 8, 0},     // too short
      {"abcdefgh1", 0, 6, 8, 1, 8, 0}, // too long
      {"abcdefg1", 0, 6, 8, 1, 8, 1},  // bounds included
      {"a1", 7, 6, 8, 1, 8, 1},        // the given length counts, not the string's
      {"a1", 9, 6, 8, 1, 8, 0},
      {"123456", 0, 6, 8, 1, 2, 0},    // too many digits
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text);
    EXPECT_EQ(CZnString(row.text).IsValidPwd(row.length, row.minLength, row.maxLength, row.minDigits, row.maxDigits),
              row.valid);
  }
}

TEST(ZnStringChecks, CharacterClasses) {
  struct Row {
    std::string text;
    int numeric;      // IsNumeric(0)
    int numericExt;   // IsNumeric(1)
    int alpha;        // IsAlpha
    int onlyAbc123;   // IncludesOnly("abc123")
  };
  const Row rows[] = {
      {"", 1, 1, 1, 1},
      {"123", 1, 1, 0, 1},
      {"12a", 0, 0, 0, 1},
      {"1.000,5", 0, 1, 0, 0},
      {"abcXYZ", 0, 0, 1, 0},
      {"abc1", 0, 0, 0, 1},
      {"ab\xC3\xA4", 0, 0, 0, 0},         // UTF-8 letters are not ASCII letters
      {std::string("ab\0c", 4), 0, 0, 0, 0},  // a zero byte is in no class
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text);
    const CZnString s = Bytes(row.text);
    EXPECT_EQ(s.IsNumeric(0), row.numeric);
    EXPECT_EQ(s.IsNumeric(1), row.numericExt);
    EXPECT_EQ(s.IsAlpha(), row.alpha);
    EXPECT_EQ(s.IncludesOnly("abc123"), row.onlyAbc123);
  }
  EXPECT_EQ(CZnString("").IncludesOnly(nullptr), 1);
  EXPECT_EQ(CZnString("a").IncludesOnly(nullptr), 0);
}

TEST(ZnStringChecks, GermanLettersByCodePage) {
  struct Row {
    std::string text;
    int ansi;   // IsAnsi: no DOS German letter
    int ascii;  // IsAscii: no Windows German letter
  };
  const Row rows[] = {
      {"", 1, 1},
      {"plain", 1, 1},
      {"x\xE4", 1, 0},   // Windows a with diaeresis
      {"x\x84", 0, 1},   // DOS a with diaeresis
      {"\xE1", 0, 1},    // DOS sharp s
      {"\xDF", 1, 0},    // Windows sharp s
      {"\xE9\xC0", 1, 1},  // other letters above 127 pass both
      {"\xC3\xA4", 1, 1},  // UTF-8 a with diaeresis holds none of the codes
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text);
    EXPECT_EQ(Bytes(row.text).IsAnsi(), row.ansi);
    EXPECT_EQ(Bytes(row.text).IsAscii(), row.ascii);
  }
}

TEST(ZnStringParity, ByteParity) {
  const CZnString any;
  struct Row {
    int byte;
    int bits;
    int even;  // expected answer for even parity asked
  };
  const Row rows[] = {
      {0, 8, 1}, {3, 8, 1}, {7, 8, 0}, {0x80, 8, 0}, {0xFF, 8, 1},
      {7, 2, 1},             // only the lowest two bits count
      {0x80, 9, 1},          // bit 8 repeats bit 7
      {0x80, 1000001, 1},    // 1 + 999993 repeats: even
      {0x80, 1000000, 0},
      {5, 0, 1},             // no bit counted: even
      {5, -4, 1},
      {0x183, 8, 0},         // the value's low byte: 0x83 has three bits
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.byte);
    EXPECT_EQ(any.CheckByteParity(row.byte, 1, row.bits), row.even);
    EXPECT_EQ(any.CheckByteParity(row.byte, 0, row.bits), 1 - row.even);
  }
}

TEST(ZnStringParity, StringParityPastTheEnd) {
  const CZnString evens = Bytes(std::string("\x03\x05", 2));
  EXPECT_EQ(evens.CheckParity(1, 2), 1);
  EXPECT_EQ(Bytes(std::string("\x03\x07", 2)).CheckParity(1, 2), 0);
  EXPECT_EQ(evens.CheckParity(1, 0), 1);
  EXPECT_EQ(evens.CheckParity(0, 0), 1);
  // The terminator and the tildes beyond it are even.
  EXPECT_EQ(evens.CheckParity(1, 4000000000u), 1);
  EXPECT_EQ(CZnString("\x01\x02").CheckParity(0, 2), 1);
  EXPECT_EQ(CZnString("\x01\x02").CheckParity(0, 3), 0);
  EXPECT_EQ(CZnString("").CheckParity(1, 1), 1);
  EXPECT_EQ(Bytes(std::string("\x03\0", 2)).CheckParity(1, 2), 1);
}

TEST(ZnStringMakeRandomCharset, RangeParityAndTerminator) {
  const CZnString any;
  for (int parity : {0, 1, 2, 3}) {
    SCOPED_TRACE(parity);
    const CZnString chars = any.MakeRandomCharset(200, parity, "mix", 1);
    ASSERT_EQ(chars.GetSize(), 200);
    for (char c : chars.GetView()) {
      const unsigned char byte = static_cast<unsigned char>(c);
      EXPECT_TRUE(InRandomRange(byte)) << int(byte);
      if (parity == 1 || parity == 2) {
        EXPECT_EQ(SetBits(byte) % 2, parity == 1 ? 1 : 0);
      }
    }
  }
  const CZnString terminated = any.MakeRandomCharset(10, 0, "mix", 0);
  ASSERT_EQ(terminated.GetSize(), 11);
  EXPECT_EQ(terminated.GetView().back(), '\0');
  EXPECT_EQ(any.MakeRandomCharset(0, 0, "mix", 0), Bytes(std::string(1, '\0')));
  EXPECT_EQ(any.MakeRandomCharset(-5, 0, "mix", 1), "");
}

TEST(ZnStringMakeRandomCharset, EmptyOrNullMixingAndHighBytes) {
  const CZnString any;
  for (const char* mixing : {static_cast<const char*>(nullptr), "", "\xFF\x80\xC3\xA4", "\x7F"}) {
    const CZnString chars = any.MakeRandomCharset(64, 0, mixing, 1);
    ASSERT_EQ(chars.GetSize(), 64);
    for (char c : chars.GetView()) EXPECT_TRUE(InRandomRange(static_cast<unsigned char>(c)));
  }
}

TEST(ZnStringMakeRandomCharset, SeededFromTheClockSecond) {
  const CZnString any;
  CZnString first, again, later;
  {
    platform::testing::FixedClock clock(2001, 5, 17, 10, 30, 0);
    first = any.MakeRandomCharset(32, 0, "abc", 1);
    again = any.MakeRandomCharset(32, 0, "abc", 1);
  }
  {
    platform::testing::FixedClock clock(2001, 5, 17, 10, 30, 1);
    later = any.MakeRandomCharset(32, 0, "abc", 1);
  }
  EXPECT_EQ(first, again);
  EXPECT_NE(first, later);
}
