// The progress dialog as the tree's fillers and searches drive it: labels,
// a range, and one step per item. A step is counted every time, but the
// dialog (and with it the event pump) is updated at most about every
// 30 ms: a folder of 100,000 files would otherwise repaint the dialog
// 100,000 times, far more often than anyone can see.
#pragma once

#include <chrono>

class CZnProgressDlg;

namespace znwidgets::detail {

class TreeProgress {
public:
  // `dialog` may be null: then every member does nothing.
  explicit TreeProgress(CZnProgressDlg* dialog) : m_dialog(dialog) {}

  // Null texts are left as they are; `percent` < 0 leaves the label alone,
  // else shows (1) or hides (0) it. The position starts again at 0.
  void Label(const char* title, const char* status, int percent, unsigned int upper);
  // One step; `item` (may be null) becomes the item line when the dialog
  // is updated.
  void Step(const char* item = nullptr);
  // Shows the item line now.
  void ShowItem(const char* item);
  // Handles waiting events (while something else is awaited).
  void Pump();
  // The steps counted since the last Label.
  unsigned int Position() const { return m_position; }
  // Counts on from `position` (a walk that a nested one interrupted goes
  // on with its own count); the dialog shows it at the next update.
  void Resume(unsigned int position) { m_position = position; }

private:
  bool Due();

  CZnProgressDlg* m_dialog;
  unsigned int m_position = 0;
  std::chrono::steady_clock::time_point m_shown{};
};

// Test seam: the least time between two updates of the dialog (30 ms); 0
// updates it at every step, so a test sees each position. Returns the
// previous value.
std::chrono::milliseconds SetTreeProgressInterval(std::chrono::milliseconds every);

}  // namespace znwidgets::detail
