// Scans that end early: killed at a write, or asked to stop. Every file is
// then either old or new, and the next run finishes the job without
// orphans.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "ScanFixture.h"
#include "platform/ReplacingFile.h"
#include "platform/testing/ChildProcess.h"
#include "platform/testing/TempDrive.h"
#include "platform/testing/TestPictures.h"

using platform::testing::FixedClock;
using platform::testing::TempDrive;

namespace {

namespace fs = std::filesystem;

bool StartsWith(const std::string& text, const std::string& start) { return text.rfind(start, 0) == 0; }

class InterruptedScanTest : public ScanFixture {
protected:
  // Runs a scan in a process of its own that is killed at the `nth` step
  // `step` of a file whose name ends in `suffix` (its clock stands at
  // 07.12.2026 09:00:00).
  void ScanKilledAt(const char* step, const std::string& suffix, int nth, int edge) {
    const platform::testing::ChildEnd end = platform::testing::RunChild(
        OMBRAL_KILLED_SCAN, {drive.Folder(), std::to_string(edge), step, suffix, std::to_string(nth)});
    ASSERT_TRUE(end.killed && end.signal == platform::testing::KillSignal()) << "the scan ended before the kill";
  }
  Lines Scan(int edge) { return ScanFixture::Scan({.edge = edge}); }
  std::vector<std::string> Leftovers() {
    std::vector<std::string> found;
    for (const auto& entry : fs::recursive_directory_iterator(drive.Native("Pics")))
      if (platform::ReplacingFile::IsTemporaryName(entry.path().filename().string())) found.push_back(entry.path());
    return found;
  }
};

}  // namespace

TEST_F(InterruptedScanTest, AKillLeavesEveryPageOldOrNewAndTheNextRunCleansUp) {
  for (int i = 0; i < 6; ++i) drive.WriteSizedFile("Pics/F" + std::to_string(i) + "/a.jpg", 100 + i);
  {
    FixedClock first{2026, 12, 6, 14, 5, 9};
    Scan(0);
  }
  std::vector<std::string> before;
  for (int i = 0; i < 6; ++i) before.push_back(drive.ReadFile("Pics/F" + std::to_string(i) + "/_FileIndex.html"));

  ScanKilledAt("rename", "_FileIndex.html", 4, 0);
  int renewed = 0;
  for (int i = 0; i < 6; ++i) {
    const std::string page = drive.ReadFile("Pics/F" + std::to_string(i) + "/_FileIndex.html");
    if (page == before[static_cast<std::size_t>(i)]) continue;
    // A new page is a whole page of the second run.
    EXPECT_NE(page.find("Date:  07.12.2026-09:00:00"), std::string::npos) << i;
    EXPECT_NE(page.find("</HTML>\r\n"), std::string::npos) << i;
    ++renewed;
  }
  EXPECT_EQ(renewed, 3);
  // Left behind: the page that was about to take its name and the pages
  // that waited for the writer. (The main index the run was writing has no
  // temporary file yet: one is made only once its bytes are complete and
  // differ from the old page's.)
  const std::vector<std::string> leftovers = Leftovers();
  ASSERT_GE(leftovers.size(), 1u);
  // One more of the killed run's in the top folder, which is cleaned up too.
  drive.WriteFile("Pics/" + fs::path(leftovers.front()).filename().string(), "half a main index");

  FixedClock third{2026, 12, 8, 9, 0, 0};
  const Lines protocol = Scan(0);
  for (const char* folder : {"T:\\Pics\\.#ombral.", "T:\\Pics\\F3\\.#ombral."})
    EXPECT_TRUE(std::any_of(protocol.begin(), protocol.end(), [&](const std::string& line) {
      return StartsWith(line, std::string("Removed \"") + folder) &&
             line.find("left behind by an interrupted scan") != std::string::npos;
    })) << folder;
  EXPECT_TRUE(Leftovers().empty());
}

TEST_F(InterruptedScanTest, AFirstRunKilledLeavesNoEmptyMainIndex) {
  drive.WriteSizedFile("Pics/A/a.jpg", 10);
  ScanKilledAt("rename", "_FileIndex.html", 1, 0);
  EXPECT_FALSE(drive.Exists("Pics/_xbmidx.html"));
  EXPECT_FALSE(drive.Exists("Pics/A/_FileIndex.html"));
}

TEST_F(InterruptedScanTest, PreviewsOfAKilledRunAreNeitherOrphanedNorMadeTwice) {
  for (int i = 0; i < 6; ++i) Picture("Pics/p" + std::to_string(i) + ".jpg");
  // Killed just before the third preview takes its name: two are there,
  // the third is noted in the record but was never published.
  ScanKilledAt("rename", ".jpg.jpg", 3, 200);
  Picture("Pics/late.jpg");
  const Lines second = Scan(200);
  for (const std::string& line : second) EXPECT_EQ(line.find("not written by Ombral"), std::string::npos) << line;
  EXPECT_TRUE(Has(second, "PREVIEWS: 5 made, 2 unchanged"));
  EXPECT_TRUE(Leftovers().empty());
  EXPECT_TRUE(Has(Scan(200), "PREVIEWS: 0 made, 7 unchanged"));

  // A picture that goes is followed by its preview, also after a kill.
  ScanKilledAt("rename", "_FileIndex.html", 1, 200);
  fs::remove(drive.Native("Pics/p0.jpg"));
  CRecordingScan scan;
  scan.m_strPath = "T:\\Pics";
  scan.m_nPreviewEdge = 200;
  scan.m_bRemoveStale = 1;
  ASSERT_TRUE(scan.RunScan());
  EXPECT_TRUE(Has(scan.protocol, "Removed stale preview \"T:\\Pics\\_xthumbs\\p0.jpg.jpg\"."));
}

TEST_F(InterruptedScanTest, AGalleryRunKilledAtALargePreviewHadNotedItFirst) {
  Picture("Pics/small.jpg");  // no larger than its preview: a record of the third form
  ScanFixture::Scan({.gallery = true});
  ASSERT_EQ(drive.ReadFile("Pics/_xthumbs/_xthumbs.txt").rfind("Ombral previews 3\n", 0), 0u);
  Picture("Pics/big.jpg", 800, 600);
  ScanKilledAt("rename", ".2x.jpg", 1, -1);
  // The record took the fourth form to name the large preview before it
  // could take its name.
  const std::string record = drive.ReadFile("Pics/_xthumbs/_xthumbs.txt");
  EXPECT_EQ(record.rfind("Ombral previews 4\n", 0), 0u);
  EXPECT_TRUE(Contains(record, " 480 360 - big.jpg\n")) << record;
  EXPECT_FALSE(drive.Exists("Pics/_xthumbs/big.jpg.2x.jpg"));

  const Lines next = ScanFixture::Scan({.gallery = true});
  for (const std::string& line : next) EXPECT_EQ(line.find("not written by Ombral"), std::string::npos) << line;
  EXPECT_TRUE(Has(next, "PREVIEWS: 1 made, 1 unchanged, 0 found again by content"));
  EXPECT_TRUE(drive.Exists("Pics/_xthumbs/big.jpg.2x.jpg"));
  EXPECT_TRUE(Leftovers().empty());
}

TEST_F(InterruptedScanTest, AStopRequestEndsTheRunAndKeepsTheOldMainIndex) {
  for (int i = 0; i < 5; ++i) drive.WriteSizedFile("Pics/F" + std::to_string(i) + "/a.jpg", 10);
  {
    FixedClock first{2026, 12, 6, 14, 5, 9};
    Scan(0);
  }
  const std::string index = drive.ReadFile("Pics/_xbmidx.html");
  // A front end that asks to stop once the second folder is done.
  class StoppingScan : public CRecordingScan {
  protected:
    void OnFolderScanned(int done, int) override {
      if (done == 2) RequestStop();
    }
  };
  FixedClock later{2026, 12, 7, 9, 0, 0};
  StoppingScan scan;
  scan.m_strPath = "T:\\Pics";
  EXPECT_FALSE(scan.RunScan());
  EXPECT_EQ(scan.Status(), "SCAN CANCELED!");
  EXPECT_EQ(drive.ReadFile("Pics/_xbmidx.html"), index);
  EXPECT_NE(drive.ReadFile("Pics/F0/_FileIndex.html").find("07.12.2026"), std::string::npos);  // done before the stop
  EXPECT_NE(drive.ReadFile("Pics/F4/_FileIndex.html").find("06.12.2026"), std::string::npos);  // not reached
  EXPECT_TRUE(Leftovers().empty());
}
