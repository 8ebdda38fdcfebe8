// znwidgets-demo: one window that shows every ZnWidgets class at work.
//   znwidgets-demo                     opens the window
//   znwidgets-demo --screenshot DIR    draws it into DIR/znwidgets-demo.png
//                                      (make screenshot does, offscreen)
#include <cstdio>
#include <string>

#include "DemoDlg.h"
#include "DemoResource.h"
#include "platform/WinApp.h"
#include "platform/WindowImage.h"

namespace {

// The picture's window size, and the list's column of sizes.
constexpr int kShotWidth = 1040;
constexpr int kShotHeight = 640;
constexpr int kSizeColumn = 2;

// The child of `parent` whose text begins with `prefix`; null when none does.
HTREEITEM FindChild(CZnTreeCtrl& tree, HTREEITEM parent, const char* prefix) {
  for (HTREEITEM item = tree.GetChildItem(parent); item; item = tree.GetNextSiblingItem(item)) {
    if (tree.GetItemText(item).Find(prefix) == 0) return item;
  }
  return nullptr;
}

class CDemoApp : public CWinApp {
public:
  CDemoApp() : CWinApp("ZnWidgets demo") {}

  BOOL InitInstance() override {
    const auto& arguments = platform::GetProgramArguments();
    if (arguments.size() == 3 && arguments[1] == "--screenshot") {
      m_exitCode = DrawScreenshot(arguments[2]) ? 0 : 1;
      return FALSE;
    }
    if (arguments.size() != 1) {
      std::fprintf(stderr, "usage: znwidgets-demo [--screenshot DIR]\n");
      m_exitCode = 2;
      return FALSE;
    }
    CDemoDlg dialog;
    m_pMainWnd = &dialog;
    dialog.DoModal();
    m_pMainWnd = nullptr;
    return FALSE;
  }

  int ExitInstance() override { return m_exitCode; }

private:
  // The window with drive P: (a copy of the sample gallery, as
  // tools/screenshot.sh maps it) opened down to a folder whose files the
  // list shows, sorted by size, largest first; the window pulled larger
  // than it opens, as a user would.
  bool DrawScreenshot(const std::string& outDir) {
    CDemoDlg dialog;
    m_pMainWnd = &dialog;
    if (!dialog.Create(IDD_ZN_DEMO)) return false;
    dialog.ShowWindow(SW_SHOW);
    CRect frame;
    dialog.GetWindowRect(&frame);
    dialog.MoveWindow(frame.left, frame.top, kShotWidth, kShotHeight);
    CZnTreeCtrl& tree = dialog.m_tree;
    if (HTREEITEM drive = FindChild(tree, dialog.FilesItem(), "P:")) {
      tree.Expand(drive, TVE_EXPAND);
      if (HTREEITEM year = FindChild(tree, drive, " 2001")) {
        tree.Expand(year, TVE_EXPAND);
        if (HTREEITEM folder = FindChild(tree, year, " Summer")) tree.SelectItem(folder);
      }
    }
    dialog.m_list.SortBy(kSizeColumn, false);
    dialog.m_list.SetCurSel(0);
    dialog.m_list.SetFocus();
    const std::string path = outDir + "/znwidgets-demo.png";
    const bool saved = platform::SaveWindowImage(dialog, path.c_str());
    std::printf(saved ? "%s\n" : "cannot write %s\n", path.c_str());
    dialog.DestroyWindow();
    m_pMainWnd = nullptr;
    return saved;
  }

  int m_exitCode = 0;
};

CDemoApp theApp;

}  // namespace

int main(int argc, char** argv) { return AfxWinMain(argc, argv); }
