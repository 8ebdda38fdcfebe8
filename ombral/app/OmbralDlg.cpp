// COmbralDlg: start-up, commands, folding, pickers and closing.
#include "ombral/OmbralDlg.h"

#include "ombral/OmbralAboutDlg.h"
#include "platform/DataExchange.h"
#include "platform/Menu.h"
#include "platform/Resource.h"
#include "platform/WinApp.h"
#include "znwidgets/ZnWndTool.h"

namespace {

constexpr const char* kBoxCaption = "Ombral for Windows";
// How much the window grows when the protocol unfolds.
constexpr int kProtocolFold = 350;

}  // namespace

COmbralDlg::COmbralDlg(CWnd* parent)
    : CDialog(IDD, parent), m_hIcon(platform::LoadIconResource(IDR_MAINFRAME)) {}

INT_PTR COmbralDlg::RunWithPath(const char* path) {
  m_strPath = path ? path : "";
  return DoModal();
}

void COmbralDlg::DoDataExchange(CDataExchange* dx) {
  CDialog::DoDataExchange(dx);
  DDX_Control(dx, IDC_PROTOCOL, m_listProtocol);
  DDX_Check(dx, IDC_CLOSE_AFTER_SCAN, m_bCloseAfterScan);
  DDX_Check(dx, IDC_OVERWRITE, m_bOverwrite);
  DDX_Check(dx, IDC_RECURSE, m_bRecurse);
  DDX_Text(dx, IDC_FRAME_FILE, m_strFrameFile);
  DDV_MaxChars(dx, m_strFrameFile, 255);
  DDX_Text(dx, IDC_INDEX_FILE, m_strIndexFile);
  DDV_MaxChars(dx, m_strIndexFile, 255);
  DDX_Text(dx, IDC_PATH, m_strPath);
  DDV_MaxChars(dx, m_strPath, 255);
  DDX_Check(dx, IDC_NO_LOGGING, m_bNoLogging);
  DDX_Text(dx, IDC_FILTER, m_strFilter);
  DDV_MaxChars(dx, m_strFilter, 200);
  DDX_Check(dx, IDC_IGNORE_EMPTY_PATHS, m_bIgnoreEmptyPaths);
}

BOOL COmbralDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  CString aboutItem;
  AfxLoadString(IDS_ABOUTBOX, aboutItem);
  if (CMenu* systemMenu = GetSystemMenu(FALSE); systemMenu && !aboutItem.IsEmpty()) {
    systemMenu->AppendMenu(MF_SEPARATOR);
    systemMenu->AppendMenu(MF_STRING, IDM_ABOUTBOX, aboutItem);
  }
  SetIcon(m_hIcon, TRUE);
  SetIcon(m_hIcon, FALSE);
  ToggleProtocol();  // the dialog opens with the protocol folded in
  return TRUE;
}

BOOL COmbralDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
  const int id = LOWORD(wParam);
  switch (HIWORD(wParam)) {
    case BN_CLICKED:
      switch (id) {
        case IDC_CLOSE: OnCloseButton(); return TRUE;
        case IDC_TOGGLE_PROTOCOL: ToggleProtocol(); return TRUE;
        case IDC_BROWSE_FOLDER: OnBrowseFolder(); return TRUE;
        case IDC_BROWSE_FILE: OnBrowseFile(); return TRUE;
        case IDC_OPEN_INDEX: OnOpenIndex(); return TRUE;
        case IDC_OVERWRITE:
        case IDC_RECURSE:
        case IDC_CLOSE_AFTER_SCAN:
        case IDC_NO_LOGGING: ClearProtocol(); return TRUE;
        default: break;
      }
      break;
    case EN_CHANGE:
      if (id == IDC_PATH || id == IDC_INDEX_FILE || id == IDC_FRAME_FILE) {
        ClearProtocol();
        return TRUE;
      }
      break;
    case LBN_ERRSPACE:
      if (id == IDC_PROTOCOL) {
        ResetProtocol();
        return TRUE;
      }
      break;
    default:
      break;
  }
  return CDialog::OnCommand(wParam, lParam);
}

void COmbralDlg::OnSysCommand(UINT id, LPARAM lParam) {
  if ((id & 0xFFF0) == IDM_ABOUTBOX) {
    COmbralAboutDlg about(this);
    about.DoModal();
    return;
  }
  CDialog::OnSysCommand(id, lParam);
}

void COmbralDlg::ToggleProtocol() {
  m_bProtocolShown = !m_bProtocolShown;
  SetDlgItemText(IDC_TOGGLE_PROTOCOL, m_bProtocolShown ? "Protocoll <<" : "Protocoll >>");
  CRect window;
  GetWindowRect(window);
  const int change = m_bProtocolShown ? kProtocolFold : -kProtocolFold;
  MoveWindow(window.left, window.top, window.Width(), window.Height() + change, TRUE);
}

void COmbralDlg::OnOK() {
  // A field over its limit (only a path from the command line can be) stops
  // the run here: the scan would otherwise go on with settings it could not
  // read from the dialog.
  if (!UpdateData(TRUE)) {
    SetStatusText("SCAN CANCELED!");
    return;
  }
  if (RunScan() && m_bCloseAfterScan) CDialog::OnOK();
}

void COmbralDlg::OnCancel() {
  if (MessageBox("Close application?", kBoxCaption, MB_YESNO | MB_ICONQUESTION) == IDYES) {
    CDialog::OnCancel();
  }
}

void COmbralDlg::OnCloseButton() { CDialog::OnCancel(); }

HWND COmbralDlg::PickerOwner() const {
  CWnd* main = AfxGetMainWnd();
  return main ? main->GetSafeHwnd() : GetSafeHwnd();
}

void COmbralDlg::OnBrowseFolder() {
  if (!UpdateData(TRUE)) return;
  char folder[MAX_PATH] = "";
  if (CZnWndTool().GetFolderSelection(folder, PickerOwner(), nullptr, m_strPath)) {
    m_strPath = folder;
    SetDlgItemText(IDC_PATH, m_strPath);
    UpdateData(FALSE);
  }
}

void COmbralDlg::OnBrowseFile() {
  if (!UpdateData(TRUE)) return;
  char folder[MAX_PATH] = "";
  // Mode 2: the chosen file's folder.
  if (CZnWndTool().GetFileSelection(folder, PickerOwner(), nullptr, m_strPath, nullptr, 2)) {
    m_strPath = folder;
    SetDlgItemText(IDC_PATH, m_strPath);
    UpdateData(FALSE);
  }
}

void COmbralDlg::OnOpenIndex() {
  if (!UpdateData(TRUE)) return;
  if (m_strPath.IsEmpty()) {
    m_strMessage = "You need a path to open the index in your browser.";
    MessageBox(m_strMessage, kBoxCaption, MB_OK | MB_ICONEXCLAMATION);
    AddProtocolLine(m_strMessage);
    return;
  }
  CString page;
  page.Format("%s\\%s", m_strPath.GetString(), m_strFrameFile.GetString());
  char message[ZN_EXECUTE_MESSAGE_SIZE] = "";
  if (CZnWndTool().ExecuteFile(GetSafeHwnd(), page, message) != 0) {
    MessageBox(message, kBoxCaption, MB_OK | MB_ICONEXCLAMATION);
  }
}

void COmbralDlg::SetStatusText(const char* text) { SetDlgItemText(IDC_STATUS, text); }

void COmbralDlg::ShowWarning(const char* text) {
  MessageBox(text, kBoxCaption, MB_OK | MB_ICONEXCLAMATION);
}

void COmbralDlg::LoadSettings() { UpdateData(TRUE); }
