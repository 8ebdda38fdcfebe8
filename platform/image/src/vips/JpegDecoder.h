// JPEG decoding for previews, straight on the JPEG library: the header for
// the memory estimate, then the picture already shrunk, with every warning
// about the picture data counted as damage. Internal to platform_image.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace platform::image {

// Allocates without filling: the decoder writes every byte of its rows,
// and filling megabytes it is about to overwrite costs a pass over them.
template <typename T>
struct NoFillAllocator : std::allocator<T> {
  template <typename U>
  struct rebind {
    using other = NoFillAllocator<U>;
  };
  NoFillAllocator() = default;
  template <typename U>
  NoFillAllocator(const NoFillAllocator<U>&) noexcept {}
  template <typename U>
  void construct(U* at) noexcept {
    ::new (static_cast<void*>(at)) U;
  }
};
using PixelRows = std::vector<unsigned char, NoFillAllocator<unsigned char>>;

class JpegDecoder {
public:
  enum class Outcome { Done, Damaged, OutOfResources };

  explicit JpegDecoder(std::string_view data);
  ~JpegDecoder();
  JpegDecoder(const JpegDecoder&) = delete;
  JpegDecoder& operator=(const JpegDecoder&) = delete;

  // Reads the markers up to the first scan. Warnings about markers before
  // the image data (padding between segments, an unknown JFIF revision)
  // are not damage: cameras write such files and they decode fine.
  Outcome ReadHeader();

  // After ReadHeader: the stored size, the samples per pixel decoded (1
  // grey, 3 RGB, 4 CMYK) and, for a progressive or multi-scan file, the
  // bytes its DCT coefficients take until the last scan.
  int Width() const;
  int Height() const;
  int Bands() const;
  bool MultiScan() const;
  std::uint64_t CoefficientBytes() const;

  // Decodes the whole picture at `eighths`/8 of its size (1 to 8; the
  // decoder scales while it transforms, which costs far less than
  // resampling afterwards) into `pixels`, rows of `width` x Bands() bytes,
  // Adobe's inverted CMYK turned back. Any warning from here on (corrupt
  // entropy data, data cut short, bytes left over before the end marker)
  // stops the decode as damage.
  Outcome Decode(int eighths, PixelRows& pixels, int& width, int& height);

  // What the library said when the outcome was not Done.
  const std::string& Message() const { return m_message; }

private:
  struct State;
  std::unique_ptr<State> m_state;
  std::string m_message;
};

}  // namespace platform::image
