// CPageWriter: finishes pages on a thread of its own while the walk goes
// on to the next folder.
//
// Giving a page its name costs the file system more than writing it (a new
// inode, the old one freed); on a second core that cost overlaps the walk.
// A page handed in is complete in memory: the writer writes what is left,
// lets the caller note it (its digest goes into the page record first) and
// renames it into place. Pages are finished in the order they came; at
// most a few dozen wait, so memory stays small. A page whose write fails
// leaves the old one whole, and its failure is collected for the protocol.
#pragma once

#include <condition_variable>
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

  CPageWriter();
  // Finishes every page handed in, then ends the thread.
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
    std::unique_ptr<platform::ReplacingFile> file;
    std::string path;
    std::function<void()> beforePublish;
  };
  void Work();

  std::mutex m_mutex;
  std::condition_variable m_changed;
  std::deque<Job> m_jobs;
  bool m_busy = false;
  bool m_stopping = false;
  std::vector<Problem> m_problems;
  std::thread m_thread;
};
