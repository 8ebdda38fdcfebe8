// Test pictures with libvips; EXIF blocks built byte by byte, so a test
// states exactly what a picture carries.
#include "platform/testing/TestPictures.h"

#include <cstdint>
#include <fstream>
#include <iterator>
#include <utility>
#include <vector>
#include <vips/vips.h>

// The HEVC encoder behind HEIC test pictures keeps a few buffers for the
// whole process and never frees them; they are the encoder's, not the code
// under test's, so the leak checker of a sanitizer build is told to pass
// them over in every program that writes such pictures.
extern "C" const char* __lsan_default_suppressions() { return "leak:libx265.so\n"; }

namespace platform::testing {
namespace {

bool Start() {
  static const bool started = VIPS_INIT("ombral-tests") == 0;
  return started;
}

struct Ref {
  VipsImage* image = nullptr;
  ~Ref() {
    if (image) g_object_unref(image);
  }
};

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void Put16(std::string& out, unsigned value) {
  out += static_cast<char>(value & 0xFF);
  out += static_cast<char>((value >> 8) & 0xFF);
}

void Put32(std::string& out, std::uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

// One little-endian IFD entry whose value fits in its four bytes.
void PutEntry(std::string& out, unsigned tag, unsigned type, std::uint32_t count, std::uint32_t value) {
  Put16(out, tag);
  Put16(out, type);
  Put32(out, count);
  Put32(out, value);
}

}  // namespace

bool WriteTestPicture(const std::string& nativePath, int width, int height) {
  return WriteTestPicture(nativePath, width, height, PictureOptions{});
}

bool WriteTestPicture(const std::string& nativePath, int width, int height, const PictureOptions& options) {
  if (!Start() || width <= 0 || height <= 0) return false;
  Ref xy, x, y, red, green, blue, alpha, rgb, pixels, typed;
  // Samples are made on the 8-bit scale and stretched to 16 bits at the end.
  const double redScale = options.flat ? 0.0 : 255.0 / (width > 1 ? width - 1 : 1);
  const double greenScale = options.flat ? 0.0 : 255.0 / (height > 1 ? height - 1 : 1);
  bool ok = vips_xyz(&xy.image, width, height, nullptr) == 0 &&
            vips_extract_band(xy.image, &x.image, 0, nullptr) == 0 &&
            vips_extract_band(xy.image, &y.image, 1, nullptr) == 0 &&
            vips_linear1(x.image, &red.image, redScale, options.flat ? 90.0 : 0.0, nullptr) == 0 &&
            vips_linear1(y.image, &green.image, greenScale, options.flat ? 160.0 : 0.0, nullptr) == 0 &&
            vips_linear1(x.image, &blue.image, 0.0, 128.0, nullptr) == 0;
  if (ok && options.checkered) {
    Ref sum, parity;
    ok = vips_add(x.image, y.image, &sum.image, nullptr) == 0 &&
         vips_remainder_const1(sum.image, &parity.image, 2.0, nullptr) == 0;
    Ref checker;
    ok = ok && vips_linear1(parity.image, &checker.image, 255.0, 0.0, nullptr) == 0;
    for (Ref* band : {&red, &green, &blue}) {
      if (!ok) break;
      g_object_unref(band->image);
      band->image = nullptr;
      ok = vips_copy(checker.image, &band->image, nullptr) == 0;
    }
  }
  // Opaque on the right half, transparent on the left.
  ok = ok && (!options.alpha || vips_moreeq_const1(x.image, &alpha.image, width / 2.0, nullptr) == 0);
  VipsImage* bands[4] = {red.image, green.image, blue.image, alpha.image};
  ok = ok && vips_bandjoin(bands, &rgb.image, options.alpha ? 4 : 3, nullptr) == 0;
  if (options.sixteenBit) {
    ok = ok && vips_linear1(rgb.image, &pixels.image, 257.0, 0.0, nullptr) == 0 &&
         vips_cast_ushort(pixels.image, &typed.image, nullptr) == 0;
  } else {
    ok = ok && vips_cast_uchar(rgb.image, &typed.image, nullptr) == 0;
  }
  // The interpretation decides the bit depth a saver keeps.
  Ref picture;
  ok = ok && vips_copy(typed.image, &picture.image, "interpretation",
                       options.sixteenBit ? VIPS_INTERPRETATION_RGB16 : VIPS_INTERPRETATION_sRGB, nullptr) == 0;
  const std::string::size_type dot = nativePath.rfind('.');
  const std::string ext = dot == std::string::npos ? "" : nativePath.substr(dot + 1);
  if (ok && (ext == "bmp" || options.byMagick)) {
    ok = vips_magicksave(picture.image, nativePath.c_str(), "format", ext == "bmp" ? "bmp" : ext.c_str(), nullptr) == 0;
  } else if (ok && options.checkered && ext == "tif") {
    ok = vips_tiffsave(picture.image, nativePath.c_str(), "compression", VIPS_FOREIGN_TIFF_COMPRESSION_DEFLATE, "strip",
                       TRUE, nullptr) == 0;
  } else if (ok) {
    // Interlacing is the same option for the PNG and the JPEG saver; the
    // other savers do not know it.
    ok = options.interlaced
             ? vips_image_write_to_file(picture.image, nativePath.c_str(), "strip", TRUE, "interlace", TRUE, nullptr) == 0
             : vips_image_write_to_file(picture.image, nativePath.c_str(), "strip", TRUE, nullptr) == 0;
  }
  vips_error_clear();
  return ok;
}

std::string MakeExifTiff(int orientation, bool withGps) {
  std::string tiff = "II";
  Put16(tiff, 42);
  Put32(tiff, 8);
  const unsigned entries = withGps ? 2 : 1;
  Put16(tiff, entries);
  PutEntry(tiff, 0x0112, 3, 1, static_cast<std::uint32_t>(orientation));  // Orientation, SHORT
  const std::uint32_t gpsOffset = 8 + 2 + 12 * entries + 4;
  if (withGps) PutEntry(tiff, 0x8825, 4, 1, gpsOffset);  // GPS IFD pointer, LONG
  Put32(tiff, 0);                                        // no further IFD
  if (withGps) {
    Put16(tiff, 2);
    PutEntry(tiff, 0x0000, 1, 4, 0x00000202);  // GPSVersionID 2.2.0.0
    PutEntry(tiff, 0x0001, 2, 2, 'N');         // GPSLatitudeRef "N"
    Put32(tiff, 0);
  }
  return tiff;
}

std::string MakeExifTiff(const std::string& taken, const std::string& make, const std::string& model) {
  // Entries first, their texts after the IFDs; every text is longer than
  // four bytes or padded to be, so it always lives at an offset.
  const auto padded = [](std::string text) {
    text += '\0';
    while (text.size() < 5) text += '\0';
    return text;
  };
  std::vector<std::pair<unsigned, std::string>> first;
  if (!make.empty()) first.emplace_back(0x010F, padded(make));
  if (!model.empty()) first.emplace_back(0x0110, padded(model));
  const bool withExif = !taken.empty();
  const unsigned entries0 = static_cast<unsigned>(first.size()) + (withExif ? 1 : 0);
  const std::uint32_t ifd0Size = 2 + 12 * entries0 + 4;
  const std::uint32_t exifIfd = 8 + ifd0Size;
  const std::uint32_t exifSize = withExif ? 2 + 12 + 4 : 0;
  std::uint32_t data = exifIfd + exifSize;
  std::string tiff = "II";
  Put16(tiff, 42);
  Put32(tiff, 8);
  Put16(tiff, entries0);
  std::string texts;
  for (const auto& [tag, text] : first) {
    PutEntry(tiff, tag, 2, static_cast<std::uint32_t>(text.size()), data);
    texts += text;
    data += static_cast<std::uint32_t>(text.size());
  }
  if (withExif) PutEntry(tiff, 0x8769, 4, 1, exifIfd);
  Put32(tiff, 0);
  if (withExif) {
    const std::string date = padded(taken);
    Put16(tiff, 1);
    PutEntry(tiff, 0x9003, 2, static_cast<std::uint32_t>(date.size()), data);
    Put32(tiff, 0);
    texts += date;
  }
  return tiff + texts;
}

bool InsertExif(const std::string& nativePath, const std::string& tiff) {
  std::string jpeg = ReadAll(nativePath);
  if (jpeg.size() < 4 || static_cast<unsigned char>(jpeg[0]) != 0xFF || static_cast<unsigned char>(jpeg[1]) != 0xD8)
    return false;
  const std::string payload = std::string("Exif\0\0", 6) + tiff;
  if (payload.size() + 2 > 0xFFFF) return false;
  std::string segment = "\xFF\xE1";
  segment += static_cast<char>(((payload.size() + 2) >> 8) & 0xFF);
  segment += static_cast<char>((payload.size() + 2) & 0xFF);
  segment += payload;
  jpeg.insert(2, segment);
  std::ofstream out(nativePath, std::ios::binary | std::ios::trunc);
  out.write(jpeg.data(), static_cast<std::streamsize>(jpeg.size()));
  return static_cast<bool>(out);
}

bool ReadPictureInfo(const std::string& nativePath, PictureInfo& info) {
  if (!Start()) return false;
  Ref image;
  image.image = vips_image_new_from_file(nativePath.c_str(), nullptr);
  vips_error_clear();
  if (!image.image) return false;
  info.width = vips_image_get_width(image.image);
  info.height = vips_image_get_height(image.image);
  info.hasMetadata = false;
  info.comments.clear();
  info.progressive = false;
  // Walk the JPEG segments up to the image data: APP1..APP15 (EXIF, XMP,
  // ICC and the like) are metadata; APP0 (JFIF) is not. Comments are kept
  // apart.
  const std::string jpeg = ReadAll(nativePath);
  std::size_t pos = 2;
  while (jpeg.size() >= 4 && pos + 4 <= jpeg.size() && static_cast<unsigned char>(jpeg[pos]) == 0xFF) {
    const unsigned marker = static_cast<unsigned char>(jpeg[pos + 1]);
    if (marker == 0xDA) break;  // start of scan
    const std::size_t length =
        static_cast<std::size_t>(static_cast<unsigned char>(jpeg[pos + 2])) << 8 | static_cast<unsigned char>(jpeg[pos + 3]);
    if (marker >= 0xE1 && marker <= 0xEF) info.hasMetadata = true;
    if (marker == 0xFE && length >= 2) info.comments += jpeg.substr(pos + 4, length - 2);
    if (marker == 0xC2) info.progressive = true;
    pos += 2 + length;
  }
  return true;
}

bool ReadPixel(const std::string& nativePath, int x, int y, int& red, int& green) {
  if (!Start()) return false;
  Ref image;
  image.image = vips_image_new_from_file(nativePath.c_str(), nullptr);
  double* values = nullptr;
  int count = 0;
  const bool ok = image.image && vips_getpoint(image.image, &values, &count, x, y, nullptr) == 0 && count >= 2;
  if (ok) {
    red = static_cast<int>(values[0] + 0.5);
    green = static_cast<int>(values[1] + 0.5);
  }
  g_free(values);
  vips_error_clear();
  return ok;
}

}  // namespace platform::testing
