// Camera cards and USB sticks: exFAT and FAT keep no permissions (every file
// shows one mode, and FAT refuses to change it) and number their files anew
// at each mount. A scan there still writes every page, a second scan of an
// unchanged card makes nothing again and rewrites nothing, and stale files
// are still proven and removed.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <sys/stat.h>

#include "RecordingScan.h"
#include "ScanLines.h"
#include "platform/testing/TempDrive.h"
#include "platform/testing/TestPictures.h"

using platform::testing::ScopedRemovableDisk;
using platform::testing::TempDrive;

namespace {

namespace fs = std::filesystem;

// Every file below a folder with its modification time, to tell which were
// written again.
std::map<std::string, std::int64_t> Times(const std::string& folder) {
  std::map<std::string, std::int64_t> times;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    struct stat st {};
    if (entry.is_regular_file() && ::stat(entry.path().c_str(), &st) == 0)
      times[entry.path().string()] = st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec;
  }
  return times;
}

}  // namespace

TEST(RemovableDiskTest, ExFatAndFatGetPagesKeepPreviewsAndLoseStaleFiles) {
  for (const auto format : {ScopedRemovableDisk::Format::ExFat, ScopedRemovableDisk::Format::Fat}) {
    const bool exfat = format == ScopedRemovableDisk::Format::ExFat;
    SCOPED_TRACE(exfat ? "exFAT" : "FAT");
    TempDrive drive{'T'};
    drive.MakeDir("Card");
    ScopedRemovableDisk disk(drive.Native("Card"), format);
    if (!disk.Mounted()) GTEST_SKIP() << disk.Why();
    drive.MakeDir("Card/DCIM/100");
    for (const char* name : {"Card/DCIM/100/a.jpg", "Card/DCIM/100/b.jpg", "Card/DCIM/c.jpg"})
      ASSERT_TRUE(platform::testing::WriteTestPicture(drive.Native(name), 160, 120)) << name;
    const auto scan = [](int removeStale) {
      CRecordingScan run;
      run.m_strPath = "T:\\Card\\DCIM";
      run.m_bGallery = 1;
      run.m_bRemoveStale = removeStale;
      EXPECT_TRUE(run.RunScan());
      EXPECT_EQ(run.GetErrorCount(), 0);
      return run.protocol;
    };
    scan(0);
    EXPECT_TRUE(drive.Exists("Card/DCIM/100/_FileIndex.html"));
    EXPECT_TRUE(drive.Exists("Card/DCIM/100/_xthumbs/a.jpg.jpg"));
    // Plugged in again: the driver numbers the files anew.
    ASSERT_TRUE(disk.Remount());
    const auto before = Times(drive.Native("Card/DCIM"));
    const Lines again = scan(0);
    EXPECT_TRUE(Has(again, "PREVIEWS: 0 made, 3 unchanged, 0 found again by content"));
    EXPECT_EQ(Times(drive.Native("Card/DCIM")), before);  // nothing written again
    EXPECT_FALSE(Has(again, "Kept \"T:\\Card\\DCIM\\_xpages.txt\": not written by Ombral."));
    // A picture taken off the card: its preview is proven and goes.
    fs::remove(drive.Native("Card/DCIM/100/b.jpg"));
    const Lines cleaned = scan(1);
    EXPECT_TRUE(Has(cleaned, "Removed stale preview \"T:\\Card\\DCIM\\100\\_xthumbs\\b.jpg.jpg\"."));
    EXPECT_FALSE(drive.Exists("Card/DCIM/100/_xthumbs/b.jpg.jpg"));
  }
}
