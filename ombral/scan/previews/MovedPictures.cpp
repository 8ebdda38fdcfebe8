// CMovedPictures: the records read once, previews copied on proof.
#include "previews/MovedPictures.h"

#include <algorithm>

#include "Digest.h"

namespace {

// Previews and renditions are small; anything larger is not one of them.
constexpr std::uint64_t kMaxPreviewBytes = 64u << 20;

}  // namespace

void CMovedPictures::Build(const std::function<bool()>& stop) {
  m_built = true;
  CFolderCursor cursor(m_tree, m_root, m_followLinks);
  for (int i = 0; i < m_tree.Count() && !(stop && stop()); ++i) {
    const int node = m_tree.NodeOf(i);
    int error = 0;
    const platform::SharedFolder folder = cursor.Open(node, error);
    if (!folder) continue;
    CPreviewFolder previews(folder, m_tree.Node(node).path);
    if (previews.Open() != CPreviewFolder::State::Ours) continue;
    for (const auto& [picture, line] : previews.Records())
      if (line.kind == CPreviewFolder::Line::Kind::Preview && line.HasFacts() && !line.digest.empty())
        m_bySize.emplace(line.picture.size, Source{node, picture, line});
  }
}

const CMovedPictures::Source* CMovedPictures::Find(std::uint64_t size, const std::string& content,
                                                   const Edges& edges) const {
  const auto [from, to] = m_bySize.equal_range(size);
  for (auto at = from; at != to; ++at) {
    const CPreviewFolder::Line& line = at->second.line;
    // A preview made for another edge would not fit the pages of this one,
    // nor one without the large preview or rendition its picture gets now.
    const int longer = std::max(line.pictureWidth, line.pictureHeight);
    if (line.content == content && longer > 0 && std::max(line.width, line.height) == std::min(edges.preview, longer) &&
        line.HasLarge() >= WantsLarge(longer, edges) && line.HasRendition() >= WantsRendition(longer, edges))
      return &at->second;
  }
  return nullptr;
}

bool CMovedPictures::WantsLarge(int longer, const Edges& edges) {
  return edges.large > edges.preview && longer > edges.preview;
}

bool CMovedPictures::WantsRendition(int longer, const Edges& edges) {
  return edges.rendition > 0 && longer > edges.rendition;
}

bool CMovedPictures::Read(const Source& source, std::string& preview, std::string& rendition,
                          std::string& large) const {
  // A cursor of its own: this runs on a worker thread.
  CFolderCursor cursor(m_tree, m_root, m_followLinks);
  int error = 0;
  const platform::SharedFolder pictures = cursor.Open(source.node, error);
  if (!pictures) return false;
  const platform::FolderHandle folder = pictures->OpenFolder(CPreviewFolder::kFolderName);
  if (!folder.IsOpen()) return false;
  // The bytes of a file the line names, proven by its digest ("" for none).
  const auto proven = [&](const std::string& name, const std::string& digest, std::string& bytes) {
    bytes.clear();
    return digest.empty() || (folder.ReadFile(name, kMaxPreviewBytes, bytes) == platform::ReadStatus::Read &&
                              CDigest::Of(bytes) == digest);
  };
  const CPreviewFolder::Line& line = source.line;
  return proven(CPreviewFolder::PreviewName(source.picture), line.digest, preview) && !preview.empty() &&
         proven(CPreviewFolder::RenditionName(source.picture), line.renditionDigest, rendition) &&
         proven(CPreviewFolder::LargePreviewName(source.picture), line.largeDigest, large);
}
