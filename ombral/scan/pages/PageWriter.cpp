// CPageWriter: one thread and a short queue.
#include "pages/PageWriter.h"

namespace {

// Pages that may wait for the writer; the walk waits when more would.
constexpr std::size_t kMaxWaiting = 32;

using Outcome = platform::ReplacingFile::Outcome;

}  // namespace

CPageWriter::CPageWriter() : m_thread([this] { Work(); }) {}

CPageWriter::~CPageWriter() {
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_stopping = true;
  }
  m_changed.notify_all();
  m_thread.join();
}

void CPageWriter::Finish(std::unique_ptr<platform::ReplacingFile> file, std::string path,
                         std::function<void()> beforePublish) {
  std::unique_lock<std::mutex> lock(m_mutex);
  m_changed.wait(lock, [this] { return m_jobs.size() < kMaxWaiting; });
  m_jobs.push_back({std::move(file), std::move(path), std::move(beforePublish)});
  m_changed.notify_all();
}

void CPageWriter::Drain() {
  std::unique_lock<std::mutex> lock(m_mutex);
  m_changed.wait(lock, [this] { return m_jobs.empty() && !m_busy; });
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
      m_busy = true;
    }
    m_changed.notify_all();
    const Outcome outcome = job.file->Commit(job.beforePublish);
    std::lock_guard<std::mutex> lock(m_mutex);
    if (outcome == Outcome::Failed || outcome == Outcome::NameTaken)
      m_problems.push_back({std::move(job.path), job.file->TakenBy(), job.file->Error()});
    m_busy = false;
    m_changed.notify_all();
  }
}
