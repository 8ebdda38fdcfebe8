// CProgressCtrl on a QProgressBar. The bar keeps the original control's
// range, position and step itself: QProgressBar ignores a value outside its
// range and shows a busy bar for an empty range, neither of which the
// original does.
#include "platform/ProgressCtrl.h"

#include <QProgressBar>
#include <algorithm>

#include "ControlMakers.h"
#include "WindowRegistry.h"

namespace platform::ui {
namespace {

class ProgressBar : public QProgressBar {
public:
  explicit ProgressBar(QWidget* parent) : QProgressBar(parent) {
    setTextVisible(false);
    Show();
  }

  int lower = 0;
  int upper = 100;
  int position = 0;
  int step = 10;

  void Clamp() { position = std::clamp(position, lower, std::max(lower, upper)); }

  // What the bar shows; an empty or reversed range shows an empty bar.
  void Show() {
    if (upper > lower) {
      setRange(lower, upper);
      setValue(position);
    } else {
      setRange(0, 1);
      setValue(0);
    }
  }
};

ProgressBar* BarOf(HWND handle) { return dynamic_cast<ProgressBar*>(WidgetOf(handle)); }

}  // namespace

QWidget* MakeProgressBar(const DialogItem&, QWidget& dialog) { return new ProgressBar(&dialog); }

}  // namespace platform::ui

using platform::ui::BarOf;

void CProgressCtrl::SetRange(short lower, short upper) { SetRange32(lower, upper); }

void CProgressCtrl::SetRange32(int lower, int upper) {
  if (auto* bar = BarOf(m_hWnd)) {
    bar->lower = lower;
    bar->upper = upper;
    bar->Clamp();
    bar->Show();
  }
}

void CProgressCtrl::GetRange(int& lower, int& upper) const {
  const auto* bar = BarOf(m_hWnd);
  lower = bar ? bar->lower : 0;
  upper = bar ? bar->upper : 0;
}

int CProgressCtrl::GetPos() const {
  const auto* bar = BarOf(m_hWnd);
  return bar ? bar->position : 0;
}

int CProgressCtrl::SetPos(int position) {
  auto* bar = BarOf(m_hWnd);
  if (!bar) return 0;
  const int previous = bar->position;
  bar->position = position;
  bar->Clamp();
  bar->Show();
  return previous;
}

int CProgressCtrl::OffsetPos(int delta) {
  auto* bar = BarOf(m_hWnd);
  if (!bar) return 0;
  // Computed in 64 bits so a huge delta stops at the end instead of wrapping.
  const long long target = static_cast<long long>(bar->position) + delta;
  return SetPos(static_cast<int>(std::clamp<long long>(target, bar->lower, std::max(bar->lower, bar->upper))));
}

int CProgressCtrl::StepIt() {
  auto* bar = BarOf(m_hWnd);
  if (!bar) return 0;
  const int previous = bar->position;
  long long target = static_cast<long long>(bar->position) + bar->step;
  const long long span = static_cast<long long>(bar->upper) - bar->lower;
  if (span > 0 && (target > bar->upper || target < bar->lower)) {
    // Past an end the bar starts over from the lower end.
    target = bar->lower + ((target - bar->lower) % span + span) % span;
  }
  bar->position = static_cast<int>(std::clamp<long long>(target, bar->lower, std::max(bar->lower, bar->upper)));
  bar->Show();
  return previous;
}

int CProgressCtrl::SetStep(int step) {
  auto* bar = BarOf(m_hWnd);
  if (!bar) return 0;
  const int previous = bar->step;
  bar->step = step;
  return previous;
}
