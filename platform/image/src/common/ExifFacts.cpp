// EXIF blocks: a few tags of the first IFD and of the EXIF IFD.
#include "ExifFacts.h"

#include <cstdint>

namespace platform::image {
namespace {

constexpr unsigned kMake = 0x010F;
constexpr unsigned kModel = 0x0110;
constexpr unsigned kOrientation = 0x0112;
constexpr unsigned kExifIfd = 0x8769;
constexpr unsigned kDateTimeOriginal = 0x9003;
constexpr unsigned kTypeAscii = 2;
constexpr unsigned kTypeShort = 3;
constexpr unsigned kTypeLong = 4;
// A real IFD has a few dozen entries; more is no block worth reading.
constexpr unsigned kMaxEntries = 1000;
constexpr std::size_t kMaxCameraBytes = 64;

class Tiff {
public:
  explicit Tiff(std::string_view bytes) : m_bytes(bytes) {}
  bool Start() {
    if (m_bytes.size() < 8) return false;
    if (m_bytes.compare(0, 2, "II") == 0) m_little = true;
    else if (m_bytes.compare(0, 2, "MM") == 0) m_little = false;
    else return false;
    return U16(2) == 42;
  }
  std::uint32_t U16(std::size_t at) const {
    if (at + 2 > m_bytes.size()) return 0;
    const auto b0 = static_cast<unsigned char>(m_bytes[at]), b1 = static_cast<unsigned char>(m_bytes[at + 1]);
    return m_little ? (b0 | b1 << 8) : (b0 << 8 | b1);
  }
  std::uint32_t U32(std::size_t at) const {
    if (at + 4 > m_bytes.size()) return 0;
    const std::uint32_t a = U16(at), b = U16(at + 2);
    return m_little ? (a | b << 16) : (a << 16 | b);
  }
  std::size_t Size() const { return m_bytes.size(); }
  // The value of an ASCII entry at `entry`, without its trailing NULs and blanks.
  std::string Ascii(std::size_t entry) const {
    const std::uint32_t count = U32(entry + 4);
    if (U16(entry + 2) != kTypeAscii || count == 0 || count > 4096) return {};
    const std::size_t at = count <= 4 ? entry + 8 : U32(entry + 8);
    if (at > m_bytes.size() || count > m_bytes.size() - at) return {};
    std::string text(m_bytes.substr(at, count));
    const std::size_t end = text.find('\0');
    if (end != std::string::npos) text.resize(end);
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
  }

private:
  std::string_view m_bytes;
  bool m_little = true;
};

// "YYYY:MM:DD HH:MM:SS" with plausible numbers, as "YYYY-MM-DD HH:MM:SS".
std::string DateText(const std::string& raw) {
  if (raw.size() < 19) return {};
  const char* pattern = "dddd:dd:dd dd:dd:dd";
  for (int i = 0; i < 19; ++i) {
    const bool digit = raw[i] >= '0' && raw[i] <= '9';
    if (pattern[i] == 'd' ? !digit : raw[i] != pattern[i] && !(pattern[i] == ':' && i < 10 && raw[i] == '-'))
      return {};
  }
  const auto number = [&](int at, int length) { return std::stoi(raw.substr(static_cast<std::size_t>(at), static_cast<std::size_t>(length))); };
  const int year = number(0, 4), month = number(5, 2), day = number(8, 2);
  if (year < 1800 || month < 1 || month > 12 || day < 1 || day > 31 || number(11, 2) > 23 || number(14, 2) > 59 ||
      number(17, 2) > 60)
    return {};
  std::string text = raw.substr(0, 19);
  text[4] = text[7] = '-';
  return text;
}

// Printable text only: control characters dropped, at most kMaxCameraBytes
// (never cutting a UTF-8 sequence in two).
std::string CleanText(const std::string& raw) {
  std::string text;
  for (const char c : raw)
    if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F) text += c;
  if (text.size() > kMaxCameraBytes) {
    text.resize(kMaxCameraBytes);
    while (!text.empty() && (static_cast<unsigned char>(text.back()) & 0xC0) == 0x80) text.pop_back();
    if (!text.empty() && static_cast<unsigned char>(text.back()) >= 0xC0) text.pop_back();
  }
  return text;
}

}  // namespace

bool ReadExif(std::string_view block, ExifFacts& facts) {
  facts = ExifFacts{};
  if (block.substr(0, 6) == std::string_view("Exif\0\0", 6)) block.remove_prefix(6);
  Tiff tiff(block);
  if (!tiff.Start()) return false;
  std::string make, model;
  std::size_t exifIfd = 0;
  const std::size_t ifd0 = tiff.U32(4);
  const unsigned count0 = ifd0 + 2 <= tiff.Size() ? tiff.U16(ifd0) : 0;
  for (unsigned i = 0; i < count0 && i < kMaxEntries; ++i) {
    const std::size_t entry = ifd0 + 2 + 12 * static_cast<std::size_t>(i);
    if (entry + 12 > tiff.Size()) break;
    switch (tiff.U16(entry)) {
      case kMake: make = tiff.Ascii(entry); break;
      case kModel: model = tiff.Ascii(entry); break;
      case kOrientation:
        if (tiff.U16(entry + 2) == kTypeShort && tiff.U16(entry + 8) >= 1 && tiff.U16(entry + 8) <= 8)
          facts.orientation = static_cast<int>(tiff.U16(entry + 8));
        break;
      case kExifIfd:
        if (tiff.U16(entry + 2) == kTypeLong) exifIfd = tiff.U32(entry + 8);
        break;
      default: break;
    }
  }
  if (exifIfd > 0 && exifIfd != ifd0 && exifIfd + 2 <= tiff.Size()) {
    const unsigned count = tiff.U16(exifIfd);
    for (unsigned i = 0; i < count && i < kMaxEntries; ++i) {
      const std::size_t entry = exifIfd + 2 + 12 * static_cast<std::size_t>(i);
      if (entry + 12 > tiff.Size()) break;
      if (tiff.U16(entry) == kDateTimeOriginal) facts.taken = DateText(tiff.Ascii(entry));
    }
  }
  make = CleanText(make);
  model = CleanText(model);
  // Most cameras repeat the maker at the start of the model's name.
  if (!make.empty() && model.compare(0, make.size(), make) != 0) facts.camera = CleanText(make + " " + model);
  else facts.camera = model;
  if (facts.camera.empty()) facts.camera = make;
  return true;
}

std::string_view FindJpegExif(std::string_view jpeg) {
  std::size_t pos = 2;
  if (jpeg.size() < 4 || static_cast<unsigned char>(jpeg[0]) != 0xFF || static_cast<unsigned char>(jpeg[1]) != 0xD8)
    return {};
  while (pos + 4 <= jpeg.size() && static_cast<unsigned char>(jpeg[pos]) == 0xFF) {
    const unsigned marker = static_cast<unsigned char>(jpeg[pos + 1]);
    if (marker == 0xDA || marker == 0xD9) break;  // image data or end: no more metadata
    if (marker == 0xFF) {  // padding before a marker
      ++pos;
      continue;
    }
    const std::size_t length = static_cast<std::size_t>(static_cast<unsigned char>(jpeg[pos + 2])) << 8 |
                               static_cast<unsigned char>(jpeg[pos + 3]);
    if (length < 2 || pos + 2 + length > jpeg.size()) break;
    const std::string_view payload = jpeg.substr(pos + 4, length - 2);
    if (marker == 0xE1 && payload.substr(0, 6) == std::string_view("Exif\0\0", 6)) return payload;
    pos += 2 + length;
  }
  return {};
}

}  // namespace platform::image
