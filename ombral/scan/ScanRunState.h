// What the scan keeps while it runs: the folders looked at ahead of their
// pages, the worker pool of the previews and the stale-file candidates.
// Internal to the scan library.
#pragma once

#include <chrono>
#include <future>
#include <memory>
#include <vector>

#include "FolderListing.h"
#include "PreviewFolder.h"
#include "StaleCleaner.h"
#include "WorkerPool.h"
#include "ombral/OmbralScan.h"
#include "platform/Preview.h"

// One picture's preview, as the page will show it.
struct PicturePreview {
  enum class Kind {
    None,           // no preview: not a picture format, or previews are off here
    Kept,           // an earlier preview that is still right
    Made,           // made in this run (after the job ran)
    Pending,        // its job is queued or running
    Broken,         // the picture cannot be read (protocol line)
    WriteFailed,    // the preview could not be written (protocol line)
    NameTaken,      // the preview's name holds a file the scan did not write (protocol line)
  };
  Kind kind = Kind::None;
  int width = 0;
  int height = 0;
  std::future<void> done;
  std::shared_ptr<platform::PreviewResult> result;
};

struct COmbralScan::PendingFolder {
  CString folder;
  bool searched = false;
  CFolderListing listing;
  std::unique_ptr<CPreviewFolder> previews;  // when this folder's pictures get previews
  std::vector<PicturePreview> pictures;      // one per listed file, when previews are on
  CString previewFolderProblem;              // a protocol line about the preview folder, or empty

  bool IsReady() const {
    for (const PicturePreview& picture : pictures)
      if (picture.kind == PicturePreview::Kind::Pending &&
          picture.done.wait_for(std::chrono::seconds(0)) != std::future_status::ready)
        return false;
    return true;
  }
};

struct COmbralScan::RunState {
  RunState(const CString& root, bool dryRun) : stale(root, dryRun) {}
  std::unique_ptr<CWorkerPool> pool;  // started with the first preview to make
  CStaleCleaner stale;
  int previewsMade = 0;
  int previewsKept = 0;
  int staleFiles = 0;  // removed, or found in a dry run
};
