// Picture signatures and extensions.
#include "PictureFormat.h"

#include <cstring>
#include <string>

#include "platform/Crt.h"
#include "platform/Preview.h"
#include "platform/VideoPoster.h"

namespace platform::image {
namespace {

bool StartsWith(const unsigned char* head, std::size_t size, const char* signature, std::size_t length) {
  return size >= length && std::memcmp(head, signature, length) == 0;
}

}  // namespace

PictureFormat SniffPictureFormat(const unsigned char* head, std::size_t size) {
  if (!head) return PictureFormat::None;
  if (StartsWith(head, size, "\xFF\xD8\xFF", 3)) return PictureFormat::Jpeg;
  if (StartsWith(head, size, "\x89PNG\r\n\x1A\n", 8)) return PictureFormat::Png;
  if (StartsWith(head, size, "GIF87a", 6) || StartsWith(head, size, "GIF89a", 6)) return PictureFormat::Gif;
  if (StartsWith(head, size, "BM", 2) && size >= kSniffBytes) return PictureFormat::Bmp;
  if (StartsWith(head, size, "RIFF", 4) && size >= 12 && std::memcmp(head + 8, "WEBP", 4) == 0)
    return PictureFormat::Webp;
  if (StartsWith(head, size, "II*\0", 4) || StartsWith(head, size, "MM\0*", 4)) return PictureFormat::Tiff;
  // An ISO media file starts with its "ftyp" box; the major brand after it
  // tells a still picture from a movie.
  if (size >= 12 && std::memcmp(head + 4, "ftyp", 4) == 0) {
    for (const char* brand : {"heic", "heix", "heim", "heis", "hevc", "hevx", "mif1", "msf1", "avif", "avis"})
      if (std::memcmp(head + 8, brand, 4) == 0) return PictureFormat::Heif;
  }
  return PictureFormat::None;
}

}  // namespace platform::image

namespace platform {

bool HasPictureExtension(std::string_view fileName) {
  const std::size_t dot = fileName.rfind('.');
  if (dot == std::string_view::npos) return false;
  std::string ext(fileName.substr(dot + 1));
  AsciiUpper(ext);
  for (const char* known : {"JPG", "JPEG", "JPE", "PNG", "GIF", "BMP", "WEBP", "TIF", "TIFF"})
    if (ext == known) return true;
  return false;
}

bool HasPhonePictureExtension(std::string_view fileName) {
  const std::size_t dot = fileName.rfind('.');
  if (dot == std::string_view::npos) return false;
  std::string ext(fileName.substr(dot + 1));
  AsciiUpper(ext);
  for (const char* known : {"HEIC", "HEIF", "HIF", "AVIF"})
    if (ext == known) return true;
  return false;
}

bool HasUnshownPictureExtension(std::string_view fileName) {
  if (HasPhonePictureExtension(fileName)) return true;
  const std::size_t dot = fileName.rfind('.');
  if (dot == std::string_view::npos) return false;
  std::string ext(fileName.substr(dot + 1));
  AsciiUpper(ext);
  return ext == "TIF" || ext == "TIFF";
}

bool HasVideoExtension(std::string_view fileName) {
  const std::size_t dot = fileName.rfind('.');
  if (dot == std::string_view::npos) return false;
  std::string ext(fileName.substr(dot + 1));
  AsciiUpper(ext);
  for (const char* known : {"MP4", "M4V", "MOV", "WEBM"})
    if (ext == known) return true;
  return false;
}

}  // namespace platform
