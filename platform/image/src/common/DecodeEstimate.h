// What decoding a picture into a preview costs in memory, from the facts
// its header gives. Internal to platform_image.
#pragma once

#include <cstdint>

#include "PictureFormat.h"

namespace platform::image {

// A picture as its header describes it.
struct PictureShape {
  PictureFormat format = PictureFormat::None;
  std::uint64_t width = 0;
  std::uint64_t height = 0;
  int bands = 3;           // samples per pixel as decoded (after palette expansion)
  int bytesPerSample = 1;  // 2 for 16-bit samples
  bool interlaced = false;  // an interlaced PNG, a progressive or multi-scan JPEG
  std::uint64_t jpegCoefficientBytes = 0;  // multi-scan JPEG: all components' DCT blocks, 128 bytes each
  // A JPEG decoded at this many eighths of its size; 0: as JpegShrinkOnLoad
  // tells for the edge.
  int jpegEighths = 0;
};

// The factor (1, 2, 4 or 8) by which a JPEG is shrunk while it is decoded
// for a preview of `edge`: the largest that still leaves at least a factor
// of two to the resampling after it, so previews keep their sharpness.
int JpegShrinkOnLoad(std::uint64_t width, std::uint64_t height, int edge);

// The fewest eighths (1 to 8) of a JPEG's size at which its longer edge,
// `longer` pixels, is still at least `edge`: the decode of a picture that
// is only shrunk a little (a rendition for a screen), where the decoder's
// scaling spares most of the resampler's work.
int JpegEighthsOnLoad(std::uint64_t longer, int edge);

// The most the process's memory grows while a picture of this shape becomes
// a preview of `edge` (clamped as the preview functions clamp it). Never
// below what the measurements of each kind showed; see the table in
// EstimateDecodeBytes.
std::uint64_t EstimateDecodeBytes(const PictureShape& shape, int edge);

}  // namespace platform::image
