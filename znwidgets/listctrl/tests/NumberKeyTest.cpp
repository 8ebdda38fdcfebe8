// The keys of the number sort: which number a cell holds, and their order.
#include "../NumberKey.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using znwidgets::listctrl::NumberKey;

int Sign(int value) { return (value > 0) - (value < 0); }

struct Pair {
  const char* smaller;
  const char* greater;
};

TEST(NumberKey, ReadsTheNumberTheCellBeginsWith) {
  const char* numbers[] = {"0", "  12", "-5", "+7", "1.001.983", "0,5", "12 KB", "1'000", "3 000"};
  for (const char* cell : numbers) EXPECT_TRUE(NumberKey(cell).IsNumber()) << cell;
  const char* others[] = {"", "   ", "n/a", "-", "KB 12", ",5", ".5", nullptr};
  for (const char* cell : others) EXPECT_FALSE(NumberKey(cell).IsNumber()) << (cell ? cell : "null");
}

TEST(NumberKey, OrdersByValue) {
  const Pair pairs[] = {
      {"37.884", "1.001.983"},   // grouped digits are one number, not text
      {"736", "1.896"},
      {"1.010.452", "2.000.000"},
      {"-5", "0"},
      {"-10", "-9"},
      {"0,5", "1"},
      {"0,25", "0,5"},
      {"99", "123456789012345678901234567890"},  // beyond any machine word
      {"12 KB", "13"},
      {"", "-1000"},   // no number: below every number
      {"text", "0"},
  };
  for (const Pair& pair : pairs) {
    EXPECT_LT(NumberKey::Compare(NumberKey(pair.smaller), NumberKey(pair.greater)), 0)
        << pair.smaller << " < " << pair.greater;
    EXPECT_GT(NumberKey::Compare(NumberKey(pair.greater), NumberKey(pair.smaller)), 0)
        << pair.greater << " > " << pair.smaller;
  }
}

TEST(NumberKey, EqualValuesWrittenDifferently) {
  const Pair pairs[] = {{"1.000", "1000"}, {"007", "7"}, {"-0", "0"}, {"2,50", "2,5"},
                        {"1 000 KB", "1000"}, {"", "n/a"}, {"+3", "3"}};
  for (const Pair& pair : pairs) {
    EXPECT_EQ(Sign(NumberKey::Compare(NumberKey(pair.smaller), NumberKey(pair.greater))), 0)
        << pair.smaller << " = " << pair.greater;
  }
}

}  // namespace
