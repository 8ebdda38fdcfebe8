// CPageRecord: the record of the pages a scan wrote ("_xpages.txt" in the
// scanned folder), by which a later run proves a page is its own before it
// removes it.
//
// It holds "Ombral pages 1" and one line per page: the digest of the page's
// bytes and the page's place, the names from the scanned folder down joined
// by '/' ('%', CR and LF percent-encoded), in the order of the places.
// While a run writes pages it adds a line for each one the record does not
// name yet, just before the page takes its name, so a run killed at any
// moment leaves a record that names every page it wrote; a run that ends
// writes the record anew with one line per place. A run whose pages are
// all as the record names them leaves the record untouched (same bytes,
// same file).
//
// The record is trusted only when it is a regular file with one link of the
// user the scan runs as (or of the administrator) that nobody else may
// change: it decides over pages in every folder of the tree. That is
// checked on the opened file before a byte of it is read. It is readable
// by its owner alone: it names every folder, private ones too.
#pragma once

#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "platform/FolderHandle.h"
#include "platform/String.h"

class CPageRecord {
public:
  static constexpr const char* kName = "_xpages.txt";

  enum class State {
    Absent,   // none yet (and none is written in a dry run)
    Ours,     // read, and open for new lines
    Foreign,  // a file of that name the scan does not trust: left alone
  };

  explicit CPageRecord(platform::SharedFolder root) : m_root(std::move(root)) {}

  // Reads the record of a tree of `folders` folders (a record much larger
  // than such a tree's is refused unread); without `dryRun` it is created
  // when absent and kept open to add lines.
  State Open(bool dryRun, std::size_t folders);
  State GetState() const { return m_state; }

  // Notes the digest of a page about to take its place (safe from several
  // threads); this run's digest for that place from now on.
  void Note(const std::string& place, const std::string& digest);
  // Whether `digest` was recorded for `place` by this or an earlier run.
  bool Knows(const std::string& place, const std::string& digest) const;
  // The places in the scanned folder itself (no '/') recorded by this or
  // an earlier run that `wanted` accepts, in order.
  std::vector<std::string> TopPlaces(const std::function<bool(const std::string&)>& wanted) const;
  // The places ("sub/name") in the scanned folder's folder `sub`, in order.
  std::vector<std::string> PlacesIn(const std::string& sub) const;
  // The page at `place` was removed.
  void Forget(const std::string& place);
  // Writes the record anew: this run's digest for each place it wrote, and
  // what earlier runs recorded for the other places.
  platform::FsStatus Save();

private:
  // Every place recorded by this or an earlier run that `wanted` accepts,
  // in order.
  std::vector<std::string> PlacesWhere(const std::function<bool(const std::string&)>& wanted) const;

  platform::SharedFolder m_root;
  State m_state = State::Absent;
  std::map<std::string, std::set<std::string>> m_earlier;  // place -> digests of earlier runs
  std::map<std::string, std::string> m_now;                // place -> this run's digest
  mutable std::mutex m_mutex;
  platform::AppendFile m_journal;
};
