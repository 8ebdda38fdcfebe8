// The memory estimate and the failure words, internal to the library.
#include <gtest/gtest.h>

#include "../src/common/DecodeEstimate.h"
#include "../src/common/DecodeFailure.h"
#include "platform/Preview.h"

using platform::image::EstimateDecodeBytes;
using platform::image::PictureFormat;
using platform::image::PictureShape;

namespace {

PictureShape Shape(PictureFormat format, std::uint64_t width, std::uint64_t height, bool interlaced = false) {
  PictureShape shape;
  shape.format = format;
  shape.width = width;
  shape.height = height;
  shape.interlaced = interlaced;
  if (format == PictureFormat::Jpeg && interlaced) shape.jpegCoefficientBytes = width * height * 3;  // 4:2:0
  return shape;
}

}  // namespace

TEST(DecodeEstimate, GrowsWithThePictureInEveryFormat) {
  for (PictureFormat format : {PictureFormat::Jpeg, PictureFormat::Png, PictureFormat::Gif, PictureFormat::Bmp,
                               PictureFormat::Webp, PictureFormat::Tiff}) {
    for (bool interlaced : {false, true}) {
      SCOPED_TRACE(static_cast<int>(format) * 2 + interlaced);
      std::uint64_t previous = 0;
      for (std::uint64_t side : {100, 1000, 4000, 14100}) {
        const std::uint64_t wide = EstimateDecodeBytes(Shape(format, side * 2, side, interlaced), 240);
        const std::uint64_t square = EstimateDecodeBytes(Shape(format, side * 2, side * 2, interlaced), 240);
        EXPECT_GT(wide, previous);
        EXPECT_GE(square, wide);
        previous = square;
      }
    }
  }
}

TEST(DecodeEstimate, WholePicturesCostMoreThanStreamedOnes) {
  for (std::uint64_t side : {1000, 4000, 14100}) {
    SCOPED_TRACE(side);
    EXPECT_GT(EstimateDecodeBytes(Shape(PictureFormat::Png, side, side, true), 240),
              EstimateDecodeBytes(Shape(PictureFormat::Png, side, side, false), 240) + side * side * 3 - 1);
    EXPECT_GT(EstimateDecodeBytes(Shape(PictureFormat::Jpeg, side, side, true), 240),
              EstimateDecodeBytes(Shape(PictureFormat::Jpeg, side, side, false), 240));
  }
  PictureShape deep = Shape(PictureFormat::Png, 14100, 14100, true);
  deep.bytesPerSample = 2;
  // The 16-bit interlaced bomb: more than the default budget on its own.
  EXPECT_GT(EstimateDecodeBytes(deep, 240), platform::kDefaultPreviewBudget);
  EXPECT_GT(EstimateDecodeBytes(deep, 240), EstimateDecodeBytes(Shape(PictureFormat::Png, 14100, 14100, true), 240));
}

TEST(DecodeEstimate, LargerEdgesCostMore) {
  const PictureShape photo = Shape(PictureFormat::Jpeg, 4000, 3000);
  EXPECT_LT(EstimateDecodeBytes(photo, 240), EstimateDecodeBytes(photo, 1000));
  EXPECT_LT(EstimateDecodeBytes(photo, 1000), EstimateDecodeBytes(photo, 4096));
  EXPECT_EQ(EstimateDecodeBytes(photo, 4096), EstimateDecodeBytes(photo, 100000));  // clamped like the edge
}

TEST(JpegShrinkOnLoad, LeavesAtLeastAFactorOfTwoToTheResampler) {
  struct Row {
    std::uint64_t width, height;
    int edge, shrink;
  };
  // 4000 x 3000 as the image library's own thumbnail shrinks it.
  const Row rows[] = {{4000, 3000, 240, 8},  {4000, 3000, 250, 8},  {4000, 3000, 251, 4},  {4000, 3000, 500, 4},
                      {4000, 3000, 501, 2},  {4000, 3000, 1000, 2}, {4000, 3000, 1001, 1}, {3000, 4000, 240, 8},
                      {300, 200, 240, 1},    {40, 30, 240, 1}};
  for (const Row& row : rows)
    EXPECT_EQ(platform::image::JpegShrinkOnLoad(row.width, row.height, row.edge), row.shrink)
        << row.width << "x" << row.height << " edge " << row.edge;
}

TEST(DecodeFailure, ResourceWordsAreTriedAgainEverythingElseIsDamage) {
  struct Row {
    const char* text;
    bool resource;
  };
  const Row rows[] = {{"VipsJpeg: Insufficient memory (case 4)", true},
                      {"vips_tracked_malloc: out of memory --- size == 1200MB", true},
                      {"Backing store not supported", true},
                      {"magickload: unable to read buffer: cache resources exhausted", true},
                      {"vips_threadset_run: unable to create thread", true},
                      {"VipsJpeg: Premature end of JPEG file", false},
                      {"Corrupt JPEG data: premature end of data segment", false},
                      {"cannot decode: vipspng: libpng read error", false},
                      {"unreadable header: IHDR: CRC error", false},
                      {"gifload: no frames in GIF", false},
                      {"", false}};
  for (const Row& row : rows) EXPECT_EQ(platform::image::IsResourceFailure(row.text), row.resource) << row.text;
}
