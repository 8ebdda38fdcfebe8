// COmbralScan::GalleryPageSet: the gallery -- what the walk finds in each
// folder is collected into its model, and its pages are written after the
// walk, when the folders below every folder are known (album cards show
// their covers and counts). Internal to the scan library.
#pragma once

#include "pages/PageSet.h"
#include "pages/gallery/GalleryPages.h"
#include "pages/gallery/SearchIndex.h"

class COmbralScan::GalleryPageSet : public COmbralScan::PageSet {
public:
  // Its files in the top folder besides its pages, and the folder of the
  // search index's pieces.
  static constexpr const char* kTopFiles[] = {gallery::kStyleName, gallery::kScriptName, gallery::kSearchName,
                                              gallery::kSearchFolderName};

  using PageSet::PageSet;
  PreviewPolicy Previews(int askedEdge) const override;
  std::vector<std::string> HiddenTopFiles() const override;
  bool HidesTopFile(const std::string& name) const override;
  std::vector<std::string> StaleTopFiles() const override;
  void Begin() override;
  bool OpenFolderPage(PendingFolder& /*pending*/, const WalkContext& /*walk*/, Totals& /*totals*/) override {
    return true;
  }
  void Entry(PendingFolder& pending, std::size_t index) override;
  void EndFolder(PendingFolder& pending, const WalkContext& walk, Totals& totals) override;
  void Finish(std::uint64_t totalBytes, int totalImages, int& createdFiles) override;

private:
  // Whether the readers of a folder's page may read this picture of it,
  // and so see what the gallery tells of it.
  bool CanShowFacts(const PendingFolder& pending, const ListedFile& file, const PicturePreview& preview) const;
  gallery::Folder& FolderOf(const PendingFolder& pending) {
    return m_model.folders[static_cast<std::size_t>(pending.node)];
  }
  void WriteTopFile(const char* name, std::string_view text);
  // The search index: its manifest in the top folder, its pieces in their
  // folder there (made when missing); with --remove-stale the pieces of an
  // earlier run this one did not write go (all of them without `index`).
  void WriteSearchIndex(const gallery::SearchFiles* index);

  gallery::Model m_model;
  std::size_t m_pieces = 0;  // the folder tree's pieces written by this run
};
