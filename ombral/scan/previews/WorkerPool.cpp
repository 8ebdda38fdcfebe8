// CWorkerPool: a queue and its threads.
#include "previews/WorkerPool.h"

#include <algorithm>

CWorkerPool::CWorkerPool(unsigned threads, std::function<void()> atThreadEnd)
    : m_threadCount(threads ? threads : std::max(1u, std::thread::hardware_concurrency())),
      m_atThreadEnd(std::move(atThreadEnd)) {}

CWorkerPool::~CWorkerPool() {
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_stopping = true;
  }
  m_wake.notify_all();
  for (std::thread& thread : m_threads) thread.join();
}

std::future<void> CWorkerPool::Submit(std::function<void()> job) {
  std::packaged_task<void()> task(std::move(job));
  std::future<void> done = task.get_future();
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_queue.push_back(std::move(task));
    ++m_pending;
    // One more thread per job until all are running: a short scan starts
    // only the threads it can use.
    if (m_threads.size() < m_threadCount) m_threads.emplace_back([this] { Work(); });
  }
  m_wake.notify_one();
  return done;
}

int CWorkerPool::Pending() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_pending;
}

void CWorkerPool::Work() {
  for (;;) {
    std::packaged_task<void()> task;
    {
      std::unique_lock<std::mutex> lock(m_mutex);
      m_wake.wait(lock, [this] { return m_stopping || !m_queue.empty(); });
      if (m_queue.empty()) break;  // stopping, and nothing left to run
      task = std::move(m_queue.front());
      m_queue.pop_front();
    }
    task();
    std::lock_guard<std::mutex> lock(m_mutex);
    --m_pending;
  }
  if (m_atThreadEnd) m_atThreadEnd();
}
