// COmbralDlg: start-up, data exchange, commands, pickers and closing.
#include "ombral/OmbralDlg.h"

#include "ScanReports.h"

#include "ombral/OmbralAboutDlg.h"
#include "platform/DataExchange.h"
#include "platform/Menu.h"
#include "platform/Resource.h"
#include "platform/WinApp.h"
#include "znwidgets/ZnWndTool.h"

namespace {

constexpr const char* kBoxCaption = "Ombral for Windows";

}  // namespace

COmbralDlg::COmbralDlg(CWnd* parent)
    : CDialog(IDD, parent),
      m_hIcon(platform::LoadIconResource(IDR_MAINFRAME)),
      m_reports(std::make_unique<CScanReports>()) {}

COmbralDlg::~COmbralDlg() {
  // The run calls this object's members until it returns; its queued
  // reports are dropped with the thread's object.
  StopScan();
  m_scanThread.Wait();
}

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
  DDX_Check(dx, IDC_GALLERY, m_bGallery);
  DDX_Check(dx, IDC_PREVIEWS, m_bPreviews);
  // The edge counts (and is checked) only with previews.
  if (!dx->m_bSaveAndValidate || m_bPreviews) {
    DDX_Text(dx, IDC_PREVIEW_EDGE, m_nPreviewSize);
    DDV_MinMaxInt(dx, m_nPreviewSize, COmbralScan::kSmallestPreviewEdge, COmbralScan::kLargestPreviewEdge);
  }
  DDX_Check(dx, IDC_REMOVE_STALE, m_bRemoveStale);
  DDX_Check(dx, IDC_DRY_RUN, m_bDryRun);
  if (dx->m_bSaveAndValidate) {
    m_nPreviewEdge = m_bPreviews ? m_nPreviewSize : 0;
    if (!m_bRemoveStale) m_bDryRun = 0;
  } else {
    UpdateControlStates();
  }
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
  RememberLayout();
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
        case IDC_GALLERY: OnGallery(); return TRUE;
        case IDC_PREVIEWS:
        case IDC_REMOVE_STALE: UpdateControlStates(); return TRUE;
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

void COmbralDlg::OnCancel() {
  if (m_bCloseWhenStopped) return;  // asked already; closing once the scan has stopped
  if (MessageBox("Close application?", kBoxCaption, MB_YESNO | MB_ICONQUESTION) == IDYES) {
    CloseDialog();
  }
}

void COmbralDlg::OnCloseButton() { CloseDialog(); }

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

void COmbralDlg::OnGallery() {
  CString filter;
  GetDlgItemText(IDC_FILTER, filter);
  const bool gallery = IsDlgButtonChecked(IDC_GALLERY) == BST_CHECKED;
  // A filter the user typed stays as it is.
  if (gallery && filter == kDefaultFilter) SetDlgItemText(IDC_FILTER, kGalleryFilter);
  else if (!gallery && filter == kGalleryFilter) SetDlgItemText(IDC_FILTER, kDefaultFilter);
  UpdateControlStates();
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

void COmbralDlg::ShowWarning(const char* text) {
  if (m_scanThread.IsJobThread()) return QueueReport(ScanReport::kWarning, text);
  MessageBox(text, kBoxCaption, MB_OK | MB_ICONEXCLAMATION);
}
