// Escaping of names for links and visible text.
#include "HtmlText.h"

#include <cstdio>

namespace ombral {
namespace {

// Length of the valid UTF-8 sequence at `pos`, or 0 when the byte there does
// not start one (stray continuation, overlong form, surrogate, beyond
// U+10FFFF, or cut short).
std::size_t ValidSequenceLength(std::string_view text, std::size_t pos) {
  const unsigned char lead = static_cast<unsigned char>(text[pos]);
  if (lead < 0x80) return 1;
  std::size_t length;
  unsigned char min2 = 0x80, max2 = 0xBF;  // allowed range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) min2 = 0xA0;  // no overlong forms
    if (lead == 0xED) max2 = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) min2 = 0x90;
    if (lead == 0xF4) max2 = 0x8F;  // nothing beyond U+10FFFF
  } else {
    return 0;
  }
  if (pos + length > text.size()) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    const unsigned char next = static_cast<unsigned char>(text[pos + i]);
    const unsigned char lo = i == 1 ? min2 : 0x80, hi = i == 1 ? max2 : 0xBF;
    if (next < lo || next > hi) return 0;
  }
  return length;
}

void AppendPercent(std::string& out, unsigned char byte) {
  char code[4];
  std::snprintf(code, sizeof code, "%%%02X", byte);
  out += code;
}

}  // namespace

std::string EscapeLink(std::string_view name) {
  std::string out;
  out.reserve(name.size());
  for (std::size_t pos = 0; pos < name.size();) {
    const std::size_t length = ValidSequenceLength(name, pos);
    if (length == 0) {
      AppendPercent(out, static_cast<unsigned char>(name[pos++]));
      continue;
    }
    if (length == 1) {
      const char c = name[pos];
      if (c == '#' || c == '%' || c == '?') {
        AppendPercent(out, static_cast<unsigned char>(c));
      } else if (c == '&') {
        out += "&amp;";
      } else if (c == '"') {
        out += "&quot;";
      } else {
        out += c;
      }
    } else {
      out.append(name.substr(pos, length));
    }
    pos += length;
  }
  return out;
}

std::string EscapeText(std::string_view name) {
  std::string out;
  out.reserve(name.size());
  for (std::size_t pos = 0; pos < name.size();) {
    const std::size_t length = ValidSequenceLength(name, pos);
    if (length == 0) {
      out += "\xEF\xBF\xBD";  // U+FFFD
      ++pos;
      continue;
    }
    if (length == 1) {
      switch (name[pos]) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        default: out += name[pos]; break;
      }
    } else {
      out.append(name.substr(pos, length));
    }
    pos += length;
  }
  return out;
}

}  // namespace ombral
