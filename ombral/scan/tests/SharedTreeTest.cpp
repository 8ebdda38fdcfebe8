// Scans of a tree that others can write into: links, pipes and names
// planted in it, folders swapped while the scan runs, and a second scan at
// the same time. Nothing outside the tree may ever change.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "ScanFixture.h"
#include "platform/FolderHandle.h"
#include "platform/RunLock.h"
#include "platform/testing/TempDrive.h"
#include "platform/testing/TestPictures.h"

using platform::testing::FixedClock;
using platform::testing::TempDrive;

namespace {

namespace fs = std::filesystem;

class SharedTreeTest : public ScanFixture {
protected:
  TempDrive outside{'U'};
  FixedClock clock{2026, 12, 6, 14, 5, 9};

  void Picture(const std::string& relative) { ScanFixture::Picture(relative, 120, 90); }
  // Runs a scan of T:\Pics with a deadline: a scan that blocks fails the
  // test instead of hanging the suite.
  Lines Scan(CRecordingScan& scan, int edge = 0, int removeStale = 0) {
    scan.m_strPath = "T:\\Pics";
    scan.m_nPreviewEdge = edge;
    scan.m_bRemoveStale = removeStale;
    auto run = std::async(std::launch::async, [&] { return scan.RunScan(); });
    if (run.wait_for(std::chrono::seconds(60)) != std::future_status::ready) {
      ADD_FAILURE() << "the scan blocked";
      std::_Exit(1);
    }
    EXPECT_TRUE(run.get());
    return scan.protocol;
  }
  Lines Scan(int edge = 0, int removeStale = 0) {
    CRecordingScan scan;
    return Scan(scan, edge, removeStale);
  }
};

}  // namespace

TEST_F(SharedTreeTest, APageNameHeldByALinkIsNeverWrittenThrough) {
  outside.WriteFile("root-only.txt", "secret");
  Picture("Pics/a.jpg");
  Picture("Pics/A/b.jpg");
  for (const char* page : {"Pics/_xbmidx.html", "Pics/_FileIndexFrame.html", "Pics/_xidxbase.html",
                           "Pics/A/_FileIndex.html"})
    drive.Symlink(outside.Native("root-only.txt"), page);
  CRecordingScan scan;
  const Lines protocol = Scan(scan);
  for (const char* line : {"Cannot write file \"T:\\Pics\\_xbmidx.html\": a symbolic link holds its name.",
                           "Cannot write file \"T:\\Pics\\_FileIndexFrame.html\": a symbolic link holds its name.",
                           "Cannot write file \"T:\\Pics\\_xidxbase.html\": a symbolic link holds its name.",
                           "Cannot write file \"T:\\Pics\\A\\_FileIndex.html\": a symbolic link holds its name."})
    EXPECT_TRUE(Has(protocol, line)) << line;
  EXPECT_EQ(scan.GetErrorCount(), 4);
  EXPECT_EQ(outside.ReadFile("root-only.txt"), "secret");
  EXPECT_TRUE(fs::is_symlink(drive.Native("Pics/A/_FileIndex.html")));
  // The scan went on: the root's own page is there.
  EXPECT_TRUE(Contains(drive.ReadFile("Pics/_FileIndex.html"), "a.jpg"));
}

TEST_F(SharedTreeTest, PipesNeverBlockTheScan) {
  Picture("Pics/a.jpg");
  drive.MakeDir("Pics/A");
  drive.MakeDir("Pics/B");
  ASSERT_TRUE(platform::testing::MakeFifo(drive.Native("Pics/x.jpg")));
  ASSERT_TRUE(platform::testing::MakeFifo(drive.Native("Pics/_xpages.txt")));
  Picture("Pics/A/b.jpg");
  ASSERT_TRUE(platform::testing::MakeFifo(drive.Native("Pics/A/_FileIndex.html")));
  Picture("Pics/B/c.jpg");
  drive.MakeDir("Pics/B/_xthumbs");
  ASSERT_TRUE(platform::testing::MakeFifo(drive.Native("Pics/B/_xthumbs/_xthumbs.txt")));
  CRecordingScan scan;
  const Lines protocol = Scan(scan, 240);
  // The pipe of a picture's name is listed, with no preview.
  const std::string page = drive.ReadFile("Pics/_FileIndex.html");
  EXPECT_TRUE(Contains(page, "<IMG SRC=\"x.jpg\"><BR>\r\nImage: 1 - x.jpg (0 bytes)"));
  EXPECT_FALSE(drive.Exists("Pics/_xthumbs/x.jpg.jpg"));
  EXPECT_TRUE(drive.Exists("Pics/_xthumbs/a.jpg.jpg"));
  EXPECT_TRUE(Has(protocol, "Cannot write file \"T:\\Pics\\A\\_FileIndex.html\": a pipe, socket or device holds its name."));
  EXPECT_TRUE(Has(protocol, "Kept \"T:\\Pics\\_xpages.txt\": not written by Ombral."));
  EXPECT_TRUE(Has(protocol, "Kept \"T:\\Pics\\B\\_xthumbs\": not written by Ombral."));
}

TEST_F(SharedTreeTest, NamesWithBackslashesAreNeverReadAsPaths) {
  // "q\..\..\outside" in Pics would lead to T:\outside as a path.
  drive.WriteFile("outside/_FileIndex.html", "the user's own page");
  Picture("outside/x.jpg");
  const std::string pics = drive.Native("Pics");
  fs::create_directories(pics + "/q\\..\\..\\outside");
  ASSERT_TRUE(platform::testing::WriteTestPicture(pics + "/q\\..\\..\\outside/y.jpg", 120, 90));
  ASSERT_TRUE(platform::testing::WriteTestPicture(pics + "/a\\b.jpg", 120, 90));
  Picture("Pics/c.jpg");
  const Lines protocol = Scan();
  EXPECT_TRUE(Has(protocol, "Skipped \"q\\..\\..\\outside\" in \"T:\\Pics\": a name with a backslash cannot be shown "
                            "in a path."));
  EXPECT_TRUE(Has(protocol, "Skipped \"a\\b.jpg\" in \"T:\\Pics\": a name with a backslash cannot be shown in a "
                            "path."));
  EXPECT_EQ(drive.ReadFile("outside/_FileIndex.html"), "the user's own page");
  EXPECT_FALSE(fs::exists(pics + "/q\\..\\..\\outside/_FileIndex.html"));
  EXPECT_FALSE(Contains(drive.ReadFile("Pics/_xbmidx.html"), "outside"));
  EXPECT_TRUE(Has(protocol, "FOUND PATHS: 1"));
  EXPECT_TRUE(std::any_of(protocol.begin(), protocol.end(),
                          [](const std::string& line) { return line.rfind("FOUND IMAGES: 1 with ", 0) == 0; }));
}

TEST_F(SharedTreeTest, LinksToFoldersOutsideTheTreeAreNamedAndNotWalked) {
  Picture("Pics/In/a.jpg");
  outside.MakeDir("Elsewhere");
  outside.WriteSizedFile("Elsewhere/b.jpg", 10);
  drive.Symlink(outside.Native("Elsewhere"), "Pics/Out");
  drive.Symlink(drive.Native("Pics/In"), "Pics/Alias");  // inside the tree: walked once, where it is
  drive.Symlink(drive.Native("Pics"), "Pics/In/Up");      // a loop: not entered again
  const Lines protocol = Scan();
  EXPECT_TRUE(Has(protocol, "Not followed: \"T:\\Pics\\Out\" is a link to a folder outside the scanned tree."));
  EXPECT_FALSE(outside.Exists("Elsewhere/_FileIndex.html"));
  EXPECT_TRUE(drive.Exists("Pics/In/_FileIndex.html"));
  // The link's line leads to the folder's one page; the folder is counted once.
  const std::string index = drive.ReadFile("Pics/_xbmidx.html");
  EXPECT_TRUE(Contains(index, "<A HREF=\"In/_FileIndex.html\" target=\"Details\">Alias</A>"));
  EXPECT_FALSE(Contains(index, "Alias/_FileIndex.html"));
  EXPECT_TRUE(Contains(drive.ReadFile("Pics/In/_FileIndex.html"), "Path:  T:\\Pics\\In<BR>"));
  EXPECT_TRUE(Has(protocol, "FOUND PATHS: 2"));
  EXPECT_TRUE(std::any_of(protocol.begin(), protocol.end(),
                          [](const std::string& line) { return line.rfind("FOUND IMAGES: 1 with", 0) == 0; }));

  // On request links to folders outside are walked, like any other folder.
  CRecordingScan following;
  following.m_bFollowLinks = 1;
  const Lines followed = Scan(following);
  EXPECT_TRUE(outside.Exists("Elsewhere/_FileIndex.html"));
  EXPECT_TRUE(Has(followed, "FOUND PATHS: 3"));
}

TEST_F(SharedTreeTest, ALinkIntoAnotherFolderOfTheTreeWritesNothingThere) {
  // "shared/zz" leads to another user's "trip/day1": day1 gets its own page
  // at its real place (its own title, its own way to the top's script),
  // and the link a card that leads there.
  Picture("Pics/trip/day1/a.jpg");
  Picture("Pics/shared/b.jpg");
  drive.Symlink(drive.Native("Pics/trip/day1"), "Pics/shared/zz");
  CRecordingScan scan;
  scan.m_bGallery = 1;
  const Lines protocol = Scan(scan, 240);
  const std::string day1 = drive.ReadFile("Pics/trip/day1/_FileIndex.html");
  EXPECT_TRUE(Contains(day1, "<title>day1"));
  EXPECT_TRUE(Contains(day1, "src=\"../../_xgallery.js\""));
  EXPECT_TRUE(Contains(drive.ReadFile("Pics/shared/_FileIndex.html"), "href=\"../trip/day1/_FileIndex.html\""));
  EXPECT_FALSE(Contains(SearchIndexText(), "zz"));
  EXPECT_TRUE(std::any_of(protocol.begin(), protocol.end(),
                          [](const std::string& line) { return line.rfind("FOUND IMAGES: 2 with", 0) == 0; }));
}

TEST_F(SharedTreeTest, AFolderSwappedForALinkNeverMovesAWriteOrRemovalOutOfTheTree) {
  // Folders with a page of an earlier scan that is stale now, and one with
  // a picture; their twin outside the tree holds copies of those pages.
  for (int i = 0; i < 40; ++i) Picture("Pics/F" + std::to_string(100 + i) + "/old.jpg");
  Picture("Pics/Live/new.jpg");
  Scan();
  const std::string ourPage = drive.ReadFile("Pics/F120/_FileIndex.html");
  for (int i = 0; i < 40; ++i) fs::remove(drive.Native("Pics/F" + std::to_string(100 + i) + "/old.jpg"));
  outside.WriteFile("Victim/_FileIndex.html", ourPage);
  outside.WriteFile("Victim/new.jpg", "not a picture of the tree");
  drive.Symlink(outside.Native("Victim"), "Pics/Link");

  // While the scans run, the folders are swapped with the link back and
  // forth as fast as the system allows.
  std::atomic<bool> done{false};
  std::thread flipper([&] {
    const std::string link = drive.Native("Pics/Link");
    for (unsigned n = 0; !done.load(); ++n) {
      const std::string folder = drive.Native(n % 2 ? "Pics/F120" : "Pics/Live");
      platform::testing::ExchangeNames(folder, link);
      platform::testing::ExchangeNames(folder, link);
    }
  });
  for (int run = 0; run < 3; ++run) Scan(0, 1);
  done = true;
  flipper.join();
  EXPECT_EQ(outside.ReadFile("Victim/_FileIndex.html"), ourPage);
  EXPECT_EQ(outside.ReadFile("Victim/new.jpg"), "not a picture of the tree");
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(outside.Native("Victim"))) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"_FileIndex.html", "new.jpg"}));
}

TEST_F(SharedTreeTest, OneScanPerTreeAtATimeAndNoReaderCanStopIt) {
  Picture("Pics/a.jpg");
  {
    // Another run of the same user holds the tree's lock.
    const platform::FolderHandle top = platform::FolderHandle::Open(drive.Native("Pics"));
    const platform::RunLock other = platform::RunLock::Acquire(top, "ombral");
    ASSERT_TRUE(other.IsHeld());
    CRecordingScan scan;
    scan.m_strPath = "T:\\Pics";
    EXPECT_FALSE(scan.RunScan());
    EXPECT_EQ(scan.warnings, Lines{"Another scan of \"T:\\Pics\" is running. Try again when it has ended."});
    EXPECT_EQ(scan.Status(), "SCAN CANCELED!");
    EXPECT_FALSE(drive.Exists("Pics/_FileIndex.html"));
  }
  // Anyone who may read the folder may lock it: that stops no scan.
  const platform::testing::ScopedFolderLock reader(drive.Native("Pics"));
  ASSERT_TRUE(reader.Held());
  CRecordingScan scan;
  scan.m_strPath = "T:\\Pics";
  EXPECT_TRUE(scan.RunScan());
  EXPECT_TRUE(drive.Exists("Pics/_FileIndex.html"));
}

TEST_F(SharedTreeTest, AFileSystemAnotherUserMountedIsNeverEntered) {
  Picture("Pics/a.jpg");
  drive.MakeDir("Pics/Theirs");
  // Its server never answers a listing: a scan that looked inside would
  // wait for ever (the deadline of Scan would end the test).
  platform::testing::ScopedForeignFuseMount mount(drive.Native("Pics/Theirs"));
  if (!mount.Mounted()) GTEST_SKIP() << mount.Why();
  for (const bool gallery : {false, true}) {
    CRecordingScan scan;
    scan.m_bGallery = gallery;
    const Lines protocol = Scan(scan, gallery ? 240 : 0);
    EXPECT_TRUE(Has(protocol, "Not entered: \"T:\\Pics\\Theirs\" is a file system another user mounted."));
    EXPECT_TRUE(Has(protocol, "FOUND PATHS: 1"));
  }
}

TEST_F(SharedTreeTest, OnOneFileSystemOtherMountsAreNamedAndNotWalked) {
  Picture("Pics/a.jpg");
  drive.MakeDir("Pics/Disk");
  platform::testing::ScopedSmallDisk disk(drive.Native("Pics/Disk"), 1 << 20);
  if (!disk.Mounted()) GTEST_SKIP() << "mounting a small file system needs root";
  Picture("Pics/Disk/b.jpg");
  EXPECT_TRUE(Has(Scan(), "FOUND PATHS: 2"));  // walked, as any folder
  CRecordingScan scan;
  scan.m_bOneFileSystem = 1;
  const Lines protocol = Scan(scan);
  EXPECT_TRUE(Has(protocol, "Not entered: \"T:\\Pics\\Disk\" is on another file system."));
  EXPECT_TRUE(Has(protocol, "FOUND PATHS: 1"));
}
