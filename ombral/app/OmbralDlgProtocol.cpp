// COmbralDlg: the protocol list.
#include "ombral/OmbralDlg.h"

#include <algorithm>

#include "ScanReports.h"

namespace {

// More lines than this since the list was last emptied, and the next line
// empties it first.
constexpr int kProtocolLimit = 3000;

}  // namespace

void COmbralDlg::AddProtocolLine(const char* text) {
  if (m_scanThread.IsJobThread()) return QueueReport(ScanReport::kLine, text);
  if (m_nProtocolLines > kProtocolLimit) {
    m_listProtocol.ResetContent();
    m_nProtocolLines = 0;
  }
  int index = m_listProtocol.AddString(text);
  // Out of space: the list has been reset meanwhile (ResetProtocol), so the
  // line gets one more chance instead of being lost.
  if (index == LB_ERRSPACE) index = m_listProtocol.AddString(text);
  if (index < 0) return;
  m_listProtocol.SetCurSel(index);
  ++m_nProtocolLines;
}

void COmbralDlg::AddProtocolLines(const std::vector<std::string>& lines) {
  std::size_t next = 0;
  while (next < lines.size()) {
    if (m_nProtocolLines > kProtocolLimit) ClearProtocol();
    // The lines up to the one that empties the list next.
    const std::size_t room = static_cast<std::size_t>(kProtocolLimit + 1 - m_nProtocolLines);
    const std::size_t count = std::min(room, lines.size() - next);
    if (next + count < lines.size()) {
      // Emptied again before this batch ends: these lines would never show.
      m_nProtocolLines += static_cast<int>(count);
      next += count;
      continue;
    }
    std::vector<const char*> texts;
    texts.reserve(count);
    for (std::size_t i = next; i < next + count; ++i) texts.push_back(lines[i].c_str());
    const int added = std::max(0, m_listProtocol.AddStrings(texts.data(), static_cast<int>(count)));
    m_nProtocolLines += added;
    next += static_cast<std::size_t>(added);
    if (added > 0) m_listProtocol.SetCurSel(m_listProtocol.GetCount() - 1);
    // Out of space: the line that did not fit goes the single way, which
    // resets the list and keeps it.
    if (next < lines.size() && static_cast<std::size_t>(added) < count) AddProtocolLine(lines[next++].c_str());
  }
}

void COmbralDlg::ClearProtocol() {
  if (m_scanThread.IsJobThread()) return QueueReport(ScanReport::kClear, nullptr);
  m_listProtocol.ResetContent();
  m_nProtocolLines = 0;
}

void COmbralDlg::ResetProtocol() {
  // The reset's own line may find the list out of space again; that must not
  // start another reset.
  if (m_bResetting) return;
  m_bResetting = true;
  ClearProtocol();
  AddProtocolLine("...RESET LIST CONTENT...");
  m_bResetting = false;
}
