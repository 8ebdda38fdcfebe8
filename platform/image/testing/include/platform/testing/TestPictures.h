// Test support: real picture files made on the spot, and what tests check
// in a preview (size, colours, metadata), read without the code under test.
#pragma once

#include <string>

namespace platform::testing {

// Writes a width x height picture in the format its name's extension names
// (jpg, png, gif, bmp, webp, tif, and heic or avif through the HEIF saver). Its red channel rises from left to right
// and its green channel from top to bottom, so a turned copy shows which way
// it was turned. False when it could not be written.
bool WriteTestPicture(const std::string& nativePath, int width, int height);

// How a test picture is stored, beyond its size and format.
struct PictureOptions {
  bool interlaced = false;  // an interlaced PNG, a progressive JPEG
  bool sixteenBit = false;  // PNG and TIFF: 16-bit samples
  bool alpha = false;       // an alpha band, transparent in the left half
  bool flat = false;        // nearly one colour (compresses to almost nothing)
  // A grey checkerboard of single pixels: a TIFF of it is deflated to almost
  // nothing, a JPEG of it is large.
  bool checkered = false;
  bool byMagick = false;    // written by ImageMagick's encoder rather than libvips'
};
bool WriteTestPicture(const std::string& nativePath, int width, int height, const PictureOptions& options);

// The TIFF part of an EXIF block (what follows "Exif\0\0") with the given
// orientation (1..8) and, when asked, a GPS position.
std::string MakeExifTiff(int orientation, bool withGps);

// The TIFF part of an EXIF block with the date taken ("YYYY:MM:DD HH:MM:SS",
// as cameras write it) in its EXIF IFD and the camera's maker and model in
// the first IFD; empty texts are left out.
std::string MakeExifTiff(const std::string& taken, const std::string& make, const std::string& model);

// Puts an EXIF block holding `tiff` right after the start of a JPEG file;
// false when the file is not a JPEG or cannot be rewritten.
bool InsertExif(const std::string& nativePath, const std::string& tiff);

struct PictureInfo {
  int width = 0;
  int height = 0;
  bool hasMetadata = false;  // a JPEG with an EXIF, XMP, ICC or other APP1..APP15 segment
  std::string comments;      // the texts of a JPEG's comment segments, one after the other
  bool progressive = false;  // a JPEG whose frame is progressive
};
// Reads size and metadata; false when the file is no readable picture.
bool ReadPictureInfo(const std::string& nativePath, PictureInfo& info);

// The red and green values (0..255) of one pixel; false when it cannot be read.
bool ReadPixel(const std::string& nativePath, int x, int y, int& red, int& green);

}  // namespace platform::testing
