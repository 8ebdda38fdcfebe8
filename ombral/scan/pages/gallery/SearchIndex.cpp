// The gallery's search index in pieces (see SearchIndex.h).
#include "pages/gallery/SearchIndex.h"

#include <algorithm>

#include "pages/gallery/GalleryData.h"
#include "pages/gallery/GramTable.h"
#include "platform/SearchFold.h"
#include "previews/PreviewFolder.h"

namespace gallery {

namespace search {

std::uint32_t GramHash(const std::u32string& gram) {
  std::uint32_t hash = 2166136261u;
  for (const char32_t c : gram) hash = (hash ^ static_cast<std::uint32_t>(c)) * 16777619u;
  return hash;
}

std::vector<std::u32string> Grams(const std::u32string& folded) {
  std::vector<std::u32string> grams;
  for (std::size_t at = 0; at < folded.size(); ++at)
    for (std::size_t length = 1; length <= 3 && at + length <= folded.size(); ++length)
      grams.push_back(folded.substr(at, length));
  std::sort(grams.begin(), grams.end());
  grams.erase(std::unique(grams.begin(), grams.end()), grams.end());
  return grams;
}

namespace {

void AppendNumber(std::string& text, std::uint32_t number) {
  static constexpr char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";
  int groups[8];
  int count = 0;
  do {
    groups[count++] = static_cast<int>(number & 31);
    number >>= 5;
  } while (number);
  // The high digits first, each marked as not the last.
  for (int i = count - 1; i > 0; --i) text += kDigits[32 + groups[i]];
  text += kDigits[groups[0]];
}

// Writes one entry of a list: its id's gap, then its places.
void AppendPosting(std::string& text, std::uint32_t gap, const std::uint32_t* places, std::size_t count) {
  AppendNumber(text, gap);
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint32_t step = i == 0 ? places[0] : places[i] - places[i - 1] - 1;
    AppendNumber(text, step * 2 + (i + 1 < count ? 1 : 0));
  }
}

}  // namespace

std::string EncodeList(const std::vector<Posting>& postings) {
  std::string text;
  std::int64_t before = -1;
  for (const Posting& posting : postings) {
    AppendPosting(text, static_cast<std::uint32_t>(posting.id - before - 1), posting.places.data(), posting.places.size());
    before = posting.id;
  }
  return text;
}

}  // namespace search

namespace {

// A gram of up to three code points packed in one number (no name holds
// U+0000, so a shorter gram leaves zeros).
using Key = std::uint64_t;

Key Pack(const char32_t* at, std::size_t length) {
  Key key = 0;
  for (std::size_t i = 0; i < length; ++i) key |= static_cast<Key>(at[i]) << (21 * i);
  return key;
}

std::u32string Unpack(Key key) {
  std::u32string gram;
  for (; key; key >>= 21) gram += static_cast<char32_t>(key & 0x1FFFFF);
  return gram;
}

std::u32string Decode(std::string_view utf8) {
  std::u32string text;
  for (std::size_t at = 0; at < utf8.size();) {
    const unsigned char lead = static_cast<unsigned char>(utf8[at]);
    const int length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    char32_t c = length == 1 ? lead : lead & (0x7F >> length);
    for (int i = 1; i < length && at + i < utf8.size(); ++i) c = (c << 6) | (static_cast<unsigned char>(utf8[at + i]) & 0x3F);
    text += c;
    at += static_cast<std::size_t>(length);
  }
  return text;
}

std::string Encode(const std::u32string& text) {
  std::string utf8;
  for (const char32_t c : text) {
    if (c < 0x80) {
      utf8 += static_cast<char>(c);
    } else if (c < 0x800) {
      utf8 += static_cast<char>(0xC0 | (c >> 6));
      utf8 += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      utf8 += static_cast<char>(0xE0 | (c >> 12));
      utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      utf8 += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      utf8 += static_cast<char>(0xF0 | (c >> 18));
      utf8 += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      utf8 += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return utf8;
}

// A run of four characters does not fit in a Key: it is its first three's
// number among the common runs of three (`Common` below) and its fourth
// character, under a high bit no shorter gram sets.
constexpr Key kFour = Key{1} << 63;

// The common runs of three (in more than a sixteenth of the entries), each
// with its number; their runs of four get grams of their own.
struct Common {
  GramTable<std::uint32_t> numbers;
  std::vector<Key> keys;  // by number
};

// Every packed gram of a folded text with the place it starts at, as it
// comes: the runs of one to three characters, and the runs of four whose
// first three are common.
template <typename Visit>
void ForEachGram(const std::u32string& folded, const Common& common, Visit visit) {
  for (std::size_t at = 0; at < folded.size(); ++at) {
    for (std::size_t length = 1; length <= 3 && at + length <= folded.size(); ++length)
      visit(Pack(folded.data() + at, length), static_cast<std::uint32_t>(at));
    if (at + 4 > folded.size() || common.numbers.size() == 0) continue;
    if (const std::uint32_t* number = common.numbers.Find(Pack(folded.data() + at, 3)))
      visit(kFour | (Key{*number} << 21) | folded[at + 3], static_cast<std::uint32_t>(at));
  }
}

// The same into `grams`, sorted (so one gram's places follow each other,
// ascending).
void GramPlaces(const std::u32string& folded, const Common& common, std::vector<std::pair<Key, std::uint32_t>>& grams) {
  grams.clear();
  ForEachGram(folded, common, [&](Key key, std::uint32_t at) { grams.emplace_back(key, at); });
  std::sort(grams.begin(), grams.end());
}

std::u32string GramText(Key key, const Common& common) {
  if (!(key & kFour)) return Unpack(key);
  return Unpack(common.keys[static_cast<std::size_t>((key & ~kFour) >> 21)]) + static_cast<char32_t>(key & 0x1FFFFF);
}

const Folder& At(const Model& model, int index) { return model.folders[static_cast<std::size_t>(index)]; }

// A folder's path from the top as shown ("2001/Summer", the top's name for
// the top) and as a link ("2001/Summer/", "" for the top).
std::pair<std::string, std::string> FolderPlace(const Model& model, int index) {
  std::string shown, link;
  for (int at = index; at > 0; at = At(model, at).parent) {
    shown = At(model, at).name + (shown.empty() ? "" : "/" + shown);
    link = UrlPath(At(model, at).name) + "/" + link;
  }
  return {index == 0 ? At(model, 0).name : shown, link};
}

struct Entry {
  int folder;      // the folder, or the file's folder
  int item = -1;   // the file's index in it; -1 for a folder entry
};

struct GramCount {
  std::uint32_t files = 0, folders = 0;
};

// A gram's list of ids and places, written as its entries come.
struct List {
  std::string text;
  std::int64_t last = -1;
};

struct GramInfo {
  GramCount count;
  std::size_t counted = 0;  // the last entry counted, plus one
  List list;
};

constexpr std::size_t kSlice = 256;       // entries per name piece
constexpr std::size_t kLongList = 512;    // ids from which a list gets a piece of its own
constexpr std::size_t kMaxBuckets = 4096;

// A piece's name: its kind's letter and its number ("g12", "l3", "n40").
std::string PieceName(char kind, std::size_t number) {
  std::string name(1, kind);
  name += std::to_string(number);
  return name;
}

std::string Call(const std::string& name, const std::string& data) {
  // The page's script may not be there yet: then the data waits for it.
  return "(self.ombralSearch||function(){(self.ombralSearchData=self.ombralSearchData||[]).push(arguments)})(" +
         JsonString(name) + "," + data + ");\n";
}

std::string NamePiece(const Model& model, const std::vector<Entry>& entries, std::size_t first) {
  std::string names, previews, links, folders;
  const std::size_t end = std::min(entries.size(), first + kSlice);
  int lastFolder = -1;
  for (std::size_t id = first; id < end; ++id) {
    const Entry& entry = entries[id];
    const std::string offset = std::to_string(id - first);
    const std::string comma = id == first ? "" : ",";
    if (entry.item < 0) {
      const auto [shown, link] = FolderPlace(model, entry.folder);
      names += comma + JsonString(shown);
      previews += comma + "0";
      links += (links.empty() ? "\"" : ",\"") + offset + "\":" + JsonString(link);
      continue;
    }
    const Item& item = At(model, entry.folder).items[static_cast<std::size_t>(entry.item)];
    names += comma + JsonString(item.name);
    if (item.kind != Kind::Picture) previews += comma + "0";
    else if (item.previewFile.empty() || item.previewFile == item.name + ".jpg") previews += comma + "1";
    else previews += comma + JsonString(UrlPath(item.previewFile));
    if (!IsUtf8(item.name)) links += (links.empty() ? "\"" : ",\"") + offset + "\":" + JsonString(UrlPath(item.name));
    if (entry.folder != lastFolder) {
      const auto [shown, link] = FolderPlace(model, entry.folder);
      folders += (folders.empty() ? "[" : ",[") + offset + "," + JsonString(shown) + "," + JsonString(link) + "]";
      lastFolder = entry.folder;
    }
  }
  return "{\"names\":[" + names + "],\"previews\":[" + previews + "],\"links\":{" + links + "},\"folders\":[" + folders + "]}";
}

}  // namespace

SearchFiles SearchIndex(const Model& model, const PageSettings& settings) {
  // The entries: the shared folders with a page, then their files.
  std::vector<Entry> entries;
  std::vector<int> shared;
  for (const int index : model.order) {
    const Folder& folder = At(model, index);
    if (folder.page && folder.shared) shared.push_back(index);
  }
  for (const int index : shared) entries.push_back({index});
  const std::size_t folderCount = entries.size();
  for (const int index : shared)
    for (std::size_t i = 0; i < At(model, index).items.size(); ++i) entries.push_back({index, static_cast<int>(i)});

  // Each entry's folded text, then how many entries hold each gram.
  std::vector<std::u32string> folded(entries.size());
  GramTable<GramInfo> counts;
  std::vector<std::pair<Key, std::uint32_t>> grams;
  Common common;
  // How many entries hold each gram; `fours` counts only the runs of four.
  // An entry that holds a gram more than once counts once: the gram keeps
  // the last entry it counted (no sorting of an entry's grams).
  const auto tally = [&](std::size_t id, bool fours) {
    ForEachGram(folded[id], common, [&](Key key, std::uint32_t) {
      if (((key & kFour) != 0) != fours) return;
      GramInfo& gram = counts[key];
      if (gram.counted == id + 1) return;
      gram.counted = id + 1;
      if (entries[id].item < 0) ++gram.count.folders;
      else ++gram.count.files;
    });
  };
  const auto dense = [&](const GramCount& gram) { return (gram.files + gram.folders) * 16ull > entries.size(); };
  for (std::size_t id = 0; id < entries.size(); ++id) {
    const Entry& entry = entries[id];
    const std::string text = entry.item < 0 ? FolderPlace(model, entry.folder).first
                                            : At(model, entry.folder).items[static_cast<std::size_t>(entry.item)].name;
    folded[id] = Decode(platform::FoldForSearch(text));
    tally(id, false);
  }
  // A word that begins with a common run of three is proved by its runs of
  // four ("2019" in "2019-07", where "201" has no list).
  counts.ForEach([&](Key key, const GramInfo& gram) {
    if ((key >> 42) != 0 && dense(gram.count)) common.keys.push_back(key);
  });
  std::sort(common.keys.begin(), common.keys.end());
  for (std::size_t n = 0; n < common.keys.size(); ++n) common.numbers[common.keys[n]] = static_cast<std::uint32_t>(n);
  if (!common.keys.empty())
    for (std::size_t id = 0; id < entries.size(); ++id) tally(id, true);
  // Lists only for the grams in at most a sixteenth of the entries, each
  // written as its entries come (no list of ids held for a million names).
  std::vector<std::uint32_t> places;
  for (std::size_t id = 0; id < entries.size(); ++id) {
    GramPlaces(folded[id], common, grams);
    for (std::size_t i = 0; i < grams.size();) {
      const Key key = grams[i].first;
      places.clear();
      for (; i < grams.size() && grams[i].first == key; ++i) places.push_back(grams[i].second);
      GramInfo& gram = *counts.Find(key);
      if (dense(gram.count)) continue;
      List& list = gram.list;
      search::AppendPosting(list.text, static_cast<std::uint32_t>(static_cast<std::int64_t>(id) - list.last - 1),
                            places.data(), places.size());
      list.last = static_cast<std::int64_t>(id);
    }
  }

  std::size_t buckets = 1;
  while (buckets < kMaxBuckets && buckets * kSlice < entries.size()) buckets *= 2;
  std::vector<Key> sorted;
  sorted.reserve(counts.size());
  counts.ForEach([&](Key key, const GramInfo&) { sorted.push_back(key); });
  std::sort(sorted.begin(), sorted.end());
  std::vector<std::string> bucketText(buckets);
  SearchFiles files;
  int longLists = 0;
  for (const Key key : sorted) {
    const std::u32string gram = GramText(key, common);
    const GramInfo& info = *counts.Find(key);
    const GramCount& count = info.count;
    std::string& text = bucketText[search::GramHash(gram) & (buckets - 1)];
    if (!text.empty()) text += ',';
    text += JsonString(Encode(gram));
    text += ":[";
    text += std::to_string(count.files);
    text += ',';
    text += std::to_string(count.folders);
    if (!dense(count)) {
      const std::string& list = info.list.text;
      if (count.files + count.folders < kLongList) {
        text += ",\"";
        text += list;
        text += '"';
      } else {
        const std::string name = PieceName('l', static_cast<std::size_t>(longLists));
        std::string quoted(1, '"');
        quoted += list;
        quoted += '"';
        files.pieces.emplace_back(name + ".js", Call(name, quoted));
        text += ',';
        text += std::to_string(longLists++);
      }
    }
    text += "]";
  }
  for (std::size_t b = 0; b < buckets; ++b) {
    const std::string name = PieceName('g', b);
    files.pieces.emplace_back(name + ".js", Call(name, "{" + bucketText[b] + "}"));
  }
  for (std::size_t first = 0, k = 0; first < entries.size(); first += kSlice, ++k) {
    const std::string name = PieceName('n', k);
    files.pieces.emplace_back(name + ".js", Call(name, NamePiece(model, entries, first)));
  }
  files.manifest = Call("manifest", "{\"page\":" + JsonString(settings.indexName) + ",\"thumbs\":" +
                                        JsonString(std::string(CPreviewFolder::kFolderName) + "/") + ",\"dir\":" +
                                        JsonString(std::string(kSearchFolderName) + "/") + ",\"folders\":" +
                                        std::to_string(folderCount) + ",\"files\":" +
                                        std::to_string(entries.size() - folderCount) + ",\"buckets\":" +
                                        std::to_string(buckets) + ",\"slice\":" + std::to_string(kSlice) + "}");
  return files;
}

}  // namespace gallery
