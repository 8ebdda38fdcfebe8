// CStaleCleaner: the files earlier runs wrote that this run no longer
// needs, removed (or listed) after the walk.
//
// It removes only what it can prove the scan wrote at that very place, and
// only through the folders the walk opened, never following a link:
//  - a folder page (the index name) in a folder that got no page this run,
//    when its bytes have a digest the page record holds for that place;
//  - a preview in a preview folder of the scan whose picture is gone, when
//    its bytes have the digest the folder's record gives for it (or it
//    carries the preview mark and the record lost its line), with the
//    gallery's rendition and large preview of it (by their digests only);
//    the record forgets it, and a preview folder left with nothing but its
//    record goes too.
// Everything else of such a name stays, and the protocol names it.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/String.h"

class CFolderCursor;
class CPreviewFolder;
class CPageRecord;

class CStaleCleaner {
public:
  explicit CStaleCleaner(bool dryRun) : m_dryRun(dryRun) {}

  // A page of an earlier run may stand in folder `node` (of the folder list)
  // under `name`, or in its folder `sub` of the scan's own (never a link);
  // `place` is its place in the page record.
  void AddPage(int node, const CString& folderPath, const std::string& name, const std::string& place,
               const std::string& sub = {}) {
    m_candidates.push_back({node, folderPath, name, place, {}, sub});
  }
  // The preview folder of folder `node` has records of these pictures,
  // which were not in the folder when it was listed.
  void AddPreviews(int node, const CString& folderPath, std::vector<std::string> pictures) {
    m_candidates.push_back({node, folderPath, {}, {}, std::move(pictures), {}});
  }

  // A protocol line, and whether it names an error.
  using Report = std::function<void(const CString& line, bool error)>;

  // Removes (with dry run: lists) the candidates in the order they were
  // added, one protocol line each. Returns how many pages and previews were
  // removed (or would be).
  int Run(CFolderCursor& cursor, CPageRecord* pages, const Report& report);

private:
  struct Candidate {
    int node;
    CString folderPath;
    std::string page;                   // the page's name; "" for previews
    std::string place;
    std::vector<std::string> pictures;  // for previews
    std::string sub;                    // the page's folder in the node's; "" for the node's own
  };
  void RemovePage(const Candidate& candidate, CFolderCursor& cursor, CPageRecord* pages, const Report& report);
  void RemovePreviews(const Candidate& candidate, CFolderCursor& cursor, const Report& report);
  // The gallery's rendition and large preview of a gone picture, each
  // proven by its digest.
  void RemoveBesides(const CPreviewFolder& folder, const std::string& picture, const Report& report);

  bool m_dryRun;
  std::vector<Candidate> m_candidates;
  int m_removed = 0;
};
