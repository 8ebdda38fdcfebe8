// znwidgets-screenshot OUTDIR: draws ZnWidgets' windows into PNG files for
// the documentation. Run it with QT_QPA_PLATFORM=offscreen to draw without
// a display (tools/screenshot.sh does).
#include <cstdio>
#include <string>

#include "Shots.h"
#include "platform/WinApp.h"
#include "platform/WindowImage.h"

namespace znwidgets::shots {

bool Save(const CWnd& window, const std::string& outDir, const std::string& name) {
  const std::string path = outDir + "/" + name;
  if (!platform::SaveWindowImage(window, path.c_str())) {
    std::fprintf(stderr, "znwidgets-screenshot: cannot write %s\n", path.c_str());
    return false;
  }
  std::printf("%s\n", path.c_str());
  return true;
}

}  // namespace znwidgets::shots

namespace {

class CScreenshotApp : public CWinApp {
public:
  CScreenshotApp() : CWinApp("ZnWidgets") {}

  BOOL InitInstance() override {
    const auto& arguments = platform::GetProgramArguments();
    if (arguments.size() != 2) {
      std::fprintf(stderr, "usage: znwidgets-screenshot OUTDIR\n");
      m_exitCode = 2;
      return FALSE;
    }
    using namespace znwidgets::shots;
    const std::string& outDir = arguments[1];
    bool ok = DrawProgressDlgShots(outDir);
    ok = DrawListCtrlShots(outDir) && ok;
    ok = DrawTreeCtrlShots(outDir) && ok;
    m_exitCode = ok ? 0 : 1;
    return FALSE;
  }

  int ExitInstance() override { return m_exitCode; }

private:
  int m_exitCode = 0;
};

CScreenshotApp theApp;

}  // namespace

int main(int argc, char** argv) { return AfxWinMain(argc, argv); }
