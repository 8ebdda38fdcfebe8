// ombral-screenshot OUTDIR [FOLDER]: draws Ombral's windows into PNG files
// for the documentation: the dialog as it opens (protocol folded), the
// dialog during a scan of FOLDER (held at its third folder, logging,
// previews and the removal of stale pages on), the same dialog after the
// scan, and the about box. Run it with QT_QPA_PLATFORM=offscreen to draw
// without a display (tools/screenshot.sh does).
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <string>

#include "ombral/OmbralAboutDlg.h"
#include "ombral/OmbralDlg.h"
#include "platform/MessagePump.h"
#include "platform/WinApp.h"
#include "platform/WindowImage.h"

namespace {

// The dialog whose scan can be held after a given folder, so that a picture
// shows it running, always at the same point.
class CShotDlg : public COmbralDlg {
public:
  using COmbralDlg::OnOK;  // "Scan..."

  void HoldAfter(int folders) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_holdAfter = folders;
  }
  // True once the scan's thread waits at the folder; false after `seconds`.
  bool WaitUntilHeld(int seconds) {
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_changed.wait_for(lock, std::chrono::seconds(seconds), [this] { return m_held; });
  }
  void Release() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_released = true;
    m_changed.notify_all();
  }

protected:
  // Called on the scan's thread after each folder.
  void OnFolderScanned(int done, int total) override {
    COmbralDlg::OnFolderScanned(done, total);
    std::unique_lock<std::mutex> lock(m_mutex);
    if (done != m_holdAfter) return;
    m_held = true;
    m_changed.notify_all();
    m_changed.wait(lock, [this] { return m_released; });
  }

private:
  std::mutex m_mutex;
  std::condition_variable m_changed;
  int m_holdAfter = -1;
  bool m_held = false;
  bool m_released = false;
};

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
    CShotDlg dialog;
    m_pMainWnd = &dialog;
    dialog.m_strPath = folder.c_str();
    if (!dialog.Create(COmbralDlg::IDD)) {
      m_exitCode = 1;
      return;
    }
    Save(dialog, outDir + "/ombral-folded.png");

    // Unfolded during a scan with logging, previews and the removal of
    // stale pages on, so the protocol shows what a run reports.
    dialog.ToggleProtocol();
    dialog.m_bNoLogging = 0;
    dialog.m_bPreviews = 1;
    dialog.m_bRemoveStale = 1;
    dialog.UpdateData(FALSE);
    dialog.HoldAfter(3);
    dialog.OnOK();
    if (dialog.WaitUntilHeld(30)) {
      platform::PumpWaitingMessages();  // what the run reported so far shows
      Save(dialog, outDir + "/ombral-scanning.png");
    } else {
      std::fprintf(stderr, "ombral-screenshot: the scan of %s did not reach its third folder\n", folder.c_str());
      m_exitCode = 1;
    }
    dialog.Release();
    dialog.WaitForScan();
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
