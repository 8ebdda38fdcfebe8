// CDialog's portable behaviour: the default handlers and the data exchange.
#include "Borrowed.h"
#include "platform/DataExchange.h"
#include "platform/Dialog.h"

CDialog::CDialog(UINT templateId, CWnd* parent) : m_nIDTemplate(templateId), m_pParentWnd(parent) {}

BOOL CDialog::OnInitDialog() {
  UpdateData(FALSE);
  return TRUE;
}

void CDialog::OnOK() {
  if (!UpdateData(TRUE)) return;
  EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::DoDataExchange(CDataExchange*) {}

BOOL CDialog::UpdateData(BOOL saveAndValidate) {
  if (!m_hWnd) return FALSE;
  CDataExchange dx(this, saveAndValidate);
  try {
    DoDataExchange(&dx);
  } catch (const platform::ui::DataExchangeFailure&) {
    return FALSE;
  }
  return TRUE;
}

BOOL CDialog::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (HIWORD(wParam) == BN_CLICKED) {
    switch (LOWORD(wParam)) {
      case IDOK:
        OnOK();
        return TRUE;
      case IDCANCEL:
        OnCancel();
        return TRUE;
      default:
        break;
    }
  }
  return CWnd::OnCommand(wParam, lParam);
}

void CDialog::OnClose() {
  CWnd* cancel = GetDlgItem(IDCANCEL);
  OnCommand(MAKEWPARAM(IDCANCEL, BN_CLICKED),
            cancel ? reinterpret_cast<LPARAM>(cancel->m_hWnd) : 0);
}
