// COmbralDlg: Ombral's main dialog. It holds the scan settings in its
// controls, runs the scan (the "Scan..." button, or Enter), reports it in the
// protocol list and the status line, and offers the folder and file pickers,
// the open-in-browser button and the about box.
//
// The scan runs on a thread of its own, so the window stays responsive: it
// repaints, the protocol fills as the scan goes, and "Scan..." reads "Stop"
// and stops the scan at the next file ("SCAN CANCELED!"). The settings
// cannot be changed while a scan runs. Closing the dialog (Esc or the close
// box after "Close application?", or "&Close") during a scan stops it and
// closes once it has ended; the destructor stops a running scan and waits
// for it.
//
// The protocol list holds at most 3001 lines: once more than 3000 lines
// were added since it was last emptied, the next line empties it first. It
// is emptied at the start of every scan, by typing in the path, index or
// frame field, by a click on one of the options "Overwrite HTML files",
// "Recurse subdirectories", "Close after scan" and "No logging (faster)",
// and when it runs out of space (then it says so in its first line). The
// filter field and "Ignore empty paths" leave it alone.
//
// The window can be resized: the fields grow with its width, the protocol
// with its width and height. Folded, only the width can change and the
// protocol list is hidden. Unfolding keeps the window inside the free area
// of its screen.
#pragma once

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "ombral/OmbralResource.h"
#include "ombral/OmbralScan.h"
#include "platform/Dialog.h"
#include "platform/ListBox.h"
#include "platform/ProgressCtrl.h"
#include "platform/WorkerThread.h"

class CScanReports;

class CZnString;

class COmbralDlg : public CDialog, public COmbralScan {
public:
  enum { IDD = IDD_OMBRAL_DIALOG };

  explicit COmbralDlg(CWnd* parent = nullptr);
  // Stops a running scan and waits until it has ended.
  ~COmbralDlg() override;

  // Puts `path` into the path field and runs the dialog modally; the
  // dialog's result (IDOK after "Close after scan", else IDCANCEL).
  virtual INT_PTR RunWithPath(const char* path);

  // Appends a line to the protocol, selects it (so it shows) and counts it.
  // From the scan's thread the line is queued for the dialog's thread.
  void AddProtocolLine(const char* text) override;
  // Appends lines as AddProtocolLine would one after the other (the
  // 3000-line rule and the out-of-space reset included), in one change of
  // the list: lines that the rule would empty again before the last one
  // are only counted.
  void AddProtocolLines(const std::vector<std::string>& lines);
  // Empties the protocol.
  void ClearProtocol() override;
  // Empties the protocol and says so in its first line.
  void ResetProtocol();
  // Folds the protocol in (the window 350 pixels lower at first) or out
  // again (as high as it was, inside the screen's free area).
  void ToggleProtocol();

  // True from "Scan..." until the scan has ended and its status shows.
  bool IsScanning() const { return m_bScanning; }
  // Waits until the running scan has ended and everything it reported
  // shows; returns at once when none runs.
  void WaitForScan();

  CListBox m_listProtocol;
  CProgressCtrl m_progress;
  int m_nProtocolLines = 0;  // lines added since the list was last emptied
  int m_bProtocolShown = 1;
  HICON m_hIcon = nullptr;

  // The new options' fields. While "Previews" is checked the scan makes
  // previews with the edge in the field (16 to 4096 pixels), else none;
  // "Dry run" counts only with "Remove stale pages". Both off at first.
  int m_bPreviews = 0;
  int m_nPreviewSize = kDefaultPreviewEdge;

protected:
  void DoDataExchange(CDataExchange* dx) override;
  BOOL OnInitDialog() override;
  // "Scan...": starts the scan run on its own thread; while one runs,
  // "Stop" asks it to stop. With "Close after scan" a completed run ends
  // the dialog.
  void OnOK() override;
  // Esc and the close box: asks "Close application?" first.
  void OnCancel() override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  // The about item of the system menu shows the about box.
  void OnSysCommand(UINT id, LPARAM lParam) override;
  void OnSize(UINT type, int cx, int cy) override;
  void OnGetMinMaxInfo(MINMAXINFO* info) override;
  // A folder dropped onto the dialog (or a file: its folder) becomes the
  // path to scan; nothing changes while a scan runs.
  void OnDropFiles(const std::vector<std::string>& paths) override;

  void OnCloseButton();
  void OnBrowseFolder();
  void OnBrowseFile();
  void OnOpenIndex();
  // A picked folder becomes the path, when the field can hold it.
  void TakePickedPath(const CZnString& folder);
  // "Gallery": a filter field that holds the classic pages' default
  // changes to the gallery's (its phones' pictures and videos), and back.
  void OnGallery();
  // The page names, checked before a scan starts: a bad one is named in a
  // message box and its field gets the focus.
  void CheckPageNames(CDataExchange* dx);

  // The scan's reports. Called on the scan's thread they are queued, in
  // order, and shown on the dialog's thread in batches.
  void SetStatusText(const char* text) override;
  void ShowWarning(const char* text) override;
  // Keeps the first error of a run, to show it when the run ends.
  void OnProblem(bool error, const char* text) override;
  // Folders done of folders found: the progress bar, a step at most each
  // hundredth of the tree (called on the scan's thread).
  void OnFolderScanned(int foldersDone, int foldersTotal) override;
  void LoadSettings() override;

private:
  // The window that owns the pickers: the program's main window.
  HWND PickerOwner() const;

  // --- The scan on its own thread (OmbralDlgScan.cpp) ---
  void StartScan();
  void StopScan();
  // Closes with the cancel result, once a running scan has stopped.
  void CloseDialog();
  // Queues a report of the scan's thread; the first of a batch has the
  // dialog's thread called to show them.
  void QueueReport(int kind, const char* text);
  // Shows the queued reports now, or (when they were shown less than
  // kShowInterval ago) once that time is up.
  void ShowReportsSoon();
  // Shows the queued reports, oldest first; lines in one step. False when
  // it stopped after a warning box, with later reports still queued.
  bool ShowReports();
  void OnScanEnded(bool completed);
  // A completed run with errors says how many in the status line, and the
  // protocol unfolds with its first error selected.
  void ShowErrors();
  // Which controls can be used: none of the settings while a scan runs,
  // the edge only with "Previews", "Dry run" only with "Remove stale pages".
  void UpdateControlStates();

  // --- The window's size (OmbralDlgLayout.cpp) ---
  // The controls' places at the template's size, taken before the first
  // fold; OnSize places them anew from these.
  void RememberLayout();
  // The narrowest the client area may get.
  int SmallestClientWidth() const;
  // A window wider than its screen's free area gets that area's width (not
  // less than its smallest).
  void FitScreenWidth();
  int FoldedClientHeight() const;

  bool m_bResetting = false;
  bool m_bScanning = false;
  bool m_bCloseWhenStopped = false;
  bool m_bAsking = false;  // "Close application?" is open
  // A stop asked for before the scan's thread began its run, which the
  // run would forget (the run clears its stop request when it starts).
  std::atomic<bool> m_bStopWanted{false};
  // The protocol line of the run's first error (written by the scan's
  // thread while it runs, read by the dialog's once it has ended).
  std::string m_firstError;
  std::atomic<int> m_nProgressShown{-1};  // the hundredths the bar shows
  // The page-name field the user changed last (IDC_INDEX_FILE or IDC_FRAME_FILE).
  int m_nEditedPageField = IDC_FRAME_FILE;
  std::unique_ptr<CScanReports> m_reports;
  static constexpr std::chrono::milliseconds kShowInterval{40};
  std::chrono::steady_clock::time_point m_lastShown{};
  bool m_bShowingArmed = false;
  std::vector<std::pair<int, CRect>> m_layout;
  CSize m_templateClient{0, 0};
  int m_nUnfoldedHeight = 0;  // the client area's height when last unfolded
  // Last: it goes first, so no queued report outlives the members it uses.
  CWorkerThread m_scanThread;
};
