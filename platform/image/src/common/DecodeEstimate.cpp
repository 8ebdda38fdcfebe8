// The decoding memory estimate. Each kind of picture is decoded one of two
// ways, and the estimate follows the way:
//   streamed: the decoder hands out rows as the resampler asks for them
//     (a sequential PNG); what is held is what the resampler keeps of them;
//   held whole: an interlaced PNG (every pass touches the whole picture), a
//     progressive or multi-scan JPEG (all DCT coefficients until the last
//     scan), GIF, WebP, TIFF and BMP (their decoders fill a whole frame), and
//     a baseline JPEG, which is decoded whole but already shrunk.
// To that come a fixed amount (library state, the worker thread, allocator
// slack) and the preview itself on its way to the JPEG encoder. The factors
// were measured (peak resident memory of a release build, one picture per
// process) and carry a margin; the benchmark program prints estimate and
// measurement side by side.
#include "DecodeEstimate.h"

#include <algorithm>

#include "platform/Preview.h"

namespace platform::image {
namespace {

constexpr std::uint64_t kMiB = 1024 * 1024;
constexpr std::uint64_t kFixed = 24 * kMiB;

std::uint64_t CeilDiv(std::uint64_t value, std::uint64_t by) { return (value + by - 1) / by; }

int ClampEdge(int edge) { return std::clamp(edge, kMinPreviewEdge, kMaxPreviewEdge); }

// What the resampler holds while rows stream through it: rows converted to
// 32-bit floats (premultiplied first when there is an alpha band, which
// measured twice the rows), a few hundred of them for its line caches
// whatever the shrink, plus a part that grows with the picture's height.
std::uint64_t Streamed(std::uint64_t width, std::uint64_t height, std::uint64_t bands, std::uint64_t pixelBytes) {
  const bool alpha = bands == 2 || bands == 4;
  return width * bands * 4 * (alpha ? 800 : 400) + width * height * pixelBytes / 16;
}

}  // namespace

int JpegShrinkOnLoad(std::uint64_t width, std::uint64_t height, int edge) {
  const double factor = static_cast<double>(std::max(width, height)) / ClampEdge(edge);
  return factor >= 16 ? 8 : factor >= 8 ? 4 : factor >= 4 ? 2 : 1;
}

int JpegEighthsOnLoad(std::uint64_t longer, int edge) {
  for (int eighths = 1; eighths < 8; ++eighths)
    if (CeilDiv(longer * static_cast<std::uint64_t>(eighths), 8) >= static_cast<std::uint64_t>(std::max(edge, 1)))
      return eighths;
  return 8;
}

std::uint64_t EstimateDecodeBytes(const PictureShape& shape, int edge) {
  edge = ClampEdge(edge);
  const std::uint64_t width = std::max<std::uint64_t>(shape.width, 1);
  const std::uint64_t height = std::max<std::uint64_t>(shape.height, 1);
  const auto bands = static_cast<std::uint64_t>(std::max(shape.bands, 1));
  const std::uint64_t pixelBytes = bands * static_cast<std::uint64_t>(std::max(shape.bytesPerSample, 1));
  const std::uint64_t wholeBytes = width * height * pixelBytes;
  // The preview: at most edge x edge with four 8-bit bands, held by the
  // resampler, the flattening and the encoder.
  const std::uint64_t preview = static_cast<std::uint64_t>(edge) * edge * 4 * 3;

  std::uint64_t decode = 0;
  switch (shape.format) {
    case PictureFormat::Jpeg: {
      // Decoded whole, shrunk by the decoder, then streamed into the
      // resampler; a multi-scan file keeps all its coefficients until the
      // last scan, and the decoder needs rows of 16-pixel-high blocks.
      const auto eighths = static_cast<std::uint64_t>(
          shape.jpegEighths > 0 ? std::min(shape.jpegEighths, 8) : 8 / JpegShrinkOnLoad(width, height, edge));
      const std::uint64_t shrunkWidth = CeilDiv(width * eighths, 8);
      const std::uint64_t shrunkHeight = CeilDiv(height * eighths, 8);
      decode = shrunkWidth * shrunkHeight * pixelBytes + width * pixelBytes * 32 +
               Streamed(shrunkWidth, shrunkHeight, bands, pixelBytes) +
               (shape.interlaced ? shape.jpegCoefficientBytes : 0);
      break;
    }
    case PictureFormat::Png:
      decode = (shape.interlaced ? wholeBytes : 0) + Streamed(width, height, bands, pixelBytes);
      break;
    case PictureFormat::Bmp:
      // Read by a general image library into its own 16-bit RGBA pixel
      // cache, then copied into the resampler's picture.
      decode = width * height * 8 + wholeBytes + Streamed(width, height, bands, pixelBytes);
      break;
    case PictureFormat::Gif:
      // The frame as RGBA, and the previous frame kept for disposal.
      decode = width * height * 4 * 2 + Streamed(width, height, bands, pixelBytes);
      break;
    case PictureFormat::Heif:
      // The decoder's own colour planes (4:2:0 at most 1.5 bytes a pixel in
      // 8 bits, twice that in 10 or 12 bits), the whole frame handed over
      // interleaved, and a copy of it as the library's picture.
      decode = width * height * 3 + 2 * wholeBytes + Streamed(width, height, bands, pixelBytes);
      break;
    case PictureFormat::Webp:
    case PictureFormat::Tiff:
    case PictureFormat::None:
      decode = wholeBytes + width * height * 4 + Streamed(width, height, bands, pixelBytes);
      break;
  }
  return kFixed + preview + decode;
}

}  // namespace platform::image
