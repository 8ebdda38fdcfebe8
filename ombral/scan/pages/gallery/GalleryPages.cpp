// The gallery's page texts.
#include "pages/gallery/GalleryPages.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "pages/HtmlText.h"
#include "pages/gallery/GalleryData.h"
#include "pages/gallery/GalleryTree.h"
#include "previews/PreviewFolder.h"

namespace gallery {

namespace {

constexpr const char* kHomePage = "http://www.tessalyworks.example/";
// The preview folder, as the links of a page in the picture folder start.
const std::string kThumbs = std::string(CPreviewFolder::kFolderName) + "/";

std::string Up(int levels) {
  std::string text;
  for (int i = 0; i < levels; ++i) text += "../";
  return text;
}

const Folder& At(const Model& model, int index) { return model.folders[static_cast<std::size_t>(index)]; }

// The names from `from` down to `to` (a folder below it, or itself),
// each followed by '/'.
std::string PathDown(const Model& model, int from, int to) {
  std::string path;
  for (int at = to; at != from && at >= 0; at = At(model, at).parent) path = At(model, at).name + "/" + path;
  return path;
}

std::string Plural(long long count, const char* one, const char* many) {
  char text[64];
  std::snprintf(text, sizeof text, "%lld %s", count, count == 1 ? one : many);
  return text;
}

std::string SizeText(std::uint64_t bytes) {
  char text[32];
  if (bytes < 1024) std::snprintf(text, sizeof text, "%llu bytes", static_cast<unsigned long long>(bytes));
  else if (bytes < (1u << 20)) std::snprintf(text, sizeof text, "%.1f KB", bytes / 1024.0);
  else if (bytes < (1u << 30)) std::snprintf(text, sizeof text, "%.1f MB", bytes / 1048576.0);
  else std::snprintf(text, sizeof text, "%.1f GB", bytes / 1073741824.0);
  return text;
}

// The icon of every page: a framed landscape, in the page itself (no file
// to fetch, nothing to keep).
constexpr const char* kIcon =
    "data:image/svg+xml,%3Csvg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 32 32'%3E"
    "%3Crect x='2' y='5' width='28' height='22' rx='4' fill='%230b57d0'/%3E"
    "%3Cpath d='M5 24l7-9 5 6 4-4 6 7z' fill='%23fff'/%3E%3Ccircle cx='22' cy='11' r='3' fill='%23ffd54f'/%3E%3C/svg%3E";

std::string Head(const std::string& title, int depth, const char* bodyClass) {
  const std::string up = Up(depth);
  return "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
         "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
         "<meta name=\"generator\" content=\"Ombral\">\n<title>" +
         title + "</title>\n<link rel=\"icon\" href=\"" + kIcon + "\">\n<link rel=\"stylesheet\" href=\"" + up +
         kStyleName + "\">\n<link rel=\"stylesheet\" href=\"" + up + kUserStyleName +
         // The script is fetched while the page is read up to where it runs.
         "\">\n<link rel=\"preload\" href=\"" + up + kScriptName + "\" as=\"script\">\n</head>\n<body class=\"" + bodyClass +
         "\">\n<a class=\"skip\" href=\"#main\" data-l10n=\"skip\">Skip to the content</a>\n";
}

// The script runs where it stands, as soon as what it works on is parsed:
// a grid of ten thousand pictures is drawn before the browser has read the
// rest of the page (the list for browsers without JavaScript).
std::string ScriptTag(int depth) { return "<script src=\"" + Up(depth) + kScriptName + "\"></script>\n"; }

std::string Foot() {
  return std::string("<footer><p><span data-l10n=\"madeWith\">Made with Ombral by</span> Arne Velde, <a href=\"") +
         kHomePage + "\">Tessaly Works</a></p></footer>\n</body>\n</html>\n";
}

// What a page counts, as text and as numbers the script shows again in the
// reader's language (data-pictures and the rest).
struct Counts {
  long long pictures = 0, videos = 0, files = 0, albums = 0, folders = -1;
  std::uint64_t bytes = 0;
};

std::string CountsText(const Counts& counts) {
  std::string text = Plural(counts.pictures, "picture", "pictures");
  if (counts.videos) text += " · " + Plural(counts.videos, "video", "videos");
  if (counts.files) text += " · " + Plural(counts.files, "other file", "other files");
  if (counts.albums) text += " · " + Plural(counts.albums, "album", "albums");
  if (counts.bytes) text += " · " + SizeText(counts.bytes);
  if (counts.folders >= 0) text += " in " + Plural(counts.folders, "folder", "folders");
  return text;
}

std::string CountsData(const Counts& counts) {
  std::string data = " data-pictures=\"" + std::to_string(counts.pictures) + "\"";
  const std::pair<const char*, long long> others[] = {{"videos", counts.videos}, {"files", counts.files}, {"albums", counts.albums}};
  for (const auto& [name, value] : others)
    if (value > 0) data += std::string(" data-") + name + "=\"" + std::to_string(value) + "\"";
  if (counts.folders >= 0) data += " data-folders=\"" + std::to_string(counts.folders) + "\"";
  if (counts.bytes) data += " data-bytes=\"" + std::to_string(counts.bytes) + "\"";
  return data;
}

// A span or paragraph of class `cls` with the counts.
std::string CountsElement(const char* tag, const char* cls, const Counts& counts) {
  return std::string("<") + tag + " class=\"" + cls + "\"" + CountsData(counts) + ">" + CountsText(counts) + "</" + tag + ">";
}

Counts OwnCounts(const Folder& folder) {
  Counts counts;
  for (const Item& item : folder.items) {
    if (item.kind == Kind::Video) ++counts.videos;
    else if (item.kind == Kind::File) ++counts.files;
    else ++counts.pictures;
    counts.bytes += item.size;
  }
  return counts;
}

// A link inside a srcset list: each part of the path percent-encoded, so
// blanks and commas in names do not split the list.
std::string SourceLink(const std::string& path) {
  std::string link;
  for (std::size_t start = 0; start <= path.size();) {
    std::size_t end = path.find('/', start);
    if (end == std::string::npos) end = path.size();
    link += UrlPath(std::string_view(path).substr(start, end - start));
    if (end < path.size()) link += '/';
    start = end + 1;
  }
  return link;
}

// The sources of an album's cover for screens of two pixels per point: the
// preview, the one twice its size and, for a panorama whose cut-out needs
// more, the rendition. Its frame is up to 360 x 150 points (a phone's half
// width x 110); a wide cover must fill the frame's height, so the width it
// is drawn at follows from that. "" where there is only the preview.
std::string CoverSources(const Item& cover, const std::string& folder) {
  if (cover.previewWidth <= 0 || cover.previewHeight <= 0) return {};
  std::string set = SourceLink(folder + cover.previewFile) + " " + std::to_string(cover.previewWidth) + "w";
  int widest = cover.previewWidth;
  if (cover.largeWidth > 0 && !cover.largeFile.empty()) {
    set += ", " + SourceLink(folder + cover.largeFile) + " " + std::to_string(cover.largeWidth) + "w";
    widest = cover.largeWidth;
  }
  const double ratio = static_cast<double>(cover.previewWidth) / cover.previewHeight;
  const long desktop = std::max(360L, std::lround(150 * ratio)), phone = std::lround(110 * ratio);
  if (ratio > 2.4 && cover.renditionWidth > widest && !cover.renditionFile.empty()) {
    set += ", " + SourceLink(folder + cover.renditionFile) + " " + std::to_string(cover.renditionWidth) + "w";
    widest = cover.renditionWidth;
  }
  if (widest == cover.previewWidth) return {};
  return " srcset=\"" + ombral::EscapeAttribute(set) + "\" sizes=\"(max-width: 560px) " +
         (phone > 280 ? std::to_string(phone) + "px" : std::string("50vw")) + ", " + std::to_string(desktop) + "px\"";
}

// An album card: the folder's cover (or an empty frame), its name and count.
// The count is of the pictures here and below, or (`ownOnly`, the top
// folder's card beside the cards of its albums) of its own pictures.
std::string AlbumCard(const Model& model, int from, int album, const PageSettings& settings, bool ownOnly) {
  // A link to a folder elsewhere in the tree shows that folder's card under
  // its own name, and leads to it by way of the top.
  const int shown = At(model, album).aliasOf >= 0 ? At(model, album).aliasOf : album;
  const Folder& folder = At(model, shown);
  const std::string down =
      shown == album ? PathDown(model, from, album) : Up(At(model, from).depth) + PathDown(model, 0, shown);
  std::string card = "<li><a href=\"" + ombral::EscapeLink(down + settings.indexName) + "\">";
  if (folder.coverFolder >= 0) {
    const Item& cover = At(model, folder.coverFolder).items[static_cast<std::size_t>(folder.coverItem)];
    const std::string thumbs = (shown == album ? PathDown(model, from, folder.coverFolder)
                                               : Up(At(model, from).depth) + PathDown(model, 0, folder.coverFolder)) +
                               kThumbs;
    card += "<img src=\"" + ombral::EscapeLink(thumbs + cover.previewFile) + "\" alt=\"\" width=\"" +
            std::to_string(cover.previewWidth) + "\" height=\"" + std::to_string(cover.previewHeight) + "\"" +
            CoverSources(cover, thumbs) + " loading=\"lazy\">";
  } else {
    card += "<span class=\"nocover\"></span>";
  }
  Counts counts;
  if (ownOnly) {
    const Counts own = OwnCounts(folder);
    counts.pictures = own.pictures;
    counts.videos = own.videos;
  } else {
    counts.pictures = folder.pictures;
    counts.videos = folder.videos;
  }
  // The name is a block of its own, which keeps a name written right to left apart from the count.
  card += "<span class=\"name\">" + ombral::EscapeText(At(model, album).name) + "</span>" +
          CountsElement("span", "count", counts) + "</a></li>\n";
  return card;
}

std::string Albums(const Model& model, int from, const std::vector<int>& albums, const PageSettings& settings) {
  if (albums.empty()) return {};
  std::string text =
      "<section aria-labelledby=\"albums\"><h2 id=\"albums\" data-l10n=\"albums\">Albums</h2>\n<ul class=\"albums\">\n";
  for (const int album : albums) text += AlbumCard(model, from, album, settings, album == from);
  return text + "</ul></section>\n";
}

// One entry of the grid as plain HTML, for browsers without JavaScript.
std::string StaticEntry(const Item& item) {
  const std::string name = ombral::EscapeText(item.name);
  const std::string href = ombral::EscapeLink(item.rendition ? kThumbs + item.renditionFile : item.name);
  std::string entry = "<li><a href=\"" + href + "\">";
  if (item.kind == Kind::Picture) {
    entry += "<img src=\"" + ombral::EscapeLink(kThumbs + item.previewFile) + "\" alt=\"" + ombral::EscapeAttribute(item.name) +
             "\" width=\"" + std::to_string(item.previewWidth) + "\" height=\"" + std::to_string(item.previewHeight) +
             "\" loading=\"lazy\">";
  } else {
    entry += std::string("<span class=\"icon\">") + (item.kind == Kind::Video ? "Video" : "File") + "</span>";
  }
  // A picture's name is its preview's text; others show it.
  return entry + (item.kind == Kind::Picture ? "" : "<span class=\"name\">" + name + "</span>") + "</a></li>\n";
}

}  // namespace

std::string FolderPage(const Model& model, int index, const PageSettings& settings) {
  const Folder& folder = At(model, index);
  const std::string title = ombral::EscapeText(folder.name);
  std::string page = Head(title, folder.depth, "folder");

  // The way back up: the entry page, then every folder above this one.
  page += "<header>\n<nav aria-label=\"Breadcrumb\" data-l10n-label=\"breadcrumb\"><ol class=\"crumbs\">";
  if (!settings.frameName.empty())
    page += "<li><a href=\"" + ombral::EscapeLink(Up(folder.depth) + settings.frameName) +
            "\" data-l10n=\"allFolders\">All folders</a></li>";
  std::string crumbs;
  // Each name is a flex item, a block of its own: names written right to
  // left keep their places between the separators.
  for (int at = folder.parent, up = 1; at >= 0; at = At(model, at).parent, ++up)
    crumbs = "<li><a href=\"" + ombral::EscapeLink(Up(up) + settings.indexName) + "\">" +
             ombral::EscapeText(At(model, at).name) + "</a></li>" + crumbs;
  page += crumbs + "<li aria-current=\"page\">" + title + "</li></ol></nav>\n<h1 dir=\"auto\">" + title + "</h1>\n";

  Counts counts = OwnCounts(folder);
  counts.albums = static_cast<long long>(folder.children.size());
  page += CountsElement("p", "counts", counts) + "\n</header>\n<main id=\"main\">\n";
  page += Albums(model, index, folder.children, settings);
  if (!folder.items.empty()) {
    page += "<section aria-labelledby=\"files\"><h2 id=\"files\" data-l10n=\"" +
            std::string(settings.byDate ? "byDate\">Pictures by date taken" : "pictures\">Pictures") + "</h2>\n";
    page += "<ul class=\"grid\" id=\"grid\" role=\"list\" aria-label=\"Pictures\" data-l10n-label=\"pictures\"></ul>\n" +
            FolderData(folder, settings.byDate) +
            ScriptTag(folder.depth) + "<noscript><ul class=\"grid static\">\n";
    for (const Item& item : folder.items) page += StaticEntry(item);
    page += "</ul></noscript>\n</section>\n";
  } else {
    page += ScriptTag(folder.depth);
  }
  return page + "</main>\n" + Foot();
}

std::string EntryPage(const Model& model, const PageSettings& settings) {
  return EntryPage(model, settings, BuildFolderTree(model, settings).html);
}

std::string EntryPage(const Model& model, const PageSettings& settings, const std::string& tree) {
  const Folder& root = At(model, 0);
  const std::string title = ombral::EscapeText(root.name);
  std::string page = Head(title + " · all folders", 0, "entry");
  int folders = 0;
  for (const Folder& folder : model.folders) folders += folder.page && folder.shared ? 1 : 0;
  Counts counts;
  counts.pictures = root.pictures;
  counts.videos = root.videos;
  counts.folders = folders;
  page += "<header>\n<h1 dir=\"auto\">" + title + "</h1>\n" + CountsElement("p", "counts", counts) + "\n";
  page += "<form class=\"search\" role=\"search\" action=\"#\" data-index=\"" + std::string(kSearchName) +
          "\"><label for=\"q\" data-l10n=\"search\">Search the archive</label> <input id=\"q\" type=\"search\" "
          "autocomplete=\"off\" placeholder=\"Names of pictures and folders\" data-l10n-hint=\"searchHint\" "
          "aria-describedby=\"found\"> <output id=\"found\" aria-live=\"polite\"></output></form>\n</header>\n"
          "<main id=\"main\">\n";
  page += "<section id=\"results\" aria-label=\"Search results\" data-l10n-label=\"results\" hidden>"
          "<ul class=\"results\"></ul></section>\n";
  std::vector<int> albums;
  if (root.page && !root.items.empty()) albums.push_back(0);
  for (const int child : root.children)
    if (At(model, child).shared) albums.push_back(child);
  if (!albums.empty()) {
    page += Albums(model, 0, albums, settings);
  }
  page += tree;
  return page + "</main>\n" + ScriptTag(0) + Foot();
}

std::string RedirectPage(const PageSettings& settings) {
  const std::string target = ombral::EscapeLink(settings.frameName);
  return "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
         "<meta http-equiv=\"refresh\" content=\"0; url=" + target + "\">\n<title>Picture archive</title>\n</head>\n"
         "<body>\n<p><a href=\"" + target + "\">Open the picture archive</a></p>\n</body>\n</html>\n";
}

}  // namespace gallery
