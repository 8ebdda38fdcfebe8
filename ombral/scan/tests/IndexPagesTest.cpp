#include <gtest/gtest.h>

#include <string>

#include "ScanFixture.h"
#include "ombral/HtmlFile.h"
#include "platform/testing/TempDrive.h"

using platform::testing::FixedClock;
using platform::testing::TempDrive;

namespace {

const std::string kHead =
    "<HTML>\r\n<HEAD>\r\n"
    "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\r\n"
    "<TITLE>OMBRAL - Picture Index by Arne Velde, Tessaly Works</TITLE>\r\n</HEAD>\r\n\r\n<P>\r\n";
const std::string kCredit =
    "Created with Ombral by Arne Velde - <A HREF=\"http://www.tessalyworks.example/\">TessalyWorks</A>";
const std::string kEnd = "\r\n</P>\r\n</BODY BGCOLOR=#C0C0C0>\r\n</HTML>\r\n";

// Writes with `write` into a fresh file of the drive and returns its bytes.
template <typename Write>
std::string Page(TempDrive& drive, Write write) {
  CHtmlFile file;
  auto folder = std::make_shared<platform::FolderHandle>(platform::FolderHandle::Open(drive.WinPath()));
  EXPECT_TRUE(file.Open(folder, "page.html", drive.WinPath("page.html")));
  write(file);
  EXPECT_TRUE(file.Close());
  return drive.ReadFile("page.html");
}

class IndexPagesTest : public ScanFixture {
protected:
  FixedClock clock{2026, 12, 6, 14, 5, 9};
  CRecordingScan scan;
};

}  // namespace

TEST_F(IndexPagesTest, FolderPageCentredFormWholePage) {
  const std::string page = Page(drive, [&](CHtmlFile& file) {
    scan.WriteIndexHeader(file, "T:\\Pics\\2001", 0, 1, 2048, 1);
    scan.WriteImageEntry(file, 0, "a.jpg", 2048);
    scan.WriteIndexFooter(file, 1, 0, 2048);
  });
  EXPECT_EQ(page, kHead +
                      "<H1 ALIGN=\"CENTER\"><FONT COLOR=\"0000FF\">INDEX</FONT></H1>\r\n"
                      "Date:  06.12.2026-14:05:09<BR>\r\n"
                      "Path:  T:\\Pics\\2001<BR>\r\n"
                      "Stats: 1 images (2048 bytes)<BR>\r\n"
                      "</P>\r\n"
                      "<HR>\r\n"
                      "<P ALIGN=\"CENTER\"><IMG SRC=\"a.jpg\"><BR>\r\n"
                      "Image: 0 - a.jpg (2048 bytes)<BR>\r\n"
                      "<BR>\r\n"
                      "\r\n"
                      "\r\n"
                      "<BR>\r\n"
                      "<BR>\r\n"
                      "</P>\r\n"
                      "<HR>\r\n"
                      "1 images with 2 KB<BR><BR>\r\n" +
                      kCredit + kEnd);
}

TEST_F(IndexPagesTest, FolderPagePlainFormAndMainIndexHead) {
  const std::string plain = Page(drive, [&](CHtmlFile& file) {
    scan.WriteIndexHeader(file, "T:\\Pics", 0, 0, 10, 2);
    scan.WriteImageEntry(file, 0, "a.jpg", 10);
  });
  EXPECT_EQ(plain, kHead +
                       "<H1 ALIGN=\"CENTER\"><FONT COLOR=\"0000FF\">INDEX</FONT></H1>\r\n"
                       "Date:  06.12.2026-14:05:09<BR>\r\nPath:  T:\\Pics<BR>\r\n</P>\r\n"
                       "Stats: 2 images (10 bytes)<BR>\r\n<HR>\r\n\r\n</P>\r\n"
                       "<P><IMG SRC=\"a.jpg\"><BR>\r\nImage: 0 - a.jpg (10 bytes)<BR>\r\n<BR>\r\n");
  const std::string main = Page(drive, [&](CHtmlFile& file) {
    scan.WriteIndexHeader(file, "T:\\Pics", 1, 0, 0, 0);
    scan.WriteIndexFooter(file, 0, 1, 0);
  });
  // A main index without lines: the head directly followed by the footer.
  EXPECT_EQ(main, kHead +
                      "<H1 ALIGN=\"CENTER\"><FONT COLOR=\"0000FF\">MAIN INDEX</FONT></H1>\r\n"
                      "Date: 06.12.2026-14:05:09<BR>\r\nPath: T:\\Pics<BR>\r\n</P>\r\n<HR>\r\n\r\n</P>\r\n<P>"
                      "\r\n\r\n<BR>\r\n<BR>\r\n</P>\r\n<HR>\r\nfile contains<BR>0 links<BR>with 0 KB (images)<HR>\r\n" +
                      kEnd);
}

TEST_F(IndexPagesTest, FooterKilobytesRoundToNearest) {
  for (const auto& [bytes, shown] : {std::pair{0, "0"}, {511, "0"}, {513, "1"}, {4000, "4"}, {1048576, "1024"}}) {
    const std::string page = Page(drive, [&](CHtmlFile& file) { scan.WriteIndexFooter(file, 2, 0, bytes); });
    EXPECT_NE(page.find(std::string("2 images with ") + shown + " KB<BR><BR>"), std::string::npos) << bytes;
  }
}

TEST_F(IndexPagesTest, FramesetAndWelcomePagesExactly) {
  EXPECT_EQ(Page(drive, [&](CHtmlFile& file) { scan.WriteFramesetPage(file, "_xbmidx.html", "_xidxbase.html"); }),
            "<HTML>\r\n<HEAD>\r\n<TITLE>Tessaly Works Picture Archive Viewer</TITLE></HEAD>\r\n"
            "<FRAMESET COLS=\"220,*\" ONUNLOAD=\"0\">\r\n"
            "<FRAME SRC=\"_xbmidx.html\" NAME=\"Index\" MARGINWIDTH=\"2\" MARGINHEIGHT=\"2\">\r\n"
            "<FRAME SRC=\"_xidxbase.html\" NAME=\"Details\">\r\n"
            "<NOFRAMES><BODY></BODY></NOFRAMES></FRAMESET></HTML>\r\n");
  EXPECT_EQ(Page(drive, [&](CHtmlFile& file) { scan.WriteWelcomePage(file); }),
            "<HTML>\r\n<HEAD>\r\n<TITLE>OMBRAL - Picture Index by Arne Velde, Tessaly Works</TITLE>\r\n</HEAD>\r\n"
            "\r\n<P>\r\n<H1 ALIGN=\"CENTER\"><FONT COLOR=\"0000FF\">Choose index file on the left.</FONT></H1>\r\n"
            "</P>\r\n<P>Ombral is made by Tessaly Works, written by Arne Velde.<BR><HR>\r\n</P>\r\n</P>"
            "<A HREF=\"http://www.tessalyworks.example/\">Visit Tessaly Works!</A><BR><BR>\r\n</P>\r\n"
            "</BODY BGCOLOR=#C0C0C0>\r\n</HTML>\r\n");
}

TEST_F(IndexPagesTest, MainIndexLinesFromPaths) {
  struct Row {
    const char* root;
    const char* folder;
    const char* page;
    const char* line;
  };
  const Row rows[] = {
      {"C:\\Pics", "C:\\Pics", "C:\\Pics\\_FileIndex.html",
       "<A HREF=\"_FileIndex.html\" target=\"Details\">Pics</A><BR>\r\n"},
      {"C:\\Pics", "C:\\Pics\\2001\\Jan", "C:\\Pics\\2001\\Jan\\_FileIndex.html",
       "&nbsp;&nbsp;&nbsp;&nbsp;<A HREF=\"2001/Jan/_FileIndex.html\" target=\"Details\">Jan</A><BR>\r\n"},
      {"C:\\Pics", "C:\\Pics\\2001", nullptr, "2001<BR>\r\n"},
      {"C:\\Pics", "C:\\Pics\\2001\\Jan", nullptr, "&nbsp;&nbsp;Jan<BR>\r\n"},
      {"C:\\Pics", "C:\\Pics", nullptr, "Pics<BR>\r\n"},
      // A root entered with a trailing backslash: empty link text for the root.
      {"C:\\Pics\\", "C:\\Pics\\", "C:\\Pics\\\\_FileIndex.html",
       "<A HREF=\"_FileIndex.html\" target=\"Details\"></A><BR>\r\n"},
      {"C:\\Pics\\", "C:\\Pics\\2001", "C:\\Pics\\2001\\_FileIndex.html",
       "&nbsp;&nbsp;<A HREF=\"2001/_FileIndex.html\" target=\"Details\">2001</A><BR>\r\n"},
      // The root's text goes only in front: a folder of the same name further
      // down stays in the link. A path the root does not start stays whole,
      // and a browser must not read it as an address with a scheme.
      {"C:\\Pics", "C:\\Pics\\A\\C:\\Pics", "C:\\Pics\\A\\C:\\Pics\\_FileIndex.html",
       "&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;<A HREF=\"A/C:/Pics/_FileIndex.html\" "
       "target=\"Details\">Pics</A><BR>\r\n"},
      {"Pics", "C:\\Data\\Pics\\A", "C:\\Data\\Pics\\A\\_FileIndex.html",
       "&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;<A HREF=\"./C:/Data/Pics/A/_FileIndex.html\" "
       "target=\"Details\">A</A><BR>\r\n"},
      {"C:\\Pics", "C:\\Pics\\x & y #1", "C:\\Pics\\x & y #1\\_FileIndex.html",
       "&nbsp;&nbsp;<A HREF=\"x &amp; y %231/_FileIndex.html\" target=\"Details\">x &amp; y #1</A><BR>\r\n"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.folder);
    EXPECT_EQ(Page(drive, [&](CHtmlFile& file) { scan.WriteMainIndexLine(file, row.root, row.folder, row.page); }),
              row.line);
  }
}

TEST_F(IndexPagesTest, NamesAreEscapedOnlyWhereNeeded) {
  const std::string page = Page(drive, [&](CHtmlFile& file) {
    scan.WriteImageEntry(file, 3, "x & y.jpg", 5);
    scan.WriteImageEntry(file, 4, "caf\xE9 #2.jpg", 6);
  });
  EXPECT_EQ(page,
            "<IMG SRC=\"x &amp; y.jpg\"><BR>\r\nImage: 3 - x &amp; y.jpg (5 bytes)<BR>\r\n<BR>\r\n"
            "<IMG SRC=\"caf%E9 %232.jpg\"><BR>\r\nImage: 4 - caf\xEF\xBF\xBD #2.jpg (6 bytes)<BR>\r\n<BR>\r\n");
}

TEST(LastPathComponent, TextAfterTheLastBackslash) {
  CRecordingScan scan;
  EXPECT_EQ(scan.GetLastPathComponent("C:\\Pics\\2001"), "2001");
  EXPECT_EQ(scan.GetLastPathComponent("C:\\Pics\\"), "");
  EXPECT_EQ(scan.GetLastPathComponent("Pics"), "Pics");
  EXPECT_EQ(scan.GetLastPathComponent("/native/Pics\\2001"), "2001");
}

TEST_F(IndexPagesTest, RewritingAPageLeavesNothingOfALongerOldOne) {
  drive.WriteFile("page.html", std::string(200000, 'o'));  // longer than the buffer, too
  const std::string page = Page(drive, [&](CHtmlFile& file) { file.Write("new"); });
  EXPECT_EQ(page, "new");
  const std::string big(150000, 'b');
  EXPECT_EQ(Page(drive, [&](CHtmlFile& file) { file.Write(big); file.Write("!"); }), big + "!");
}
