// The gallery's search index in pieces: the list form and the hash the
// page's script shares, every gram's list against the names it stands for,
// and the pieces as files of a scan (recorded, hidden, kept when unchanged,
// removed only when proven ours, never written through a link).
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "ScanFixture.h"
#include "pages/gallery/SearchIndex.h"
#include "platform/SearchFold.h"

namespace {

namespace fs = std::filesystem;
using gallery::search::EncodeList;
using gallery::search::GramHash;
using gallery::search::Posting;

TEST(SearchIndexList, WritesEachGapInFiveBitDigitsHighFirst) {
  // Every entry here has its gram at place 0 (written "A").
  const struct {
    std::vector<std::uint32_t> ids;
    const char* text;
  } rows[] = {
      {{}, ""},
      {{0, 1, 2}, "AAAAAA"},     // no gaps
      {{5}, "FA"},               // the first id is its own gap
      {{31}, "fA"},
      {{32}, "hAA"},             // 32 = 1 * 32 + 0: a marked digit, then the last
      {{5, 1030}, "FAhgAA"},     // gap 1024 = 1 * 1024 + 0 * 32 + 0
      {{0, 0x7FFFFFFF}, "AAh_____eA"},  // gap 2^31 - 2: seven digits
  };
  for (const auto& row : rows) {
    std::vector<Posting> postings;
    for (const std::uint32_t id : row.ids) postings.push_back({id, {0}});
    EXPECT_EQ(EncodeList(postings), row.text) << row.text;
  }
}

TEST(SearchIndexList, WritesThePlacesOfEachEntryAfterItsId) {
  const struct {
    std::vector<std::uint32_t> places;
    const char* text;  // after the id 0 ("A")
  } rows[] = {
      {{0}, "A"},
      {{3}, "G"},            // one place: doubled, nothing follows
      {{15}, "e"},
      {{16}, "hA"},          // 32 needs two digits
      {{0, 1}, "BA"},        // 0 and another follows (1), then 1 as its step 0
      {{2, 7, 9}, "FJC"},    // 2 * 2 + 1, (7 - 2 - 1) * 2 + 1, (9 - 7 - 1) * 2
  };
  for (const auto& row : rows) EXPECT_EQ(EncodeList({{0, row.places}}), std::string("A") + row.text) << row.text;
}

TEST(SearchIndexHash, IsFnv1aOverCodePoints) {
  // Reference values of FNV-1a: ASCII code points are the bytes.
  EXPECT_EQ(GramHash(U""), 0x811c9dc5u);
  EXPECT_EQ(GramHash(U"a"), 0xe40c292cu);
  EXPECT_EQ(GramHash(U"foo"), 0xa9f37ed7u);
  // Above ASCII a code point is one number, not its UTF-8 bytes.
  EXPECT_EQ(GramHash(U"\u00E9"), (0x811c9dc5u ^ 0xE9u) * 16777619u);
}

// A list of the index read back: each entry's id and places.
std::vector<Posting> Decode(const std::string& text) {
  static const std::string digits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";
  std::vector<Posting> postings;
  std::int64_t id = -1, value = 0, place = -1;
  bool inPlaces = false;
  for (const char c : text) {
    const auto digit = static_cast<std::int64_t>(digits.find(c));
    value = value * 32 + (digit & 31);
    if (digit >= 32) continue;
    if (!inPlaces) {
      id += value + 1;
      postings.push_back({static_cast<std::uint32_t>(id), {}});
      place = -1;
      inPlaces = true;
    } else {
      place += value / 2 + 1;
      postings.back().places.push_back(static_cast<std::uint32_t>(place));
      inPlaces = value % 2 == 1;
    }
    value = 0;
  }
  return postings;
}

// Where `gram` starts in `text`, in code points.
std::vector<std::uint32_t> Places(const std::u32string& text, const std::u32string& gram) {
  std::vector<std::uint32_t> places;
  for (std::size_t at = text.find(gram); at != std::u32string::npos; at = text.find(gram, at + 1))
    places.push_back(static_cast<std::uint32_t>(at));
  return places;
}

std::u32string Utf32(const std::string& utf8) {
  std::u32string text;
  for (std::size_t at = 0; at < utf8.size();) {
    const unsigned char lead = static_cast<unsigned char>(utf8[at]);
    const int length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    char32_t c = length == 1 ? lead : lead & (0x7F >> length);
    for (int i = 1; i < length; ++i) c = (c << 6) | (static_cast<unsigned char>(utf8[at + i]) & 0x3F);
    text += c;
    at += static_cast<std::size_t>(length);
  }
  return text;
}

// The gram entries of all buckets: gram -> the text between its brackets.
std::map<std::string, std::string> GramEntries(const gallery::SearchFiles& files) {
  std::map<std::string, std::string> grams;
  for (const auto& [name, text] : files.pieces) {
    if (name[0] != 'g') continue;
    for (std::size_t at = text.find("{\""); at != std::string::npos && text[at] != '}';) {
      const std::size_t keyEnd = text.find("\":[", at + 2);
      const std::size_t end = text.find(']', keyEnd);
      grams[text.substr(at + 2, keyEnd - at - 2)] = text.substr(keyEnd + 3, end - keyEnd - 3);
      at = end + 1;
    }
  }
  return grams;
}

TEST(SearchIndexPieces, EveryListHoldsExactlyTheEntriesWithItsGram) {
  // 600 files in six folders: some grams in every name (no list), some in
  // a few (a list in the bucket), the rest of the pieces by id range.
  gallery::Model model;
  gallery::Folder top;
  top.name = "Archive";
  top.page = true;
  model.folders.push_back(top);
  model.order.push_back(0);
  std::vector<std::string> texts;  // by id
  const char* places[] = {"Istanbul", "Zürich", "Café", "Москва", "東京", "Ελλάδα"};
  for (int f = 0; f < 6; ++f) {
    gallery::Folder folder;
    folder.parent = 0;
    folder.depth = 1;
    folder.name = places[f];
    folder.page = true;
    for (int i = 0; i < 100; ++i) {
      gallery::Item item;
      item.name = std::string(places[f]) + " " + std::to_string(i * 7 % 100) + ".jpg";
      folder.items.push_back(item);
    }
    model.folders.push_back(folder);
    model.order.push_back(f + 1);
  }
  texts.push_back("Archive");
  for (int f = 1; f <= 6; ++f) texts.push_back(model.folders[static_cast<std::size_t>(f)].name);
  for (int f = 1; f <= 6; ++f)
    for (const gallery::Item& item : model.folders[static_cast<std::size_t>(f)].items) texts.push_back(item.name);

  const gallery::SearchFiles files = gallery::SearchIndex(model, {"_FileIndex.html", "_FileIndexFrame.html", false});
  EXPECT_NE(files.manifest.find("\"folders\":7,\"files\":600,\"buckets\":4,\"slice\":256"), std::string::npos);
  const std::map<std::string, std::string> grams = GramEntries(files);
  // Runs of four have lists where their first three are in more than a
  // sixteenth of the entries ("ul " of "Istanbul 4"), and only there.
  for (const char* gram : {"93.", "l 4", "h 1", "e 5", "а 2", "京 3", "α 8", "ist", "j", "ul 4", "ch 9", ".jpg"}) {
    SCOPED_TRACE(gram);
    std::vector<Posting> want;
    std::size_t folders = 0;
    for (std::size_t id = 0; id < texts.size(); ++id) {
      const std::vector<std::uint32_t> places = Places(Utf32(platform::FoldForSearch(texts[id])), Utf32(gram));
      if (places.empty()) continue;
      want.push_back({static_cast<std::uint32_t>(id), places});
      folders += id < 7 ? 1 : 0;
    }
    ASSERT_TRUE(grams.count(gram));
    const std::string& entry = grams.at(gram);
    EXPECT_EQ(entry.rfind(std::to_string(want.size() - folders) + "," + std::to_string(folders), 0), 0u) << entry;
    const std::size_t quote = entry.find('"');
    // In more than a sixteenth of the entries: no list (a query reads the names).
    EXPECT_EQ(quote == std::string::npos, want.size() * 16 > texts.size());
    if (quote != std::string::npos) {
      const std::vector<Posting> got = Decode(entry.substr(quote + 1, entry.rfind('"') - quote - 1));
      ASSERT_EQ(got.size(), want.size());
      for (std::size_t i = 0; i < got.size(); ++i) {
        EXPECT_EQ(got[i].id, want[i].id);
        EXPECT_EQ(got[i].places, want[i].places) << got[i].id;
      }
    }
  }
  for (const char* rare : {"93.j", "l 40", "京 30"}) EXPECT_FALSE(grams.count(rare)) << rare;
  // Each gram in the bucket its hash names.
  for (const auto& [name, text] : files.pieces)
    if (name == "g" + std::to_string(GramHash(U"ist") % 4) + ".js") {
      EXPECT_NE(text.find("\"ist\":"), std::string::npos);
    }
  // Every name in one name piece, in id order.
  std::string names;
  for (const auto& [name, text] : files.pieces)
    if (name[0] == 'n') names += text;
  EXPECT_LT(names.find("\"Istanbul 0.jpg\""), names.find("\"Ελλάδα 93.jpg\""));
}

class SearchIndexScanTest : public ScanFixture {
protected:
  // `count` empty text files in Pics/Notes, listed as files by the filter.
  void Notes(int count) {
    drive.MakeDir("Pics/Notes");
    for (int i = 0; i < count; ++i) drive.WriteFile("Pics/Notes/note " + std::to_string(i) + ".txt", "");
  }
  Lines Scan(bool removeStale = false) {
    CRecordingScan scan;
    const Lines protocol = ScanFixture::Scan(scan, {.gallery = true, .removeStale = removeStale, .filter = "TXT"});
    errors = scan.GetErrorCount();
    return protocol;
  }
  struct stat Stat(const std::string& relative) {
    struct stat info {};
    EXPECT_EQ(::lstat(drive.Native(relative).c_str(), &info), 0) << relative;
    return info;
  }
  int errors = 0;
};

TEST_F(SearchIndexScanTest, PiecesAreRecordedHiddenAndKeptWhenUnchanged) {
  Notes(300);  // 302 entries: two name pieces
  Scan();
  EXPECT_EQ(errors, 0);
  const std::string record = drive.ReadFile("Pics/_xpages.txt");
  for (const char* place : {" _xsearch.js\n", " _xsearch/g0.js\n", " _xsearch/n0.js\n", " _xsearch/n1.js\n"})
    EXPECT_NE(record.find(place), std::string::npos) << place;
  // The pieces' folder is the scan's own, no folder of the tree.
  EXPECT_FALSE(drive.Exists("Pics/_xsearch/_FileIndex.html"));
  EXPECT_EQ(drive.ReadFile("Pics/_FileIndexFrame.html").find(">_xsearch<"), std::string::npos);
  // A scan of the unchanged tree writes no piece again.
  const struct stat before = Stat("Pics/_xsearch/n1.js");
  Scan();
  const struct stat after = Stat("Pics/_xsearch/n1.js");
  EXPECT_EQ(before.st_ino, after.st_ino);
  EXPECT_EQ(before.st_mtim.tv_nsec, after.st_mtim.tv_nsec);
}

TEST_F(SearchIndexScanTest, StalePiecesGoOnlyWhenProvenOurs) {
  Notes(300);
  Scan();
  drive.WriteFile("Pics/_xsearch/n7.js", "// the user's own");
  for (int i = 100; i < 300; ++i) fs::remove(drive.Native("Pics/Notes/note " + std::to_string(i) + ".txt"));
  const Lines protocol = Scan(true);
  EXPECT_TRUE(Has(protocol, "Removed stale page \"T:\\Pics\\_xsearch\\n1.js\"."));
  EXPECT_TRUE(Has(protocol, "Kept \"T:\\Pics\\_xsearch\\n7.js\": not written by Ombral."));
  EXPECT_FALSE(drive.Exists("Pics/_xsearch/n1.js"));
  EXPECT_TRUE(drive.Exists("Pics/_xsearch/n0.js"));
  EXPECT_EQ(drive.ReadFile("Pics/_xsearch/n7.js"), "// the user's own");
}

TEST_F(SearchIndexScanTest, TheIndexGoesWithTheGalleryAndItsFolderWithItsLastPiece) {
  // A classic run that removes stale files after a gallery run: every
  // piece the record proves ours goes, and the folder with them, unless
  // a file of another's is left in it.
  const struct {
    const char* foreign;  // a file of the user's own among the pieces
    bool folderGoes;
  } cases[] = {{nullptr, true}, {"mine.js", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.foreign ? c.foreign : "only pieces");
    fs::remove_all(drive.Native("Pics"));
    Notes(300);
    Scan();
    if (c.foreign) drive.WriteFile(std::string("Pics/_xsearch/") + c.foreign, "// the user's own");
    CRecordingScan classic;
    const Lines protocol = ScanFixture::Scan(classic, {.removeStale = true, .filter = "TXT"});
    EXPECT_TRUE(Has(protocol, "Removed stale page \"T:\\Pics\\_xsearch\\n1.js\"."));
    EXPECT_FALSE(drive.Exists("Pics/_xsearch/n0.js"));
    EXPECT_FALSE(drive.Exists("Pics/_xsearch.js"));
    EXPECT_EQ(drive.Exists("Pics/_xsearch"), !c.folderGoes);
    EXPECT_EQ(Has(protocol, "Removed stale folder \"T:\\Pics\\_xsearch\"."), c.folderGoes);
    for (const std::string& line : protocol) EXPECT_EQ(line.find("Kept \"T:\\Pics\\_xsearch\""), std::string::npos) << line;
  }
}

TEST_F(SearchIndexScanTest, NothingIsWrittenThroughALinkHeldAtThePiecesName) {
  Notes(3);
  drive.MakeDir("Elsewhere");
  drive.Symlink(drive.Native("Elsewhere"), "Pics/_xsearch");
  Scan();
  EXPECT_GT(errors, 0);
  EXPECT_TRUE(fs::is_empty(drive.Native("Elsewhere")));
}

}  // namespace
