// search-archive DIR [COUNT]: writes the gallery's entry page, script, style
// sheet and search index for a made-up archive of COUNT file names
// (default 1,000,000) in folders of 100 (year/date and place), named as
// cameras, phones and people name photos, in many languages, a third of
// the accented names stored decomposed (as macOS writes them). The last
// name is "needle-in-the-haystack.jpg". Prints how long the index took.
// The search benchmark (bench/search.sh) times queries on it in Chromium.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "pages/gallery/GalleryPages.h"
#include "pages/gallery/SearchIndex.h"

namespace {

bool Write(const std::string& path, std::string_view text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  return static_cast<bool>(out);
}

// Places as people name folders and photos: composed here; every third
// use of an accented one is written decomposed.
const char* const kPlaces[] = {
    "İstanbul", "Café de Flore", "Zürich", "Straße am Meer", "Москва", "東京タワー", "Ελλάδα", "São Paulo",
    "Kraków", "Reykjavík", "Ñandú", "Hôtel de Ville", "Åre", "Þingvellir", "Sevilla", "Łódź", "Praha Staré Město",
    "서울", "القاهرة", "Tel Aviv", "Mumbai", "Kyiv", "Garmisch", "Oktoberfest", "Weihnachten", "Geburtstag Jörg",
    "Hochzeit Anaïs", "Strand", "Beach", "Mountains", "Snow", "Family", "Grandma", "Birthday", "Garden",
};

// `text` with é, ü, ö, ... written as a letter and a combining mark.
std::string Decomposed(const std::string& text) {
  static const struct {
    const char* composed;
    const char* decomposed;
  } marks[] = {{"é", "e\xCC\x81"}, {"ü", "u\xCC\x88"}, {"ö", "o\xCC\x88"}, {"ã", "a\xCC\x83"},
               {"ó", "o\xCC\x81"}, {"í", "i\xCC\x81"}, {"ñ", "n\xCC\x83"}, {"ô", "o\xCC\x82"},
               {"Å", "A\xCC\x8A"}, {"ï", "i\xCC\x88"}, {"ě", "e\xCC\x8C"}};
  std::string out = text;
  for (const auto& mark : marks)
    for (std::size_t at = out.find(mark.composed); at != std::string::npos; at = out.find(mark.composed, at))
      out.replace(at, std::string(mark.composed).size(), mark.decomposed);
  return out;
}

std::uint32_t g_seed = 20261208;
std::uint32_t Next() { return g_seed = g_seed * 1664525u + 1013904223u; }

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fputs("usage: search-archive DIR [COUNT]\n", stderr);
    return 2;
  }
  const std::string dir = argv[1];
  const long count = argc > 2 ? std::atol(argv[2]) : 1000000;
  gallery::Model model;
  const auto add = [&](int parent, const std::string& name) {
    const int index = model.AddFolder(parent, name);
    model.folders[static_cast<std::size_t>(index)].page = true;
    return index;
  };
  add(-1, "Archive");
  constexpr int kYears = 25;
  int years[kYears];
  for (int y = 0; y < kYears; ++y) years[y] = add(0, std::to_string(2000 + y));
  char text[160];
  long made = 0;
  for (int f = 0; made < count; ++f) {
    const int year = f % kYears, month = 1 + (f / kYears) % 12, day = 1 + (f / kYears / 12) % 28;
    std::string place = kPlaces[Next() % (sizeof kPlaces / sizeof kPlaces[0])];
    if (f % 3 == 0) place = Decomposed(place);
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %s", 2000 + year, month, day, place.c_str());
    gallery::Folder& folder = model.folders[static_cast<std::size_t>(add(years[year], text))];
    for (int i = 0; i < 100 && made < count; ++i, ++made) {
      gallery::Item item;
      const std::uint32_t r = Next();
      switch (r % 8) {
        case 0: std::snprintf(text, sizeof text, "IMG_%04u.JPG", (r >> 8) % 10000); break;
        case 1: std::snprintf(text, sizeof text, "DSC%05u.jpg", (r >> 8) % 100000); break;
        case 2: std::snprintf(text, sizeof text, "PXL_%04d%02d%02d_%06u.jpg", 2000 + year, month, day, (r >> 8) % 240000); break;
        case 3:
          std::snprintf(text, sizeof text, "WhatsApp Image %04d-%02d-%02d at %02u.%02u.%02u.jpeg", 2000 + year, month, day,
                        (r >> 8) % 24, (r >> 13) % 60, (r >> 19) % 60);
          break;
        case 4: std::snprintf(text, sizeof text, "%s %03d.jpg", place.c_str(), i); break;
        case 5: std::snprintf(text, sizeof text, "%s (%d).heic", kPlaces[(r >> 8) % (sizeof kPlaces / sizeof kPlaces[0])], i); break;
        case 6: std::snprintf(text, sizeof text, "Screenshot_%04d%02d%02d-%06u.png", 2000 + year, month, day, (r >> 8) % 240000); break;
        default: std::snprintf(text, sizeof text, "VID_%04d%02d%02d_%05u.mp4", 2000 + year, month, day, (r >> 8) % 100000); break;
      }
      item.name = made + 1 == count ? "needle-in-the-haystack.jpg" : text;
      item.kind = item.name.size() > 4 && item.name.compare(item.name.size() - 4, 4, ".mp4") == 0 ? gallery::Kind::Video
                                                                                                   : gallery::Kind::Picture;
      folder.items.push_back(item);
    }
  }
  model.Summarize();
  gallery::PageSettings settings;
  settings.indexName = "_FileIndex.html";
  settings.frameName = "_FileIndexFrame.html";
  const auto start = std::chrono::steady_clock::now();
  const gallery::SearchFiles index = gallery::SearchIndex(model, settings);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const std::string pieces = dir + "/" + gallery::kSearchFolderName;
  std::filesystem::create_directories(pieces);
  bool ok = true;
  for (const auto& [name, piece] : index.pieces) ok = ok && Write(pieces + "/" + name, piece);
  ok = ok && Write(dir + "/" + settings.frameName, gallery::EntryPage(model, settings)) &&
       Write(dir + "/" + gallery::kSearchName, index.manifest) && Write(dir + "/" + gallery::kScriptName, gallery::Script()) &&
       Write(dir + "/" + gallery::kStyleName, gallery::StyleSheet());
  std::printf("%ld names in %zu folders: index made in %.2f s, %zu pieces\n", made, model.folders.size(), seconds,
              index.pieces.size());
  return ok ? 0 : 1;
}
