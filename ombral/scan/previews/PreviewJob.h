// The work of one preview on a worker thread: read the picture through its
// folder, decode it within the memory budget, write the preview beside its
// name, note it in the record and let it take its name. A video's poster
// is its preview, made the same way from the open file.
#pragma once

#include <atomic>
#include <memory>
#include <string>

#include "previews/MovedPictures.h"
#include "previews/PictureShare.h"
#include "previews/PreviewFolder.h"
#include "platform/FolderHandle.h"
#include "platform/Preview.h"

struct PreviewJobResult {
  enum class Status {
    Made,         // the preview stands under its name (line filled)
    Broken,       // the picture is damaged, no picture, or has too many pixels
    OverBudget,   // decoding needs `needed` bytes, more than the budget
    Failed,       // it could not be read or decoded this time (`reason`); tried again next run
    WriteFailed,  // decoded, but the preview could not be written (`error`, or `takenBy`)
    Skipped,      // no longer a plain file, gone, or the scan was asked to stop
    Facts,        // (factsOnly) the picture's digest and facts were read into `line`
    StillRight,   // (checkLonger) the picture is no larger than its kept preview: that stays
  };
  Status status = Status::Skipped;
  CPreviewFolder::Line line;  // the record line of a made preview
  std::uint64_t needed = 0;
  std::string reason;
  int error = 0;
  platform::EntryKind takenBy = platform::EntryKind::Missing;
  bool foundAgain = false;  // Made by copying the preview of a picture with the same bytes
};

struct PreviewJob {
  platform::SharedFolder pictures;         // the folder of the picture
  std::string name;                         // the picture's name
  std::uint64_t size = 0;                   // its size when the folder was listed
  platform::AclState acl = platform::AclState::None;  // whether the picture carries an access control list
  std::shared_ptr<CPreviewFolder> previews; // where the preview goes
  int edge = 0;
  platform::PreviewBudget* budget = nullptr;
  std::shared_ptr<std::atomic<bool>> stop;
  // The gallery's work: the phones' formats, transparency on a
  // checkerboard, renditions for the viewer, and the picture's digest and
  // facts in the record line.
  bool gallery = false;
  // The longer edge of the viewer's renditions of pictures larger than it
  // (0: none); pictures browsers cannot show get one all the same, at
  // kUnshownRenditionEdge when this is 0.
  int renditionEdge = 0;
  static constexpr int kUnshownRenditionEdge = 2048;
  // The longer edge of the large preview for screens with two device
  // pixels to a CSS pixel (0: none); see platform::PreviewOptions.
  int largeEdge = 0;
  // The preview is still right: only the digest and the facts are read,
  // and added to this line.
  bool factsOnly = false;
  CPreviewFolder::Line keptLine;
  // A kept preview smaller than the edge whose picture's size the record
  // does not know: the picture's header tells whether the preview is all of
  // it (StillRight) or was made for a smaller edge (then it is made now).
  int checkLonger = 0;
  // Previews found again by the picture's digest (null: none are looked for).
  const CMovedPictures* moved = nullptr;
  // One decode for all names of a file (null: each is decoded).
  CPictureShare* share = nullptr;

  // A video: its poster is made instead of a preview, and its length
  // read (see platform/VideoPoster.h).
  bool video = false;

  PreviewJobResult Run() const;

private:
  PreviewJobResult RunVideo() const;
  // Writes the files of `line` and notes it in the record; `result` is
  // what is known so far (foundAgain).
  PreviewJobResult Publish(PreviewJobResult result, CPreviewFolder::Line& line, const std::string& previewBytes,
                           const std::string& renditionBytes, const std::string& largeBytes,
                           const platform::EntryInfo& read) const;
};

// Permissions of a picture's preview: readable by whom the picture is
// readable by, never by more. A picture with an access control list gives
// its preview to its owner alone (its group bits are the list's mask, not
// the group's rights, and named users cannot be carried over).
std::uint32_t PreviewMode(const platform::EntryInfo& picture, platform::AclState acl);
// Whether a file the scan wrote for a picture is no more readable than the
// picture is now (where the file system keeps permissions; elsewhere only
// the read bits are compared, which are all it shows).
bool NoMoreOpenThan(const platform::EntryInfo& file, const platform::EntryInfo& picture, platform::AclState acl,
                    bool modesStored);
// Puts the picture's digest and facts into its record line.
void SetFacts(CPreviewFolder::Line& line, const std::string& content, const platform::PictureFacts& facts);
