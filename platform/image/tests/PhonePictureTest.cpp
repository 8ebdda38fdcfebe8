// The phones' formats, renditions for the viewer, and what a picture tells
// about itself (size as shown, date taken, camera), read with and without
// decoding.
#include <gtest/gtest.h>

#include <string>

#include "../src/common/ExifFacts.h"
#include "../src/common/PictureFormat.h"
#include "platform/Preview.h"
#include "platform/testing/TempDrive.h"
#include "platform/testing/TestPictures.h"

using platform::MakePreviewImage;
using platform::PictureFacts;
using platform::PreviewBudget;
using platform::PreviewImage;
using platform::PreviewOptions;
using platform::PreviewStatus;
using platform::testing::MakeExifTiff;
using platform::testing::TempDrive;

namespace {

class PhonePictureTest : public ::testing::Test {
protected:
  TempDrive drive{'T'};
  PreviewBudget budget{platform::kDefaultPreviewBudget};

  std::string Picture(const std::string& name, int width, int height) {
    EXPECT_TRUE(platform::testing::WriteTestPicture(drive.Native(name), width, height)) << name;
    return drive.ReadFile(name);
  }
  std::string JpegWithExif(const std::string& name, const std::string& tiff) {
    Picture(name, 320, 200);
    EXPECT_TRUE(platform::testing::InsertExif(drive.Native(name), tiff));
    return drive.ReadFile(name);
  }
  PreviewImage Make(const std::string& bytes, const PreviewOptions& options, int edge = 240) {
    PreviewImage image = MakePreviewImage(bytes, edge, budget, 0, options);
    EXPECT_EQ(budget.Held(), 0u);
    return image;
  }
  platform::testing::PictureInfo Saved(const std::string& bytes, const std::string& name) {
    drive.WriteFile(name, bytes);
    platform::testing::PictureInfo info;
    EXPECT_TRUE(platform::testing::ReadPictureInfo(drive.Native(name), info)) << name;
    return info;
  }
};

PreviewOptions Phone(int renditionEdge = 0) {
  PreviewOptions options;
  options.phoneFormats = true;
  options.renditionEdge = renditionEdge;
  return options;
}

}  // namespace

TEST_F(PhonePictureTest, HeicAndAvifGetPreviewsAndRenditionsOnlyWhenAskedFor) {
  for (const char* name : {"phone.heic", "phone.avif"}) {
    SCOPED_TRACE(name);
    const std::string bytes = Picture(name, 640, 480);
    // Not asked for: unknown content, as before the phones' formats were read.
    EXPECT_EQ(Make(bytes, PreviewOptions{}).status, PreviewStatus::NotAPicture);
    EXPECT_EQ(MakePreviewImage(bytes, 240, budget, 0).status, PreviewStatus::NotAPicture);

    const PreviewImage plain = Make(bytes, Phone());
    ASSERT_EQ(plain.status, PreviewStatus::Made) << plain.reason;
    EXPECT_EQ(plain.width, 240);
    EXPECT_EQ(plain.height, 180);
    EXPECT_TRUE(plain.rendition.empty());

    const PreviewImage both = Make(bytes, Phone(400));
    ASSERT_EQ(both.status, PreviewStatus::Made) << both.reason;
    EXPECT_EQ(both.width, 240);
    EXPECT_EQ(both.height, 180);
    EXPECT_EQ(both.renditionWidth, 400);
    EXPECT_EQ(both.renditionHeight, 300);
    EXPECT_TRUE(platform::IsMarkedPreview(both.rendition));
    const auto info = Saved(both.rendition, "rendition.jpg");
    EXPECT_EQ(info.width, 400);
    EXPECT_FALSE(info.hasMetadata);
    EXPECT_EQ(Saved(both.jpeg, "preview.jpg").width, 240);
    EXPECT_EQ(both.facts.width, 640);
    EXPECT_EQ(both.facts.height, 480);

    // Cut short: damaged, not a resource failure.
    const PreviewImage cut = Make(bytes.substr(0, bytes.size() / 2), Phone(400));
    EXPECT_EQ(cut.status, PreviewStatus::Broken) << cut.reason;
  }
}

TEST_F(PhonePictureTest, RenditionsOnlyForFormatsBrowsersDoNotShowAndNeverEnlarged) {
  const PreviewImage jpeg = Make(Picture("photo.jpg", 800, 600), Phone(400));
  ASSERT_EQ(jpeg.status, PreviewStatus::Made);
  EXPECT_TRUE(jpeg.rendition.empty());
  const PreviewImage tiff = Make(Picture("scan.tif", 300, 500), Phone(1000));
  ASSERT_EQ(tiff.status, PreviewStatus::Made) << tiff.reason;
  EXPECT_EQ(tiff.renditionWidth, 300);  // smaller than the edge asked for: kept as it is
  EXPECT_EQ(tiff.renditionHeight, 500);
  EXPECT_EQ(tiff.height, 240);
}

TEST_F(PhonePictureTest, FactsFromTheExifBlockWithAndWithoutDecoding) {
  struct Row {
    const char* what;
    std::string tiff;
    std::string taken, camera;
    int width, height;
  };
  const Row rows[] = {
      {"date and a model that repeats the maker", MakeExifTiff("2001:07:14 18:22:10", "Canon", "Canon EOS 5D"),
       "2001-07-14 18:22:10", "Canon EOS 5D", 320, 200},
      {"maker and model apart", MakeExifTiff("2019:01:02 03:04:05", "NIKON CORPORATION", "D70"), "2019-01-02 03:04:05",
       "NIKON CORPORATION D70", 320, 200},
      {"a date that is none", MakeExifTiff("0000:00:00 00:00:00", "", "Pixel 7"), "", "Pixel 7", 320, 200},
      {"blanks for a date", MakeExifTiff("                   ", "", ""), "", "", 320, 200},
      {"turned by its orientation", MakeExifTiff(6, false), "", "", 200, 320},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    const std::string bytes = JpegWithExif("photo.jpg", row.tiff);
    const std::uint64_t decodes = platform::PreviewDecodeCount();
    PictureFacts facts;
    ASSERT_TRUE(platform::ReadPictureFacts(bytes, false, facts));
    EXPECT_EQ(platform::PreviewDecodeCount(), decodes);  // the header alone
    EXPECT_EQ(facts.taken, row.taken);
    EXPECT_EQ(facts.camera, row.camera);
    EXPECT_EQ(facts.width, row.width);
    EXPECT_EQ(facts.height, row.height);
    const PreviewImage image = Make(bytes, PreviewOptions{});
    ASSERT_EQ(image.status, PreviewStatus::Made);
    EXPECT_EQ(platform::PreviewDecodeCount(), decodes + 1);
    EXPECT_EQ(image.facts.taken, row.taken);
    EXPECT_EQ(image.facts.camera, row.camera);
    EXPECT_EQ(image.facts.width, row.width);
  }
  PictureFacts facts;
  EXPECT_TRUE(platform::ReadPictureFacts(Picture("plain.png", 64, 32), false, facts));
  EXPECT_EQ(facts.width, 64);
  EXPECT_EQ(facts.taken, "");
  EXPECT_FALSE(platform::ReadPictureFacts(Picture("phone.heic", 64, 32), false, facts));
  EXPECT_TRUE(platform::ReadPictureFacts(drive.ReadFile("phone.heic"), true, facts));
  EXPECT_EQ(facts.height, 32);
  EXPECT_FALSE(platform::ReadPictureFacts("not a picture", true, facts));
}

TEST(ExifFacts, HostileBlocksAreIgnored) {
  using platform::image::ExifFacts;
  using platform::image::ReadExif;
  ExifFacts facts;
  const std::string good = MakeExifTiff("2001:07:14 18:22:10", "Canon", "EOS");
  ASSERT_TRUE(ReadExif(good, facts));
  EXPECT_EQ(facts.taken, "2001-07-14 18:22:10");
  EXPECT_TRUE(ReadExif(std::string("Exif\0\0", 6) + good, facts));
  EXPECT_EQ(facts.camera, "Canon EOS");
  EXPECT_FALSE(ReadExif("", facts));
  EXPECT_FALSE(ReadExif("XX*\0\x08\0\0\0", facts));
  // Every cut of a good block reads without reaching past its end.
  for (std::size_t size = 0; size < good.size(); ++size) ReadExif(good.substr(0, size), facts);
  // An IFD pointing at itself, entries pointing far beyond the block.
  std::string loop = good;
  loop[4] = static_cast<char>(0xF0);
  loop[5] = static_cast<char>(0xFF);
  EXPECT_TRUE(ReadExif(loop, facts));
  EXPECT_EQ(facts.taken, "");
  // Control characters in a maker's name do not survive.
  ASSERT_TRUE(ReadExif(MakeExifTiff("", "Evil\n\x1b[31m", "Cam"), facts));
  EXPECT_EQ(facts.camera, "Evil[31m Cam");
}

TEST(PictureFormat, StillPicturesInTheMediaContainerButNoMovies) {
  using platform::image::PictureFormat;
  using platform::image::SniffPictureFormat;
  const auto sniff = [](const std::string& head) {
    return SniffPictureFormat(reinterpret_cast<const unsigned char*>(head.data()), head.size());
  };
  EXPECT_EQ(sniff(std::string("\0\0\0\x18" "ftypheic", 12)), PictureFormat::Heif);
  EXPECT_EQ(sniff(std::string("\0\0\0\x18" "ftypmif1", 12)), PictureFormat::Heif);
  EXPECT_EQ(sniff(std::string("\0\0\0\x1c" "ftypavif", 12)), PictureFormat::Heif);
  EXPECT_EQ(sniff(std::string("\0\0\0\x18" "ftypisom", 12)), PictureFormat::None);
  EXPECT_EQ(sniff(std::string("\0\0\0\x18" "ftypmp42", 12)), PictureFormat::None);
  EXPECT_EQ(sniff(std::string("\0\0\0\x18" "ftyphe", 10)), PictureFormat::None);
  EXPECT_TRUE(platform::HasPhonePictureExtension("IMG_0001.HEIC"));
  EXPECT_TRUE(platform::HasPhonePictureExtension("a.avif"));
  EXPECT_FALSE(platform::HasPhonePictureExtension("a.jpg"));
  EXPECT_FALSE(platform::HasPictureExtension("a.heic"));
}
