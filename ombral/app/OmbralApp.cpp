#include "ombral/OmbralApp.h"

#include "ombral/OmbralDlg.h"

COmbralApp::COmbralApp() : CWinApp("Ombral") {}

BOOL COmbralApp::InitInstance() {
  Enable3dControls();
  COmbralDlg dialog;
  m_pMainWnd = &dialog;
  dialog.RunWithPath(m_lpCmdLine);
  m_pMainWnd = nullptr;  // the dialog is gone
  return FALSE;
}
