/// @file
/// CDialog: a dialog window built from a registered template.
#pragma once

#include "platform/Wnd.h"

class CDataExchange;

/// A dialog window built from a registered template (Resource.h), run modally
/// (DoModal) or modelessly (Create).
///
/// The dialog's font is the template's font; its controls are placed by
/// converting the template's dialog units with that font's metrics. Enter
/// sends IDOK (or the focused push button's id), Esc and the close box send
/// IDCANCEL; the base's OnCommand turns IDOK into OnOK and IDCANCEL into
/// OnCancel. Control notifications arrive in OnCommand with the control's id.
/// The dialog is placed centred over its owner (the parent given, else the
/// program's main window), or on the screen when it has none, and it opens
/// inside the free area of its screen (without panels and docks): moved
/// there as far as it fits, and a dialog with WS_THICKFRAME that is bigger
/// than that area made smaller (not below the smallest size its
/// OnGetMinMaxInfo names). A dialog that still does not fit keeps its top
/// left corner on the screen.
///
/// CDialog belongs to the platform layer (`platform_ui`); ZnWidgets'
/// CZnDialog and CZnProgressDlg derive from it.
/// @ingroup platform_base
class CDialog : public CWnd {
public:
  /// A dialog without a template; Create names one.
  CDialog() = default;
  /// A dialog of the template `templateId`, owned by `parent` (null: the
  /// program's main window). Makes no window yet.
  explicit CDialog(UINT templateId, CWnd* parent = nullptr);
  /// Ends a modal loop still running for this dialog's window; the window
  /// itself goes with the CWnd base.
  ~CDialog() override;

  /// Creates the window, runs OnInitDialog, shows it modally (its owner
  /// disabled meanwhile) and returns the result given to EndDialog once the
  /// dialog is closed; the window is destroyed before it returns. -1 when the
  /// template is not registered, the window system is not running (both with
  /// a note on standard error) or the dialog is already open, and when the
  /// window is destroyed without EndDialog.
  virtual INT_PTR DoModal();
  /// Creates a modeless dialog of the template `templateId`, runs
  /// OnInitDialog and shows it when the template has WS_VISIBLE. A null
  /// `parent` keeps the owner given before. FALSE when the template is not
  /// registered, the window system is not running or the dialog already has
  /// a window.
  BOOL Create(UINT templateId, CWnd* parent = nullptr);

  /// Called once the controls exist and before the dialog shows. The base
  /// loads the members into the controls (UpdateData(FALSE)) and returns TRUE
  /// so that the first control that takes the focus gets it; FALSE leaves the
  /// focus where the override put it.
  virtual BOOL OnInitDialog();
  /// The OK command. The base saves the controls into the members and, when
  /// that succeeds, ends the dialog with IDOK; after a failed validation the
  /// dialog stays open.
  virtual void OnOK();
  /// The cancel command (Esc, the close box, a Cancel button). The base ends
  /// the dialog with IDCANCEL.
  virtual void OnCancel();
  /// Ends a modal dialog with `result` (DoModal returns it); hides a modeless
  /// one. May be called from OnInitDialog: the dialog then never shows.
  void EndDialog(int result);

  /// Runs DoDataExchange: TRUE copies the controls into the members and
  /// validates them, FALSE loads the members into the controls. FALSE when a
  /// validation failed (the user has been told and the control has the focus)
  /// and when the dialog has no window.
  BOOL UpdateData(BOOL saveAndValidate = TRUE);
  /// Converts a rectangle from dialog units of this dialog's font to pixels,
  /// in place. A null rectangle, or a dialog without a window, changes
  /// nothing.
  void MapDialogRect(LPRECT rect) const;
  /// Moves the focus to a control of the dialog; null does nothing.
  void GotoDlgCtrl(CWnd* control);

  /// A command of a control, a key or a menu. The base turns BN_CLICKED of
  /// IDOK into OnOK and of IDCANCEL into OnCancel (TRUE) and passes anything
  /// else to CWnd::OnCommand (which handles nothing: FALSE).
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  /// The close box sends IDCANCEL with BN_CLICKED through OnCommand, as Esc
  /// does.
  void OnClose() override;

protected:
  /// Lists the dialog's controls with the members they show (DDX_ and DDV_
  /// calls, see DataExchange.h); UpdateData runs it. The base lists nothing.
  virtual void DoDataExchange(CDataExchange* dx);

  /// The id of the dialog's template; 0 when none was given.
  UINT m_nIDTemplate = 0;
  /// The owner given to the constructor or Create; null means the program's
  /// main window.
  CWnd* m_pParentWnd = nullptr;

private:
  BOOL CreateFromTemplate(bool modal);

  int m_nModalResult = -1;
  bool m_bEnded = false;
  bool m_bModal = false;
};
