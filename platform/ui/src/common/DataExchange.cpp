// Dialog data exchange: the DDX_/DDV_ functions over the window classes'
// portable members.
#include "platform/DataExchange.h"

#include <charconv>
#include <string_view>

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

namespace {

// A whole number with blanks around it and an optional sign; false for
// anything else, and for a number an int cannot hold.
bool ParseInt(std::string_view text, int& value) {
  const std::size_t first = text.find_first_not_of(" \t");
  const std::size_t last = text.find_last_not_of(" \t");
  if (first == std::string_view::npos) return false;
  text = text.substr(first, last - first + 1);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  int parsed = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed);
  if (error != std::errc() || end != text.data() + text.size() || text.empty()) return false;
  value = parsed;
  return true;
}

}  // namespace

void DDX_Text(CDataExchange* dx, int id, int& value) {
  CWnd* control = dx->PrepareEditCtrl(id);
  if (!control) return;
  CString text;
  if (dx->m_bSaveAndValidate) {
    control->GetWindowText(text);
    if (!ParseInt(text.GetView(), value)) {
      AfxMessageBox("Enter an integer.", MB_ICONEXCLAMATION);
      dx->Fail();
    }
    return;
  }
  CString current;
  control->GetWindowText(current);
  text.Format("%d", value);
  if (!(current == text)) control->SetWindowText(text);
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

void DDV_MinMaxInt(CDataExchange* dx, int value, int minValue, int maxValue) {
  if (!dx->m_bSaveAndValidate || (value >= minValue && value <= maxValue)) return;
  CString message;
  message.Format("Enter an integer between %d and %d.", minValue, maxValue);
  AfxMessageBox(message, MB_ICONEXCLAMATION);
  dx->Fail();
}
