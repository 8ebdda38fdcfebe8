#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/Preview.h"
#include "platform/testing/TempDrive.h"
#include "platform/testing/TestPictures.h"

using platform::MakePreviewImage;
using platform::PreviewBudget;
using platform::PreviewImage;
using platform::PreviewOptions;
using platform::PreviewStatus;
using platform::testing::PictureInfo;
using platform::testing::PictureOptions;
using platform::testing::TempDrive;

namespace {

class PreviewImageTest : public ::testing::Test {
protected:
  TempDrive drive{'T'};
  PreviewBudget budget{platform::kDefaultPreviewBudget};

  // A picture's bytes, written by the test picture helper.
  std::string Picture(const std::string& name, int width, int height, const PictureOptions& options = {}) {
    EXPECT_TRUE(platform::testing::WriteTestPicture(drive.Native(name), width, height, options)) << name;
    return drive.ReadFile(name);
  }
  PreviewImage Make(const std::string& bytes, int edge = 240, const PreviewOptions& options = {}) {
    PreviewImage image = MakePreviewImage(bytes, edge, budget, 0, options);
    EXPECT_EQ(budget.Held(), 0u);
    return image;
  }
  // What a reader of the preview file sees.
  PictureInfo Saved(const PreviewImage& image, const std::string& name = "preview.jpg") {
    return SavedBytes(image.jpeg, name);
  }
  PictureInfo SavedBytes(const std::string& bytes, const std::string& name) {
    drive.WriteFile(name, bytes);
    PictureInfo info;
    EXPECT_TRUE(platform::testing::ReadPictureInfo(drive.Native(name), info)) << name;
    return info;
  }
};

// What the gallery asks for: a large preview at twice the edge and a
// rendition of every picture larger than `renditionEdge`.
PreviewOptions Gallery(int renditionEdge = 0, bool checkerboard = false) {
  PreviewOptions options;
  options.largeEdge = 480;
  options.renditionEdge = renditionEdge;
  options.renditionOfLarge = renditionEdge > 0;
  options.checkerboard = checkerboard;
  return options;
}

// Overwrites `count` bytes at `fraction` of the way through `bytes` with `fill`.
std::string Overwritten(std::string bytes, double fraction, std::size_t count, char fill) {
  const auto at = static_cast<std::size_t>(static_cast<double>(bytes.size()) * fraction);
  for (std::size_t i = at; i < at + count && i < bytes.size(); ++i) bytes[i] = fill;
  return bytes;
}

// Sets an environment variable for the life of the object.
class ScopedEnv {
public:
  ScopedEnv(const char* name, const char* value) : m_name(name) { ::setenv(name, value, 1); }
  ~ScopedEnv() { ::unsetenv(m_name); }

private:
  const char* m_name;
};

}  // namespace

TEST_F(PreviewImageTest, EveryFormatIsMadeMarkedUprightAndWithoutMetadata) {
  struct Row {
    const char* name;
    PictureOptions options;
    int width, height, wantWidth, wantHeight;
  };
  PictureOptions progressive, interlaced16, magick, alpha16;
  progressive.interlaced = true;
  interlaced16.interlaced = interlaced16.sixteenBit = true;
  magick.byMagick = true;
  alpha16.sixteenBit = alpha16.alpha = true;
  const Row rows[] = {{"camera.jpg", {}, 800, 600, 240, 180},        {"magick.jpg", magick, 640, 480, 240, 180},
                      {"progressive.jpg", progressive, 600, 300, 240, 120}, {"deep.png", interlaced16, 300, 600, 120, 240},
                      {"clip.gif", {}, 480, 480, 240, 240},           {"web.webp", {}, 640, 320, 240, 120},
                      {"scan.tif", alpha16, 240, 480, 120, 240},      {"old.bmp", {}, 500, 250, 240, 120}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    std::string bytes = Picture(row.name, row.width, row.height, row.options);
    if (std::string(row.name).find(".jpg") != std::string::npos) {
      // As a phone writes it: EXIF with a GPS position.
      ASSERT_TRUE(platform::testing::InsertExif(drive.Native(row.name), platform::testing::MakeExifTiff(1, true)));
      bytes = drive.ReadFile(row.name);
    }
    const PreviewImage image = Make(bytes);
    ASSERT_EQ(image.status, PreviewStatus::Made) << image.reason;
    EXPECT_EQ(image.width, row.wantWidth);
    EXPECT_EQ(image.height, row.wantHeight);
    EXPECT_GT(image.needed, 0u);
    EXPECT_TRUE(platform::IsMarkedPreview(image.jpeg));
    const PictureInfo info = Saved(image);
    EXPECT_EQ(info.width, row.wantWidth);
    EXPECT_EQ(info.height, row.wantHeight);
    EXPECT_FALSE(info.hasMetadata);
    EXPECT_EQ(info.comments, "Ombral preview 1");
    EXPECT_FALSE(info.progressive);  // a baseline JPEG, whatever came in
  }
}

TEST_F(PreviewImageTest, TurnedByOrientationAndWhiteUnderTransparency) {
  std::string phone = Picture("phone.jpg", 400, 300);
  ASSERT_TRUE(platform::testing::InsertExif(drive.Native("phone.jpg"), platform::testing::MakeExifTiff(6, false)));
  const PreviewImage turned = Make(drive.ReadFile("phone.jpg"));
  ASSERT_EQ(turned.status, PreviewStatus::Made) << turned.reason;
  EXPECT_EQ(turned.width, 180);
  EXPECT_EQ(turned.height, 240);
  Saved(turned, "turned.jpg");
  int red = 0, green = 0;
  // The stored bottom-left corner (no red, full green) is now top left.
  ASSERT_TRUE(platform::testing::ReadPixel(drive.Native("turned.jpg"), 2, 2, red, green));
  EXPECT_LT(red, 40);
  EXPECT_GT(green, 215);

  PictureOptions alpha;
  alpha.alpha = true;
  const PreviewImage flat = Make(Picture("logo.png", 200, 100, alpha));
  ASSERT_EQ(flat.status, PreviewStatus::Made) << flat.reason;
  Saved(flat, "logo.jpg");
  ASSERT_TRUE(platform::testing::ReadPixel(drive.Native("logo.jpg"), 5, 50, red, green));  // transparent half
  EXPECT_GT(red, 245);
  EXPECT_GT(green, 245);
}

TEST_F(PreviewImageTest, LargePreviewsAreTwiceThePreviewNeverLargerThanThePicture) {
  struct Row {
    const char* name;
    int width, height;
    int previewWidth, previewHeight, largeWidth, largeHeight;  // large 0 x 0: none
  };
  const Row rows[] = {
      {"small.jpg", 200, 150, 200, 150, 0, 0},          // no larger than the preview: none
      {"edge.jpg", 240, 180, 240, 180, 0, 0},
      {"between.jpg", 360, 240, 240, 160, 360, 240},    // the picture's own size
      {"photo.jpg", 1600, 1200, 240, 180, 480, 360},
      {"portrait.jpg", 600, 900, 160, 240, 320, 480},
      {"panorama.png", 2000, 250, 240, 30, 480, 60},
      {"scan.tif", 900, 1200, 180, 240, 360, 480},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const PreviewImage image = Make(Picture(row.name, row.width, row.height), 240, Gallery());
    ASSERT_EQ(image.status, PreviewStatus::Made) << image.reason;
    EXPECT_EQ(image.width, row.previewWidth);
    EXPECT_EQ(image.height, row.previewHeight);
    EXPECT_EQ(image.largeWidth, row.largeWidth);
    EXPECT_EQ(image.largeHeight, row.largeHeight);
    EXPECT_TRUE(image.rendition.empty());
    EXPECT_EQ(Saved(image).width, row.previewWidth);
    if (row.largeWidth == 0) {
      EXPECT_TRUE(image.large.empty());
      continue;
    }
    EXPECT_TRUE(platform::IsMarkedPreview(image.large));
    const PictureInfo large = SavedBytes(image.large, "large.jpg");
    EXPECT_EQ(large.width, row.largeWidth);
    EXPECT_EQ(large.height, row.largeHeight);
    EXPECT_FALSE(large.hasMetadata);
  }
}

TEST_F(PreviewImageTest, PicturesLargerThanTheRenditionEdgeGetARenditionUpright) {
  struct Row {
    const char* name;
    int width, height, orientation;  // orientation 0: no EXIF block
    int renditionWidth, renditionHeight;  // 0 x 0: none
  };
  const Row rows[] = {
      // A JPEG's rendition is what the decoder gives at the most eighths
      // within the edge: 3/8 of 2400 for 1000.
      {"photo.jpg", 2400, 1600, 0, 900, 600},
      {"turned.jpg", 2400, 1600, 6, 600, 900},
      {"fits.jpg", 1000, 500, 0, 0, 0},
      {"small.jpg", 800, 600, 0, 0, 0},
      {"shot.png", 1600, 1200, 0, 1000, 750},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Picture(row.name, row.width, row.height);
    if (row.orientation) {
      ASSERT_TRUE(platform::testing::InsertExif(drive.Native(row.name),
                                                platform::testing::MakeExifTiff(row.orientation, false)));
    }
    const std::string bytes = drive.ReadFile(row.name);
    const PreviewImage image = Make(bytes, 240, Gallery(1000));
    ASSERT_EQ(image.status, PreviewStatus::Made) << image.reason;
    EXPECT_EQ(image.renditionWidth, row.renditionWidth);
    EXPECT_EQ(image.renditionHeight, row.renditionHeight);
    EXPECT_EQ(image.rendition.empty(), row.renditionWidth == 0);
    // Only what is asked for: without renditions of large pictures, a JPEG gets none.
    EXPECT_TRUE(Make(bytes, 240, Gallery()).rendition.empty());
    if (row.renditionWidth == 0) continue;
    const PictureInfo info = SavedBytes(image.rendition, "rendition.jpg");
    EXPECT_EQ(info.width, row.renditionWidth);
    EXPECT_FALSE(info.hasMetadata);
    EXPECT_EQ(image.width > image.height, image.renditionWidth > image.renditionHeight);  // turned alike
    // Upright and with its colours: the stored bottom-left corner (no red,
    // full green) is top left in a picture turned by 6, the right edge full
    // of red in one that is not.
    int red = 0, green = 0;
    ASSERT_TRUE(platform::testing::ReadPixel(drive.Native("rendition.jpg"), 3, 3, red, green));
    EXPECT_LT(red, 40);
    EXPECT_EQ(green > 200, row.orientation == 6);
    ASSERT_TRUE(platform::testing::ReadPixel(drive.Native("rendition.jpg"), row.renditionWidth - 3,
                                             row.renditionHeight / 2, red, green));
    EXPECT_EQ(red > 200, row.orientation == 0);
  }
}

TEST_F(PreviewImageTest, TransparencyOnACheckerboardOfGreysInEveryPicture) {
  PictureOptions alpha, alpha16;
  alpha.alpha = true;
  alpha16.alpha = alpha16.sixteenBit = true;
  // The left half of each picture is transparent.
  for (const auto& [name, options] : {std::pair{"logo.png", alpha}, std::pair{"scan.tif", alpha16}}) {
    SCOPED_TRACE(name);
    const PreviewImage image = Make(Picture(name, 1600, 800, options), 240, Gallery(1000, true));
    ASSERT_EQ(image.status, PreviewStatus::Made) << image.reason;
    struct Made {
      const std::string* bytes;
      int square;  // 8 pixels in the preview, in proportion elsewhere
    };
    for (const Made& made : {Made{&image.jpeg, 8}, Made{&image.large, 16}, Made{&image.rendition, 33}}) {
      SCOPED_TRACE(made.square);
      drive.WriteFile("made.jpg", *made.bytes);
      int dark = 0, light = 0, green = 0;
      const int middle = made.square / 2;
      ASSERT_TRUE(platform::testing::ReadPixel(drive.Native("made.jpg"), middle, middle, dark, green));
      EXPECT_NEAR(dark, 0x8a, 12);
      EXPECT_NEAR(green, dark, 8);  // a neutral grey
      ASSERT_TRUE(platform::testing::ReadPixel(drive.Native("made.jpg"), made.square + middle, middle, light, green));
      EXPECT_NEAR(light, 0xb0, 12);
      EXPECT_NEAR(green, light, 8);
    }
  }
}

TEST_F(PreviewImageTest, DamagedPicturesAreBroken) {
  const std::string jpeg = Picture("photo.jpg", 900, 600);
  PictureOptions progressive;
  progressive.interlaced = true;
  const std::string progressiveJpeg = Picture("progressive.jpg", 900, 600, progressive);
  const std::string png = Picture("shot.png", 400, 300);
  const std::string gif = Picture("clip.gif", 300, 200);
  struct Row {
    const char* what;
    std::string bytes;
  };
  const Row rows[] = {
      {"JPEG cut in half", jpeg.substr(0, jpeg.size() / 2)},
      {"JPEG without its last bytes", jpeg.substr(0, jpeg.size() - 40)},
      {"JPEG entropy data zeroed in the middle", Overwritten(jpeg, 0.5, 16, '\0')},
      {"JPEG entropy data zeroed near the end", Overwritten(jpeg, 0.97, 8, '\0')},
      {"JPEG entropy data overwritten with noise", Overwritten(jpeg, 0.6, 32, '\x5A')},
      {"progressive JPEG cut short", progressiveJpeg.substr(0, progressiveJpeg.size() * 3 / 4)},
      {"PNG with a damaged image chunk (CRC)", Overwritten(png, 0.5, 4, '\x33')},
      {"PNG cut inside its image data", png.substr(0, png.size() / 2)},
      {"GIF cut inside its image data", gif.substr(0, gif.size() / 2)},
      {"JPEG signature, then garbage", std::string("\xFF\xD8\xFF\xE0 this is no JPEG at all")},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    const PreviewImage image = Make(row.bytes);
    EXPECT_EQ(image.status, PreviewStatus::Broken) << image.reason;
    EXPECT_FALSE(image.reason.empty());
    EXPECT_TRUE(image.jpeg.empty());
  }
  EXPECT_EQ(Make(jpeg).status, PreviewStatus::Made);  // the undamaged originals
  EXPECT_EQ(Make(png).status, PreviewStatus::Made);
}

TEST_F(PreviewImageTest, WhatIsNoPictureOrTooLarge) {
  EXPECT_EQ(Make("").status, PreviewStatus::NotAPicture);
  EXPECT_EQ(Make(std::string("RIFF\x10\0\0\0AVI LIST", 16)).status, PreviewStatus::NotAPicture);
  // A PNG that claims 20000 x 20000 pixels, with almost no data behind it.
  std::string png("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR\0\0\x4E\x20\0\0\x4E\x20\x08\x02\0\0\0", 29);
  png += std::string("\x6C\x12\xD1\x6E", 4);  // CRC of the header chunk
  // A few bytes of image data (a libpng header read goes on to the first
  // data chunk), then the end.
  png += std::string("\x00\x00\x00\x0B\x49\x44\x41\x54\x78\x9C\x63\x60\x40\x05\x00\x00\x10\x00\x01\x39\xBD\x8F\x65"
                     "\x00\x00\x00\x00\x49\x45\x4E\x44\xAE\x42\x60\x82", 35);
  const PreviewImage bomb = Make(png);
  EXPECT_EQ(bomb.status, PreviewStatus::TooLarge) << bomb.reason;
  EXPECT_EQ(bomb.needed, 0u);  // refused before any estimate
}

TEST_F(PreviewImageTest, MemoryTheJpegLibraryMayNotHaveIsAFailureNotDamage) {
  PictureOptions progressive;
  progressive.interlaced = true;
  const std::string bytes = Picture("progressive.jpg", 600, 400, progressive);
  {
    // The JPEG library holds a progressive picture's coefficients in memory;
    // limited to 1 kB it cannot, and says so.
    const ScopedEnv limit("JPEGMEM", "1K");
    const PreviewImage image = Make(bytes);
    EXPECT_EQ(image.status, PreviewStatus::Failed) << image.reason;
    EXPECT_FALSE(image.reason.empty());
  }
  EXPECT_EQ(Make(bytes).status, PreviewStatus::Made);
}

TEST_F(PreviewImageTest, OverBudgetWithoutDecodingAndNothingLeftHeld) {
  const std::string bytes = Picture("photo.jpg", 640, 480);
  const std::uint64_t needed = Make(bytes).needed;
  ASSERT_GT(needed, 0u);

  PreviewBudget tiny(needed - 1);
  const PreviewImage refused = MakePreviewImage(bytes, 240, tiny, 0);
  EXPECT_EQ(refused.status, PreviewStatus::OverBudget);
  EXPECT_EQ(refused.needed, needed);
  EXPECT_FALSE(refused.reason.empty());
  EXPECT_EQ(tiny.Peak(), 0u);  // nothing was taken, nothing decoded

  // The caller's bytes count: the estimate fits alone, not beside them.
  PreviewBudget exact(needed + 100);
  ASSERT_TRUE(exact.Acquire(bytes.size()));
  EXPECT_EQ(MakePreviewImage(bytes, 240, exact, bytes.size()).status, PreviewStatus::OverBudget);
  EXPECT_EQ(exact.Held(), 0u);  // given back for the caller

  PreviewBudget enough(needed + bytes.size());
  ASSERT_TRUE(enough.Acquire(bytes.size()));
  EXPECT_EQ(MakePreviewImage(bytes, 240, enough, bytes.size()).status, PreviewStatus::Made);
  EXPECT_EQ(enough.Held(), 0u);
  EXPECT_EQ(enough.Peak(), needed + bytes.size());
}

TEST_F(PreviewImageTest, EstimateFollowsSizeAndLayout) {
  PictureOptions interlaced;
  interlaced.interlaced = true;
  const std::uint64_t small = Make(Picture("small.png", 400, 300)).needed;
  const std::uint64_t large = Make(Picture("large.png", 1600, 1200)).needed;
  const std::uint64_t interlacedLarge = Make(Picture("interlaced.png", 1600, 1200, interlaced)).needed;
  EXPECT_LT(small, large);
  EXPECT_LT(large, interlacedLarge);
  EXPECT_GE(interlacedLarge - large, 1600u * 1200 * 3);  // the whole picture is held

  const std::uint64_t baseline = Make(Picture("baseline.jpg", 1600, 1200)).needed;
  const std::uint64_t progressive = Make(Picture("progressive.jpg", 1600, 1200, interlaced)).needed;
  EXPECT_LT(baseline, progressive);
}

TEST(PreviewMark, TellsThePreviewStartFromOtherFiles) {
  const std::string marked = std::string("\xFF\xD8\xFF\xFE\x00\x12", 6) + "Ombral preview 1" + "\xFF\xDB...";
  EXPECT_TRUE(platform::IsMarkedPreview(marked));
  EXPECT_TRUE(platform::IsMarkedPreview(marked.substr(0, platform::kPreviewMarkBytes)));
  EXPECT_FALSE(platform::IsMarkedPreview(marked.substr(0, platform::kPreviewMarkBytes - 1)));
  EXPECT_FALSE(platform::IsMarkedPreview(""));
  std::string otherComment = marked;
  otherComment[21] = '2';  // another version of the mark is not this one
  EXPECT_FALSE(platform::IsMarkedPreview(otherComment));
  // A photo's own comment, even further in, is no mark.
  EXPECT_FALSE(platform::IsMarkedPreview(std::string("\xFF\xD8\xFF\xE0\x00\x10JFIF\0", 11) + marked.substr(2)));
}
