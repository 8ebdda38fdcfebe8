// COmbralScan::PageSet: one kind of pages a run writes (the classic pages
// or the gallery), chosen once at the start of the run.
//
// The walk does what every kind needs: it lists the folders in order,
// makes their previews and reports what it finds. A page set gets the
// folders from it one by one (each of its files in page order, with its
// preview), and owns everything of its kind: the files it writes in the top
// folder, its pages, when a page of an earlier run is stale, and the
// previews its pages want (the policy, worked out once). A new kind of page
// is a new page set; nothing of the walk changes. Internal to the scan
// library.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ScanRunState.h"

// What the walk tells a page set with every folder.
struct COmbralScan::WalkContext {
  CHtmlFile* mainIndex = nullptr;  // the main index the folders are named in, when there is one
  CString root;                    // the top folder's path as given
  int recurse = 0;
  int logging = 0;
  int ignoreEmpty = 0;
};

struct COmbralScan::PageSet {
  // The kind of pages the scan's settings ask for.
  static std::unique_ptr<PageSet> For(COmbralScan& scan);
  // Every name a kind of page keeps in the top folder: no page may take one.
  static std::vector<std::string> AllTopFiles();

  explicit PageSet(COmbralScan& owner) : scan(owner) {}
  virtual ~PageSet() = default;
  PageSet(const PageSet&) = delete;
  PageSet& operator=(const PageSet&) = delete;

  // The previews its pages show, with the edge the user asked for (0: none).
  virtual PreviewPolicy Previews(int askedEdge) const = 0;
  // Its own files in the top folder that the listing of the top folder
  // leaves out (they are none of its pictures).
  virtual std::vector<std::string> HiddenTopFiles() const { return {}; }
  // The same for files whose names it numbers (HiddenTopFiles names the others).
  virtual bool HidesTopFile(const std::string& /*name*/) const { return false; }
  // Files in the top folder that this run does not write but a run of
  // this or another kind did: removed like a stale page, when the page
  // record proves them the scan's own. A name "sub/name" is a file of the
  // scan's own folder `sub` there, which goes with its last file.
  virtual std::vector<std::string> StaleTopFiles() const = 0;

  // Before the walk, after the page record was read.
  virtual void Begin() {}
  // The main index the walk names its folders in; null for none.
  virtual CHtmlFile* MainIndex() { return nullptr; }

  // The folders of the walk, in list order. A link to a folder of the tree:
  virtual void Alias(const PendingFolder& /*pending*/, const WalkContext& /*walk*/) {}
  // A folder that could not be listed (reported already):
  virtual void Unreadable(const PendingFolder& /*pending*/, const WalkContext& /*walk*/) {}
  // A listed folder: before each of its files, whether the file gets its
  // entry (false: passed over, the reason reported); then the entry; then
  // the end of the folder, unless the run was stopped within it
  // (AbandonFolder then).
  virtual bool OpenFolderPage(PendingFolder& pending, const WalkContext& walk, Totals& totals) = 0;
  virtual void Entry(PendingFolder& pending, std::size_t index) = 0;
  virtual void EndFolder(PendingFolder& pending, const WalkContext& walk, Totals& totals) = 0;
  virtual void AbandonFolder() {}
  // A page an earlier run left in this folder, when the folder gets none
  // of its own this time (only where the walk alone can tell).
  virtual void NoteStalePage(const PendingFolder& /*pending*/) {}

  // After the walk, unless the run was stopped: what is written once the
  // whole tree is known. `createdFiles` counts the pages written.
  virtual void Finish(std::uint64_t totalBytes, int totalImages, int& createdFiles) = 0;
  // The run was stopped: whatever is half done keeps its old content.
  virtual void Abandon() {}

protected:
  COmbralScan& scan;
};
