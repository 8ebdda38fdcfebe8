// znwidgets-progress [COUNT]: works through COUNT items (default 2000)
// under a progress dialog, and stops early when "Abbrechen" is pressed.
//
// Shows ZnWidgets at work: the application object starts the window
// system, CZnProgressDlg shows status, item and percent, and its SetPos
// and CheckCancelButton keep the window responsive on the program's one
// thread. Without a display, run it with QT_QPA_PLATFORM=offscreen.
#include <cstdio>
#include <cstdlib>

#include "platform/WinApp.h"
#include "znwidgets/ZnWidgets.h"

namespace {

class CProgressApp : public CWinApp {
public:
  CProgressApp() : CWinApp("znwidgets-progress") {}

  BOOL InitInstance() override {
    const int count = m_lpCmdLine && *m_lpCmdLine ? std::atoi(m_lpCmdLine) : 2000;
    CZnProgressDlg progress;
    if (!progress.Create(nullptr)) {
      m_exitCode = 1;
      return FALSE;
    }
    progress.SetStatus("Daten werden verarbeitet...");
    progress.SetRange(0, count > 0 ? count : 1);
    int done = 0;
    for (; done < count; ++done) {
      CString item;
      item.Format("Eintrag %d von %d", done + 1, count);
      progress.SetItemText(item);
      progress.SetPos(done + 1);
      if (progress.CheckCancelButton()) break;
    }
    progress.DestroyWindow();
    std::printf("%d of %d items done%s\n", done, count, done < count ? " (cancelled)" : "");
    return FALSE;  // no main window: the program ends here
  }

  int ExitInstance() override { return m_exitCode; }

private:
  int m_exitCode = 0;
};

CProgressApp theApp;

}  // namespace

int main(int argc, char** argv) { return AfxWinMain(argc, argv); }
