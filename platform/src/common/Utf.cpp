// UTF-16 to UTF-8 conversion for the wide-text constructor of CString.
#include "platform/String.h"

namespace platform {
namespace {

void AppendUtf8(std::string& out, char32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

bool IsHighSurrogate(unsigned short unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(unsigned short unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

}  // namespace

std::string Utf16ToUtf8(const unsigned short* wide) {
  std::string out;
  if (!wide) return out;
  for (const unsigned short* p = wide; *p; ++p) {
    if (IsHighSurrogate(p[0]) && IsLowSurrogate(p[1])) {
      AppendUtf8(out, 0x10000 + ((char32_t(p[0]) - 0xD800) << 10) + (char32_t(p[1]) - 0xDC00));
      ++p;
    } else if (IsHighSurrogate(*p) || IsLowSurrogate(*p)) {
      AppendUtf8(out, 0xFFFD);
    } else {
      AppendUtf8(out, *p);
    }
  }
  return out;
}

}  // namespace platform
