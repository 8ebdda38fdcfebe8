// Escaping of names for links and visible text.
#include "pages/HtmlText.h"

#include <cstdio>

namespace ombral {
namespace {

}  // namespace

std::size_t Utf8SequenceLength(std::string_view text, std::size_t pos) {
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

namespace {

void AppendPercent(std::string& out, unsigned char byte) {
  char code[4];
  std::snprintf(code, sizeof code, "%%%02X", byte);
  out += code;
}

// Rewrites a name character by character: a byte that starts no valid UTF-8
// sequence goes to `onStray`, a one-byte character to `onAscii`, longer
// sequences are copied as they are.
template <typename OnStray, typename OnAscii>
std::string Rewrite(std::string_view name, OnStray onStray, OnAscii onAscii) {
  std::string out;
  out.reserve(name.size());
  for (std::size_t pos = 0; pos < name.size();) {
    const std::size_t length = Utf8SequenceLength(name, pos);
    if (length == 0) {
      onStray(out, static_cast<unsigned char>(name[pos++]));
    } else if (length == 1) {
      onAscii(out, name[pos++]);
    } else {
      out.append(name.substr(pos, length));
      pos += length;
    }
  }
  return out;
}

}  // namespace

namespace {
std::string Spaces(std::size_t count) {
  std::string text;
  for (std::size_t i = 0; i < count; ++i) text += "%20";
  return text;
}
}  // namespace

std::string EscapeLink(std::string_view name) {
  const std::string_view first = name.substr(0, name.find('/'));
  std::string prefix = first.find(':') != std::string_view::npos ? "./" : "";
  std::string link = prefix + Rewrite(
      name, [](std::string& out, unsigned char stray) { AppendPercent(out, stray); },
      [](std::string& out, char c) {
        switch (c) {
          case '#': case '%': case '?': AppendPercent(out, static_cast<unsigned char>(c)); break;
          case '&': out += "&amp;"; break;
          case '"': out += "&quot;"; break;
          default:
            // A browser drops tabs and line ends from an address: encoded,
            // a name with a newline still links to its file.
            if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) AppendPercent(out, static_cast<unsigned char>(c));
            else out += c;
            break;
        }
      });
  // Spaces a browser would strip from either end of the address.
  const std::size_t lead = link.find_first_not_of(' ');
  if (lead == std::string::npos) return Spaces(link.size());
  const std::size_t trail = link.size() - 1 - link.find_last_not_of(' ');
  if (lead == 0 && trail == 0) return link;
  return Spaces(lead) + link.substr(lead, link.size() - lead - trail) + Spaces(trail);
}

std::string EscapeText(std::string_view name) {
  return Rewrite(
      name, [](std::string& out, unsigned char) { out += "\xEF\xBF\xBD"; },  // U+FFFD
      [](std::string& out, char c) {
        switch (c) {
          case '&': out += "&amp;"; break;
          case '<': out += "&lt;"; break;
          case '>': out += "&gt;"; break;
          default: out += c; break;
        }
      });
}

std::string EscapeAttribute(std::string_view name) {
  std::string text = EscapeText(name);
  for (std::size_t pos = 0; (pos = text.find('"', pos)) != std::string::npos; pos += 6) text.replace(pos, 1, "&quot;");
  return text;
}

}  // namespace ombral
