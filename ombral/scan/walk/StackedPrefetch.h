// CStackedPrefetch: work pushed by a depth-first walk, done ahead on a few
// threads, newest first.
//
// A walk that enters a folder pushes the work for its sub-folders, the
// first one last; the threads take the newest work first, which is the
// order in which a depth-first walk will want it. At most `window` results
// are being made or wait to be taken, so what is done ahead stays small
// (each result may hold an open folder). Taking work no thread has begun
// does it on the taking thread at once: the walk never waits for work
// queued behind results it will take later.
#pragma once

#include <condition_variable>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

template <typename Result>
class CStackedPrefetch {
  struct Job;

public:
  using Ticket = std::shared_ptr<Job>;

  // Without threads, work is only done when it is taken.
  CStackedPrefetch(int threads, int window) : m_window(window < 1 ? 1 : window) {
    for (int i = 0; i < threads; ++i) m_threads.emplace_back([this] { Run(); });
  }

  // Waits for the work being done; work not begun is never done.
  ~CStackedPrefetch() {
    {
      std::lock_guard<std::mutex> lock(m_mutex);
      m_stopping = true;
      m_queued.clear();
    }
    m_changed.notify_all();
    for (std::thread& thread : m_threads) thread.join();
  }

  CStackedPrefetch(const CStackedPrefetch&) = delete;
  CStackedPrefetch& operator=(const CStackedPrefetch&) = delete;

  Ticket Push(std::function<Result()> work) {
    auto job = std::make_shared<Job>();
    job->work = std::move(work);
    if (m_threads.empty()) return job;
    {
      std::lock_guard<std::mutex> lock(m_mutex);
      m_queued.push_back(job);
    }
    m_changed.notify_one();
    return job;
  }

  // The result of the work; what it threw is thrown here.
  Result Take(const Ticket& job) {
    std::unique_lock<std::mutex> lock(m_mutex);
    if (job->state == State::Queued) {
      Unqueue(job);
      job->state = State::Taken;
      lock.unlock();
      return job->work();
    }
    m_changed.wait(lock, [&] { return job->state == State::Done; });
    job->state = State::Taken;
    --m_ahead;
    lock.unlock();
    m_changed.notify_all();
    if (job->failure) std::rethrow_exception(job->failure);
    return std::move(*job->result);
  }

  // Gives up work that is no longer wanted (its result, when it was done).
  void Drop(const Ticket& job) {
    std::unique_lock<std::mutex> lock(m_mutex);
    if (job->state == State::Queued) {
      Unqueue(job);
      job->state = State::Taken;
      return;
    }
    if (job->state == State::Taken) return;
    lock.unlock();
    try {
      (void)Take(job);
    } catch (...) {
    }
  }

private:
  enum class State { Queued, Running, Done, Taken };
  struct Job {
    std::function<Result()> work;
    State state = State::Queued;
    std::optional<Result> result;
    std::exception_ptr failure;
  };

  void Unqueue(const Ticket& job) {
    for (auto at = m_queued.rbegin(); at != m_queued.rend(); ++at)
      if (*at == job) {
        m_queued.erase(std::next(at).base());
        return;
      }
  }

  void Run() {
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
      m_changed.wait(lock, [&] { return m_stopping || (!m_queued.empty() && m_ahead < m_window); });
      if (m_stopping) return;
      Ticket job = std::move(m_queued.back());
      m_queued.pop_back();
      job->state = State::Running;
      ++m_ahead;
      lock.unlock();
      try {
        job->result.emplace(job->work());
      } catch (...) {
        job->failure = std::current_exception();
      }
      job->work = nullptr;
      lock.lock();
      job->state = State::Done;
      m_changed.notify_all();
    }
  }

  const int m_window;
  std::mutex m_mutex;
  std::condition_variable m_changed;  // work queued, begun, done or taken, or the end
  std::vector<Ticket> m_queued;       // not begun; the newest last
  int m_ahead = 0;                    // running, or done and not taken
  bool m_stopping = false;
  std::vector<std::thread> m_threads;
};
