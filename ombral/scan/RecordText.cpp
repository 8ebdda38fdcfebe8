// Record names and record files.
#include "RecordText.h"

#include "platform/ReplacingFile.h"

namespace record_text {

std::string Escape(std::string_view name) {
  std::string out;
  out.reserve(name.size());
  for (const char c : name) {
    if (c == '%') out += "%25";
    else if (c == '\n') out += "%0A";
    else if (c == '\r') out += "%0D";
    else out += c;
  }
  return out;
}

bool Unescape(std::string_view text, std::string& name) {
  name.clear();
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      name += text[i];
      continue;
    }
    const std::string_view code = text.substr(i + 1, 2);
    if (code == "25") name += '%';
    else if (code == "0A") name += '\n';
    else if (code == "0D") name += '\r';
    else return false;
    i += 2;
  }
  return true;
}

bool WriteRecord(const platform::SharedFolder& folder, const char* name, std::string_view text) {
  platform::ReplacingFile file;
  platform::ReplacingFile::Options options;
  options.mode = 0644;
  options.forceMode = true;
  options.exchange = false;  // a record must survive a power loss whole
  if (!file.Begin(folder, name, options)) return false;
  file.Write(text);
  const auto outcome = file.Commit();
  return outcome == platform::ReplacingFile::Outcome::Created ||
         outcome == platform::ReplacingFile::Outcome::Replaced ||
         outcome == platform::ReplacingFile::Outcome::Unchanged;
}

}  // namespace record_text
