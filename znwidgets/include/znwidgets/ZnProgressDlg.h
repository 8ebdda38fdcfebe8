/// @file
/// CZnProgressDlg: the progress dialog of long operations.
#pragma once

#include "platform/Dialog.h"
#include "platform/ProgressCtrl.h"

/// The id of the progress dialog's template, registered by ZnWidgets.
/// @ingroup znwidgets_tools
inline constexpr UINT IDD_ZN_PROGRESS = 104;
/// The id of the template's progress bar.
/// @ingroup znwidgets_tools
inline constexpr int IDC_ZN_PROGRESS_BAR = 1003;
/// The id of the template's percent label.
/// @ingroup znwidgets_tools
inline constexpr int IDC_ZN_PROGRESS_PERCENT = 1004;
/// The id of the template's status line.
/// @ingroup znwidgets_tools
inline constexpr int IDC_ZN_PROGRESS_STATUS = 1005;
/// The id of the template's item line.
/// @ingroup znwidgets_tools
inline constexpr int IDC_ZN_PROGRESS_ITEM = 1036;

/// A small modeless dialog that long operations show while they work on the
/// user-interface thread: a status line, an item line, a
/// progress bar, a percent label and the button "Abbrechen".
///
/// While it is up it disables the window that owns it (the top-level owner
/// of the parent given to Create), so the user cannot start a second
/// operation; the dialog itself stays usable. The working code keeps the
/// program responsive by calling SetPos, OffsetPos, StepIt or
/// CheckCancelButton, each of which first handles every event that is
/// waiting (repaints, clicks, the cancel button): window handlers of the
/// whole program may run inside these calls.
///
/// Typical use:
/// @code
///   CZnProgressDlg progress;
///   progress.Create(this);
///   progress.SetStatus("Daten werden sortiert...");
///   progress.SetRange(0, count);
///   for (...) { progress.SetPos(i); if (progress.CheckCancelButton()) break; }
///   progress.DestroyWindow();
/// @endcode
///
/// Classes derived from it may override the handlers and use the protected
/// members below.
/// @ingroup znwidgets_tools
class CZnProgressDlg : public CDialog {
public:
  /// Bounds 0 and 100, step 5, template IDD_ZN_PROGRESS; makes no window yet.
  CZnProgressDlg();
  /// Destroys the window when it still exists (which re-enables the owner).
  ~CZnProgressDlg() override;

  /// Disables the owner (when it was enabled) and shows the dialog with the
  /// caption "Verarbeitung läuft...". 1 on success; 0 when the dialog cannot
  /// be made (or already has its window), with the owner as it was.
  /// Afterwards the bar spans 0..100 and shows a percent; the bounds of
  /// SetRange only turn the caller's positions into that percent.
  int Create(CWnd* parent);
  /// Re-enables the owner when Create disabled it, then destroys the window.
  /// An owner that was already disabled stays disabled. FALSE when there is
  /// no window.
  BOOL DestroyWindow() override;

  /// Sets the caption (after Create, which sets its own); without a window
  /// it does nothing.
  void SetTitle(const char* title);
  /// Sets the status line; without a window it does nothing.
  void SetStatus(const char* text);
  /// Sets the item line; without a window it does nothing.
  void SetItemText(const char* text);
  /// Shows (non-zero) or hides (zero) the percent label; without a window it
  /// does nothing.
  void ShowPercent(int show);
  /// The positions that count as 0 % and 100 %; the bar is not touched. The
  /// range must not be empty (upper != lower): an empty one shows 0 %.
  void SetRange(unsigned int lower, unsigned int upper);
  /// Sets the step of StepIt, in percent points; returns the bar's previous
  /// step (0 without a window).
  int SetStep(unsigned int step);

  /// Handles every waiting event first, then sets the bar to the percent of
  /// `position` within the range and shows it; returns the bar's previous
  /// position. A position outside the range gives
  /// a percent outside 0..100, folded: 100 stays 100, other values keep
  /// their remainder of 100 (150 shows 50 %, -5 shows -5 % with the bar at
  /// 0).
  int SetPos(unsigned int position);
  /// Handles every waiting event first, then moves the bar by `delta` percent
  /// points (the bar stops at 0 and 100); the label shows the previous bar
  /// position plus `delta`, folded as in SetPos. Returns the previous bar
  /// position.
  int OffsetPos(int delta);
  /// Handles every waiting event first, then advances the bar by its step
  /// (past 100 the bar starts over); the label shows the previous bar
  /// position plus the step, folded as in SetPos. Returns the previous bar
  /// position.
  int StepIt();
  /// Handles every waiting event first, then answers 1 once after each
  /// cancel request ("Abbrechen", Esc or the close box), 0 otherwise: the
  /// request is cleared when read.
  int CheckCancelButton();

protected:
  /// Handles the events that are waiting and returns at once when none is;
  /// keys meant for this dialog (Esc, Enter) reach it as dialog keys.
  void PumpMessages();
  /// Computes the percent of `position` (see SetPos), writes it with a
  /// percent sign ("50%") into the label when the label's text differs, and
  /// returns the percent.
  int UpdatePercent(int position);
  /// Enables the owner when Create disabled it.
  void ReEnableParent();

  /// Runs the base (which attaches the bar), gives the bar the 16-bit halves
  /// of the bounds, the step and the lower bound as position, and sets the
  /// caption "Verarbeitung läuft...". Returns TRUE.
  BOOL OnInitDialog() override;
  /// Does nothing: the dialog never closes itself.
  void OnOK() override;
  /// Requests cancellation (sets m_bCancel); the dialog stays open.
  void OnCancel() override;
  /// Attaches m_Progress to the template's bar (IDC_ZN_PROGRESS_BAR) after
  /// the base's exchange.
  void DoDataExchange(CDataExchange* dx) override;

  /// The progress bar, attached to IDC_ZN_PROGRESS_BAR; its range is 0..100
  /// once Create has succeeded.
  CProgressCtrl m_Progress;
  /// The caller's position that counts as 0 % (SetRange); 0 at first.
  unsigned int m_nLower = 0;
  /// The caller's position that counts as 100 % (SetRange); 100 at first.
  unsigned int m_nUpper = 100;
  /// The step of StepIt in percent points (SetStep); 5 at first.
  unsigned int m_nStep = 5;
  /// 1 while a cancel request waits to be read by CheckCancelButton, else 0.
  int m_bCancel = 0;
  /// 1 while Create's disabling of the owner is in force, else 0.
  int m_bParentDisabled = 0;

private:
  HWND m_hWndOwner = nullptr;  ///< the owner Create found, by handle
};
