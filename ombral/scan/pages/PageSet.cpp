// The choice of the run's kind of pages: the one place that knows them all.
#include "pages/PageSet.h"

#include "pages/classic/ClassicPageSet.h"
#include "pages/gallery/GalleryPageSet.h"

std::unique_ptr<COmbralScan::PageSet> COmbralScan::PageSet::For(COmbralScan& scan) {
  if (scan.m_bGallery) return std::make_unique<GalleryPageSet>(scan);
  return std::make_unique<ClassicPageSet>(scan);
}

std::vector<std::string> COmbralScan::PageSet::AllTopFiles() {
  std::vector<std::string> names(std::begin(ClassicPageSet::kTopFiles), std::end(ClassicPageSet::kTopFiles));
  names.insert(names.end(), std::begin(GalleryPageSet::kTopFiles), std::end(GalleryPageSet::kTopFiles));
  return names;
}
