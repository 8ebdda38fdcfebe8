// Removing what earlier scans wrote and this one no longer needs: only what
// is provably ours, only inside the tree.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "ScanFixture.h"
#include "platform/testing/TempDrive.h"
#include "platform/testing/TestPictures.h"

using platform::testing::TempDrive;

namespace {


class StaleFilesTest : public ScanFixture {
protected:
  void Picture(const std::string& relative) { ScanFixture::Picture(relative, 120, 90); }
  Lines Scan(int edge, int removeStale, int dryRun = 0) {
    return ScanFixture::Scan({.edge = edge, .removeStale = removeStale != 0, .dryRun = dryRun != 0});
  }
  // A: a folder that had pictures with previews and lost them all; B: a
  // folder that never had one, with the user's own file of the page's name;
  // C: a folder that keeps one of its two pictures.
  void MakeStaleTree() {
    Picture("Pics/A/a1.jpg");
    Picture("Pics/A/a2.png");
    Picture("Pics/C/keep.jpg");
    Picture("Pics/C/gone.jpg");
    Scan(240, 0);
    std::filesystem::remove(drive.Native("Pics/A/a1.jpg"));
    std::filesystem::remove(drive.Native("Pics/A/a2.png"));
    std::filesystem::remove(drive.Native("Pics/C/gone.jpg"));
    drive.WriteFile("Pics/B/_FileIndex.html", "<HTML>\r\n<HEAD>\r\nmy own page</HTML>\r\n");
    drive.WriteFile("Pics/A/_xthumbs/notes.txt", "the user's");
  }
};

}  // namespace

TEST_F(StaleFilesTest, RemovesStalePagesAndPreviewsAndKeepsTheUsersFiles) {
  MakeStaleTree();
  const Lines protocol = Scan(0, 1);
  for (const char* line :
       {"Removed stale page \"T:\\Pics\\A\\_FileIndex.html\".",
        "Removed stale preview \"T:\\Pics\\A\\_xthumbs\\a1.jpg.jpg\".",
        "Removed stale preview \"T:\\Pics\\A\\_xthumbs\\a2.png.jpg\".",
        "Kept \"T:\\Pics\\B\\_FileIndex.html\": not written by Ombral.",
        "Removed stale preview \"T:\\Pics\\C\\_xthumbs\\gone.jpg.jpg\".", "REMOVED FILES: 4"})
    EXPECT_TRUE(Has(protocol, line)) << line;
  EXPECT_FALSE(drive.Exists("Pics/A/_FileIndex.html"));
  EXPECT_FALSE(drive.Exists("Pics/A/_xthumbs/a1.jpg.jpg"));
  EXPECT_TRUE(drive.Exists("Pics/A/_xthumbs/notes.txt"));  // so the folder stays
  EXPECT_EQ(drive.ReadFile("Pics/B/_FileIndex.html"), "<HTML>\r\n<HEAD>\r\nmy own page</HTML>\r\n");
  EXPECT_TRUE(drive.Exists("Pics/C/_xthumbs/keep.jpg.jpg"));
  EXPECT_FALSE(drive.Exists("Pics/C/_xthumbs/gone.jpg.jpg"));
  EXPECT_TRUE(drive.Exists("Pics/C/_FileIndex.html"));
  EXPECT_TRUE(drive.Exists("Pics/_xbmidx.html"));

  // Nothing is left to do; a preview folder that empties goes with its last preview.
  EXPECT_TRUE(Has(Scan(0, 1), "REMOVED FILES: 0"));
  std::filesystem::remove(drive.Native("Pics/C/keep.jpg"));
  const Lines last = Scan(0, 1);
  EXPECT_TRUE(Has(last, "Removed stale preview folder \"T:\\Pics\\C\\_xthumbs\"."));
  EXPECT_FALSE(drive.Exists("Pics/C/_xthumbs"));
  EXPECT_FALSE(drive.Exists("Pics/C/_FileIndex.html"));
}

TEST_F(StaleFilesTest, DryRunNamesButRemovesNothing) {
  MakeStaleTree();
  const Lines protocol = Scan(0, 1, 1);
  EXPECT_TRUE(Has(protocol, "Would remove stale page \"T:\\Pics\\A\\_FileIndex.html\"."));
  EXPECT_TRUE(Has(protocol, "Would remove stale preview \"T:\\Pics\\C\\_xthumbs\\gone.jpg.jpg\"."));
  EXPECT_TRUE(Has(protocol, "STALE FILES: 4 (dry run, nothing removed)"));
  EXPECT_TRUE(drive.Exists("Pics/A/_FileIndex.html"));
  EXPECT_TRUE(drive.Exists("Pics/A/_xthumbs/a1.jpg.jpg"));
  EXPECT_TRUE(drive.Exists("Pics/C/_xthumbs/gone.jpg.jpg"));
  // The record still knows them, so a real run can remove them later.
  EXPECT_TRUE(Has(Scan(0, 1), "REMOVED FILES: 4"));
}

TEST_F(StaleFilesTest, NeverFollowsALinkOutOfTheTree) {
  TempDrive outside('U');
  // An old page of ours outside the tree, reached through a folder link.
  Picture("Pics/Out/x.jpg");
  Scan(0, 0);
  const std::string ourPage = drive.ReadFile("Pics/Out/_FileIndex.html");
  outside.WriteFile("Elsewhere/_FileIndex.html", ourPage);
  outside.WriteFile("Other/page.html", ourPage);
  std::filesystem::remove_all(drive.Native("Pics/Out"));
  drive.Symlink(outside.Native("Elsewhere"), "Pics/Out");
  // A page name that is a link to a page of ours elsewhere.
  drive.MakeDir("Pics/Linked");
  drive.Symlink(outside.Native("Other/page.html"), "Pics/Linked/_FileIndex.html");
  const Lines protocol = Scan(0, 1);
  EXPECT_TRUE(Has(protocol, "Not followed: \"T:\\Pics\\Out\" is a link to a folder outside the scanned tree."));
  EXPECT_TRUE(Has(protocol, "Kept \"T:\\Pics\\Linked\\_FileIndex.html\": not written by Ombral."));
  EXPECT_EQ(outside.ReadFile("Elsewhere/_FileIndex.html"), ourPage);
  EXPECT_EQ(outside.ReadFile("Other/page.html"), ourPage);
  EXPECT_TRUE(Has(protocol, "REMOVED FILES: 0"));
}

TEST_F(StaleFilesTest, PreviewReplacedByTheUserStays) {
  Picture("Pics/a.jpg");
  Scan(240, 0);
  std::filesystem::remove(drive.Native("Pics/a.jpg"));
  drive.WriteFile("Pics/_xthumbs/a.jpg.jpg", "the user's picture now");
  const Lines protocol = Scan(0, 1);
  EXPECT_TRUE(Has(protocol, "Kept \"T:\\Pics\\_xthumbs\\a.jpg.jpg\": not written by Ombral."));
  EXPECT_EQ(drive.ReadFile("Pics/_xthumbs/a.jpg.jpg"), "the user's picture now");
}

TEST_F(StaleFilesTest, UnreadableFolderIsLeftAlone) {
  Picture("Pics/A/a.jpg");
  Scan(0, 0);
  std::filesystem::remove(drive.Native("Pics/A/a.jpg"));
  // The unprivileged user rewrites the top-level pages of the first scan.
  drive.Chmod("Pics", 0777);
  for (const char* page : {"Pics/_xbmidx.html", "Pics/_FileIndexFrame.html", "Pics/_xidxbase.html"})
    drive.Chmod(page, 0666);
  drive.Chmod("Pics/A", 0333);  // can be written and entered, not listed
  platform::testing::ScopedUnprivileged user;
  if (!user.Active()) GTEST_SKIP() << "cannot drop root privileges to test an unreadable folder";
  const Lines protocol = Scan(0, 1);
  EXPECT_TRUE(Has(protocol, "Cannot search path \"T:\\Pics\\A\": Permission denied."));
  EXPECT_TRUE(Has(protocol, "REMOVED FILES: 0"));
  EXPECT_TRUE(drive.Exists("Pics/A/_FileIndex.html"));
}
