// The search index's table of grams against a plain map: every key found
// with its value, through the table's growth, for keys that crowd into
// neighbouring slots as well as spread ones.
#include <gtest/gtest.h>

#include <map>

#include "pages/gallery/GramTable.h"

namespace {

TEST(GramTable, FindsWhatAMapFindsThroughEveryGrowth) {
  const struct {
    const char* kind;
    std::uint64_t step;  // keys 1, 1 + step, 1 + 2 step, ...
  } spreads[] = {{"neighbours", 1}, {"one code point apart", 1ull << 21}, {"far apart", 0x123456789ull}};
  for (const auto& spread : spreads) {
    SCOPED_TRACE(spread.kind);
    gallery::GramTable<int> table;
    std::map<std::uint64_t, int> expected;
    for (int i = 0; i < 5000; ++i) {
      const std::uint64_t key = (1 + spread.step * static_cast<std::uint64_t>(i % 3000)) & ((1ull << 63) - 1);
      ++table[key];
      ++expected[key];
    }
    EXPECT_EQ(table.size(), expected.size());
    for (const auto& [key, count] : expected) {
      ASSERT_NE(table.Find(key), nullptr) << key;
      EXPECT_EQ(*table.Find(key), count) << key;
    }
    EXPECT_EQ(table.Find(0), nullptr);
    std::map<std::uint64_t, int> visited;
    table.ForEach([&](std::uint64_t key, int count) { visited[key] = count; });
    EXPECT_EQ(visited, expected);
  }
  EXPECT_EQ(gallery::GramTable<int>().Find(7), nullptr);
}

}  // namespace
