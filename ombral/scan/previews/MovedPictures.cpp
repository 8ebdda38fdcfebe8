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

const CMovedPictures::Source* CMovedPictures::Find(std::uint64_t size, const std::string& content, int edge) const {
  const auto [from, to] = m_bySize.equal_range(size);
  for (auto at = from; at != to; ++at) {
    const CPreviewFolder::Line& line = at->second.line;
    // A preview made for another edge would not fit the pages of this one.
    const int longer = std::max(line.pictureWidth, line.pictureHeight);
    if (line.content == content && longer > 0 && std::max(line.width, line.height) == std::min(edge, longer))
      return &at->second;
  }
  return nullptr;
}

bool CMovedPictures::Read(const Source& source, std::string& preview, std::string& rendition) const {
  // A cursor of its own: this runs on a worker thread.
  CFolderCursor cursor(m_tree, m_root, m_followLinks);
  int error = 0;
  const platform::SharedFolder pictures = cursor.Open(source.node, error);
  if (!pictures) return false;
  const platform::FolderHandle folder = pictures->OpenFolder(CPreviewFolder::kFolderName);
  if (!folder.IsOpen()) return false;
  if (folder.ReadFile(CPreviewFolder::PreviewName(source.picture), kMaxPreviewBytes, preview) !=
          platform::ReadStatus::Read ||
      CDigest::Of(preview) != source.line.digest)
    return false;
  rendition.clear();
  if (!source.line.HasRendition()) return true;
  return folder.ReadFile(CPreviewFolder::RenditionName(source.picture), kMaxPreviewBytes, rendition) ==
             platform::ReadStatus::Read &&
         CDigest::Of(rendition) == source.line.renditionDigest;
}
