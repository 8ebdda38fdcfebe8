// Escaping of control characters for protocol lines.
#include "ProtocolText.h"

#include "platform/FsStatus.h"

#include <cstdio>

#include "pages/HtmlText.h"

namespace ombral {
namespace {

void AppendHex(std::string& out, const char* form, unsigned value) {
  char code[12];
  std::snprintf(code, sizeof code, form, value);
  out += code;
}

}  // namespace

std::string EscapeForProtocol(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size();) {
    // Printable ASCII, nearly all of a protocol, is taken a run at a time.
    std::size_t plain = pos;
    while (plain < text.size() && text[plain] >= 0x20 && text[plain] < 0x7F) ++plain;
    if (plain > pos) {
      out.append(text.substr(pos, plain - pos));
      pos = plain;
      continue;
    }
    const auto byte = static_cast<unsigned char>(text[pos]);
    const std::size_t length = Utf8SequenceLength(text, pos);
    if (length == 0) {
      AppendHex(out, "\\x%02X", byte);
      ++pos;
    } else if (length == 1) {
      switch (byte) {
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
          if (byte < 0x20 || byte == 0x7F) AppendHex(out, "\\x%02X", byte);
          else out += static_cast<char>(byte);
          break;
      }
      ++pos;
    } else {
      // U+0080..U+009F are C2 80..C2 9F: controls of their own to a terminal.
      if (length == 2 && byte == 0xC2 && static_cast<unsigned char>(text[pos + 1]) < 0xA0)
        AppendHex(out, "\\u%04X", static_cast<unsigned char>(text[pos + 1]));
      else
        out.append(text.substr(pos, length));
      pos += length;
    }
  }
  return out;
}

std::string ProblemText(std::string_view what, std::string_view path, int error, std::string_view tail) {
  std::string text(what);
  text += " \"";
  text += path;
  text += '"';
  text += tail;
  if (error == 0) return text + "!";
  return text + ": " + platform::ErrorText(error) + ".";
}

}  // namespace ombral
