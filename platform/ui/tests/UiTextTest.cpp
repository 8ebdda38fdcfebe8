#include "common/UiText.h"

#include <gtest/gtest.h>

namespace {

using platform::ui::CopyTextTo;
using platform::ui::CountCharacters;
using platform::ui::StripMnemonics;
using platform::ui::Utf8PrefixLength;

TEST(CountCharacters, CountsCodePointsAndStrayBytesOneEach) {
  EXPECT_EQ(CountCharacters(""), 0);
  EXPECT_EQ(CountCharacters("abc"), 3);
  EXPECT_EQ(CountCharacters("\xC3\xA4\xC3\xB6\xC3\xBC"), 3);      // äöü
  EXPECT_EQ(CountCharacters("\xF0\x9F\x93\xB7 x"), 3);            // 📷 x
  EXPECT_EQ(CountCharacters("\xAE\xFF"), 2);                      // no sequence
  EXPECT_EQ(CountCharacters("\xC3"), 1);                          // cut sequence
}

TEST(Utf8PrefixLength, NeverEndsInsideACharacter) {
  const std::string text = "a\xC3\xA4" "b";  // a ä b
  EXPECT_EQ(Utf8PrefixLength(text, 0), 0u);
  EXPECT_EQ(Utf8PrefixLength(text, 1), 1u);
  EXPECT_EQ(Utf8PrefixLength(text, 2), 1u);
  EXPECT_EQ(Utf8PrefixLength(text, 3), 3u);
  EXPECT_EQ(Utf8PrefixLength(text, 99), 4u);
}

TEST(CopyTextTo, TerminatesWithinTheBufferAndReportsBytes) {
  char buffer[4] = {'x', 'x', 'x', 'x'};
  EXPECT_EQ(CopyTextTo("ab\xC3\xA4", buffer, sizeof buffer), 2u);
  EXPECT_STREQ(buffer, "ab");
  EXPECT_EQ(CopyTextTo("abc", buffer, 1), 0u);
  EXPECT_STREQ(buffer, "");
  EXPECT_EQ(CopyTextTo("abc", nullptr, 10), 0u);
}

TEST(StripMnemonics, ShowsTextWithoutMarks) {
  EXPECT_EQ(StripMnemonics("&Close"), "Close");
  EXPECT_EQ(StripMnemonics("Salt && Pepper"), "Salt & Pepper");
  EXPECT_EQ(StripMnemonics("End&"), "End");
  EXPECT_EQ(StripMnemonics("Inf&o \xC3\xBC" "ber"), "Info \xC3\xBC" "ber");
}

}  // namespace
