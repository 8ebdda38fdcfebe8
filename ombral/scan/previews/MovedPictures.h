// CMovedPictures: the previews of a tree by the digests of their pictures,
// so a picture that was moved or renamed inside the tree gets its preview
// again without being decoded.
//
// Built from the records of every preview folder of the tree (the gallery
// notes each picture's digest there), the first time a scan meets a picture
// its records do not know. A worker then reads the new picture, and when a
// record names a picture of the same size and digest, copies that preview
// (with its rendition and large preview) into the new place: the bytes are read through the
// folders of the walk, opened one name at a time from the root, and are
// taken only when they still have the digest their record gives. The copy
// shows the very picture the new one is, so it tells nobody more than the
// picture itself does.
#pragma once

#include <atomic>
#include <functional>
#include <map>
#include <string>

#include "previews/PreviewFolder.h"
#include "walk/ScanTree.h"

class CMovedPictures {
public:
  struct Source {
    int node = 0;           // the folder of the picture the preview was made of
    std::string picture;    // that picture's name
    CPreviewFolder::Line line;
  };

  CMovedPictures(const CScanTree& tree, platform::SharedFolder root, bool followLinks)
      : m_tree(tree), m_root(std::move(root)), m_followLinks(followLinks) {}

  // Reads the records of every folder of the tree; `stop` ends it early.
  void Build(const std::function<bool()>& stop);
  bool IsBuilt() const { return m_built; }

  // The edges of what a preview job makes (see PreviewJob).
  struct Edges {
    int preview = 0;
    int large = 0;      // 0: no large previews
    int rendition = 0;  // 0: renditions only of pictures browsers cannot show
  };
  // A preview made of a picture of `size` bytes with the digest `content`,
  // whose preview (longer edge `edges.preview`) fits a picture shown as
  // that one was, with the large preview and the rendition such a picture
  // gets now; null when none is known. Safe from several threads once built.
  const Source* Find(std::uint64_t size, const std::string& content, const Edges& edges) const;

  // The preview's bytes (and the rendition's and the large preview's, when
  // the line names them), each proven by its digest; false when any is
  // gone or changed.
  bool Read(const Source& source, std::string& preview, std::string& rendition, std::string& large) const;

  // Whether a picture whose longer edge is `longer` gets a large preview,
  // or a rendition for being larger than the viewer's edge.
  static bool WantsLarge(int longer, const Edges& edges);
  static bool WantsRendition(int longer, const Edges& edges);

private:
  const CScanTree& m_tree;
  platform::SharedFolder m_root;
  bool m_followLinks;
  bool m_built = false;
  std::multimap<std::uint64_t, Source> m_bySize;
};
