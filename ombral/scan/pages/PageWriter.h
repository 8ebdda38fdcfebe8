// CPageWriter: finishes pages on threads of their own while the walk goes
// on to the next folders.
//
// Giving a page its name costs the file system more than writing it (a new
// inode, the old one looked at, compared and freed); on other cores, and
// for a cold cache several at a time, that cost overlaps the walk. A page
// handed in is complete in memory: a writer thread writes what is left and
// compares it with the old page; then, strictly in the order the pages
// came, lets the caller note it (its digest goes into the page record
// first) and renames it into place. At most a few dozen pages wait, so
// memory stays small. A page whose write fails leaves the old one whole,
// and its failure is collected for the protocol, in the order of the pages.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/ReplacingFile.h"

class CPageWriter {
public:
  struct Problem {
    std::string path;                // the page's path text
    platform::EntryKind takenBy;     // what held its name, or Missing
    int error = 0;                   // why it could not be written, when nothing held the name
  };

  // Two threads where there are more than two cores: one page's old file
  // is read while another is written. On two cores one thread is faster
  // (a second one costs thread switches more than it overlaps).
  static int DefaultThreads();
  explicit CPageWriter(int threads = DefaultThreads());
  // Finishes every page handed in, then ends the threads.
  ~CPageWriter();
  CPageWriter(const CPageWriter&) = delete;
  CPageWriter& operator=(const CPageWriter&) = delete;

  // Takes a page whose bytes are all written to `file`; `beforePublish`
  // runs on the writer's thread just before the page takes its name (not
  // when the old page already held these bytes).
  void Finish(std::unique_ptr<platform::ReplacingFile> file, std::string path, std::function<void()> beforePublish);
  // Waits until every page handed in is finished.
  void Drain();
  // The failures so far, in the order of the pages; each is given once.
  std::vector<Problem> TakeProblems();

private:
  struct Job {
    std::uint64_t number = 0;  // in the order the pages came
    std::unique_ptr<platform::ReplacingFile> file;
    std::string path;
    std::function<void()> beforePublish;
  };
  void Work();

  std::mutex m_mutex;
  std::condition_variable m_changed;
  std::deque<Job> m_jobs;
  std::uint64_t m_handedIn = 0;   // pages handed in so far
  std::uint64_t m_named = 0;      // pages that had their turn to take their names
  int m_busy = 0;                 // pages taken from the queue and not yet named
  bool m_stopping = false;
  std::vector<Problem> m_problems;
  std::vector<std::thread> m_threads;
};
