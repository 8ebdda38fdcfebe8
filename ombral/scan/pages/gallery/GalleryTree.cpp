// The entry page's folder tree: the levels the page holds, and the pieces
// loaded when a folder at its edge is opened.
#include "pages/gallery/GalleryTree.h"

#include <cstdio>

#include "pages/HtmlText.h"
#include "pages/gallery/GalleryData.h"

namespace gallery {

namespace {

constexpr std::string_view kPiecePrefix = "_xtree.";
constexpr std::string_view kPieceSuffix = ".js";

const Folder& At(const Model& model, int index) { return model.folders[static_cast<std::size_t>(index)]; }

// The folders below `index` the tree shows: shared ones, not links.
std::vector<int> ShownChildren(const Model& model, int index) {
  std::vector<int> shown;
  for (const int child : At(model, index).children)
    if (At(model, child).shared && At(model, child).aliasOf < 0) shown.push_back(child);
  return shown;
}

// How many levels below `top` fit in `budget` folders; the first always
// does when `firstAlways`, else 0 when it does not fit.
int LevelsThatFit(const Model& model, int top, std::size_t budget, bool firstAlways) {
  std::vector<int> level = ShownChildren(model, top);
  if (level.empty()) return 0;
  if (level.size() > budget && !firstAlways) return 0;
  std::size_t total = level.size();
  int levels = 1;
  for (;;) {
    std::vector<int> next;
    for (const int folder : level)
      for (const int child : ShownChildren(model, folder)) next.push_back(child);
    if (next.empty() || total + next.size() > budget) return levels;
    total += next.size();
    level = std::move(next);
    ++levels;
  }
}

std::string Plural(long long count, const char* one, const char* many) {
  char text[64];
  std::snprintf(text, sizeof text, "%lld %s", count, count == 1 ? one : many);
  return text;
}

// The folder's page from the top folder, as a link a script uses unchanged.
std::string LinkFromTop(const Model& model, int index, const PageSettings& settings) {
  std::string link = UrlPath(settings.indexName);
  for (int at = index; at > 0; at = At(model, at).parent) link = UrlPath(At(model, at).name) + "/" + link;
  return link;
}

// Writes the tree: the page's levels as HTML, every piece's as data, and
// numbers the pieces as their folders come.
class TreeWriter {
public:
  TreeWriter(const Model& model, const PageSettings& settings) : m_model(model), m_settings(settings) {}

  FolderTree Build() {
    FolderTree tree;
    const int levels = LevelsThatFit(m_model, 0, kPageFolders, false);
    tree.html = "<nav class=\"tree\" aria-labelledby=\"tree\" data-pieces=\"" + std::string(kPiecePrefix) + "#" +
                std::string(kPieceSuffix) + "\"><h2 id=\"tree\" data-l10n=\"folders\">Folders</h2>\n<ul>\n";
    Row(0, 0, levels, tree.html);
    tree.html += "</ul></nav>\n";
    // Each piece may name pieces of its own, numbered after every one
    // named before it.
    for (std::size_t n = 0; n < m_edges.size(); ++n) {
      const int top = m_edges[n];
      std::string text = "self.ombralTree&&self.ombralTree(" + std::to_string(n) + ",";
      Nodes(top, LevelsThatFit(m_model, top, kPieceFolders, true), text);
      tree.pieces.push_back(text + ");\n");
    }
    return tree;
  }

private:
  // The number of the piece that holds the folders below `index`.
  int PieceFor(int index) {
    m_edges.push_back(index);
    return static_cast<int>(m_edges.size()) - 1;
  }

  // One folder of the page, `depth` levels below the top, with `levels`
  // levels below the top in the page. Its name is isolated (<bdi>), so a
  // name written right to left does not reorder its neighbours.
  void Row(int index, int depth, int levels, std::string& html) {
    const Folder& folder = At(m_model, index);
    std::string head = "<a href=\"" + ombral::EscapeLink(PathFromTop(index) + m_settings.indexName) + "\"><bdi>" +
                       ombral::EscapeText(folder.name) + "</bdi></a> <span class=\"count\" data-pictures=\"" +
                       std::to_string(folder.pictures) + "\"" +
                       (folder.videos ? " data-videos=\"" + std::to_string(folder.videos) + "\"" : std::string()) + ">" +
                       Plural(folder.pictures, "picture", "pictures") +
                       (folder.videos ? " · " + Plural(folder.videos, "video", "videos") : std::string()) + "</span>";
    const std::vector<int> children = ShownChildren(m_model, index);
    if (children.empty()) {
      html += "<li>" + head + "</li>\n";
      return;
    }
    // The fold is a summary of its own beside the link (a link inside a
    // summary would be a control within a control).
    const std::string fold = std::string("<details") + (index == 0 ? " open" : "");
    const std::string summary = "<summary aria-label=\"" + ombral::EscapeAttribute(folder.name) + "\"></summary>";
    if (depth < levels) {
      html += "<li>" + head + fold + ">" + summary + "\n<ul>\n";
      for (const int child : children) Row(child, depth + 1, levels, html);
      html += "</ul></details></li>\n";
    } else {
      html += "<li>" + head + fold + " data-piece=\"" + std::to_string(PieceFor(index)) + "\">" + summary +
              "<ul></ul></details></li>\n";
    }
  }

  // The folders below `index` as data, `levels` levels deep.
  void Nodes(int index, int levels, std::string& text) {
    text += '[';
    bool first = true;
    for (const int child : ShownChildren(m_model, index)) {
      const Folder& folder = At(m_model, child);
      text += first ? "\n{" : "\n,{";
      first = false;
      text += "\"name\":" + JsonString(folder.name) + ",\"link\":" + JsonString(LinkFromTop(m_model, child, m_settings)) +
              ",\"pictures\":" + std::to_string(folder.pictures) + ",\"videos\":" + std::to_string(folder.videos);
      if (!ShownChildren(m_model, child).empty()) {
        if (levels > 1) {
          text += ",\"children\":";
          Nodes(child, levels - 1, text);
        } else {
          text += ",\"piece\":" + std::to_string(PieceFor(child));
        }
      }
      text += '}';
    }
    text += ']';
  }

  std::string PathFromTop(int index) const {
    std::string path;
    for (int at = index; at > 0; at = At(m_model, at).parent) path = At(m_model, at).name + "/" + path;
    return path;
  }

  const Model& m_model;
  const PageSettings& m_settings;
  std::vector<int> m_edges;  // the folder each piece opens, by number
};

}  // namespace

std::string TreePieceName(int number) {
  return std::string(kPiecePrefix) + std::to_string(number) + std::string(kPieceSuffix);
}

int TreePieceNumber(std::string_view name) {
  if (name.size() <= kPiecePrefix.size() + kPieceSuffix.size() || !name.starts_with(kPiecePrefix) ||
      !name.ends_with(kPieceSuffix))
    return -1;
  const std::string_view digits = name.substr(kPiecePrefix.size(), name.size() - kPiecePrefix.size() - kPieceSuffix.size());
  // Only the spelling the scan writes: no sign, no leading zero, no more
  // pieces than an int counts.
  if (digits.size() > 9 || (digits.size() > 1 && digits[0] == '0')) return -1;
  int number = 0;
  for (const char c : digits) {
    if (c < '0' || c > '9') return -1;
    number = number * 10 + (c - '0');
  }
  return number;
}

FolderTree BuildFolderTree(const Model& model, const PageSettings& settings) {
  if (model.folders.empty() || !At(model, 0).page) return {};
  return TreeWriter(model, settings).Build();
}

}  // namespace gallery
