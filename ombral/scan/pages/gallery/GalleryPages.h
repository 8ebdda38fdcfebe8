// The gallery's pages: HTML5 folder pages with a grid of previews and album
// cards, the entry page with the folder tree and the search box, the pages
// that send old bookmarks of the main index and the welcome page to the
// entry page, and the search index. Texts only; the scan writes them.
// Internal to the scan library.
//
// Every page works from file:// and from any static server: classic
// scripts only, no request for data (the folder's list of files is a
// script in the page, the search index a script file loaded when the search
// box first gets the focus), nothing from the internet. Without JavaScript
// every page still shows its pictures as previews that link to the files.
#pragma once

#include <string>
#include <string_view>

#include "pages/gallery/GalleryData.h"
#include "pages/gallery/GalleryModel.h"

namespace gallery {

// The files the gallery writes into the top folder besides its pages.
inline constexpr const char* kStyleName = "_xgallery.css";
inline constexpr const char* kScriptName = "_xgallery.js";
inline constexpr const char* kSearchName = "_xsearch.js";  // the search index's manifest (SearchIndex.h)
// The reader's own style sheet, linked after ours on every page; the scan
// never writes or removes it, and a page without it is as it was.
inline constexpr const char* kUserStyleName = "_xgallery.user.css";

struct PageSettings {
  std::string indexName;  // every folder page
  std::string frameName;  // the entry page in the top folder; "" when there is none (no recursion)
  bool byDate = false;    // the items are in the order of the dates taken
};

// The page of folder `folder` (an index into model.folders).
std::string FolderPage(const Model& model, int folder, const PageSettings& settings);
// The entry page: the folder tree, the albums of the top folder, the search box.
std::string EntryPage(const Model& model, const PageSettings& settings);
// The same with the folder tree's HTML given (GalleryTree.h).
std::string EntryPage(const Model& model, const PageSettings& settings, const std::string& tree);
// A page that sends the browser on to the entry page at once.
std::string RedirectPage(const PageSettings& settings);

// The style sheet and the script, as they are written into the top folder:
// compacted at build time (Embed.cmake).
std::string_view StyleSheet();
std::string_view Script();

}  // namespace gallery
