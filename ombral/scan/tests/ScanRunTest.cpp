#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "ScanFixture.h"
#include "platform/FileSystem.h"
#include "platform/ReplacingFile.h"
#include "platform/testing/Faults.h"
#include "platform/testing/TempDrive.h"

using platform::testing::FixedClock;
using platform::testing::TempDrive;

namespace {


class ScanRunTest : public ScanFixture {
protected:
  FixedClock clock{2026, 12, 6, 14, 5, 9};
  CRecordingScan scan;

  // The example tree: A with two matching files, B with none.
  void MakeExampleTree() {
    drive.WriteSizedFile("Pics/A/one.jpg", 1000);
    drive.WriteSizedFile("Pics/A/two.gif", 3000);
    drive.WriteFile("Pics/B/notes.txt", "x");
    scan.m_strPath = "T:\\Pics";
  }

  // The lines of the main index between its head and its footer.
  Lines MainIndexLines() {
    const std::string page = drive.ReadFile("Pics/_xbmidx.html");
    const std::string startMark = "</P>\r\n<HR>\r\n\r\n</P>\r\n<P>";
    const std::size_t start = page.find(startMark);
    const std::size_t end = page.find("\r\n\r\n<BR>\r\n<BR>\r\n</P>\r\n<HR>\r\nfile contains");
    Lines lines;
    std::string body = page.substr(start + startMark.size(), end - start - startMark.size());
    for (std::size_t pos; (pos = body.find("\r\n")) != std::string::npos; body.erase(0, pos + 2))
      lines.push_back(body.substr(0, pos));
    return lines;
  }
};

}  // namespace

TEST_F(ScanRunTest, ValidationFailuresCancelWithTheirMessage) {
  drive.WriteFile("Pics/_FileIndex.html");
  drive.WriteFile("Pics/_FileIndexFrame.html");
  drive.WriteFile("Pics/A/one.jpg");
  struct Row {
    const char* path;
    const char* index;
    const char* frame;
    int overwrite;
    const char* message;
  };
  const Row rows[] = {
      {"", "_FileIndex.html", "f.html", 1, "Need a valid path statement to create the index."},
      {"T:\\Nowhere", "_FileIndex.html", "f.html", 1, "Path \"T:\\Nowhere\" could not be found."},
      {"T:\\Pics\\A\\one.jpg", "_FileIndex.html", "f.html", 1, "Path \"T:\\Pics\\A\\one.jpg\" is not a folder."},
      {"T:\\Pics", "a*b.html", "f?.html", 1,
       "The index filename \"a*b.html\" is not a valid filename (contains invalid characters)."},
      {"T:\\Pics", "ok.html", "sub\\f.html", 1,
       "The html frame filename \"sub\\f.html\" is not a valid filename (contains invalid characters)."},
      {"T:\\Pics", "_FileIndex.html", "_FileIndexFrame.html", 0,
       "The file \"_FileIndex.html\" already exists, please choose \"overwrite\"."},
      {"T:\\Pics", "new.html", "_FileIndexFrame.html", 0,
       "The file \"_FileIndexFrame.html\" already exists, please choose \"overwrite\"."},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.message);
    CRecordingScan run;
    run.m_strPath = row.path;
    run.m_strIndexFile = row.index;
    run.m_strFrameFile = row.frame;
    run.m_bOverwrite = row.overwrite;
    EXPECT_FALSE(run.RunScan());
    EXPECT_EQ(run.warnings, Lines{row.message});
    EXPECT_EQ(run.protocol, Lines{row.message});
    EXPECT_EQ(run.m_strMessage, row.message);
    EXPECT_EQ(run.statuses, (Lines{"Scanning...", "SCAN CANCELED!"}));
  }
  EXPECT_FALSE(drive.Exists("Pics/_xbmidx.html"));  // nothing written
}

TEST_F(ScanRunTest, RecursiveRunOverTheExampleTree) {
  MakeExampleTree();
  ASSERT_TRUE(scan.RunScan());
  EXPECT_EQ(scan.protocol, (Lines{"PATH: T:\\Pics", "", "", "CREATED FILES: 1", "FOUND IMAGES: 2 with 4 KB",
                                  "FOUND PATHS: 3"}));
  EXPECT_EQ(scan.statuses, (Lines{"Scanning...", "SCAN COMPLETED"}));
  EXPECT_EQ(scan.clears, 1);
  EXPECT_EQ(MainIndexLines(),
            (Lines{"Pics<BR>", "&nbsp;&nbsp;<A HREF=\"A/_FileIndex.html\" target=\"Details\">A</A><BR>", "B<BR>"}));
  const std::string index = drive.ReadFile("Pics/_xbmidx.html");
  EXPECT_NE(index.find("file contains<BR>2 links<BR>with 4 KB (images)"), std::string::npos);
  EXPECT_TRUE(drive.Exists("Pics/_FileIndexFrame.html"));
  EXPECT_TRUE(drive.Exists("Pics/_xidxbase.html"));
  EXPECT_FALSE(drive.Exists("Pics/_FileIndex.html"));
  EXPECT_FALSE(drive.Exists("Pics/B/_FileIndex.html"));
  const std::string page = drive.ReadFile("Pics/A/_FileIndex.html");
  EXPECT_NE(page.find("Stats: 2 images (4000 bytes)<BR>\r\n</P>\r\n<HR>\r\n<P ALIGN=\"CENTER\"><IMG SRC=\"one.jpg\">"),
            std::string::npos);
  EXPECT_NE(page.find("Image: 1 - two.gif (3000 bytes)"), std::string::npos);
}

// Relative and POSIX roots are scanned in their absolute drive form: one
// kind of separator in every path the run shows.
TEST_F(ScanRunTest, ARelativeRootScansAsItsAbsolutePathTimeAfterTime) {
  MakeExampleTree();
  ASSERT_TRUE(scan.RunScan());
  const std::string absolute = drive.ReadFile("Pics/_xbmidx.html");
  // From the tree's parent, twice: the working folder stays where it was.
  ASSERT_TRUE(platform::SetCurrentDirectoryPath("T:\\"));
  const std::string native = drive.Native("Pics");
  for (const char* typed : {"Pics", "Pics", ".\\Pics", native.c_str()}) {
    SCOPED_TRACE(typed);
    CRecordingScan relative;
    relative.m_strPath = typed;
    ASSERT_TRUE(relative.RunScan());
    EXPECT_EQ(relative.protocol.front(), "PATH: T:\\Pics");
    EXPECT_EQ(drive.ReadFile("Pics/_xbmidx.html"), absolute);
    EXPECT_EQ(platform::GetCurrentDirectoryPath(), "T:\\");
  }
}

TEST_F(ScanRunTest, IgnoringEmptyPathsLeavesOnlyFoldersWithPages) {
  MakeExampleTree();
  scan.m_bIgnoreEmptyPaths = 1;
  ASSERT_TRUE(scan.RunScan());
  EXPECT_EQ(MainIndexLines(), (Lines{"&nbsp;&nbsp;<A HREF=\"A/_FileIndex.html\" target=\"Details\">A</A><BR>"}));
}

TEST_F(ScanRunTest, WithoutRecursionOnlyTheRootIsScanned) {
  MakeExampleTree();
  drive.WriteSizedFile("Pics/top.png", 100);
  scan.m_bRecurse = 0;
  ASSERT_TRUE(scan.RunScan());
  EXPECT_EQ(scan.protocol.back(), "FOUND PATHS: 1");
  EXPECT_FALSE(drive.Exists("Pics/_xbmidx.html"));
  EXPECT_FALSE(drive.Exists("Pics/_FileIndexFrame.html"));
  EXPECT_FALSE(drive.Exists("Pics/_xidxbase.html"));
  EXPECT_FALSE(drive.Exists("Pics/A/_FileIndex.html"));
  const std::string page = drive.ReadFile("Pics/_FileIndex.html");
  EXPECT_NE(page.find("</P>\r\nStats: 1 images (100 bytes)<BR>\r\n<HR>\r\n\r\n</P>\r\n<P><IMG SRC=\"top.png\">"),
            std::string::npos);
}

TEST_F(ScanRunTest, LoggingReportsEachFolderAndFileInOrder) {
  drive.WriteSizedFile("Pics/a.jpg", 10);
  scan.m_strPath = "T:\\Pics";
  scan.m_bNoLogging = 0;
  ASSERT_TRUE(scan.RunScan());
  EXPECT_EQ(scan.protocol, (Lines{"PATH: T:\\Pics", "", "Create and sort directory list...", "1 paths to scan...",
                                  "", "Search path: T:\\Pics", "Get path statistics on path T:\\Pics...",
                                  "    adding image link: a.jpg", "", "CREATED FILES: 1",
                                  "FOUND IMAGES: 1 with 0 KB", "FOUND PATHS: 1"}));
}

TEST_F(ScanRunTest, FilterIsASubstringTestWithoutCase) {
  struct Row {
    const char* name;
    const char* filter;
    int matches;
  };
  const Row rows[] = {{"a.jpg", "jpg", 1},        {"a.jpg", "GIF|JPG", 1}, {"a.JPG", "gif|jpg", 1},
                      {"a.pg", "GIF|JPG", 1},      {"noext", "GIF", 1},     {"a.png", "GIF|JPG", 0},
                      {"a..jpg", "JPG", 1},        {"a.tar.gz", "TAR", 0},  {"x.", "BMP", 1}};
  for (const Row& row : rows) EXPECT_EQ(scan.IsFilterMatch(row.name, row.filter), row.matches) << row.name;
}

TEST_F(ScanRunTest, OverwriteOffStillScansWhenTheRootIsClean) {
  MakeExampleTree();
  scan.m_bOverwrite = 0;
  EXPECT_TRUE(scan.RunScan());
  EXPECT_TRUE(drive.Exists("Pics/A/_FileIndex.html"));
}

TEST_F(ScanRunTest, UnsearchableFolderIsReportedAndTheRestScanned) {
  drive.WriteSizedFile("Pics/A/one.jpg", 2048);
  drive.WriteSizedFile("Pics/B/two.jpg", 1024);
  drive.WriteSizedFile("Pics/C/three.jpg", 1024);
  // Pages are written by the unprivileged user: open the tree to it, but B
  // can only be entered, not read.
  for (const char* folder : {"Pics", "Pics/A", "Pics/C"}) drive.Chmod(folder, 0777);
  drive.Chmod("Pics/B", 0111);
  scan.m_strPath = "T:\\Pics";
  platform::testing::ScopedUnprivileged user;
  if (!user.Active()) GTEST_SKIP() << "cannot drop root privileges to test an unreadable folder";
  ASSERT_TRUE(scan.RunScan());
  EXPECT_EQ(scan.protocol, (Lines{"PATH: T:\\Pics", "", "Cannot search path \"T:\\Pics\\B\": Permission denied.", "",
                                  "CREATED FILES: 2", "FOUND IMAGES: 2 with 3 KB", "FOUND PATHS: 4"}));
  // B may be entered but not listed by others: the shared main index leaves
  // it out.
  EXPECT_EQ(MainIndexLines(), (Lines{"Pics<BR>", "&nbsp;&nbsp;<A HREF=\"A/_FileIndex.html\" target=\"Details\">A</A><BR>",
                                     "&nbsp;&nbsp;<A HREF=\"C/_FileIndex.html\" target=\"Details\">C</A><BR>"}));
}

TEST_F(ScanRunTest, MainIndexThatCannotBeWrittenIsReportedAndTheTreeStillScanned) {
  MakeExampleTree();
  drive.MakeDir("Pics/_xbmidx.html");  // a folder in the way
  ASSERT_TRUE(scan.RunScan());
  EXPECT_EQ(scan.protocol, (Lines{"PATH: T:\\Pics", "",
                                  "Cannot write file \"T:\\Pics\\_xbmidx.html\": a folder holds its name.", "",
                                  "CREATED FILES: 1", "FOUND IMAGES: 2 with 4 KB", "FOUND PATHS: 4"}));
  EXPECT_EQ(scan.GetErrorCount(), 1);
  EXPECT_TRUE(scan.warnings.empty());
  EXPECT_TRUE(drive.Exists("Pics/_FileIndexFrame.html"));
  EXPECT_TRUE(drive.Exists("Pics/A/_FileIndex.html"));
}

TEST_F(ScanRunTest, FolderPageThatCannotBeOpenedIsReportedPerFile) {
  MakeExampleTree();
  drive.MakeDir("Pics/A/_FileIndex.html");  // a folder in the way, listed like any other
  ASSERT_TRUE(scan.RunScan());
  const std::string line = "Cannot write file \"T:\\Pics\\A\\_FileIndex.html\": a folder holds its name.";
  // The pictures are found, though no page could show them.
  EXPECT_EQ(scan.protocol, (Lines{"PATH: T:\\Pics", "", line, line, "", "CREATED FILES: 0",
                                  "FOUND IMAGES: 2 with 4 KB", "FOUND PATHS: 4"}));
  EXPECT_EQ(MainIndexLines(), (Lines{"Pics<BR>", "A<BR>", "&nbsp;&nbsp;_FileIndex.html<BR>", "B<BR>"}));
}

TEST_F(ScanRunTest, AFullDiskKeepsEveryOldPageWholeAndIsReported) {
  platform::testing::ScopedSmallDisk disk(drive.Native("Disk"), 256 * 1024);
  if (!disk.Mounted()) GTEST_SKIP() << "mounting a small file system needs root";
  for (const char* folder : {"A", "B", "C"})
    for (int i = 0; i < 3; ++i) drive.WriteSizedFile("Disk/Pics/" + std::string(folder) + "/p" + std::to_string(i) + ".jpg", 100);
  scan.m_strPath = "T:\\Disk\\Pics";
  ASSERT_TRUE(scan.RunScan());
  auto pages = [&] {
    Lines texts;
    for (const char* page : {"Disk/Pics/_xbmidx.html", "Disk/Pics/A/_FileIndex.html", "Disk/Pics/B/_FileIndex.html",
                             "Disk/Pics/C/_FileIndex.html"})
      texts.push_back(drive.ReadFile(page));
    return texts;
  };
  const Lines before = pages();
  disk.Fill("filler");
  // An hour later every page differs, and none can be written.
  FixedClock later{2026, 12, 6, 15, 5, 9};
  CRecordingScan again;
  again.m_strPath = "T:\\Disk\\Pics";
  ASSERT_TRUE(again.RunScan());
  for (const char* line : {"Cannot write file \"T:\\Disk\\Pics\\A\\_FileIndex.html\": No space left on device.",
                           "Cannot write file \"T:\\Disk\\Pics\\_xbmidx.html\": No space left on device."})
    EXPECT_NE(std::find(again.protocol.begin(), again.protocol.end(), line), again.protocol.end()) << line;
  EXPECT_GE(again.GetErrorCount(), 4);
  EXPECT_EQ(pages(), before);
  for (const auto& entry : std::filesystem::recursive_directory_iterator(drive.Native("Disk/Pics")))
    EXPECT_EQ(entry.path().filename().string().rfind(".#", 0), std::string::npos) << entry.path();
}

TEST_F(ScanRunTest, AWriteThatFailsLeavesTheOldPageAndIsReported) {
  MakeExampleTree();
  ASSERT_TRUE(scan.RunScan());
  const std::string before = drive.ReadFile("Pics/A/_FileIndex.html");
  // Every write of the page of folder A fails, as on a full disk.
  platform::testing::FailWritesContaining("Path:  T:\\Pics\\A<BR>", ENOSPC);
  FixedClock later{2026, 12, 6, 15, 5, 9};
  CRecordingScan again;
  again.m_strPath = "T:\\Pics";
  const bool completed = again.RunScan();
  platform::testing::ResetFaults();
  ASSERT_TRUE(completed);
  EXPECT_NE(std::find(again.protocol.begin(), again.protocol.end(), "Cannot write file \"T:\\Pics\\A\\_FileIndex.html\": No space left on device."),
            again.protocol.end());
  EXPECT_EQ(again.GetErrorCount(), 1);
  EXPECT_EQ(drive.ReadFile("Pics/A/_FileIndex.html"), before);
  EXPECT_NE(drive.ReadFile("Pics/_xbmidx.html").find("15:05:09"), std::string::npos);  // the others were written
}

TEST_F(ScanRunTest, SizesBeyondFourGigabytesAreCountedInFull) {
  // A sparse file: 5 GiB that take no space.
  drive.WriteFile("Pics/big.avi");
  std::filesystem::resize_file(drive.Native("Pics/big.avi"), 5ull << 30);
  scan.m_strPath = "T:\\Pics";
  ASSERT_TRUE(scan.RunScan());
  EXPECT_EQ(scan.protocol[scan.protocol.size() - 2], "FOUND IMAGES: 1 with 5242880 KB");
  EXPECT_NE(drive.ReadFile("Pics/_FileIndex.html").find("Image: 0 - big.avi (5368709120 bytes)"), std::string::npos);
}
