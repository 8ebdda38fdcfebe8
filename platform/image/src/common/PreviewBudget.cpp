// The decoding memory budget of a run: a counter under a lock, with
// first-come-first-served waiting.
#include <algorithm>

#include "platform/Preview.h"

namespace platform {

PreviewBudget::PreviewBudget(std::uint64_t limitBytes) : m_limit(limitBytes) {}

bool PreviewBudget::Acquire(std::uint64_t bytes) {
  if (bytes > m_limit) return false;
  std::unique_lock<std::mutex> lock(m_mutex);
  // Tickets keep the order of arrival: a request that does not fit yet
  // stops those behind it, or a large decode would wait for ever while
  // small ones keep slipping past it.
  const std::uint64_t ticket = m_nextTicket++;
  m_changed.wait(lock, [&] { return m_serving == ticket && m_held + bytes <= m_limit; });
  m_held += bytes;
  m_peak = std::max(m_peak, m_held);
  ++m_serving;
  lock.unlock();
  m_changed.notify_all();  // the next ticket may fit as well
  return true;
}

void PreviewBudget::Release(std::uint64_t bytes) {
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_held -= std::min(bytes, m_held);
  }
  m_changed.notify_all();
}

std::uint64_t PreviewBudget::Held() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_held;
}

std::uint64_t PreviewBudget::Peak() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_peak;
}

}  // namespace platform
