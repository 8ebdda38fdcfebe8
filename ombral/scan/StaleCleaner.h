// CStaleCleaner: the files earlier runs wrote that this run no longer
// needs, removed (or listed) after the walk.
//
// It removes only what it can prove the scan wrote, and only inside the
// scanned tree without following a symbolic link:
//  - a folder page (the index name) in a folder that got no page this run,
//    when its text starts like the scan's pages and ends with the folder
//    footer's credit line and the page end;
//  - a preview in a preview folder with a valid record, when the record
//    names it, its size and time are those the record gives, and its
//    picture is gone; the record forgets it, and a preview folder left with
//    nothing but its record goes too.
// Everything else of such a name stays, and the protocol names it.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/String.h"

class CStaleCleaner {
public:
  CStaleCleaner(const CString& root, bool dryRun) : m_root(root), m_dryRun(dryRun) {}

  // A page of an earlier run may stand at `path`.
  void AddPage(const CString& path) { m_candidates.push_back({path, {}}); }
  // The preview folder of `folder` has records of these pictures, which
  // were not in the folder when it was listed.
  void AddPreviews(const CString& folder, std::vector<std::string> pictures) {
    m_candidates.push_back({folder, std::move(pictures)});
  }

  // Removes (with dry run: lists) the candidates in the order they were
  // added, one protocol line each through `report`. Returns how many pages
  // and previews were removed (or would be).
  int Run(const std::function<void(const CString&)>& report);

private:
  struct Candidate {
    CString path;                       // a page, or the folder of a preview folder
    std::vector<std::string> pictures;  // empty for a page
  };
  void RemovePage(const CString& path, const std::function<void(const CString&)>& report);
  void RemovePreviews(const Candidate& candidate, const std::function<void(const CString&)>& report);
  // Removes one file or empty folder, or says it would; false when it failed.
  bool Remove(const CString& path, bool folder, const char* what, const std::function<void(const CString&)>& report);

  CString m_root;
  bool m_dryRun;
  std::vector<Candidate> m_candidates;
  int m_removed = 0;
};
