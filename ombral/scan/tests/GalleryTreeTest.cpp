// The entry page's folder tree over trees of every shape: each folder the
// tree shows is named exactly once (in the page or in one piece), the page
// and each piece keep to their sizes, every piece is named by exactly one
// folder, and the pieces' names are told apart from every other name.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "pages/gallery/GalleryTree.h"

using namespace gallery;

namespace {

class GalleryTreeTest : public ::testing::Test {
protected:
  Model model;
  PageSettings settings{"_FileIndex.html", "_FileIndexFrame.html", false};

  int Add(int parent, const std::string& name) { return model.AddFolder(parent, name); }
  // A tree with fanout[0] folders at the top, fanout[1] below each of them
  // and so on, a picture in each lowest one; the links of the folders.
  void Build(const std::vector<int>& fanout, const std::string& link, int parent, std::size_t level) {
    if (level == fanout.size()) {
      Item item;
      item.name = "a.jpg";
      item.kind = Kind::Picture;
      model.folders[static_cast<std::size_t>(parent)].items.push_back(item);
      return;
    }
    for (int i = 0; i < fanout[level]; ++i) {
      const std::string name = "f " + std::to_string(i);
      Build(fanout, link + "f%20" + std::to_string(i) + "/", Add(parent, name), level + 1);
    }
  }
  // How often each text after `mark` (up to `end`) stands in `text`.
  static void Tally(const std::string& text, const std::string& mark, char end, std::map<std::string, int>& found) {
    for (std::size_t at = text.find(mark); at != std::string::npos; at = text.find(mark, at + 1)) {
      const std::size_t from = at + mark.size();
      ++found[text.substr(from, text.find(end, from) - from)];
    }
  }
  // How often each link stands in the page and in the pieces (the page's
  // links keep their blanks, a piece's are a script's, encoded).
  static std::map<std::string, int> Links(const FolderTree& tree) {
    std::map<std::string, int> links, page;
    Tally(tree.html, "<a href=\"", '"', page);
    for (const auto& [text, count] : page) {
      std::string link = text;
      for (std::size_t at = link.find(' '); at != std::string::npos; at = link.find(' ', at)) link.replace(at, 1, "%20");
      links[link] += count;
    }
    for (const std::string& text : tree.pieces) Tally(text, "\"link\":\"", '"', links);
    return links;
  }
  // How often each piece is named.
  static std::map<std::string, int> PiecesNamed(const FolderTree& tree) {
    std::map<std::string, int> named;
    Tally(tree.html, "data-piece=\"", '"', named);
    for (const std::string& text : tree.pieces) Tally(text, "\"piece\":", '}', named);
    return named;
  }
  static std::size_t Count(const std::string& text, const std::string& what) {
    std::size_t count = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++count;
    return count;
  }
};

}  // namespace

TEST_F(GalleryTreeTest, NamesEveryFolderOnceAndKeepsPageAndPiecesSmall) {
  const struct {
    const char* shape;
    std::vector<int> fanout;
    std::size_t pieces;
  } shapes[] = {
      {"a small tree is all in the page", {3, 4}, 0},
      {"a top folder with too many folders loads them all", {400}, 1},
      {"years, months and days", {30, 12, 28}, 30},
      // The piece below the second level holds its 1,100 folders (the
      // first level always), which name a piece each.
      {"pieces too big for their subtree name pieces again", {1, 1, 1100, 1}, 1 + 1100},
  };
  for (const auto& shape : shapes) {
    SCOPED_TRACE(shape.shape);
    model = Model();
    Add(-1, "Top");
    Build(shape.fanout, "", 0, 0);
    model.Summarize();
    const FolderTree tree = BuildFolderTree(model, settings);
    EXPECT_EQ(tree.pieces.size(), shape.pieces);

    const std::map<std::string, int> links = Links(tree);
    EXPECT_EQ(links.size(), model.folders.size());
    for (const auto& [link, count] : links) EXPECT_EQ(count, 1) << link;
    EXPECT_EQ(links.count("_FileIndex.html"), 1u);
    EXPECT_EQ(links.count("f%200/_FileIndex.html"), 1u);
    EXPECT_LE(Count(tree.html, "<li>"), kPageFolders + 1);

    const std::map<std::string, int> named = PiecesNamed(tree);
    EXPECT_EQ(named.size(), tree.pieces.size());
    for (std::size_t n = 0; n < tree.pieces.size(); ++n) {
      const std::string number = std::to_string(n);
      EXPECT_EQ(named.count(number) ? named.at(number) : 0, 1) << "piece " << n;
      EXPECT_EQ(tree.pieces[n].rfind("self.ombralTree&&self.ombralTree(" + number + ",[", 0), 0u) << n;
      EXPECT_LE(Count(tree.pieces[n], "\"link\":"), std::max<std::size_t>(kPieceFolders, 1100)) << n;
    }
  }
}

TEST_F(GalleryTreeTest, LeavesOutFoldersNotSharedAndLinks) {
  Add(-1, "Top");
  Build({3, 2}, "", 0, 0);
  model.folders[1].shared = false;  // "f 0" and what lies below it
  model.folders[model.folders.size() - 1].aliasOf = 1;
  model.Summarize();
  const std::map<std::string, int> links = Links(BuildFolderTree(model, settings));
  EXPECT_FALSE(links.count("f%200/_FileIndex.html"));
  EXPECT_FALSE(links.count("f%200/f%200/_FileIndex.html"));
  EXPECT_FALSE(links.count("f%202/f%201/_FileIndex.html"));
  EXPECT_TRUE(links.count("f%202/f%200/_FileIndex.html"));
}

TEST(GalleryTreePieceName, OnlyTheScansOwnSpelling) {
  const struct {
    const char* name;
    int number;
  } rows[] = {
      {"_xtree.0.js", 0},      {"_xtree.12.js", 12}, {"_xtree.012.js", -1},  {"_xtree..js", -1},
      {"_xtree.-1.js", -1},    {"_xtree.1.js.bak", -1}, {"_xtree.1.JS", -1}, {"xtree.1.js", -1},
      {"_xtree.1234567890.js", -1},  // beyond what the scan numbers
      {"_xsearch.js", -1},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(TreePieceNumber(row.name), row.number) << row.name;
    if (row.number >= 0) {
      EXPECT_EQ(TreePieceName(row.number), row.name);
    }
  }
}
