// Picture formats by their first bytes and by their names: what the preview
// backend lets its decoder see. Internal to platform_image.
#pragma once

#include <cstddef>
#include <string_view>

namespace platform::image {

enum class PictureFormat { None, Jpeg, Png, Gif, Bmp, Webp, Tiff, Heif };

// The format whose signature starts `head` (the file's first bytes; 12 are
// enough to tell them all apart); None for anything else or too few bytes.
// Heif is an ISO media file whose first box names a still-picture brand
// (HEIC, HEIF or AVIF); a video in the same container (MP4) is None.
PictureFormat SniffPictureFormat(const unsigned char* head, std::size_t size);

// How many leading bytes SniffPictureFormat needs at most.
inline constexpr std::size_t kSniffBytes = 12;

}  // namespace platform::image
