// make-search-index DIR COUNT [PER_FOLDER]: writes the gallery's entry page
// (with its folder tree's pieces), script, style sheet and search index for
// a made-up archive of COUNT file names (PER_FOLDER, 1,000 unless given, in
// each folder, three folders deep) into DIR, so the browser test can time
// the search on an archive of a million pictures, and measure its entry
// page, without making one. The last name is "needle-in-the-haystack.jpg".
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "pages/gallery/GalleryPages.h"
#include "pages/gallery/SearchIndex.h"
#include "pages/gallery/GalleryTree.h"

namespace {

bool Write(const std::string& path, std::string_view text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 && argc != 4) {
    std::fputs("usage: make-search-index DIR COUNT [PER_FOLDER]\n", stderr);
    return 2;
  }
  const std::string dir = argv[1];
  const long count = std::atol(argv[2]);
  const long perFolder = argc == 4 ? std::atol(argv[3]) : 1000;
  gallery::Model model;
  const auto add = [&](int parent, const std::string& name) { return model.AddFolder(parent, name); };
  add(-1, "Archive");
  long made = 0;
  char text[64];
  for (int year = 0; made < count; ++year) {
    std::snprintf(text, sizeof text, "%d", 1990 + year);
    const int yearFolder = add(0, text);
    for (int month = 1; month <= 12 && made < count; ++month) {
      std::snprintf(text, sizeof text, "%02d", month);
      const int monthFolder = add(yearFolder, text);
      for (int day = 1; day <= 28 && made < count; ++day) {
        std::snprintf(text, sizeof text, "Day %02d", day);
        gallery::Folder& folder = model.folders[static_cast<std::size_t>(add(monthFolder, text))];
        for (int i = 0; i < perFolder && made < count; ++i, ++made) {
          gallery::Item item;
          std::snprintf(text, sizeof text, "IMG_%07ld.jpg", made);
          item.name = made + 1 == count ? "needle-in-the-haystack.jpg" : text;
          item.kind = gallery::Kind::Picture;
          folder.items.push_back(item);
        }
      }
    }
  }
  model.Summarize();
  gallery::PageSettings settings;
  settings.indexName = "_FileIndex.html";
  settings.frameName = "_FileIndexFrame.html";
  const gallery::SearchFiles index = gallery::SearchIndex(model, settings);
  const std::string pieces = dir + "/" + gallery::kSearchFolderName;
  std::filesystem::create_directories(pieces);
  bool ok = true;
  for (const auto& [name, text] : index.pieces) ok = ok && Write(pieces + "/" + name, text);
  const gallery::FolderTree tree = gallery::BuildFolderTree(model, settings);
  for (std::size_t n = 0; n < tree.pieces.size(); ++n)
    ok = ok && Write(dir + "/" + gallery::TreePieceName(static_cast<int>(n)), tree.pieces[n]);
  ok = ok && Write(dir + "/" + settings.frameName, gallery::EntryPage(model, settings, tree.html)) &&
       Write(dir + "/" + gallery::kSearchName, index.manifest) &&
       Write(dir + "/" + gallery::kScriptName, gallery::Script()) &&
       Write(dir + "/" + gallery::kStyleName, gallery::StyleSheet());
  std::printf("%zu folders, %zu pieces of the folder tree\n", model.folders.size(), tree.pieces.size());
  return ok ? 0 : 1;
}
