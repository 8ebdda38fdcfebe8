// Feeds random records to the reader of the pages' record ("_xpages.txt"),
// as a scan opens it in the scanned folder. Whatever the file holds, the
// record it is written into reads back to the same record: saved once and
// opened and saved again, the file keeps its bytes (an unchanged tree's
// record stays as it is). A broken rule aborts the run.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "pages/PageRecord.h"
#include "platform/testing/FuzzInput.h"
#include "platform/testing/TempDrive.h"

namespace {

using platform::testing::FuzzCheck;

const platform::testing::TempDrive& Drive() {
  static const platform::testing::TempDrive drive('G');
  return drive;
}

// Opens the record as a scan does and writes it anew; its bytes then, or
// "" when it was not the scan's.
std::string OpenAndSave(const platform::SharedFolder& root, std::size_t folders) {
  CPageRecord record(root);
  if (record.Open(false, folders) != CPageRecord::State::Ours) return {};
  FuzzCheck(record.Save().Ok(), "the record cannot be saved");
  return Drive().ReadFile(CPageRecord::kName);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  platform::testing::FuzzInput input(data, size);
  const std::uint8_t choice = input.Byte();
  const std::size_t folders = choice & 0x7f;
  // The whole file under the record's head (or as it came).
  const std::string file =
      (choice & 0x80 ? std::string() : std::string("Ombral pages 1\n")) + std::string(input.Rest());
  const platform::testing::TempDrive& drive = Drive();
  drive.WriteFile(CPageRecord::kName, file);
  drive.Chmod(CPageRecord::kName, 0600);
  const auto root = std::make_shared<const platform::FolderHandle>(platform::FolderHandle::Open(drive.WinPath()));
  const std::string saved = OpenAndSave(root, folders);
  if (saved.empty()) return 0;
  FuzzCheck(OpenAndSave(root, folders) == saved, "a record changed on its way through the disk");
  return 0;
}
