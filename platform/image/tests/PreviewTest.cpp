#include "platform/Preview.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "platform/testing/TempDrive.h"
#include "platform/testing/TestPictures.h"

using platform::MakePreview;
using platform::PreviewStatus;
using platform::testing::PictureInfo;
using platform::testing::TempDrive;

namespace {

class PreviewTest : public ::testing::Test {
protected:
  TempDrive drive{'T'};

  std::string Picture(const std::string& name, int width, int height) {
    const std::string path = drive.Native(name);
    EXPECT_TRUE(platform::testing::WriteTestPicture(path, width, height)) << name;
    return path;
  }
  PictureInfo Info(const std::string& name) {
    PictureInfo info;
    EXPECT_TRUE(platform::testing::ReadPictureInfo(drive.Native(name), info)) << name;
    return info;
  }
};

}  // namespace

TEST_F(PreviewTest, EveryFormatShrinksToTheLongerEdge) {
  struct Row {
    const char* name;
    int width, height, wantWidth, wantHeight;
  };
  const Row rows[] = {{"wide.jpg", 800, 400, 240, 120}, {"tall.png", 300, 600, 120, 240},
                      {"anim.gif", 480, 480, 240, 240}, {"old.bmp", 500, 250, 240, 120},
                      {"web.webp", 640, 320, 240, 120}, {"scan.tif", 240, 480, 120, 240},
                      {"tiny.jpg", 40, 30, 40, 30}};  // never enlarged
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Picture(row.name, row.width, row.height);
    const std::string preview = std::string(row.name) + ".jpg";
    const auto result = MakePreview(drive.WinPath(row.name), drive.WinPath(preview), 240);
    ASSERT_EQ(result.status, PreviewStatus::Made);
    EXPECT_EQ(result.width, row.wantWidth);
    EXPECT_EQ(result.height, row.wantHeight);
    const PictureInfo info = Info(preview);
    EXPECT_EQ(info.width, row.wantWidth);
    EXPECT_EQ(info.height, row.wantHeight);
  }
}

TEST_F(PreviewTest, TurnedByExifOrientationWithoutMetadata) {
  const std::string path = Picture("phone.jpg", 400, 300);
  ASSERT_TRUE(platform::testing::InsertExif(path, platform::testing::MakeExifTiff(6, true)));
  ASSERT_TRUE(Info("phone.jpg").hasMetadata);
  const auto result = MakePreview(drive.WinPath("phone.jpg"), drive.WinPath("p.jpg"), 240);
  ASSERT_EQ(result.status, PreviewStatus::Made);
  EXPECT_EQ(result.width, 180);  // portrait: turned a quarter clockwise
  EXPECT_EQ(result.height, 240);
  const PictureInfo info = Info("p.jpg");
  EXPECT_FALSE(info.hasMetadata);  // no EXIF, no GPS position
  EXPECT_EQ(info.comments, "Ombral preview 1");  // the mark, and nothing of the photo's
  EXPECT_TRUE(platform::IsMarkedPreview(drive.ReadFile("p.jpg")));
  // The stored bottom-left corner (no red, full green) is now top left.
  int red = 0, green = 0;
  ASSERT_TRUE(platform::testing::ReadPixel(drive.Native("p.jpg"), 2, 2, red, green));
  EXPECT_LT(red, 40);
  EXPECT_GT(green, 215);
}

TEST_F(PreviewTest, RefusesWhatIsNoPictureOrBroken) {
  drive.WriteFile("clip.avi", "RIFF\x10\0\0\0AVI LIST");
  drive.WriteFile("empty.jpg");
  const std::string good = Picture("cut.jpg", 600, 400);
  const std::string bytes = drive.ReadFile("cut.jpg");
  drive.WriteFile("cut.jpg", bytes.substr(0, bytes.size() / 2));           // cut short
  drive.WriteFile("noise.jpg", "\xFF\xD8\xFF\xE0 this is no JPEG at all");  // a signature, then garbage
  drive.WriteFile("bad.png", std::string("\x89PNG\r\n\x1A\n", 8) + std::string(64, '\x7F'));
  Picture("absurd.jpg", 64, 48);
  // EXIF whose offsets point far beyond its end.
  ASSERT_TRUE(platform::testing::InsertExif(drive.Native("absurd.jpg"),
                                            std::string("II*\0\xF0\xFF\xFF\x7F", 8) + std::string(4, '\xFF')));
  struct Row {
    const char* name;
    PreviewStatus status;
  };
  const Row rows[] = {{"clip.avi", PreviewStatus::NotAPicture}, {"empty.jpg", PreviewStatus::NotAPicture},
                      {"missing.jpg", PreviewStatus::NotAPicture}, {"cut.jpg", PreviewStatus::Broken},
                      {"noise.jpg", PreviewStatus::Broken},       {"bad.png", PreviewStatus::Broken}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(MakePreview(drive.WinPath(row.name), drive.WinPath("out.jpg"), 240).status, row.status);
    EXPECT_FALSE(drive.Exists("out.jpg"));
  }
  // Broken EXIF is ignored, the picture itself is fine.
  EXPECT_EQ(MakePreview(drive.WinPath("absurd.jpg"), drive.WinPath("out.jpg"), 240).status, PreviewStatus::Made);
}

TEST_F(PreviewTest, HugeDimensionsAreRefusedBeforeDecoding) {
  // A PNG header that claims 60000 x 60000 pixels, with no data behind it.
  std::string png("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR\0\0\xEA\x60\0\0\xEA\x60\x08\x02\0\0\0", 29);
  png += std::string("\0\0\0\0", 4);  // CRC (wrong; the header is still read)
  drive.WriteFile("bomb.png", png);
  const auto status = MakePreview(drive.WinPath("bomb.png"), drive.WinPath("out.jpg"), 240).status;
  EXPECT_TRUE(status == PreviewStatus::TooLarge || status == PreviewStatus::Broken);
  EXPECT_FALSE(drive.Exists("out.jpg"));
}

TEST_F(PreviewTest, WritesInOneStepAndReportsWriteFailures) {
  Picture("a.png", 100, 50);
  drive.WriteFile("old.jpg", "previous preview");
  ASSERT_EQ(MakePreview(drive.WinPath("a.png"), drive.WinPath("old.jpg"), 64).status, PreviewStatus::Made);
  EXPECT_EQ(Info("old.jpg").width, 64);
  const auto result = MakePreview(drive.WinPath("a.png"), drive.WinPath("nofolder/x.jpg"), 64);
  EXPECT_EQ(result.status, PreviewStatus::WriteFailed);
  EXPECT_NE(result.error, 0);
}

TEST_F(PreviewTest, ThreadsMakePreviewsSideBySide) {
  for (int i = 0; i < 8; ++i) Picture("p" + std::to_string(i) + ".jpg", 320 + i, 200);
  std::vector<std::thread> threads;
  std::vector<int> made(8, 0);
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] {
      for (int i = t; i < 8; i += 4) {
        const std::string name = "p" + std::to_string(i) + ".jpg";
        made[static_cast<std::size_t>(i)] =
            MakePreview(drive.WinPath(name), drive.WinPath(name + ".jpg"), 100).status == PreviewStatus::Made;
      }
      platform::EndPreviewThread();
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(made, std::vector<int>(8, 1));
}

TEST(PreviewThreads, EndingAThreadThatMadeNoPreviewIsHarmless) {
  std::thread([] { platform::EndPreviewThread(); }).join();
}

TEST(PictureExtension, KnownFormatsWithoutCase) {
  for (const char* name : {"a.jpg", "b.JPEG", "c.Png", "d.gif", "e.bmp", "f.webp", "g.tif", "h.TIFF", "x.y.jpe"})
    EXPECT_TRUE(platform::HasPictureExtension(name)) << name;
  for (const char* name : {"a.avi", "wav", "b.jpg.txt", "c.", "jpg", ".mpg"})
    EXPECT_FALSE(platform::HasPictureExtension(name)) << name;
}
