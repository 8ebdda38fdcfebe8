// Dialog data exchange: the DDX_/DDV_ functions over the window classes'
// portable members.
#include "platform/DataExchange.h"

#include "Borrowed.h"
#include "UiText.h"
#include "platform/Button.h"
#include "platform/Edit.h"
#include "platform/Wnd.h"

CDataExchange::CDataExchange(CWnd* dialog, BOOL saveAndValidate)
    : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog) {}

CWnd* CDataExchange::PrepareCtrl(int id) {
  m_idLastControl = id;
  m_bEditLastControl = false;
  return m_pDlgWnd ? m_pDlgWnd->GetDlgItem(id) : nullptr;
}

CWnd* CDataExchange::PrepareEditCtrl(int id) {
  CWnd* control = PrepareCtrl(id);
  m_bEditLastControl = true;
  return control;
}

void CDataExchange::Fail() {
  if (CWnd* control = m_pDlgWnd ? m_pDlgWnd->GetDlgItem(m_idLastControl) : nullptr) {
    control->SetFocus();
    if (m_bEditLastControl) platform::ui::Borrowed<CEdit>(control->m_hWnd)->SetSel(0, -1);
  }
  throw platform::ui::DataExchangeFailure{};
}

void DDX_Text(CDataExchange* dx, int id, CString& value) {
  CWnd* control = dx->PrepareEditCtrl(id);
  if (!control) return;
  if (dx->m_bSaveAndValidate) {
    control->GetWindowText(value);
    return;
  }
  // Only a changed text is set, so an unchanged field sends no change
  // notification and keeps its cursor.
  CString current;
  control->GetWindowText(current);
  if (!(current == value)) control->SetWindowText(value);
}

void DDX_Check(CDataExchange* dx, int id, int& value) {
  CWnd* control = dx->PrepareCtrl(id);
  if (!control) return;
  platform::ui::Borrowed<CButton> button(control->m_hWnd);
  if (dx->m_bSaveAndValidate) {
    value = button->GetCheck();
  } else {
    button->SetCheck(value == 0 ? BST_UNCHECKED
                                : value == BST_INDETERMINATE ? BST_INDETERMINATE : BST_CHECKED);
  }
}

void DDX_Control(CDataExchange* dx, int id, CWnd& control) {
  if (control.m_hWnd) return;
  if (CWnd* found = dx->PrepareCtrl(id)) control.Attach(found->m_hWnd);
}

void DDV_MaxChars(CDataExchange* dx, const CString& value, int maxChars) {
  if (dx->m_bSaveAndValidate) {
    if (platform::ui::CountCharacters(value.GetView()) > maxChars) {
      CString message;
      message.Format("Enter no more than %d characters.", maxChars);
      AfxMessageBox(message, MB_ICONEXCLAMATION);
      dx->Fail();
    }
    return;
  }
  if (dx->m_idLastControl != 0 && dx->m_bEditLastControl && dx->m_pDlgWnd) {
    if (CWnd* control = dx->m_pDlgWnd->GetDlgItem(dx->m_idLastControl)) {
      platform::ui::Borrowed<CEdit>(control->m_hWnd)->SetLimitText(static_cast<UINT>(maxChars));
    }
  }
}
