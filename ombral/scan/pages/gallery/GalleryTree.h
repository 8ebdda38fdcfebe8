// The entry page's folder tree: it folds (every folder with folders below
// it is a <details> element, the top one open), and a big tree is not all
// in the page. The page holds the first levels, as many as fit in
// kPageFolders folders; the folders below a folder at the edge of the page
// come from a piece, a classic script in the top folder ("_xtree.<n>.js",
// so it loads from file:// too) that the page's script loads when that
// folder is first opened. A piece holds the folders below its folder down
// to as many levels as fit in kPieceFolders (always the first), as data the
// script draws one level at a time as folders open, and names the pieces
// below its own edge in turn. A tree of up to kPageFolders folders is all
// in the page and needs no piece. Pieces are numbered in the order of the
// folders they open, so an unchanged tree gives the same pieces.
// Internal to the scan library.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "pages/gallery/GalleryModel.h"
#include "pages/gallery/GalleryPages.h"

namespace gallery {

inline constexpr std::size_t kPageFolders = 150;
inline constexpr std::size_t kPieceFolders = 1000;

// The name of piece `number`, and the number of the piece a name is, -1
// when it is none (a piece is the scan's own file in the top folder: never
// listed, never a page's name).
std::string TreePieceName(int number);
int TreePieceNumber(std::string_view name);
inline bool IsTreePieceName(std::string_view name) { return TreePieceNumber(name) >= 0; }

struct FolderTree {
  std::string html;                 // the <nav> with the first levels; "" without a top page
  std::vector<std::string> pieces;  // the text of piece n at [n]
};

// The tree of the folders shown at the top (shared, not links), from the
// model after Summarize.
FolderTree BuildFolderTree(const Model& model, const PageSettings& settings);

}  // namespace gallery
