// The gallery's pictures beside each preview: the large preview for 2x
// screens and the rendition of a large picture, kept while they stand as
// recorded, made again when one goes, copied with a moved picture, removed
// with a gone one; and the classic pages, which get neither.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "Digest.h"
#include "ScanFixture.h"
#include "platform/Preview.h"

namespace {

namespace fs = std::filesystem;

class GalleryPreviewsTest : public ScanFixture {
protected:
  // A gallery scan with renditions of pictures larger than 512 pixels, so
  // small test pictures get them; it must complete without errors.
  Lines Gallery(bool removeStale = false, int renditionEdge = 512) {
    CRecordingScan scan;
    scan.m_nRenditionEdge = renditionEdge;
    const Lines protocol = Scan(scan, {.gallery = true, .removeStale = removeStale});
    EXPECT_EQ(scan.GetErrorCount(), 0);
    return protocol;
  }
  std::string Record(const std::string& folder = "Pics") { return drive.ReadFile(folder + "/_xthumbs/_xthumbs.txt"); }
};

}  // namespace

TEST_F(GalleryPreviewsTest, ReScansKeepAllThreeFilesAndMakeAGoneOneAgain) {
  Picture("Pics/big.jpg", 1200, 900);
  Picture("Pics/small.jpg", 200, 150);
  EXPECT_TRUE(Has(Gallery(), "PREVIEWS: 2 made, 0 unchanged, 0 found again by content"));
  const std::string large = drive.ReadFile("Pics/_xthumbs/big.jpg.2x.jpg");
  EXPECT_TRUE(platform::IsMarkedPreview(large));
  EXPECT_TRUE(drive.Exists("Pics/_xthumbs/big.jpg.jpeg"));
  // No larger than its preview: the small picture gets neither.
  EXPECT_FALSE(drive.Exists("Pics/_xthumbs/small.jpg.2x.jpg"));
  EXPECT_FALSE(drive.Exists("Pics/_xthumbs/small.jpg.jpeg"));
  // The record proves the large preview ours by its digest, in the fourth form.
  const std::string record = Record();
  EXPECT_EQ(record.rfind("Ombral previews 4\n", 0), 0u);
  EXPECT_TRUE(Contains(record, " " + CDigest::Of(large) + " 480 360 - big.jpg\n")) << record;
  // The page hands the viewer both sizes.
  EXPECT_TRUE(Contains(drive.ReadFile("Pics/_FileIndex.html"), ",1200,900,1,450,338,480,360,0]"));

  const std::uint64_t decodes = platform::PreviewDecodeCount();
  const ino_t inode = Inode("Pics/_xthumbs/big.jpg.2x.jpg");
  EXPECT_TRUE(Has(Gallery(), "PREVIEWS: 0 made, 2 unchanged, 0 found again by content"));
  EXPECT_EQ(platform::PreviewDecodeCount(), decodes);
  EXPECT_EQ(Inode("Pics/_xthumbs/big.jpg.2x.jpg"), inode);

  // One of the three gone, or no longer the one recorded: the picture is
  // made again, and only it.
  for (const char* file : {"Pics/_xthumbs/big.jpg.2x.jpg", "Pics/_xthumbs/big.jpg.jpeg"}) {
    SCOPED_TRACE(file);
    const std::uint64_t before = platform::PreviewDecodeCount();
    fs::remove(drive.Native(file));
    EXPECT_TRUE(Has(Gallery(), "PREVIEWS: 1 made, 1 unchanged, 0 found again by content"));
    EXPECT_EQ(platform::PreviewDecodeCount(), before + 1);
    EXPECT_TRUE(drive.Exists(file));
  }
  EXPECT_EQ(drive.ReadFile("Pics/_xthumbs/big.jpg.2x.jpg"), large);

  // Renditions off: the viewer shows the original again, and nothing is
  // made anew for it.
  const std::uint64_t before = platform::PreviewDecodeCount();
  EXPECT_TRUE(Has(Gallery(false, 0), "PREVIEWS: 0 made, 2 unchanged, 0 found again by content"));
  EXPECT_EQ(platform::PreviewDecodeCount(), before);
  EXPECT_TRUE(Contains(drive.ReadFile("Pics/_FileIndex.html"), ",1200,900,0,450,338,480,360,0]"));
}

TEST_F(GalleryPreviewsTest, MovedPicturesTakeTheirLargePreviewAlongAndGonePicturesLoseIt) {
  Picture("Pics/A/moves.jpg", 1200, 900);
  Picture("Pics/A/goes.jpg", 900, 1200);
  Picture("Pics/A/edited.jpg", 800, 600);
  Gallery();
  const std::string large = drive.ReadFile("Pics/A/_xthumbs/moves.jpg.2x.jpg");
  drive.MakeDir("Pics/B");
  fs::rename(drive.Native("Pics/A/moves.jpg"), drive.Native("Pics/B/moved.jpg"));
  fs::remove(drive.Native("Pics/A/goes.jpg"));
  fs::remove(drive.Native("Pics/A/edited.jpg"));
  drive.WriteFile("Pics/A/_xthumbs/edited.jpg.2x.jpg", "the user's own now");

  const std::uint64_t decodes = platform::PreviewDecodeCount();
  const Lines protocol = Gallery(true);
  EXPECT_EQ(platform::PreviewDecodeCount(), decodes);
  EXPECT_EQ(drive.ReadFile("Pics/B/_xthumbs/moved.jpg.2x.jpg"), large);
  EXPECT_TRUE(drive.Exists("Pics/B/_xthumbs/moved.jpg.jpeg"));
  for (const char* gone : {"moves.jpg.2x.jpg", "moves.jpg.jpeg", "goes.jpg.2x.jpg", "goes.jpg.jpeg", "goes.jpg.jpg"}) {
    EXPECT_TRUE(Has(protocol, std::string("Removed stale preview \"T:\\Pics\\A\\_xthumbs\\") + gone + "\".")) << gone;
    EXPECT_FALSE(drive.Exists(std::string("Pics/A/_xthumbs/") + gone)) << gone;
  }
  // Only what the record proves ours goes.
  EXPECT_TRUE(Has(protocol, "Kept \"T:\\Pics\\A\\_xthumbs\\edited.jpg.2x.jpg\": not written by Ombral."));
  EXPECT_EQ(drive.ReadFile("Pics/A/_xthumbs/edited.jpg.2x.jpg"), "the user's own now");
}

TEST_F(GalleryPreviewsTest, TheClassicPagesGetNeitherAndTheGalleryMakesThemFromThere) {
  Picture("Pics/big.jpg", 1200, 900);
  Picture("Pics/small.jpg", 200, 150);
  EXPECT_TRUE(Has(Scan({.edge = 240}), "PREVIEWS: 2 made, 0 unchanged"));
  EXPECT_EQ(Record().rfind("Ombral previews 2\n", 0), 0u);
  for (const auto& entry : fs::directory_iterator(drive.Native("Pics/_xthumbs"))) {
    const std::string name = entry.path().filename().string();
    EXPECT_TRUE(name == "_xthumbs.txt" || name == "big.jpg.jpg" || name == "small.jpg.jpg") << name;
  }
  // The gallery after them: a preview that fills the edge may be of a
  // larger picture, which is made again; the small one's facts are read
  // without decoding.
  const std::uint64_t decodes = platform::PreviewDecodeCount();
  EXPECT_TRUE(Has(Gallery(), "PREVIEWS: 1 made, 1 unchanged, 0 found again by content"));
  EXPECT_EQ(platform::PreviewDecodeCount(), decodes + 1);
  EXPECT_TRUE(drive.Exists("Pics/_xthumbs/big.jpg.2x.jpg"));
  EXPECT_EQ(Record().rfind("Ombral previews 4\n", 0), 0u);
}
