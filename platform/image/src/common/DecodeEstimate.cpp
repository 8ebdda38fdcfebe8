// The decoding memory estimate. Each kind of picture is decoded one of two
// ways, and the estimate follows the way:
//   streamed: the decoder hands out rows as the resampler asks for them
//     (a sequential PNG); what is held is a band of rows, as many as the
//     vertical shrink needs plus the decoder's own;
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

}  // namespace

int JpegShrinkOnLoad(std::uint64_t width, std::uint64_t height, int edge) {
  const double factor = static_cast<double>(std::max(width, height)) / ClampEdge(edge);
  return factor >= 16 ? 8 : factor >= 8 ? 4 : factor >= 4 ? 2 : 1;
}

std::uint64_t EstimateDecodeBytes(const PictureShape& shape, int edge) {
  edge = ClampEdge(edge);
  const std::uint64_t width = std::max<std::uint64_t>(shape.width, 1);
  const std::uint64_t height = std::max<std::uint64_t>(shape.height, 1);
  const std::uint64_t pixelBytes =
      static_cast<std::uint64_t>(std::max(shape.bands, 1)) * static_cast<std::uint64_t>(std::max(shape.bytesPerSample, 1));
  const std::uint64_t rowBytes = width * pixelBytes;
  const std::uint64_t wholeBytes = rowBytes * height;
  // The preview: at most edge x edge with four 8-bit bands, held by the
  // resampler, the flattening and the encoder.
  const std::uint64_t preview = static_cast<std::uint64_t>(edge) * edge * 4 * 3;
  // Rows a resampler keeps: twice the vertical shrink plus its filter.
  const std::uint64_t shrink = std::max<std::uint64_t>(CeilDiv(std::max(width, height), edge), 1);
  const std::uint64_t band = rowBytes * (2 * shrink + 32);

  std::uint64_t decode = 0;
  switch (shape.format) {
    case PictureFormat::Jpeg: {
      const std::uint64_t factor = static_cast<std::uint64_t>(JpegShrinkOnLoad(width, height, edge));
      const std::uint64_t shrunk = CeilDiv(width, factor) * CeilDiv(height, factor) * pixelBytes;
      // The decoder's row buffers: two rows of 16-pixel-high MCUs.
      decode = shrunk + rowBytes * 32 + (shape.interlaced ? shape.jpegCoefficientBytes : 0);
      break;
    }
    case PictureFormat::Png:
      decode = shape.interlaced ? wholeBytes + band : band;
      break;
    case PictureFormat::Bmp:
      // Read by a general image library into its own 16-bit RGBA pixel
      // cache, then copied into the resampler's picture.
      decode = width * height * 8 + wholeBytes + band;
      break;
    case PictureFormat::Gif:
      // The frame as RGBA, and the previous frame kept for disposal.
      decode = width * height * 4 * 2 + band;
      break;
    case PictureFormat::Webp:
    case PictureFormat::Tiff:
    case PictureFormat::None:
      decode = wholeBytes + width * height * 4 + band;
      break;
  }
  return kFixed + preview + decode;
}

}  // namespace platform::image
