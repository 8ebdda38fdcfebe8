// Previews that keep their pictures' secrets, tell a replaced picture from
// the old one, try again after a failure that was not the picture's fault,
// and keep to the memory they are given; and runs that prove what they
// remove and write nothing when they are dry.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "ScanFixture.h"
#include "platform/Preview.h"
#include "platform/testing/TempDrive.h"
#include "platform/testing/TestPictures.h"

using platform::testing::FixedClock;
using platform::testing::TempDrive;

namespace {

namespace fs = std::filesystem;

class PreviewSafetyTest : public ScanFixture {
protected:
  FixedClock clock{2026, 12, 6, 14, 5, 9};

  void Picture(const std::string& relative, platform::testing::PictureOptions options = {}) {
    ScanFixture::Picture(relative, 160, 120, options);
  }
  Lines Scan(CRecordingScan& scan, int edge = 200) {
    return ScanFixture::Scan(scan, {.edge = edge, .filter = "JPG|PNG|TIF"});
  }
  Lines Scan(int edge = 200) {
    CRecordingScan scan;
    return Scan(scan, edge);
  }
  int Mode(const std::string& relative) { return platform::testing::PermissionsOf(drive.Native(relative)); }
};

}  // namespace

TEST_F(PreviewSafetyTest, APreviewIsNeverReadableByMoreUsersThanItsPicture) {
  Picture("Pics/private.jpg");
  Picture("Pics/shared.jpg");
  drive.Chmod("Pics/private.jpg", 0600);
  drive.Chmod("Pics/shared.jpg", 0644);
  Scan();
  EXPECT_EQ(Mode("Pics/_xthumbs/private.jpg.jpg"), 0600);
  EXPECT_EQ(Mode("Pics/_xthumbs/shared.jpg.jpg"), 0644);
  // A picture made private later takes its preview with it.
  drive.Chmod("Pics/shared.jpg", 0640);
  EXPECT_EQ(Scan().back(), "PREVIEWS: 1 made, 1 unchanged");
  EXPECT_EQ(Mode("Pics/_xthumbs/shared.jpg.jpg") & 0044, 0040);
}

TEST_F(PreviewSafetyTest, APictureReplacedWithinTheSameSecondGetsANewPreview) {
  // Uncompressed pictures of one size: the replacement has the same length.
  Picture("Pics/a.tif");
  Picture("Pics/b.tif", {.flat = true});
  ASSERT_EQ(fs::file_size(drive.Native("Pics/a.tif")), fs::file_size(drive.Native("Pics/b.tif")));
  ASSERT_TRUE(platform::testing::SetModifyTime(drive.Native("Pics/a.tif"), 1765000000, 100));
  Scan();
  int red = 0, green = 0, redBefore = 0, greenBefore = 0;
  ASSERT_TRUE(platform::testing::ReadPixel(drive.Native("Pics/_xthumbs/a.tif.jpg"), 150, 10, redBefore, greenBefore));

  // Another file takes the name: same size, same second.
  fs::rename(drive.Native("Pics/b.tif"), drive.Native("Pics/a.tif"));
  ASSERT_TRUE(platform::testing::SetModifyTime(drive.Native("Pics/a.tif"), 1765000000, 100));
  EXPECT_EQ(Scan().back(), "PREVIEWS: 1 made, 0 unchanged");
  ASSERT_TRUE(platform::testing::ReadPixel(drive.Native("Pics/_xthumbs/a.tif.jpg"), 150, 10, red, green));
  EXPECT_GT(std::abs(red - redBefore), 40);

  // The same file rewritten within the same second: only the nanoseconds differ.
  ASSERT_TRUE(platform::testing::SetModifyTime(drive.Native("Pics/a.tif"), 1765000000, 200));
  EXPECT_EQ(Scan().back(), "PREVIEWS: 1 made, 0 unchanged");
}

TEST_F(PreviewSafetyTest, APictureThatCannotBeReadNowIsTriedAgainNextTime) {
  Picture("Pics/a.jpg");
  Picture("Pics/locked.jpg");
  drive.Chmod("Pics", 0777);
  drive.Chmod("Pics/locked.jpg", 0);
  if (!platform::testing::ScopedUnprivileged().Active())
    GTEST_SKIP() << "cannot drop root privileges to make a picture unreadable";
  {
    platform::testing::ScopedUnprivileged user;
    CRecordingScan scan;
    const Lines protocol = Scan(scan);
    EXPECT_TRUE(Has(protocol, "Cannot make a preview of \"T:\\Pics\\locked.jpg\" this time (Permission denied); it "
                              "is tried again next time."));
    EXPECT_EQ(scan.GetErrorCount(), 1);
  }
  drive.Chmod("Pics/locked.jpg", 0644);
  {
    platform::testing::ScopedUnprivileged user;
    EXPECT_EQ(Scan().back(), "PREVIEWS: 1 made, 1 unchanged");
  }
  EXPECT_TRUE(drive.Exists("Pics/_xthumbs/locked.jpg.jpg"));
}

TEST_F(PreviewSafetyTest, DecodingKeepsToItsMemoryAndSaysWhatAPictureWouldNeed) {
  Picture("Pics/big.png", {.interlaced = true});
  CRecordingScan tight;
  tight.m_nPreviewMemoryMiB = 0;
  const Lines protocol = Scan(tight);
  ASSERT_TRUE(std::any_of(protocol.begin(), protocol.end(), [](const std::string& line) {
    return line.rfind("Cannot make a preview of \"T:\\Pics\\big.png\": it needs ", 0) == 0 &&
           line.find(" MiB of memory, more than the 0 MiB allowed.") != std::string::npos;
  }));
  EXPECT_EQ(tight.GetErrorCount(), 0);
  EXPECT_FALSE(drive.Exists("Pics/_xthumbs/big.png.jpg"));
  // The picture is remembered as too large for that budget only.
  EXPECT_EQ(Scan().back(), "PREVIEWS: 1 made, 0 unchanged");
}

TEST_F(PreviewSafetyTest, OnlyTheBytesThisScanWroteAtThatPlaceAreRemoved) {
  Picture("Pics/Edited/a.jpg");
  Picture("Pics/Same/b.jpg");
  Picture("Pics/Copy/c.jpg");
  Scan(0);
  const std::string page = drive.ReadFile("Pics/Edited/_FileIndex.html");
  // The user inserts a line into one page; another page is copied over a
  // third folder's page.
  drive.WriteFile("Pics/Edited/_FileIndex.html",
                  page.substr(0, page.size() / 2) + "<P>My holiday</P>" + page.substr(page.size() / 2));
  const std::string same = drive.ReadFile("Pics/Same/_FileIndex.html");
  drive.WriteFile("Pics/Copy/_FileIndex.html", same);
  for (const char* gone : {"Pics/Edited/a.jpg", "Pics/Same/b.jpg", "Pics/Copy/c.jpg"}) fs::remove(drive.Native(gone));
  CRecordingScan scan;
  scan.m_bRemoveStale = 1;
  const Lines protocol = Scan(scan, 0);
  EXPECT_TRUE(Has(protocol, "Kept \"T:\\Pics\\Edited\\_FileIndex.html\": not written by Ombral."));
  EXPECT_TRUE(Has(protocol, "Kept \"T:\\Pics\\Copy\\_FileIndex.html\": not written by Ombral."));
  EXPECT_TRUE(Has(protocol, "Removed stale page \"T:\\Pics\\Same\\_FileIndex.html\"."));
  EXPECT_TRUE(drive.Exists("Pics/Edited/_FileIndex.html"));
  EXPECT_EQ(drive.ReadFile("Pics/Copy/_FileIndex.html"), same);
}

TEST_F(PreviewSafetyTest, ADryRunWritesNothingAtAll) {
  Picture("Pics/a.jpg");
  Picture("Pics/A/b.jpg");
  Scan(200);
  fs::remove(drive.Native("Pics/A/b.jpg"));
  Picture("Pics/new.jpg");
  auto snapshot = [&] {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(drive.Native("Pics")))
      files[entry.path()] = entry.is_regular_file() ? drive.ReadFile(fs::relative(entry.path(), drive.Folder()).string())
                                                    : std::string("<folder>");
    return files;
  };
  const auto before = snapshot();
  FixedClock later{2026, 12, 7, 9, 0, 0};
  CRecordingScan scan;
  scan.m_bRemoveStale = 1;
  scan.m_bDryRun = 1;
  const Lines protocol = Scan(scan, 200);
  EXPECT_TRUE(Has(protocol, "Would remove stale page \"T:\\Pics\\A\\_FileIndex.html\"."));
  EXPECT_TRUE(Has(protocol, "Would remove stale preview \"T:\\Pics\\A\\_xthumbs\\b.jpg.jpg\"."));
  EXPECT_EQ(snapshot(), before);
}

TEST(PreviewAmplification, HardLinksAreDecodedOnceAndRenditionsStaySmall) {
  // Twenty names of one TIFF, in two folders: one decode, twenty previews
  // and renditions; no rendition takes more than twice its picture's bytes
  // (or 256 KiB), however smooth the picture.
  TempDrive drive{'T'};
  drive.MakeDir("Pics/A");
  drive.MakeDir("Pics/B");
  platform::testing::PictureOptions checkered;
  checkered.checkered = true;
  ASSERT_TRUE(platform::testing::WriteTestPicture(drive.Native("Pics/A/scan.tif"), 1600, 1200, checkered));
  for (int i = 0; i < 19; ++i) {
    std::filesystem::create_hard_link(drive.Native("Pics/A/scan.tif"),
                                      drive.Native(std::string(i % 2 ? "Pics/A/" : "Pics/B/") + "copy" + std::to_string(i) + ".tif"));
  }
  const std::uint64_t before = platform::PreviewDecodeCount();
  CRecordingScan scan;
  scan.m_strPath = "T:\\Pics";
  scan.m_bGallery = 1;
  scan.m_strFilter = COmbralScan::kGalleryFilter;
  ASSERT_TRUE(scan.RunScan());
  EXPECT_EQ(platform::PreviewDecodeCount() - before, 1u);
  EXPECT_EQ(scan.protocol.back(), "PREVIEWS: 20 made, 0 unchanged, 0 found again by content");
  const std::uint64_t picture = std::filesystem::file_size(drive.Native("Pics/A/scan.tif"));
  int renditions = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(drive.Native("Pics"))) {
    if (entry.path().extension() != ".jpeg") continue;
    ++renditions;
    EXPECT_LE(entry.file_size(), std::max<std::uint64_t>(2 * picture, 256u << 10)) << entry.path();
  }
  EXPECT_EQ(renditions, 20);
}
