// Record lines: formatting and strict parsing.
#include "previews/PreviewRecord.h"

#include <charconv>
#include <cstdio>

#include "Digest.h"
#include "pages/RecordText.h"
#include "platform/Preview.h"

namespace preview_record {
namespace {

bool UnescapeName(std::string_view text, std::string& name) {
  return record_text::Unescape(text, name) && platform::IsPlainName(name) && name.find('\\') == std::string::npos;
}

// The next blank-ended field.
bool TakeField(std::string_view& line, std::string_view& field) {
  const std::size_t blank = line.find(' ');
  if (blank == std::string_view::npos) return false;
  field = line.substr(0, blank);
  line.remove_prefix(blank + 1);
  return !field.empty();
}

template <typename Number>
bool TakeNumber(std::string_view& line, Number& value) {
  std::string_view field;
  if (!TakeField(line, field)) return false;
  const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
  return error == std::errc() && end == field.data() + field.size();
}

// "seconds.nanoseconds" with nine digits after the point.
bool TakeTime(std::string_view& line, std::int64_t& seconds, std::uint32_t& nanos) {
  std::string_view field;
  if (!TakeField(line, field)) return false;
  const std::size_t point = field.find('.');
  if (point == std::string_view::npos || field.size() - point - 1 != 9) return false;
  auto [end, error] = std::from_chars(field.data(), field.data() + point, seconds);
  if (error != std::errc() || end != field.data() + point) return false;
  auto [end2, error2] = std::from_chars(field.data() + point + 1, field.data() + field.size(), nanos);
  return error2 == std::errc() && end2 == field.data() + field.size() && nanos < 1000000000u;
}

// A camera's name as one field: '%', blank, CR and LF encoded, "-" for
// none (and "%2D" for a camera called "-").
std::string EscapeField(const std::string& text) {
  if (text.empty()) return "-";
  if (text == "-") return "%2D";
  std::string out;
  for (const char c : text) {
    if (c == '%') out += "%25";
    else if (c == ' ') out += "%20";
    else if (c == '\n') out += "%0A";
    else if (c == '\r') out += "%0D";
    else out += c;
  }
  return out;
}

bool UnescapeField(std::string_view field, std::string& text) {
  text.clear();
  if (field == "-") return true;
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] != '%') {
      text += field[i];
      continue;
    }
    const std::string_view code = field.substr(i + 1, 2);
    if (code == "25") text += '%';
    else if (code == "20") text += ' ';
    else if (code == "0A") text += '\n';
    else if (code == "0D") text += '\r';
    else if (code == "2D") text += '-';
    else return false;
    i += 2;
  }
  return true;
}

// "YYYY-MM-DD HH:MM:SS" is written with a T for the blank.
bool TakeDate(std::string_view& line, std::string& date) {
  std::string_view field;
  if (!TakeField(line, field)) return false;
  date.clear();
  if (field == "-") return true;
  if (field.size() != 19) return false;
  for (std::size_t i = 0; i < 19; ++i) {
    const char separator = i == 4 || i == 7 ? '-' : i == 10 ? 'T' : i == 13 || i == 16 ? ':' : '\0';
    if (separator ? field[i] != separator : !(field[i] >= '0' && field[i] <= '9')) return false;
  }
  date = std::string(field);
  date[10] = ' ';
  return true;
}

bool TakeDigest(std::string_view& line, std::string& digest) {
  std::string_view field;
  if (!TakeField(line, field)) return false;
  digest.clear();
  if (field == "-") return true;
  if (!CDigest::IsDigestText(field)) return false;
  digest = std::string(field);
  return true;
}

bool TakeStamp(std::string_view& line, Stamp& stamp) {
  return TakeNumber(line, stamp.size) && TakeTime(line, stamp.seconds, stamp.nanos) && TakeNumber(line, stamp.inode);
}

bool SizeIsShowable(int width, int height, int largest = platform::kMaxPreviewEdge) {
  return width >= 1 && width <= largest && height >= 1 && height <= largest;
}

// A picture of the scan's beside the preview (a rendition, a large preview)
// has a size to show; none has none.
bool SizeFits(bool present, int width, int height, int largest) {
  return present ? SizeIsShowable(width, height, largest) : width == 0 && height == 0;
}

std::string StampText(const Stamp& stamp, const std::string& digest, int width, int height) {
  char text[160];
  std::snprintf(text, sizeof text, "%llu %lld.%09u %llu %s %d %d ", static_cast<unsigned long long>(stamp.size),
                static_cast<long long>(stamp.seconds), stamp.nanos, static_cast<unsigned long long>(stamp.inode),
                digest.empty() ? "-" : digest.c_str(), width, height);
  return text;
}

bool ParseFirstForm(std::string_view text, std::string& name, Line& line) {
  if (text.size() < 2 || (text[0] != 'P' && text[0] != 'B') || text[1] != ' ') return false;
  line = Line{};
  line.legacy = true;
  line.kind = text[0] == 'B' ? Line::Kind::Broken : Line::Kind::Preview;
  text.remove_prefix(2);
  if (!TakeNumber(text, line.picture.size) || !TakeNumber(text, line.picture.seconds) ||
      !TakeNumber(text, line.preview.size) || !TakeNumber(text, line.preview.seconds) ||
      !TakeNumber(text, line.width) || !TakeNumber(text, line.height))
    return false;
  // A preview the page shows needs its size; a broken picture has none.
  if (line.kind == Line::Kind::Preview && (!SizeIsShowable(line.width, line.height) || line.preview.seconds == 0))
    return false;
  if (line.kind == Line::Kind::Broken && (line.width != 0 || line.height != 0)) return false;
  return UnescapeName(text, name);
}

}  // namespace

bool SameFile(const Stamp& a, const Stamp& b, bool inodesStable) {
  return a.size == b.size && a.seconds == b.seconds && a.nanos == b.nanos && (!inodesStable || a.inode == b.inode);
}

bool Line::IsOf(const Stamp& file, bool inodesStable) const {
  if (file.size != picture.size || file.seconds != picture.seconds) return false;
  return legacy || SameFile(file, picture, inodesStable);
}

bool Line::IsPreviewFile(const Stamp& file, bool inodesStable) const {
  if (!HasPreview() || file.size != preview.size || file.seconds != preview.seconds) return false;
  return legacy || SameFile(file, preview, inodesStable);
}

int FormFor(const Line& line) {
  return line.durationMillis > 0 ? 5 : line.HasLarge() ? 4 : line.HasFacts() ? 3 : 2;
}

std::string Format(const std::string& name, const Line& line, int form) {
  const char kind = line.kind == Line::Kind::Preview ? 'P' : (line.kind == Line::Kind::Broken ? 'B' : 'L');
  char numbers[320];
  std::snprintf(numbers, sizeof numbers, "%c %llu %lld.%09u %llu %llu %lld.%09u %llu %s %d %d %llu ", kind,
                static_cast<unsigned long long>(line.picture.size), static_cast<long long>(line.picture.seconds),
                line.picture.nanos, static_cast<unsigned long long>(line.picture.inode),
                static_cast<unsigned long long>(line.preview.size), static_cast<long long>(line.preview.seconds),
                line.preview.nanos, static_cast<unsigned long long>(line.preview.inode),
                line.digest.empty() ? "-" : line.digest.c_str(), line.width, line.height,
                static_cast<unsigned long long>(line.needed));
  std::string text = numbers;
  if (form >= 3) {
    std::string taken = line.taken.empty() ? "-" : line.taken;
    if (taken.size() > 10) taken[10] = 'T';
    char facts[160];
    std::snprintf(facts, sizeof facts, "%s %d %d %s ", line.content.empty() ? "-" : line.content.c_str(),
                  line.pictureWidth, line.pictureHeight, taken.c_str());
    text += facts;
    text += StampText(line.rendition, line.renditionDigest, line.renditionWidth, line.renditionHeight);
    if (form >= 4) text += StampText(line.large, line.largeDigest, line.largeWidth, line.largeHeight);
    if (form >= 5) text += std::to_string(line.durationMillis) + " ";
    text += EscapeField(line.camera) + " ";
  }
  return text + record_text::Escape(name) + "\n";
}

bool Parse(std::string_view text, int version, std::string& name, Line& line) {
  if (version == 1) return ParseFirstForm(text, name, line);
  if (text.size() < 2 || text[1] != ' ') return false;
  line = Line{};
  switch (text[0]) {
    case 'P': line.kind = Line::Kind::Preview; break;
    case 'B': line.kind = Line::Kind::Broken; break;
    case 'L': line.kind = Line::Kind::OverBudget; break;
    default: return false;
  }
  text.remove_prefix(2);
  if (!TakeStamp(text, line.picture) || !TakeStamp(text, line.preview) || !TakeDigest(text, line.digest) ||
      !TakeNumber(text, line.width) || !TakeNumber(text, line.height) || !TakeNumber(text, line.needed))
    return false;
  if (version >= 3) {
    std::string_view camera;
    if (!TakeDigest(text, line.content) || !TakeNumber(text, line.pictureWidth) ||
        !TakeNumber(text, line.pictureHeight) || !TakeDate(text, line.taken) || !TakeStamp(text, line.rendition) ||
        !TakeDigest(text, line.renditionDigest) || !TakeNumber(text, line.renditionWidth) ||
        !TakeNumber(text, line.renditionHeight))
      return false;
    if (version >= 4 && (!TakeStamp(text, line.large) || !TakeDigest(text, line.largeDigest) ||
                         !TakeNumber(text, line.largeWidth) || !TakeNumber(text, line.largeHeight)))
      return false;
    if (version >= 5 && (!TakeNumber(text, line.durationMillis) || line.durationMillis < 0)) return false;
    if (!TakeField(text, camera) || !UnescapeField(camera, line.camera)) return false;
    if (line.pictureWidth < 0 || line.pictureHeight < 0) return false;
    if (!SizeFits(line.HasRendition(), line.renditionWidth, line.renditionHeight, platform::kMaxRenditionEdge) ||
        !SizeFits(line.HasLarge(), line.largeWidth, line.largeHeight, platform::kMaxLargePreviewEdge))
      return false;
  }
  if (line.kind == Line::Kind::Preview && (!SizeIsShowable(line.width, line.height) || line.digest.empty()))
    return false;
  if (line.kind != Line::Kind::Preview && (line.width != 0 || line.height != 0)) return false;
  if (line.kind == Line::Kind::OverBudget && line.needed == 0) return false;
  return UnescapeName(text, name);
}

}  // namespace preview_record
