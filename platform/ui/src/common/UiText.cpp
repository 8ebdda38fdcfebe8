#include "UiText.h"

#include <cstring>

namespace platform::ui {
namespace {

// The length of the valid UTF-8 sequence starting at `pos`; 0 when the bytes
// there start none.
std::size_t SequenceLength(std::string_view text, std::size_t pos) {
  const auto lead = static_cast<unsigned char>(text[pos]);
  std::size_t length = 0;
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) length = 2;
  else if (lead >= 0xE0 && lead <= 0xEF) length = 3;
  else if (lead >= 0xF0 && lead <= 0xF4) length = 4;
  else return 0;
  if (pos + length > text.size()) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    if ((static_cast<unsigned char>(text[pos + i]) & 0xC0) != 0x80) return 0;
  }
  return length;
}

}  // namespace

int CountCharacters(std::string_view text) {
  int count = 0;
  for (std::size_t pos = 0; pos < text.size(); ++count) {
    const std::size_t length = SequenceLength(text, pos);
    pos += length ? length : 1;
  }
  return count;
}

std::size_t Utf8PrefixLength(std::string_view text, std::size_t maxBytes) {
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t length = SequenceLength(text, pos);
    const std::size_t step = length ? length : 1;
    if (pos + step > maxBytes) break;
    pos += step;
  }
  return pos;
}

std::size_t CopyTextTo(std::string_view text, char* buffer, std::size_t size) {
  if (!buffer || size < 1) return 0;
  const std::size_t length = Utf8PrefixLength(text, size - 1);
  std::memcpy(buffer, text.data(), length);
  buffer[length] = '\0';
  return length;
}

std::string StripMnemonics(std::string_view text) {
  std::string shown;
  shown.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '&' && i + 1 < text.size()) ++i;  // "&&" keeps the second '&'
    else if (text[i] == '&') continue;               // a lone '&' at the end
    shown += text[i];
  }
  return shown;
}

}  // namespace platform::ui
