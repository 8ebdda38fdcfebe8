// COmbralScan::ClassicPageSet: the classic pages -- the main index, the
// frameset and welcome pages in the top folder, and a page in every folder
// that holds a matching file, written while the walk goes. Internal to the
// scan library.
#pragma once

#include <memory>

#include "ombral/HtmlFile.h"
#include "pages/PageSet.h"

class COmbralScan::ClassicPageSet : public COmbralScan::PageSet {
public:
  static constexpr const char* kMainIndexName = "_xbmidx.html";
  static constexpr const char* kWelcomeName = "_xidxbase.html";
  // Its files in the top folder besides the user's frame page.
  static constexpr const char* kTopFiles[] = {kMainIndexName, kWelcomeName};

  using PageSet::PageSet;
  PreviewPolicy Previews(int askedEdge) const override;
  std::vector<std::string> StaleTopFiles() const override;
  void Begin() override;
  CHtmlFile* MainIndex() override { return m_mainIndex.IsOpen() ? &m_mainIndex : nullptr; }
  void Alias(const PendingFolder& pending, const WalkContext& walk) override;
  void Unreadable(const PendingFolder& pending, const WalkContext& walk) override;
  bool OpenFolderPage(PendingFolder& pending, const WalkContext& walk, Totals& totals) override;
  void Entry(PendingFolder& pending, std::size_t index) override;
  void EndFolder(PendingFolder& pending, const WalkContext& walk, Totals& totals) override;
  void AbandonFolder() override { m_page.reset(); }  // the old page stays
  void NoteStalePage(const PendingFolder& pending) override;
  void Finish(std::uint64_t totalBytes, int totalImages, int& createdFiles) override;
  void Abandon() override { m_mainIndex.Abandon(); }

private:
  CHtmlFile m_mainIndex;
  // The page of the folder being written, and what it holds so far.
  std::unique_ptr<CHtmlFile> m_page;
  int m_images = 0;
  std::uint64_t m_bytes = 0;
};
