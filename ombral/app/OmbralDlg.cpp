// COmbralDlg: start-up, data exchange, commands, pickers and closing.
#include "ombral/OmbralDlg.h"

#include <algorithm>
#include <limits>
#include <string_view>

#include "ScanReports.h"

#include "ombral/OmbralAboutDlg.h"
#include "platform/DataExchange.h"
#include "platform/FileSystem.h"
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

namespace {

// The path field takes at most this many characters (the folder names the
// pages are written under must fit the old limits).
constexpr int kMaxPathChars = 255;

int CountCharacters(std::string_view text) {
  int count = 0;
  for (const char c : text) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
  return count;
}

// A path longer than the field allows (only the command line or a picker
// can put one there) is named with the field and the limit.
void CheckPathLength(CDataExchange* dx, const CString& path) {
  const int count = CountCharacters(path.GetView());
  if (count <= kMaxPathChars) return;
  CString message;
  message.Format("The path to scan may have at most %d characters; this one has %d.", kMaxPathChars, count);
  AfxMessageBox(message, MB_ICONEXCLAMATION);
  dx->Fail();
}

// The edge field holds digits only: any number in it, however long, is
// checked against the edge's range; an empty field counts as 0.
void DDX_Edge(CDataExchange* dx, int id, int& value) {
  if (!dx->m_bSaveAndValidate) return DDX_Text(dx, id, value);
  CWnd* control = dx->PrepareEditCtrl(id);
  if (!control) return;
  CString text;
  control->GetWindowText(text);
  long long number = 0;
  for (const char c : text.GetView()) {
    if (c < '0' || c > '9') continue;
    number = std::min<long long>(number * 10 + (c - '0'), std::numeric_limits<int>::max());
  }
  value = static_cast<int>(number);
}

}  // namespace

void COmbralDlg::DoDataExchange(CDataExchange* dx) {
  CDialog::DoDataExchange(dx);
  DDX_Control(dx, IDC_PROTOCOL, m_listProtocol);
  DDX_Control(dx, IDC_PROGRESS, m_progress);
  DDX_Check(dx, IDC_CLOSE_AFTER_SCAN, m_bCloseAfterScan);
  DDX_Check(dx, IDC_OVERWRITE, m_bOverwrite);
  DDX_Check(dx, IDC_RECURSE, m_bRecurse);
  DDX_Text(dx, IDC_FRAME_FILE, m_strFrameFile);
  DDV_MaxChars(dx, m_strFrameFile, 255);
  DDX_Text(dx, IDC_INDEX_FILE, m_strIndexFile);
  DDV_MaxChars(dx, m_strIndexFile, 255);
  DDX_Text(dx, IDC_PATH, m_strPath);
  if (dx->m_bSaveAndValidate) CheckPathLength(dx, m_strPath);
  DDV_MaxChars(dx, m_strPath, kMaxPathChars);
  DDX_Check(dx, IDC_NO_LOGGING, m_bNoLogging);
  DDX_Text(dx, IDC_FILTER, m_strFilter);
  DDV_MaxChars(dx, m_strFilter, 200);
  DDX_Check(dx, IDC_IGNORE_EMPTY_PATHS, m_bIgnoreEmptyPaths);
  DDX_Check(dx, IDC_GALLERY, m_bGallery);
  DDX_Check(dx, IDC_PREVIEWS, m_bPreviews);
  // The edge counts (and is checked) only with previews.
  if (!dx->m_bSaveAndValidate || m_bPreviews) {
    DDX_Edge(dx, IDC_PREVIEW_EDGE, m_nPreviewSize);
    DDV_MinMaxInt(dx, m_nPreviewSize, COmbralScan::kSmallestPreviewEdge, COmbralScan::kLargestPreviewEdge);
  }
  DDX_Check(dx, IDC_REMOVE_STALE, m_bRemoveStale);
  DDX_Check(dx, IDC_DRY_RUN, m_bDryRun);
  if (dx->m_bSaveAndValidate) {
    CheckPageNames(dx);
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
  FitScreenWidth();
  m_progress.ShowWindow(SW_HIDE);  // only while a scan runs
  DragAcceptFiles(TRUE);
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
        if (id != IDC_PATH) m_nEditedPageField = id;
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
  if (m_bCloseWhenStopped || m_bAsking) return;  // asked already
  // A scan that ends while the question is open leaves the dialog to the
  // answer (with "Close after scan" too): the question never stays alone.
  m_bAsking = true;
  const int answer = MessageBox("Close application?", kBoxCaption, MB_YESNO | MB_ICONQUESTION);
  m_bAsking = false;
  if (answer == IDYES) CloseDialog();
}

void COmbralDlg::OnCloseButton() { CloseDialog(); }

HWND COmbralDlg::PickerOwner() const {
  CWnd* main = AfxGetMainWnd();
  return main ? main->GetSafeHwnd() : GetSafeHwnd();
}

void COmbralDlg::CheckPageNames(CDataExchange* dx) {
  const auto fail = [dx](int id, const std::string& message) {
    AfxMessageBox(message.c_str(), MB_ICONEXCLAMATION);
    dx->PrepareEditCtrl(id);
    dx->Fail();
  };
  for (const bool frame : {false, true}) {
    const std::string problem = CheckPageName(frame ? m_strFrameFile : m_strIndexFile, m_strFilter, frame);
    if (!problem.empty()) fail(frame ? IDC_FRAME_FILE : IDC_INDEX_FILE, problem);
  }
  if (m_strIndexFile == m_strFrameFile) {
    // The field the user changed last is the one that clashes.
    CString message;
    if (m_nEditedPageField == IDC_INDEX_FILE)
      message.Format("The index filename \"%s\" is not a valid filename (it is the html frame filename).",
                     m_strIndexFile.GetString());
    else
      message.Format("The html frame filename \"%s\" is not a valid filename (it is the index filename).",
                     m_strFrameFile.GetString());
    fail(m_nEditedPageField, std::string(message.GetView()));
  }
}

void COmbralDlg::OnBrowseFolder() {
  if (!UpdateData(TRUE)) return;
  CZnString folder;
  if (CZnWndTool().GetFolderSelection(folder, PickerOwner(), nullptr, m_strPath)) TakePickedPath(folder);
}

void COmbralDlg::OnBrowseFile() {
  if (!UpdateData(TRUE)) return;
  CZnString folder;
  // Mode 2: the chosen file's folder.
  if (CZnWndTool().GetFileSelection(folder, PickerOwner(), nullptr, m_strPath, nullptr, 2)) TakePickedPath(folder);
}

void COmbralDlg::TakePickedPath(const CZnString& folder) {
  // A folder whose path the field cannot hold is named, not dropped silently.
  if (const int count = CountCharacters(folder.GetView()); count > kMaxPathChars) {
    CString message;
    message.Format("The folder \"%s\" cannot be scanned from here: its path has %d characters, and the path to "
                   "scan may have at most %d.",
                   folder.GetString(), count, kMaxPathChars);
    MessageBox(message, kBoxCaption, MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  m_strPath = folder.GetString();
  SetDlgItemText(IDC_PATH, m_strPath);
  UpdateData(FALSE);
}

void COmbralDlg::OnDropFiles(const std::vector<std::string>& paths) {
  if (m_bScanning || paths.empty()) return;
  std::string folder = paths.front();
  platform::FileStat stat;
  if (platform::GetFileStat(folder, stat) && !stat.isDirectory) {
    const std::size_t last = folder.find_last_of('\\');
    if (last != std::string::npos) folder.erase(last == 2 && folder[1] == ':' ? 3 : last);
  }
  SetDlgItemText(IDC_PATH, folder.c_str());
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
