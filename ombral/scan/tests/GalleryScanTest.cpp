// Scans with the gallery over real pictures: its pages and files, the
// order by date taken, moved pictures that keep their previews, stale
// pages and previews, and the classic pages that stay as they were.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <utime.h>
#include <vector>

#include "ScanFixture.h"
#include "platform/Preview.h"
#include "platform/testing/TempDrive.h"
#include "platform/testing/TestPictures.h"

using platform::testing::FixedClock;
using platform::testing::TempDrive;

namespace {

namespace fs = std::filesystem;

class GalleryScanTest : public ScanFixture {
protected:
  FixedClock clock{2026, 12, 6, 14, 5, 9};

  void Taken(const std::string& relative, const std::string& taken, const std::string& make = "",
             const std::string& model = "") {
    Picture(relative);
    ASSERT_TRUE(platform::testing::InsertExif(drive.Native(relative), platform::testing::MakeExifTiff(taken, make, model)));
  }
  // Sets a file's modification time (seconds since 1970).
  void Modified(const std::string& relative, long seconds) {
    struct utimbuf times {seconds, seconds};
    ASSERT_EQ(::utime(drive.Native(relative).c_str(), &times), 0);
  }
  Lines Scan(bool gallery, bool byDate = false, bool removeStale = false, const char* filter = nullptr) {
    CRecordingScan scan;
    // The gallery brings its previews itself.
    const Lines protocol = ScanFixture::Scan(
        scan, {.edge = gallery ? 0 : 240, .gallery = gallery, .removeStale = removeStale, .byDate = byDate, .filter = filter});
    EXPECT_EQ(scan.GetErrorCount(), 0);
    return protocol;
  }
  // The names of a gallery page's files, in the page's order.
  std::vector<std::string> Order(const std::string& page) {
    const std::string text = drive.ReadFile(page);
    std::vector<std::string> names;
    const std::size_t data = text.find("\"items\":[", text.find("id=\"ombral-folder\""));
    const std::size_t end = text.find("</script>", data);
    for (std::size_t at = text.find("[\"", data); at < end; at = text.find("\n,[\"", at + 1)) {
      const std::size_t start = text.find('"', at) + 1;
      names.push_back(text.substr(start, text.find('"', start) - start));
    }
    return names;
  }
};

}  // namespace

TEST_F(GalleryScanTest, WritesModernPagesUnderTheSameNamesAndRecordsEveryFile) {
  Picture("Pics/top.jpg");
  Picture("Pics/2001/Summer/beach.jpg");
  Picture("Pics/2001/Summer/javascript:alert(1).jpg");
  Picture("Pics/2001/Winter/snow.png");
  drive.WriteFile("Pics/2001/Summer/clip.mp4", "not decoded");
  const Lines protocol = Scan(true);
  // Four pages: the three folders with pictures, and 2001, whose albums they are.
  EXPECT_TRUE(Has(protocol, "CREATED FILES: 4"));
  EXPECT_TRUE(Has(protocol, "PREVIEWS: 4 made, 0 unchanged, 0 found again by content"));
  const std::string summer = drive.ReadFile("Pics/2001/Summer/_FileIndex.html");
  EXPECT_EQ(summer.rfind("<!DOCTYPE html>\n<html lang=\"en\">", 0), 0u);
  EXPECT_TRUE(Contains(summer, "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">"));
  EXPECT_TRUE(Contains(summer, "<link rel=\"stylesheet\" href=\"../../_xgallery.css\">"));
  EXPECT_TRUE(Contains(summer, "<li><a href=\"../../_FileIndexFrame.html\" data-l10n=\"allFolders\">All folders</a></li><li><a href=\"../../_FileIndex.html\">Pics</a></li>"
                               "<li><a href=\"../_FileIndex.html\">2001</a></li><li aria-current=\"page\">Summer</li>"));
  // Without JavaScript: a preview linking to the picture, a name that could
  // pass for an address made a file, the video a plain link.
  EXPECT_TRUE(Contains(summer, "<li><a href=\"./javascript:alert(1).jpg\"><img src=\"_xthumbs/javascript:alert(1).jpg.jpg\" "
                               "alt=\"javascript:alert(1).jpg\" width=\"160\" height=\"120\" loading=\"lazy\"></a></li>"));
  EXPECT_TRUE(Contains(summer, "<li><a href=\"clip.mp4\"><span class=\"icon\">Video</span><span class=\"name\">clip.mp4</span>"));
  EXPECT_TRUE(Contains(summer, "2 pictures · 1 video"));
  // 2001 has no picture of its own: its page shows its albums, each with its cover.
  const std::string year = drive.ReadFile("Pics/2001/_FileIndex.html");
  EXPECT_TRUE(Contains(year, "<li><a href=\"Summer/_FileIndex.html\"><img src=\"Summer/_xthumbs/beach.jpg.jpg\" alt=\"\""));
  EXPECT_TRUE(Contains(year, "<span class=\"name\">Winter</span><span class=\"count\" data-pictures=\"1\">1 picture</span>"));
  EXPECT_FALSE(Contains(year, "id=\"grid\""));
  // The entry page under the frameset's name, old bookmarks sent on to it.
  const std::string entry = drive.ReadFile("Pics/_FileIndexFrame.html");
  EXPECT_TRUE(Contains(entry, "<form class=\"search\" role=\"search\""));
  EXPECT_TRUE(Contains(entry, "<li><a href=\"2001/Summer/_FileIndex.html\"><bdi>Summer</bdi></a> <span class=\"count\" data-pictures=\"2\" data-videos=\"1\">2 pictures · 1 video</span></li>"));
  for (const char* old : {"Pics/_xbmidx.html", "Pics/_xidxbase.html"})
    EXPECT_TRUE(Contains(drive.ReadFile(old), "<meta http-equiv=\"refresh\" content=\"0; url=_FileIndexFrame.html\">"));
  EXPECT_TRUE(Contains(SearchIndexText(), "\"top.jpg\",\"beach.jpg\",\"clip.mp4\",\"javascript:alert(1).jpg\",\"snow.png\""));
  // Every file it wrote is recorded, so stale removal may prove it later.
  const std::string record = drive.ReadFile("Pics/_xpages.txt");
  for (const char* place : {" _xgallery.css\n", " _xgallery.js\n", " _xsearch.js\n", " _xsearch/g0.js\n", " _xsearch/n0.js\n", " _FileIndexFrame.html\n",
                            " _xbmidx.html\n", " 2001/_FileIndex.html\n", " 2001/Summer/_FileIndex.html\n"})
    EXPECT_TRUE(Contains(record, place)) << place;
  EXPECT_EQ(drive.ReadFile("Pics/2001/Summer/_xthumbs/_xthumbs.txt").rfind("Ombral previews 3\n", 0), 0u);
  // The gallery's own files are no pictures of the top folder, whatever the
  // filter, and the folder of its search pieces is no folder of the tree.
  EXPECT_TRUE(Has(protocol, "FOUND PATHS: 4"));
  EXPECT_TRUE(Has(Scan(true, false, false, "JPG|PNG|JS|CSS"), "FOUND PATHS: 4"));
  EXPECT_EQ(Order("Pics/_FileIndex.html"), std::vector<std::string>{"top.jpg"});
}

TEST_F(GalleryScanTest, SortsByDateTakenOrByTheFilesTimeAndKeepsTheDatesInTheRecord) {
  Taken("Pics/a-2005.jpg", "2005:06:01 10:00:00", "Canon", "Canon EOS 5D");
  Picture("Pics/b-file-2001.jpg");
  Modified("Pics/b-file-2001.jpg", 1000000000);  // September 2001
  Taken("Pics/c-2003.jpg", "2003:01:01 08:00:00");
  Picture("Pics/d-file-2004.png");
  Modified("Pics/d-file-2004.png", 1090000000);  // July 2004
  Scan(true);
  EXPECT_EQ(Order("Pics/_FileIndex.html"),
            (std::vector<std::string>{"a-2005.jpg", "b-file-2001.jpg", "c-2003.jpg", "d-file-2004.png"}));
  const std::uint64_t decodes = platform::PreviewDecodeCount();
  Scan(true, true);
  EXPECT_EQ(platform::PreviewDecodeCount(), decodes);  // the dates came from the record
  EXPECT_EQ(Order("Pics/_FileIndex.html"),
            (std::vector<std::string>{"b-file-2001.jpg", "c-2003.jpg", "d-file-2004.png", "a-2005.jpg"}));
  const std::string page = drive.ReadFile("Pics/_FileIndex.html");
  EXPECT_TRUE(Contains(page, "[\"a-2005.jpg\",0,160,120,"));
  EXPECT_TRUE(Contains(page, ",\"2005-06-01 10:00:00\",1,\"Canon EOS 5D\",160,120,0,0,0,0,0,0]"));
  EXPECT_TRUE(Contains(page, "Pictures by date taken"));
  EXPECT_TRUE(Contains(drive.ReadFile("Pics/_xthumbs/_xthumbs.txt"), " 2005-06-01T10:00:00 "));
}

TEST_F(GalleryScanTest, PreviewsOfAnEarlierScanGetTheirFactsWithoutDecoding) {
  Taken("Pics/late.jpg", "2010:01:01 00:00:00");
  Taken("Pics/early.jpg", "2002:01:01 00:00:00");
  Scan(false);  // previews without the gallery: a record of the second form
  EXPECT_EQ(drive.ReadFile("Pics/_xthumbs/_xthumbs.txt").rfind("Ombral previews 2\n", 0), 0u);
  const std::uint64_t decodes = platform::PreviewDecodeCount();
  const Lines protocol = Scan(true, true);
  EXPECT_EQ(platform::PreviewDecodeCount(), decodes);
  EXPECT_TRUE(Has(protocol, "PREVIEWS: 0 made, 2 unchanged, 0 found again by content"));
  EXPECT_EQ(Order("Pics/_FileIndex.html"), (std::vector<std::string>{"early.jpg", "late.jpg"}));
  EXPECT_EQ(drive.ReadFile("Pics/_xthumbs/_xthumbs.txt").rfind("Ombral previews 3\n", 0), 0u);
}

TEST_F(GalleryScanTest, MovedAndRenamedPicturesKeepTheirPreviewsWithoutDecoding) {
  Picture("Pics/A/moved.jpg", 200, 150);
  Picture("Pics/A/renamed.jpg", 300, 100);
  Picture("Pics/A/stays.jpg");
  Picture("Pics/phone.heic", 640, 480);
  Scan(true);
  const std::string movedPreview = drive.ReadFile("Pics/A/_xthumbs/moved.jpg.jpg");
  const std::string rendition = drive.ReadFile("Pics/_xthumbs/phone.heic.jpeg");
  drive.MakeDir("Pics/B/C");
  fs::rename(drive.Native("Pics/A/moved.jpg"), drive.Native("Pics/B/C/moved here.jpg"));
  fs::rename(drive.Native("Pics/A/renamed.jpg"), drive.Native("Pics/A/new name.jpg"));
  fs::rename(drive.Native("Pics/phone.heic"), drive.Native("Pics/B/phone.heic"));

  const std::uint64_t decodes = platform::PreviewDecodeCount();
  const Lines protocol = Scan(true, false, true);
  EXPECT_EQ(platform::PreviewDecodeCount(), decodes);
  EXPECT_TRUE(Has(protocol, "PREVIEWS: 0 made, 1 unchanged, 3 found again by content"));
  EXPECT_EQ(drive.ReadFile("Pics/B/C/_xthumbs/moved here.jpg.jpg"), movedPreview);
  EXPECT_EQ(drive.ReadFile("Pics/B/_xthumbs/phone.heic.jpeg"), rendition);
  EXPECT_TRUE(Contains(drive.ReadFile("Pics/B/C/_FileIndex.html"), "_xthumbs/moved here.jpg.jpg\" alt=\"moved here.jpg\" "
                                                                   "width=\"200\" height=\"150\""));
  // The old previews are used by no picture now: they go; the copies stay.
  EXPECT_TRUE(Has(protocol, "Removed stale preview \"T:\\Pics\\A\\_xthumbs\\moved.jpg.jpg\"."));
  EXPECT_TRUE(Has(protocol, "Removed stale preview \"T:\\Pics\\A\\_xthumbs\\renamed.jpg.jpg\"."));
  EXPECT_TRUE(Has(protocol, "Removed stale preview \"T:\\Pics\\_xthumbs\\phone.heic.jpeg\"."));
  EXPECT_TRUE(Has(protocol, "Removed stale preview \"T:\\Pics\\_xthumbs\\phone.heic.jpg\"."));
  EXPECT_FALSE(drive.Exists("Pics/A/_xthumbs/moved.jpg.jpg"));
  EXPECT_TRUE(drive.Exists("Pics/A/_xthumbs/new name.jpg.jpg"));
  EXPECT_TRUE(drive.Exists("Pics/A/_xthumbs/stays.jpg.jpg"));
  EXPECT_TRUE(drive.Exists("Pics/B/_xthumbs/phone.heic.jpg"));

  // A changed copy is no moved picture: it is decoded.
  Picture("Pics/B/C/moved here.jpg", 120, 90);
  Scan(true);
  EXPECT_EQ(platform::PreviewDecodeCount(), decodes + 1);
}

TEST_F(GalleryScanTest, StalePagesGoOnlyWhereNoAlbumIsLeft) {
  Picture("Pics/A/a.jpg");
  Picture("Pics/A/B/b.jpg");
  Picture("Pics/C/c.jpg");
  Scan(true);
  fs::remove(drive.Native("Pics/A/a.jpg"));  // A keeps its album B
  fs::remove(drive.Native("Pics/C/c.jpg"));  // C has nothing left
  const Lines protocol = Scan(true, false, true);
  EXPECT_TRUE(Has(protocol, "Removed stale page \"T:\\Pics\\C\\_FileIndex.html\"."));
  EXPECT_FALSE(drive.Exists("Pics/C/_FileIndex.html"));
  EXPECT_TRUE(Contains(drive.ReadFile("Pics/A/_FileIndex.html"), "<span class=\"name\">B</span>"));
}

TEST_F(GalleryScanTest, BackToTheClassicPagesTheGallerysFilesGoWhenProvenOurs) {
  Picture("Pics/a.jpg");
  Scan(true);
  drive.WriteFile("Pics/_xsearch.js", "// the user's own");
  const Lines protocol = Scan(false, false, true);
  EXPECT_TRUE(Has(protocol, "Removed stale page \"T:\\Pics\\_xgallery.css\"."));
  EXPECT_TRUE(Has(protocol, "Removed stale page \"T:\\Pics\\_xgallery.js\"."));
  EXPECT_TRUE(Has(protocol, "Kept \"T:\\Pics\\_xsearch.js\": not written by Ombral."));
  EXPECT_FALSE(drive.Exists("Pics/_xgallery.js"));
  EXPECT_EQ(drive.ReadFile("Pics/_xsearch.js"), "// the user's own");
  EXPECT_EQ(drive.ReadFile("Pics/_xbmidx.html").rfind("<HTML>\r\n<HEAD>\r\n", 0), 0u);
}

TEST_F(GalleryScanTest, WithoutTheGalleryEveryFileStaysAsItWas) {
  Picture("Pics/A/a.jpg");
  Picture("Pics/A/phone.heic", 64, 48);
  // The phones' pictures are no previews' pictures of the classic pages,
  // even when the filter lists them, and the record keeps its second form.
  const Lines protocol = Scan(false, false, false, "JPG|HEIC");
  EXPECT_TRUE(Has(protocol, "PREVIEWS: 1 made, 0 unchanged"));
  EXPECT_FALSE(drive.Exists("Pics/A/_xthumbs/phone.heic.jpg"));
  EXPECT_EQ(drive.ReadFile("Pics/A/_xthumbs/_xthumbs.txt").rfind("Ombral previews 2\n", 0), 0u);
  for (const char* file : {"Pics/_xgallery.css", "Pics/_xgallery.js", "Pics/_xsearch.js"}) EXPECT_FALSE(drive.Exists(file));
  EXPECT_EQ(drive.ReadFile("Pics/_FileIndexFrame.html").rfind("<HTML>\r\n<HEAD>\r\n<TITLE>Tessaly Works", 0), 0u);
  EXPECT_TRUE(Contains(drive.ReadFile("Pics/A/_FileIndex.html"), "Image: 1 - phone.heic ("));
}

TEST_F(GalleryScanTest, TheFolderTreesPiecesAreItsOwnFiles) {
  // More folders than the entry page holds: their videos need no previews.
  for (int i = 0; i < 200; ++i) drive.WriteFile("Pics/" + std::to_string(i / 20) + "/" + std::to_string(i) + "/v.mp4", "");
  const char* const piece = "Pics/_xtree.0.js";
  Scan(true);
  ASSERT_TRUE(drive.Exists(piece));
  EXPECT_TRUE(Contains(drive.ReadFile("Pics/_FileIndexFrame.html"), "data-piece=\"0\""));
  // Never one of the top folder's files, whatever the filter lists.
  Scan(true, false, false, "MP4|JS");
  EXPECT_FALSE(Contains(drive.ReadFile("Pics/_FileIndex.html"), "_xtree"));
  // Never a page's name.
  CRecordingScan named;
  named.m_strPath = "T:\\Pics";
  named.m_strIndexFile = "_xtree.3.js";
  EXPECT_FALSE(named.RunScan());
  EXPECT_TRUE(Contains(named.m_strMessage.GetString(), "Ombral uses that name for its own files"));
  // Back to the classic pages, the pieces go when the record proves them
  // the scan's; one changed by somebody else stays.
  drive.WriteFile("Pics/_xtree.1.js", "// changed");
  const Lines protocol = Scan(false, false, true);
  EXPECT_TRUE(Has(protocol, "Removed stale page \"T:\\Pics\\_xtree.0.js\"."));
  EXPECT_TRUE(Has(protocol, "Kept \"T:\\Pics\\_xtree.1.js\": not written by Ombral."));
  EXPECT_FALSE(drive.Exists(piece));
}
