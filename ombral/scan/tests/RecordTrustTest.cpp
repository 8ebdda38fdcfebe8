// The records that prove which files the scan wrote (the preview folder's
// "_xthumbs.txt" and the tree's "_xpages.txt") decide over removals: one
// that another user could have written or changed, one that is also another
// file (a second link), or one far too large to be the scan's is never
// believed and never written to. And a preview folder the scan made but
// could not give its record is taken up again, not refused for ever.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include "ScanFixture.h"
#include "platform/testing/TempDrive.h"
#include "platform/testing/TestPictures.h"

using platform::testing::TempDrive;

namespace {

namespace fs = std::filesystem;

class RecordTrustTest : public ScanFixture {
protected:
  TempDrive other{'U'};

  void Picture(const std::string& relative) { ScanFixture::Picture(relative, 120, 90); }
  Lines Scan(int edge, int removeStale = 0) { return ScanFixture::Scan({.edge = edge, .removeStale = removeStale != 0}); }
};

}  // namespace

TEST_F(RecordTrustTest, ARecordOthersCouldHaveWrittenProvesNothing) {
  if (!platform::testing::RunningAsRoot()) GTEST_SKIP() << "giving a record to another user needs root";
  // Each way a record can stop being the scan's own, for each record: the
  // preview it would prove (A's gone picture) and the page it would prove
  // (B's, whose pictures are all gone) stay.
  const struct {
    const char* what;
    std::function<void(const std::string& record)> spoil;
  } ways[] = {
      {"owned by another user", [](const std::string& record) {
         ASSERT_TRUE(platform::testing::ChangeOwner(record, platform::testing::kOtherUser, platform::testing::kOtherUser));
       }},
      {"others may write it (0646)", [](const std::string& record) { fs::permissions(record, fs::perms(0646)); }},
      {"a second link to it", [this](const std::string& record) {
         fs::create_hard_link(record, other.Native("elsewhere.txt"));
       }},
      {"a sparse 256 MiB file", [](const std::string& record) { fs::resize_file(record, 256ull << 20); }},
  };
  for (const char* record : {"Pics/A/_xthumbs/_xthumbs.txt", "Pics/_xpages.txt"}) {
    for (const auto& way : ways) {
      SCOPED_TRACE(std::string(record) + ", " + way.what);
      fs::remove_all(drive.Native("Pics"));
      fs::remove_all(other.Native("elsewhere.txt"));
      Picture("Pics/A/gone.jpg");
      Picture("Pics/A/kept.jpg");
      Picture("Pics/B/gone.jpg");
      Scan(240);
      fs::remove(drive.Native("Pics/A/gone.jpg"));
      fs::remove(drive.Native("Pics/B/gone.jpg"));
      way.spoil(drive.Native(record));
      const std::string before = fs::exists(other.Native("elsewhere.txt")) ? other.ReadFile("elsewhere.txt") : "";
      const Lines protocol = Scan(240, 1);
      EXPECT_TRUE(drive.Exists(std::string(record) == "Pics/_xpages.txt" ? "Pics/B/_FileIndex.html"
                                                                          : "Pics/A/_xthumbs/gone.jpg.jpg"));
      // Nothing was added to the file behind the second link.
      if (!before.empty()) {
        EXPECT_EQ(other.ReadFile("elsewhere.txt"), before);
      }
    }
  }
}

TEST_F(RecordTrustTest, APreviewFolderWithoutItsRecordIsTakenUpWhenItCanOnlyBeOurs) {
  // What a run that made the folder and then met a full disk leaves: the
  // folder, empty. Taken up when it is the scan's user's and nobody else
  // may write into it; anything else of the name stays somebody else's.
  const struct {
    const char* what;
    unsigned mode;
    bool another;       // another user's folder
    bool userFile;      // holds a file of the user's
    bool takenUp;
  } rows[] = {
      {"ours, empty", 0755, false, false, true},
      {"others may write into it", 0777, false, false, false},
      {"holds a file", 0755, false, true, false},
      {"another user's", 0755, true, false, false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    if (row.another && !platform::testing::RunningAsRoot()) continue;
    fs::remove_all(drive.Native("Pics"));
    Picture("Pics/A/a.jpg");
    drive.MakeDir("Pics/A/_xthumbs");
    fs::permissions(drive.Native("Pics/A/_xthumbs"), fs::perms(row.mode));
    if (row.userFile) drive.WriteFile("Pics/A/_xthumbs/notes.txt", "mine");
    if (row.another) {
      ASSERT_TRUE(platform::testing::ChangeOwner(drive.Native("Pics/A/_xthumbs"), platform::testing::kOtherUser,
                                                 platform::testing::kOtherUser));
    }
    const Lines protocol = Scan(240);
    EXPECT_EQ(drive.Exists("Pics/A/_xthumbs/a.jpg.jpg"), row.takenUp);
    EXPECT_EQ(Has(protocol, "Kept \"T:\\Pics\\A\\_xthumbs\": not written by Ombral."), !row.takenUp);
  }
}

TEST_F(RecordTrustTest, AFullDiskBetweenFolderAndRecordCostsOnlyThatRun) {
  drive.MakeDir("Disk");
  platform::testing::ScopedSmallDisk disk(drive.Native("Disk"), 1 << 20);
  if (!disk.Mounted()) GTEST_SKIP() << "mounting a small file system needs root";
  drive.MakeDir("Disk/Pics/A");
  ASSERT_TRUE(platform::testing::WriteTestPicture(drive.Native("Disk/Pics/A/a.jpg"), 120, 90));
  disk.Fill("filler");
  CRecordingScan full;
  full.m_strPath = "T:\\Disk\\Pics";
  full.m_nPreviewEdge = 240;
  full.RunScan();
  fs::remove(drive.Native("Disk/filler"));
  CRecordingScan again;
  again.m_strPath = "T:\\Disk\\Pics";
  again.m_nPreviewEdge = 240;
  ASSERT_TRUE(again.RunScan());
  EXPECT_FALSE(Has(again.protocol, "Kept \"T:\\Disk\\Pics\\A\\_xthumbs\": not written by Ombral."));
  EXPECT_TRUE(drive.Exists("Disk/Pics/A/_xthumbs/a.jpg.jpg"));
  EXPECT_EQ(again.GetErrorCount(), 0);
}
