// CDialog: a dialog window built from a registered template (Resource.h),
// run modally (DoModal) or modelessly (Create).
//
// The dialog's font is the template's font; its controls are placed by
// converting the template's dialog units with that font's metrics. Enter
// sends IDOK (or the focused push button's id), Esc and the close box send
// IDCANCEL; the base's OnCommand turns IDOK into OnOK and IDCANCEL into
// OnCancel. Control notifications arrive in OnCommand with the control's id.
#pragma once

#include "platform/Wnd.h"

class CDataExchange;

class CDialog : public CWnd {
public:
  CDialog() = default;
  explicit CDialog(UINT templateId, CWnd* parent = nullptr);
  ~CDialog() override;

  // Creates the window, runs OnInitDialog, shows it modally (its owner
  // disabled meanwhile) and returns the result given to EndDialog once the
  // dialog is closed; the window is destroyed before it returns. -1 when the
  // template is not registered or the dialog is already open.
  virtual INT_PTR DoModal();
  // Creates a modeless dialog, runs OnInitDialog and shows it when the
  // template has WS_VISIBLE. FALSE when the template is not registered or
  // the dialog already has a window.
  BOOL Create(UINT templateId, CWnd* parent = nullptr);

  // Called once the controls exist and before the dialog shows. The base
  // loads the members into the controls (UpdateData(FALSE)) and returns TRUE
  // so that the first control that takes the focus gets it.
  virtual BOOL OnInitDialog();
  // The base saves the controls into the members and, when that succeeds,
  // ends the dialog with IDOK.
  virtual void OnOK();
  // The base ends the dialog with IDCANCEL.
  virtual void OnCancel();
  // Ends a modal dialog with `result` (DoModal returns it); hides a modeless
  // one. May be called from OnInitDialog: the dialog then never shows.
  void EndDialog(int result);

  // Runs DoDataExchange: TRUE copies the controls into the members and
  // validates them, FALSE loads the members into the controls. FALSE when a
  // validation failed (the user has been told and the control has the focus).
  BOOL UpdateData(BOOL saveAndValidate = TRUE);
  // Converts a rectangle from dialog units of this dialog's font to pixels.
  void MapDialogRect(LPRECT rect) const;
  // Moves the focus to a control of the dialog.
  void GotoDlgCtrl(CWnd* control);

  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  // The close box sends IDCANCEL, as Esc does.
  void OnClose() override;

protected:
  virtual void DoDataExchange(CDataExchange* dx);

  UINT m_nIDTemplate = 0;
  CWnd* m_pParentWnd = nullptr;

private:
  BOOL CreateFromTemplate(bool modal);

  int m_nModalResult = -1;
  bool m_bEnded = false;
  bool m_bModal = false;
};
