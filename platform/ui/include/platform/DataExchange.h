// Dialog data exchange: DoDataExchange lists the dialog's controls with the
// members they show, and CDialog::UpdateData runs it in one of two
// directions. Loading (m_bSaveAndValidate FALSE) writes the members into the
// controls; saving reads the controls into the members and validates them.
// A failed validation tells the user in a message box, puts the focus on the
// control and stops the exchange (UpdateData returns FALSE); members listed
// after the failing control keep their values.
#pragma once

#include "platform/String.h"
#include "platform/WinUser.h"

class CWnd;

class CDataExchange {
public:
  CDataExchange(CWnd* dialog, BOOL saveAndValidate);

  BOOL m_bSaveAndValidate;
  CWnd* m_pDlgWnd;

  // The control `id` of the dialog, remembered as the one the next
  // validation refers to; null when the dialog has no such control.
  CWnd* PrepareCtrl(int id);
  CWnd* PrepareEditCtrl(int id);
  // Stops the exchange after a failed validation: the last prepared control
  // gets the focus (an edit field with its text selected).
  [[noreturn]] void Fail();

  int m_idLastControl = 0;
  bool m_bEditLastControl = false;
};

// The text of control `id` <-> value.
void DDX_Text(CDataExchange* dx, int id, CString& value);
// The text of control `id` <-> a whole number. Saving fails with "Enter an
// integer." unless the field holds one (blanks around it and a sign allowed).
void DDX_Text(CDataExchange* dx, int id, int& value);
// A check box's state <-> value (0 unchecked, 1 checked, 2 indeterminate).
void DDX_Check(CDataExchange* dx, int id, int& value);
// Attaches `control` to control `id` the first time the exchange runs.
void DDX_Control(CDataExchange* dx, int id, CWnd& control);
// Loading: the user may type at most `maxChars` characters into the last
// edit field. Saving: fails with "Enter no more than %d characters." when the
// field holds more. Characters are counted, not bytes, so a limit means the
// same to the user whatever letters are typed.
void DDV_MaxChars(CDataExchange* dx, const CString& value, int maxChars);
// Saving: fails with "Enter an integer between %d and %d." when `value` lies
// outside minValue..maxValue. Loading: nothing.
void DDV_MinMaxInt(CDataExchange* dx, int value, int minValue, int maxValue);
