// CWorkerPool: the one place where the scan runs work on other threads.
//
// Jobs run in the order they were handed in, on as many threads as the
// machine has cores; the threads start with the first job, so a scan that
// hands in none starts none. The caller keeps everything else (the walk,
// the pages, the protocol) on its own thread and collects each job's result
// through its future, in whatever order it needs them.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <future>
#include <mutex>
#include <thread>
#include <vector>

class CWorkerPool {
public:
  // `threads` 0 means one per core. `atThreadEnd` runs on each thread just
  // before it ends (to give back per-thread buffers of a library).
  explicit CWorkerPool(unsigned threads = 0, std::function<void()> atThreadEnd = {});
  // Runs the jobs still queued to their end, then joins the threads.
  ~CWorkerPool();
  CWorkerPool(const CWorkerPool&) = delete;
  CWorkerPool& operator=(const CWorkerPool&) = delete;

  // Queues a job; its future becomes ready when it has run (and carries an
  // exception it threw).
  std::future<void> Submit(std::function<void()> job);
  // Jobs handed in and not yet finished.
  int Pending() const;
  unsigned ThreadCount() const { return m_threadCount; }

private:
  void Work();

  unsigned m_threadCount;
  std::function<void()> m_atThreadEnd;
  mutable std::mutex m_mutex;
  std::condition_variable m_wake;
  std::deque<std::packaged_task<void()>> m_queue;
  std::vector<std::thread> m_threads;
  int m_pending = 0;
  bool m_stopping = false;
};
