// The gallery's orders: natural order of names, dates newest first.
#include <gtest/gtest.h>

#include "pages/gallery/GalleryModel.h"

using namespace gallery;

namespace {

std::vector<Item> Items(std::initializer_list<const char*> names) {
  std::vector<Item> items;
  for (const char* name : names) {
    Item item;
    item.name = name;
    items.push_back(item);
  }
  return items;
}

std::vector<std::string> Names(const std::vector<Item>& items) {
  std::vector<std::string> names;
  for (const Item& item : items) names.push_back(item.name);
  return names;
}

}  // namespace

TEST(GalleryOrder, NamesInNaturalOrder) {
  struct Row {
    const char* a;
    const char* b;
    bool less;
  };
  const Row rows[] = {
      {"2.jpg", "10.jpg", true},  // numbers by value
      {"10.jpg", "2.jpg", false},
      {"IMG_9.jpg", "img_10.jpg", true},  // case-blind around the number
      {"img007.jpg", "img7.jpg", false},  // leading zeros: equal, not less either way
      {"img7.jpg", "img007.jpg", false},
      {"a.jpg", "B.jpg", true},
      {"x1y2", "x1y10", true},                                  // every run of digits counts
      {"x", "x1", true},                                        // a prefix first
      {"99999999999999999999", "100000000000000000000", true},  // longer than any integer type
      {"", "a", true},
  };
  for (const Row& row : rows) EXPECT_EQ(NaturalLess(row.a, row.b), row.less) << row.a << " < " << row.b;

  std::vector<Item> items = Items({"IMG10.jpg", "img2.jpg", "IMG1.jpg", "img02.jpg", "a.jpg"});
  SortByName(items);
  // Equal names keep the order they came in.
  EXPECT_EQ(Names(items), (std::vector<std::string>{"a.jpg", "IMG1.jpg", "img2.jpg", "img02.jpg", "IMG10.jpg"}));
}

TEST(GalleryOrder, AlbumsInNaturalOrderAndDatesNewestFirst) {
  Model model;
  for (const char* name : {"Top", "Trip 10", "Trip 2", "trip 1"}) {
    Folder folder;
    folder.name = name;
    folder.parent = model.folders.empty() ? -1 : 0;
    folder.items = Items({"x.jpg"});
    model.order.push_back(static_cast<int>(model.folders.size()));
    model.folders.push_back(folder);
  }
  model.Summarize();
  EXPECT_EQ(model.folders[0].children, (std::vector<int>{3, 2, 1}));

  std::vector<Item> items = Items({"a", "b", "c", "d"});
  items[0].taken = "2003-01-01 00:00:00";
  items[1].taken = "2005-01-01 00:00:00";
  items[2].taken = "2003-01-01 00:00:00";
  items[3].taken = "2004-01-01 00:00:00";
  SortByDateTaken(items, true);
  EXPECT_EQ(Names(items), (std::vector<std::string>{"b", "d", "a", "c"}));
}
