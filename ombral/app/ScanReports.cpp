#include "ScanReports.h"

#include <iterator>

bool CScanReports::Add(ScanReport::Kind kind, const char* text) {
  std::lock_guard<std::mutex> lock(m_mutex);
  const bool first = m_waiting.empty();
  m_waiting.push_back({kind, text ? text : ""});
  return first;
}

std::vector<ScanReport> CScanReports::TakeAll() {
  std::vector<ScanReport> taken;
  std::lock_guard<std::mutex> lock(m_mutex);
  taken.swap(m_waiting);
  return taken;
}

bool CScanReports::PutBack(std::vector<ScanReport> reports) {
  if (reports.empty()) return false;
  std::lock_guard<std::mutex> lock(m_mutex);
  const bool first = m_waiting.empty();
  reports.insert(reports.end(), std::make_move_iterator(m_waiting.begin()),
                 std::make_move_iterator(m_waiting.end()));
  m_waiting.swap(reports);
  return first;
}
