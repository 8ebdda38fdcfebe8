#include <gtest/gtest.h>

#include <string>
#include <sys/stat.h>

#include "platform/FolderHandle.h"
#include "platform/VideoPoster.h"
#include "platform/testing/TempDrive.h"
#include "platform/testing/TestPictures.h"
#include "platform/testing/TestVideos.h"

using platform::PreviewBudget;
using platform::PreviewImage;
using platform::PreviewStatus;
using platform::testing::TestVideo;

namespace {

class VideoPosterTest : public ::testing::Test {
protected:
  platform::testing::TempDrive drive{'T'};

  // The poster of `bytes` kept as `name`, made as the gallery asks for it.
  PreviewImage Poster(const std::string& name, const std::string& bytes,
                      std::uint64_t budgetLimit = platform::kDefaultPreviewBudget) {
    drive.WriteFile(name, bytes);
    const platform::FolderHandle folder = platform::FolderHandle::Open(drive.WinPath());
    platform::ReadingFile video;
    EXPECT_EQ(platform::ReadingFile::Open(folder, name, video), platform::ReadStatus::Read);
    PreviewBudget budget(budgetLimit);
    platform::PreviewOptions options;
    options.largeEdge = 128;
    PreviewImage poster = platform::MakeVideoPoster(video, 48, budget, options);
    EXPECT_EQ(budget.Held(), 0u) << name;
    return poster;
  }

  // The mean of red and green over a grid of the saved poster's pixels.
  double Brightness(const std::string& jpeg, int width, int height) {
    drive.WriteFile("poster.jpg", jpeg);
    double sum = 0;
    int count = 0;
    for (int y = height / 8; y < height; y += height / 4)
      for (int x = width / 8; x < width; x += width / 4) {
        int red = 0, green = 0;
        EXPECT_TRUE(platform::testing::ReadPixel(drive.Native("poster.jpg"), x, y, red, green));
        sum += red + green;
        count += 2;
      }
    return count ? sum / count : 0;
  }
};

// A copy of an MP4 whose sample entry claims `width` x `height`.
std::string Claiming(std::string mp4, int width, int height) {
  const std::size_t entry = mp4.find("avc1", mp4.find("stsd"));
  if (entry == std::string::npos) return {};
  const std::size_t at = entry + 28;  // past the entry's reserved fields
  mp4[at] = static_cast<char>(width >> 8);
  mp4[at + 1] = static_cast<char>(width & 0xff);
  mp4[at + 2] = static_cast<char>(height >> 8);
  mp4[at + 3] = static_cast<char>(height & 0xff);
  return mp4;
}

TEST_F(VideoPosterTest, MakesPosterAndLengthOfEachContainer) {
  const std::string mp4 = TestVideo("clip.mp4");
  ASSERT_FALSE(mp4.empty()) << "the kept test videos are missing";
  struct Row {
    const char* name;
    std::string bytes;
    int shownWidth, shownHeight;  // the facts: turned, as shown
    long long millis;
    int posterWidth, posterHeight;
  };
  const Row rows[] = {
      {"clip.mp4", mp4, 96, 64, 3000, 48, 32},
      {"clip.webm", TestVideo("clip.webm"), 96, 64, 3000, 48, 32},
      {"clip.mov", TestVideo("clip.mov"), 64, 96, 3000, 32, 48},  // a quarter turn in its display matrix
      {"black-start.mp4", TestVideo("black-start.mp4"), 96, 64, 4000, 48, 32},
      // The content counts, not the name.
      {"named-wrong.webm", mp4, 96, 64, 3000, 48, 32},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const PreviewImage poster = Poster(row.name, row.bytes);
    ASSERT_EQ(poster.status, PreviewStatus::Made) << poster.reason;
    EXPECT_EQ(poster.facts.width, row.shownWidth);
    EXPECT_EQ(poster.facts.height, row.shownHeight);
    EXPECT_NEAR(poster.facts.durationMillis, row.millis, 150);
    EXPECT_EQ(poster.width, row.posterWidth);
    EXPECT_EQ(poster.height, row.posterHeight);
    // The large preview: the frame's own size, since that is below the edge asked.
    EXPECT_EQ(poster.largeWidth, row.shownWidth);
    EXPECT_EQ(poster.largeHeight, row.shownHeight);
    EXPECT_TRUE(platform::IsMarkedPreview(poster.jpeg));
    EXPECT_TRUE(poster.rendition.empty());
    // Never a black frame where the video shows something later: the
    // black start's poster is from after its first 2.5 s.
    EXPECT_GT(Brightness(poster.jpeg, poster.width, poster.height), 40.0);
  }
}

TEST_F(VideoPosterTest, RefusesDamagedAndHostileContainers) {
  const std::string mp4 = TestVideo("clip.mp4");
  const std::size_t frames = mp4.find("mdat");
  ASSERT_NE(frames, std::string::npos);
  std::string scrambled = mp4;
  for (std::size_t i = frames + 8; i < scrambled.size(); ++i) scrambled[i] = static_cast<char>(i * 7);
  struct Row {
    const char* name;
    std::string bytes;
    PreviewStatus status;
    std::uint64_t budget = platform::kDefaultPreviewBudget;
    const char* why = "";  // a part of the reason given
  };
  const Row rows[] = {
      {"text.mp4", std::string(5000, 'x'), PreviewStatus::NotAPicture},
      {"empty.mp4", std::string(), PreviewStatus::NotAPicture},
      {"cut-in-header.mp4", mp4.substr(0, frames / 2), PreviewStatus::NotAPicture},
      {"no-frames.mp4", mp4.substr(0, frames + 8), PreviewStatus::Broken},
      {"scrambled-frames.mp4", scrambled, PreviewStatus::Broken},
      {"huge.mp4", Claiming(mp4, 65535, 65535), PreviewStatus::TooLarge},
      {"small-budget.mp4", mp4, PreviewStatus::OverBudget, 16u << 20},
      // Frames that never reach the second a poster is taken at: the
      // decoding stops at its bound instead of reading on for ever.
      {"frozen-clock.webm", TestVideo("frozen-clock.webm"), PreviewStatus::Broken, platform::kDefaultPreviewBudget,
       "frames"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const PreviewImage poster = Poster(row.name, row.bytes, row.budget);
    EXPECT_EQ(poster.status, row.status) << poster.reason;
    EXPECT_NE(poster.reason.find(row.why), std::string::npos) << poster.reason;
    EXPECT_TRUE(poster.jpeg.empty());
  }
}

TEST_F(VideoPosterTest, NeverOpensWhatIsNoPlainFile) {
  drive.WriteFile("clip.mp4", TestVideo("clip.mp4"));
  drive.Symlink("clip.mp4", "link.mp4");
  ASSERT_EQ(::mkfifo(drive.Native("pipe.mp4").c_str(), 0644), 0);
  drive.MakeDir("folder.mp4");
  const platform::FolderHandle folder = platform::FolderHandle::Open(drive.WinPath());
  for (const char* name : {"link.mp4", "pipe.mp4", "folder.mp4"}) {
    platform::ReadingFile video;
    EXPECT_EQ(platform::ReadingFile::Open(folder, name, video), platform::ReadStatus::NotAFile) << name;
    EXPECT_FALSE(video.IsOpen());
  }
  platform::ReadingFile missing;
  EXPECT_EQ(platform::ReadingFile::Open(folder, "gone.mp4", missing), platform::ReadStatus::Missing);
  PreviewBudget budget(platform::kDefaultPreviewBudget);
  EXPECT_EQ(platform::MakeVideoPoster(missing, 48, budget, {}).status, PreviewStatus::Failed);
}

TEST(VideoName, TellsTheVideoExtensions) {
  for (const char* name : {"a.mp4", "A.MP4", "b.m4v", "c.MOV", "d.webm", "x.y.Mov"})
    EXPECT_TRUE(platform::HasVideoExtension(name)) << name;
  for (const char* name : {"mp4", "a.mp4.jpg", "a.avi", "a.mkv", "a.", ".mov.txt"})
    EXPECT_FALSE(platform::HasVideoExtension(name)) << name;
}

}  // namespace
