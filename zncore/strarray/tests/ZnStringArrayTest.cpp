#include "zncore/ZnStringArray.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Contents(const CZnStringArray& array) {
  std::vector<std::string> result;
  for (int i = 0; i < array.GetCount(); ++i) result.emplace_back(array.GetAt(i).GetString());
  return result;
}

CZnStringArray Of(std::initializer_list<const char*> items) {
  CZnStringArray array;
  for (const char* item : items) array.Add(item);
  return array;
}

// The linear rule written out plainly, as the reference for sorted insertion.
int ReferenceInsert(std::vector<std::string>& items, const std::string& text, bool noCase) {
  auto key = [noCase](std::string s) {
    if (noCase)
      for (char& c : s) c = (c >= 'a' && c <= 'z') ? char(c - 32) : c;
    return s;
  };
  std::size_t i = 0;
  while (i < items.size() && !(key(items[i]) > key(text))) ++i;
  items.insert(items.begin() + static_cast<std::ptrdiff_t>(i), text);
  return static_cast<int>(i);
}

// The insertion sort written out plainly: exchanges counted one by one.
int ReferenceSort(std::vector<std::string>& items, bool ascending) {
  int exchanges = 0;
  for (std::size_t i = 1; i < items.size(); ++i)
    for (std::size_t j = i; j >= 1; --j) {
      const bool swap = ascending ? items[j] < items[j - 1] : items[j] > items[j - 1];
      if (swap) {
        std::swap(items[j], items[j - 1]);
        ++exchanges;
      }
    }
  return exchanges;
}

std::string RandomText(std::mt19937& rng) {
  static const char kAlphabet[] = "aAbB_\\ ";
  std::string text;
  const int length = static_cast<int>(rng() % 4);
  for (int i = 0; i < length; ++i) text += kAlphabet[rng() % 7];
  return text;
}

}  // namespace

TEST(ZnStringArrayGetAt, BadIndexGivesItsDecimalText) {
  CZnStringArray empty;
  EXPECT_EQ(empty.GetAt(0), "0");
  EXPECT_EQ(empty.GetAt(-1), "-1");
  const CZnStringArray array = Of({"a", "b"});
  EXPECT_EQ(array.GetAt(1), "b");
  EXPECT_EQ(array.GetAt(2), "2");
}

TEST(ZnStringArrayAdd, SortedInByteOrder) {
  CZnStringArray array;
  std::vector<int> indexes;
  for (const char* text : {"b", "a", "B", "a"}) indexes.push_back(array.AddSort(text));
  EXPECT_EQ(Contents(array), (std::vector<std::string>{"B", "a", "a", "b"}));
  EXPECT_EQ(indexes, (std::vector<int>{0, 0, 0, 2}));
}

TEST(ZnStringArrayAdd, SortedWithoutCaseKeepsEqualsInArrivalOrder) {
  CZnStringArray array;
  for (const char* text : {"b", "A", "a"}) array.Add(text, 1, 1);
  EXPECT_EQ(Contents(array), (std::vector<std::string>{"A", "a", "b"}));
  EXPECT_EQ(array.Add("x", 0, 1), 3);  // unsorted appends
}

TEST(ZnStringArrayAdd, SameResultsAsTheLinearRuleInEveryState) {
  // Random sequences mixing sorted inserts of both orders with appends that
  // break the order: binary search may only be used where it is exact.
  std::mt19937 rng(7);
  for (int round = 0; round < 200; ++round) {
    CZnStringArray array;
    std::vector<std::string> reference;
    for (int step = 0; step < 40; ++step) {
      const std::string text = RandomText(rng);
      const int mode = static_cast<int>(rng() % 5);
      if (mode == 0) {
        array.Add(text.c_str());
        reference.push_back(text);
      } else {
        const bool noCase = mode >= 3;
        const int expected = ReferenceInsert(reference, text, noCase);
        ASSERT_EQ(array.Add(text.c_str(), 1, noCase), expected);
      }
      ASSERT_EQ(Contents(array), reference);
    }
  }
}

TEST(ZnStringArrayFind, ExactContainedAndCaseFree) {
  const CZnStringArray array = Of({"xAby", "ab"});
  EXPECT_EQ(array.Find("ab", 1, 0), 0);
  EXPECT_EQ(array.Find("ab", 0, 1), 1);
  EXPECT_EQ(array.Find("ab", 0, 0), 1);
  EXPECT_EQ(array.Find("zz", 1, 0), -1);
  EXPECT_EQ(array.Find("", 0, 0), 0);
  EXPECT_EQ(CZnStringArray().Find("a", 0, 0), -1);
}

TEST(ZnStringArrayAddExclusive, NegativeResultNamesTheExistingIndex) {
  CZnStringArray array = Of({"a", "x"});
  EXPECT_EQ(array.AddExclusive("x", 0, 1), -2);
  EXPECT_EQ(array.AddExclusive("A", 1, 1), -1);
  EXPECT_EQ(array.GetCount(), 2);
  EXPECT_EQ(array.AddExclusive("y", 0, 1), 2);
  EXPECT_EQ(Contents(array), (std::vector<std::string>{"a", "x", "y"}));
}

TEST(ZnStringArrayReplaceStringAt, FirstOccurrenceOnly) {
  CZnStringArray array = Of({"abcb"});
  EXPECT_EQ(array.ReplaceStringAt(0, "b", "XY"), 1);
  EXPECT_EQ(array.GetAt(0), "aXYcb");
  EXPECT_EQ(array.ReplaceStringAt(0, "q", "Z"), 1);
  EXPECT_EQ(array.GetAt(0), "aXYcb");
  EXPECT_EQ(array.ReplaceStringAt(0, "", "Z"), 0);
  EXPECT_EQ(array.ReplaceStringAt(1, "a", "Z"), 0);
  EXPECT_EQ(array.ReplaceStringAt(-1, "a", "Z"), 0);
  EXPECT_EQ(array.ReplaceStringAt(0, "XY", nullptr), 1);
  EXPECT_EQ(array.GetAt(0), "acb");
  EXPECT_EQ(CZnStringArray().ReplaceStringAt(0, "a", "b"), 0);
}

TEST(ZnStringArraySort, ExchangesAndOrderOfTheInsertionSort) {
  CZnStringArray array = Of({"c", "a", "b"});
  EXPECT_EQ(array.Sort(0, 1), 2);
  EXPECT_EQ(Contents(array), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(array.Sort(0, 0), 3);
  EXPECT_EQ(Contents(array), (std::vector<std::string>{"c", "b", "a"}));
  EXPECT_EQ(CZnStringArray().Sort(0, 1), 0);

  std::mt19937 rng(11);
  for (int round = 0; round < 100; ++round) {
    std::vector<std::string> reference;
    CZnStringArray random;
    for (int i = 0; i < 30; ++i) {
      reference.push_back(RandomText(rng));
      random.Add(reference.back().c_str());
    }
    const bool ascending = round % 2 == 0;
    const int expected = ReferenceSort(reference, ascending);
    ASSERT_EQ(random.Sort(123, ascending), expected);
    ASSERT_EQ(Contents(random), reference);
  }
}

TEST(ZnStringArraySort, AscendingSortLetsLaterSortedInsertsUseTheOrder) {
  CZnStringArray array = Of({"d", "b", "a"});
  array.Sort(0, 1);
  EXPECT_EQ(array.AddSort("c"), 2);
  EXPECT_EQ(Contents(array), (std::vector<std::string>{"a", "b", "c", "d"}));
}
