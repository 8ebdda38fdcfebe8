// The preview mark: a JPEG comment segment (marker FF FE, a two-byte
// big-endian length counting itself, then the text) placed right after the
// start-of-image marker, where a reader finds it in the first bytes without
// walking the file's segments.
#include "PreviewMark.h"

#include "platform/Preview.h"

namespace platform {
namespace {

constexpr std::string_view kMarkText = "Ombral preview 1";
constexpr std::string_view kStartOfImage = "\xFF\xD8";

std::string MarkSegment() {
  std::string segment = "\xFF\xFE";
  const std::size_t length = kMarkText.size() + 2;
  segment += static_cast<char>(length >> 8);
  segment += static_cast<char>(length & 0xFF);
  segment += kMarkText;
  return segment;
}

static_assert(kPreviewMarkBytes == 2 + 4 + kMarkText.size(), "the mark's size in the header");

}  // namespace

bool IsMarkedPreview(std::string_view head) {
  static const std::string marked = std::string(kStartOfImage) + MarkSegment();
  return head.size() >= marked.size() && head.substr(0, marked.size()) == marked;
}

namespace image {

bool AddPreviewMark(std::string& jpeg) {
  if (jpeg.compare(0, kStartOfImage.size(), kStartOfImage) != 0) return false;
  jpeg.insert(kStartOfImage.size(), MarkSegment());
  return true;
}

}  // namespace image
}  // namespace platform
