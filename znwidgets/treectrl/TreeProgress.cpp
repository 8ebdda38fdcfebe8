#include "TreeProgress.h"

#include "znwidgets/ZnProgressDlg.h"

namespace {
std::chrono::milliseconds g_updateEvery(30);
}  // namespace

namespace znwidgets::detail {

std::chrono::milliseconds SetTreeProgressInterval(std::chrono::milliseconds every) {
  const auto previous = g_updateEvery;
  g_updateEvery = every;
  return previous;
}

void TreeProgress::Label(const char* title, const char* status, int percent, unsigned int upper) {
  m_position = 0;
  m_shown = {};
  if (!m_dialog) return;
  if (title) m_dialog->SetTitle(title);
  if (status) m_dialog->SetStatus(status);
  if (percent >= 0) m_dialog->ShowPercent(percent);
  m_dialog->SetRange(0, upper > 0 ? upper : 1);
}

bool TreeProgress::Due() {
  const auto now = std::chrono::steady_clock::now();
  if (now - m_shown < g_updateEvery) return false;
  m_shown = now;
  return true;
}

void TreeProgress::Step(const char* item) {
  ++m_position;
  if (!m_dialog || !Due()) return;
  if (item) m_dialog->SetItemText(item);
  m_dialog->SetPos(m_position);
}

void TreeProgress::ShowItem(const char* item) {
  if (m_dialog && item) m_dialog->SetItemText(item);
}

void TreeProgress::Pump() {
  if (m_dialog) m_dialog->SetPos(m_position);
}

}  // namespace znwidgets::detail
