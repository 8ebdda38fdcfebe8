// What a picture's EXIF block says about it: the orientation, the date it
// was taken and the camera. Read by hand from the bytes, every offset
// checked, so a hostile block can only be ignored. Internal to
// platform_image.
#pragma once

#include <string>
#include <string_view>

namespace platform::image {

struct ExifFacts {
  int orientation = 0;  // 1..8, 0 when not given
  std::string taken;    // DateTimeOriginal as "YYYY-MM-DD HH:MM:SS"; "" when absent or not a date
  std::string camera;   // Make and Model in one text ("" when absent), at most 64 bytes, no control characters
};

// Reads an EXIF block: the TIFF structure, with or without the "Exif\0\0"
// that precedes it in a JPEG. False when it is none; what a readable block
// lacks stays empty.
bool ReadExif(std::string_view block, ExifFacts& facts);

// The EXIF block of a JPEG file (the payload of its first APP1 segment
// that starts with "Exif\0\0"), searched among the segments before the
// image data; empty when there is none.
std::string_view FindJpegExif(std::string_view jpeg);

}  // namespace platform::image
