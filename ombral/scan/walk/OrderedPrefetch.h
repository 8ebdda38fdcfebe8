// COrderedPrefetch: the work on items 0, 1, 2, ... done ahead on a few
// threads, and taken in that order.
//
// The walk lists and looks at the next folders while it writes the page of
// the current one: each thread takes the lowest item not yet started, at
// most `window` items past the last one taken, so what waits stays small
// and the system sees the folders in the order of the list. Without
// threads, Take does the work itself when it is asked for, as a walk on
// one thread always did.
#pragma once

#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

template <typename Result>
class COrderedPrefetch {
public:
  // The work on item `index`, on thread `worker` (0 .. threads - 1; 0 when
  // there are none). It runs on several threads at once.
  using Work = std::function<Result(int index, int worker)>;

  COrderedPrefetch(int threads, int count, int window, Work work)
      : m_work(std::move(work)), m_count(count), m_window(window < 1 ? 1 : window),
        m_slots(static_cast<std::size_t>(m_window)) {
    for (int worker = 0; worker < threads && count > 0; ++worker) m_threads.emplace_back([this, worker] { Run(worker); });
  }

  // Waits for the items being worked on; those not taken are dropped.
  ~COrderedPrefetch() {
    {
      std::lock_guard<std::mutex> lock(m_mutex);
      m_stopping = true;
    }
    m_room.notify_all();
    for (std::thread& thread : m_threads) thread.join();
  }

  COrderedPrefetch(const COrderedPrefetch&) = delete;
  COrderedPrefetch& operator=(const COrderedPrefetch&) = delete;

  // The result of item `index`, the one after the last taken (the first:
  // 0); waits until it is done. What the work threw is thrown here.
  Result Take(int index) {
    if (m_threads.empty()) return m_work(index, 0);
    std::unique_lock<std::mutex> lock(m_mutex);
    Slot& slot = m_slots[static_cast<std::size_t>(index % m_window)];
    m_done.wait(lock, [&] { return slot.has_value(); });
    Done done = std::move(*slot);
    slot.reset();
    m_taken = index + 1;
    // Threads that found the window full sleep until half of it is free:
    // they then fill it in one go instead of waking for every item.
    const bool wake = m_next - m_taken <= m_window / 2;
    lock.unlock();
    if (wake) m_room.notify_all();
    if (done.failure) std::rethrow_exception(done.failure);
    return std::move(*done.result);
  }

private:
  struct Done {
    std::optional<Result> result;
    std::exception_ptr failure;
  };
  using Slot = std::optional<Done>;

  void Run(int worker) {
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
      m_room.wait(lock, [&] { return m_stopping || m_next >= m_count || m_next < m_taken + m_window; });
      if (m_stopping || m_next >= m_count) return;
      const int index = m_next++;
      lock.unlock();
      Done done;
      try {
        done.result.emplace(m_work(index, worker));
      } catch (...) {
        done.failure = std::current_exception();
      }
      lock.lock();
      // The slot is free: item index - window was taken before this one began.
      m_slots[static_cast<std::size_t>(index % m_window)].emplace(std::move(done));
      m_done.notify_all();
    }
  }

  Work m_work;
  const int m_count;
  const int m_window;
  std::mutex m_mutex;
  std::condition_variable m_done;  // an item was done
  std::condition_variable m_room;  // an item was taken, or the end came
  std::vector<Slot> m_slots;       // item i in slot i % window, until taken
  int m_next = 0;                  // the first item no thread has begun
  int m_taken = 0;                 // the items taken so far
  bool m_stopping = false;
  std::vector<std::thread> m_threads;  // last: started when all else is ready
};
