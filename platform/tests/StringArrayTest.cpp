#include "platform/StringArray.h"

#include <gtest/gtest.h>

TEST(CStringArray, GrowsInsertsAndRemoves) {
  CStringArray array;
  array.Add("a");
  array.SetAtGrow(3, "d");
  ASSERT_EQ(array.GetSize(), 4);
  EXPECT_EQ(array[1], "");
  array.InsertAt(1, "x", 2);
  EXPECT_EQ(array.GetSize(), 6);
  EXPECT_EQ(array[1], "x");
  EXPECT_EQ(array[2], "x");
  array.InsertAt(99, "end");
  EXPECT_EQ(array[6], "end");
  array.RemoveAt(1, 2);
  EXPECT_EQ(array[1], "");
  array.SetSize(0);
  EXPECT_EQ(array.GetSize(), 0);
}

TEST(CStringArray, EveryChangeResetsTheOrderTag) {
  CStringArray array;
  array.Add("a");
  auto expectReset = [&](auto change) {
    array.SetOrderTag(1);
    change();
    EXPECT_EQ(array.GetOrderTag(), 0);
  };
  expectReset([&] { array.Add("b"); });
  expectReset([&] { array.InsertAt(0, "c"); });
  expectReset([&] { array.SetAt(0, "d"); });
  expectReset([&] { array.ElementAt(0) = "e"; });
  expectReset([&] { array[0] = "f"; });
  expectReset([&] { array.SetAtGrow(5, "g"); });
  expectReset([&] { array.RemoveAt(0); });
  expectReset([&] { array.SetSize(1); });
  array.SetOrderTag(1);
  const CStringArray& constView = array;
  (void)constView[0];
  EXPECT_EQ(array.GetOrderTag(), 1);  // reading changes nothing
}
