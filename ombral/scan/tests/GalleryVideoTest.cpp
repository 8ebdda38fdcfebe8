// The gallery's videos: posters and lengths made once and kept, found again
// when a video moves, removed with a gone one; a damaged video named in the
// protocol and kept as a plain tile; a pipe named like a video never read.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "ScanFixture.h"
#include "platform/Preview.h"
#include "platform/testing/TestVideos.h"

namespace {

namespace fs = std::filesystem;

class GalleryVideoTest : public ScanFixture {
protected:
  void SetUp() override {
    drive.MakeDir("Pics/Trip");
    const std::string mp4 = platform::testing::TestVideo("clip.mp4");
    ASSERT_FALSE(mp4.empty()) << "the kept test videos are missing";
    drive.WriteFile("Pics/Trip/clip.mp4", mp4);
    drive.WriteFile("Pics/Trip/clip.webm", platform::testing::TestVideo("clip.webm"));
    drive.WriteFile("Pics/Trip/IMG_0001.MOV", platform::testing::TestVideo("clip.mov"));
    drive.WriteFile("Pics/Trip/dark.mp4", platform::testing::TestVideo("black-start.mp4"));
    drive.WriteFile("Pics/Trip/cut.mp4", mp4.substr(0, mp4.find("mdat") + 8));
    ASSERT_EQ(::mkfifo(drive.Native("Pics/Trip/pipe.mp4").c_str(), 0644), 0);
    Picture("Pics/Trip/beach.jpg");
  }

  Lines Gallery(bool removeStale = false) {
    CRecordingScan scan;
    const Lines protocol = Scan(scan, {.gallery = true, .removeStale = removeStale});
    EXPECT_EQ(scan.GetErrorCount(), 0);
    return protocol;
  }

  // The places of one file's entry in a folder page's data, as texts.
  std::vector<std::string> Entry(const std::string& page, const std::string& name) {
    const std::size_t start = page.find("[\"" + name + "\",");
    if (start == std::string::npos) return {};
    const std::string entry = page.substr(start + 1, page.find(']', start) - start - 1);
    std::vector<std::string> fields;
    for (std::size_t from = 0;;) {
      const std::size_t comma = entry.find(',', from);
      fields.push_back(entry.substr(from, comma - from));
      if (comma == std::string::npos) return fields;
      from = comma + 1;
    }
  }
};

// The places of kFields the tests look at.
enum Field { kName = 0, kKind = 1, kPreviewWidth = 2, kPreviewHeight = 3, kWidth = 8, kHeight = 9, kDuration = 15 };

TEST_F(GalleryVideoTest, PostersAndLengthsAreMadeOnceAndShown) {
  const Lines first = Gallery();
  EXPECT_TRUE(Has(first, "PREVIEWS: 5 made, 0 unchanged, 0 found again by content"));
  // The damaged one is named, the pipe passed over in silence.
  EXPECT_TRUE(Has(first, "Cannot make a poster of \"T:\\Pics\\Trip\\cut.mp4\"!"));
  EXPECT_FALSE(Has(first, "pipe.mp4"));
  EXPECT_EQ(drive.ReadFile("Pics/Trip/_xthumbs/_xthumbs.txt").rfind("Ombral previews 5\n", 0), 0u);

  const std::string page = drive.ReadFile("Pics/Trip/_FileIndex.html");
  struct Row {
    const char* name;
    bool poster;
    int width, height;  // the video as shown (and its poster: below the preview's edge)
    int millis;
  };
  const Row rows[] = {
      {"clip.mp4", true, 96, 64, 3000},
      {"clip.webm", true, 96, 64, 3000},
      {"IMG_0001.MOV", true, 64, 96, 3000},  // turned upright
      {"dark.mp4", true, 96, 64, 4000},
      {"cut.mp4", false, 0, 0, 0},
      {"pipe.mp4", false, 0, 0, 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const std::vector<std::string> entry = Entry(page, row.name);
    ASSERT_GT(entry.size(), static_cast<std::size_t>(kDuration));
    EXPECT_EQ(entry[kKind], "2");  // a video's tile, with or without a poster
    EXPECT_EQ(entry[kPreviewWidth], std::to_string(row.width));
    EXPECT_EQ(entry[kPreviewHeight], std::to_string(row.height));
    EXPECT_EQ(entry[kWidth], std::to_string(row.width));
    EXPECT_EQ(entry[kHeight], std::to_string(row.height));
    EXPECT_NEAR(std::stoi(entry[kDuration]), row.millis, 150);
    const std::string poster = "Pics/Trip/_xthumbs/" + std::string(row.name) + ".jpg";
    EXPECT_EQ(drive.Exists(poster), row.poster);
    if (row.poster) {
      EXPECT_TRUE(platform::IsMarkedPreview(drive.ReadFile(poster)));
    }
  }
  EXPECT_TRUE(Contains(page, "1 picture · 6 videos"));

  // Nothing changed: nothing is decoded, the damaged one named again.
  const std::uint64_t decodes = platform::PreviewDecodeCount();
  const Lines again = Gallery();
  EXPECT_TRUE(Has(again, "PREVIEWS: 0 made, 5 unchanged, 0 found again by content"));
  EXPECT_TRUE(Has(again, "Cannot make a poster of \"T:\\Pics\\Trip\\cut.mp4\"!"));
  EXPECT_EQ(platform::PreviewDecodeCount(), decodes);
  EXPECT_EQ(drive.ReadFile("Pics/Trip/_FileIndex.html"), page);
}

TEST_F(GalleryVideoTest, PostersFollowTheirVideos) {
  Gallery();
  const std::string poster = drive.ReadFile("Pics/Trip/_xthumbs/clip.webm.jpg");
  const std::uint64_t decodes = platform::PreviewDecodeCount();
  // Moved: its poster is found again by content, not made anew; the old
  // one goes with the name it was made for.
  drive.MakeDir("Pics/Later");
  fs::rename(drive.Native("Pics/Trip/clip.webm"), drive.Native("Pics/Later/moved.webm"));
  EXPECT_TRUE(Has(Gallery(true), "PREVIEWS: 0 made, 4 unchanged, 1 found again by content"));
  EXPECT_EQ(platform::PreviewDecodeCount(), decodes);
  EXPECT_EQ(drive.ReadFile("Pics/Later/_xthumbs/moved.webm.jpg"), poster);
  EXPECT_FALSE(drive.Exists("Pics/Trip/_xthumbs/clip.webm.jpg"));

  // Changed (to bytes no other video has): made again. Made readable by
  // fewer: so is its poster.
  drive.WriteFile("Pics/Later/moved.webm", platform::testing::TestVideo("clip.mp4") + std::string(16, '\0'));
  drive.Chmod("Pics/Later/moved.webm", 0600);
  EXPECT_TRUE(Has(Gallery(), "PREVIEWS: 1 made, 4 unchanged, 0 found again by content"));
  EXPECT_EQ(platform::PreviewDecodeCount(), decodes + 1);
  struct stat status {};
  ASSERT_EQ(::stat(drive.Native("Pics/Later/_xthumbs/moved.webm.jpg").c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0600u);
}

}  // namespace
