// COmbralDlg: the scan run on a thread of its own. The run's reports are
// queued on its thread and shown on the dialog's thread in batches, in the
// order the run made them; the dialog stays responsive meanwhile, and
// "Stop" (the "Scan..." button while a scan runs) ends the run at its next
// file.
#include "ScanReports.h"
#include "ombral/OmbralDlg.h"

namespace {

constexpr const char* kScanText = "&Scan...";
constexpr const char* kStopText = "&Stop";

// The settings, which the run reads while it goes, and the buttons that act
// on the tree cannot be used while a scan runs.
constexpr int kSettingControls[] = {
    IDC_PATH,       IDC_BROWSE_FOLDER, IDC_BROWSE_FILE,      IDC_OPEN_INDEX,
    IDC_INDEX_FILE, IDC_FRAME_FILE,    IDC_FILTER,           IDC_OVERWRITE,
    IDC_RECURSE,    IDC_NO_LOGGING,    IDC_CLOSE_AFTER_SCAN, IDC_IGNORE_EMPTY_PATHS,
    IDC_PREVIEWS,   IDC_REMOVE_STALE,  IDC_GALLERY,
};

}  // namespace

void COmbralDlg::OnOK() {
  if (m_bScanning) {
    StopScan();
    return;
  }
  // A field over its limit (only a path from the command line can be) or
  // an edge out of range stops the run before it starts: the message box
  // said why and the field has the focus; no scan ran, so the status
  // stays as it was.
  if (!UpdateData(TRUE)) return;
  StartScan();
}

void COmbralDlg::StartScan() {
  m_bStopWanted.store(false);
  m_bCloseWhenStopped = false;
  m_firstError.clear();
  m_bScanning = true;
  UpdateControlStates();
  m_nProgressShown = -1;
  m_progress.SetRange32(0, 1);
  m_progress.SetPos(0);
  m_progress.ShowWindow(SW_SHOW);
  if (CWnd* status = GetDlgItem(IDC_STATUS)) status->ShowWindow(SW_HIDE);
  const bool started = m_scanThread.Start([this] {
    const bool completed = RunScan();
    m_scanThread.Post([this, completed] { OnScanEnded(completed); });
  });
  if (started) return;
  // No thread to be had: the run goes on here, as it always could.
  m_bScanning = false;
  UpdateControlStates();
  const bool completed = RunScan();
  if (completed && GetErrorCount() > 0) ShowErrors();
  if (completed && m_bCloseAfterScan) CDialog::OnOK();
}

void COmbralDlg::StopScan() {
  if (!m_bScanning) return;
  m_bStopWanted.store(true);
  RequestStop();
}

void COmbralDlg::CloseDialog() {
  if (!m_bScanning) {
    CDialog::OnCancel();
    return;
  }
  // The pages stay whole: the run ends at its next file, then the dialog.
  m_bCloseWhenStopped = true;
  StopScan();
}

void COmbralDlg::WaitForScan() {
  m_scanThread.Wait();
  // The run's reports and its end are tasks of the thread: they run here.
  m_scanThread.RunPostedTasks();
}

void COmbralDlg::OnScanEnded(bool completed) {
  // Everything the run reported shows before its end does, also what
  // waited behind a warning box.
  while (!ShowReports()) {
  }
  m_bScanning = false;
  UpdateControlStates();
  m_progress.ShowWindow(SW_HIDE);
  if (CWnd* status = GetDlgItem(IDC_STATUS)) status->ShowWindow(SW_SHOW);
  if (completed && GetErrorCount() > 0) ShowErrors();
  // A clean run offers its result: Enter (or Space) on "->" opens it.
  if (completed && GetErrorCount() == 0)
    if (CWnd* open = GetDlgItem(IDC_OPEN_INDEX)) open->SetFocus();
  if (m_bCloseWhenStopped) {
    CDialog::OnCancel();
  } else if (completed && m_bCloseAfterScan && !m_bAsking) {
    CDialog::OnOK();
  }
}

void COmbralDlg::OnFolderScanned(int foldersDone, int foldersTotal) {
  if (foldersTotal <= 0) return;
  const int hundredths = static_cast<int>(static_cast<long long>(foldersDone) * 100 / foldersTotal);
  if (m_nProgressShown.exchange(hundredths) == hundredths) return;
  m_scanThread.Post([this, foldersDone, foldersTotal] {
    if (!m_bScanning) return;
    m_progress.SetRange32(0, foldersTotal);
    m_progress.SetPos(foldersDone);
  });
}

void COmbralDlg::OnProblem(bool error, const char* text) {
  if (error && m_firstError.empty() && text) m_firstError = text;
}

void COmbralDlg::ShowErrors() {
  CString status;
  status.Format("SCAN COMPLETED WITH %d %s", GetErrorCount(), GetErrorCount() == 1 ? "ERROR" : "ERRORS");
  SetDlgItemText(IDC_STATUS, status);
  if (!m_bProtocolShown) ToggleProtocol();
  for (int i = 0, count = m_listProtocol.GetCount(); i < count; ++i) {
    CString line;
    m_listProtocol.GetText(i, line);
    if (line.GetView() != m_firstError) continue;
    m_listProtocol.SetCurSel(i);
    m_listProtocol.SetTopIndex(i);
    break;
  }
}

void COmbralDlg::UpdateControlStates() {
  if (!m_hWnd) return;
  SetDlgItemText(IDOK, m_bScanning ? kStopText : kScanText);
  for (int id : kSettingControls) {
    if (CWnd* control = GetDlgItem(id)) control->EnableWindow(!m_bScanning);
  }
  const bool previews = !m_bScanning && IsDlgButtonChecked(IDC_PREVIEWS) == BST_CHECKED;
  for (int id : {IDC_PREVIEW_EDGE, IDC_PREVIEW_UNIT}) {
    if (CWnd* control = GetDlgItem(id)) control->EnableWindow(previews);
  }
  const bool removeStale = !m_bScanning && IsDlgButtonChecked(IDC_REMOVE_STALE) == BST_CHECKED;
  if (CWnd* dryRun = GetDlgItem(IDC_DRY_RUN)) dryRun->EnableWindow(removeStale);
}

// --- Reports ---------------------------------------------------------------------------

void COmbralDlg::QueueReport(int kind, const char* text) {
  if (m_reports->Add(static_cast<ScanReport::Kind>(kind), text)) {
    m_scanThread.Post([this] { ShowReportsSoon(); });
  }
}

void COmbralDlg::ShowReportsSoon() {
  if (m_bShowingArmed) return;  // a later showing takes these too
  const auto since = std::chrono::steady_clock::now() - m_lastShown;
  if (since >= kShowInterval) {
    ShowReports();
    return;
  }
  // Each showing repaints the list: a few dozen a second are enough to
  // watch, and leave the time to the scan.
  m_bShowingArmed = true;
  const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(kShowInterval - since);
  m_scanThread.PostAfter(static_cast<int>(wait.count()) + 1, [this] {
    m_bShowingArmed = false;
    ShowReports();
  });
}

bool COmbralDlg::ShowReports() {
  m_lastShown = std::chrono::steady_clock::now();
  std::vector<ScanReport> reports = m_reports->TakeAll();
  std::vector<std::string> lines;
  for (auto report = reports.begin(); report != reports.end(); ++report) {
    if (report->kind == ScanReport::kLine) {
      lines.push_back(std::move(report->text));
      continue;
    }
    AddProtocolLines(lines);
    lines.clear();
    switch (report->kind) {
      case ScanReport::kClear:
        ClearProtocol();
        break;
      case ScanReport::kStatus:
        SetStatusText(report->text.c_str());
        break;
      case ScanReport::kWarning: {
        // The box waits for the user; what the run reported after it shows
        // meanwhile, in order, from the queue.
        const std::string text = std::move(report->text);
        if (m_reports->PutBack(std::vector<ScanReport>(std::make_move_iterator(report + 1),
                                                         std::make_move_iterator(reports.end())))) {
          m_scanThread.Post([this] { ShowReportsSoon(); });
        }
        ShowWarning(text.c_str());
        return false;
      }
      case ScanReport::kLine:
        break;
    }
  }
  AddProtocolLines(lines);
  return true;
}

void COmbralDlg::SetStatusText(const char* text) {
  if (m_scanThread.IsJobThread()) return QueueReport(ScanReport::kStatus, text);
  SetDlgItemText(IDC_STATUS, text);
}

void COmbralDlg::LoadSettings() {
  if (!m_scanThread.IsJobThread()) {
    UpdateData(TRUE);
    return;
  }
  // The dialog's thread read the settings before the run began. A stop
  // asked for before now was cleared by the run's start: ask again.
  if (m_bStopWanted.load()) RequestStop();
}
