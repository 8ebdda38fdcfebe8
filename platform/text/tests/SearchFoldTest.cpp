// The search's folded form: one row per rule of platform/SearchFold.h. The
// page's script repeats the rules; the browser test searches for these
// kinds of names to prove that both sides agree.
#include <gtest/gtest.h>

#include "platform/SearchFold.h"

namespace {

TEST(SearchFold, FoldsCaseAccentsAndFormsAsTheHeaderSays) {
  const struct {
    const char* text;
    const char* folded;
  } rows[] = {
      {"IMG_0042.JPG", "img_0042.jpg"},
      {"İstanbul", "istanbul"},                    // the dot above goes with the marks
      {"ıstanbul", "istanbul"},                    // dotless i meets i
      {"Café", "cafe"},                            // composed accent
      {"Cafe\xCC\x81", "cafe"},                    // decomposed accent (macOS)
      {"Straße", "strasse"},
      {"ẞ", "ss"},                                 // capital sharp s
      {"ΟΔΥΣΣΕΥΣ", "οδυσσευσ"},                    // no final sigma from lower-casing
      {"οδυσσευς", "οδυσσευσ"},
      {"ﬁnal", "final"},                           // ligature opened
      {"Ångström", "angstrom"},
      {"한국", "한국"},                            // Hangul composed again
      {"Москва", "москва"},
      {"東京 2019", "東京 2019"},
      {"caf\xE9", "caf\xEF\xBF\xBD"},              // a byte that is not UTF-8
      {"", ""},
  };
  for (const auto& row : rows) EXPECT_EQ(platform::FoldForSearch(row.text), row.folded) << row.text;
}

}  // namespace
