// The gallery's texts and its model: escaping for scripts and links, covers
// and counts, the assets, and the later forms of the previews' record.
#include <gtest/gtest.h>

#include "pages/gallery/GalleryPages.h"
#include "pages/gallery/SearchIndex.h"
#include "previews/PreviewRecord.h"
#include "ScanLines.h"

using namespace gallery;

namespace {

Item Picture(const std::string& name) {
  Item item;
  item.name = name;
  item.kind = Kind::Picture;
  item.previewWidth = 240;
  item.previewHeight = 180;
  item.previewFile = name + ".jpg";
  item.renditionFile = name + ".jpeg";
  return item;
}

int Add(Model& model, int parent, const std::string& name, std::vector<Item> items = {}) {
  Folder folder;
  folder.parent = parent;
  folder.name = name;
  folder.depth = parent < 0 ? 0 : model.folders[static_cast<std::size_t>(parent)].depth + 1;
  folder.listed = true;
  folder.items = std::move(items);
  model.folders.push_back(folder);
  model.order.push_back(static_cast<int>(model.folders.size()) - 1);
  return static_cast<int>(model.folders.size()) - 1;
}

}  // namespace

TEST(GalleryText, JsonStringsMayStandInsideAScript) {
  struct Row {
    std::string in, out;
  };
  const Row rows[] = {
      {"plain.jpg", "\"plain.jpg\""},
      {"say \"hi\"\\.jpg", "\"say \\\"hi\\\"\\\\.jpg\""},
      {"</script><b>&.jpg", "\"\\u003c/script\\u003e\\u003cb\\u003e\\u0026.jpg\""},
      {"new\nline\t.png", "\"new\\u000aline\\u0009.png\""},
      {"caf\xe9.jpg", "\"caf\\ufffd.jpg\""},                 // not UTF-8
      {"Grüße.jpg", "\"Grüße.jpg\""},
      {"a\xE2\x80\xA8" "b", "\"a\\u2028b\""},
  };
  for (const Row& row : rows) EXPECT_EQ(JsonString(row.in), row.out) << row.in;
  EXPECT_EQ(UrlPath("caf\xe9 #1?.jpg"), "caf%E9%20%231%3F.jpg");
  EXPECT_TRUE(IsUtf8("Grüße"));
  EXPECT_FALSE(IsUtf8("caf\xe9"));
}

TEST(GalleryModel, CoversCountsAndWhichFoldersGetPages) {
  Model model;
  const int root = Add(model, -1, "Pics");
  const int year = Add(model, root, "2001");
  Item video;
  video.name = "clip.mp4";
  video.kind = Kind::Video;
  const int summer = Add(model, year, "Summer", {video, Picture("beach.jpg"), Picture("sea.jpg")});
  const int empty = Add(model, year, "Empty");
  const int winter = Add(model, year, "Winter", {Picture("snow.png"), Picture("say \"hi\".png")});
  model.Summarize();
  EXPECT_FALSE(model.folders[static_cast<std::size_t>(root)].items.size());
  EXPECT_TRUE(model.folders[static_cast<std::size_t>(root)].page);
  EXPECT_FALSE(model.folders[static_cast<std::size_t>(empty)].page);
  EXPECT_EQ(model.folders[static_cast<std::size_t>(year)].children, (std::vector<int>{summer, winter}));
  // Pictures and videos are counted apart.
  EXPECT_EQ(model.folders[static_cast<std::size_t>(root)].pictures, 4);
  EXPECT_EQ(model.folders[static_cast<std::size_t>(root)].videos, 1);
  // The first picture in page order (not the video), and above, the first album's cover.
  EXPECT_EQ(model.folders[static_cast<std::size_t>(summer)].coverItem, 1);
  EXPECT_EQ(model.folders[static_cast<std::size_t>(root)].coverFolder, summer);

  PageSettings settings;
  settings.indexName = "_FileIndex.html";
  settings.frameName = "_FileIndexFrame.html";
  const std::string page = FolderPage(model, root, settings);
  EXPECT_TRUE(Contains(page, "<img src=\"2001/Summer/_xthumbs/beach.jpg.jpg\" alt=\"\" width=\"240\" height=\"180\""));
  const std::string entry = EntryPage(model, settings);
  // Pictures and videos counted apart, the numbers there for the script.
  EXPECT_TRUE(Contains(entry, "<p class=\"counts\" data-pictures=\"4\" data-videos=\"1\" data-folders=\"4\">"
                              "4 pictures · 1 video in 4 folders</p>"));
  // Without scripts, a name is the text of its preview: a quote in it ends
  // no attribute.
  EXPECT_TRUE(Contains(FolderPage(model, winter, settings), "alt=\"say &quot;hi&quot;.png\""));
  EXPECT_FALSE(Contains(entry, ">Empty<"));
  // The search's entries: folders with their links first, then the files.
  const SearchFiles index = SearchIndex(model, settings);
  ASSERT_EQ(index.pieces.back().first, "n0.js");
  EXPECT_TRUE(Contains(index.pieces.back().second,
                       "{\"names\":[\"Pics\",\"2001\",\"2001/Summer\",\"2001/Winter\",\"clip.mp4\",\"beach.jpg\",\"sea.jpg\","
                       "\"snow.png\",\"say \\\"hi\\\".png\"],\"previews\":[0,0,0,0,0,1,1,1,1],"
                       "\"links\":{\"0\":\"\",\"1\":\"2001/\",\"2\":\"2001/Summer/\",\"3\":\"2001/Winter/\"},"
                       "\"folders\":[[4,\"2001/Summer\",\"2001/Summer/\"],[7,\"2001/Winter\",\"2001/Winter/\"]]}"));
}

// What the script and the reader's browser find in the pages: the icon, the
// reader's style sheet after ours, the keys of the texts the script puts in
// the reader's language, names isolated where they stand beside other text.
class GalleryMarkup : public ::testing::Test {
 protected:
  void SetUp() override {
    const int root = Add(model, -1, "Pics");
    Item video;
    video.name = "clip.mp4";
    video.kind = Kind::Video;
    video.size = 3 * 1024 * 1024;
    Add(model, root, "\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D 2", {Picture("a.jpg"), video});  // Hebrew for "hello"
    model.Summarize();
    settings.indexName = "_FileIndex.html";
    settings.frameName = "_FileIndexFrame.html";
  }
  Model model;
  PageSettings settings;
};

TEST_F(GalleryMarkup, CarriesTheKeysTheScriptAndTheReaderUse) {
  const std::string album = FolderPage(model, 1, settings), top = FolderPage(model, 0, settings), entry = EntryPage(model, settings);
  const struct {
    const std::string& page;
    const char* text;
  } rows[] = {
      {album, "<link rel=\"icon\" href=\"data:image/svg+xml,%3Csvg "},
      {album, "<link rel=\"stylesheet\" href=\"../_xgallery.css\">\n<link rel=\"stylesheet\" href=\"../_xgallery.user.css\">"},
      {entry, "<link rel=\"stylesheet\" href=\"_xgallery.css\">\n<link rel=\"stylesheet\" href=\"_xgallery.user.css\">"},
      {album, "<a class=\"skip\" href=\"#main\" data-l10n=\"skip\">"},
      {album, "<nav aria-label=\"Breadcrumb\" data-l10n-label=\"breadcrumb\">"},
      {album, "data-l10n=\"allFolders\">All folders</a>"},
      {album, "<h2 id=\"files\" data-l10n=\"pictures\">Pictures</h2>"},
      {album, "aria-label=\"Pictures\" data-l10n-label=\"pictures\"></ul>"},
      {album, "<p class=\"counts\" data-pictures=\"1\" data-videos=\"1\" data-bytes=\"3145728\">"
              "1 picture · 1 video · 3.0 MB</p>"},
      {album, "<h1 dir=\"auto\">"},
      {album, "<span data-l10n=\"madeWith\">Made with Ombral by</span>"},
      {top, "<h2 id=\"albums\" data-l10n=\"albums\">Albums</h2>"},
      {top, "<span class=\"count\" data-pictures=\"1\" data-videos=\"1\">1 picture · 1 video</span>"},
      {top, "<p class=\"counts\" data-pictures=\"0\" data-albums=\"1\">0 pictures · 1 album</p>"},
      {entry, "<label for=\"q\" data-l10n=\"search\">"},
      {entry, "data-l10n-hint=\"searchHint\""},
      {entry, "<section id=\"results\" aria-label=\"Search results\" data-l10n-label=\"results\" hidden>"},
      {entry, "<h2 id=\"tree\" data-l10n=\"folders\">Folders</h2>"},
      // A name written right to left, ending in a number, beside its count.
      {entry, "<a href=\"\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D 2/_FileIndex.html\"><bdi>\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D 2</bdi></a> "
               "<span class=\"count\" data-pictures=\"1\" data-videos=\"1\">1 picture · 1 video</span>"},
  };
  for (const auto& row : rows) EXPECT_TRUE(Contains(row.page, row.text)) << row.text;
}

// An album's cover offers larger pictures for sharp screens where there are
// any: the preview twice its size, and for a panorama cut to its frame the
// rendition, with the width it is drawn at.
TEST_F(GalleryMarkup, CoverSourcesFollowWhatThereIs) {
  const struct {
    int previewWidth, previewHeight, largeWidth, renditionWidth;
    const char* sources;  // nullptr: the preview alone, no srcset
  } rows[] = {
      {240, 180, 0, 0, nullptr},
      {240, 180, 0, 2048, nullptr},  // not a panorama: no rendition for a cover
      {240, 180, 480, 2048,
       " srcset=\"%D7%A9%D7%9C%D7%95%D7%9D%202/_xthumbs/a.jpg.jpg 240w, %D7%A9%D7%9C%D7%95%D7%9D%202/_xthumbs/a.jpg.2x.jpg 480w\" "
       "sizes=\"(max-width: 560px) 50vw, 360px\" loading"},
      {240, 40, 480, 2048,
       " srcset=\"%D7%A9%D7%9C%D7%95%D7%9D%202/_xthumbs/a.jpg.jpg 240w, %D7%A9%D7%9C%D7%95%D7%9D%202/_xthumbs/a.jpg.2x.jpg 480w, "
       "%D7%A9%D7%9C%D7%95%D7%9D%202/_xthumbs/a.jpg.jpeg 2048w\" sizes=\"(max-width: 560px) 660px, 900px\" loading"},
  };
  for (const auto& row : rows) {
    Item& cover = model.folders[1].items[0];
    cover.previewWidth = row.previewWidth;
    cover.previewHeight = row.previewHeight;
    cover.largeWidth = row.largeWidth;
    cover.largeHeight = row.largeWidth * row.previewHeight / row.previewWidth;
    cover.largeFile = row.largeWidth ? "a.jpg.2x.jpg" : "";
    cover.renditionWidth = row.renditionWidth;
    const std::string page = FolderPage(model, 0, settings);
    if (row.sources) EXPECT_TRUE(Contains(page, row.sources)) << row.previewWidth << " x " << row.previewHeight << "\n" << page;
    else EXPECT_FALSE(Contains(page, "srcset")) << row.renditionWidth;
  }
}

TEST(GalleryModel, DateOrderFallsBackToTheFilesTimeAndKeepsThePageOrderForTies) {
  std::vector<Item> items = {Picture("a"), Picture("b"), Picture("c"), Picture("d")};
  items[0].taken = "2005-01-01 00:00:00";
  items[1].modified = 0;  // 1970, by the file's time
  items[2].taken = "2003-01-01 00:00:00";
  items[3].taken = "2003-01-01 00:00:00";
  SortByDateTaken(items);
  EXPECT_EQ(items[0].name, "b");
  EXPECT_EQ(items[1].name, "c");
  EXPECT_EQ(items[2].name, "d");
  EXPECT_EQ(items[3].name, "a");
}

TEST(GalleryAssets, AreSmallAndCarryNoCommentsOrIndentation) {
  // 44 KB: the entry page's search proves words from its lists' places in the page.
  EXPECT_LT(Script().size(), 44u * 1024);
  EXPECT_LT(StyleSheet().size(), 10u * 1024);
  EXPECT_FALSE(Contains(std::string(Script()), "\n//"));
  EXPECT_FALSE(Contains(std::string(Script()), "\n  "));
  EXPECT_FALSE(Contains(std::string(StyleSheet()), "/*"));
  EXPECT_TRUE(Contains(std::string(Script()), "history.pushState"));
  EXPECT_TRUE(Contains(std::string(StyleSheet()), "prefers-color-scheme: dark"));
}

TEST(PreviewRecordLaterForms, KeepTheGallerysFactsAndLargePreviewAndRefuseMalformedLines) {
  preview_record::Line line;
  line.picture = {2803, 1796700660, 48067904, 11378819};
  line.preview = {2830, 1796700660, 861895013, 11379138};
  line.digest = "03d20dbb3287b8704667e525e5a06191";
  line.width = 160;
  line.height = 120;
  line.content = "fa858cb89aa44d9febe4226b85207a06";
  line.pictureWidth = 4000;
  line.pictureHeight = 3000;
  line.taken = "2001-07-14 18:22:10";
  line.camera = "Canon EOS 5D 100% \"new\"";
  line.rendition = {13970, 1796700660, 993173790, 11379170};
  line.renditionDigest = "ca2a70509bd4bfed054bac3c23776978";
  line.renditionWidth = 2048;
  line.renditionHeight = 1536;
  line.large = {41022, 1796700660, 993175123, 11379171};
  line.largeDigest = "5b1d0ab3e1a0c6d7f2e4b9a8c7d6e5f4";
  line.largeWidth = 480;
  line.largeHeight = 360;
  EXPECT_EQ(preview_record::FormFor(line), 4);
  const std::string third = preview_record::Format("my picture.heic", line, 3);
  const std::string fourth = preview_record::Format("my picture.heic", line, 4);
  for (const std::string* text : {&third, &fourth}) {
    const int form = text == &third ? 3 : 4;
    SCOPED_TRACE(form);
    EXPECT_TRUE(Contains(*text, " 2001-07-14T18:22:10 "));
    EXPECT_TRUE(Contains(*text, " Canon%20EOS%205D%20100%25%20\"new\" my picture.heic\n"));
    std::string name;
    preview_record::Line read;
    ASSERT_TRUE(preview_record::Parse(text->substr(0, text->size() - 1), form, name, read));
    EXPECT_EQ(name, "my picture.heic");
    EXPECT_EQ(read.camera, line.camera);
    EXPECT_EQ(read.taken, line.taken);
    EXPECT_EQ(read.rendition, line.rendition);
    EXPECT_EQ(read.renditionWidth, 2048);
    EXPECT_EQ(read.content, line.content);
    // The third form has no place for the large preview.
    EXPECT_EQ(read.HasLarge(), form == 4);
    EXPECT_EQ(read.large, form == 4 ? line.large : preview_record::Stamp{});
    EXPECT_EQ(read.largeDigest, form == 4 ? line.largeDigest : "");
    EXPECT_EQ(read.largeWidth, form == 4 ? 480 : 0);
  }
  // The second form of the same line: no facts.
  EXPECT_FALSE(Contains(preview_record::Format("a.jpg", line), "2001-07-14"));
  const std::string good3 = third.substr(0, third.size() - 1);
  const std::string good4 = fourth.substr(0, fourth.size() - 1);
  const auto replaced = [](std::string text, const std::string& what, const std::string& with) {
    return text.replace(text.find(what), what.size(), with);
  };
  struct Bad {
    int form;
    std::string text;
  };
  for (const Bad& bad : {
           Bad{3, replaced(good3, "2001-07-14T18:22:10", "2001-07-14 18:22:10")},  // a blank in the date
           Bad{3, replaced(good3, "2048", "0")},                 // a rendition without a size
           Bad{3, replaced(good3, "fa858cb8", "XXXXXXXX")},      // no digest
           Bad{4, replaced(good4, " 480 360 ", " 0 360 ")},      // a large preview without a size
           Bad{4, replaced(good4, " 480 360 ", " 9000 6750 ")},  // larger than any large preview
           Bad{4, replaced(good4, line.largeDigest, "-")},       // a size without a large preview
           Bad{4, replaced(good4, "993175123", "99317512")},     // a time without its nine digits
           Bad{4, good3},                                        // a third-form line in a fourth-form record
       }) {
    std::string name;
    preview_record::Line read;
    EXPECT_FALSE(preview_record::Parse(bad.text, bad.form, name, read)) << bad.text;
  }
}
