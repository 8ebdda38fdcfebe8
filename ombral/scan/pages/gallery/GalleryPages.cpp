// The gallery's page texts.
#include "pages/gallery/GalleryPages.h"

#include <cstdio>

#include "pages/HtmlText.h"
#include "pages/gallery/GalleryData.h"
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

std::string Head(const std::string& title, int depth, const char* bodyClass) {
  const std::string up = Up(depth);
  return "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
         "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
         "<meta name=\"generator\" content=\"Ombral\">\n<title>" +
         title + "</title>\n<link rel=\"stylesheet\" href=\"" + up + kStyleName +
         // The script is fetched while the page is read up to where it runs.
         "\">\n<link rel=\"preload\" href=\"" + up + kScriptName + "\" as=\"script\">\n</head>\n<body class=\"" + bodyClass +
         "\">\n<a class=\"skip\" href=\"#main\">Skip to the content</a>\n";
}

// The script runs where it stands, as soon as what it works on is parsed:
// a grid of ten thousand pictures is drawn before the browser has read the
// rest of the page (the list for browsers without JavaScript).
std::string ScriptTag(int depth) { return "<script src=\"" + Up(depth) + kScriptName + "\"></script>\n"; }

std::string Foot() {
  return std::string("<footer><p>Made with Ombral by Arne Velde, <a href=\"") + kHomePage +
         "\">Tessaly Works</a></p></footer>\n</body>\n</html>\n";
}

long long OwnPictures(const Folder& folder) {
  long long count = 0;
  for (const Item& item : folder.items) count += item.kind != Kind::File ? 1 : 0;
  return count;
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
    const std::string src = (shown == album ? PathDown(model, from, folder.coverFolder)
                                            : Up(At(model, from).depth) + PathDown(model, 0, folder.coverFolder)) +
                            kThumbs + cover.previewFile;
    card += "<img src=\"" + ombral::EscapeLink(src) + "\" alt=\"\" width=\"" + std::to_string(cover.previewWidth) +
            "\" height=\"" + std::to_string(cover.previewHeight) + "\" loading=\"lazy\">";
  } else {
    card += "<span class=\"nocover\"></span>";
  }
  card += "<span class=\"name\">" + ombral::EscapeText(At(model, album).name) + "</span><span class=\"count\">" +
          Plural(ownOnly ? OwnPictures(folder) : folder.pictures, "picture", "pictures") + "</span></a></li>\n";
  return card;
}

std::string Albums(const Model& model, int from, const std::vector<int>& albums, const PageSettings& settings) {
  if (albums.empty()) return {};
  std::string text = "<section aria-labelledby=\"albums\"><h2 id=\"albums\">Albums</h2>\n<ul class=\"albums\">\n";
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

void TreeBranch(const Model& model, int index, const std::string& path, const PageSettings& settings,
                std::string& text) {
  const Folder& folder = At(model, index);
  text += "<li><a href=\"" + ombral::EscapeLink(path + settings.indexName) + "\">" + ombral::EscapeText(folder.name) +
          "</a> <span class=\"count\">" + std::to_string(folder.pictures) + "</span>";
  if (!folder.children.empty()) {
    text += "\n<ul>\n";
    for (const int child : folder.children)
      if (At(model, child).shared && At(model, child).aliasOf < 0)
        TreeBranch(model, child, path + At(model, child).name + "/", settings, text);
    text += "</ul>";
  }
  text += "</li>\n";
}

}  // namespace

std::string FolderPage(const Model& model, int index, const PageSettings& settings) {
  const Folder& folder = At(model, index);
  const std::string title = ombral::EscapeText(folder.name);
  std::string page = Head(title, folder.depth, "folder");

  // The way back up: the entry page, then every folder above this one.
  page += "<header>\n<nav aria-label=\"Breadcrumb\"><ol class=\"crumbs\">";
  if (!settings.frameName.empty())
    page += "<li><a href=\"" + ombral::EscapeLink(Up(folder.depth) + settings.frameName) + "\">All folders</a></li>";
  std::string crumbs;
  for (int at = folder.parent, up = 1; at >= 0; at = At(model, at).parent, ++up)
    crumbs = "<li><a href=\"" + ombral::EscapeLink(Up(up) + settings.indexName) + "\">" +
             ombral::EscapeText(At(model, at).name) + "</a></li>" + crumbs;
  page += crumbs + "<li aria-current=\"page\">" + title + "</li></ol></nav>\n<h1>" + title + "</h1>\n";

  int pictures = 0, videos = 0, files = 0;
  std::uint64_t bytes = 0;
  for (const Item& item : folder.items) {
    if (item.kind == Kind::Video) ++videos;
    else if (item.kind == Kind::File) ++files;
    else ++pictures;
    bytes += item.size;
  }
  std::string counts = Plural(pictures, "picture", "pictures");
  if (videos) counts += " · " + Plural(videos, "video", "videos");
  if (files) counts += " · " + Plural(files, "other file", "other files");
  if (!folder.children.empty()) counts += " · " + Plural(static_cast<long long>(folder.children.size()), "album", "albums");
  if (bytes) counts += " · " + SizeText(bytes);
  page += "<p class=\"counts\">" + counts + "</p>\n</header>\n<main id=\"main\">\n";
  page += Albums(model, index, folder.children, settings);
  if (!folder.items.empty()) {
    page += "<section aria-labelledby=\"files\"><h2 id=\"files\">" +
            std::string(settings.byDate ? "Pictures by date taken" : "Pictures") + "</h2>\n";
    page += "<ul class=\"grid\" id=\"grid\" role=\"list\" aria-label=\"Pictures\"></ul>\n" + FolderData(folder, settings.byDate) +
            ScriptTag(folder.depth) + "<noscript><ul class=\"grid static\">\n";
    for (const Item& item : folder.items) page += StaticEntry(item);
    page += "</ul></noscript>\n</section>\n";
  } else {
    page += ScriptTag(folder.depth);
  }
  return page + "</main>\n" + Foot();
}

std::string EntryPage(const Model& model, const PageSettings& settings) {
  const Folder& root = At(model, 0);
  const std::string title = ombral::EscapeText(root.name);
  std::string page = Head(title + " · all folders", 0, "entry");
  int folders = 0;
  for (const Folder& folder : model.folders) folders += folder.page && folder.shared ? 1 : 0;
  page += "<header>\n<h1>" + title + "</h1>\n<p class=\"counts\">" + Plural(root.pictures, "picture", "pictures") +
          " in " + Plural(folders, "folder", "folders") + "</p>\n";
  page += "<form class=\"search\" role=\"search\" action=\"#\" data-index=\"" + std::string(kSearchName) +
          "\"><label for=\"q\">Search the archive</label> <input id=\"q\" type=\"search\" autocomplete=\"off\" "
          "placeholder=\"Names of pictures and folders\" aria-describedby=\"found\"> <output id=\"found\" "
          "aria-live=\"polite\"></output></form>\n</header>\n<main id=\"main\">\n";
  page += "<section id=\"results\" aria-label=\"Search results\" hidden><ul class=\"results\"></ul></section>\n";
  std::vector<int> albums;
  if (root.page && !root.items.empty()) albums.push_back(0);
  for (const int child : root.children)
    if (At(model, child).shared) albums.push_back(child);
  if (!albums.empty()) {
    page += Albums(model, 0, albums, settings);
  }
  if (root.page) {
    page += "<nav class=\"tree\" aria-labelledby=\"tree\"><h2 id=\"tree\">Folders</h2>\n<ul>\n";
    TreeBranch(model, 0, "", settings, page);
    page += "</ul></nav>\n";
  }
  return page + "</main>\n" + ScriptTag(0) + Foot();
}

std::string RedirectPage(const PageSettings& settings) {
  const std::string target = ombral::EscapeLink(settings.frameName);
  return "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
         "<meta http-equiv=\"refresh\" content=\"0; url=" + target + "\">\n<title>Picture archive</title>\n</head>\n"
         "<body>\n<p><a href=\"" + target + "\">Open the picture archive</a></p>\n</body>\n</html>\n";
}

std::string SearchIndex(const Model& model, const PageSettings& settings) {
  // Folders as their paths from the top; the names of all their files in
  // one text, separated by '/' (which no name holds), folder after folder.
  // A script finds a name in the one text faster than in a million texts.
  std::string folders, starts, names;
  int count = 0;
  bool first = true;
  for (const int index : model.order) {
    const Folder& folder = At(model, index);
    if (!folder.page || !folder.shared) continue;
    const std::string path = index == 0 ? std::string() : PathDown(model, 0, index);
    std::string shown = path.empty() ? folder.name : path.substr(0, path.size() - 1);
    // The link, ready to use: each name percent-encoded, each followed by '/'.
    std::string link;
    for (int at = index; at > 0; at = At(model, at).parent) link = UrlPath(At(model, at).name) + "/" + link;
    if (!first) {
      folders += ',';
      starts += ',';
    }
    folders += JsonString(shown);
    folders += ',';
    folders += JsonString(link);
    starts += std::to_string(count);
    first = false;
    for (const Item& item : folder.items) {
      if (count++) names += '/';
      // The viewer finds a picture by the name it shows.
      std::string shownName = JsonString(item.name);
      names += shownName.substr(1, shownName.size() - 2);
    }
  }
  // The page's script may not be there yet: then the data waits for it.
  return "(self.ombralSearch||function(){self.ombralSearchData=arguments})(" + JsonString(settings.indexName) + ",[" +
         folders + "],[" + starts + "],\"" + names + "\");\n";
}

}  // namespace gallery
