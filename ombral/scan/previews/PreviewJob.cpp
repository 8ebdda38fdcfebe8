// PreviewJob: one picture, start to end, on a worker thread.
#include "previews/PreviewJob.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "Digest.h"
#include "platform/VideoPoster.h"
#include "platform/ReplacingFile.h"

using Status = PreviewJobResult::Status;
using Outcome = platform::ReplacingFile::Outcome;

std::uint32_t PreviewMode(const platform::EntryInfo& picture, platform::AclState acl) {
  if (acl != platform::AclState::None) return 0600;
  return (picture.mode & 0444) | 0200;
}

bool NoMoreOpenThan(const platform::EntryInfo& file, const platform::EntryInfo& picture, platform::AclState acl,
                    bool modesStored) {
  const std::uint32_t bits = modesStored ? 0777 : 0444;
  return (file.mode & ~PreviewMode(picture, acl) & bits) == 0;
}

void SetFacts(CPreviewFolder::Line& line, const std::string& content, const platform::PictureFacts& facts) {
  line.content = content;
  line.pictureWidth = facts.width;
  line.pictureHeight = facts.height;
  line.taken = facts.taken;
  line.camera = facts.camera;
  line.durationMillis = facts.durationMillis;
}


namespace {

// A line that takes over the files of a picture (or video) with the same
// bytes elsewhere in the tree.
void TakeOver(const CPreviewFolder::Line& was, const std::string& content, bool rendition, bool large,
              CPreviewFolder::Line& line) {
  line.width = was.width;
  line.height = was.height;
  line.content = content;
  line.pictureWidth = was.pictureWidth;
  line.pictureHeight = was.pictureHeight;
  line.taken = was.taken;
  line.camera = was.camera;
  line.durationMillis = was.durationMillis;
  line.renditionWidth = rendition ? was.renditionWidth : 0;
  line.renditionHeight = rendition ? was.renditionHeight : 0;
  line.largeWidth = large ? was.largeWidth : 0;
  line.largeHeight = large ? was.largeHeight : 0;
}

// What the decoder made, into the line and the files' bytes; false with
// `result` telling why when it made nothing.
bool TakeMade(platform::PreviewImage& image, bool facts, const std::string& content, CPreviewFolder::Line& line,
              std::string& preview, std::string& rendition, std::string& large, PreviewJobResult& result) {
  switch (image.status) {
    case platform::PreviewStatus::Made: break;
    case platform::PreviewStatus::OverBudget:
      result.status = Status::OverBudget;
      result.needed = image.needed;
      return false;
    case platform::PreviewStatus::Failed:
      result.status = Status::Failed;
      result.reason = image.reason;
      return false;
    default:  // damaged, no picture, too many pixels
      result.status = Status::Broken;
      result.reason = image.reason;
      return false;
  }
  line.width = image.width;
  line.height = image.height;
  if (facts) SetFacts(line, content, image.facts);
  preview = std::move(image.jpeg);
  rendition = std::move(image.rendition);
  line.renditionWidth = image.renditionWidth;
  line.renditionHeight = image.renditionHeight;
  large = std::move(image.large);
  line.largeWidth = image.largeWidth;
  line.largeHeight = image.largeHeight;
  return true;
}

// A video's digest for finding it again: of its size and its first and
// last kVideoSample bytes (all of a smaller one); "" when it cannot be read.
constexpr std::size_t kVideoSample = 64u << 10;
std::string VideoDigest(platform::ReadingFile& video) {
  const std::uint64_t size = video.Info().size;
  std::string sample = "video " + std::to_string(size) + "\n";
  const auto readPart = [&](std::uint64_t from, std::uint64_t count) {
    const std::size_t start = sample.size();
    sample.resize(start + static_cast<std::size_t>(count));
    std::size_t got = 0;
    while (got < count) {
      const long long n = video.ReadAt(from + got, sample.data() + start + got, static_cast<std::size_t>(count) - got);
      if (n <= 0) return false;
      got += static_cast<std::size_t>(n);
    }
    return true;
  };
  const bool read = size <= 2 * kVideoSample
                        ? readPart(0, size)
                        : readPart(0, kVideoSample) && readPart(size - kVideoSample, kVideoSample);
  return read ? CDigest::Of(sample) : std::string();
}

}  // namespace

PreviewJobResult PreviewJob::Run() const {
  PreviewJobResult result;
  if (stop && stop->load()) return result;
  if (video) return RunVideo();
  // The picture's bytes are held from the moment they are read: they count
  // against the budget like the decoding does. Reading checks again that
  // the name still stands for a regular file.
  if (!budget->Acquire(size)) {
    result.status = Status::OverBudget;
    result.needed = size;
    return result;
  }
  std::string bytes;
  platform::EntryInfo read;
  const platform::ReadResult reading = pictures->ReadFile(name, budget->Limit(), bytes, &read);
  const platform::ReadStatus status = reading.status;
  if (status != platform::ReadStatus::Read) {
    budget->Release(size);
    if (status == platform::ReadStatus::Failed) {
      result.status = Status::Failed;
      result.error = reading.error;
      result.reason = platform::ErrorText(reading.error);
    } else if (status == platform::ReadStatus::TooLarge) {
      result.status = Status::OverBudget;
      result.needed = read.size;
    }
    return result;
  }
  std::string content;
  if (gallery) content = CDigest::Of(bytes);
  platform::PictureFacts factsRead;
  const bool factsKnown = factsOnly && platform::ReadPictureFacts(bytes, true, factsRead);
  // A kept preview smaller than the edge made for a smaller one: made now.
  const bool remake = factsOnly && checkLonger > 0 && factsKnown && std::max(factsRead.width, factsRead.height) > checkLonger;
  if (factsOnly && !remake) {
    // The preview stands; the picture is read for what the gallery shows,
    // and for its digest, but not decoded.
    const platform::PictureFacts& facts = factsRead;
    budget->Release(size);
    if (!keptLine.IsOf(CPreviewFolder::Stamp::Of(read))) return result;  // changed meanwhile: next run
    result.status = Status::Facts;
    result.line = keptLine;
    SetFacts(result.line, content, facts);
    return result;
  }
  if (checkLonger > 0 && !factsOnly) {
    platform::PictureFacts facts;
    if (platform::ReadPictureFacts(bytes, gallery, facts) && std::max(facts.width, facts.height) <= checkLonger &&
        keptLine.IsOf(CPreviewFolder::Stamp::Of(read))) {
      budget->Release(size);
      result.status = Status::StillRight;
      result.line = keptLine;
      return result;
    }
  }
  std::string previewBytes, renditionBytes, largeBytes;
  CPreviewFolder::Line line;
  line.kind = CPreviewFolder::Line::Kind::Preview;
  line.picture = CPreviewFolder::Stamp::Of(read);
  const CMovedPictures::Source* source =
      moved ? moved->Find(read.size, content, {edge, largeEdge, renditionEdge}) : nullptr;
  if (source && moved->Read(*source, previewBytes, renditionBytes, largeBytes)) {
    budget->Release(size);
    TakeOver(source->line, content, !renditionBytes.empty(), !largeBytes.empty(), line);
    result.foundAgain = true;
  } else {
    // Another name of the same file may have been decoded already, or be
    // decoded now: its result serves this one too.
    CPictureShare::Claim claim = share ? share->ClaimFor(read) : CPictureShare::Claim();
    platform::PreviewImage image;
    if (!claim.IsFirst()) {
      budget->Release(size);
      bytes = std::string();
      image = *claim.Wait();
    } else {
      // The decoder takes over what this job holds, and gives it all back.
      platform::PreviewOptions options;
      options.phoneFormats = gallery;
      options.renditionEdge = !gallery ? 0 : renditionEdge > 0 ? renditionEdge : kUnshownRenditionEdge;
      options.renditionOfLarge = gallery && renditionEdge > 0;
      options.largeEdge = largeEdge;
      options.checkerboard = gallery;
      try {
        image = platform::MakePreviewImage(bytes, edge, *budget, size, options);
      } catch (const std::bad_alloc&) {
        image.status = platform::PreviewStatus::Failed;
        image.reason = "out of memory";
      }
      bytes = std::string();
      claim.Publish(image);
    }
    if (!TakeMade(image, gallery, content, line, previewBytes, renditionBytes, largeBytes, result)) return result;
  }
  return Publish(result, line, previewBytes, renditionBytes, largeBytes, read);
}

PreviewJobResult PreviewJob::RunVideo() const {
  PreviewJobResult result;
  // Opened as a picture is read: a regular file reached without a link.
  platform::ReadingFile file;
  const platform::ReadResult opened = platform::ReadingFile::Open(*pictures, name, file);
  if (opened.status != platform::ReadStatus::Read) {
    if (opened.status == platform::ReadStatus::Failed) {
      result.status = Status::Failed;
      result.error = opened.error;
      result.reason = platform::ErrorText(opened.error);
    }
    return result;
  }
  const platform::EntryInfo read = file.Info();
  const std::string content = gallery ? VideoDigest(file) : std::string();
  if (gallery && content.empty()) {
    result.status = Status::Failed;
    result.error = file.Error();
    result.reason = platform::ErrorText(file.Error());
    return result;
  }
  std::string previewBytes, renditionBytes, largeBytes;
  CPreviewFolder::Line line;
  line.kind = CPreviewFolder::Line::Kind::Preview;
  line.picture = CPreviewFolder::Stamp::Of(read);
  // A video never has a rendition: the viewer plays the file.
  const CMovedPictures::Source* source = moved ? moved->Find(read.size, content, {edge, largeEdge, 0}) : nullptr;
  if (source && source->line.durationMillis > 0 && moved->Read(*source, previewBytes, renditionBytes, largeBytes) &&
      renditionBytes.empty()) {
    TakeOver(source->line, content, false, !largeBytes.empty(), line);
    result.foundAgain = true;
  } else {
    previewBytes.clear();
    renditionBytes.clear();
    largeBytes.clear();
    CPictureShare::Claim claim = share ? share->ClaimFor(read) : CPictureShare::Claim();
    platform::PreviewImage image;
    if (!claim.IsFirst()) {
      image = *claim.Wait();
    } else {
      platform::PreviewOptions options;
      options.largeEdge = largeEdge;
      try {
        image = platform::MakeVideoPoster(file, edge, *budget, options);
      } catch (const std::bad_alloc&) {
        image.status = platform::PreviewStatus::Failed;
        image.reason = "out of memory";
      }
      claim.Publish(image);
    }
    if (!TakeMade(image, gallery, content, line, previewBytes, renditionBytes, largeBytes, result)) return result;
  }
  return Publish(result, line, previewBytes, renditionBytes, largeBytes, read);
}

PreviewJobResult PreviewJob::Publish(PreviewJobResult result, CPreviewFolder::Line& line,
                                     const std::string& previewBytes, const std::string& renditionBytes,
                                     const std::string& largeBytes, const platform::EntryInfo& read) const {
  if (stop && stop->load()) return result;
  line.digest = CDigest::Of(previewBytes);
  if (!renditionBytes.empty()) line.renditionDigest = CDigest::Of(renditionBytes);
  if (!largeBytes.empty()) line.largeDigest = CDigest::Of(largeBytes);

  platform::ReplacingFile::Options options;
  options.mode = PreviewMode(read, acl);
  options.forceMode = true;
  options.group = read.group;
  // The preview folder is the scan's own, and its default list (an earlier
  // version's folder may have had one) was taken away when it was opened.
  options.mayInheritAcl = false;
  platform::ReplacingFile rendition, large, file;
  const auto failed = [&](const platform::ReplacingFile& which) {
    result.status = Status::WriteFailed;
    result.error = which.Error();
    result.takenBy = which.TakenBy();
    return result;
  };
  // The rendition and the large preview first, then the preview, each
  // complete beside its name; the record names all of them before any
  // takes its name.
  struct Beside {
    platform::ReplacingFile& writer;
    const std::string& bytes;
    std::string fileName;
    CPreviewFolder::Stamp& stamp;
    Outcome outcome = Outcome::Unchanged;
  };
  Beside besides[] = {{rendition, renditionBytes, CPreviewFolder::RenditionName(name), line.rendition},
                      {large, largeBytes, CPreviewFolder::LargePreviewName(name), line.large}};
  for (Beside& beside : besides) {
    if (beside.bytes.empty()) continue;
    if (!beside.writer.Begin(previews->Handle(), beside.fileName, options)) return failed(beside.writer);
    beside.writer.Write(beside.bytes);
    beside.outcome = beside.writer.Finish();
    if (beside.outcome == Outcome::Failed || beside.outcome == Outcome::NameTaken) return failed(beside.writer);
    beside.stamp = CPreviewFolder::Stamp::Of(beside.writer.Written());
  }
  if (!file.Begin(previews->Handle(), CPreviewFolder::PreviewName(name), options)) return failed(file);
  file.Write(previewBytes);
  Outcome outcome = file.Finish();
  if (outcome == Outcome::Created || outcome == Outcome::Replaced || outcome == Outcome::Unchanged) {
    line.preview = CPreviewFolder::Stamp::Of(file.Written());
    // The record names the files before they take their names.
    previews->Note(name, line);
    for (Beside& beside : besides) {
      if (beside.outcome != Outcome::Unchanged) beside.outcome = beside.writer.Publish();
      if (beside.outcome == Outcome::Failed || beside.outcome == Outcome::NameTaken) return failed(beside.writer);
    }
    if (outcome != Outcome::Unchanged) outcome = file.Publish();
  }
  if (outcome == Outcome::Failed || outcome == Outcome::NameTaken) return failed(file);
  result.status = Status::Made;
  result.line = line;
  return result;
}
