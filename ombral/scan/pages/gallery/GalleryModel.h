// What the gallery knows about a scanned tree: per folder its files in page
// order, with what the previews' records tell about each picture, and the
// folders below it. The walk fills it folder by folder; the gallery's pages,
// which need the folders below a folder (their covers and counts), are
// written from it after the walk. Internal to the scan library.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace gallery {

enum class Kind : std::uint8_t {
  Picture,    // a picture with a preview
  Unshown,    // a picture without one (damaged, too large, not readable this time)
  Video,      // MP4, M4V, MOV or WebM, with its poster as its preview where it has one: the
              // viewer plays it where the browser can, and offers the file otherwise
  File,       // anything else the filter lists
};

struct Item {
  std::string name;              // as the file system spells it
  Kind kind = Kind::File;
  std::uint64_t size = 0;        // bytes
  std::int64_t modified = 0;     // seconds since 1970
  int previewWidth = 0;          // a Picture's preview
  int previewHeight = 0;
  int width = 0;                 // the picture as shown; 0 when unknown
  int height = 0;
  bool rendition = false;        // the viewer shows the rendition instead of the file
  std::string previewFile;       // the preview's and the rendition's names in the preview folder
  std::string renditionFile;
  int renditionWidth = 0;        // the rendition's pixels, when there is one
  int renditionHeight = 0;
  // The preview for screens with two device pixels per CSS pixel: twice the
  // preview's size (at most the picture's); largeWidth 0 when there is none.
  std::string largeFile;
  int largeWidth = 0;
  int largeHeight = 0;
  std::string taken;             // "YYYY-MM-DD HH:MM:SS" from the picture, "" when it names none
  std::string camera;
  long long durationMillis = 0;  // a video's length; 0 when unknown
};

struct Folder {
  int parent = -1;               // index in the model; -1 for the root
  std::string name;              // its name in the parent; the root's shown name for the root
  int depth = 0;
  bool listed = false;           // its files were read
  bool hadPage = false;          // a file under the index name was there when it was listed
  // Who may see it where: in the page of the folder above it (its card,
  // its cover and count there), and in the files at the top that name
  // folders of the whole tree (entry page, search index). A folder not
  // shown is left out of them, with what lies below it.
  bool shownInParent = true;
  bool shared = true;
  // A link to a folder of the tree: an album card that leads to that
  // folder's page; never a page, a count or a cover of its own.
  int aliasOf = -1;
  std::vector<Item> items;       // in page order
  std::vector<int> children;     // folders below it that get a page and may be shown in it, in list order
  // Filled after the walk:
  bool page = false;             // gets a page: it lists files, or a folder below it does
  int pictures = 0;              // pictures here and below (with or without a preview)
  int videos = 0;                // videos here and below
  int coverFolder = -1;          // the folder holding its cover picture, -1 for none
  int coverItem = -1;            // that picture's index in the cover folder's items
};

// The whole tree, indexed like the scan's folder list (root first); `order`
// holds the indexes in list order.
struct Model {
  std::vector<Folder> folders;
  std::vector<int> order;
  // Fills page, pictures and the covers: a folder's cover is its first
  // picture in page order, else the cover of its first sub-folder that has
  // one. The sub-folders are in natural order of their names.
  void Summarize();
  // Appends a folder below `parent` (-1 for the root) at the end of the
  // list order; returns its index.
  int AddFolder(int parent, const std::string& name);
};

// The kind of a listed file by its name: pictures by their extension
// (the phones' formats included), videos (MP4, M4V, MOV, WebM), anything else.
bool IsVideoName(const std::string& name);

// Local date and time of a file time, "YYYY-MM-DD HH:MM:SS".
std::string LocalDateText(std::int64_t seconds);

// Orders a folder's items by date taken (a picture without one by the
// local time of its file), oldest or `newestFirst`, the page order among
// equal dates.
void SortByDateTaken(std::vector<Item>& items, bool newestFirst = false);

// Whether `a` comes before `b` in natural order: runs of digits compare by
// their numbers ("2" before "10", "007" as 7), everything else byte by byte
// with ASCII letters case-blind. Names that differ only in case or leading
// zeros are equal (the caller's order stays).
bool NaturalLess(std::string_view a, std::string_view b);
// Orders a folder's items by name in natural order, the page order among
// equal names.
void SortByName(std::vector<Item>& items);

}  // namespace gallery
