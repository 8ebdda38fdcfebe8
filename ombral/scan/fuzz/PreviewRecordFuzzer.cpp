// Feeds random records to the reader of a preview folder's record
// ("_xthumbs.txt"): each line alone, in every form, and the whole file as a
// scan opens it, through its folder. Whatever a record holds, what was read
// from it must read again the same once written: a line written and read
// back formats to the same bytes, and a record saved and opened again holds
// the same lines. A broken rule aborts the run.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "platform/testing/FuzzInput.h"
#include "platform/testing/TempDrive.h"
#include "previews/PreviewFolder.h"
#include "previews/PreviewRecord.h"

namespace {

using platform::testing::FuzzCheck;

using preview_record::Line;

// The form a line read in `version` is written in: the record's own, or a
// later one its facts need, never the first.
int WrittenForm(const Line& line, int version) { return std::max({2, version, preview_record::FormFor(line)}); }

// Every line read as `version` writes and reads back to the same bytes.
void CheckLines(std::string_view text, int version) {
  while (!text.empty()) {
    const std::size_t end = std::min(text.find('\n'), text.size());
    std::string name;
    Line line;
    // A first-form line is written only once its preview's digest is known
    // (the folder's record checks that below).
    if (preview_record::Parse(text.substr(0, end), version, name, line) && !line.legacy) {
      FuzzCheck(!name.empty(), "a line read without a name");
      const int form = WrittenForm(line, version);
      const std::string written = preview_record::Format(name, line, form);
      FuzzCheck(!written.empty() && written.back() == '\n' && written.find('\n') == written.size() - 1,
                "a line written as more or less than one line");
      std::string again;
      Line reread;
      FuzzCheck(preview_record::Parse(std::string_view(written).substr(0, written.size() - 1), form, again, reread),
                "a written line does not read");
      FuzzCheck(again == name, "a name changed on its way through the record");
      FuzzCheck(preview_record::Format(again, reread, form) == written, "a line changed on its way through the record");
    }
    text.remove_prefix(std::min(end + 1, text.size()));
  }
}

// The lines of the record in the folder, as written.
std::map<std::string, std::string> Lines(const CPreviewFolder& folder) {
  std::map<std::string, std::string> lines;
  for (const auto& [name, line] : folder.Records()) lines[name] = preview_record::Format(name, line, 5);
  return lines;
}

const platform::testing::TempDrive& Drive() {
  static const platform::testing::TempDrive drive('F');
  return drive;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  platform::testing::FuzzInput input(data, size);
  const std::uint8_t choice = input.Byte();
  const int version = 1 + choice % preview_record::kLatestForm;
  const std::size_t pictures = input.Byte() * 4u;
  const std::string_view text = input.Rest();
  CheckLines(text, version);

  // The whole file, under the head of its form (or as it came).
  static constexpr std::string_view kHeads[] = {preview_record::kHead1, preview_record::kHead2, preview_record::kHead3,
                                                preview_record::kHead4, preview_record::kHead5};
  const std::string file = (choice & 0x80 ? std::string() : std::string(kHeads[version - 1])) + std::string(text);
  const platform::testing::TempDrive& drive = Drive();
  drive.WriteFile("_xthumbs/_xthumbs.txt", file);
  drive.Chmod("_xthumbs/_xthumbs.txt", 0600);
  const auto root = std::make_shared<const platform::FolderHandle>(platform::FolderHandle::Open(drive.WinPath()));
  CPreviewFolder first(root, CString(drive.WinPath().c_str()));
  if (first.Open(false, pictures) != CPreviewFolder::State::Ours) return 0;
  FuzzCheck(first.Records().size() <= static_cast<std::size_t>(std::count(file.begin(), file.end(), '\n')),
            "more lines than the record has");
  // Saved and opened again, the record holds the same lines.
  FuzzCheck(first.Save().Ok(), "the record cannot be saved");
  CPreviewFolder second(root, CString(drive.WinPath().c_str()));
  FuzzCheck(second.Open(false, std::max<std::size_t>(pictures, first.Records().size())) == CPreviewFolder::State::Ours,
            "a saved record is not read again");
  FuzzCheck(Lines(second) == Lines(first), "a record changed on its way through the disk");
  return 0;
}
