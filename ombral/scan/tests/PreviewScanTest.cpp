// Scans with previews over real pictures: what the pages show, what is made
// again and what is left alone.
#include <gtest/gtest.h>

#include <cstdio>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "pages/HtmlText.h"
#include "previews/PreviewFolder.h"
#include "ScanFixture.h"
#include "platform/testing/TempDrive.h"
#include "platform/testing/TestPictures.h"

using platform::testing::FixedClock;
using platform::testing::TempDrive;

namespace {

namespace fs = std::filesystem;

class PreviewScanTest : public ScanFixture {
protected:
  FixedClock clock{2026, 12, 6, 14, 5, 9};

  // A scan of T:\Pics; `edge` 0 means without previews.
  Lines Scan(int edge) { return ScanFixture::Scan({.edge = edge}); }
  platform::testing::PictureInfo Info(const std::string& relative) {
    platform::testing::PictureInfo info;
    EXPECT_TRUE(platform::testing::ReadPictureInfo(drive.Native(relative), info)) << relative;
    return info;
  }
};

}  // namespace

TEST_F(PreviewScanTest, PagesShowPreviewsThatLinkToThePictures) {
  Picture("Pics/A/wide.jpg", 800, 600);
  Picture("Pics/A/tall.png", 300, 600);
  drive.WriteFile("Pics/A/clip.avi", "RIFF not a picture");
  drive.WriteFile("Pics/A/notes.txt", "not listed");
  const Lines protocol = Scan(240);
  EXPECT_EQ(protocol.back(), "PREVIEWS: 2 made, 0 unchanged");
  const std::string page = drive.ReadFile("Pics/A/_FileIndex.html");
  EXPECT_TRUE(Contains(page, "<P ALIGN=\"CENTER\"><IMG SRC=\"clip.avi\"><BR>\r\nImage: 0 - clip.avi (18 bytes)"));
  EXPECT_TRUE(Contains(page, "<A HREF=\"tall.png\"><IMG SRC=\"_xthumbs/tall.png.jpg\" WIDTH=\"120\" HEIGHT=\"240\" "
                             "loading=\"lazy\"></A><BR>\r\nImage: 1 - tall.png ("));
  EXPECT_TRUE(Contains(page, "<A HREF=\"wide.jpg\"><IMG SRC=\"_xthumbs/wide.jpg.jpg\" WIDTH=\"240\" HEIGHT=\"180\""));
  EXPECT_EQ(Info("Pics/A/_xthumbs/wide.jpg.jpg").width, 240);
  EXPECT_EQ(Info("Pics/A/_xthumbs/tall.png.jpg").height, 240);
  EXPECT_FALSE(drive.Exists("Pics/A/_xthumbs/clip.avi.jpg"));
  // The preview folder is no folder of the tree: no main-index line, not counted.
  EXPECT_FALSE(Contains(drive.ReadFile("Pics/_xbmidx.html"), "_xthumbs"));
  EXPECT_TRUE(Has(protocol, "FOUND PATHS: 2"));
  // Kilobytes rounded, as the main index rounds them.
  const auto bytes = fs::file_size(drive.Native("Pics/A/wide.jpg")) + fs::file_size(drive.Native("Pics/A/tall.png")) + 18;
  char kilobytes[32];
  std::snprintf(kilobytes, sizeof kilobytes, "%.0f", static_cast<double>(bytes) * (1.0 / 1024));
  EXPECT_TRUE(Has(protocol, "FOUND IMAGES: 3 with " + std::string(kilobytes) + " KB"));
}

TEST_F(PreviewScanTest, TurnedUprightByExifOrientation) {
  Picture("Pics/phone.jpg", 400, 300);
  ASSERT_TRUE(platform::testing::InsertExif(drive.Native("Pics/phone.jpg"), platform::testing::MakeExifTiff(6, true)));
  Scan(240);
  EXPECT_TRUE(Contains(drive.ReadFile("Pics/_FileIndex.html"), "WIDTH=\"180\" HEIGHT=\"240\""));
  const auto info = Info("Pics/_xthumbs/phone.jpg.jpg");
  EXPECT_EQ(info.width, 180);
  EXPECT_FALSE(info.hasMetadata);
}

TEST_F(PreviewScanTest, RescanReadsOnlyNewAndChangedPictures) {
  Picture("Pics/a.jpg", 640, 480);
  Picture("Pics/b.jpg", 640, 480);
  Scan(200);
  const auto timeA = fs::last_write_time(drive.Native("Pics/_xthumbs/a.jpg.jpg"));
  const auto timeB = fs::last_write_time(drive.Native("Pics/_xthumbs/b.jpg.jpg"));
  const auto page = drive.ReadFile("Pics/_FileIndex.html");

  EXPECT_EQ(Scan(200).back(), "PREVIEWS: 0 made, 2 unchanged");
  EXPECT_EQ(fs::last_write_time(drive.Native("Pics/_xthumbs/a.jpg.jpg")), timeA);
  EXPECT_EQ(fs::last_write_time(drive.Native("Pics/_xthumbs/b.jpg.jpg")), timeB);
  EXPECT_EQ(drive.ReadFile("Pics/_FileIndex.html"), page);

  // b changes (another size): only its preview is made again.
  Picture("Pics/b.jpg", 300, 600);
  EXPECT_EQ(Scan(200).back(), "PREVIEWS: 1 made, 1 unchanged");
  EXPECT_EQ(fs::last_write_time(drive.Native("Pics/_xthumbs/a.jpg.jpg")), timeA);
  EXPECT_EQ(Info("Pics/_xthumbs/b.jpg.jpg").height, 200);
  EXPECT_TRUE(Contains(drive.ReadFile("Pics/_FileIndex.html"), "b.jpg.jpg\" WIDTH=\"100\" HEIGHT=\"200\""));

  // A newer picture of the same size is made again as well.
  fs::last_write_time(drive.Native("Pics/a.jpg"), fs::last_write_time(drive.Native("Pics/a.jpg")) + std::chrono::hours(1));
  EXPECT_EQ(Scan(200).back(), "PREVIEWS: 1 made, 1 unchanged");

  // A preview that went missing comes back.
  fs::remove(drive.Native("Pics/_xthumbs/a.jpg.jpg"));
  EXPECT_EQ(Scan(200).back(), "PREVIEWS: 1 made, 1 unchanged");
  EXPECT_TRUE(drive.Exists("Pics/_xthumbs/a.jpg.jpg"));
}

TEST_F(PreviewScanTest, BrokenPicturesAreReportedAndListedAsBefore) {
  Picture("Pics/good.jpg", 320, 240);
  Picture("Pics/cut.jpg", 640, 480);
  const std::string bytes = drive.ReadFile("Pics/cut.jpg");
  drive.WriteFile("Pics/cut.jpg", bytes.substr(0, bytes.size() / 3));
  drive.WriteFile("Pics/text.png", "this is no picture");
  for (int run = 0; run < 2; ++run) {  // the second run reports them again without reading them
    SCOPED_TRACE(run);
    const Lines protocol = Scan(240);
    EXPECT_TRUE(Has(protocol, "Cannot make a preview of \"T:\\Pics\\cut.jpg\"!"));
    EXPECT_TRUE(Has(protocol, "Cannot make a preview of \"T:\\Pics\\text.png\"!"));
    EXPECT_EQ(protocol.back(), run == 0 ? "PREVIEWS: 1 made, 0 unchanged" : "PREVIEWS: 0 made, 1 unchanged");
    const std::string page = drive.ReadFile("Pics/_FileIndex.html");
    EXPECT_TRUE(Contains(page, "<IMG SRC=\"cut.jpg\"><BR>\r\nImage: 0 - cut.jpg"));
    EXPECT_TRUE(Contains(page, "<A HREF=\"good.jpg\"><IMG SRC=\"_xthumbs/good.jpg.jpg\""));
    EXPECT_TRUE(Contains(page, "<IMG SRC=\"text.png\"><BR>"));
  }
}

TEST_F(PreviewScanTest, TreeScannedWithoutPreviewsLooksAsIfItNeverHadThem) {
  Picture("Pics/top.gif", 100, 80);
  Picture("Pics/2001/a.jpg", 500, 400);
  Picture("Pics/2001/Jan/b.bmp", 300, 200);
  drive.MakeDir("Pics/Empty");
  auto pages = [&] {
    return Lines{drive.ReadFile("Pics/_xbmidx.html"), drive.ReadFile("Pics/_FileIndex.html"),
                 drive.ReadFile("Pics/2001/_FileIndex.html"), drive.ReadFile("Pics/2001/Jan/_FileIndex.html")};
  };
  const Lines before = Scan(0);
  const Lines pagesBefore = pages();
  Scan(240);
  EXPECT_TRUE(drive.Exists("Pics/2001/Jan/_xthumbs/b.bmp.jpg"));
  EXPECT_EQ(Scan(0), before);
  EXPECT_EQ(pages(), pagesBefore);
}

TEST_F(PreviewScanTest, FoldersAndFilesOfThePreviewNamesThatAreNotOursStay) {
  // A folder of the user's own that happens to carry the name: no record.
  Picture("Pics/A/_xthumbs/mine.jpg", 200, 100);
  Picture("Pics/A/a.jpg", 200, 100);
  // A file of the user's in a preview folder of ours, where a new picture's
  // preview would go.
  Picture("Pics/B/b.jpg", 200, 100);
  Scan(240);
  drive.WriteFile("Pics/B/_xthumbs/c.jpg.jpg", "the user's own");
  Picture("Pics/B/c.jpg", 200, 100);
  const Lines protocol = Scan(240);
  EXPECT_TRUE(Has(protocol, "Kept \"T:\\Pics\\A\\_xthumbs\": not written by Ombral."));
  EXPECT_TRUE(Has(protocol, "Kept \"T:\\Pics\\B\\_xthumbs\\c.jpg.jpg\": not written by Ombral."));
  EXPECT_EQ(drive.ReadFile("Pics/B/_xthumbs/c.jpg.jpg"), "the user's own");
  EXPECT_TRUE(Contains(drive.ReadFile("Pics/A/_FileIndex.html"), "<IMG SRC=\"a.jpg\">"));
  EXPECT_TRUE(Contains(drive.ReadFile("Pics/B/_FileIndex.html"), "<IMG SRC=\"c.jpg\">"));
  // The name is the scan's own: the user's folder is left alone, never
  // walked as a folder of the tree.
  EXPECT_FALSE(drive.Exists("Pics/A/_xthumbs/_FileIndex.html"));
  EXPECT_FALSE(drive.Exists("Pics/A/_xthumbs/_xthumbs"));
  EXPECT_TRUE(drive.Exists("Pics/A/_xthumbs/mine.jpg"));
}

TEST_F(PreviewScanTest, APreviewChangedInPlaceIsTheUsersNow) {
  // The record still names the preview and its picture is unchanged, but
  // its bytes were written over under the same inode: its size and time
  // tell, and it is neither shown nor replaced.
  Picture("Pics/a.jpg", 320, 240);
  Scan(240);
  const ino_t inode = Inode("Pics/_xthumbs/a.jpg.jpg");
  drive.WriteFile("Pics/_xthumbs/a.jpg.jpg", "the user's own");
  ASSERT_EQ(Inode("Pics/_xthumbs/a.jpg.jpg"), inode);
  EXPECT_TRUE(Has(Scan(240), "Kept \"T:\\Pics\\_xthumbs\\a.jpg.jpg\": not written by Ombral."));
  EXPECT_EQ(drive.ReadFile("Pics/_xthumbs/a.jpg.jpg"), "the user's own");
  EXPECT_TRUE(Contains(drive.ReadFile("Pics/_FileIndex.html"), "<IMG SRC=\"a.jpg\">"));
}

TEST_F(PreviewScanTest, DamagedRecordNeverCostsAFileItCannotVouchFor) {
  Picture("Pics/a.jpg", 320, 240);
  Picture("Pics/b.jpg", 320, 240);
  Scan(240);
  // b's preview was replaced by a file of the user's.
  drive.WriteFile("Pics/_xthumbs/b.jpg.jpg", "the user's own");
  const std::string damaged[] = {
      "Ombral previews 2\nP 1 2 3\nP x y z w 1 1 a.jpg\nB 9 9.000000000 9 9 9.000000000 9 - 9 9 0 a.jpg\n"
      "P 1 1.000000000 1 1 1.000000000 1 0123456789abcdef0123456789abcdef 99999 1 0 a.jpg\n"
      "P 1 1.000000000 1 1 1.000000000 1 0123456789abcdef0123456789abcdef 1 1 0 a%zz.jpg\n"
      "P 1 1.000000000 1 1 1.000000000 1 0123456789abcdef0123456789abcdef 1 1 0 ../a.jpg\n",
      "Ombral previews 1\nP 1 2 3\nP x y z w 1 1 a.jpg\nB 9 9 9 9 9 9 a.jpg\n",
      drive.ReadFile("Pics/_xthumbs/_xthumbs.txt").substr(0, 30),  // cut in its first record line
      "Ombral previews 2\n" + std::string(100000, '\xFF'),
  };
  for (const std::string& text : damaged) {
    drive.WriteFile("Pics/_xthumbs/_xthumbs.txt", text);
    const Lines protocol = Scan(240);
    // a's preview carries the mark of the scan's previews: it is known as
    // the scan's own and made again. The user's file under b's preview name
    // is neither shown nor replaced.
    EXPECT_FALSE(Has(protocol, "Kept \"T:\\Pics\\_xthumbs\\a.jpg.jpg\": not written by Ombral."));
    EXPECT_TRUE(Has(protocol, "Kept \"T:\\Pics\\_xthumbs\\b.jpg.jpg\": not written by Ombral."));
    EXPECT_EQ(drive.ReadFile("Pics/_xthumbs/b.jpg.jpg"), "the user's own");
    const std::string page = drive.ReadFile("Pics/_FileIndex.html");
    EXPECT_TRUE(Contains(page, "<IMG SRC=\"_xthumbs/a.jpg.jpg\""));
    EXPECT_TRUE(Contains(page, "<IMG SRC=\"b.jpg\">"));
  }
}

TEST_F(PreviewScanTest, AFirstFormRecordKeepsItsPreviewsWhenWrittenAnew) {
  Picture("Pics/a.jpg", 320, 240);
  Picture("Pics/b.jpg", 320, 240);
  Scan(240);
  // The record as an earlier version wrote it: sizes and whole seconds.
  std::string record = "Ombral previews 1\n";
  for (const char* name : {"a.jpg", "b.jpg"}) {
    struct stat picture {}, preview {};
    ASSERT_EQ(::stat(drive.Native("Pics/" + std::string(name)).c_str(), &picture), 0);
    ASSERT_EQ(::stat(drive.Native("Pics/_xthumbs/" + std::string(name) + ".jpg").c_str(), &preview), 0);
    record += "P " + std::to_string(picture.st_size) + " " + std::to_string(picture.st_mtime) + " " +
              std::to_string(preview.st_size) + " " + std::to_string(preview.st_mtime) + " 240 180 " + name + "\n";
  }
  drive.WriteFile("Pics/_xthumbs/_xthumbs.txt", record);
  // b is gone; the run that writes the record anew keeps its preview (no
  // removal asked), and the record must still name it as the scan's, so
  // that a later run may remove it.
  fs::remove(drive.Native("Pics/b.jpg"));
  Scan(240);
  EXPECT_EQ(drive.ReadFile("Pics/_xthumbs/_xthumbs.txt").rfind("Ombral previews 2\n", 0), 0u);
  EXPECT_TRUE(drive.Exists("Pics/_xthumbs/b.jpg.jpg"));
  const Lines protocol = ScanFixture::Scan({.edge = 240, .removeStale = true});
  EXPECT_TRUE(Has(protocol, "Removed stale preview \"T:\\Pics\\_xthumbs\\b.jpg.jpg\"."));
  EXPECT_FALSE(drive.Exists("Pics/_xthumbs/b.jpg.jpg"));
  EXPECT_TRUE(Contains(drive.ReadFile("Pics/_FileIndex.html"), "<IMG SRC=\"_xthumbs/a.jpg.jpg\""));
}

TEST_F(PreviewScanTest, PreviewsOnlyWhereTheFilterListsPictures) {
  Picture("Pics/a.jpg", 320, 240);
  Picture("Pics/b.png", 320, 240);
  CRecordingScan scan;
  scan.m_strPath = "T:\\Pics";
  scan.m_strFilter = "JPG";
  scan.m_nPreviewEdge = 64;
  ASSERT_TRUE(scan.RunScan());
  EXPECT_TRUE(drive.Exists("Pics/_xthumbs/a.jpg.jpg"));
  EXPECT_FALSE(drive.Exists("Pics/_xthumbs/b.png.jpg"));
  EXPECT_TRUE(Contains(drive.ReadFile("Pics/_FileIndex.html"), "WIDTH=\"64\" HEIGHT=\"48\""));
}

TEST_F(PreviewScanTest, ProtocolAndPagesKeepTheWalkOrderWhilePreviewsRunAhead) {
  for (const char* folder : {"A", "B", "B/Deep", "C"})
    for (int i = 0; i < 5; ++i) Picture("Pics/" + std::string(folder) + "/p" + std::to_string(i) + ".jpg", 400, 300);
  drive.WriteFile("Pics/B/broken.jpg", "no picture");
  auto logged = [&](int edge) {
    CRecordingScan scan;
    scan.m_strPath = "T:\\Pics";
    scan.m_bNoLogging = 0;
    scan.m_nPreviewEdge = edge;
    EXPECT_TRUE(scan.RunScan());
    return scan.protocol;
  };
  const Lines plain = logged(0);
  Lines withPreviews = logged(160);
  EXPECT_EQ(withPreviews.back(), "PREVIEWS: 20 made, 0 unchanged");
  withPreviews.pop_back();
  // The same lines in the same order, plus the broken picture's line right
  // after its own entry.
  const auto broken = std::find(withPreviews.begin(), withPreviews.end(),
                                "Cannot make a preview of \"T:\\Pics\\B\\broken.jpg\"!");
  ASSERT_NE(broken, withPreviews.end());
  EXPECT_EQ(*(broken - 1), "    adding image link: broken.jpg");
  withPreviews.erase(broken);
  EXPECT_EQ(withPreviews, plain);
}

TEST_F(PreviewScanTest, NamesUpToTheLimitGetPreviewsUnderNamesThatFit) {
  // Names whose preview name (".jpg" added) would be longer than a name may
  // be get a shortened, stable one; a shorter name keeps its own.
  std::string cut;  // multi-byte characters right where a name is cut
  for (int i = 0; i < 118; ++i) cut += "\xC3\xA9";
  const std::string names[] = {std::string(247, 'a') + ".jpg", std::string(251, 'b') + ".jpg",
                               cut + "ab.jpg" + std::string(9, 'c') + ".jpg"};
  for (const std::string& name : names) {
    ASSERT_LE(name.size(), 255u);
    Picture("Pics/Long/" + name, 80, 60);
  }
  EXPECT_EQ(Scan(240).back(), "PREVIEWS: 3 made, 0 unchanged");
  const std::string page = drive.ReadFile("Pics/Long/_FileIndex.html");
  for (const std::string& name : names) {
    const std::string preview = CPreviewFolder::PreviewName(name);
    SCOPED_TRACE(preview);
    EXPECT_LE(preview.size(), 255u);
    EXPECT_EQ(preview == name + ".jpg", name.size() <= 251);
    EXPECT_TRUE(drive.Exists("Pics/Long/_xthumbs/" + preview));
    EXPECT_TRUE(Contains(page, "_xthumbs/" + ombral::EscapeLink(preview)));
  }
  EXPECT_EQ(Scan(240).back(), "PREVIEWS: 0 made, 3 unchanged");
  // They are proven and removed like any other once their pictures go.
  for (const std::string& name : names) fs::remove(drive.Native("Pics/Long/" + name));
  CRecordingScan scan;
  scan.m_strPath = "T:\\Pics";
  scan.m_nPreviewEdge = 240;
  scan.m_bRemoveStale = 1;
  ASSERT_TRUE(scan.RunScan());
  EXPECT_FALSE(drive.Exists("Pics/Long/_xthumbs"));
}

TEST_F(PreviewScanTest, PreviewsFollowTheEdgeAskedFor) {
  // A photo larger than every edge, and one smaller than the large edge.
  Picture("Pics/photo.jpg", 800, 600);
  Picture("Pics/small.png", 120, 90);
  struct Row {
    bool gallery;
    int edge;
    const char* previews;  // the protocol's last line
    int photoWidth;        // the photo's preview then
  };
  const Row rows[] = {
      {false, 16, "PREVIEWS: 2 made, 0 unchanged", 16},
      {false, 240, "PREVIEWS: 2 made, 0 unchanged", 240},   // larger edge: both made again
      {false, 240, "PREVIEWS: 0 made, 2 unchanged", 240},   // the small one is all of its picture
      {false, 100, "PREVIEWS: 2 made, 0 unchanged", 100},   // smaller edge: both too large
      {false, 160, "PREVIEWS: 2 made, 0 unchanged", 160},   // the small picture is 120: made at 120 now
      {false, 160, "PREVIEWS: 0 made, 2 unchanged", 160},
      {true, 16, "PREVIEWS: 2 made, 0 unchanged, 0 found again by content", 16},
      {true, 240, "PREVIEWS: 2 made, 0 unchanged, 0 found again by content", 240},
      {true, 240, "PREVIEWS: 0 made, 2 unchanged, 0 found again by content", 240},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::to_string(row.edge) + (row.gallery ? " gallery" : ""));
    const Lines protocol = ScanFixture::Scan({.edge = row.edge, .gallery = row.gallery, .filter = "JPG|PNG"});
    EXPECT_EQ(protocol.back(), row.previews);
    EXPECT_EQ(Info("Pics/_xthumbs/photo.jpg.jpg").width, row.photoWidth);
    EXPECT_EQ(Info("Pics/_xthumbs/small.png.jpg").width, std::min(row.edge, 120));
  }
}
