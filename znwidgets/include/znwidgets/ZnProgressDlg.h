// CZnProgressDlg: a small modeless dialog that long operations show while
// they work on the user-interface thread: a status line, an item line, a
// progress bar, a percent label and the button "Abbrechen".
//
// While it is up it disables the window that owns it (the top-level owner
// of the parent given to Create), so the user cannot start a second
// operation; the dialog itself stays usable. The working code keeps the
// program responsive by calling SetPos, OffsetPos, StepIt or
// CheckCancelButton, each of which first handles every event that is
// waiting (repaints, clicks, the cancel button): window handlers of the
// whole program may run inside these calls.
//
// Typical use:
//   CZnProgressDlg progress;
//   progress.Create(this);
//   progress.SetStatus("Daten werden sortiert...");
//   progress.SetRange(0, count);
//   for (...) { progress.SetPos(i); if (progress.CheckCancelButton()) break; }
//   progress.DestroyWindow();
#pragma once

#include "platform/Dialog.h"
#include "platform/ProgressCtrl.h"

// The dialog template (registered by ZnWidgets) and its controls.
inline constexpr UINT IDD_ZN_PROGRESS = 104;
inline constexpr int IDC_ZN_PROGRESS_BAR = 1003;
inline constexpr int IDC_ZN_PROGRESS_PERCENT = 1004;
inline constexpr int IDC_ZN_PROGRESS_STATUS = 1005;
inline constexpr int IDC_ZN_PROGRESS_ITEM = 1036;

class CZnProgressDlg : public CDialog {
public:
  // Bounds 0 and 100, step 5, template IDD_ZN_PROGRESS; makes no window yet.
  CZnProgressDlg();
  // Destroys the window when it still exists (which re-enables the owner).
  ~CZnProgressDlg() override;

  // Disables the owner (when it was enabled) and shows the dialog. 1 on
  // success; 0 when the dialog cannot be made (or already has its window),
  // with the owner as it was.
  // Afterwards the bar spans 0..100 and shows a percent; the bounds of
  // SetRange only turn the caller's positions into that percent.
  int Create(CWnd* parent);
  // Re-enables the owner when Create disabled it, then destroys the window.
  // An owner that was already disabled stays disabled.
  BOOL DestroyWindow() override;

  void SetTitle(const char* title);       // the caption
  void SetStatus(const char* text);       // the status line
  void SetItemText(const char* text);     // the item line
  // Shows (non-zero) or hides (zero) the percent label.
  void ShowPercent(int show);
  // The positions that count as 0 % and 100 %; the bar is not touched. The
  // range must not be empty (upper != lower).
  void SetRange(unsigned int lower, unsigned int upper);
  // Sets the step of StepIt; returns the bar's previous step.
  int SetStep(unsigned int step);

  // Each of the following first handles every waiting event.
  // Sets the bar to the percent of `position` within the range and shows it;
  // returns the bar's previous position. A position outside the range gives
  // a percent outside 0..100, folded: 100 stays 100, other values keep
  // their remainder of 100 (150 shows 50 %, -5 shows -5 %).
  int SetPos(unsigned int position);
  // Moves the bar by `delta` percent points; the label shows the previous
  // bar position plus `delta`. Returns the previous bar position.
  int OffsetPos(int delta);
  // Advances the bar by its step (past 100 the bar starts over); the label
  // shows the previous bar position plus the step. Returns the previous bar
  // position.
  int StepIt();
  // 1 once after each cancel request ("Abbrechen", Esc or the close box),
  // 0 otherwise: the request is cleared when read.
  int CheckCancelButton();

protected:
  // Handles the events that are waiting and returns at once when none is;
  // keys meant for this dialog (Esc, Enter) reach it as dialog keys.
  void PumpMessages();
  // Computes the percent of `position` (see SetPos), writes "<p>%" into the
  // label when its text differs, and returns the percent.
  int UpdatePercent(int position);
  // Enables the owner when Create disabled it.
  void ReEnableParent();

  BOOL OnInitDialog() override;
  // Does nothing: the dialog never closes itself.
  void OnOK() override;
  // Requests cancellation; the dialog stays open.
  void OnCancel() override;
  void DoDataExchange(CDataExchange* dx) override;

  CProgressCtrl m_Progress;
  unsigned int m_nLower = 0;
  unsigned int m_nUpper = 100;
  unsigned int m_nStep = 5;
  int m_bCancel = 0;
  int m_bParentDisabled = 0;

private:
  HWND m_hWndOwner = nullptr;  // the owner Create found, by handle
};
