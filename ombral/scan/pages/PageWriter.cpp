// CPageWriter: a few threads, a short queue, names taken in order.
#include "pages/PageWriter.h"

#include <algorithm>

namespace {

// Pages that may wait for the writer; the walk waits when more would.
constexpr std::size_t kMaxWaiting = 32;

using Outcome = platform::ReplacingFile::Outcome;

}  // namespace

int CPageWriter::DefaultThreads() { return std::thread::hardware_concurrency() > 2 ? 2 : 1; }

CPageWriter::CPageWriter(int threads) {
  for (int i = 0; i < std::max(threads, 1); ++i) m_threads.emplace_back([this] { Work(); });
}

CPageWriter::~CPageWriter() {
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_stopping = true;
  }
  m_changed.notify_all();
  for (std::thread& thread : m_threads) thread.join();
}

void CPageWriter::Finish(std::unique_ptr<platform::ReplacingFile> file, std::string path,
                         std::function<void()> beforePublish) {
  std::unique_lock<std::mutex> lock(m_mutex);
  m_changed.wait(lock, [this] { return m_jobs.size() < kMaxWaiting; });
  m_jobs.push_back({m_handedIn++, std::move(file), std::move(path), std::move(beforePublish)});
  m_changed.notify_all();
}

void CPageWriter::Drain() {
  std::unique_lock<std::mutex> lock(m_mutex);
  m_changed.wait(lock, [this] { return m_jobs.empty() && m_busy == 0; });
}

std::vector<CPageWriter::Problem> CPageWriter::TakeProblems() {
  std::lock_guard<std::mutex> lock(m_mutex);
  std::vector<Problem> problems;
  problems.swap(m_problems);
  return problems;
}

void CPageWriter::Work() {
  for (;;) {
    Job job;
    {
      std::unique_lock<std::mutex> lock(m_mutex);
      m_changed.wait(lock, [this] { return m_stopping || !m_jobs.empty(); });
      if (m_jobs.empty()) return;  // stopping, and nothing left to write
      job = std::move(m_jobs.front());
      m_jobs.pop_front();
      ++m_busy;
    }
    m_changed.notify_all();
    // Written and compared beside the other threads' pages...
    Outcome outcome = job.file->Finish();
    {
      // ...and named one after the other, in the order the pages came: the
      // pages before it were taken from the queue before it, so their
      // threads get to their turns without waiting for this one.
      std::unique_lock<std::mutex> lock(m_mutex);
      m_changed.wait(lock, [&] { return m_named == job.number; });
    }
    const bool written = outcome == Outcome::Created || outcome == Outcome::Replaced;
    if ((written || outcome == Outcome::Unchanged) && job.beforePublish) job.beforePublish();
    if (written) outcome = job.file->Publish();
    std::lock_guard<std::mutex> lock(m_mutex);
    if (outcome == Outcome::Failed || outcome == Outcome::NameTaken)
      m_problems.push_back({std::move(job.path), job.file->TakenBy(), job.file->Error()});
    ++m_named;
    --m_busy;
    m_changed.notify_all();
  }
}
