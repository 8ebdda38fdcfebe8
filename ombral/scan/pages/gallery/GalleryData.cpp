// The data of a gallery folder page, and the JSON and link texts in it.
#include "pages/gallery/GalleryData.h"

#include <cstdio>

#include "pages/HtmlText.h"
#include "previews/PreviewFolder.h"

namespace gallery {

namespace {

// Appends a JSON array of `names`.
void NameList(std::string& out, const char* const* names, std::size_t count) {
  out += '[';
  for (std::size_t i = 0; i < count; ++i) {
    if (i) out += ',';
    out += JsonString(names[i]);
  }
  out += ']';
}

void Number(std::string& out, long long value) {
  out += ',';
  out += std::to_string(value);
}

}  // namespace

std::string FolderData(const Folder& folder, bool byDate) {
  // JSON, not a script: a browser reads ten thousand entries of JSON in a
  // fraction of the time it takes to compile them as a script.
  std::string data = std::string("<script type=\"application/json\" id=\"ombral-folder\">{\"sort\":\"") +
                     (byDate ? "date" : "name") +
                     "\",\"thumbs\":" + JsonString(std::string(CPreviewFolder::kFolderName) + "/") + ",\"fields\":";
  NameList(data, kFields, kFieldCount);
  data += ",\"kinds\":";
  NameList(data, kKinds, sizeof kKinds / sizeof kKinds[0]);
  data += ",\"items\":[\n";
  // Written in the order kFields names them: a field added there is added here.
  static_assert(kFieldCount == 20);
  for (std::size_t i = 0; i < folder.items.size(); ++i) {
    const Item& item = folder.items[i];
    // A file whose time is not known (a link that may not be looked
    // through) shows no date.
    const std::string date = !item.taken.empty() ? item.taken : item.modified ? LocalDateText(item.modified) : "";
    data += i ? ",[" : "[";
    data += JsonString(item.name);
    Number(data, static_cast<int>(item.kind));
    Number(data, item.previewWidth);
    Number(data, item.previewHeight);
    data += ',';
    data += std::to_string(item.size);
    data += ',';
    data += JsonString(date);
    data += item.taken.empty() ? ",0," : ",1,";
    data += JsonString(item.camera);
    Number(data, item.width);
    Number(data, item.height);
    Number(data, item.rendition ? 1 : 0);
    Number(data, item.renditionWidth);
    Number(data, item.renditionHeight);
    Number(data, item.largeWidth);
    Number(data, item.largeHeight);
    data += ',';
    data += std::to_string(item.durationMillis);
    // A name that is not UTF-8 cannot be spelled by the script: its link
    // comes along; so do the names of the files in the preview folder where
    // they are not the picture's with their suffixes (shortened long names).
    const bool preview = item.kind == Kind::Picture || (item.kind == Kind::Video && item.previewWidth > 0);
    const bool ownFiles = preview && (item.previewFile != item.name + ".jpg" ||
                                      (item.rendition && item.renditionFile != item.name + ".jpeg") ||
                                      (item.largeWidth > 0 && item.largeFile != item.name + ".2x.jpg"));
    if (!IsUtf8(item.name) || ownFiles) {
      data += ',';
      data += IsUtf8(item.name) ? "0" : JsonString(UrlPath(item.name));
    }
    if (ownFiles) {
      for (const std::string* file : {&item.previewFile, &item.renditionFile, &item.largeFile}) {
        data += ',';
        data += JsonString(UrlPath(*file));
      }
    }
    data += "]\n";
  }
  return data + "]}</script>\n";
}

bool IsUtf8(std::string_view text) {
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t length = ombral::Utf8SequenceLength(text, pos);
    if (length == 0) return false;
    pos += length;
  }
  return true;
}

std::string JsonString(std::string_view text) {
  std::string out = "\"";
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t length = ombral::Utf8SequenceLength(text, pos);
    if (length == 0) {
      out += "\\ufffd";
      ++pos;
      continue;
    }
    const std::string_view one = text.substr(pos, length);
    pos += length;
    if (one == "\xE2\x80\xA8") out += "\\u2028";
    else if (one == "\xE2\x80\xA9") out += "\\u2029";
    else if (length > 1) out += one;
    else {
      const unsigned char c = static_cast<unsigned char>(one[0]);
      if (c == '"' || c == '\\') {
        out += '\\';
        out += static_cast<char>(c);
      } else if (c < 0x20 || c == '<' || c == '>' || c == '&' || c == 0x7F) {
        char code[8];
        std::snprintf(code, sizeof code, "\\u%04x", c);
        out += code;
      } else {
        out += static_cast<char>(c);
      }
    }
  }
  return out + "\"";
}

std::string UrlPath(std::string_view name) {
  std::string out;
  for (const char c : name) {
    const unsigned char byte = static_cast<unsigned char>(c);
    if ((byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') || (byte >= '0' && byte <= '9') || c == '-' ||
        c == '.' || c == '_' || c == '~') {
      out += c;
    } else {
      char code[4];
      std::snprintf(code, sizeof code, "%%%02X", byte);
      out += code;
    }
  }
  return out;
}

}  // namespace gallery
