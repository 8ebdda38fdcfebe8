// ombral-screenshot OUTDIR [FOLDER]: draws Ombral's windows into PNG files
// for the documentation: the dialog with the protocol folded in, the dialog
// unfolded after a scan of FOLDER with logging on, and the about box. Run it
// with QT_QPA_PLATFORM=offscreen to draw without a display
// (tools/screenshot.sh does).
#include <cstdio>
#include <string>

#include "ombral/OmbralAboutDlg.h"
#include "ombral/OmbralDlg.h"
#include "platform/WinApp.h"
#include "platform/WindowImage.h"

namespace {

class CScreenshotApp : public CWinApp {
public:
  CScreenshotApp() : CWinApp("Ombral") {}

  BOOL InitInstance() override {
    const auto& arguments = platform::GetProgramArguments();
    if (arguments.size() < 2) {
      std::fprintf(stderr, "usage: ombral-screenshot OUTDIR [FOLDER]\n");
      m_exitCode = 2;
      return FALSE;
    }
    const std::string folder = arguments.size() > 2 ? arguments[2] : "";
    Draw(arguments[1], folder);
    return FALSE;
  }

  int ExitInstance() override { return m_exitCode; }

private:
  void Save(const CWnd& window, const std::string& path) {
    if (platform::SaveWindowImage(window, path.c_str())) {
      std::printf("%s\n", path.c_str());
    } else {
      std::fprintf(stderr, "ombral-screenshot: cannot write %s\n", path.c_str());
      m_exitCode = 1;
    }
  }

  void Draw(const std::string& outDir, const std::string& folder) {
    COmbralDlg dialog;
    m_pMainWnd = &dialog;
    dialog.m_strPath = folder.c_str();
    if (!dialog.Create(COmbralDlg::IDD)) {
      m_exitCode = 1;
      return;
    }
    Save(dialog, outDir + "/ombral-folded.png");

    // Unfolded after a scan with logging on, so the protocol shows what a
    // run reports.
    dialog.ToggleProtocol();
    dialog.m_bNoLogging = 0;
    dialog.UpdateData(FALSE);
    dialog.RunScan();
    Save(dialog, outDir + "/ombral-unfolded.png");

    COmbralAboutDlg about(&dialog);
    if (about.Create(COmbralAboutDlg::IDD, &dialog)) {
      about.ShowWindow(SW_SHOW);
      Save(about, outDir + "/ombral-about.png");
    }
    m_pMainWnd = nullptr;
  }

  int m_exitCode = 0;
};

CScreenshotApp theApp;

}  // namespace

int main(int argc, char** argv) { return AfxWinMain(argc, argv); }
