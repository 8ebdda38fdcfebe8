// Shows a progress dialog at 42 % and prints what its percent label says:
// ZnWidgets as another program uses it (run it offscreen without a display).
#include <cstdio>

#include "platform/WinApp.h"
#include "znwidgets/ZnWidgets.h"

int main() {
  platform::WindowSystem windows("widgets_consumer");
  CZnProgressDlg progress;
  if (!progress.Create(nullptr)) return 1;
  progress.SetStatus("Working...");
  progress.SetPos(42);
  CString label;
  progress.GetDlgItemText(IDC_ZN_PROGRESS_PERCENT, label);
  std::printf("%s\n", label.GetString());
  progress.DestroyWindow();
  return label == "42%" ? 0 : 1;
}
