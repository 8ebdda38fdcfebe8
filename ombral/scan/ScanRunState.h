// What the scan keeps while it runs: the folder list and the open root,
// the folders looked at ahead of their pages, the worker pool of the
// previews, the page record and the stale-file candidates. Internal to the
// scan library.
#pragma once

#include <atomic>
#include <chrono>
#include <future>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "walk/FolderListing.h"
#include "previews/MovedPictures.h"
#include "pages/PageRecord.h"
#include "pages/PageWriter.h"
#include "previews/PreviewFolder.h"
#include "previews/PreviewJob.h"
#include "previews/PreviewPolicy.h"
#include "walk/ScanTree.h"
#include "pages/StaleCleaner.h"
#include "previews/WorkerPool.h"
#include "ombral/OmbralScan.h"
#include "platform/Preview.h"
#include "platform/RunLock.h"

// The protocol line of a page that could not be opened (`opening`) or
// written: what held its name, or the system's reason.
std::string PageProblemText(const std::string& path, platform::EntryKind takenBy, bool opening, int error);

// One picture's preview, as the page will show it.
struct PicturePreview {
  enum class Kind {
    None,           // no preview: not a picture format, not a plain file, or previews are off here
    Kept,           // an earlier preview that is still right
    Made,           // made in this run (after the job ran)
    Pending,        // its job is queued or running
    Broken,         // the picture cannot be made into a preview (protocol line)
    OverBudget,     // its decoding needs more memory than allowed (protocol line)
    Failed,         // it could not be read this time (protocol line; tried again next run)
    WriteFailed,    // the preview could not be written (protocol line)
    NameTaken,      // the preview's name holds a file the scan did not write (protocol line)
  };
  Kind kind = Kind::None;
  int width = 0;
  int height = 0;
  std::future<void> done;
  std::shared_ptr<PreviewJobResult> result;
  bool factsOnly = false;  // the job only reads the gallery's facts of a kept preview
  // The picture's access control list as looked at while its preview was
  // prepared (unset: not looked at), so the page asks the system once.
  std::optional<platform::AclState> acl;
  // Its record line and the files an earlier run kept for it, as looked at
  // while its folder was listed ahead of the walk (null: the record names
  // no files of it that may still be right; held apart, since most files of
  // a huge folder of pictures that cannot have previews need none).
  std::unique_ptr<CPreviewFolder::KeptFiles> kept;

  // Whether the page shows a preview for it.
  bool IsShown() const { return kind == Kind::Kept || kind == Kind::Made; }
};

// What the walk counts.
struct COmbralScan::Totals {
  std::uint64_t bytes = 0;
  int images = 0;
  int createdFiles = 0;
};

struct COmbralScan::PendingFolder {
  int node = 0;               // in the folder list
  CString folder;             // its path text
  platform::SharedFolder handle;
  int openError = 0;          // why it could not be opened, when it could not
  bool alias = false;         // a link to a folder of the tree: named, never opened
  bool searched = false;
  CFolderListing listing;
  // The preview folder as opened while the folder was listed (when it has
  // pictures), and what it was found to be.
  std::shared_ptr<CPreviewFolder> opened;
  CPreviewFolder::State openedState = CPreviewFolder::State::Absent;
  std::shared_ptr<CPreviewFolder> previews;  // when this folder's pictures get previews
  std::vector<PicturePreview> pictures;      // one per listed file, when previews are on
  CString previewFolderProblem;              // a protocol line about the preview folder, or empty
  bool previewFolderError = false;           // that line names an error (not a warning)

  bool IsReady() const {
    for (const PicturePreview& picture : pictures)
      if (picture.kind == PicturePreview::Kind::Pending &&
          picture.done.wait_for(std::chrono::seconds(0)) != std::future_status::ready)
        return false;
    return true;
  }
};

struct COmbralScan::RunState {
  RunState(bool dryRun) : stale(dryRun) {}
  ~RunState();
  std::unique_ptr<PageSet> pageSet;  // the kind of pages this run writes
  PreviewPolicy previews;            // what its previews are to be
  platform::SharedFolder root;
  std::string rootReal;    // the top folder's real path, for links that name it
  platform::RunLock lock;  // one scan per tree, held for the whole run
  CScanTree tree;
  CAudience topReaders = CAudience::Self();  // who reads the files at the top
  std::unique_ptr<CFolderCursor> cursor;
  // What the top folder's listing leaves out besides leftovers: the page
  // record when it is ours, and the page set's own top files; fixed before
  // the walk's threads start.
  std::set<std::string> hiddenAtTop;
  std::unique_ptr<CPageRecord> pages;
  std::unique_ptr<CPageWriter> writer;  // finishes the folder pages beside the walk
  std::unique_ptr<platform::PreviewBudget> budget;
  std::shared_ptr<std::atomic<bool>> stop = std::make_shared<std::atomic<bool>>(false);
  CPictureShare share;  // one decode per picture file, whatever its number of names (outlives the pool)
  std::unique_ptr<CWorkerPool> pool;  // started with the first preview to make
  CStaleCleaner stale;
  std::unique_ptr<CMovedPictures> moved;  // the gallery's previews by their pictures' digests, built when needed
  int previewsMade = 0;
  int previewsKept = 0;
  int previewsFoundAgain = 0;  // copied from a picture with the same bytes elsewhere in the tree
  int staleFiles = 0;  // removed, or found in a dry run
};
