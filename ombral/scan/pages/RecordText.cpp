// Record names and record files.
#include "pages/RecordText.h"

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

platform::FsStatus WriteRecord(const platform::SharedFolder& folder, const char* name, std::string_view text) {
  using Outcome = platform::ReplacingFile::Outcome;
  platform::ReplacingFile file;
  platform::ReplacingFile::Options options;
  options.mode = 0600;
  options.forceMode = true;
  options.exchange = false;  // a record must survive a power loss whole
  if (!file.Begin(folder, name, options))
    return platform::FsStatus::Of(file.GetOutcome() == Outcome::NameTaken ? EEXIST : file.Error());
  file.Write(text);
  switch (file.Commit()) {
    case Outcome::Created: case Outcome::Replaced: case Outcome::Unchanged: return {};
    case Outcome::NameTaken: return platform::FsStatus::Of(EEXIST);
    default: return platform::FsStatus::Of(file.Error() != 0 ? file.Error() : EIO);
  }
}

}  // namespace record_text
