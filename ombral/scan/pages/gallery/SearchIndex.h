// The gallery's search index: a small manifest and a folder of pieces, each
// a classic script, so a query from file:// loads only the few pieces it
// needs (no requests for data, which file:// refuses). Internal to the scan
// library.
//
// Every shared folder with a page and every file on one is an entry; the
// folders come first (ids 0 .. folders-1, their shown paths), then the
// files folder after folder (their names). An entry is searched in its
// folded form (platform/SearchFold.h); its grams are the distinct runs of
// one, two and three characters of that form, and the runs of four whose
// first three are a common run (in more than a sixteenth of all entries),
// so a word beginning with one ("2019" of "2019-07") is proved by a list.
//
// Pieces (every one a call `ombralSearch(name, data)`, or its arguments
// left in `ombralSearchData` when the page's script is not there yet):
//  - the manifest (`kSearchName` in the top folder): "page" (the folder
//    pages' name), "thumbs" (the preview folder), "dir" (the pieces'
//    folder), "folders", "files", "buckets" (a power of two) and "slice"
//    (entries per name piece);
//  - "g<b>": every gram whose hash (FNV-1a over its code points) modulo
//    "buckets" is b, as {gram: [files, folders]} for a gram in more than a
//    sixteenth of all entries (its list is never needed: such a query reads
//    the names from the start), [files, folders, list] for a short list and
//    [files, folders, n] for a long one in piece "l<n>";
//  - "l<n>": one long list;
//  - "n<k>": the entries k*slice .. (k+1)*slice-1 as {"names", "previews",
//    "links", "folders"}: names as shown; previews per entry 0 (none), 1
//    (the name's link + ".jpg") or the preview's link; links by offset, a
//    folder entry's link and the link of a file whose name is not UTF-8;
//    folders [offset, shown path, link] for every folder whose files start
//    at that offset, and for the first file entry's folder.
// A list is the entries holding its gram, ids ascending; each entry is
// its id as the distance to the one before less one (the first as
// itself), then the places where the gram starts in the entry's folded
// text (in code points, ascending): each as its distance to the place
// before less one (the first as itself), doubled, plus one when another
// place follows. The places let the page prove that a longer word is in a
// name from the lists of its runs of three alone: runs found one place
// apart, covering every character of the word, spell it. Every number is
// written in base 64 ("A-Za-z0-9-_") five bits a digit, the high digit
// first, 32 added to every digit but a number's last.
//
// The pieces' bytes depend on the tree alone, so a scan of an unchanged
// tree writes the same bytes again.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "pages/gallery/GalleryModel.h"
#include "pages/gallery/GalleryPages.h"

namespace gallery {

// The folder of the pieces in the top folder.
inline constexpr const char* kSearchFolderName = "_xsearch";

struct SearchFiles {
  std::string manifest;
  std::vector<std::pair<std::string, std::string>> pieces;  // file name in the pieces' folder, text
};

// The whole index of `model`.
SearchFiles SearchIndex(const Model& model, const PageSettings& settings);

// The parts the index is made of, open to the tests.
namespace search {
// Hash of a gram's code points (FNV-1a, 32 bits), as the script computes it.
std::uint32_t GramHash(const std::u32string& gram);
// The distinct grams of one, two and three characters of a folded text.
std::vector<std::u32string> Grams(const std::u32string& folded);
// One entry of a list: its id and the places of the gram in its text.
struct Posting {
  std::uint32_t id;
  std::vector<std::uint32_t> places;  // ascending, at least one
};
// `postings` (ids ascending) in the list form above.
std::string EncodeList(const std::vector<Posting>& postings);
}  // namespace search

}  // namespace gallery
