// PreviewJob: one picture, start to end, on a worker thread.
#include "PreviewJob.h"

#include <cstring>
#include <new>

#include "Digest.h"
#include "platform/ReplacingFile.h"

using Status = PreviewJobResult::Status;
using Outcome = platform::ReplacingFile::Outcome;

std::uint32_t PreviewMode(const platform::EntryInfo& picture) { return (picture.mode & 0444) | 0200; }

PreviewJobResult PreviewJob::Run() const {
  PreviewJobResult result;
  if (stop && stop->load()) return result;
  platform::EntryInfo listed;
  if (!pictures->Look(name, listed) || listed.kind != platform::EntryKind::File) return result;

  // The picture's bytes are held from the moment they are read: they count
  // against the budget like the decoding does.
  if (!budget->Acquire(listed.size)) {
    result.status = Status::OverBudget;
    result.needed = listed.size;
    return result;
  }
  std::string bytes;
  platform::EntryInfo read;
  const platform::ReadStatus status = pictures->ReadFile(name, budget->Limit(), bytes, &read);
  if (status != platform::ReadStatus::Read) {
    const int error = errno;
    budget->Release(listed.size);
    if (status == platform::ReadStatus::Failed) {
      result.status = Status::Failed;
      result.error = error;
      result.reason = std::strerror(error);
    } else if (status == platform::ReadStatus::TooLarge) {
      result.status = Status::OverBudget;
      result.needed = read.size;
    }
    return result;
  }
  // The decoder takes over what this job holds, and gives it all back.
  platform::PreviewImage image;
  try {
    image = platform::MakePreviewImage(bytes, edge, *budget, listed.size);
  } catch (const std::bad_alloc&) {
    image.status = platform::PreviewStatus::Failed;
    image.reason = "out of memory";
  }
  bytes = std::string();
  switch (image.status) {
    case platform::PreviewStatus::Made: break;
    case platform::PreviewStatus::OverBudget:
      result.status = Status::OverBudget;
      result.needed = image.needed;
      return result;
    case platform::PreviewStatus::Failed:
      result.status = Status::Failed;
      result.reason = image.reason;
      return result;
    default:  // damaged, no picture, too many pixels
      result.status = Status::Broken;
      result.reason = image.reason;
      return result;
  }
  if (stop && stop->load()) return result;

  CPreviewFolder::Line line;
  line.kind = CPreviewFolder::Line::Kind::Preview;
  line.picture = CPreviewFolder::Stamp::Of(read);
  line.digest = CDigest::Of(image.jpeg);
  line.width = image.width;
  line.height = image.height;

  platform::ReplacingFile file;
  platform::ReplacingFile::Options options;
  options.mode = PreviewMode(read);
  options.forceMode = true;
  options.group = read.group;
  const std::string previewName = CPreviewFolder::PreviewName(name);
  if (!file.Begin(previews->Handle(), previewName, options)) {
    result.status = Status::WriteFailed;
    result.error = file.Error();
    result.takenBy = file.TakenBy();
    return result;
  }
  file.Write(image.jpeg);
  Outcome outcome = file.Finish();
  if (outcome == Outcome::Created || outcome == Outcome::Replaced || outcome == Outcome::Unchanged) {
    line.preview = CPreviewFolder::Stamp::Of(file.Written());
    // The record names the preview before it takes its name.
    previews->Note(name, line);
    if (outcome != Outcome::Unchanged) outcome = file.Publish();
  }
  if (outcome == Outcome::Failed || outcome == Outcome::NameTaken) {
    result.status = Status::WriteFailed;
    result.error = file.Error();
    result.takenBy = file.TakenBy();
    return result;
  }
  result.status = Status::Made;
  result.line = line;
  return result;
}
